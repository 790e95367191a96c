#include "data/dates.h"
#include "reports/print/printdbgrid.h"
#include "reports/print/tpreviewform.h"
#include "reports/thuizong.h"
#include "reports/tyiri.h"
#include "support/mainwindowtest.h"
#include "ui/datagrid.h"
#include "ui/fonts.h"
#include <QAction>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

namespace {
void addSale(TestSession& t, int customer, const QString& address, const QString& date, int price) {
    t.dm().ADOall.exec(
        "insert into dinggou(客户编号, 客户名称, 电话, 地址, 订购型号, 主机序列号, 价格, 日期, 经手人) "
        "values(?,?,?,?,?,?,?,?,?)",
        {customer, QString("客户%1").arg(customer), "5550000", address.isNull() ? QVariant() : address,
         "联想", QString("SN%1").arg(customer), Money::fromYuan(price).toVariant(), date, "0001"});
}

void addRepair(TestSession& t, int customer, const QString& address, const QString& date, int fee) {
    t.dm().ADOall.exec("insert into 维修记录(客户编号, 客户名称, 电话, 地址, 维修项目, 维修费, 日期, 经手人) "
                       "values(?,?,?,?,?,?,?,?)",
                       {customer, QString("客户%1").arg(customer), "5550000", address, "主机",
                        Money::fromYuan(fee).toVariant(), date, "0001"});
}

void addEntry(TestSession& t, int customer, const QString& address, const QString& date, int amount,
              const QString& state) {
    t.dm().ADOall.exec(
        "insert into 帐款明细(客户编号, 客户名称, 电话, 地址, 应付金额, 付款情况, 日期, 经手人) "
        "values(?,?,?,?,?,?,?,?)",
        {customer, QString("客户%1").arg(customer), "5550000", address, Money::fromYuan(amount).toVariant(),
         state, date, "0001"});
}

QStringList fields(const DataGrid* g) {
    QStringList out;
    for (const GridColumn& c : g->columns())
        out << c.field;
    return out;
}

QStringList column(const DataGrid* g, const QString& field) {
    QStringList out;
    for (int r = 0; r < g->rowCount(); ++r)
        out << g->cellText(r, field);
    return out;
}

TPreviewForm* openPreview(QWidget* screen) {
    for (TPreviewForm* f : screen->window()->findChildren<TPreviewForm*>()) // the main window owns it
        if (f->isVisible())
            return f;
    return nullptr;
}

const QDate kDay(2024, 5, 6);
} // namespace

class TestOverviews : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { Fonts::install(); }
    void dailyOpensEmpty();
    void dailyDay_data();
    void dailyDay();
    void dailyPrintsChosenGrid();
    void summaryOpens();
    void summaryPanels_data();
    void summaryPanels();
    void summaryPaymentChoices_data();
    void summaryPaymentChoices();
    void summaryPrintsHiddenResult();
    void summaryAccountTotals_data();
    void summaryAccountTotals();
    void doubleClickExports_data();
    void doubleClickExports();
};

void TestOverviews::dailyOpensEmpty() {
    MainWindowTest t;
    addSale(t, 1, "东村", Dates::toSql(QDate::currentDate()), 100);
    Tyiri& w = t.screen<Tyiri>("N5");
    QCOMPARE(w.windowTitle(), QString("一日销售、维修及帐款情况一览"));
    QCOMPARE(w.DateTimePicker1->date(), QDate::currentDate());
    for (DataGrid* g : {w.DBGrid1, w.DBGrid2, w.DBGrid3}) {
        QCOMPARE(g->rowCount(), 0);
        QVERIFY(!g->query()->isOpen());
    }
    // Printing before the first query opens nothing.
    for (QAction* a : {w.N1, w.N2, w.N3})
        a->trigger();
    QVERIFY(!openPreview(&w));
    QVERIFY(t.messages().shown.empty());
}

