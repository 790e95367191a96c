#include "support/mainwindowtest.h"
#include "support/refusal.h"
#include "trade/lookuppanel.h"
#include "trade/tbushou.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace TestInput;

namespace {
void addCustomer(TestSession& t, int number, const QString& name, const QString& tel = {},
                 const QString& mobile = {}, const QString& address = {}) {
    t.dm().ADOall.exec(
        "insert into 客户信息(客户编号,客户名称,手机,电话,地址,起用日期) values(?,?,?,?,?,'2008-01-01')",
        {number, name, mobile, tel, address});
}

// One account entry as sales entry writes it; returns its key.
qlonglong addEntry(TestSession& t, int number, const QString& name, const QString& amount,
                   const QString& state, const QString& date = "2008-03-05", const QString& serial = "SN",
                   const QString& tel = "555", const QString& mobile = "139",
                   const QString& address = "城关镇") {
    t.dm().ADOall.exec(
        "insert into "
        "帐款明细(手机,客户编号,客户名称,地址,电话,主机序列号,应付金额,付款情况,备注,日期,经手人) "
        "values(?,?,?,?,?,?,?,?,'备注',?,'0002')",
        {mobile, number, name, address, tel, serial, Money::parse(amount).toVariant(), state, date});
    return t.dm().ADOall.first("select max(id) as k from 帐款明细").integer("k");
}

Tbushou* openScreen(MainWindowTest& t) {
    auto* s = &t.screen<Tbushou>("N28");
    s->show();
    s->activateWindow();
    if (!QTest::qWaitForWindowActive(s))
        qWarning("window not active");
    return s;
}

// Rows listed; every row of these small listings is read at once.
int rowCount(const Tbushou* s) {
    return s->ListView1->model()->rowCount();
}

QString cell(const Tbushou* s, int r, int c) {
    return s->ListView1->model()->index(r, c).data().toString();
}

QStringList column(const Tbushou* s, int c) {
    QStringList out;
    for (int r = 0; r < rowCount(s); ++r)
        out << cell(s, r, c);
    return out;
}

// Ticks a row as the operator does: the row made current, then the space bar.
void tick(Tbushou* s, int row) {
    s->ListView1->setFocus();
    s->ListView1->setCurrentIndex(s->ListView1->model()->index(row, 0));
    QTest::keyClick(s->ListView1, Qt::Key_Space);
}

QList<bool> ticks(const Tbushou* s) {
    QList<bool> out;
    for (int r = 0; r < rowCount(s); ++r)
        out << (s->ListView1->model()->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked);
    return out;
}

QLineEdit* edit(QWidget* s, const QString& name) {
    return s->findChild<QLineEdit*>(name);
}
QPushButton* pushButton(QWidget* s, const QString& name) {
    return s->findChild<QPushButton*>(name);
}
} // namespace

class TestArrears : public QObject {
    Q_OBJECT
  private slots:
    void openingAndColumns();
    void collectTwoUnpaidSales();
    void whatCountsAsAnArrear();
    void totals_data();
    void totals();
    void showAllOrdersByNameAndKeepsBoxes();
    void oldNameOfRenamedCustomer();
    void enterRules_data();
    void enterRules();
    void pickListsByName();
    void failedCollectionChangesNothing();
    void tickAllReachesRowsNotYetRead();
    void tickedEntryDeletedMeanwhile();
    void tickAllActsOnTheListedRows_data();
    void tickAllActsOnTheListedRows();
};

