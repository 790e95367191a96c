#include "reports/register.h"
#include "reports/tchaxun.h"
#include "support/mainwindowtest.h"
#include "ui/fonts.h"
#include "trade/lookuppanel.h"
#include "ui/datagrid.h"
#include "ui/screenregistry.h"
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace TestInput;

namespace {
void addCustomer(TestSession& t, int number, const QString& name, const QString& tel, const QString& mobile,
                 const QString& address) {
    t.dm().ADOall.exec(
        "insert into 客户信息(客户编号,客户名称,手机,电话,地址,起用日期) values(?,?,?,?,?,'2008-01-01')",
        {number, name, mobile, tel, address});
}

// The customer columns a record carries, copied when it was written; a null QVariant stores no value.
struct Copy {
    QVariant number, name, tel, mobile, address;
};

void sale(TestSession& t, const Copy& c, const QString& serial, const QString& price,
          const QString& date = "2008-03-05") {
    t.dm().ADOall.exec(
        "insert into dinggou(客户编号,客户名称,电话,手机,地址,身份证号,出生年,订购型号,主机序列号,价格,日期,"
        "客服人员,经手人,备注) values(?,?,?,?,?,'ID','1970','M1',?,?,?,'小王','0001','')",
        {c.number, c.name, c.tel, c.mobile, c.address, serial, Money::parse(price).toVariant(), date});
}

void repair(TestSession& t, const Copy& c, const QString& serial, const QString& fee) {
    t.dm().ADOall.exec(
        "insert into 维修记录(客户编号,客户名称,电话,手机,地址,主机序列号,维修项目,维修费,日期,经手人) "
        "values(?,?,?,?,?,?,'  主机',?,'2008-03-06','0001')",
        {c.number, c.name, c.tel, c.mobile, c.address, serial, Money::parse(fee).toVariant()});
}

void account(TestSession& t, const Copy& c, const QString& serial, const QString& amount,
             const QString& state) {
    t.dm().ADOall.exec(
        "insert into 帐款明细(客户编号,客户名称,电话,手机,地址,主机序列号,应付金额,付款情况,日期,经手人) "
        "values(?,?,?,?,?,?,?,?,'2008-03-05','0001')",
        {c.number, c.name, c.tel, c.mobile, c.address, serial, Money::parse(amount).toVariant(), state});
}

QStringList column(DataGrid* grid, const QString& field) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << grid->cellText(r, field);
    return out;
}

QStringList boxes(Tchaxun* s) {
    return {s->Edit4->text(), s->Edit1->text(), s->Edit3->text(),
            s->Edit6->text(), s->Edit2->text(), s->Edit5->text()};
}

Tchaxun* openScreen(MainWindowTest& t) {
    auto* s = &t.screen<Tchaxun>("N30");
    s->show();
    s->activateWindow();
    if (!QTest::qWaitForWindowActive(s))
        qWarning("window not active");
    return s;
}

void doubleClickFirstRow(DataGrid* grid) {
    const QRect cell = grid->visualRect(grid->model()->index(0, grid->columns().isEmpty() ? 0 : 1));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.isValid() ? cell.center() : QPoint(20, 20));
}

// Customer 7 changed telephone from 111 to 222 after the first sale and repair; customer 9 was
// deleted from the archive; one sale and one repair were written with no customer name at all.
void historyData(TestSession& t) {
    addCustomer(t, 7, "张三", "222", "139", "甲村");
    addCustomer(t, 8, "O'Neil", "333", "138", "乙村");
    const Copy oldTel{7, "张三", "111", "139", "甲村"};
    const Copy newTel{7, "张三", "222", "139", "甲村"};
    const Copy neil{8, "O'Neil", "333", "138", "乙村"};
    const Copy gone{9, "王五", "444", "137", "丙村"};
    const Copy nameless{QVariant(), QVariant(), "555", QVariant(), QVariant()};
    sale(t, oldTel, "S1", "100");
    repair(t, oldTel, "R1", "30");
    sale(t, newTel, "S2", "200.5");
    sale(t, neil, "S3", "50");
    sale(t, gone, "S4", "10");
    repair(t, gone, "R2", "5");
    sale(t, nameless, "S5", "1");
    repair(t, nameless, "R3", "2");
    account(t, oldTel, "S1", "100", "已付款");
    account(t, newTel, "S2", "200.5", "未付款");
    account(t, oldTel, "R1", "30", "已付款");
    account(t, neil, "S3", "50", "已付款");
    account(t, gone, "S4", "10", "未付款");
    account(t, gone, "R2", "5", "已付款");
}
} // namespace