void TestOverviews::dailyDay_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("sales");
    QTest::addColumn<int>("repairs");
    QTest::addColumn<int>("entries");
    QTest::addColumn<QString>("salesSum");
    QTest::addColumn<QString>("repairSum");
    QTest::addColumn<QString>("entrySum");
    QTest::newRow("day with business") << kDay << 2 << 1 << 3 << "3500.5"
                                       << "80"
                                       << "3580.5";
    QTest::newRow("day without business") << kDay.addDays(1) << 0 << 0 << 0 << "0"
                                          << "0"
                                          << "0";
}

void TestOverviews::dailyDay() {
    QFETCH(QDate, day);
    QFETCH(int, sales);
    QFETCH(int, repairs);
    QFETCH(int, entries);
    QFETCH(QString, salesSum);
    QFETCH(QString, repairSum);
    QFETCH(QString, entrySum);
    MainWindowTest t;
    addSale(t, 1, "东村", "2024-05-06", 1000);
    addSale(t, 2, "西村", "2024-05-06", 2500);
    t.dm().ADOall.exec("update dinggou set 价格=价格+5000 where 客户编号=2"); // 0.5 yuan more
    addSale(t, 3, "西村", "2024-05-05", 999);
    addRepair(t, 1, "东村", "2024-05-06", 80);
    addRepair(t, 4, "东村", "2024-05-08", 70);
    addEntry(t, 1, "东村", "2024-05-06", 1000, "已付款");
    addEntry(t, 2, "西村", "2024-05-06", 2500, "未付款");
    t.dm().ADOall.exec("update 帐款明细 set 应付金额=应付金额+5000 where 客户编号=2");
    addEntry(t, 1, "东村", "2024-05-06", 80, "已付款");
    Tyiri& w = t.screen<Tyiri>("N5");
    w.DateTimePicker1->setDate(day);
    TestInput::click(w.BitBtn1);
    QVERIFY(t.messages().shown.empty());

    QCOMPARE(fields(w.DBGrid1),
             (QStringList{"客户编号", "客户名称", "身份证号", "出生年", "电话", "手机", "地址", "订购型号",
                          "主机序列号", "价格", "日期", "备注", "经手人"}));
    QCOMPARE(fields(w.DBGrid2),
             (QStringList{"客户编号", "客户名称", "身份证号", "出生年", "电话", "手机", "地址", "维修项目",
                          "维修费", "主机序列号", "备注", "日期", "经手人"}));
    QCOMPARE(fields(w.DBGrid3), (QStringList{"客户编号", "客户名称", "电话", "手机", "地址", "主机序列号",
                                             "应付金额", "付款情况", "日期", "备注", "经手人"}));
    QCOMPARE(w.DBGrid1->columns()[0].width, 60);
    QCOMPARE(w.DBGrid3->columns()[1].width, 85);

    QCOMPARE(w.DBGrid1->rowCount(), sales);
    QCOMPARE(w.DBGrid2->rowCount(), repairs);
    QCOMPARE(w.DBGrid3->rowCount(), entries);
    QCOMPARE(w.DBGrid1->footerText("客户名称"), QString("合计次数"));
    QCOMPARE(w.DBGrid1->footerText("电话"), QString::number(sales));
    QCOMPARE(w.DBGrid1->footerText("主机序列号"), QString("合计金额"));
    QCOMPARE(w.DBGrid1->footerText("价格"), salesSum);
    QCOMPARE(w.DBGrid2->footerText("客户名称"), QString("合计次数"));
    QCOMPARE(w.DBGrid2->footerText("电话"), QString::number(repairs));
    QCOMPARE(w.DBGrid2->footerText("维修项目"), QString("维修费合计"));
    QCOMPARE(w.DBGrid2->footerText("维修费"), repairSum);
    QCOMPARE(w.DBGrid3->footerText("客户名称"), QString("合计笔数"));
    QCOMPARE(w.DBGrid3->footerText("电话"), QString::number(entries));
    QCOMPARE(w.DBGrid3->footerText("主机序列号"), QString("金额合计"));
    QCOMPARE(w.DBGrid3->footerText("应付金额"), entrySum);
    for (const QString& d : column(w.DBGrid1, "日期") + column(w.DBGrid3, "日期"))
        QCOMPARE(d, Dates::shortDate(day));

    // A changed date alone queries nothing.
    w.DateTimePicker1->setDate(QDate(2024, 5, 5));
    QCOMPARE(w.DBGrid1->rowCount(), sales);
}

