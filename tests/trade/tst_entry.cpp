#include "support/mainwindowtest.h"
#include "trade/lookuppanel.h"
#include "trade/tdinggou.h"
#include "trade/tweixiu.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

using namespace TestInput;

namespace {
void addCustomer(TestSession& t, int number, const QString& name, const QString& tel = {}, const QString& mobile = {},
                 const QString& address = {}) {
    t.dm().ADOall.exec("insert into 客户信息(客户编号,客户名称,身份证号,出生年,手机,电话,地址,起用日期) "
                       "values(?,?,?,?,?,?,?,'2008-01-01')",
                       {number, name, QString("ID%1").arg(number), "1970", mobile, tel, address});
}

template <class S> S* openScreen(MainWindowTest& t) {
    auto* s = &t.screen<S>(std::is_same_v<S, Tdinggou> ? "N10" : "N26");
    s->show();
    s->activateWindow();
    if (!QTest::qWaitForWindowActive(s))
        qWarning("window not active");
    return s;
}

QLineEdit* edit(QWidget* s, const char* name) { return s->findChild<QLineEdit*>(name); }
} // namespace

// A query screen as the collection, maintenance and history screens build it.
class QueryScreen : public Screen {
public:
    QueryScreen(Session& s, QueryPanel::Config config) : Screen(s) {
        auto* g = new QGridLayout(this);
        for (auto [name, row] : {std::pair{"Edit4", 0}, {"Edit1", 1}, {"Edit3", 2}, {"Edit6", 3}, {"Edit2", 4}}) {
            auto* e = new QLineEdit(this);
            e->setObjectName(name);
            g->addWidget(e, row, 0);
            auto* b = new QPushButton(QStringLiteral("确定"), this);
            b->setObjectName(QString("ok%1").arg(name));
            g->addWidget(b, row, 1);
        }
        combo = new QComboBox(this);
        combo->setEditable(true);
        fuzzyText = new QLineEdit(this);
        find = new QPushButton(QStringLiteral("查找"), this);
        g->addWidget(combo, 5, 0);
        g->addWidget(fuzzyText, 5, 1);
        g->addWidget(find, 5, 2);
        list = new CustomerList(*this, "DBGrid4", false, this);
        g->addWidget(list, 6, 0, 1, 3);
        CustomerBoxes boxes{edit(this, "Edit4"), edit(this, "Edit1"), edit(this, "Edit3"), edit(this, "Edit6"),
                            edit(this, "Edit2")};
        panel = new QueryPanel(*this, boxes, list, config,
                               [this](const QString& c, const QString& v) { listings << c + "=" + v; });
        const std::pair<LookupField, const char*> buttons[] = {{LookupField::Number, "okEdit4"},
                                                               {LookupField::Name, "okEdit1"},
                                                               {LookupField::Telephone, "okEdit3"},
                                                               {LookupField::Mobile, "okEdit6"},
                                                               {LookupField::Address, "okEdit2"}};
        for (auto [f, n] : buttons)
            panel->setButton(f, findChild<QPushButton*>(n));
        panel->setFuzzyGroup(combo, fuzzyText, find);
    }
    QStringList listings;
    QComboBox* combo;
    QLineEdit* fuzzyText;
    QPushButton* find;
    CustomerList* list;
    QueryPanel* panel;
};

class TestEntry : public QObject {
    Q_OBJECT
private slots:
    void salesLookup_data();
    void salesLookup();
    void repairLookupKeepsNumberAsTyped();
    void severalMatchesTakeOneSilently();
    void badNumberIsReportedAndKeepsBoxes();
    void fuzzySearchListsEveryoneByPinyin();
    void customerListIsSharedBetweenScreens();
    void pickFillsBoxes();
    void pickFromEmptyListEmptiesBoxes();
    void paidAndUnpaidSales_data();
    void paidAndUnpaidSales();
    void incompleteSaleWritesNothing();
    void invalidPriceWritesNothing_data();
    void invalidPriceWritesNothing();
    void priceBoxTakesOnlyMoneyKeys();
    void enterChainOfSales();
    void quotesAreStoredAsTyped();
    void repairFees_data();
    void repairFees();
    void repairNeedsAnItem();
    void serialProposalAndFollowingBox();
    void newCustomerButtonsOpenTheDialog_data();
    void newCustomerButtonsOpenTheDialog();
    void entryScreensUseSongAt13Pixels();
    void queryPanelLookups_data();
    void queryPanelLookups();
    void queryPanelFuzzyAndPick();
};