void TestArrears::openingAndColumns() {
    MainWindowTest t;
    auto* s = openScreen(t);
    QCOMPARE(s->windowTitle(), QString("补收欠款"));
    QCOMPARE(s->placement(), QRect(0, 0, 1019, 605));
    QCOMPARE(s->ListView1->model()->columnCount(), 11);
    QStringList titles;
    QList<int> widths;
    for (int c = 0; c < 11; ++c) {
        titles << s->ListView1->model()->headerData(c, Qt::Horizontal).toString();
        widths << s->ListView1->columnWidth(c);
    }
    QCOMPARE(titles, (QStringList{"ID", "客户编号", "客户名称", "地址", "电话", "手机", "主机序列号",
                                  "应付金额", "日期", "备注", "经手人"}));
    QCOMPARE(widths, (QList<int>{40, 65, 95, 190, 80, 90, 80, 64, 95, 140, 60}));
    QCOMPARE(rowCount(s), 0);
    QVERIFY(!s->GroupBox3->isVisible());
    QCOMPARE(s->GroupBox3->grid()->objectName(), QString("DBGrid2"));
    QCOMPARE(s->ComboBox1->currentText(), QString("客户名称"));
    QCOMPARE(s->ComboBox1->count(), 5);
    QCOMPARE(edit(s, "Edit1")->toolTip(), QString("输入客户名称后请回车"));
    QVERIFY(s->Edit4->isReadOnly());
    delete s;
}

void TestArrears::collectTwoUnpaidSales() {
    MainWindowTest t;
    t.session().operatorNumber = "0003";
    addCustomer(t, 5, "张三", "555", "139", "城关镇");
    addEntry(t, 5, "张三", "100", "已付款");
    const qlonglong a = addEntry(t, 5, "张三", "1250", "未付款", "2008-03-05", "SN-A");
    const qlonglong b = addEntry(t, 5, "张三", "99.5", "未付款", "2008-04-01", "SN-B");
    auto* s = openScreen(t);
    typeText(s->Edit1, "张三");
    pressEnter(s->Edit1);
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(s->Edit5->text(), QString("5"));
    QCOMPARE(rowCount(s), 2);
    QStringList first;
    for (int c = 0; c < 11; ++c)
        first << cell(s, 0, c);
    QCOMPARE(first, (QStringList{QString::number(a), "5", "张三", "城关镇", "555", "139", "SN-A", "1250",
                                 "2008-3-5", "备注", "0002"}));
    QCOMPARE(column(s, 7), (QStringList{"1250", "99.5"}));
    QCOMPARE(ticks(s), (QList<bool>{false, false}));

    click(s->BitBtn5);
    QCOMPARE(ticks(s), (QList<bool>{true, true}));
    click(s->BitBtn7);
    QCOMPARE(s->Edit4->text(), QString("1349.5"));
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts(), QStringList{"补收欠款成功！"});
    QCOMPARE(t.messages().last().caption, QString("提示"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Information);

    // The entries change only their payment state; one receipt each, dated today, by the collector.
    QCOMPARE(t.rows("select id,应付金额,付款情况,日期,主机序列号,经手人 from 帐款明细 order by id"),
             (QList<QStringList>{{QString::number(a - 1), "100", "已付款", "2008-3-5", "SN", "0002"},
                                 {QString::number(a), "1250", "已付款", "2008-3-5", "SN-A", "0002"},
                                 {QString::number(b), "99.5", "已付款", "2008-4-1", "SN-B", "0002"}}));
    const QString today = QDate::currentDate().toString("yyyy-M-d");
    QCOMPARE(t.rows("select 客户编号,客户名称,地址,电话,手机,主机序列号,金额,日期,经手人 from 收款记录 order "
                    "by 金额 desc"),
             (QList<QStringList>{{"5", "张三", "城关镇", "555", "139", "SN-A", "1250", today, "0003"},
                                 {"5", "张三", "城关镇", "555", "139", "SN-B", "99.5", today, "0003"}}));
    QCOMPARE(t.rows("select 日期 from 收款记录 limit 1").first().first(), today);
    QCOMPARE(t.dm().ADOall.first("select 日期 from 收款记录").value("日期").toString(),
             QDate::currentDate().toString("yyyy-MM-dd"));
    QVERIFY(!t.dm().inTransaction());

    // The screen is emptied, and the collected entries are not listed again.
    for (QLineEdit* e : {s->Edit1, s->Edit2, s->Edit3, s->Edit4, s->Edit5, s->Edit6, s->Edit7})
        QCOMPARE(e->text(), QString());
    QCOMPARE(rowCount(s), 0);
    typeText(s->Edit5, "5");
    pressEnter(s->Edit5);
    QCOMPARE(rowCount(s), 0);
    click(s->BitBtn2);
    QCOMPARE(rowCount(s), 0);
    delete s;
}