class TestHistory : public QObject {
    Q_OBJECT
  private slots:
    void openingState();
    void registeredByCaption();
    void lookups_data();
    void lookups();
    void emptyNumberDoesNothing();
    void badNumberListsNothing();
    void twoCustomersWithOneName();
    void changedTelephone();
    void fuzzySearchAndPickListByNumber();
    void pickFromEmptyList();
    void footers_data();
    void footers();
    void footerRowBelowTheRows();
    void listingsUseIndexes_data();
    void listingsUseIndexes();
    void exitClosesWindow();
};

void TestHistory::openingState() {
    Fonts::install(); // the program's fonts: identity numbers and telephones widen their columns
    MainWindowTest t;
    auto* s = openScreen(t);
    QCOMPARE(s->windowTitle(), QString("查询客户所有资料"));
    QCOMPARE(s->placement(), QRect(0, 0, 1020, 605));
    QCOMPARE(s->font().pixelSize(), 13);
    QCOMPARE(boxes(s), QStringList(6, QString()));
    QVERIFY(!s->GroupBox2->isVisible());
    QCOMPARE(s->GroupBox2->grid()->objectName(), QString("DBGrid4"));
    QCOMPARE(s->ComboBox1->currentText(), QString("客户名称"));
    QStringList items;
    for (int i = 0; i < s->ComboBox1->count(); ++i)
        items << s->ComboBox1->itemText(i);
    QCOMPARE(items, (QStringList{"客户名称", "地址", "电话", "手机", "客户编号"}));
    QCOMPARE(s->Edit4->toolTip(), QString("输入客户编号后请回车"));
    QCOMPARE(s->Edit1->toolTip(), QString("输入客户名称后请回车"));
    QCOMPARE(s->Edit3->toolTip(), QString("输入电话后请回车"));
    QCOMPARE(s->Edit6->toolTip(), QString());
    for (DataGrid* g : {s->DBGrid1, s->DBGrid2, s->DBGrid3})
        QCOMPARE(g->rowCount(), 0);
    QCOMPARE(s->DBGrid1->query(), &t.dm().ADOQuery(7));
    QCOMPARE(s->DBGrid2->query(), &t.dm().ADOQuery(6));
    QCOMPARE(s->DBGrid3->query(), &t.dm().ADOQuery(8));
    QCOMPARE(s->DBGrid1->footerText("客户名称"), QString("合计次数"));
    QCOMPARE(s->DBGrid1->footerText("主机序列号"), QString("合计金额"));
    QCOMPARE(s->DBGrid2->footerText("客户名称"), QString("维修次数"));
    QCOMPARE(s->DBGrid2->footerText("维修项目"), QString("维修费合计"));
    QCOMPARE(s->DBGrid3->footerText("客户名称"), QString("合计笔数"));
    QCOMPARE(s->DBGrid3->footerText("应付金额"), QString()); // the account grid has no sum
    // Titles, order and widths of the three grids.
    auto layout = [](DataGrid* g) {
        QStringList out;
        for (const GridColumn& c : g->columns())
            out << QString("%1:%2").arg(c.title).arg(c.width);
        return out.join(' ');
    };
    // Identity numbers and telephones widen their columns where the given width cannot hold them.
    QCOMPARE(layout(s->DBGrid1),
             QString("客户编号:60 客户名称:90 身份证号:124 出生年:65 地址:120 电话:85 手机:100 "
                     "订购型号:70 主机序列号:90 价格:70 日期:90 客服人员:65 经手人:70 备注:125"));
    QCOMPARE(layout(s->DBGrid2),
             QString("客户编号:60 客户名称:90 身份证号:124 出生年:65 地址:120 电话:85 手机:100 "
                     "主机序列号:80 维修项目:100 维修费:60 日期:100 经手人:60 备注:115"));
    QCOMPARE(layout(s->DBGrid3), QString("客户编号:60 客户名称:90 地址:130 电话:85 手机:100 主机序列号:90 "
                                         "应付金额:60 付款情况:60 日期:100 经手人:75 备注:120"));
    // Stacked: sales above repairs above account entries.
    QVERIFY(s->DBGrid1->mapTo(s, QPoint()).y() < s->DBGrid2->mapTo(s, QPoint()).y());
    QVERIFY(s->DBGrid2->mapTo(s, QPoint()).y() < s->DBGrid3->mapTo(s, QPoint()).y());
    // Tab order through the customer boxes and their buttons.
    QList<QWidget*> chain{s->Edit4,   s->BitBtn5, s->Edit1,    s->BitBtn6, s->Edit3,
                          s->BitBtn7, s->Edit6,   s->BitBtn11, s->Edit2,   s->BitBtn9};
    s->Edit4->setFocus();
    for (int i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), chain[i]);
    }
    delete s;
}

