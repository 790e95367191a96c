#include "reports/register.h"
#include "reports/tjiaokuanjilu.h"
#include "support/mainwindowtest.h"
#include "trade/lookuppanel.h"
#include "ui/datagrid.h"
#include "ui/screenregistry.h"
#include <QApplication>
#include <QComboBox>
#include <QFile>
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

void receipt(TestSession& t, const QVariant& number, const QVariant& name, const QVariant& tel,
             const QVariant& address, const QString& serial, const QString& amount, const QString& date) {
    t.dm().ADOall.exec("insert into 收款记录(客户编号,客户名称,电话,手机,地址,主机序列号,金额,日期,经手人) "
                       "values(?,?,?,'m',?,?,?,?,'0001')",
                       {number, name, tel, address, serial, Money::parse(amount).toVariant(), date});
}

QStringList column(DataGrid* grid, const QString& field) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << grid->cellText(r, field);
    return out;
}

QStringList boxes(Tjiaokuanjilu* s) {
    return {s->Edit4->text(), s->Edit1->text(), s->Edit3->text(),
            s->Edit6->text(), s->Edit2->text(), s->Edit5->text()};
}

Tjiaokuanjilu* openScreen(MainWindowTest& t) {
    auto* s = &t.screen<Tjiaokuanjilu>("N34");
    s->show();
    s->activateWindow();
    if (!QTest::qWaitForWindowActive(s))
        qWarning("window not active");
    return s;
}

// Customer 3 changed telephone from 111 to 222; customer 4 was deleted from the archive; one
// receipt carries no address and one no name. Written out of date order.
void receiptData(TestSession& t) {
    addCustomer(t, 3, "张三", "222", "139", "甲村");
    addCustomer(t, 5, "O'Neil", "555", "135", "乙村");
    receipt(t, 3, "张三", "222", "甲村", "P2", "200.5", "2008-03-09");
    receipt(t, 3, "张三", "111", QVariant(), "P1", "100", "2008-01-05");
    receipt(t, 4, "王五", "444", "丙村", "P3", "0.25", "2008-02-01");
    receipt(t, 5, "O'Neil", "555", "乙村", "P4", "50", "2008-03-09");
    receipt(t, QVariant(), QVariant(), "666", "丁村", "P5", "1", "2007-12-31");
}
} // namespace

class TestPayments : public QObject {
    Q_OBJECT
  private slots:
    void openingState();
    void registeredByCaption();
    void lookups_data();
    void lookups();
    void emptyNumberDoesNothing();
    void twoCustomersWithOneName();
    void showAllOldestFirst();
    void allReceiptsTotals_data();
    void allReceiptsTotals();
    void upToDateFileOpensUnchanged();
    void pickListsByNumber();
    void pickFromEmptyList();
};

void TestPayments::openingState() {
    MainWindowTest t;
    auto* s = openScreen(t);
    QCOMPARE(s->windowTitle(), QString("查询客户交款记录"));
    QCOMPARE(s->placement(), QRect(60, 0, 907, 605));
    QCOMPARE(s->font().pixelSize(), 11);
    QCOMPARE(boxes(s), QStringList(6, QString()));
    QVERIFY(!s->GroupBox2->isVisible());
    QCOMPARE(s->ComboBox1->currentText(), QString("客户名称"));
    QCOMPARE(s->ComboBox1->count(), 5);
    QCOMPARE(s->BitBtn3->text(), QString("显示全部交款记录"));
    QCOMPARE(s->DBGrid1->query(), &t.dm().ADOQuery(9));
    QCOMPARE(s->DBGrid1->rowCount(), 0);
    QStringList titles;
    for (const GridColumn& c : s->DBGrid1->columns())
        titles << c.title;
    QCOMPARE(titles, (QStringList{"客户编号", "客户名称", "地址", "电话", "手机", "主机序列号", "金额",
                                  "日期", "经手人"}));
    QCOMPARE(s->DBGrid1->footerText("客户名称"), QString("合计次数"));
    QCOMPARE(s->DBGrid1->footerText("主机序列号"), QString("合计金额"));
    QCOMPARE(s->DBGrid1->footerText("地址"), QString("0"));
    QCOMPARE(s->DBGrid1->footerText("金额"), QString("0"));
    // One box per line, top to bottom: number, name, telephone, mobile, address.
    QList<QWidget*> order{s->Edit4, s->Edit1, s->Edit3, s->Edit6, s->Edit2};
    for (int i = 0; i + 1 < order.size(); ++i)
        QVERIFY(order[i]->geometry().top() < order[i + 1]->geometry().top());
    QList<QWidget*> chain{s->Edit4,   s->BitBtn5, s->Edit1,    s->BitBtn6, s->Edit3,
                          s->BitBtn7, s->Edit6,   s->BitBtn11, s->Edit2,   s->BitBtn9};
    s->Edit4->setFocus();
    for (int i = 1; i < chain.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), chain[i]);
    }
    delete s;
}

