#include "trade/tbushou.h"
#include "trade/receipt.h"
#include "trade/statement.h"
#include <QCheckBox>
#include "ui/fonts.h"
#include "data/dates.h"
#include "trade/arrearslist.h"
#include "trade/entryform.h"
#include "trade/lookuppanel.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <tuple>

using namespace EntryForm;

namespace {
const int kWidths[] = {40, 65, 95, 190, 80, 90, 80, 64, 95, 140, 60};
// Unpaid entries with an amount, by the entries' own copy of the customer columns.
const char* const kArrears = "(付款情况='未付款') and (应付金额<>0)";
} // namespace

const QStringList& Tbushou::listColumns() {
    static const QStringList columns{
        QStringLiteral("ID"),         QStringLiteral("客户编号"), QStringLiteral("客户名称"),
        QStringLiteral("地址"),       QStringLiteral("电话"),     QStringLiteral("手机"),
        QStringLiteral("主机序列号"), QStringLiteral("应付金额"), QStringLiteral("日期"),
        QStringLiteral("备注"),       QStringLiteral("经手人")};
    return columns;
}

Tbushou::Tbushou(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tbushou"));
    setWindowTitle(QStringLiteral("补收欠款"));
    setFont(Fonts::song());
    resize(1019, 605);

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    outer->addLayout(top);

    auto* criteria = new QGroupBox(QStringLiteral("检索条件"), this);
    auto* g = new QGridLayout(criteria);
    auto row = [&](int r, const QString& label, const char* edit, const char* btn, const QString& hint = {}) {
        QLineEdit* e = addEdit(g, r, label, QString::fromLatin1(edit), hint);
        QPushButton* b = button(criteria, QStringLiteral("确定"), QString::fromLatin1(btn));
        g->addWidget(b, r, 2);
        return std::pair{e, b};
    };
    std::tie(Edit5, BitBtn1) = row(0, QStringLiteral("客户编号"), "Edit5", "BitBtn1");
    std::tie(Edit1, BitBtn9) =
        row(1, QStringLiteral("客户名称"), "Edit1", "BitBtn9", QStringLiteral("输入客户名称后请回车"));
    std::tie(Edit3, BitBtn10) = row(2, QStringLiteral("电话"), "Edit3", "BitBtn10");
    std::tie(Edit7, BitBtn13) = row(3, QStringLiteral("手机"), "Edit7", "BitBtn13");
    std::tie(Edit2, BitBtn11) = row(4, QStringLiteral("地址"), "Edit2", "BitBtn11");
    top->addWidget(criteria, 1);

    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);
    auto* fuzzy = new QGroupBox(QStringLiteral("模糊查找"), this);
    auto* fl = new QHBoxLayout(fuzzy);
    ComboBox1 = new QComboBox(fuzzy);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    Edit6 = new QLineEdit(fuzzy);
    Edit6->setObjectName(QStringLiteral("Edit6"));
    BitBtn12 = button(fuzzy, QStringLiteral("查找"), QStringLiteral("BitBtn12"));
    fl->addWidget(ComboBox1);
    fl->addWidget(new QLabel(QStringLiteral("包含"), fuzzy));
    fl->addWidget(Edit6, 1);
    fl->addWidget(BitBtn12);
    right->addWidget(fuzzy);

    auto* totalRow = new QHBoxLayout;
    BitBtn7 = button(this, QStringLiteral("计算选中欠款总数"), QStringLiteral("BitBtn7"));
    Edit4 = new QLineEdit(this);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    Edit4->setReadOnly(true);
    Edit4->setAccessibleName(BitBtn7->text()); // the total that button computes
    totalRow->addWidget(BitBtn7);
    totalRow->addWidget(Edit4, 1);
    totalRow->addWidget(new QLabel(QStringLiteral("元"), this));
    right->addLayout(totalRow);
    auto* commands = new QHBoxLayout;
    BitBtn2 = button(this, QStringLiteral("显示全部欠款"), QStringLiteral("BitBtn2"));
    BitBtn3 = button(this, QStringLiteral("补收选中欠款"), QStringLiteral("BitBtn3"));
    BitBtn4 = button(this, QStringLiteral("退出"), QStringLiteral("BitBtn4"));
    for (QPushButton* b : {BitBtn2, BitBtn3, BitBtn4})
        commands->addWidget(b);
    right->addLayout(commands);
    auto* extras = new QHBoxLayout;
    CheckBox1 = Receipts::tickBox(*this);
    BitBtn14 = button(this, QStringLiteral("打印对账单"), QStringLiteral("BitBtn14"));
    BitBtn15 = button(this, QStringLiteral("导出对账单"), QStringLiteral("BitBtn15"));
    extras->addWidget(CheckBox1);
    extras->addStretch();
    extras->addWidget(BitBtn14);
    extras->addWidget(BitBtn15);
    right->addLayout(extras);
    right->addStretch();

    auto* listGroup = new QGroupBox(QStringLiteral("欠款列表"), this);
    auto* ll = new QVBoxLayout(listGroup);
    auto* ticks = new QHBoxLayout;
    BitBtn5 = button(listGroup, QStringLiteral("全选"), QStringLiteral("BitBtn5"));
    BitBtn6 = button(listGroup, QStringLiteral("全清"), QStringLiteral("BitBtn6"));
    ticks->addWidget(BitBtn5);
    ticks->addWidget(BitBtn6);
    ticks->addStretch();
    ll->addLayout(ticks);
    ListView1 = new QTableView(listGroup);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    list = new ArrearsList(listColumns(), this);
    ListView1->setModel(list);
    ListView1->verticalHeader()->hide();
    ListView1->setShowGrid(true);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->verticalHeader()->setDefaultSectionSize(20);
    ll->addWidget(ListView1);
    outer->addWidget(listGroup, 1);

    // The customer list lies over the top right area until a pick or "隐藏".
    GroupBox3 = new CustomerList(*this, QStringLiteral("DBGrid2"), false, this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->hideButton()->setObjectName(QStringLiteral("BitBtn8"));
    GroupBox3->setGeometry(500, 6, 510, 240);

    tabOrder({Edit5,    BitBtn1, Edit1,    BitBtn9,   Edit3,   BitBtn10, Edit7,
              BitBtn13, Edit2,   BitBtn11, ComboBox1, Edit6,   BitBtn12, BitBtn7,
              BitBtn2,  BitBtn3, BitBtn4,  BitBtn5,   BitBtn6, ListView1});

    QueryPanel::Config config;
    config.emptyBox = QueryPanel::EmptyBox::AskForInput;
    config.pickListsBy = LookupField::Name;
    config.enterPresses = {LookupField::Number, LookupField::Name, LookupField::Telephone,
                           LookupField::Address};
    config.numberEnterOnlyWhenFilled = true;
    panel = new QueryPanel(*this, {Edit5, Edit1, Edit3, Edit7, Edit2}, GroupBox3, config,
                           [this](const QString& column, const QString& value) { listBy(column, value); });
    panel->setButton(LookupField::Number, BitBtn1);
    panel->setButton(LookupField::Name, BitBtn9);
    panel->setButton(LookupField::Telephone, BitBtn10);
    panel->setButton(LookupField::Mobile, BitBtn13);
    panel->setButton(LookupField::Address, BitBtn11);
    panel->setFuzzyGroup(ComboBox1, Edit6, BitBtn12);

    connect(BitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn3Click(); }); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
    connect(BitBtn6, &QPushButton::clicked, this, [this] { BitBtn6Click(); });
    connect(BitBtn7, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn7Click(); }); });
    connect(BitBtn14, &QPushButton::clicked, this,
            [this] { guarded([this] { Statement::print(*this, statementCustomer()); }); });
    connect(BitBtn15, &QPushButton::clicked, this,
            [this] { guarded([this] { Statement::exportFile(*this, statementCustomer()); }); });

    FormShow();
}

