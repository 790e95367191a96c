#include "reports/tchaxun.h"
#include "reports/queryform.h"
#include "trade/entryform.h"
#include "trade/lookuppanel.h"
#include "trade/statement.h"
#include "ui/datagrid.h"
#include "ui/fonts.h"
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace QueryForm;

Tchaxun::Tchaxun(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tchaxun"));
    setWindowTitle(QStringLiteral("查询客户所有资料"));
    setFont(Fonts::song());
    resize(1020, 605);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 6);
    auto* top = new QHBoxLayout;
    outer->addLayout(top);

    // Number and telephone on the first line, name and mobile on the second, the address across the third.
    GroupBox1 = new QGroupBox(QStringLiteral("客户基本信息"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* g = new QGridLayout(GroupBox1);
    g->setContentsMargins(6, 2, 6, 4);
    g->setVerticalSpacing(3);
    const auto number = addSearchLine(g, 0, 0, QStringLiteral("客户编号"), QStringLiteral("Edit4"),
                                      QStringLiteral("BitBtn5"), QStringLiteral("输入客户编号后请回车"));
    const auto tel = addSearchLine(g, 0, 3, QStringLiteral("电话"), QStringLiteral("Edit3"),
                                   QStringLiteral("BitBtn7"), QStringLiteral("输入电话后请回车"));
    const auto name = addSearchLine(g, 1, 0, QStringLiteral("客户名称"), QStringLiteral("Edit1"),
                                    QStringLiteral("BitBtn6"), QStringLiteral("输入客户名称后请回车"));
    const auto mobile =
        addSearchLine(g, 1, 3, QStringLiteral("手机"), QStringLiteral("Edit6"), QStringLiteral("BitBtn11"));
    const auto address =
        addSearchLine(g, 2, 0, QStringLiteral("地址"), QStringLiteral("Edit2"), QStringLiteral("BitBtn9"));
    // The address box spans the width of both columns of boxes.
    g->removeWidget(address.box);
    g->removeWidget(address.ok);
    g->addWidget(address.box, 2, 1, 1, 4);
    g->addWidget(address.ok, 2, 5);
    Edit4 = number.box, BitBtn5 = number.ok;
    Edit3 = tel.box, BitBtn7 = tel.ok;
    Edit1 = name.box, BitBtn6 = name.ok;
    Edit6 = mobile.box, BitBtn11 = mobile.ok;
    Edit2 = address.box, BitBtn9 = address.ok;
    top->addWidget(GroupBox1, 3);

    auto* right = new QVBoxLayout;
    const FuzzyGroup fuzzy = fuzzyGroup(this);
    ComboBox1 = fuzzy.column;
    Edit5 = fuzzy.text;
    BitBtn1 = fuzzy.find;
    right->addWidget(fuzzy.group);
    BitBtn2 = EntryForm::button(this, QStringLiteral("退出"), QStringLiteral("BitBtn2"));
    auto* exitRow = new QHBoxLayout;
    BitBtn14 = EntryForm::button(this, QStringLiteral("打印对账单"), QStringLiteral("BitBtn14"));
    BitBtn15 = EntryForm::button(this, QStringLiteral("导出对账单"), QStringLiteral("BitBtn15"));
    exitRow->addStretch();
    exitRow->addWidget(BitBtn14);
    exitRow->addWidget(BitBtn15);
    exitRow->addWidget(BitBtn2);
    right->addLayout(exitRow);
    right->addStretch();
    top->addLayout(right, 2);

    TDM1& d = dm();
    DBGrid1 = gridGroup(
        session, this, QStringLiteral("客户定购（购买）历史记录"), QStringLiteral("GroupBox4"),
        QStringLiteral("DBGrid1"), d.ADOQuery(7),
        columns({{"客户编号", 60},
                 {"客户名称", 90},
                 {"身份证号", 100},
                 {"出生年", 65},
                 {"地址", 120},
                 {"电话", 80},
                 {"手机", 100},
                 {"订购型号", 70},
                 {"主机序列号", 90},
                 {"价格", 70},
                 {"日期", 90},
                 {"客服人员", 65},
                 {"经手人", 70},
                 {"备注", 125}}),
        {text("客户名称", "合计次数"), filled("地址"), text("主机序列号", "合计金额"), sum("价格")});
    DBGrid2 = gridGroup(
        session, this, QStringLiteral("客户维修历史记录"), QStringLiteral("GroupBox5"),
        QStringLiteral("DBGrid2"), d.ADOQuery(6),
        columns({{"客户编号", 60},
                 {"客户名称", 90},
                 {"身份证号", 100},
                 {"出生年", 65},
                 {"地址", 120},
                 {"电话", 80},
                 {"手机", 100},
                 {"主机序列号", 80},
                 {"维修项目", 100},
                 {"维修费", 60},
                 {"日期", 100},
                 {"经手人", 60},
                 {"备注", 115}}),
        {text("客户名称", "维修次数"), filled("地址"), text("维修项目", "维修费合计"), sum("维修费")});
    DBGrid3 = gridGroup(session, this, QStringLiteral("客户帐款明细"), QStringLiteral("GroupBox6"),
                        QStringLiteral("DBGrid3"), d.ADOQuery(8),
                        columns({{"客户编号", 60},
                                 {"客户名称", 90},
                                 {"地址", 130},
                                 {"电话", 80},
                                 {"手机", 100},
                                 {"主机序列号", 90},
                                 {"应付金额", 60},
                                 {"付款情况", 60},
                                 {"日期", 100},
                                 {"经手人", 75},
                                 {"备注", 120}}),
                        {text("客户名称", "合计笔数"), filled("地址")});
    for (DataGrid* grid : {DBGrid1, DBGrid2, DBGrid3})
        outer->addWidget(grid->parentWidget(), 1);

    // The customer list lies over the right of the upper half, below the search group.
    GroupBox2 = new CustomerList(*this, QStringLiteral("DBGrid4"), false, this);
    GroupBox2->setGeometry(612, 104, 400, 176); // within the upper half of the child window

    EntryForm::tabOrder({Edit4, BitBtn5, Edit1, BitBtn6, Edit3, BitBtn7, Edit6, BitBtn11, Edit2, BitBtn9,
                         ComboBox1, Edit5, BitBtn1, BitBtn2});

    QueryPanel::Config config;
    config.emptyBox = QueryPanel::EmptyBox::NumberDoesNothing;
    config.clearFuzzyTextWhenNotFound = true;
    config.pickListsBy = LookupField::Number;
    panel =
        new QueryPanel(*this, {Edit4, Edit1, Edit3, Edit6, Edit2}, GroupBox2, config,
                       [this](const QString& column, const QString& value) { listHistory(column, value); });
    panel->setButton(LookupField::Number, BitBtn5);
    panel->setButton(LookupField::Name, BitBtn6);
    panel->setButton(LookupField::Telephone, BitBtn7);
    panel->setButton(LookupField::Mobile, BitBtn11);
    panel->setButton(LookupField::Address, BitBtn9);
    panel->setFuzzyGroup(ComboBox1, Edit5, BitBtn1);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(BitBtn14, &QPushButton::clicked, this,
            [this] { guarded([this] { Statement::print(*this, statementCustomer()); }); });
    connect(BitBtn15, &QPushButton::clicked, this,
            [this] { guarded([this] { Statement::exportFile(*this, statementCustomer()); }); });

    FormShow();
}

void Tchaxun::FormShow() {
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
        e->clear();
    // The grids start with their titles and footers and no rows.
    guarded([this] {
        dm().ADOQuery(6).open(QStringLiteral("select * from 维修记录 where 1=0"));
        dm().ADOQuery(7).open(QStringLiteral("select * from dinggou where 1=0"));
        dm().ADOQuery(8).open(QStringLiteral("select * from 帐款明细 where 1=0"));
    });
    GroupBox2->hide();
    ComboBox1->setCurrentIndex(0);
    Edit4->setFocus();
}

void Tchaxun::listHistory(const QString& column, const QString& value) {
    if (column == QStringLiteral("客户编号") && value.isEmpty())
        return;
    QVariantList params;
    const QString where = condition(column, value, params);
    dm().ADOQuery(6).open(QStringLiteral("select * from 维修记录") + where, params);
    dm().ADOQuery(7).open(QStringLiteral("select * from dinggou") + where, params);
    // Grouped by payment state; within a state, in the order the entries were written.
    dm().ADOQuery(8).open(
        QStringLiteral("select * from 帐款明细") + where + QStringLiteral(" order by 付款情况, id"), params);
}

QVariant Tchaxun::statementCustomer() const {
    if (const Row r = DBGrid3->currentRecord(); !r.isEmpty())
        return r.value(QStringLiteral("客户编号"));
    for (DataGrid* grid : {DBGrid3, DBGrid1, DBGrid2})
        if (grid->query() && grid->query()->isOpen() && grid->rowCount() > 0)
            return grid->query()->row(0).value(QStringLiteral("客户编号"));
    return {};
}