void TestOverviews::dailyPrintsChosenGrid() {
    MainWindowTest t;
    addSale(t, 1, "东村", "2024-05-06", 1000);
    addRepair(t, 1, "东村", "2024-05-06", 80);
    Tyiri& w = t.screen<Tyiri>("N5");
    w.DateTimePicker1->setDate(kDay);
    TestInput::click(w.BitBtn1);
    const QList<QPair<QAction*, QString>> items{
        {w.N1, "一日销售情况汇总"}, {w.N2, "一日维修情况汇总"}, {w.N3, "一日帐款情况汇总"}};
    for (const auto& [item, title] : items) {
        item->trigger();
        TPreviewForm* form = openPreview(&w);
        QVERIFY(form);
        QVERIFY(form->printer());
        QCOMPARE(form->printer()->settings().textBefore.text, title);
        QCOMPARE(form->StatusBar1->text(), QString("Page 1 of 1"));
        QCOMPARE(form->printer()->rowsOnPage(0), item == w.N3 ? 0 : 1);
        TestInput::click(form->tbClose);
        QVERIFY(!openPreview(&w));
    }
    QCOMPARE(w.N1->text(), QString("打印一日销售情况汇总"));
    QCOMPARE(w.MenuButton1->text(), QString("打印"));
}

void TestOverviews::summaryOpens() {
    MainWindowTest t;
    addSale(t, 1, "东村", Dates::toSql(QDate::currentDate()), 100);
    Thuizong& w = t.screen<Thuizong>("N40");
    QCOMPARE(w.windowTitle(), QString("销售、维修及帐款情况汇总"));
    for (QDateEdit* d : {w.DateTimePicker1, w.DateTimePicker2, w.DateTimePicker3, w.DateTimePicker4,
                         w.DateTimePicker5, w.DateTimePicker6})
        QCOMPARE(d->date(), QDate::currentDate());
    for (QLineEdit* e : {w.Edit1, w.Edit2, w.Edit3})
        QVERIFY(e->text().isEmpty());
    QVERIFY(w.RadioButton1->isChecked());
    QCOMPARE(w.shownGrid(), 1);
    QVERIFY(!w.DBGrid1->isHidden());
    QVERIFY(w.DBGrid2->isHidden() && w.DBGrid3->isHidden());
    QCOMPARE(w.GroupBox4->title(), QString("销售情况汇总---双击表格倒出到EXCEL"));
    QCOMPARE(w.DBGrid1->rowCount(), 0);
    for (QAction* a : {w.N1, w.N2, w.N3})
        a->trigger();
    QVERIFY(!openPreview(&w));
}

