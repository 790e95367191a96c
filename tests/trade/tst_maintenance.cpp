#include "support/mainwindowtest.h"
#include "support/refusal.h"
#include "trade/lookuppanel.h"
#include "trade/recordeditdialog.h"
#include "trade/recordmaintenance.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace TestInput;

namespace {
void addCustomer(TestSession& t, int number, const QString& name, const QString& tel = {},
                 const QString& mobile = {}, const QString& address = {}) {
    t.dm().ADOall.exec(
        "insert into 客户信息(客户编号,客户名称,手机,电话,地址,起用日期) values(?,?,?,?,?,'2008-01-01')",
        {number, name, mobile, tel, address});
}

// A sale or repair as the entry screens write it, with its account entry and receipt.
void addRecord(TestSession& t, bool sale, int number, const QString& name, const QString& amount,
               const QString& tel = "555", const QString& date = "2008-03-05") {
    const QVariant money = Money::parse(amount).toVariant();
    if (sale)
        t.dm().ADOall.exec(
            "insert into "
            "dinggou(客服人员,身份证号,出生年,手机,客户编号,客户名称,地址,电话,订购型号,主机序列号,"
            "价格,备注,日期,经手人) values('小王','ID','1970','139',?,?,'城关镇',?,'联想T1','SN',?,'备注',?,"
            "'0002')",
            {number, name, tel, money, date});
    else
        t.dm().ADOall.exec(
            "insert into "
            "维修记录(身份证号,出生年,手机,客户编号,客户名称,地址,电话,维修项目,维修费,主机序列号,"
            "备注,日期,经手人) values('ID','1970','139',?,?,'城关镇',?,'  主机',?,'SN','备注',?,'0002')",
            {number, name, tel, money, date});
    t.dm().ADOall.exec("insert into 帐款明细(客户编号,客户名称,应付金额,付款情况,日期,经手人) "
                       "values(?,?,?,'已付款',?,'0002')",
                       {number, name, money, date});
    t.dm().ADOall.exec("insert into 收款记录(客户编号,客户名称,金额,日期,经手人) values(?,?,?,?,'0002')",
                       {number, name, money, date});
}

RecordMaintenance* openScreen(MainWindowTest& t, bool sale) {
    RecordMaintenance* s =
        sale ? static_cast<RecordMaintenance*>(&t.screen<Tdingxiugai>("N38")) : &t.screen<Tweixiugai>("N39");
    s->show();
    s->activateWindow();
    if (!QTest::qWaitForWindowActive(s))
        qWarning("window not active");
    return s;
}

RecordEditDialog& dialogOf(TestSession& t, bool sale) {
    return sale ? static_cast<RecordEditDialog&>(t.session().dialog<Txiugaidinggoujilu>())
                : t.session().dialog<Txiugaiweixiujilu>();
}

QString table(bool sale) {
    return sale ? "dinggou" : "维修记录";
}
QString amountColumn(bool sale) {
    return sale ? "价格" : "维修费";
}

QStringList names(DataGrid* grid) {
    QStringList out;
    for (int r = 0; r < grid->rowCount(); ++r)
        out << grid->cellText(r, "客户名称");
    return out;
}

void doubleClickRow(DataGrid* grid, int row) {
    const QRect cell = grid->visualRect(grid->model()->index(row, grid->currentIndex().column()));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

QLineEdit* edit(QWidget* s, const QString& name) {
    return s->findChild<QLineEdit*>(name);
}
QPushButton* pushButton(QWidget* s, const QString& name) {
    return s->findChild<QPushButton*>(name);
}
} // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
  private slots:
    void openingListsAllByName_data();
    void openingListsAllByName();
    void lookups_data();
    void lookups();
    void pick_data();
    void pick();
    void deleteKeepsAccountEntryAndReceipt_data();
    void deleteKeepsAccountEntryAndReceipt();
    void correctedPriceKeepsStaff();
    void repairEmptyFeeStoredAsZero();
    void dialogChecks_data();
    void dialogChecks();
    void failedSaveRollsBack_data();
    void failedSaveRollsBack();
    void dialogEnterOrderAndKeyFilter_data();
    void dialogEnterOrderAndKeyFilter();
};

void TestMaintenance::openingListsAllByName_data() {
    QTest::addColumn<bool>("sale");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("item");
    QTest::newRow("sales") << true << "订购（销售）记录修改"
                           << "订购型号";
    QTest::newRow("repairs") << false << "维修记录修改"
                             << "维修项目";
}