void TestHistory::registeredByCaption() {
    TestSession t;
    ScreenRegistry registry;
    registerReportsScreens(registry);
    auto factory = registry.screen("查询客户所有资料");
    QVERIFY(factory);
    std::unique_ptr<Screen> s(factory(t.session()));
    QVERIFY(qobject_cast<Tchaxun*>(s.get()));
}

void TestHistory::lookups_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QStringList>("after"); // number, name, telephone, mobile, address, fuzzy text
    QTest::addColumn<QStringList>("sales");
    QTest::addColumn<QStringList>("repairs");
    QTest::addColumn<QStringList>("accounts");
    const QStringList all7{"S1", "S2"}, repairs7{"R1"}, accounts7{"S1", "R1", "S2"};
    const QStringList found7{"7", "张三", "222", "139", "甲村", "旧"};
    QTest::newRow("number, Enter") << "Edit4"
                                   << "7" << true << true << found7 << all7 << repairs7 << accounts7;
    QTest::newRow("number, button") << "Edit4"
                                    << "007" << false << true
                                    << QStringList{"007", "张三", "222", "139", "甲村", "旧"} << all7
                                    << repairs7 << accounts7;
    QTest::newRow("mobile") << "Edit6"
                            << "139" << true << true << found7 << all7 << repairs7 << accounts7;
    QTest::newRow("address") << "Edit2"
                             << "甲村" << false << true << found7 << all7 << repairs7 << accounts7;
    QTest::newRow("quote in name") << "Edit1"
                                   << "O'Neil" << true << true
                                   << QStringList{"8", "O'Neil", "333", "138", "乙村", "旧"}
                                   << QStringList{"S3"} << QStringList{} << QStringList{"S3"};
    QTest::newRow("missing by number") << "Edit4"
                                       << "9" << true << false << QStringList{"9", "", "", "", "", ""}
                                       << QStringList{"S4"} << QStringList{"R2"} << QStringList{"R2", "S4"};
    QTest::newRow("missing by name") << "Edit1"
                                     << "王五" << false << false << QStringList{"", "王五", "", "", "", ""}
                                     << QStringList{"S4"} << QStringList{"R2"} << QStringList{"R2", "S4"};
    QTest::newRow("empty name") << "Edit1"
                                << "" << true << false << QStringList(6, QString()) << QStringList{"S5"}
                                << QStringList{"R3"} << QStringList{};
}

void TestHistory::lookups() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(bool, found);
    QFETCH(QStringList, after);
    QFETCH(QStringList, sales);
    QFETCH(QStringList, repairs);
    QFETCH(QStringList, accounts);
    MainWindowTest t;
    historyData(t);
    auto* s = openScreen(t);
    typeText(s->Edit5, "旧");
    if (box != "Edit1")
        typeText(s->Edit1, "旧名");
    auto* edit = s->findChild<QLineEdit*>(box);
    typeText(edit, typed);
    if (enter) {
        pressEnter(edit);
    } else {
        const char* button = box == "Edit4" ? "BitBtn5" : box == "Edit1" ? "BitBtn6" : "BitBtn9";
        click(s->findChild<QPushButton*>(button));
    }
    if (found) {
        QVERIFY(t.messages().shown.empty());
    } else {
        QCOMPARE(t.messages().texts(), QStringList{"此客户档案信息不存在！"});
        QCOMPARE(t.messages().last().caption, QString("提示"));
        QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    }
    QCOMPARE(boxes(s), after);
    QCOMPARE(column(s->DBGrid1, "主机序列号"), sales);
    QCOMPARE(column(s->DBGrid2, "主机序列号"), repairs);
    QCOMPARE(column(s->DBGrid3, "主机序列号"), accounts);
    // Account entries come grouped by payment state.
    const QStringList states = column(s->DBGrid3, "付款情况");
    QStringList sorted = states;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(states, sorted);
    delete s;
}