void TestOverviews::summaryPanels_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("grid");
    QTest::addColumn<QStringList>("customers");
    QTest::addColumn<QString>("caption");
    const QString sales = "销售情况汇总---双击表格倒出到EXCEL";
    const QString repairs = "维修情况汇总---双击表格倒出到EXCEL";
    const QString accounts = "帐款情况汇总---双击表格倒出到EXCEL";
    // Rows of each table: 1 东村 05-01, 2 西村 05-03, 3 O'Brien路 05-05, 4 no address 05-04, 5 东村 06-01.
    QTest::newRow("sales, both ends included")
        << "BitBtn1"
        << "" << QDate(2024, 5, 1) << QDate(2024, 5, 5) << 1 << QStringList{"1", "2", "3"} << sales;
    QTest::newRow("sales, address part")
        << "BitBtn1"
        << "村" << QDate(2024, 5, 1) << QDate(2024, 6, 1) << 1 << QStringList{"1", "2", "5"} << sales;
    QTest::newRow("sales, quote searched literally")
        << "BitBtn1"
        << "O'B" << QDate(2024, 1, 1) << QDate(2024, 12, 31) << 1 << QStringList{"3"} << sales;
    QTest::newRow("sales, percent is no wildcard")
        << "BitBtn1"
        << "%" << QDate(2024, 1, 1) << QDate(2024, 12, 31) << 1 << QStringList{} << sales;
    QTest::newRow("sales, reversed range")
        << "BitBtn1"
        << "" << QDate(2024, 5, 5) << QDate(2024, 5, 1) << 1 << QStringList{} << sales;
    QTest::newRow("sales, show all") << "BitBtn2"
                                     << "东" << QDate(2030, 1, 1) << QDate(2030, 1, 2) << 1
                                     << QStringList{"1", "2", "3", "4", "5"} << sales;
    QTest::newRow("repairs") << "BitBtn4"
                             << "东" << QDate(2024, 5, 1) << QDate(2024, 6, 1) << 2 << QStringList{"1", "5"}
                             << repairs;
    QTest::newRow("repairs, reversed range")
        << "BitBtn4"
        << "" << QDate(2024, 6, 1) << QDate(2024, 5, 1) << 2 << QStringList{} << repairs;
    QTest::newRow("repairs, show all") << "BitBtn3"
                                       << "" << QDate(2030, 1, 1) << QDate(2030, 1, 1) << 2
                                       << QStringList{"1", "2", "3", "4", "5"} << repairs;
    QTest::newRow("accounts") << "BitBtn6"
                              << "" << QDate(2024, 5, 3) << QDate(2024, 6, 1) << 3
                              << QStringList{"2", "3", "5"} << accounts;
    QTest::newRow("accounts, show all") << "BitBtn5"
                                        << "" << QDate(2030, 1, 1) << QDate(2030, 1, 1) << 3
                                        << QStringList{"1", "2", "4", "3", "5"} << accounts;
}

void TestOverviews::summaryPanels() {
    QFETCH(QString, button);
    QFETCH(QString, address);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, grid);
    QFETCH(QStringList, customers);
    QFETCH(QString, caption);
    MainWindowTest t;
    const QList<std::tuple<int, QString, QString>> rows{{1, "东村", "2024-05-01"},
                                                        {2, "西村", "2024-05-03"},
                                                        {3, "O'Brien路", "2024-05-05"},
                                                        {4, QString(), "2024-05-04"},
                                                        {5, "东村", "2024-06-01"}};
    for (const auto& [n, addr, date] : rows) {
        addSale(t, n, addr, date, 100 * n);
        addRepair(t, n, addr, date, 10 * n);
        addEntry(t, n, addr, date, 100 * n, "已付款");
    }
    Thuizong& w = t.screen<Thuizong>("N40");
    QDateEdit* dates[3][2] = {{w.DateTimePicker1, w.DateTimePicker2},
                              {w.DateTimePicker3, w.DateTimePicker4},
                              {w.DateTimePicker5, w.DateTimePicker6}};
    QLineEdit* edits[3] = {w.Edit1, w.Edit2, w.Edit3};
    dates[grid - 1][0]->setDate(from);
    dates[grid - 1][1]->setDate(to);
    edits[grid - 1]->setFocus();
    TestInput::typeText(edits[grid - 1], address);
    QCOMPARE(edits[grid - 1]->text(), address);
    TestInput::click(w.findChild<QPushButton*>(button));
    QVERIFY2(t.messages().shown.empty(), qPrintable(t.messages().texts().join("|")));

    DataGrid* grids[3] = {w.DBGrid1, w.DBGrid2, w.DBGrid3};
    DataGrid* g = grids[grid - 1];
    QCOMPARE(w.shownGrid(), grid);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(grids[i]->isHidden(), i != grid - 1);
    QCOMPARE(w.GroupBox4->title(), caption);
    QCOMPARE(column(g, "客户编号"), customers);
    QCOMPARE(g->footerText("电话"), QString::number(customers.size()));
    qlonglong total = 0;
    for (const QString& c : customers)
        total += c.toInt() * (grid == 2 ? 10 : 100);
    const QString sumField = grid == 1 ? "价格" : grid == 2 ? "维修费" : "应付金额";
    QCOMPARE(g->footerText(sumField), QString::number(total));
    QCOMPARE(g->footerText("客户名称"), QString(grid == 3 ? "合计笔数" : "合计次数"));
    // The other panels' results are untouched (never queried here).
    for (int i = 0; i < 3; ++i)
        if (i != grid - 1)
            QVERIFY(!grids[i]->query()->isOpen());
    if (grid == 1)
        QCOMPARE(fields(g), (QStringList{"客户编号", "客户名称", "电话", "手机", "地址", "订购型号",
                                         "主机序列号", "价格", "日期", "备注", "经手人", "客服人员"}));
}