void TestEntry::salesLookup_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("found");
    QTest::newRow("number") << "Edit7" << "007" << true;
    QTest::newRow("number with blanks") << "Edit7" << " 7 " << true;
    QTest::newRow("name") << "Edit1" << "张三" << true;
    QTest::newRow("telephone") << "Edit3" << "5551234" << true;
    QTest::newRow("mobile") << "Edit8" << "13900001111" << true;
    QTest::newRow("unknown number") << "Edit7" << "99" << false;
    QTest::newRow("unknown name") << "Edit1" << "李四" << false;
    QTest::newRow("empty name") << "Edit1" << "" << false;
}

void TestEntry::salesLookup() {
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(bool, found);
    MainWindowTest t;
    addCustomer(t, 7, "张三", "5551234", "13900001111", "城关镇东村");
    auto* s = openScreen<Tdinggou>(t);
    // What a failed lookup keeps: the serial, price, remark and payment state.
    typeText(s->Edit5, "SN1");
    typeText(s->Edit6, "100");
    typeText(s->Edit11, "小王");
    s->paidItem->setChecked(true);
    typeText(edit(s, qPrintable(box)), typed);
    pressEnter(edit(s, qPrintable(box)));
    if (found) {
        QCOMPARE(t.messages().shown.size(), size_t(0));
        QCOMPARE(s->Edit7->text(), QString("7")); // the number as stored
        QCOMPARE(s->Edit1->text(), QString("张三"));
        QCOMPARE(s->Edit2->text(), QString("城关镇东村"));
        QCOMPARE(s->Edit3->text(), QString("5551234"));
        QCOMPARE(s->Edit8->text(), QString("13900001111"));
        QCOMPARE(s->Edit9->text(), QString("ID7"));
        QCOMPARE(s->Edit10->text(), QString("1970"));
        QVERIFY(s->BitBtn2->isEnabled());
        QCOMPARE(QApplication::focusWidget(), s->Edit4);
    } else {
        QCOMPARE(t.messages().texts(), QStringList{"此客户不存在！"});
        QCOMPARE(t.messages().last().caption, QString("提示"));
        QCOMPARE(t.messages().last().icon, MsgIcon::Error);
        for (QLineEdit* e : {s->Edit1, s->Edit2, s->Edit3, s->Edit4, s->Edit7, s->Edit8, s->Edit9, s->Edit10,
                             s->Edit11})
            QCOMPARE(e->text(), QString());
        QCOMPARE(s->Edit5->text(), QString("SN1"));
        QCOMPARE(s->Edit6->text(), QString("100"));
        QVERIFY(s->paidItem->isChecked());
        QVERIFY(!s->BitBtn2->isEnabled());
    }
    delete s;
}

void TestEntry::repairLookupKeepsNumberAsTyped() {
    MainWindowTest t;
    addCustomer(t, 7, "张三", "5551234", "139");
    auto* s = openScreen<Tweixiu>(t);
    typeText(s->Edit6, "007");
    pressEnter(s->Edit6);
    QCOMPARE(s->Edit6->text(), QString("007"));
    QCOMPARE(s->Edit1->text(), QString("张三"));
    QVERIFY(s->BitBtn2->isEnabled());
    typeText(s->Edit3, "x");
    pressEnter(s->Edit3);
    QCOMPARE(t.messages().texts(), QStringList{"此客户不存在!"});
    QCOMPARE(t.messages().last().caption, QString("提示！"));
    QCOMPARE(s->Edit6->text(), QString());
    QVERIFY(!s->BitBtn2->isEnabled());
    delete s;
}

void TestEntry::severalMatchesTakeOneSilently() {
    MainWindowTest t;
    addCustomer(t, 1, "王五", "111");
    addCustomer(t, 2, "王五", "222");
    auto* s = openScreen<Tdinggou>(t);
    typeText(s->Edit1, "王五");
    pressEnter(s->Edit1);
    QVERIFY(t.messages().shown.empty());
    QVERIFY(s->Edit7->text() == "1" || s->Edit7->text() == "2");
    delete s;
}

