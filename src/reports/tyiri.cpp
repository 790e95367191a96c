#include "reports/tyiri.h"
#include "ui/fonts.h"
#include "data/dates.h"
#include "reports/print/printdbgrid.h"
#include "reports/reportparts.h"
#include <QAction>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
using F = FooterCell;

QGroupBox* gridGroup(QWidget* parent, const char* name, const QString& caption, DataGrid* grid) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    auto* lay = new QVBoxLayout(box);
    lay->setContentsMargins(4, 4, 4, 4);
    grid->setParent(box);
    lay->addWidget(grid);
    return box;
}
} // namespace

Tyiri::Tyiri(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tyiri"));
    setWindowTitle(QStringLiteral("一日销售、维修及帐款情况一览"));
    setFont(Fonts::song());
    resize(placement().size());

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    GroupBox1 = new QGroupBox(QStringLiteral("查询条件"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* q = new QHBoxLayout(GroupBox1);
    q->addWidget(new QLabel(QStringLiteral("日期"), GroupBox1));
    DateTimePicker1 = new QDateEdit(GroupBox1);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    q->addWidget(DateTimePicker1);
    BitBtn1 = new QPushButton(QStringLiteral("查询"), GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("退出"), GroupBox1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    q->addWidget(BitBtn1);
    q->addWidget(BitBtn2);
    top->addWidget(GroupBox1);
    QList<QAction*> items;
    MenuButton1 = ReportParts::printMenu(this,
                                         {{QStringLiteral("N1"), QStringLiteral("打印一日销售情况汇总")},
                                          {QStringLiteral("N2"), QStringLiteral("打印一日维修情况汇总")},
                                          {QStringLiteral("N3"), QStringLiteral("打印一日帐款情况汇总")}},
                                         items);
    N1 = items[0];
    N2 = items[1];
    N3 = items[2];
    top->addWidget(MenuButton1, 0, Qt::AlignBottom);
    top->addStretch(1);
    outer->addLayout(top);

    DBGrid1 = ReportParts::grid(this, session, 12, QStringLiteral("DBGrid1"),
                                {{"客户编号", 60},
                                 {"客户名称", 90},
                                 {"身份证号", 0},
                                 {"出生年", 0},
                                 {"电话", 85},
                                 {"手机", 110},
                                 {"地址", 130},
                                 {"订购型号", 80},
                                 {"主机序列号", 70},
                                 {"价格", 65},
                                 {"日期", 80},
                                 {"备注", 130},
                                 {"经手人", 65}},
                                {{"客户名称", F::Text, "合计次数"},
                                 {"电话", F::Count, {}},
                                 {"主机序列号", F::Text, "合计金额"},
                                 {"价格", F::Sum, {}}});
    DBGrid2 = ReportParts::grid(this, session, 13, QStringLiteral("DBGrid2"),
                                {{"客户编号", 60},
                                 {"客户名称", 90},
                                 {"身份证号", 0},
                                 {"出生年", 0},
                                 {"电话", 85},
                                 {"手机", 110},
                                 {"地址", 130},
                                 {"维修项目", 80},
                                 {"维修费", 65},
                                 {"主机序列号", 70},
                                 {"备注", 130},
                                 {"日期", 80},
                                 {"经手人", 65}},
                                {{"客户名称", F::Text, "合计次数"},
                                 {"电话", F::Count, {}},
                                 {"维修项目", F::Text, "维修费合计"},
                                 {"维修费", F::Sum, {}}});
    DBGrid3 = ReportParts::grid(this, session, 14, QStringLiteral("DBGrid3"),
                                {{"客户编号", 60},
                                 {"客户名称", 85},
                                 {"电话", 90},
                                 {"手机", 110},
                                 {"地址", 130},
                                 {"主机序列号", 80},
                                 {"应付金额", 65},
                                 {"付款情况", 70},
                                 {"日期", 80},
                                 {"备注", 130},
                                 {"经手人", 65}},
                                {{"客户名称", F::Text, "合计笔数"},
                                 {"电话", F::Count, {}},
                                 {"主机序列号", F::Text, "金额合计"},
                                 {"应付金额", F::Sum, {}}});
    GroupBox2 = gridGroup(this, "GroupBox2", QStringLiteral("销售情况----双击表格倒出到EXCEL"), DBGrid1);
    GroupBox3 = gridGroup(this, "GroupBox3", QStringLiteral("维修情况----双击表格倒出到EXCEL"), DBGrid2);
    GroupBox4 = gridGroup(this, "GroupBox4", QStringLiteral("帐款情况----双击表格倒出到EXCEL"), DBGrid3);
    outer->addWidget(GroupBox2, 1);
    outer->addWidget(GroupBox3, 1);
    outer->addWidget(GroupBox4, 1);

    PrintDBGrid1 = new TPrintDBGrid(session, DBGrid1,
                                    PrintSettings::reportDefaults(QStringLiteral("一日销售情况汇总")), this);
    PrintDBGrid2 = new TPrintDBGrid(session, DBGrid2,
                                    PrintSettings::reportDefaults(QStringLiteral("一日维修情况汇总")), this);
    PrintDBGrid3 = new TPrintDBGrid(session, DBGrid3,
                                    PrintSettings::reportDefaults(QStringLiteral("一日帐款情况汇总")), this);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(N1, &QAction::triggered, this, [this] { guarded([this] { N1Click(); }); });
    connect(N2, &QAction::triggered, this, [this] { guarded([this] { N2Click(); }); });
    connect(N3, &QAction::triggered, this, [this] { guarded([this] { N3Click(); }); });
    connect(DBGrid1, &DataGrid::dblClicked, this, [this] { guarded([this] { DBGrid1DblClick(); }); });
    connect(DBGrid2, &DataGrid::dblClicked, this, [this] { guarded([this] { DBGrid2DblClick(); }); });
    connect(DBGrid3, &DataGrid::dblClicked, this, [this] { guarded([this] { DBGrid3DblClick(); }); });

    FormShow();
}

void Tyiri::FormShow() {
    DateTimePicker1->setDate(QDate::currentDate());
    for (int n : {12, 13, 14})
        dm().ADOQuery(n).close();
}

void Tyiri::BitBtn1Click() {
    const QString day = Dates::toSql(DateTimePicker1->date());
    dm().ADOQuery(12).open(QStringLiteral("select * from dinggou where 日期=?"), {day});
    dm().ADOQuery(13).open(QStringLiteral("select * from 维修记录 where 日期=?"), {day});
    dm().ADOQuery(14).open(QStringLiteral("select * from 帐款明细 where 日期=?"), {day});
}

void Tyiri::N1Click() {
    PrintDBGrid1->preview(this);
}
void Tyiri::N2Click() {
    PrintDBGrid2->preview(this);
}
void Tyiri::N3Click() {
    PrintDBGrid3->preview(this);
}

void Tyiri::DBGrid1DblClick() {
    ReportParts::exportGrid(session(), this, *DBGrid1, QStringLiteral("file1"));
}
void Tyiri::DBGrid2DblClick() {
    ReportParts::exportGrid(session(), this, *DBGrid2, QStringLiteral("file2"));
}
void Tyiri::DBGrid3DblClick() {
    ReportParts::exportGrid(session(), this, *DBGrid3, QStringLiteral("file3"));
}