void TestOverviews::summaryPaymentChoices_data() {
    QTest::addColumn<QString>("choice");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("expected"); // 付款情况/日期 of each row, in order
    QTest::newRow("all, show all") << "RadioButton1"
                                   << "BitBtn5"
                                   << QStringList{"未付款 2024-5-2", "未付款 2024-5-9", "已付款 2024-5-1",
                                                  "已付款 2024-5-3", "已付款 2024-5-8"};
    QTest::newRow("paid, show all") << "RadioButton2"
                                    << "BitBtn5"
                                    << QStringList{"已付款 2024-5-1", "已付款 2024-5-3", "已付款 2024-5-8"};
    QTest::newRow("unpaid, show all") << "RadioButton3"
                                      << "BitBtn5" << QStringList{"未付款 2024-5-2", "未付款 2024-5-9"};
    QTest::newRow("all, query") << "RadioButton1"
                                << "BitBtn6"
                                << QStringList{"未付款 2024-5-2", "已付款 2024-5-1", "已付款 2024-5-3"};
    QTest::newRow("paid, query") << "RadioButton2"
                                 << "BitBtn6" << QStringList{"已付款 2024-5-1", "已付款 2024-5-3"};
    QTest::newRow("unpaid, query") << "RadioButton3"
                                   << "BitBtn6" << QStringList{"未付款 2024-5-2"};
}

void TestOverviews::summaryPaymentChoices() {
    QFETCH(QString, choice);
    QFETCH(QString, button);
    QFETCH(QStringList, expected);
    MainWindowTest t;
    addEntry(t, 1, "东村", "2024-05-08", 10, "已付款");
    addEntry(t, 2, "东村", "2024-05-09", 20, "未付款");
    addEntry(t, 3, "东村", "2024-05-01", 30, "已付款");
    addEntry(t, 4, "东村", "2024-05-02", 40, "未付款");
    addEntry(t, 5, "东村", "2024-05-03", 50, "已付款");
    Thuizong& w = t.screen<Thuizong>("N40");
    w.DateTimePicker5->setDate(QDate(2024, 5, 1));
    w.DateTimePicker6->setDate(QDate(2024, 5, 7));
    TestInput::click(w.findChild<QRadioButton*>(choice));
    QVERIFY(!w.DBGrid3->query()->isOpen()); // the choice alone queries nothing
    TestInput::click(w.findChild<QPushButton*>(button));
    QStringList got;
    for (int r = 0; r < w.DBGrid3->rowCount(); ++r)
        got << w.DBGrid3->cellText(r, "付款情况") + " " + w.DBGrid3->cellText(r, "日期");
    QCOMPARE(got, expected);
    QCOMPARE(w.DBGrid3->footerText("电话"), QString::number(expected.size()));
    QCOMPARE(w.GroupBox4->title(), QString("帐款情况汇总---双击表格倒出到EXCEL"));
}