void TestArrears::whatCountsAsAnArrear() {
    MainWindowTest t;
    addCustomer(t, 5, "张三");
    addEntry(t, 5, "张三", "0", "未付款");
    addEntry(t, 5, "张三", "-30", "未付款");
    addEntry(t, 5, "张三", "50", "未付款");
    addEntry(t, 5, "张三", "20", "已付款");
    addEntry(t, 5, "张三", "0.0001", "未付款");
    auto* s = openScreen(t);
    typeText(s->Edit5, "5");
    click(s->BitBtn1);
    QCOMPARE(column(s, 7), (QStringList{"-30", "50", "0.0001"}));
    click(s->BitBtn2);
    QCOMPARE(column(s, 7), (QStringList{"-30", "50", "0.0001"}));
    delete s;
}

void TestArrears::totals_data() {
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<QList<int>>("ticked");
    QTest::addColumn<QString>("total");
    QTest::newRow("nothing ticked") << QStringList{"50", "20"} << QList<int>{} << "0";
    QTest::newRow("50 and -50") << QStringList{"50", "-50", "20"} << QList<int>{0, 1} << "0";
    QTest::newRow("tenths add exactly") << QStringList{"0.1", "0.2", "9"} << QList<int>{0, 1} << "0.3";
    QTest::newRow("negative entry") << QStringList{"-30", "100"} << QList<int>{0, 1} << "70";
    QTest::newRow("one of three") << QStringList{"1", "99.5", "3"} << QList<int>{1} << "99.5";
    QTest::newRow("large") << QStringList{"99999999.99", "0.01"} << QList<int>{0, 1} << "100000000";
}

void TestArrears::totals() {
    QFETCH(QStringList, amounts);
    QFETCH(QList<int>, ticked);
    QFETCH(QString, total);
    MainWindowTest t;
    for (const QString& a : amounts)
        addEntry(t, 5, "张三", a, "未付款");
    auto* s = openScreen(t);
    click(s->BitBtn2);
    QCOMPARE(rowCount(s), amounts.size());
    for (int r : ticked)
        tick(s, r);
    QList<bool> expectedTicks;
    for (int r = 0; r < amounts.size(); ++r)
        expectedTicks << ticked.contains(r);
    QCOMPARE(ticks(s), expectedTicks);
    click(s->BitBtn7);
    QCOMPARE(s->Edit4->text(), total);
    QVERIFY(t.messages().shown.empty());

    click(s->BitBtn3);
    if (total == "0") {
        QCOMPARE(t.messages().texts(), QStringList{"无欠款需要补交！"});
        QCOMPARE(t.messages().last().caption, QString("提示"));
        QCOMPARE(t.messages().last().icon, MsgIcon::Error);
        QCOMPARE(t.count("收款记录"), 0);
        QCOMPARE(t.rows("select count(*) from 帐款明细 where 付款情况='已付款'"), QList<QStringList>{{"0"}});
        QCOMPARE(ticks(s), expectedTicks);
    } else {
        QCOMPARE(t.messages().texts(), QStringList{"补收欠款成功！"});
        QCOMPARE(t.count("收款记录"), ticked.size());
        Money received;
        for (const auto& r : t.rows("select 金额 from 收款记录"))
            received += Money::parse(r.first());
        QCOMPARE(received.toString(), total);
        QCOMPARE(t.rows("select count(*) from 帐款明细 where 付款情况='未付款'"),
                 QList<QStringList>{{QString::number(amounts.size() - ticked.size())}});
    }
    // "全清" unticks whatever is left.
    click(s->BitBtn5);
    click(s->BitBtn6);
    QVERIFY(!ticks(s).contains(true));
    delete s;
}