void TestMaintenance::openingListsAllByName() {
    QFETCH(bool, sale);
    QFETCH(QString, caption);
    QFETCH(QString, item);
    MainWindowTest t;
    addRecord(t, sale, 1, "张三", "10");
    addRecord(t, sale, 2, "阿明", "20");
    addRecord(t, sale, 3, "李四", "30");
    auto* s = openScreen(t, sale);
    QCOMPARE(s->windowTitle(), caption);
    QCOMPARE(s->placement().topLeft(), QPoint(50, 0));
    QCOMPARE(names(s->DBGrid1), (QStringList{"阿明", "李四", "张三"}));
    QStringList shown;
    for (const GridColumn& c : s->DBGrid1->columns())
        shown << c.field;
    QCOMPARE(shown, (QStringList{"客户编号", "客户名称", "身份证号", "出生年", "地址", "电话", "手机", item,
                                 "主机序列号", amountColumn(sale), "日期", "备注"}));
    QCOMPARE(s->ComboBox1->currentText(), QString("客户名称"));
    for (QLineEdit* e : {s->Edit1, s->Edit2, s->Edit3, s->Edit4, s->Edit5, s->Edit6})
        QCOMPARE(e->text(), QString());
    QVERIFY(!s->GroupBox5->isVisible());
    QCOMPARE(s->GroupBox5->grid()->objectName(), QString("DBGrid4"));
    delete s;
}

void TestMaintenance::lookups_data() {
    QTest::addColumn<bool>("sale");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("nameAfter");
    QTest::newRow("sales number") << true << "Edit4"
                                  << "BitBtn5" << true << "1" << QStringList{} << QStringList{"张三", "张三"}
                                  << "张三";
    QTest::newRow("sales name") << true << "Edit1"
                                << "BitBtn6" << false << "李四" << QStringList{}
                                << QStringList{"李四", "李四"} << "李四";
    QTest::newRow("sales telephone") << true << "Edit3"
                                     << "BitBtn7" << true << "222" << QStringList{} << QStringList{"李四"}
                                     << "李四";
    QTest::newRow("sales mobile") << true << "Edit6"
                                  << "BitBtn11" << false << "m2" << QStringList{} << QStringList{} << "李四";
    QTest::newRow("sales address") << true << "Edit2"
                                   << "BitBtn9" << true << "甲村" << QStringList{} << QStringList{} << "张三";
    QTest::newRow("sales empty number") << true << "Edit4"
                                        << "BitBtn5" << true << "" << QStringList{} << QStringList{} << "";
    QTest::newRow("sales unknown number lists its sales")
        << true << "Edit4"
        << "BitBtn5" << false << "99" << QStringList{"此客户档案信息不存在！"} << QStringList{"王五"} << "";
    QTest::newRow("sales name only in sales")
        << true << "Edit1"
        << "BitBtn6" << true << "王五" << QStringList{"此客户档案信息不存在！"} << QStringList{"王五"}
        << "王五";
    QTest::newRow("sales empty name")
        << true << "Edit1"
        << "BitBtn6" << true << "" << QStringList{"此客户档案信息不存在！"} << QStringList{} << "";
    QTest::newRow("repair number") << false << "Edit4"
                                   << "BitBtn1" << true << "2" << QStringList{} << QStringList{"李四", "李四"}
                                   << "李四";
    QTest::newRow("repair telephone")
        << false << "Edit3"
        << "BitBtn5" << false << "111" << QStringList{} << QStringList{"张三", "张三"} << "张三";
    QTest::newRow("repair address") << false << "Edit2"
                                    << "BitBtn6" << false << "乙村" << QStringList{} << QStringList{}
                                    << "李四";
    QTest::newRow("repair mobile") << false << "Edit6"
                                   << "BitBtn11" << true << "m1" << QStringList{} << QStringList{} << "张三";
    QTest::newRow("repair unknown name")
        << false << "Edit1"
        << "BitBtn3" << false << "无名" << QStringList{"此客户档案信息不存在！"} << QStringList{} << "无名";
    QTest::newRow("repair empty number") << false << "Edit4"
                                         << "BitBtn1" << false << "" << QStringList{} << QStringList{} << "";
}

