#include "reports/tjiaokuanjilu.h"
#include "reports/queryform.h"
#include "trade/entryform.h"
#include "trade/lookuppanel.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace QueryForm;

Tjiaokuanjilu::Tjiaokuanjilu(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tjiaokuanjilu"));
    setWindowTitle(QStringLiteral("查询客户交款记录"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    setFont(f);
    resize(907, 605);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 6);
    auto* top = new QHBoxLayout;
    outer->addLayout(top);

    // One box per line: number, name, telephone, mobile, address.
    GroupBox1 = new QGroupBox(QStringLiteral("客户基本信息"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* g = new QGridLayout(GroupBox1);
    g->setContentsMargins(6, 2, 6, 4);
    g->setVerticalSpacing(3);
    const auto number = addSearchLine(g, 0, 0, QStringLiteral("客户编号"), QStringLiteral("Edit4"),
                                      QStringLiteral("BitBtn5"), QStringLiteral("输入客户编号后请回车"));
    const auto name = addSearchLine(g, 1, 0, QStringLiteral("客户名称"), QStringLiteral("Edit1"),
                                    QStringLiteral("BitBtn6"), QStringLiteral("输入客户名称后请回车"));
    const auto tel = addSearchLine(g, 2, 0, QStringLiteral("电话"), QStringLiteral("Edit3"),
                                   QStringLiteral("BitBtn7"), QStringLiteral("输入电话后请回车"));
    const auto mobile =
        addSearchLine(g, 3, 0, QStringLiteral("手机"), QStringLiteral("Edit6"), QStringLiteral("BitBtn11"));
    const auto address =
        addSearchLine(g, 4, 0, QStringLiteral("地址"), QStringLiteral("Edit2"), QStringLiteral("BitBtn9"));
    Edit4 = number.box, BitBtn5 = number.ok;
    Edit1 = name.box, BitBtn6 = name.ok;
    Edit3 = tel.box, BitBtn7 = tel.ok;
    Edit6 = mobile.box, BitBtn11 = mobile.ok;
    Edit2 = address.box, BitBtn9 = address.ok;
    top->addWidget(GroupBox1, 1);

    auto* right = new QVBoxLayout;
    const FuzzyGroup fuzzy = fuzzyGroup(this);
    ComboBox1 = fuzzy.column;
    Edit5 = fuzzy.text;
    BitBtn1 = fuzzy.find;
    right->addWidget(fuzzy.group);
    BitBtn3 = EntryForm::button(this, QStringLiteral("显示全部交款记录"), QStringLiteral("BitBtn3"));
    BitBtn2 = EntryForm::button(this, QStringLiteral("退出"), QStringLiteral("BitBtn2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn2);
    right->addLayout(buttons);
    right->addStretch();
    top->addLayout(right, 1);

    auto col = [](const char* field) { return GridColumn{QString::fromUtf8(field), 0, {}}; };
    DBGrid1 = gridGroup(session, this, QStringLiteral("交款记录"), QStringLiteral("GroupBox4"),
                        QStringLiteral("DBGrid1"), dm().ADOQuery(9),
                        {col("客户编号"), col("客户名称"), col("地址"), col("电话"), col("手机"),
                         col("主机序列号"), col("金额"), col("日期"), col("经手人")},
                        {{QStringLiteral("客户名称"), FooterCell::Text, QStringLiteral("合计次数")},
                         {QStringLiteral("地址"), FooterCell::CountFilled, {}},
                         {QStringLiteral("主机序列号"), FooterCell::Text, QStringLiteral("合计金额")},
                         {QStringLiteral("金额"), FooterCell::Sum, {}}});
    DBGrid1->setStretch(true);
    outer->addWidget(DBGrid1->parentWidget(), 1);

    // The customer list lies over the right of the window, below the search group.
    GroupBox2 = new CustomerList(*this, QStringLiteral("DBGrid4"), false, this);
    GroupBox2->setGeometry(455, 100, 440, 260);

    EntryForm::tabOrder({Edit4, BitBtn5, Edit1, BitBtn6, Edit3, BitBtn7, Edit6, BitBtn11, Edit2, BitBtn9,
                         ComboBox1, Edit5, BitBtn1, BitBtn3, BitBtn2});

    QueryPanel::Config config;
    config.emptyBox = QueryPanel::EmptyBox::NumberDoesNothing;
    config.clearFuzzyTextWhenNotFound = true;
    config.pickListsBy = LookupField::Number;
    panel =
        new QueryPanel(*this, {Edit4, Edit1, Edit3, Edit6, Edit2}, GroupBox2, config,
                       [this](const QString& column, const QString& value) { listReceipts(column, value); });
    panel->setButton(LookupField::Number, BitBtn5);
    panel->setButton(LookupField::Name, BitBtn6);
    panel->setButton(LookupField::Telephone, BitBtn7);
    panel->setButton(LookupField::Mobile, BitBtn11);
    panel->setButton(LookupField::Address, BitBtn9);
    panel->setFuzzyGroup(ComboBox1, Edit5, BitBtn1);
    connect(BitBtn3, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn3Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeWindow(); });

    FormShow();
}

void Tjiaokuanjilu::FormShow() {
    // The grid starts with its titles and footer and no rows.
    guarded([this] { dm().ADOQuery(9).open(QStringLiteral("select * from 收款记录 where 1=0")); });
    for (QLineEdit* e : {Edit2, Edit3, Edit1, Edit4, Edit5, Edit6})
        e->clear();
    GroupBox2->hide();
    ComboBox1->setCurrentIndex(0);
    Edit4->setFocus();
}

void Tjiaokuanjilu::listReceipts(const QString& column, const QString& value) {
    if (column == QStringLiteral("客户编号") && value.isEmpty())
        return;
    QVariantList params;
    const QString where = condition(column, value, params);
    dm().ADOQuery(9).open(QStringLiteral("select * from 收款记录") + where, params);
}

void Tjiaokuanjilu::BitBtn3Click() {
    // Receipts of one day keep the order in which they were written.
    // Its footer reads the totals kept for all receipts instead of summing them.
    dm().ADOQuery(9).open(QStringLiteral("select * from 收款记录 order by 日期, rowid"), {}, dm().receiptTotalsSql());
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6})
        e->clear();
    GroupBox2->hide();
}