void TestOverviews::summaryAccountTotals_data() {
    QTest::addColumn<QStringList>("change"); // statements; "reopen" opens the file again
    QTest::addColumn<QString>("address");    // typed in the address box
    QTest::addColumn<QStringList>("footers"); // count and sum for all, paid, unpaid
    const QStringList written{"4 120", "2 70", "2 50"};
    QTest::newRow("as written") << QStringList{} << "" << written;
    QTest::newRow("arrears collected") << QStringList{"update 帐款明细 set 付款情况='已付款' where id=2"} << ""
                                       << QStringList{"4 120", "3 90", "1 30"};
    QTest::newRow("day and amount changed")
        << QStringList{"update 帐款明细 set 日期='2024-05-08' where id=1",
                       "update 帐款明细 set 应付金额=350000 where id=3"}
        << "" << QStringList{"3 115", "1 60", "2 55"};
    QTest::newRow("address removed and given")
        << QStringList{"update 帐款明细 set 地址=null where id=2", "update 帐款明细 set 地址='北村' where id=4"}
        << "" << QStringList{"4 140", "3 110", "1 30"};
    QTest::newRow("deleted") << QStringList{"delete from 帐款明细 where id in (1, 3)"} << ""
                             << QStringList{"2 80", "1 60", "1 20"};
    QTest::newRow("file of an earlier version")
        << QStringList{"drop trigger 帐款日合计_增", "drop trigger 帐款日合计_删", "drop trigger 帐款日合计_改",
                       "drop table 帐款日合计", "reopen"}
        << "" << written;
    QTest::newRow("a trigger of another making")
        << QStringList{"drop trigger 帐款日合计_增",
                       "create trigger 帐款日合计_增 after insert on 帐款明细 begin select 1; end", "reopen"}
        << "" << written;
    QTest::newRow("totals gone meanwhile")
        << QStringList{"drop trigger 帐款日合计_增", "drop trigger 帐款日合计_删", "drop trigger 帐款日合计_改",
                       "drop table 帐款日合计"}
        << "" << written;
    QTest::newRow("an address typed") << QStringList{} << "东" << QStringList{"3 90", "2 70", "1 20"};
}

// The account panel's footer over a period, whether it adds up the totals kept per day or goes
// through the entries (an address typed, or no totals in the file).
void TestOverviews::summaryAccountTotals() {
    QFETCH(QStringList, change);
    QFETCH(QString, address);
    QFETCH(QStringList, footers);
    MainWindowTest t;
    const auto entry = [&t](const QVariant& address, const QString& date, int amount, const QString& state) {
        t.dm().ADOall.exec("insert into 帐款明细(客户编号, 客户名称, 地址, 应付金额, 付款情况, 日期) values(1,'甲',?,?,?,?)",
                           {address, Money::fromYuan(amount).toVariant(), state, date});
    };
    entry("东村", "2024-05-01", 10, "已付款");
    entry("东村", "2024-05-02", 20, "未付款");
    entry("西村", "2024-05-03", 30, "未付款");
    entry(QVariant(), "2024-05-04", 40, "已付款"); // no address: no address matches it
    entry("东村", "2024-05-09", 50, "已付款");     // after the period
    entry("东村", "2024-05-07", 60, "已付款");     // its last day
    for (const QString& sql : change) {
        if (sql == "reopen")
            t.dm().open(t.dm().fileName());
        else
            t.dm().ADOall.exec(sql);
    }
    Thuizong& w = t.screen<Thuizong>("N40");
    w.DateTimePicker5->setDate(QDate(2024, 5, 1));
    w.DateTimePicker6->setDate(QDate(2024, 5, 7));
    TestInput::typeText(w.Edit3, address);
    const auto shown = [&w](const QString& choice) {
        TestInput::click(w.findChild<QRadioButton*>(choice));
        TestInput::click(w.findChild<QPushButton*>("BitBtn6"));
        return w.DBGrid3->footerText("电话") + " " + w.DBGrid3->footerText("应付金额");
    };
    QCOMPARE((QStringList{shown("RadioButton1"), shown("RadioButton2"), shown("RadioButton3")}), footers);
    QVERIFY(t.messages().shown.empty());
    // An entry written afterwards counts at once.
    entry("东村", "2024-05-05", 5, "未付款");
    const QStringList all = footers.first().split(' ');
    QCOMPARE(shown("RadioButton1"),
             QString("%1 %2").arg(all[0].toInt() + 1).arg(all[1].toInt() + 5));
}