void Tbushou::FormShow() {
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7})
        e->clear();
    guarded([this] { showNothing(); });
    GroupBox3->hide();
    ComboBox1->clear();
    ComboBox1->addItems({QStringLiteral("客户名称"), QStringLiteral("地址"), QStringLiteral("电话"),
                         QStringLiteral("手机"), QStringLiteral("客户编号")});
    ComboBox1->setCurrentIndex(0);
    Edit5->setFocus();
}

void Tbushou::showArrears(const QString& condition, const QVariantList& params, const QString& order) {
    list->list(dm(), condition, params, order);
    // A new listing resets the titles' widths.
    for (int c = 0; c < list->columnCount(); ++c)
        ListView1->setColumnWidth(c, kWidths[c]);
}

void Tbushou::showNothing() {
    list->empty(dm());
    for (int c = 0; c < list->columnCount(); ++c)
        ListView1->setColumnWidth(c, kWidths[c]);
}

void Tbushou::listBy(const QString& column, const QString& value) {
    showNothing();
    const QVariant bound =
        column == QStringLiteral("客户编号") ? QVariant(Values::wholeNumber(value)) : QVariant(value);
    showArrears(QStringLiteral("%1 and (%2=?)").arg(QString::fromUtf8(kArrears), TDM1::quoteId(column)), {bound},
                QStringLiteral("id"));
}

void Tbushou::BitBtn2Click() {
    showNothing();
    showArrears(QString::fromUtf8(kArrears), {}, QStringLiteral("客户名称, id"));
}

void Tbushou::BitBtn5Click() {
    guarded([this] { list->tickAll(dm()); });
}

void Tbushou::BitBtn6Click() {
    list->clearTicks();
}

Money Tbushou::tickedTotal() {
    if (list->ticked().isEmpty())
        return {};
    return dm()
        .ADOall
        .first(QStringLiteral("select sum(应付金额) as s from 帐款明细 where id in (%1)").arg(dm().keysIn()),
               {list->tickedArray()})
        .money(QStringLiteral("s"));
}