void TestEntry::badNumberIsReportedAndKeepsBoxes() {
    MainWindowTest t;
    auto* s = openScreen<Tdinggou>(t);
    typeText(s->Edit1, "某人");
    typeText(s->Edit7, "1'x");
    pressEnter(s->Edit7);
    QCOMPARE(t.messages().texts(), QStringList{"“1'x”不是有效的数字！"});
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QCOMPARE(s->Edit1->text(), QString("某人"));
    QCOMPARE(s->Edit7->text(), QString("1'x"));
    delete s;
}

void TestEntry::fuzzySearchListsEveryoneByPinyin() {
    MainWindowTest t;
    addCustomer(t, 1, "张三");
    addCustomer(t, 2, "阿明");
    addCustomer(t, 3, "李四");
    auto* s = openScreen<Tdinggou>(t);
    QVERIFY(!s->GroupBox2->isVisible());
    click(s->BitBtn1);
    QVERIFY(s->GroupBox2->isVisible());
    DataGrid* grid = s->GroupBox2->grid();
    QCOMPARE(grid->objectName(), QString("DBGrid2"));
    QStringList names;
    for (int r = 0; r < grid->rowCount(); ++r)
        names << grid->cellText(r, "客户名称");
    QCOMPARE(names, (QStringList{"阿明", "李四", "张三"}));
    QCOMPARE(grid->columns().size(), 4);
    click(s->GroupBox2->hideButton());
    QVERIFY(!s->GroupBox2->isVisible());
    delete s;
}

void TestEntry::customerListIsSharedBetweenScreens() {
    MainWindowTest t;
    addCustomer(t, 1, "张三", "111");
    addCustomer(t, 2, "李四", "222");
    auto* sales = openScreen<Tdinggou>(t);
    auto* repair = openScreen<Tweixiu>(t);
    click(sales->BitBtn1);
    QCOMPARE(sales->GroupBox2->grid()->rowCount(), 2);
    typeText(repair->Edit3, "22");
    click(repair->BitBtn7);
    QCOMPARE(repair->GroupBox2->grid()->rowCount(), 1);
    QCOMPARE(sales->GroupBox2->grid()->rowCount(), 1);
    QCOMPARE(sales->GroupBox2->grid()->cellText(0, "客户名称"), QString("李四"));
    delete sales;
    delete repair;
}

void TestEntry::pickFillsBoxes() {
    MainWindowTest t;
    addCustomer(t, 1, "张三", "111", "m1", "甲村");
    addCustomer(t, 2, "李四", "222", "m2", "乙村");
    auto* s = openScreen<Tweixiu>(t);
    click(s->BitBtn1);
    DataGrid* grid = s->GroupBox2->grid();
    // The cursor stepped past the last row before the pick: the pick still takes the row shown.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QVERIFY(grid->eof());
    const QRect cell = grid->visualRect(grid->model()->index(grid->currentRowIndex(), 1));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(s->Edit1->text(), QString("张三")); // 张 sorts after 李
    QCOMPARE(s->Edit6->text(), QString("1"));
    QCOMPARE(s->Edit9->text(), QString("ID1"));
    QCOMPARE(s->Edit10->text(), QString("1970"));
    QCOMPARE(s->Edit2->text(), QString("甲村"));
    QVERIFY(s->BitBtn2->isEnabled());
    QVERIFY(!s->GroupBox2->isVisible());
    delete s;
}

void TestEntry::pickFromEmptyListEmptiesBoxes() {
    MainWindowTest t;
    addCustomer(t, 1, "张三", "111", "m1", "甲村");
    auto* s = openScreen<Tdinggou>(t);
    typeText(s->Edit1, "张三");
    pressEnter(s->Edit1);
    QVERIFY(s->BitBtn2->isEnabled());
    typeText(s->Edit3, "none");
    s->Edit1->clear();
    typeText(s->Edit1, "无此人");
    click(s->BitBtn1);
    QCOMPARE(s->GroupBox2->grid()->rowCount(), 0);
    QTest::mouseDClick(s->GroupBox2->grid()->viewport(), Qt::LeftButton);
    for (QLineEdit* e : {s->Edit1, s->Edit2, s->Edit3, s->Edit7, s->Edit8, s->Edit9, s->Edit10})
        QCOMPARE(e->text(), QString());
    QVERIFY(!s->BitBtn2->isEnabled());
    QVERIFY(!s->GroupBox2->isVisible());
    delete s;
}