void TestOverviews::summaryPrintsHiddenResult() {
    MainWindowTest t;
    addSale(t, 1, "东村", "2024-05-01", 100);
    addSale(t, 2, "西村", "2024-05-02", 200);
    addRepair(t, 3, "东村", "2024-05-01", 10);
    Thuizong& w = t.screen<Thuizong>("N40");
    TestInput::click(w.BitBtn2); // every sale
    TestInput::click(w.BitBtn3); // every repair: the sales grid is hidden now
    QCOMPARE(w.shownGrid(), 2);
    QVERIFY(w.DBGrid1->isHidden());

    w.N1->trigger();
    TPreviewForm* form = openPreview(&w);
    QVERIFY(form);
    QCOMPARE(form->printer(), w.PrintDBGrid1);
    QCOMPARE(w.PrintDBGrid1->settings().textBefore.text, QString("销售情况汇总"));
    QCOMPARE(w.PrintDBGrid1->rowsOnPage(0), 2);
    QCOMPARE(w.PrintDBGrid1->pageCount(), 1);
    TestInput::click(form->tbClose);

    // The account grid was never queried: its item opens nothing.
    w.N3->trigger();
    QVERIFY(!openPreview(&w));
    w.N2->trigger();
    form = openPreview(&w);
    QVERIFY(form);
    QCOMPARE(form->printer(), w.PrintDBGrid2);
    QCOMPARE(w.PrintDBGrid2->rowsOnPage(0), 1);
    QCOMPARE(w.PrintDBGrid2->headerTexts(0).value(2), QString("第1页 共1页"));
}

void TestOverviews::doubleClickExports_data() {
    QTest::addColumn<bool>("daily");
    QTest::addColumn<int>("grid");
    QTest::addColumn<QString>("name");
    QTest::newRow("daily sales") << true << 1 << "file1";
    QTest::newRow("daily repairs") << true << 2 << "file2";
    QTest::newRow("daily accounts") << true << 3 << "file3";
    QTest::newRow("summary sales") << false << 1 << "file1";
    QTest::newRow("summary repairs") << false << 2 << "file2";
    QTest::newRow("summary accounts") << false << 3 << "file3";
}

void TestOverviews::doubleClickExports() {
    QFETCH(bool, daily);
    QFETCH(int, grid);
    QFETCH(QString, name);
    MainWindowTest t;
    addSale(t, 1, "东村", "2024-05-06", 1000);
    addRepair(t, 1, "东村", "2024-05-06", 80);
    addEntry(t, 1, "东村", "2024-05-06", 1000, "已付款");
    std::unique_ptr<Screen> screen;
    DataGrid* g = nullptr;
    QPushButton* query = nullptr;
    if (daily) {
        auto* w = &t.screen<Tyiri>("N5");
        screen.reset(w);
        w->DateTimePicker1->setDate(kDay);
        g = QList<DataGrid*>{w->DBGrid1, w->DBGrid2, w->DBGrid3}[grid - 1];
        query = w->BitBtn1;
    } else {
        auto* w = &t.screen<Thuizong>("N40");
        screen.reset(w);
        g = QList<DataGrid*>{w->DBGrid1, w->DBGrid2, w->DBGrid3}[grid - 1];
        query = QList<QPushButton*>{w->BitBtn2, w->BitBtn3, w->BitBtn5}[grid - 1];
    }
    screen->show();
    // Before any query the export fails with the general error report and writes nothing.
    if (daily) {
        t.files().answer(t.folder() + "/early.TXT", "文本 (*.TXT)");
        QTest::mouseDClick(g->viewport(), Qt::LeftButton);
        QVERIFY(!QFile::exists(t.folder() + "/early.TXT"));
        QCOMPARE(t.messages().shown.size(), size_t(1));
        QCOMPARE(int(t.messages().last().icon), int(MsgIcon::Error));
        t.messages().clear();
    }
    TestInput::click(query);
    const QString file = t.folder() + "/out.TXT";
    t.files().answer(file, "文本 (*.TXT)");
    QTest::mouseDClick(g->viewport(), Qt::LeftButton);
    QVERIFY(!t.files().asked.empty());
    QCOMPARE(t.files().asked.back().fileName, name);
    QCOMPARE(t.messages().texts(), QStringList{"倒出数据成功！"});
    QVERIFY(QFile::exists(file));
    QVERIFY(QFile(file).size() > 0);
}

QTEST_MAIN(TestOverviews)
#include "tst_overviews.moc"