void Tbushou::BitBtn7Click() {
    Edit4->setText(tickedTotal().toString());
}

void Tbushou::BitBtn3Click() {
    BitBtn7Click();
    if (Edit4->text() == QStringLiteral("0")) {
        msg().error(this, QStringLiteral("无欠款需要补交！"), QStringLiteral("提示"));
        return;
    }
    // Every ticked entry is read before anything is written.
    struct Entry {
        qlonglong id;
        QVariant number;
        QStringList customer; // name, address, telephone, mobile, unit serial
        Money amount;
        QDate date;
    };
    std::vector<Entry> entries;
    QSet<qlonglong> missing = list->ticked();
    // The ticked entries as they are stored now, in the order of the list.
    for (const Row& r : dm().ADOall.query(
             QStringLiteral("select id,客户编号,客户名称,地址,电话,手机,主机序列号,应付金额,日期 from 帐款明细 "
                            "where id in (%1) order by %2")
                 .arg(dm().keysIn(), list->order()),
             {list->tickedArray()})) {
        const qlonglong id = r.integer(QStringLiteral("id"));
        missing.remove(id);
        entries.push_back({id,
                           r.value(QStringLiteral("客户编号")),
                           {r.text(QStringLiteral("客户名称")), r.text(QStringLiteral("地址")),
                            r.text(QStringLiteral("电话")), r.text(QStringLiteral("手机")),
                            r.text(QStringLiteral("主机序列号"))},
                           r.money(QStringLiteral("应付金额")),
                           r.date(QStringLiteral("日期"))});
    }
    const QString today = Dates::toSql(QDate::currentDate());
    const QString op = session().operatorNumber;
    // One line of the change log for the whole collection.
    TDM1::ChangeLine line{QStringLiteral("补收"), QStringLiteral("帐款明细"), {}, {}, {}};
    QStringList was;
    Money total;
    for (const Entry& e : entries) {
        was << QStringLiteral("id：%1，应付金额：%2，付款情况：未付款").arg(e.id).arg(e.amount.toString());
        total = total + e.amount;
    }
    if (!entries.empty())
        line.key = entries.front().number.toString();
    line.oldValues = was.join(QStringLiteral("；"));
    line.newValues = QStringLiteral("付款情况：已付款；收款金额：%1；日期：%2")
                         .arg(total.toString(), Dates::shortDate(QDate::currentDate()));
    try {
        dm().transaction([&] {
            if (!missing.isEmpty())
                TDM1::fail(QStringLiteral("ID为%1的欠款已不存在或已经补收，本次补收未进行！")
                               .arg(*std::min_element(missing.begin(), missing.end())));
            for (const Entry& e : entries) {
                // An entry paid since the list was read is not collected twice.
                const int changed = dm().ADOall.exec(
                    QStringLiteral("update 帐款明细 set 付款情况='已付款' where id=? and 付款情况='未付款'"),
                    {e.id});
                if (changed != 1)
                    TDM1::fail(QStringLiteral("ID为%1的欠款已不存在或已经补收，本次补收未进行！").arg(e.id));
                dm().ADOall.exec(
                    QStringLiteral(
                        "insert into 收款记录(客户编号,客户名称,地址,电话,手机,主机序列号,金额,日期,"
                        "经手人) values(?,?,?,?,?,?,?,?,?)"),
                    {e.number, e.customer[0], e.customer[1], e.customer[2], e.customer[3], e.customer[4],
                     e.amount.toVariant(), today, op});
            }
            dm().logChange(op, line);
        });
    } catch (const DbError& e) {
        msg().plain(this, e.text());
        return;
    }
    msg().info(this, QStringLiteral("补收欠款成功！"), QStringLiteral("提示"));
    if (CheckBox1->isChecked()) {
        Receipt receipt = Receipts::begin(session(), QStringLiteral("收款小票"));
        const bool oneCustomer = std::all_of(entries.begin(), entries.end(), [&](const Entry& e) {
            return e.number == entries.front().number && e.customer[0] == entries.front().customer[0];
        });
        if (oneCustomer && !entries.empty()) {
            receipt.customerNumber = entries.front().number.toString();
            receipt.customerName = entries.front().customer[0];
        }
        for (const Entry& e : entries)
            receipt.items.append(Receipt::Item{QStringLiteral("补收欠款"), e.customer[4], e.date, e.amount,
                                  oneCustomer ? QString() : e.number.toString() + u' ' + e.customer[0]});
        Receipts::print(*this, receipt);
    }
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7})
        e->clear();
    showNothing();
}

QVariant Tbushou::statementCustomer() const {
    const int row = ListView1->currentIndex().isValid() ? ListView1->currentIndex().row() : 0;
    if (row >= list->rowCount())
        return {};
    return list->index(row, int(listColumns().indexOf(QStringLiteral("客户编号")))).data();
}