void TestMaintenance::lookups() {
    QFETCH(bool, sale);
    QFETCH(QString, box);
    QFETCH(QString, button);
    QFETCH(bool, enter);
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, listed);
    QFETCH(QString, nameAfter);
    MainWindowTest t;
    addCustomer(t, 1, "张三", "111", "m1", "甲村");
    addCustomer(t, 2, "李四", "222", "m2", "乙村");
    addRecord(t, sale, 1, "张三", "10", "111");
    addRecord(t, sale, 1, "张三", "11", "111");
    addRecord(t, sale, 2, "李四", "20", "222");
    addRecord(t, sale, 2, "李四", "21", "999");
    addRecord(t, sale, 99, "王五", "30", "333");
    auto* s = openScreen(t, sale);
    typeText(s->Edit5, "fuzzy");
    if (box != "Edit3")
        typeText(s->Edit3, "old");
    typeText(edit(s, box), typed);
    if (enter)
        pressEnter(edit(s, box));
    else
        click(pushButton(s, button));
    QCOMPARE(t.messages().texts(), messages);
    if (!messages.isEmpty()) {
        QCOMPARE(t.messages().last().caption, QString("提示"));
        QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    }
    if (box == "Edit4" && typed.isEmpty()) {
        // Nothing happens: every record stays listed and the boxes keep their text.
        QCOMPARE(s->DBGrid1->rowCount(), 5);
        QCOMPARE(s->Edit3->text(), QString("old"));
    } else {
        QCOMPARE(names(s->DBGrid1), listed);
    }
    QCOMPARE(s->Edit1->text(), nameAfter);
    QCOMPARE(edit(s, box)->text(), typed);
    if (!messages.isEmpty() && box != "Edit3")
        QCOMPARE(s->Edit3->text(), QString());
    QCOMPARE(s->Edit5->text(), QString("fuzzy"));
    delete s;
}

void TestMaintenance::pick_data() {
    QTest::addColumn<bool>("sale");
    QTest::addColumn<QString>("numberAfter");
    QTest::newRow("sales fills the number") << true << "2";
    QTest::newRow("repairs keep the number") << false << "77";
}

void TestMaintenance::pick() {
    QFETCH(bool, sale);
    QFETCH(QString, numberAfter);
    MainWindowTest t;
    addCustomer(t, 1, "张三", "111", "m1", "甲村");
    addCustomer(t, 2, "李四", "222", "m2", "乙村");
    addRecord(t, sale, 1, "张三", "10");
    addRecord(t, sale, 2, "李四", "20");
    auto* s = openScreen(t, sale);
    typeText(s->Edit4, "77");
    s->ComboBox1->setCurrentText("地址");
    typeText(s->Edit5, "乙");
    click(pushButton(s, sale ? "BitBtn1" : "BitBtn7"));
    QVERIFY(s->GroupBox5->isVisible());
    DataGrid* grid = s->GroupBox5->grid();
    QCOMPARE(grid->rowCount(), 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualRect(grid->model()->index(0, 1)).center());
    QVERIFY(!s->GroupBox5->isVisible());
    QCOMPARE(s->Edit4->text(), numberAfter);
    QCOMPARE(s->Edit1->text(), QString("李四"));
    QCOMPARE(s->Edit2->text(), QString("乙村"));
    QCOMPARE(s->Edit3->text(), QString("222"));
    QCOMPARE(s->Edit6->text(), QString("m2"));
    QCOMPARE(names(s->DBGrid1), QStringList{"李四"});
    // "隐藏" hides the list again after another search.
    click(pushButton(s, sale ? "BitBtn1" : "BitBtn7"));
    QVERIFY(s->GroupBox5->isVisible());
    click(pushButton(s, "BitBtn8"));
    QVERIFY(!s->GroupBox5->isVisible());
    QCOMPARE(names(s->DBGrid1), QStringList{"李四"});
    delete s;
}

void TestMaintenance::deleteKeepsAccountEntryAndReceipt_data() {
    QTest::addColumn<bool>("sale");
    QTest::addColumn<QString>("deleteButton");
    QTest::newRow("sales") << true << "BitBtn3";
    QTest::newRow("repairs") << false << "BitBtn9";
}