void TestHistory::emptyNumberDoesNothing() {
    MainWindowTest t;
    historyData(t);
    auto* s = openScreen(t);
    typeText(s->Edit1, "O'Neil");
    pressEnter(s->Edit1);
    s->Edit4->clear();
    pressEnter(s->Edit4);
    click(s->BitBtn5);
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(boxes(s), (QStringList{"", "O'Neil", "333", "138", "乙村", ""}));
    QCOMPARE(column(s->DBGrid1, "主机序列号"), QStringList{"S3"});
    QCOMPARE(column(s->DBGrid3, "主机序列号"), QStringList{"S3"});
    delete s;
}

void TestHistory::badNumberListsNothing() {
    MainWindowTest t;
    historyData(t);
    auto* s = openScreen(t);
    typeText(s->Edit4, "7");
    pressEnter(s->Edit4);
    s->Edit4->clear();
    typeText(s->Edit4, "7 or 1=1");
    pressEnter(s->Edit4);
    QCOMPARE(t.messages().texts(), QStringList{"“7 or 1=1”不是有效的数字！"});
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QCOMPARE(boxes(s), (QStringList{"7 or 1=1", "张三", "222", "139", "甲村", ""}));
    QCOMPARE(column(s->DBGrid1, "主机序列号"), (QStringList{"S1", "S2"}));
    QCOMPARE(column(s->DBGrid2, "主机序列号"), QStringList{"R1"});
    delete s;
}

void TestHistory::twoCustomersWithOneName() {
    MainWindowTest t;
    addCustomer(t, 1, "李四", "100", "m1", "东村");
    addCustomer(t, 2, "李四", "200", "m2", "西村");
    sale(t, {1, "李四", "100", "m1", "东村"}, "A", "10");
    sale(t, {2, "李四", "200", "m2", "西村"}, "B", "20");
    repair(t, {2, "李四", "200", "m2", "西村"}, "C", "5");
    account(t, {2, "李四", "200", "m2", "西村"}, "B", "20", "未付款");
    account(t, {1, "李四", "100", "m1", "东村"}, "A", "10", "已付款");
    auto* s = openScreen(t);
    typeText(s->Edit1, "李四");
    pressEnter(s->Edit1);
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(boxes(s), (QStringList{"1", "李四", "100", "m1", "东村", ""}));
    QCOMPARE(column(s->DBGrid1, "主机序列号"), (QStringList{"A", "B"}));
    QCOMPARE(column(s->DBGrid1, "客户编号"), (QStringList{"1", "2"}));
    QCOMPARE(column(s->DBGrid2, "主机序列号"), QStringList{"C"});
    QCOMPARE(column(s->DBGrid3, "付款情况"), (QStringList{"已付款", "未付款"}));
    QCOMPARE(s->DBGrid1->footerText("价格"), QString("30"));
    delete s;
}

void TestHistory::changedTelephone() {
    MainWindowTest t;
    historyData(t);
    auto* s = openScreen(t);
    typeText(s->Edit3, "222");
    pressEnter(s->Edit3);
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(s->Edit4->text(), QString("7"));
    QCOMPARE(column(s->DBGrid1, "主机序列号"), QStringList{"S2"});
    QCOMPARE(column(s->DBGrid2, "主机序列号"), QStringList{});
    QCOMPARE(column(s->DBGrid3, "主机序列号"), QStringList{"S2"});
    QCOMPARE(s->DBGrid1->footerText("价格"), QString("200.5"));
    click(s->BitBtn5);
    QCOMPARE(column(s->DBGrid1, "主机序列号"), (QStringList{"S1", "S2"}));
    QCOMPARE(column(s->DBGrid1, "电话"), (QStringList{"111", "222"}));
    QCOMPARE(column(s->DBGrid2, "主机序列号"), QStringList{"R1"});
    QCOMPARE(s->DBGrid1->footerText("价格"), QString("300.5"));
    delete s;
}

