#include "trade/recordmaintenance.h"
#include "ui/fonts.h"
#include "trade/entryform.h"
#include "trade/lookuppanel.h"
#include "trade/recordeditdialog.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace EntryForm;

RecordMaintenance::RecordMaintenance(Session& session, QWidget* parent, MaintenanceConfig config)
    : Screen(session, parent), config_(std::move(config)) {
    setObjectName(config_.objectName);
    setWindowTitle(config_.caption);
    setFont(Fonts::song());
    resize(940, 600);

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    outer->addLayout(top);

    auto* search = new QGroupBox(QStringLiteral("输入检索条件"), this);
    auto* g = new QGridLayout(search);
    const QString hintNumber = QStringLiteral("输入客户编号后请回车");
    Edit4 = addEdit(g, 0, QStringLiteral("客户编号"), QStringLiteral("Edit4"), hintNumber);
    Edit1 = addEdit(g, 1, QStringLiteral("客户名称"), QStringLiteral("Edit1"),
                    QStringLiteral("输入客户名称后请回车"));
    Edit3 =
        addEdit(g, 2, QStringLiteral("电话"), QStringLiteral("Edit3"), QStringLiteral("输入电话后请回车"));
    Edit6 = addEdit(g, 3, QStringLiteral("手机"), QStringLiteral("Edit6"));
    Edit2 = addEdit(g, 4, QStringLiteral("地址"), QStringLiteral("Edit2"));
    for (int i = 0; i < 5; ++i) {
        lookupButton[i] = button(search, QStringLiteral("确定"), config_.lookupButtons.value(i));
        g->addWidget(lookupButton[i], i, 2);
    }
    top->addWidget(search, 1);

    auto* right = new QVBoxLayout;
    top->addLayout(right, 1);
    auto* fuzzy = new QGroupBox(QStringLiteral("模糊查找"), this);
    auto* fl = new QHBoxLayout(fuzzy);
    ComboBox1 = new QComboBox(fuzzy);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    Edit5 = new QLineEdit(fuzzy);
    Edit5->setObjectName(QStringLiteral("Edit5"));
    findButton = button(fuzzy, QStringLiteral("查找"), config_.findButton);
    fl->addWidget(ComboBox1);
    fl->addWidget(new QLabel(QStringLiteral("包含"), fuzzy));
    fl->addWidget(Edit5, 1);
    fl->addWidget(findButton);
    right->addWidget(fuzzy);
    auto* commands = new QGridLayout;
    BitBtn4 = button(this, config_.listAllText, QStringLiteral("BitBtn4"));
    BitBtn10 = button(this, QStringLiteral("刷新"), QStringLiteral("BitBtn10"));
    deleteButton = button(this, QStringLiteral("删除记录"), config_.deleteButton);
    BitBtn2 = button(this, QStringLiteral("退出"), QStringLiteral("BitBtn2"));
    commands->addWidget(BitBtn4, 0, 0);
    commands->addWidget(BitBtn10, 0, 1);
    commands->addWidget(deleteButton, 1, 0);
    commands->addWidget(BitBtn2, 1, 1);
    right->addLayout(commands);
    right->addStretch();

    auto* gridGroup = new QGroupBox(config_.gridGroupText, this);
    auto* gl = new QVBoxLayout(gridGroup);
    DBGrid1 = new DataGrid(gridGroup);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("请双击需要修改的记录"));
    DBGrid1->setStretch(true);
    DBGrid1->bind(session, dm().ADOQuery(config_.query));
    QList<GridColumn> columns;
    for (const QString& c : config_.gridColumns)
        columns.append({c});
    DBGrid1->setColumns(columns);
    gl->addWidget(DBGrid1);
    outer->addWidget(gridGroup, 1);

    // The customer list lies over the right half of the search area until a pick or "隐藏".
    GroupBox5 = new CustomerList(*this, QStringLiteral("DBGrid4"), false, this);
    GroupBox5->setObjectName(QStringLiteral("GroupBox5"));
    GroupBox5->hideButton()->setObjectName(QStringLiteral("BitBtn8"));
    GroupBox5->setGeometry(470, 6, 460, 230);

    tabOrder({Edit4, lookupButton[0], Edit1, lookupButton[1], Edit3, lookupButton[2], Edit6, lookupButton[3],
              Edit2, lookupButton[4], ComboBox1, Edit5, findButton, BitBtn4, BitBtn10, deleteButton, BitBtn2,
              DBGrid1});

    QueryPanel::Config pc;
    pc.emptyBox = QueryPanel::EmptyBox::NumberDoesNothing;
    pc.pickListsBy = LookupField::Name;
    pc.pickKeepsNumber = config_.pickKeepsNumber;
    panel = new QueryPanel(*this, {Edit4, Edit1, Edit3, Edit6, Edit2}, GroupBox5, pc,
                           [this](const QString& column, const QString& value) { listBy(column, value); });
    const LookupField fields[] = {LookupField::Number, LookupField::Name, LookupField::Telephone,
                                  LookupField::Mobile, LookupField::Address};
    for (int i = 0; i < 5; ++i)
        panel->setButton(fields[i], lookupButton[i]);
    panel->setFuzzyGroup(ComboBox1, Edit5, findButton);

    connect(BitBtn4, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn4Click(); }); });
    connect(BitBtn10, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn4Click(); }); });
    connect(deleteButton, &QPushButton::clicked, this, [this] { guarded([this] { deleteClick(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(DBGrid1, &DataGrid::dblClicked, this, [this] { guarded([this] { DBGrid1DblClick(); }); });

    guarded([this] { FormShow(); });
}

void RecordMaintenance::FormShow() {
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
        e->clear();
    dm().ADOQuery(config_.query).close();
    GroupBox5->hide();
    ComboBox1->clear();
    ComboBox1->addItems({QStringLiteral("客户名称"), QStringLiteral("地址"), QStringLiteral("电话"),
                         QStringLiteral("手机"), QStringLiteral("客户编号")});
    ComboBox1->setCurrentIndex(0);
    BitBtn4Click();
    Edit4->setFocus();
}

void RecordMaintenance::BitBtn4Click() {
    dm().ADOQuery(config_.query)
        .open(QStringLiteral("select * from %1 order by 客户名称, id").arg(TDM1::quoteId(config_.table)));
}

void RecordMaintenance::listBy(const QString& column, const QString& value) {
    const QVariant bound =
        column == QStringLiteral("客户编号") ? QVariant(Values::wholeNumber(value)) : QVariant(value);
    dm().ADOQuery(config_.query)
        .open(QStringLiteral("select * from %1 where %2=? order by id")
                  .arg(TDM1::quoteId(config_.table), TDM1::quoteId(column)),
              {bound});
}

void RecordMaintenance::deleteClick() {
    if (DBGrid1->rowCount() == 0)
        return;
    if (!msg().ask(this, QStringLiteral("确实要删除该记录吗？注意：该操作不可恢复！"),
                   QStringLiteral("系统提示")))
        return;
    const int row = DBGrid1->currentRowIndex();
    const qlonglong key = DBGrid1->currentRecord().integer(QStringLiteral("id"));
    SharedQuery& q = dm().ADOQuery(config_.query);
    dm().transaction([&] {
        const Row before = dm().rowOf(config_.table, key);
        if (dm().ADOall.exec(QStringLiteral("DELETE FROM %1 WHERE id=?").arg(TDM1::quoteId(config_.table)), {key}) == 1)
            dm().logDelete(session().operatorNumber, config_.table, QString::number(key), before);
    });
    q.reopen();
    // The cursor stays at the same place: on the row that followed, or on the new last row.
    QAbstractItemModel* model = DBGrid1->model();
    while (row >= model->rowCount() && model->canFetchMore({}))
        model->fetchMore({});
    const int next = qMin(row, model->rowCount() - 1);
    if (next >= 0)
        DBGrid1->setCurrentIndex(
            model->index(next, DBGrid1->currentIndex().isValid() ? DBGrid1->currentIndex().column() : 0));
}

void RecordMaintenance::DBGrid1DblClick() {
    if (DBGrid1->rowCount() == 0)
        return;
    RecordEditDialog& dialog = config_.dialog(session());
    dialog.load(DBGrid1->currentRecord());
    dialog.showModal();
}

namespace {
QStringList gridColumns(const QString& item, const QString& amount) {
    return {QStringLiteral("客户编号"),   QStringLiteral("客户名称"),
            QStringLiteral("身份证号"),   QStringLiteral("出生年"),
            QStringLiteral("地址"),       QStringLiteral("电话"),
            QStringLiteral("手机"),       item,
            QStringLiteral("主机序列号"), amount,
            QStringLiteral("日期"),       QStringLiteral("备注")};
}
} // namespace

Tdingxiugai::Tdingxiugai(Session& session, QWidget* parent)
    : RecordMaintenance(session, parent,
                        {QStringLiteral("Tdingxiugai"),
                         QStringLiteral("订购（销售）记录修改"),
                         QStringLiteral("dinggou"),
                         10,
                         QStringLiteral("显示全部订购（销售）记录"),
                         QStringLiteral("符合检索条件的客户定购（购买）历史记录----请双击需要修改的记录"),
                         gridColumns(QStringLiteral("订购型号"), QStringLiteral("价格")),
                         {QStringLiteral("BitBtn5"), QStringLiteral("BitBtn6"), QStringLiteral("BitBtn7"),
                          QStringLiteral("BitBtn11"), QStringLiteral("BitBtn9")},
                         QStringLiteral("BitBtn1"),
                         QStringLiteral("BitBtn3"),
                         false,
                         [](Session& s) -> RecordEditDialog& { return s.dialog<Txiugaidinggoujilu>(); }}) {}

Tweixiugai::Tweixiugai(Session& session, QWidget* parent)
    : RecordMaintenance(session, parent,
                        {QStringLiteral("Tweixiugai"),
                         QStringLiteral("维修记录修改"),
                         QStringLiteral("维修记录"),
                         11,
                         QStringLiteral("显示全部维修记录"),
                         QStringLiteral("符合检索条件的客户维修历史记录----请双击需要修改的记录"),
                         gridColumns(QStringLiteral("维修项目"), QStringLiteral("维修费")),
                         {QStringLiteral("BitBtn1"), QStringLiteral("BitBtn3"), QStringLiteral("BitBtn5"),
                          QStringLiteral("BitBtn11"), QStringLiteral("BitBtn6")},
                         QStringLiteral("BitBtn7"),
                         QStringLiteral("BitBtn9"),
                         true,
                         [](Session& s) -> RecordEditDialog& { return s.dialog<Txiugaiweixiujilu>(); }}) {}