void TestMaintenance::deleteKeepsAccountEntryAndReceipt() {
    QFETCH(bool, sale);
    QFETCH(QString, deleteButton);
    MainWindowTest t;
    addRecord(t, sale, 1, "阿明", "10");
    addRecord(t, sale, 2, "李四", "20");
    addRecord(t, sale, 3, "张三", "30");
    auto* s = openScreen(t, sale);
    DataGrid* grid = s->DBGrid1;
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->currentRecord().text("客户名称"), QString("李四"));

    t.messages().answer(QMessageBox::Cancel);
    click(pushButton(s, deleteButton));
    QCOMPARE(t.messages().texts(), QStringList{"确实要删除该记录吗？注意：该操作不可恢复！"});
    QCOMPARE(t.messages().last().caption, QString("系统提示"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Question);
    QCOMPARE(t.messages().last().buttons, MsgButtons::OkCancel);
    QCOMPARE(t.count(table(sale)), 3);

    click(pushButton(s, deleteButton));
    QCOMPARE(t.messages().shown.size(), size_t(2));
    QCOMPARE(t.rows("select 客户名称 from " + table(sale) + " order by 客户名称"),
             (QList<QStringList>{{"阿明"}, {"张三"}}));
    QCOMPARE(names(grid), (QStringList{"阿明", "张三"}));
    QCOMPARE(grid->currentRecord().text("客户名称"), QString("张三"));
    // The account entry and the receipt of the deleted record stay.
    QCOMPARE(t.count("帐款明细"), 3);
    QCOMPARE(t.count("收款记录"), 3);
    QCOMPARE(t.rows("select 金额 from 收款记录 where 客户名称='李四'"), QList<QStringList>{{"20"}});
    // The last row deleted: the cursor goes to the new last row.
    click(pushButton(s, deleteButton));
    QCOMPARE(names(grid), QStringList{"阿明"});
    QCOMPARE(grid->currentRecord().text("客户名称"), QString("阿明"));
    // On an empty list delete asks nothing and a double-click opens nothing.
    click(pushButton(s, deleteButton));
    QCOMPARE(grid->rowCount(), 0);
    t.messages().clear();
    click(pushButton(s, deleteButton));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton);
    QVERIFY(t.messages().shown.empty());
    QVERIFY(!dialogOf(t, sale).isVisible());
    QCOMPARE(t.count("帐款明细"), 3);
    // "刷新" reads the list again.
    addRecord(t, sale, 4, "王五", "40");
    click(pushButton(s, "BitBtn10"));
    QCOMPARE(names(grid), QStringList{"王五"});
    delete s;
}