void TestHistory::fuzzySearchAndPickListByNumber() {
    MainWindowTest t;
    historyData(t);
    auto* s = openScreen(t);
    typeText(s->Edit1, "O'Neil");
    pressEnter(s->Edit1);
    s->ComboBox1->setCurrentText("电话");
    typeText(s->Edit5, "22");
    click(s->BitBtn1);
    QVERIFY(s->GroupBox2->isVisible());
    // The list lies over the right of the upper half, below the search group.
    QVERIFY(s->GroupBox2->geometry().left() >= s->width() / 2);
    QVERIFY(s->GroupBox2->geometry().top() >= s->ComboBox1->parentWidget()->geometry().bottom());
    QVERIFY(s->GroupBox2->geometry().bottom() <= s->height() / 2);
    DataGrid* list = s->GroupBox2->grid();
    QCOMPARE(column(list, "客户名称"), QStringList{"张三"});
    QCOMPARE(column(s->DBGrid1, "主机序列号"), QStringList{"S3"}); // the fuzzy search lists no history
    doubleClickFirstRow(list);
    QVERIFY(!s->GroupBox2->isVisible());
    QCOMPARE(boxes(s), (QStringList{"7", "张三", "222", "139", "甲村", "22"}));
    QCOMPARE(column(s->DBGrid1, "主机序列号"), (QStringList{"S1", "S2"}));
    QCOMPARE(column(s->DBGrid2, "主机序列号"), QStringList{"R1"});
    QCOMPARE(column(s->DBGrid3, "主机序列号"), (QStringList{"S1", "R1", "S2"}));
    QVERIFY(t.messages().shown.empty());
    delete s;
}

void TestHistory::pickFromEmptyList() {
    MainWindowTest t;
    historyData(t);
    auto* s = openScreen(t);
    typeText(s->Edit4, "8");
    pressEnter(s->Edit4);
    typeText(s->Edit5, "无此人");
    click(s->BitBtn1);
    QVERIFY(s->GroupBox2->isVisible());
    QCOMPARE(s->GroupBox2->grid()->rowCount(), 0);
    QTest::mouseDClick(s->GroupBox2->grid()->viewport(), Qt::LeftButton);
    QVERIFY(!s->GroupBox2->isVisible());
    QCOMPARE(boxes(s), (QStringList{"", "", "", "", "", "无此人"}));
    QVERIFY(t.messages().shown.empty());
    // No history is listed: the grids still show what the last lookup found.
    QCOMPARE(column(s->DBGrid1, "主机序列号"), QStringList{"S3"});
    QCOMPARE(column(s->DBGrid3, "主机序列号"), QStringList{"S3"});
    delete s;
}

void TestHistory::footers_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("footer"); // field=text pairs
    QTest::newRow("sales") << "DBGrid1"
                           << QStringList{"客户名称=合计次数", "地址=2", "主机序列号=合计金额", "价格=300.75",
                                          "电话="};
    QTest::newRow("repairs") << "DBGrid2"
                             << QStringList{"客户名称=维修次数", "地址=1", "维修项目=维修费合计",
                                            "维修费=100", "主机序列号="};
    QTest::newRow("account entries") << "DBGrid3" << QStringList{"客户名称=合计笔数", "地址=3", "应付金额="};
}