void TestEntry::paidAndUnpaidSales_data() {
    QTest::addColumn<bool>("paid");
    QTest::addColumn<int>("dayOffset");
    QTest::newRow("paid today") << true << 0;
    QTest::newRow("unpaid today") << false << 0;
    QTest::newRow("paid yesterday") << true << -1;
}

void TestEntry::paidAndUnpaidSales() {
    QFETCH(bool, paid);
    QFETCH(int, dayOffset);
    MainWindowTest t;
    t.session().operatorNumber = "0002";
    addCustomer(t, 5, "张三", "111", "139", "城关镇");
    auto* s = openScreen<Tdinggou>(t);
    typeText(s->Edit7, "5");
    pressEnter(s->Edit7);
    typeText(s->Edit4, "联想T1");
    typeText(s->Edit5, "SN-9");
    typeText(s->Edit6, "3999.5");
    const QDate day = QDate::currentDate().addDays(dayOffset);
    s->DateTimePicker1->setDate(day);
    typeText(s->Edit11, "小王");
    s->Memo1->setPlainText("第一行\n第二行");
    if (paid)
        click(s->paidItem);
    click(s->BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{"订购资料录入成功！"});
    QCOMPARE(t.messages().last().icon, MsgIcon::Information);
    const QString d = day.toString("yyyy-M-d");
    QCOMPARE(t.rows("select 客服人员,身份证号,出生年,手机,客户编号,客户名称,地址,电话,订购型号,主机序列号,价格,备注,日期,"
                    "经手人 from dinggou"),
             (QList<QStringList>{{"小王", "ID5", "1970", "139", "5", "张三", "城关镇", "111", "联想T1", "SN-9",
                                  "3999.5", "第一行\n第二行", d, "0002"}}));
    QCOMPARE(t.rows("select 手机,客户编号,客户名称,地址,电话,主机序列号,应付金额,付款情况,备注,日期,经手人 from 帐款明细"),
             (QList<QStringList>{{"139", "5", "张三", "城关镇", "111", "SN-9", "3999.5", paid ? "已付款" : "未付款",
                                  "第一行\n第二行", d, "0002"}}));
    const auto receipts = t.rows("select 手机,客户编号,客户名称,地址,电话,主机序列号,金额,日期,经手人 from 收款记录");
    if (paid)
        QCOMPARE(receipts,
                 (QList<QStringList>{{"139", "5", "张三", "城关镇", "111", "SN-9", "3999.5", d, "0002"}}));
    else
        QVERIFY(receipts.isEmpty());
    // Ready for the next sale, the date kept.
    for (QLineEdit* e : {s->Edit1, s->Edit4, s->Edit5, s->Edit6, s->Edit7, s->Edit11})
        QCOMPARE(e->text(), QString());
    QCOMPARE(s->Memo1->toPlainText(), QString());
    QVERIFY(s->unpaidItem->isChecked());
    QVERIFY(!s->BitBtn2->isEnabled());
    QCOMPARE(s->DateTimePicker1->date(), day);
    QCOMPARE(QApplication::focusWidget(), s->Edit7);
    delete s;
}

void TestEntry::incompleteSaleWritesNothing() {
    MainWindowTest t;
    addCustomer(t, 5, "张三");
    auto* s = openScreen<Tdinggou>(t);
    typeText(s->Edit7, "5");
    pressEnter(s->Edit7);
    typeText(s->Edit4, "M1");
    click(s->BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{"信息不完整！"});
    QCOMPARE(t.messages().last().caption, QString("提示"));
    QCOMPARE(t.count("dinggou") + t.count("帐款明细") + t.count("收款记录"), 0);
    QCOMPARE(s->Edit4->text(), QString("M1"));
    QVERIFY(s->BitBtn2->isEnabled());
    delete s;
}

void TestEntry::invalidPriceWritesNothing_data() {
    QTest::addColumn<QString>("price");
    QTest::newRow("minus inside") << "1-2";
    QTest::newRow("two points") << "1..5";
    QTest::newRow("minus alone") << "-";
}