void TestPayments::registeredByCaption() {
    TestSession t;
    ScreenRegistry registry;
    registerReportsScreens(registry);
    auto factory = registry.screen("查询客户交款记录");
    QVERIFY(factory);
    std::unique_ptr<Screen> s(factory(t.session()));
    QVERIFY(qobject_cast<Tjiaokuanjilu*>(s.get()));
}

void TestPayments::lookups_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QStringList>("after"); // number, name, telephone, mobile, address, fuzzy text
    QTest::addColumn<QStringList>("serials");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("total");
    QTest::newRow("number") << "Edit4"
                            << "3" << true << QStringList{"3", "张三", "222", "139", "甲村", "旧"}
                            << QStringList{"P2", "P1"} << "1"
                            << "300.5";
    QTest::newRow("new telephone") << "Edit3"
                                   << "222" << true << QStringList{"3", "张三", "222", "139", "甲村", "旧"}
                                   << QStringList{"P2"} << "1"
                                   << "200.5";
    QTest::newRow("old telephone") << "Edit3"
                                   << "111" << false << QStringList{"", "", "111", "", "", ""}
                                   << QStringList{"P1"} << "0"
                                   << "100";
    QTest::newRow("quote in name") << "Edit1"
                                   << "O'Neil" << true
                                   << QStringList{"5", "O'Neil", "555", "135", "乙村", "旧"}
                                   << QStringList{"P4"} << "1"
                                   << "50";
    QTest::newRow("missing from archive")
        << "Edit4"
        << "4" << false << QStringList{"4", "", "", "", "", ""} << QStringList{"P3"} << "1"
        << "0.25";
    QTest::newRow("missing by address")
        << "Edit2"
        << "丙村" << false << QStringList{"", "", "", "", "丙村", ""} << QStringList{"P3"} << "1"
        << "0.25";
    QTest::newRow("empty name") << "Edit1"
                                << "" << false << QStringList(6, QString()) << QStringList{"P5"} << "1"
                                << "1";
}

void TestPayments::lookups() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(bool, found);
    QFETCH(QStringList, after);
    QFETCH(QStringList, serials);
    QFETCH(QString, count);
    QFETCH(QString, total);
    MainWindowTest t;
    receiptData(t);
    auto* s = openScreen(t);
    typeText(s->Edit5, "旧");
    auto* edit = s->findChild<QLineEdit*>(box);
    typeText(edit, typed);
    pressEnter(edit);
    if (found)
        QVERIFY(t.messages().shown.empty());
    else
        QCOMPARE(t.messages().texts(), QStringList{"此客户档案信息不存在！"});
    QCOMPARE(boxes(s), after);
    QCOMPARE(column(s->DBGrid1, "主机序列号"), serials);
    QCOMPARE(s->DBGrid1->footerText("地址"), count);
    QCOMPARE(s->DBGrid1->footerText("金额"), total);
    delete s;
}

void TestPayments::emptyNumberDoesNothing() {
    MainWindowTest t;
    receiptData(t);
    auto* s = openScreen(t);
    click(s->BitBtn3);
    pressEnter(s->Edit4);
    click(s->BitBtn5);
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(s->DBGrid1->rowCount(), 5);
    QCOMPARE(boxes(s), QStringList(6, QString()));
    delete s;
}