void TestArrears::showAllOrdersByNameAndKeepsBoxes() {
    MainWindowTest t;
    addEntry(t, 1, "张三", "10", "未付款");
    addEntry(t, 2, "阿明", "20", "未付款");
    addEntry(t, 3, "李四", "30", "未付款");
    addEntry(t, 2, "阿明", "40", "未付款");
    auto* s = openScreen(t);
    typeText(s->Edit3, "123");
    typeText(s->Edit6, "abc");
    click(s->BitBtn2);
    QCOMPARE(column(s, 2), (QStringList{"阿明", "阿明", "李四", "张三"}));
    QCOMPARE(column(s, 7), (QStringList{"20", "40", "30", "10"}));
    QCOMPARE(s->Edit3->text(), QString("123"));
    QCOMPARE(s->Edit6->text(), QString("abc"));
    QVERIFY(!ticks(s).contains(true));
    QVERIFY(t.messages().shown.empty());
    // A new listing replaces the list, unticked.
    click(s->BitBtn5);
    click(s->BitBtn2);
    QCOMPARE(ticks(s), (QList<bool>{false, false, false, false}));
    delete s;
}

void TestArrears::oldNameOfRenamedCustomer() {
    MainWindowTest t;
    addCustomer(t, 5, "张三丰", "555", "139", "新村");
    addEntry(t, 5, "张三", "80", "未付款", "2008-03-05", "SN-1", "444", "138", "旧村");
    auto* s = openScreen(t);
    typeText(s->Edit3, "555");
    typeText(s->Edit1, "张三");
    pressEnter(s->Edit1);
    QCOMPARE(t.messages().texts(), QStringList{"此客户档案信息不存在！"});
    QCOMPARE(t.messages().last().caption, QString("提示"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QCOMPARE(s->Edit3->text(), QString());
    QCOMPARE(s->Edit1->text(), QString("张三"));
    QCOMPARE(column(s, 2), QStringList{"张三"});
    tick(s, 0);
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts().last(), QString("补收欠款成功！"));
    QCOMPARE(t.rows("select 客户编号,客户名称,地址,电话,手机,金额 from 收款记录"),
             (QList<QStringList>{{"5", "张三", "旧村", "444", "138", "80"}}));
    delete s;
}

void TestArrears::enterRules_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("rowsAfterEnter"); // -1: nothing happened
    QTest::addColumn<QStringList>("messagesAfterButton");
    QTest::newRow("number") << "Edit5"
                            << "BitBtn1"
                            << "5" << 1 << QStringList{};
    QTest::newRow("empty number") << "Edit5"
                                  << "BitBtn1"
                                  << "" << -1 << QStringList{"请输入检索信息后再回车！"};
    QTest::newRow("name") << "Edit1"
                          << "BitBtn9"
                          << "张三" << 1 << QStringList{};
    QTest::newRow("telephone") << "Edit3"
                               << "BitBtn10"
                               << "555" << 1 << QStringList{};
    QTest::newRow("address") << "Edit2"
                             << "BitBtn11"
                             << "城关镇" << 1 << QStringList{};
    QTest::newRow("mobile") << "Edit7"
                            << "BitBtn13"
                            << "139" << -1 << QStringList{};
    QTest::newRow("unknown mobile") << "Edit7"
                                    << "BitBtn13"
                                    << "000" << -1 << QStringList{"此客户档案信息不存在！"};
}

void TestArrears::enterRules() {
    QFETCH(QString, box);
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(int, rowsAfterEnter);
    QFETCH(QStringList, messagesAfterButton);
    MainWindowTest t;
    addCustomer(t, 5, "张三", "555", "139", "城关镇");
    addEntry(t, 5, "张三", "80", "未付款");
    addEntry(t, 6, "李四", "90", "未付款", "2008-03-05", "SN", "666", "138", "乙村");
    auto* s = openScreen(t);
    click(s->BitBtn2); // something listed, to see whether Enter replaces it
    QCOMPARE(rowCount(s), 2);
    QLineEdit* e = edit(s, box);
    typeText(e, typed);
    pressEnter(e);
    QVERIFY(t.messages().shown.empty());
    if (rowsAfterEnter < 0) {
        QCOMPARE(rowCount(s), 2);
    } else {
        QCOMPARE(rowCount(s), rowsAfterEnter);
        QCOMPARE(s->Edit1->text(), QString("张三"));
        QCOMPARE(s->Edit5->text(), QString("5"));
        QCOMPARE(s->Edit2->text(), QString("城关镇"));
    }
    click(pushButton(s, button));
    QCOMPARE(t.messages().texts(), messagesAfterButton);
    if (messagesAfterButton == QStringList{"请输入检索信息后再回车！"}) {
        QCOMPARE(t.messages().last().caption, QString("提示"));
        QCOMPARE(rowCount(s), 2);
    } else {
        QCOMPARE(rowCount(s), typed == "000" ? 0 : 1);
    }
    delete s;
}

