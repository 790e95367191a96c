#include "reports/thuizong.h"
#include "ui/fonts.h"
#include "data/dates.h"
#include "reports/print/printdbgrid.h"
#include "reports/reportparts.h"
#include <QAction>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
using F = FooterCell;

QDateEdit* datePicker(QWidget* parent, const QString& name) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(name);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    return d;
}

QPushButton* button(QWidget* parent, const QString& caption, const QString& name) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

// A query panel: dates from and to, the address text, the query and show-all buttons.
QGroupBox* panel(QWidget* parent, const QString& name, const QString& caption, QDateEdit*& from,
                 QDateEdit*& to, QLineEdit*& address, QPushButton*& query, QPushButton*& all,
                 const QString& fromName, const QString& toName, const QString& addressName,
                 const QString& queryName, const QString& allName) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    auto* g = new QGridLayout(box);
    from = datePicker(box, fromName);
    to = datePicker(box, toName);
    address = new QLineEdit(box);
    address->setObjectName(addressName);
    g->addWidget(new QLabel(QStringLiteral("日期从"), box), 0, 0, Qt::AlignRight);
    g->addWidget(from, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("到"), box), 1, 0, Qt::AlignRight);
    g->addWidget(to, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("模糊\n地址"), box), 2, 0, Qt::AlignRight);
    g->addWidget(address, 2, 1);
    auto* buttons = new QHBoxLayout;
    query = button(box, QStringLiteral("查询"), queryName);
    all = button(box, QStringLiteral("显示全部"), allName);
    buttons->addWidget(query);
    buttons->addWidget(all);
    g->addLayout(buttons, 3, 0, 1, 2);
    return box;
}

QString accountOrder(const TDM1& dm) {
    return QStringLiteral(" order by %1, 日期").arg(dm.pinyinOrder(QStringLiteral("付款情况")));
}
} // namespace