void TestEntry::invalidPriceWritesNothing() {
    QFETCH(QString, price);
    MainWindowTest t;
    addCustomer(t, 5, "张三");
    auto* s = openScreen<Tdinggou>(t);
    typeText(s->Edit7, "5");
    pressEnter(s->Edit7);
    typeText(s->Edit6, price);
    click(s->paidItem);
    click(s->BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{QString("“%1”不是有效的金额！").arg(price)});
    QCOMPARE(t.count("dinggou") + t.count("帐款明细") + t.count("收款记录"), 0);
    QCOMPARE(s->Edit6->text(), price);
    QCOMPARE(s->Edit1->text(), QString("张三"));
    QVERIFY(s->BitBtn2->isEnabled());
    delete s;
}

void TestEntry::priceBoxTakesOnlyMoneyKeys() {
    MainWindowTest t;
    auto* s = openScreen<Tdinggou>(t);
    typeText(s->Edit6, "a1b2.x-5元");
    QCOMPARE(s->Edit6->text(), QString("12.-5"));
    QTest::keyClick(s->Edit6, Qt::Key_Backspace);
    QCOMPARE(s->Edit6->text(), QString("12.-"));
    delete s;
}

void TestEntry::enterChainOfSales() {
    MainWindowTest t;
    auto* s = openScreen<Tdinggou>(t);
    s->Edit4->setFocus();
    QWidget* expected[] = {s->Edit5, s->Edit6, s->DateTimePicker1, s->Edit11, s->Memo1};
    for (QWidget* next : expected) {
        pressEnter(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // In the remark Enter starts a new line.
    typeText(s->Memo1, "a");
    pressEnter(s->Memo1);
    typeText(s->Memo1, "b");
    QCOMPARE(s->Memo1->toPlainText(), QString("a\nb"));
    delete s;
}

void TestEntry::quotesAreStoredAsTyped() {
    MainWindowTest t;
    addCustomer(t, 1, "O'Neil");
    auto* s = openScreen<Tdinggou>(t);
    typeText(s->Edit1, "O'Neil");
    pressEnter(s->Edit1);
    QVERIFY(s->BitBtn2->isEnabled());
    typeText(s->Edit4, "x'\"%_\\");
    typeText(s->Edit6, "1");
    click(s->BitBtn2);
    QCOMPARE(t.rows("select 客户名称, 订购型号 from dinggou"), (QList<QStringList>{{"O'Neil", "x'\"%_\\"}}));
    delete s;
}

void TestEntry::repairFees_data() {
    QTest::addColumn<QString>("fee");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("receipt");
    QTest::newRow("empty") << "" << "0" << false;
    QTest::newRow("zero") << "0" << "0" << false;
    QTest::newRow("zero with decimals") << "0.00" << "0" << true;
    QTest::newRow("fee") << "85.5" << "85.5" << true;
}

void TestEntry::repairFees() {
    QFETCH(QString, fee);
    QFETCH(QString, stored);
    QFETCH(bool, receipt);
    MainWindowTest t;
    addCustomer(t, 3, "张三", "111", "139", "城关镇");
    auto* s = openScreen<Tweixiu>(t);
    typeText(s->Edit6, "3");
    pressEnter(s->Edit6);
    typeText(s->Edit8, "NEW-1");
    typeText(s->Edit5, fee);
    for (int i : {0, 2, 5})
        s->ListView1->topLevelItem(i)->setCheckState(0, Qt::Checked);
    const QDate day = QDate::currentDate().addDays(-3);
    s->DateTimePicker1->setDate(day);
    click(s->BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{"维修资料录入成功！"});
    const QString d = day.toString("yyyy-M-d");
    QCOMPARE(t.rows("select 身份证号,出生年,手机,客户编号,客户名称,地址,电话,维修项目,维修费,主机序列号,日期,经手人 "
                    "from 维修记录"),
             (QList<QStringList>{{"ID3", "1970", "139", "3", "张三", "城关镇", "111", "  主机  显示器  其他", stored,
                                  "NEW-1", d, "0001"}}));
    QCOMPARE(t.rows("select 主机序列号,应付金额,付款情况,日期 from 帐款明细"),
             (QList<QStringList>{{"NEW-1", stored, "已付款", d}}));
    QCOMPARE(t.count("收款记录"), receipt ? 1 : 0);
    if (receipt)
        QCOMPARE(t.rows("select 主机序列号,金额,日期 from 收款记录"), (QList<QStringList>{{"NEW-1", stored, d}}));
    // Reset for the next repair: date back to today, nothing ticked, focus in the name box.
    QCOMPARE(s->DateTimePicker1->date(), QDate::currentDate());
    QCOMPARE(s->Edit5->text(), QString());
    QCOMPARE(s->repairItemText(), QString());
    QVERIFY(!s->BitBtn2->isEnabled());
    QCOMPARE(QApplication::focusWidget(), s->Edit1);
    delete s;
}

void TestEntry::repairNeedsAnItem() {
    MainWindowTest t;
    addCustomer(t, 3, "张三");
    auto* s = openScreen<Tweixiu>(t);
    typeText(s->Edit6, "3");
    pressEnter(s->Edit6);
    s->Edit1->clear();
    click(s->BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{"信息不完整！"});
    typeText(s->Edit1, "张三");
    click(s->BitBtn2);
    QCOMPARE(t.messages().texts().last(), QString("请选择维修项目！"));
    QCOMPARE(s->Edit5->text(), QString()); // an empty fee is not yet set to 0
    QCOMPARE(t.count("维修记录"), 0);
    delete s;
}

void TestEntry::serialProposalAndFollowingBox() {
    MainWindowTest t;
    addCustomer(t, 3, "张三");
    addCustomer(t, 4, "李四");
    t.dm().ADOall.exec("insert into dinggou(id, 客户编号, 主机序列号) values(10, 3, 'LATER')");
    t.dm().ADOall.exec("insert into dinggou(id, 客户编号, 主机序列号) values(2, 3, 'FIRST')");
    auto* s = openScreen<Tweixiu>(t);
    typeText(s->Edit6, "3");
    pressEnter(s->Edit6);
    QCOMPARE(QApplication::focusWidget(), s->Edit4);
    QCOMPARE(s->Edit4->text(), QString("FIRST"));
    QCOMPARE(s->Edit8->text(), QString("FIRST"));
    // A typed serial is replaced when the focus comes back.
    s->Edit4->clear();
    typeText(s->Edit4, "TYPED");
    QCOMPARE(s->Edit8->text(), QString("TYPED"));
    s->Edit5->setFocus();
    s->Edit4->setFocus();
    QCOMPARE(s->Edit4->text(), QString("FIRST"));
    // Enter in the serial skips the new-serial box.
    pressEnter(s->Edit4);
    QCOMPARE(QApplication::focusWidget(), s->Edit5);
    // A customer without sales gets an empty serial.
    s->Edit6->setText("4");
    pressEnter(s->Edit6);
    QCOMPARE(s->Edit4->text(), QString());
    delete s;
}

void TestEntry::newCustomerButtonsOpenTheDialog_data() {
    QTest::addColumn<bool>("repair");
    QTest::addColumn<bool>("inList");
    QTest::newRow("sales, beside the number") << false << false;
    QTest::newRow("sales, in the customer list") << false << true;
    QTest::newRow("repair, beside the number") << true << false;
}

void TestEntry::newCustomerButtonsOpenTheDialog() {
    QFETCH(bool, repair);
    QFETCH(bool, inList);
    MainWindowTest t;
    std::unique_ptr<Screen> screen;
    if (repair)
        screen.reset(openScreen<Tweixiu>(t));
    else
        screen.reset(openScreen<Tdinggou>(t));
    auto* number = edit(screen.get(), repair ? "Edit6" : "Edit7");
    typeText(number, "12");
    QPushButton* button = screen->findChild<QPushButton*>("BitBtn6");
    if (inList) {
        auto* sales = static_cast<Tdinggou*>(screen.get());
        click(sales->BitBtn1);
        button = sales->GroupBox2->newCustomerButton();
    }
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = modal->windowTitle();
            modal->close();
        }
    });
    click(button);
    QCOMPARE(shown, QString("新增客户档案"));
    // Nothing else happens: the boxes stay as they were and the customer is found afterwards.
    QCOMPARE(number->text(), QString("12"));
    QVERIFY(!screen->findChild<QPushButton*>("BitBtn2")->isEnabled());
}