void TestPayments::twoCustomersWithOneName() {
    MainWindowTest t;
    addCustomer(t, 1, "李四", "100", "m1", "东村");
    addCustomer(t, 2, "李四", "200", "m2", "西村");
    receipt(t, 1, "李四", "100", "东村", "A", "10", "2008-01-01");
    receipt(t, 2, "李四", "200", "西村", "B", "20", "2008-01-02");
    auto* s = openScreen(t);
    typeText(s->Edit1, "李四");
    click(s->BitBtn6);
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(boxes(s), (QStringList{"1", "李四", "100", "m1", "东村", ""}));
    QCOMPARE(column(s->DBGrid1, "客户编号"), (QStringList{"1", "2"}));
    QCOMPARE(s->DBGrid1->footerText("金额"), QString("30"));
    delete s;
}

void TestPayments::showAllOldestFirst() {
    MainWindowTest t;
    receiptData(t);
    auto* s = openScreen(t);
    typeText(s->Edit4, "3");
    pressEnter(s->Edit4);
    typeText(s->Edit5, "张");
    click(s->BitBtn1);
    QVERIFY(s->GroupBox2->isVisible());
    click(s->BitBtn3);
    QCOMPARE(column(s->DBGrid1, "日期"),
             (QStringList{"2007-12-31", "2008-1-5", "2008-2-1", "2008-3-9", "2008-3-9"}));
    // Receipts of one day in the order they were written.
    QCOMPARE(column(s->DBGrid1, "主机序列号"), (QStringList{"P5", "P1", "P3", "P2", "P4"}));
    QCOMPARE(column(s->DBGrid1, "金额"), (QStringList{"1", "100", "0.25", "200.5", "50"}));
    QCOMPARE(s->DBGrid1->footerText("地址"), QString("4")); // P1 has no address
    QCOMPARE(s->DBGrid1->footerText("金额"), QString("351.75"));
    QCOMPARE(boxes(s), QStringList(6, QString()));
    QVERIFY(!s->GroupBox2->isVisible());
    QVERIFY(t.messages().shown.empty());
    delete s;
}

void TestPayments::allReceiptsTotals_data() {
    QTest::addColumn<QStringList>("change"); // statements; "reopen" opens the file again
    QTest::addColumn<QString>("addresses");
    QTest::addColumn<QString>("total");
    QTest::newRow("as written") << QStringList{} << "4"
                                << "351.75";
    QTest::newRow("amount and address edited")
        << QStringList{"update 收款记录 set 金额=10000000 where 主机序列号='P2'",
                       "update 收款记录 set 地址=null where 主机序列号='P3'",
                       "update 收款记录 set 地址='戊村' where 主机序列号='P1'"}
        << "4"
        << "1151.25";
    QTest::newRow("older receipts deleted") << QStringList{"delete from 收款记录 where 日期<'2008-02-01'"} << "3"
                                            << "250.75";
    QTest::newRow("all deleted") << QStringList{"delete from 收款记录"} << "0"
                                 << "0";
    QTest::newRow("file of an earlier version")
        << QStringList{"drop trigger 收款记录合计_增", "drop trigger 收款记录合计_删", "drop trigger 收款记录合计_改",
                       "drop table 收款记录合计", "reopen"}
        << "4"
        << "351.75";
    QTest::newRow("a second totals row") << QStringList{"insert into 收款记录合计 values(1, 1, 1)", "reopen"} << "4"
                                         << "351.75";
    QTest::newRow("deleted while a trigger was gone")
        << QStringList{"drop trigger 收款记录合计_删", "delete from 收款记录 where 主机序列号='P4'", "reopen"} << "3"
        << "301.75";
    QTest::newRow("a trigger of another making")
        << QStringList{"drop trigger 收款记录合计_增",
                       "create trigger 收款记录合计_增 after insert on 收款记录 begin "
                       "update 收款记录合计 set 行数=行数+1; end",
                       "reopen"}
        << "4"
        << "351.75";
    QTest::newRow("totals table gone meanwhile")
        << QStringList{"drop trigger 收款记录合计_增", "drop trigger 收款记录合计_删", "drop trigger 收款记录合计_改",
                       "drop table 收款记录合计"}
        << "4"
        << "351.75";
    QTest::newRow("totals row gone meanwhile") << QStringList{"delete from 收款记录合计"} << "4"
                                               << "351.75";
}