void TestMaintenance::correctedPriceKeepsStaff() {
    MainWindowTest t;
    addRecord(t, true, 1, "阿明", "10");
    addRecord(t, true, 5, "张三", "3999.5", "555", "2008-03-05");
    auto* s = openScreen(t, true);
    DataGrid* grid = s->DBGrid1;
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    doubleClickRow(grid, 1);
    auto& d = t.session().dialog<Txiugaidinggoujilu>();
    QVERIFY(d.isVisible());
    QVERIFY(d.isModal());
    QCOMPARE(d.windowTitle(), QString("修改销售记录"));
    const std::pair<const char*, const char*> filled[] = {
        {"Edit7", "5"},   {"Edit1", "张三"},   {"Edit9", "ID"},     {"Edit10", "1970"}, {"Edit3", "555"},
        {"Edit8", "139"}, {"Edit2", "城关镇"}, {"Edit4", "联想T1"}, {"Edit5", "SN"},    {"Edit6", "3999.5"}};
    for (auto [name, text] : filled)
        QCOMPARE(edit(&d, name)->text(), QString(text));
    QCOMPARE(d.DateTimePicker1->date(), QDate(2008, 3, 5));
    QCOMPARE(d.Memo1->toPlainText(), QString("备注"));
    QVERIFY(edit(&d, "Edit9")->isReadOnly());

    QLineEdit* price = edit(&d, "Edit6");
    price->clear();
    typeText(price, "3500.25");
    edit(&d, "Edit1")->setText("张三丰");
    d.Memo1->setPlainText("第一行\n第二行");
    d.DateTimePicker1->setDate(QDate(2008, 4, 1));
    click(d.BitBtn1);
    QCOMPARE(t.messages().texts(), QStringList{"修改订购（销售）记录成功！"});
    QCOMPARE(t.messages().last().caption, QString("提示"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Information);
    QVERIFY(!d.isVisible());
    QCOMPARE(t.rows("select 客户编号,客户名称,价格,日期,备注,经手人,客服人员 from dinggou where 客户编号=5"),
             (QList<QStringList>{{"5", "张三丰", "3500.25", "2008-4-1", "第一行\n第二行", "0002", "小王"}}));
    QCOMPARE(t.rows("select 客户名称 from dinggou where 客户编号=1"), QList<QStringList>{{"阿明"}});
    // The account entry keeps the old amount; the grid shows the old row until "刷新".
    QCOMPARE(t.rows("select 应付金额 from 帐款明细 where 客户编号=5"), QList<QStringList>{{"3999.5"}});
    QCOMPARE(grid->cellText(1, "价格"), QString("3999.5"));
    click(pushButton(s, "BitBtn10"));
    QCOMPARE(grid->cellText(1, "价格"), QString("3500.25"));
    delete s;
}

void TestMaintenance::repairEmptyFeeStoredAsZero() {
    MainWindowTest t;
    addRecord(t, false, 5, "张三", "85.5");
    auto* s = openScreen(t, false);
    doubleClickRow(s->DBGrid1, 0);
    auto& d = t.session().dialog<Txiugaiweixiujilu>();
    QVERIFY(d.isVisible());
    QCOMPARE(d.windowTitle(), QString("修改返修记录"));
    QCOMPARE(edit(&d, "Edit5")->text(), QString("85.5"));
    QCOMPARE(edit(&d, "Edit6")->text(), QString("  主机"));
    edit(&d, "Edit5")->clear();
    edit(&d, "Edit6")->setText("  主机  显示器");
    click(d.BitBtn1);
    QCOMPARE(t.messages().texts(), QStringList{"修改维修记录成功！"});
    QCOMPARE(edit(&d, "Edit5")->text(), QString("0"));
    QVERIFY(!d.isVisible());
    QCOMPARE(t.rows("select 维修费,维修项目,经手人 from 维修记录"),
             (QList<QStringList>{{"0", "  主机  显示器", "0002"}}));
    QCOMPARE(t.rows("select 应付金额 from 帐款明细"), QList<QStringList>{{"85.5"}});
    delete s;
}

void TestMaintenance::dialogChecks_data() {
    QTest::addColumn<bool>("sale");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::newRow("sales empty name") << true << "Edit1"
                                      << ""
                                      << "信息不完整！";
    QTest::newRow("sales empty price") << true << "Edit6"
                                       << ""
                                       << "信息不完整！";
    QTest::newRow("sales empty number") << true << "Edit7"
                                        << ""
                                        << "“”不是有效的数字！";
    QTest::newRow("sales bad number") << true << "Edit7"
                                      << "5a"
                                      << "“5a”不是有效的数字！";
    QTest::newRow("sales bad price") << true << "Edit6"
                                     << "1-2"
                                     << "“1-2”不是有效的金额！";
    QTest::newRow("repair empty name") << false << "Edit1"
                                       << ""
                                       << "信息不完整！";
    QTest::newRow("repair empty number") << false << "Edit7"
                                         << ""
                                         << "信息不完整！";
    QTest::newRow("repair bad number") << false << "Edit7"
                                       << "1'"
                                       << "“1'”不是有效的数字！";
    QTest::newRow("repair bad fee") << false << "Edit5"
                                    << "1..5"
                                    << "“1..5”不是有效的金额！";
}

void TestMaintenance::dialogChecks() {
    QFETCH(bool, sale);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    MainWindowTest t;
    addRecord(t, sale, 5, "张三", "100");
    const auto before = t.rows("select * from " + table(sale));
    auto* s = openScreen(t, sale);
    doubleClickRow(s->DBGrid1, 0);
    RecordEditDialog& d = dialogOf(t, sale);
    QVERIFY(d.isVisible());
    edit(&d, "Edit4")->setText("改过");
    edit(&d, box)->setText(typed);
    click(d.BitBtn1);
    QCOMPARE(t.messages().texts(), QStringList{message});
    QCOMPARE(t.messages().last().caption, QString("提示"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QCOMPARE(t.rows("select * from " + table(sale)), before);
    QVERIFY(d.isVisible());
    QCOMPARE(edit(&d, box)->text(), typed);
    QCOMPARE(edit(&d, "Edit4")->text(), QString("改过"));
    click(d.BitBtn2);
    QVERIFY(!d.isVisible());
    QCOMPARE(t.rows("select * from " + table(sale)), before);
    delete s;
}

void TestMaintenance::failedSaveRollsBack_data() {
    QTest::addColumn<bool>("sale");
    QTest::newRow("sales") << true;
    QTest::newRow("repairs") << false;
}

void TestMaintenance::failedSaveRollsBack() {
    QFETCH(bool, sale);
    MainWindowTest t;
    addRecord(t, sale, 5, "张三", "100");
    const auto before = t.rows("select * from " + table(sale));
    refuseChange(t.dm(), "update", table(sale), "数据库已锁定");
    auto* s = openScreen(t, sale);
    doubleClickRow(s->DBGrid1, 0);
    RecordEditDialog& d = dialogOf(t, sale);
    edit(&d, "Edit1")->setText("O'Neil");
    click(d.BitBtn1);
    QCOMPARE(t.messages().shown.size(), size_t(1));
    QVERIFY(t.messages().last().text.contains("数据库已锁定"));
    QCOMPARE(t.messages().last().icon, MsgIcon::None);
    QVERIFY(!t.dm().inTransaction());
    QCOMPARE(t.rows("select * from " + table(sale)), before);
    QVERIFY(d.isVisible());
    QCOMPARE(edit(&d, "Edit1")->text(), QString("O'Neil"));
    // Once the engine accepts it, the same dialog saves the name exactly as typed.
    t.dm().ADOall.exec("DROP TRIGGER refuse");
    click(d.BitBtn1);
    QCOMPARE(t.messages().texts().last(),
             QString(sale ? "修改订购（销售）记录成功！" : "修改维修记录成功！"));
    QCOMPARE(t.rows("select 客户名称 from " + table(sale)), QList<QStringList>{{"O'Neil"}});
    // A record deleted meanwhile is not reported as saved.
    doubleClickRow(s->DBGrid1, 0);
    t.dm().ADOall.exec("DELETE FROM " + TDM1::quoteId(table(sale)));
    click(d.BitBtn1);
    QCOMPARE(t.messages().texts().last(), QString("该记录已不存在，修改未保存！"));
    QVERIFY(d.isVisible());
    delete s;
}

void TestMaintenance::dialogEnterOrderAndKeyFilter_data() {
    QTest::addColumn<bool>("sale");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<QString>("amountBox");
    QTest::addColumn<bool>("keypad"); // Enter from the keypad
    const QStringList order{"Edit7", "Edit1", "Edit9", "Edit10", "Edit3",           "Edit8",
                            "Edit2", "Edit4", "Edit5", "Edit6",  "DateTimePicker1", "Memo1"};
    QTest::newRow("sales") << true << order << "Edit6" << false;
    QTest::newRow("repairs") << false << order << "Edit5" << false;
    QTest::newRow("sales, keypad Enter") << true << order << "Edit6" << true;
}

void TestMaintenance::dialogEnterOrderAndKeyFilter() {
    QFETCH(bool, sale);
    QFETCH(QStringList, order);
    QFETCH(QString, amountBox);
    QFETCH(bool, keypad);
    const auto enter = [keypad](QWidget* w) {
        if (keypad)
            QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
        else
            pressEnter(w);
    };
    MainWindowTest t;
    addRecord(t, sale, 5, "张三", "100");
    auto* s = openScreen(t, sale);
    doubleClickRow(s->DBGrid1, 0);
    RecordEditDialog& d = dialogOf(t, sale);
    QTRY_VERIFY(d.isAncestorOf(QApplication::focusWidget())); // the keys move over from the main window
    QCOMPARE(QApplication::focusWidget()->objectName(), order.first());
    for (int i = 1; i < order.size(); ++i) {
        enter(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
    // Enter in the remark starts a new line.
    d.Memo1->clear();
    typeText(d.Memo1, "a");
    enter(d.Memo1);
    typeText(d.Memo1, "b");
    QCOMPARE(d.Memo1->toPlainText(), QString("a\nb"));
    QLineEdit* amount = edit(&d, amountBox);
    amount->clear();
    typeText(amount, "a1b2.x-5元");
    QCOMPARE(amount->text(), QString("12.-5"));
    click(d.BitBtn2);
    QVERIFY(!d.isVisible());
    QCOMPARE(t.rows("select 备注 from " + table(sale)), QList<QStringList>{{"备注"}});
    delete s;
}

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