void TestEntry::entryScreensUseSongAt13Pixels() {
    MainWindowTest t;
    Tdinggou& sales = t.screen<Tdinggou>("N10");
    Tweixiu& repair = t.screen<Tweixiu>("N26");
    for (QWidget* w : {static_cast<QWidget*>(&sales), static_cast<QWidget*>(&repair)}) {
        QCOMPARE(w->font().family(), QString("宋体"));
        QCOMPARE(w->font().pixelSize(), 13);
    }
}

void TestEntry::queryPanelLookups_data() {
    QTest::addColumn<bool>("askForInput");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("listings");
    QTest::addColumn<QString>("nameAfter");
    QTest::newRow("history number") << false << "Edit4" << "7" << QStringList{} << QStringList{"客户编号=7"} << "张三";
    QTest::newRow("history address") << false << "Edit2" << "甲村" << QStringList{} << QStringList{"地址=甲村"}
                                     << "张三";
    QTest::newRow("history empty number") << false << "Edit4" << "" << QStringList{} << QStringList{} << "";
    QTest::newRow("history empty name") << false << "Edit1" << "" << QStringList{"此客户档案信息不存在！"}
                                        << QStringList{"客户名称="} << "";
    QTest::newRow("not found still lists") << false << "Edit3" << "000" << QStringList{"此客户档案信息不存在！"}
                                           << QStringList{"电话=000"} << "";
    QTest::newRow("arrears empty") << true << "Edit1" << "" << QStringList{"请输入检索信息后再回车！"}
                                   << QStringList{} << "";
}