void TestPayments::allReceiptsTotals() {
    QFETCH(QStringList, change);
    QFETCH(QString, addresses);
    QFETCH(QString, total);
    MainWindowTest t;
    receiptData(t);
    for (const QString& sql : change) {
        if (sql == "reopen")
            t.dm().open(t.dm().fileName());
        else
            t.dm().ADOall.exec(sql);
    }
    auto* s = openScreen(t);
    click(s->BitBtn3);
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(s->DBGrid1->footerText("地址"), addresses);
    QCOMPARE(s->DBGrid1->footerText("金额"), total);
    // The footer of the whole list reads the kept totals whenever they are there.
    if (change.contains("reopen") || change.isEmpty())
        QCOMPARE(t.rows("select * from 收款记录合计").size(), 1);
    // A receipt written afterwards counts at once.
    receipt(t, 5, "O'Neil", "555", "乙村", "P6", "0.5", "2008-04-01");
    click(s->BitBtn3);
    QCOMPARE(s->DBGrid1->footerText("地址"), QString::number(addresses.toInt() + 1));
    QCOMPARE(s->DBGrid1->footerText("金额"), Money::fromUnits(Money::parse(total).units() + 5000).toString());
    delete s;
}

// The totals are checked, not counted again, each time the file opens: a file that is up to date
// is not written at all (the change counter in its header stays).
void TestPayments::upToDateFileOpensUnchanged() {
    TestSession t;
    receiptData(t);
    const auto counter = [&t] {
        QFile f(t.dm().fileName());
        if (!f.open(QIODevice::ReadOnly))
            return QByteArray();
        return f.read(28).mid(24, 4);
    };
    t.dm().open(t.dm().fileName()); // a first opening may add what an older file lacks
    const QByteArray before = counter();
    QCOMPARE(before.size(), 4);
    t.dm().open(t.dm().fileName());
    QCOMPARE(counter(), before);
    t.dm().ADOall.exec("update 收款记录 set 金额=金额+1 where 主机序列号='P1'");
    QVERIFY(counter() != before);
}

void TestPayments::pickListsByNumber() {
    MainWindowTest t;
    receiptData(t);
    auto* s = openScreen(t);
    s->ComboBox1->setCurrentText("地址");
    typeText(s->Edit5, "甲");
    click(s->BitBtn1);
    DataGrid* list = s->GroupBox2->grid();
    QCOMPARE(column(list, "客户名称"), QStringList{"张三"});
    QCOMPARE(s->DBGrid1->rowCount(), 0); // the fuzzy search lists no receipts
    QVERIFY(s->GroupBox2->geometry().left() >= s->width() / 2);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       list->visualRect(list->model()->index(0, 1)).center());
    QVERIFY(!s->GroupBox2->isVisible());
    QCOMPARE(boxes(s), (QStringList{"3", "张三", "222", "139", "甲村", "甲"}));
    QCOMPARE(column(s->DBGrid1, "主机序列号"), (QStringList{"P2", "P1"}));
    delete s;
}

void TestPayments::pickFromEmptyList() {
    MainWindowTest t;
    receiptData(t);
    auto* s = openScreen(t);
    typeText(s->Edit4, "5");
    pressEnter(s->Edit4);
    typeText(s->Edit5, "无此人");
    click(s->BitBtn1);
    QCOMPARE(s->GroupBox2->grid()->rowCount(), 0);
    QTest::mouseDClick(s->GroupBox2->grid()->viewport(), Qt::LeftButton);
    QVERIFY(!s->GroupBox2->isVisible());
    QCOMPARE(boxes(s), (QStringList{"", "", "", "", "", "无此人"}));
    QCOMPARE(column(s->DBGrid1, "主机序列号"), QStringList{"P4"});
    QVERIFY(t.messages().shown.empty());
    delete s;
}

QTEST_MAIN(TestPayments)
#include "tst_history_payments.moc"