void TestHistory::footers() {
    QFETCH(QString, grid);
    QFETCH(QStringList, footer);
    MainWindowTest t;
    addCustomer(t, 5, "赵六", "888", "m", "北村");
    const Copy with{5, "赵六", "888", "m", "北村"};
    const Copy without{5, "赵六", "888", "m", QVariant()};
    const Copy blank{5, "赵六", "888", "m", ""};
    sale(t, with, "S1", "100", "2008-01-05");
    sale(t, without, "S2", "200.5");
    sale(t, blank, "S3", "0.25");
    repair(t, with, "R1", "85.5");
    repair(t, without, "R2", "14.5");
    account(t, with, "S1", "100", "已付款");
    account(t, without, "S2", "200.5", "未付款");
    account(t, blank, "S3", "0.25", "已付款");
    account(t, with, "R1", "85.5", "已付款");
    sale(t, {6, "别人", "999", "m", "北村"}, "X", "1000"); // another customer's sale is not summed
    auto* s = openScreen(t);
    typeText(s->Edit4, "5");
    pressEnter(s->Edit4);
    auto* g = s->findChild<DataGrid*>(grid);
    for (const QString& pair : footer) {
        const QString field = pair.section('=', 0, 0);
        QCOMPARE(g->footerText(field), pair.section('=', 1));
    }
    if (grid == "DBGrid1") {
        QCOMPARE(g->cellText(0, "价格"), QString("100"));
        QCOMPARE(g->cellText(1, "价格"), QString("200.5"));
        QCOMPARE(g->cellText(0, "日期"), QString("2008-1-5"));
    }
    delete s;
}

void TestHistory::footerRowBelowTheRows() {
    MainWindowTest t;
    addCustomer(t, 5, "赵六", "888", "m", "北村");
    for (int i = 1; i <= 30; ++i)
        sale(t, {5, "赵六", "888", "m", "北村"}, QString("S%1").arg(i), "1");
    auto* s = openScreen(t);
    typeText(s->Edit4, "5");
    pressEnter(s->Edit4);
    DataGrid* g = s->DBGrid1;
    QCOMPARE(g->footerText("价格"), QString("30"));
    auto* footer = g->findChild<QWidget*>("footer");
    QVERIFY(footer && footer->isVisible());
    const QRect rows = g->viewport()->geometry();
    QVERIFY(footer->geometry().top() > rows.bottom());
    QVERIFY(footer->geometry().bottom() < g->height());
    QCOMPARE(footer->width(), rows.width());
    // The last row scrolls up into view above the footer.
    g->setFocus();
    QTest::keyClick(g, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(g->currentRowIndex(), 29);
    const QRect last = g->visualRect(g->model()->index(29, 1));
    QVERIFY(last.top() >= 0);
    QVERIFY2(last.bottom() < g->viewport()->height(), qPrintable(QString::number(last.bottom())));
    delete s;
}

void TestHistory::listingsUseIndexes_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::newRow("number") << "Edit4"
                            << "7";
    QTest::newRow("name") << "Edit1"
                          << "张三";
    QTest::newRow("empty name") << "Edit1"
                                << "";
    QTest::newRow("telephone") << "Edit3"
                               << "222";
    QTest::newRow("mobile") << "Edit6"
                            << "139";
    QTest::newRow("address") << "Edit2"
                             << "甲村";
}

// One customer's history must come at once from a table of a million records: every listing
// and every footer aggregate searches an index instead of reading the whole table.
void TestHistory::listingsUseIndexes() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    MainWindowTest t;
    historyData(t);
    auto* s = openScreen(t);
    auto* edit = s->findChild<QLineEdit*>(box);
    typeText(edit, typed);
    pressEnter(edit);
    for (int n : {6, 7, 8}) {
        const SharedQuery& q = t.dm().ADOQuery(n);
        QVERIFY(q.isOpen());
        for (const QString& sql : {q.sql(), QString("SELECT count(\"地址\") FROM (%1)").arg(q.sql())}) {
            QStringList plan;
            for (const Row& r : t.dm().ADOall.query("EXPLAIN QUERY PLAN " + sql, q.params()))
                plan << r.text("detail");
            QVERIFY2(!plan.isEmpty(), qPrintable(sql));
            // A pass over a whole table reads "SCAN <table>"; over the small result of a subquery, "SCAN (".
            QVERIFY2(plan.join(" | ").contains("SEARCH"), qPrintable(sql + " : " + plan.join(" | ")));
            for (const QString& step : plan)
                QVERIFY2(!step.startsWith("SCAN ") || step.startsWith("SCAN ("),
                         qPrintable(sql + " : " + plan.join(" | ")));
        }
    }
    delete s;
}

void TestHistory::exitClosesWindow() {
    MainWindowTest t;
    auto* s = openScreen(t);
    QPointer<Tchaxun> guard(s);
    s->setAttribute(Qt::WA_DeleteOnClose);
    click(s->BitBtn2);
    QTRY_VERIFY(guard.isNull());
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