void TestArrears::pickListsByName() {
    MainWindowTest t;
    addCustomer(t, 5, "张三", "555", "139", "城关镇");
    addCustomer(t, 6, "李四", "666", "138", "乙村");
    addEntry(t, 6, "李四", "90", "未付款", "2008-03-05", "SN", "666", "138", "乙村");
    addEntry(t, 99, "李四", "10", "未付款", "2008-03-05", "SN", "", "", "");
    auto* s = openScreen(t);
    s->ComboBox1->setCurrentText("电话");
    typeText(s->Edit6, "66");
    click(s->BitBtn12);
    QVERIFY(s->GroupBox3->isVisible());
    DataGrid* grid = s->GroupBox3->grid();
    QCOMPARE(grid->rowCount(), 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(0, 1)).center());
    QVERIFY(!s->GroupBox3->isVisible());
    QCOMPARE(s->Edit5->text(), QString("6"));
    QCOMPARE(s->Edit2->text(), QString("乙村"));
    QCOMPARE(s->Edit7->text(), QString("138"));
    QCOMPARE(column(s, 7), (QStringList{"90", "10"}));
    click(pushButton(s->GroupBox3, "BitBtn8"));
    QVERIFY(!s->GroupBox3->isVisible());
    delete s;
}

void TestArrears::failedCollectionChangesNothing() {
    MainWindowTest t;
    addEntry(t, 5, "张三", "1250", "未付款");
    addEntry(t, 5, "张三", "99.5", "未付款");
    refuseChange(t.dm(), "insert", "收款记录", "磁盘已满", "NEW.金额 = 995000");
    auto* s = openScreen(t);
    typeText(s->Edit1, "张三");
    pressEnter(s->Edit1);
    t.messages().clear();
    click(s->BitBtn5);
    click(s->BitBtn3);
    QCOMPARE(t.messages().shown.size(), size_t(1));
    QVERIFY(t.messages().last().text.contains("磁盘已满"));
    QCOMPARE(t.messages().last().icon, MsgIcon::None);
    QCOMPARE(t.count("收款记录"), 0);
    QCOMPARE(t.rows("select distinct 付款情况 from 帐款明细"), QList<QStringList>{{"未付款"}});
    QVERIFY(!t.dm().inTransaction());
    // What the operator typed and ticked stays.
    QCOMPARE(s->Edit1->text(), QString("张三"));
    QCOMPARE(ticks(s), (QList<bool>{true, true}));
    QCOMPARE(s->Edit4->text(), QString("1349.5"));
    // An entry paid since the list was read is not collected a second time.
    t.dm().ADOall.exec("DROP TRIGGER refuse_receipt");
    t.dm().ADOall.exec("update 帐款明细 set 付款情况='已付款' where 应付金额=995000");
    const QString key = cell(s, 1, 0);
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts().last(),
             QString("ID为%1的欠款已不存在或已经补收，本次补收未进行！").arg(key));
    QCOMPARE(t.count("收款记录"), 0);
    QCOMPARE(t.rows("select 付款情况 from 帐款明细 order by id"),
             (QList<QStringList>{{"未付款"}, {"已付款"}}));
    delete s;
}

