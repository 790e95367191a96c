#include "trade/lookuppanel.h"
#include "ui/datagrid.h"
#include "ui/keys.h"
#include "ui/screen.h"
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// The value a box is looked up by: the number box must hold a whole number.
QVariant lookupValue(LookupField f, const QString& text) {
    if (f == LookupField::Number)
        return Values::wholeNumber(text);
    return text;
}

Row findCustomer(TDM1& dm, LookupField f, const QString& text) {
    return dm.ADOall.first(
        QStringLiteral("select * from 客户信息 where %1=?").arg(TDM1::quoteId(lookupColumn(f))),
        {lookupValue(f, text)});
}

} // namespace

QString lookupColumn(LookupField f) {
    switch (f) {
    case LookupField::Number: return QStringLiteral("客户编号");
    case LookupField::Name: return QStringLiteral("客户名称");
    case LookupField::Telephone: return QStringLiteral("电话");
    case LookupField::Mobile: return QStringLiteral("手机");
    case LookupField::Address: return QStringLiteral("地址");
    }
    return {};
}


// ---- CustomerList ----

CustomerList::CustomerList(Screen& screen, const QString& gridName, bool withNewCustomer, QWidget* parent)
    : QGroupBox(QStringLiteral("符合查找条件的客户列表，请双击要选中的客户"), parent) {
    setObjectName(QStringLiteral("GroupBox2"));
    auto* lay = new QVBoxLayout(this);
    grid_ = new DataGrid(this);
    grid_->setObjectName(gridName);
    grid_->setSortable(false);
    grid_->setStretch(true);
    grid_->bind(screen.session(), screen.session().dm().ADOQuery(5));
    grid_->setColumns({{QStringLiteral("客户名称")}, {QStringLiteral("地址")}, {QStringLiteral("电话")},
                       {QStringLiteral("手机")}});
    lay->addWidget(grid_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    if (withNewCustomer) {
        newCustomer_ = new QPushButton(QStringLiteral("新增客户"), this);
        newCustomer_->setObjectName(QStringLiteral("BitBtn5"));
        buttons->addWidget(newCustomer_);
    }
    hide_ = new QPushButton(QStringLiteral("隐藏"), this);
    hide_->setObjectName(QStringLiteral("BitBtn4"));
    buttons->addWidget(hide_);
    lay->addLayout(buttons);
    setAutoFillBackground(true);
    hide();
}

// ---- EntryPanel ----

EntryPanel::EntryPanel(Screen& screen, CustomerBoxes boxes, CustomerList* list, QPushButton* save,
                       QWidget* firstRecordBox, Config config)
    : QObject(&screen), screen_(screen), boxes_(boxes), list_(list), save_(save), firstRecordBox_(firstRecordBox),
      config_(std::move(config)) {
    auto guard = [this](std::function<void()> f) { return [this, f] { screen_.session().guarded(&screen_, f); }; };
    onEnterPressed(boxes_.number, guard([this] { lookup(LookupField::Number); }));
    onEnterPressed(boxes_.name, guard([this] { lookup(LookupField::Name); }));
    onEnterPressed(boxes_.telephone, guard([this] { lookup(LookupField::Telephone); }));
    onEnterPressed(boxes_.mobile, guard([this] { lookup(LookupField::Mobile); }));
    connect(list_->grid(), &DataGrid::dblClicked, this, guard([this] { pick(); }));
    connect(list_->hideButton(), &QPushButton::clicked, this, [this] { hideList(); });
    if (list_->newCustomerButton())
        connect(list_->newCustomerButton(), &QPushButton::clicked, this, guard([this] { newCustomer(); }));
}

void EntryPanel::connectButtons(QPushButton* nameGlass, QPushButton* telephoneGlass, QPushButton* mobileGlass,
                                QPushButton* newCustomerButton) {
    const std::pair<QPushButton*, LookupField> glasses[] = {
        {nameGlass, LookupField::Name}, {telephoneGlass, LookupField::Telephone}, {mobileGlass, LookupField::Mobile}};
    for (auto [button, field] : glasses)
        connect(button, &QPushButton::clicked, this,
                [this, f = field] { screen_.session().guarded(&screen_, [this, f] { fuzzy(f); }); });
    connect(newCustomerButton, &QPushButton::clicked, this,
            [this] { screen_.session().guarded(&screen_, [this] { newCustomer(); }); });
}

void EntryPanel::fill(const Row& row, QLineEdit* except) {
    const std::pair<QLineEdit*, const char*> pairs[] = {
        {boxes_.name, "客户名称"},  {boxes_.address, "地址"},    {boxes_.telephone, "电话"},
        {boxes_.number, "客户编号"}, {boxes_.mobile, "手机"},     {boxes_.idNumber, "身份证号"},
        {boxes_.birthYear, "出生年"},
    };
    for (const auto& [box, column] : pairs)
        if (box && box != except)
            box->setText(row.text(QString::fromUtf8(column)));
}

void EntryPanel::lookup(LookupField field) {
    QLineEdit* searched = field == LookupField::Number      ? boxes_.number
                          : field == LookupField::Name      ? boxes_.name
                          : field == LookupField::Telephone ? boxes_.telephone
                                                            : boxes_.mobile;
    if (field == LookupField::Number && searched->text().isEmpty())
        return;
    const Row row = findCustomer(screen_.session().dm(), field, searched->text());
    if (row.isEmpty()) {
        screen_.session().messages().error(&screen_, config_.notFoundText, config_.notFoundCaption);
        save_->setEnabled(false);
        for (QWidget* w : config_.clearedWhenNotFound)
            if (auto* e = qobject_cast<QLineEdit*>(w))
                e->clear();
        return;
    }
    const bool writeBack = field == LookupField::Number && config_.numberAsStored;
    fill(row, writeBack ? nullptr : searched);
    save_->setEnabled(true);
    firstRecordBox_->setFocus(Qt::OtherFocusReason);
}

void EntryPanel::fuzzy(LookupField field) {
    QLineEdit* box = field == LookupField::Name ? boxes_.name
                     : field == LookupField::Telephone ? boxes_.telephone
                                                       : boxes_.mobile;
    screen_.session().dm().ADOQuery(5).open(
        QStringLiteral("select * from 客户信息 where %1 order by %2")
            .arg(screen_.session().dm().contains(lookupColumn(field)),
                 screen_.session().dm().pinyinOrder(QStringLiteral("客户名称"))),
        {Values::containsPattern(box->text())});
    list_->show();
    list_->raise();
    list_->grid()->setFocus(Qt::OtherFocusReason);
}

void EntryPanel::pick() {
    DataGrid* grid = list_->grid();
    if (grid->rowCount() > 0) {
        fill(grid->currentRecord(), nullptr);
        save_->setEnabled(true);
    } else {
        fill(Row(), nullptr);
        save_->setEnabled(false);
    }
    firstRecordBox_->setFocus(Qt::OtherFocusReason);
    hideList();
}

void EntryPanel::hideList() { list_->hide(); }

void EntryPanel::newCustomer() {
    if (openNewCustomer)
        openNewCustomer();
}

// ---- QueryPanel ----

QueryPanel::QueryPanel(Screen& screen, CustomerBoxes boxes, CustomerList* list, Config config, Listing listing)
    : QObject(&screen), screen_(screen), boxes_(boxes), list_(list), config_(std::move(config)),
      listing_(std::move(listing)) {
    for (LookupField f : {LookupField::Number, LookupField::Name, LookupField::Telephone, LookupField::Mobile,
                          LookupField::Address}) {
        if (!config_.enterPresses.contains(f))
            continue;
        onEnterPressed(box(f), [this, f] {
            if (f == LookupField::Number && config_.numberEnterOnlyWhenFilled && box(f)->text().isEmpty())
                return;
            screen_.session().guarded(&screen_, [this, f] { lookup(f); });
        });
    }
    connect(list_->grid(), &DataGrid::dblClicked, this,
            [this] { screen_.session().guarded(&screen_, [this] { pick(); }); });
    connect(list_->hideButton(), &QPushButton::clicked, this, [this] { hideList(); });
}

QLineEdit* QueryPanel::box(LookupField f) const {
    switch (f) {
    case LookupField::Number: return boxes_.number;
    case LookupField::Name: return boxes_.name;
    case LookupField::Telephone: return boxes_.telephone;
    case LookupField::Mobile: return boxes_.mobile;
    case LookupField::Address: return boxes_.address;
    }
    return nullptr;
}

void QueryPanel::setButton(LookupField field, QPushButton* button) {
    connect(button, &QPushButton::clicked, this,
            [this, field] { screen_.session().guarded(&screen_, [this, field] { lookup(field); }); });
}

void QueryPanel::setFuzzyGroup(QComboBox* column, QLineEdit* text, QPushButton* find) {
    fuzzyColumn_ = column;
    fuzzyText_ = text;
    column->clear();
    column->addItems({QStringLiteral("客户名称"), QStringLiteral("地址"), QStringLiteral("电话"),
                      QStringLiteral("手机"), QStringLiteral("客户编号")});
    column->setCurrentIndex(0);
    connect(find, &QPushButton::clicked, this, [this] { screen_.session().guarded(&screen_, [this] { fuzzy(); }); });
}

void QueryPanel::lookup(LookupField field) {
    QLineEdit* searched = box(field);
    if (searched->text().isEmpty()) {
        if (config_.emptyBox == EmptyBox::AskForInput) {
            screen_.session().messages().error(&screen_, QStringLiteral("请输入检索信息后再回车！"),
                                               QStringLiteral("提示"));
            return;
        }
        if (field == LookupField::Number)
            return;
    }
    const Row row = findCustomer(screen_.session().dm(), field, searched->text());
    const LookupField all[] = {LookupField::Number, LookupField::Name, LookupField::Address, LookupField::Telephone,
                               LookupField::Mobile};
    if (row.isEmpty()) {
        screen_.session().messages().error(&screen_, QStringLiteral("此客户档案信息不存在！"), QStringLiteral("提示"));
        for (LookupField f : all)
            if (f != field)
                box(f)->clear();
        if (config_.clearFuzzyTextWhenNotFound && fuzzyText_)
            fuzzyText_->clear();
    } else {
        for (LookupField f : all)
            if (f != field)
                box(f)->setText(row.text(lookupColumn(f)));
    }
    listing_(lookupColumn(field), searched->text());
}

void QueryPanel::fuzzy() {
    const QString columnText = fuzzyColumn_->currentText();
    if (columnText == QStringLiteral("用户编号") && fuzzyText_->text().isEmpty())
        return;
    TDM1& dm = screen_.session().dm();
    const QString column = dm.checkColumn(QStringLiteral("客户信息"), columnText);
    dm.ADOQuery(5).open(QStringLiteral("select * from 客户信息 where ") + dm.contains(column),
                        {Values::containsPattern(fuzzyText_->text())});
    list_->show();
    list_->raise();
    list_->grid()->setFocus(Qt::OtherFocusReason);
}

void QueryPanel::pick() {
    const Row row = list_->grid()->currentRecord();
    for (LookupField f : {LookupField::Number, LookupField::Name, LookupField::Address, LookupField::Telephone,
                          LookupField::Mobile}) {
        if (f == LookupField::Number && config_.pickKeepsNumber)
            continue;
        box(f)->setText(row.text(lookupColumn(f)));
    }
    hideList();
    listing_(lookupColumn(config_.pickListsBy), box(config_.pickListsBy)->text());
}

void QueryPanel::hideList() { list_->hide(); }