Thuizong::Thuizong(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Thuizong"));
    setWindowTitle(QStringLiteral("销售、维修及帐款情况汇总"));
    setFont(Fonts::song());
    resize(placement().size());

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    GroupBox1 = panel(this, QStringLiteral("GroupBox1"), QStringLiteral("销售情况汇总"), DateTimePicker1,
                      DateTimePicker2, Edit1, BitBtn1, BitBtn2, QStringLiteral("DateTimePicker1"),
                      QStringLiteral("DateTimePicker2"), QStringLiteral("Edit1"), QStringLiteral("BitBtn1"),
                      QStringLiteral("BitBtn2"));
    GroupBox2 = panel(this, QStringLiteral("GroupBox2"), QStringLiteral("维修情况汇总"), DateTimePicker3,
                      DateTimePicker4, Edit2, BitBtn4, BitBtn3, QStringLiteral("DateTimePicker3"),
                      QStringLiteral("DateTimePicker4"), QStringLiteral("Edit2"), QStringLiteral("BitBtn4"),
                      QStringLiteral("BitBtn3"));
    GroupBox3 = panel(this, QStringLiteral("GroupBox3"), QStringLiteral("帐款情况汇总"), DateTimePicker5,
                      DateTimePicker6, Edit3, BitBtn6, BitBtn5, QStringLiteral("DateTimePicker5"),
                      QStringLiteral("DateTimePicker6"), QStringLiteral("Edit3"), QStringLiteral("BitBtn6"),
                      QStringLiteral("BitBtn5"));
    RadioGroup1 = new QGroupBox(QStringLiteral("付款情况"), GroupBox3);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    auto* radios = new QVBoxLayout(RadioGroup1);
    RadioButton1 = new QRadioButton(QStringLiteral("显示全部"), RadioGroup1);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton2 = new QRadioButton(QStringLiteral("已付款"), RadioGroup1);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton3 = new QRadioButton(QStringLiteral("未付款"), RadioGroup1);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3})
        radios->addWidget(r);
    static_cast<QGridLayout*>(GroupBox3->layout())->addWidget(RadioGroup1, 0, 2, 4, 1);
    top->addWidget(GroupBox1);
    top->addWidget(GroupBox2);
    top->addWidget(GroupBox3);

    auto* side = new QVBoxLayout;
    QList<QAction*> items;
    MenuButton1 = ReportParts::printMenu(this,
                                         {{QStringLiteral("N1"), QStringLiteral("打印销售情况汇总")},
                                          {QStringLiteral("N2"), QStringLiteral("打印维修情况汇总")},
                                          {QStringLiteral("N3"), QStringLiteral("打印帐款情况汇总")}},
                                         items);
    N1 = items[0];
    N2 = items[1];
    N3 = items[2];
    BitBtn7 = button(this, QStringLiteral("退出"), QStringLiteral("BitBtn7"));
    side->addStretch(1);
    side->addWidget(MenuButton1);
    side->addWidget(BitBtn7);
    top->addLayout(side);
    outer->addLayout(top);

    GroupBox4 = new QGroupBox(this);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    auto* result = new QVBoxLayout(GroupBox4);
    result->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(GroupBox4, 1);

    auto columns = [](const QStringList& fields) {
        QList<GridColumn> out;
        for (const QString& f : fields)
            out.append({f, 0, {}});
        return out;
    };
    DBGrid1 = ReportParts::grid(GroupBox4, session, 15, QStringLiteral("DBGrid1"),
                                columns({"客户编号", "客户名称", "电话", "手机", "地址", "订购型号",
                                         "主机序列号", "价格", "日期", "备注", "经手人", "客服人员"}),
                                {{"客户名称", F::Text, "合计次数"},
                                 {"电话", F::Count, {}},
                                 {"主机序列号", F::Text, "合计金额"},
                                 {"价格", F::Sum, {}}});
    DBGrid2 = ReportParts::grid(GroupBox4, session, 16, QStringLiteral("DBGrid2"),
                                columns({"客户编号", "客户名称", "电话", "手机", "地址", "维修项目", "维修费",
                                         "主机序列号", "备注", "日期", "经手人"}),
                                {{"客户名称", F::Text, "合计次数"},
                                 {"电话", F::Count, {}},
                                 {"维修项目", F::Text, "维修费合计"},
                                 {"维修费", F::Sum, {}}});
    DBGrid3 = ReportParts::grid(GroupBox4, session, 17, QStringLiteral("DBGrid3"),
                                columns({"客户编号", "客户名称", "电话", "手机", "地址", "主机序列号",
                                         "应付金额", "付款情况", "日期", "备注", "经手人"}),
                                {{"客户名称", F::Text, "合计笔数"},
                                 {"电话", F::Count, {}},
                                 {"主机序列号", F::Text, "金额合计"},
                                 {"应付金额", F::Sum, {}}});
    for (DataGrid* g : {DBGrid1, DBGrid2, DBGrid3}) {
        g->setStretch(true);
        result->addWidget(g);
        connect(g, &DataGrid::dblClicked, this, [this] { guarded([this] { DBGridDblClick(); }); });
    }

    PrintDBGrid1 = new TPrintDBGrid(session, DBGrid1,
                                    PrintSettings::reportDefaults(QStringLiteral("销售情况汇总")), this);
    PrintDBGrid2 = new TPrintDBGrid(session, DBGrid2,
                                    PrintSettings::reportDefaults(QStringLiteral("维修情况汇总")), this);
    PrintDBGrid3 = new TPrintDBGrid(session, DBGrid3,
                                    PrintSettings::reportDefaults(QStringLiteral("帐款情况汇总")), this);

    auto on = [this](QPushButton* b, void (Thuizong::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(BitBtn1, &Thuizong::BitBtn1Click);
    on(BitBtn2, &Thuizong::BitBtn2Click);
    on(BitBtn3, &Thuizong::BitBtn3Click);
    on(BitBtn4, &Thuizong::BitBtn4Click);
    on(BitBtn5, &Thuizong::BitBtn5Click);
    on(BitBtn6, &Thuizong::BitBtn6Click);
    connect(BitBtn7, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(N1, &QAction::triggered, this, [this] { guarded([this] { N1Click(); }); });
    connect(N2, &QAction::triggered, this, [this] { guarded([this] { N2Click(); }); });
    connect(N3, &QAction::triggered, this, [this] { guarded([this] { N3Click(); }); });

    FormShow();
}

void Thuizong::FormShow() {
    for (QDateEdit* d : {DateTimePicker1, DateTimePicker2, DateTimePicker3, DateTimePicker4, DateTimePicker5,
                         DateTimePicker6})
        d->setDate(QDate::currentDate());
    for (QLineEdit* e : {Edit1, Edit2, Edit3})
        e->clear();
    RadioButton1->setChecked(true);
    showGrid(1);
    for (int n : {15, 16, 17})
        dm().ADOQuery(n).close();
}

void Thuizong::showGrid(int grid) {
    shown_ = grid;
    DBGrid1->setVisible(grid == 1);
    DBGrid2->setVisible(grid == 2);
    DBGrid3->setVisible(grid == 3);
    static const char* const captions[] = {"销售情况汇总---双击表格倒出到EXCEL",
                                           "维修情况汇总---双击表格倒出到EXCEL",
                                           "帐款情况汇总---双击表格倒出到EXCEL"};
    GroupBox4->setTitle(QString::fromUtf8(captions[grid - 1]));
}

void Thuizong::BitBtn1Click() {
    dm().ADOQuery(15).open(
        QStringLiteral("select * from dinggou where 日期 between ? and ? and ") + dm().contains(QStringLiteral("地址")),
        {Dates::toSql(DateTimePicker1->date()), Dates::toSql(DateTimePicker2->date()),
         Values::containsPattern(Edit1->text())});
    showGrid(1);
}

void Thuizong::BitBtn2Click() {
    dm().ADOQuery(15).open(QStringLiteral("select * from dinggou"));
    showGrid(1);
}

void Thuizong::BitBtn4Click() {
    dm().ADOQuery(16).open(
        QStringLiteral("select * from 维修记录 where 日期 between ? and ? and ") + dm().contains(QStringLiteral("地址")),
        {Dates::toSql(DateTimePicker3->date()), Dates::toSql(DateTimePicker4->date()),
         Values::containsPattern(Edit2->text())});
    showGrid(2);
}

void Thuizong::BitBtn3Click() {
    dm().ADOQuery(16).open(QStringLiteral("select * from 维修记录"));
    showGrid(2);
}

void Thuizong::BitBtn6Click() {
    const bool byState = !RadioButton1->isChecked();
    const QString state = RadioButton2->isChecked() ? QStringLiteral("已付款") : QStringLiteral("未付款");
    const QString from = Dates::toSql(DateTimePicker5->date());
    const QString to = Dates::toSql(DateTimePicker6->date());
    QString sql = QStringLiteral("select * from 帐款明细 where ");
    QVariantList params;
    if (byState) {
        sql += QStringLiteral("付款情况=? and ");
        params << state;
    }
    sql += QStringLiteral("日期 between ? and ? and ") + dm().contains(QStringLiteral("地址")) + accountOrder(dm());
    params << from << to << Values::containsPattern(Edit3->text());
    // Without an address to look for, the footer adds up the totals kept per day and state
    // instead of going through every entry of the period.
    QString totals;
    QVariantList totalsParams{from, to};
    if (Edit3->text().isEmpty()) {
        totals = dm().accountTotalsSql(byState);
        if (byState)
            totalsParams << state;
    }
    dm().ADOQuery(17).open(sql, params, totals, totalsParams);
    showGrid(3);
}

void Thuizong::BitBtn5Click() {
    if (RadioButton1->isChecked())
        dm().ADOQuery(17).open(QStringLiteral("select * from 帐款明细") + accountOrder(dm()));
    else
        dm().ADOQuery(17).open(
            QStringLiteral("select * from 帐款明细 where 付款情况=?") + accountOrder(dm()),
            {RadioButton2->isChecked() ? QStringLiteral("已付款") : QStringLiteral("未付款")});
    showGrid(3);
}

void Thuizong::N1Click() {
    PrintDBGrid1->preview(this);
}
void Thuizong::N2Click() {
    PrintDBGrid2->preview(this);
}
void Thuizong::N3Click() {
    PrintDBGrid3->preview(this);
}

void Thuizong::DBGridDblClick() {
    static const char* const names[] = {"file1", "file2", "file3"};
    DataGrid* grids[] = {DBGrid1, DBGrid2, DBGrid3};
    ReportParts::exportGrid(session(), this, *grids[shown_ - 1], QString::fromLatin1(names[shown_ - 1]));
}