// A long list reads its rows as they are scrolled to; "全选" ticks every listed entry all the same,
// and the total and the collection cover them all.
void TestArrears::tickAllReachesRowsNotYetRead() {
    MainWindowTest t;
    t.dm().transaction([&] {
        for (int i = 0; i < 700; ++i)
            addEntry(t, 5, "张三", "1.5", "未付款");
        addEntry(t, 5, "张三", "100", "已付款");
    });
    auto* s = openScreen(t);
    click(s->BitBtn2);
    QVERIFY(rowCount(s) < 700);
    click(s->BitBtn5);
    QVERIFY(!ticks(s).contains(false));
    click(s->BitBtn7);
    QCOMPARE(s->Edit4->text(), QString("1050"));
    // Unticking one row, then scrolling to the end: the rows read later come ticked.
    tick(s, 0);
    s->ListView1->scrollToBottom();
    while (s->ListView1->model()->canFetchMore({}))
        s->ListView1->model()->fetchMore({});
    QCOMPARE(rowCount(s), 700);
    QCOMPARE(ticks(s).count(false), 1);
    QVERIFY(!ticks(s).first());
    click(s->BitBtn7);
    QCOMPARE(s->Edit4->text(), QString("1048.5"));
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts(), QStringList{"补收欠款成功！"});
    QCOMPARE(t.count("收款记录"), 699);
    QCOMPARE(t.rows("select count(*), sum(金额) from 收款记录"), (QList<QStringList>{{"699", "10485000"}}));
    QCOMPARE(t.rows("select count(*) from 帐款明细 where 付款情况='未付款'"), QList<QStringList>{{"1"}});
    QCOMPARE(rowCount(s), 0);
    // "全清" after a new listing leaves nothing to collect.
    click(s->BitBtn2);
    click(s->BitBtn5);
    click(s->BitBtn6);
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts().last(), QString("无欠款需要补交！"));
    delete s;
}

void TestArrears::tickedEntryDeletedMeanwhile() {
    MainWindowTest t;
    addCustomer(t, 5, "张三");
    addEntry(t, 5, "张三", "10", "未付款");
    const qlonglong gone = addEntry(t, 5, "张三", "20", "未付款");
    auto* s = openScreen(t);
    typeText(s->Edit5, "5");
    click(s->BitBtn1);
    click(s->BitBtn5);
    t.dm().ADOall.exec("delete from 帐款明细 where id=?", {gone});
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts(),
             QStringList{QString("ID为%1的欠款已不存在或已经补收，本次补收未进行！").arg(gone)});
    QCOMPARE(t.count("收款记录"), 0);
    QCOMPARE(t.rows("select 付款情况 from 帐款明细"), QList<QStringList>{{"未付款"}});
    QCOMPARE(ticks(s), (QList<bool>{true, true}));
    delete s;
}

void TestArrears::tickAllActsOnTheListedRows_data() {
    QTest::addColumn<int>("listed");
    QTest::addColumn<bool>("everyArrear"); // "显示全部欠款" rather than the customer's number
    QTest::newRow("one customer") << 2 << false;
    QTest::newRow("every arrear, more than read at once") << 300 << true;
}

void TestArrears::tickAllActsOnTheListedRows() {
    QFETCH(int, listed);
    QFETCH(bool, everyArrear);
    MainWindowTest t;
    addCustomer(t, 5, "张三");
    t.dm().transaction([&] {
        for (int i = 0; i < listed; ++i)
            addEntry(t, 5, "张三", "10", "未付款");
    });
    auto* s = openScreen(t);
    if (everyArrear) {
        click(s->BitBtn2);
    } else {
        typeText(s->Edit5, "5");
        click(s->BitBtn1);
    }
    // A debt of the same customer saved after the list was shown (another screen, another copy of
    // the program): the customer has not seen it and does not pay it now.
    const qlonglong later = addEntry(t, 5, "张三", "99", "未付款");
    click(s->BitBtn5);
    click(s->BitBtn7);
    QCOMPARE(s->Edit4->text(), QString::number(listed * 10));
    while (s->ListView1->model()->canFetchMore({}))
        s->ListView1->model()->fetchMore({});
    QCOMPARE(rowCount(s), listed);
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts(), QStringList{"补收欠款成功！"});
    QCOMPARE(t.count("收款记录"), listed);
    QCOMPARE(t.rows("select id, 付款情况 from 帐款明细 where 付款情况='未付款'"),
             (QList<QStringList>{{QString::number(later), "未付款"}}));
}

QTEST_MAIN(TestArrears)
#include "tst_arrears.moc"