void TestEntry::queryPanelLookups() {
    QFETCH(bool, askForInput);
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, listings);
    QFETCH(QString, nameAfter);
    TestSession t;
    addCustomer(t, 7, "张三", "555", "139", "甲村");
    QueryPanel::Config config;
    config.emptyBox = askForInput ? QueryPanel::EmptyBox::AskForInput : QueryPanel::EmptyBox::NumberDoesNothing;
    config.clearFuzzyTextWhenNotFound = true;
    QueryScreen s(t.session(), config);
    s.show();
    typeText(s.fuzzyText, "old");
    if (box != "Edit1")
        typeText(edit(&s, "Edit1"), "旧名");
    typeText(edit(&s, qPrintable(box)), typed);
    click(s.findChild<QPushButton*>("ok" + box));
    QCOMPARE(t.messages().texts(), messages);
    QCOMPARE(s.listings, listings);
    if (!messages.isEmpty() && messages.first() == "此客户档案信息不存在！")
        QCOMPARE(s.fuzzyText->text(), QString());
    if (!listings.isEmpty() || box == "Edit1")
        QCOMPARE(edit(&s, "Edit1")->text(), box == "Edit1" ? typed : nameAfter);
}

void TestEntry::queryPanelFuzzyAndPick() {
    TestSession t;
    addCustomer(t, 7, "张三", "555", "139", "甲村");
    addCustomer(t, 8, "李四", "556", "138", "乙村");
    QueryPanel::Config config;
    config.pickListsBy = LookupField::Name;
    QueryScreen s(t.session(), config);
    s.show();
    QCOMPARE(s.combo->count(), 5);
    QCOMPARE(s.combo->itemText(4), QString("客户编号"));
    s.combo->setCurrentText("电话");
    typeText(s.fuzzyText, "56");
    click(s.find);
    QVERIFY(s.list->isVisible());
    QCOMPARE(s.list->grid()->rowCount(), 1);
    QTest::mouseDClick(s.list->grid()->viewport(), Qt::LeftButton, {},
                       s.list->grid()->visualRect(s.list->grid()->model()->index(0, 1)).center());
    QCOMPARE(edit(&s, "Edit4")->text(), QString("8"));
    QCOMPARE(edit(&s, "Edit2")->text(), QString("乙村"));
    QCOMPARE(s.listings, QStringList{"客户名称=李四"});
    QVERIFY(!s.list->isVisible());
    // A typed column that is no column of the customers is refused with a clear text.
    s.combo->setCurrentText("不存在");
    click(s.find);
    QCOMPARE(t.messages().texts(), QStringList{"表“客户信息”中没有名为“不存在”的列！"});
    QCOMPARE(t.messages().last().caption, QString());
    QVERIFY(!s.list->isVisible());
    // Percent signs are matched as typed.
    t.dm().ADOall.exec("insert into 客户信息(客户编号, 客户名称, 备注) values(9, '百分', '100%')");
    s.combo->setCurrentText("备注");
    s.fuzzyText->setText("0%");
    click(s.find);
    QCOMPARE(s.list->grid()->rowCount(), 1);
}

QTEST_MAIN(TestEntry)
#include "tst_entry.moc"
