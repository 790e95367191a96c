#include "customers/tkehu.h"
#include "customers/txinzengkehu.h"
#include "customers/txiugaikehu.h"
#include "support/mainwindowtest.h"
#include "support/refusal.h"
#include "ui/fonts.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace TestInput;

namespace {
template <class T = QWidget> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}
QString text(QWidget* w, const char* name) {
    return child<QLineEdit>(w, name)->text();
}

void addCustomer(TestSession& t, int number, const QString& name, const QString& extra = {}) {
    t.dm().ADOall.exec(
        "insert into 客户信息(客户编号,客户名称,地址,电话,手机,起用日期,备注) values(?,?,?,?,?,?,?)",
        {number, name, "地址" + name, "电话" + QString::number(number), "139" + QString::number(number),
         "2008-03-05", extra});
}

void addTownships(TestSession& t, const QList<QPair<QString, QString>>& rows) {
    for (const auto& [township, village] : rows)
        t.dm().ADOall.exec("insert into 乡镇(乡镇,村庄) values(?,?)", {township, village});
}

// Picks an entry of a drop-down list with the mouse, as the operator does.
void choose(QComboBox* combo, const QString& entry) {
    const int i = combo->findText(entry);
    QVERIFY2(i >= 0, qPrintable(entry));
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex idx = view->model()->index(i, 0);
    view->scrollTo(idx);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(idx).center());
    QTRY_VERIFY(!view->isVisible());
}

QStringList items(QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

// Runs a step once the modal dialog started by the next click is showing.
void whenShown(QDialog* dialog, std::function<void()> step) {
    QTimer::singleShot(0, dialog, [dialog, step] {
        QTRY_VERIFY(dialog->isVisible());
        step();
        if (dialog->isVisible())
            dialog->reject();
    });
}
} // namespace

class TestCustomers : public QObject {
    Q_OBJECT
  private slots:
    void numberAllocation_data();
    void numberAllocation();
    void deletedNewestNumberIsNotHandedOutAgain();
    void addressComposition();
    void emptyTownshipTableLeavesListsEmpty();
    void completenessCheck_data();
    void completenessCheck();
    void saveStoresEveryBoxExactly();
    void saveAndNextCycle();
    void failedSaveKeepsInput();
    void enterChain();
    void archiveOpens();
    void search_data();
    void search();
    void searchColumnIsChecked();
    void editFillsDialogAndSaves();
    void editWithUnreadableDateIsReported();
    void emptyListIgnoresEditAndDelete();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void sortByTitles();
};

void TestCustomers::numberAllocation_data() {
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty table") << QList<int>{} << "1";
    QTest::newRow("up to 57") << QList<int>{3, 57, 12} << "58";
}

void TestCustomers::numberAllocation() {
    QFETCH(QList<int>, numbers);
    QFETCH(QString, expected);
    TestSession t;
    for (int n : numbers)
        addCustomer(t, n, "客户" + QString::number(n));
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    QCOMPARE(text(&dialog, "Edit1"), expected);
    QVERIFY(child<QLineEdit>(&dialog, "Edit1")->isReadOnly());
    QCOMPARE(dialog.windowTitle(), QString("新增客户档案"));
    QCOMPARE(dialog.size(), QSize(385, 461));
    dialog.close();
}

void TestCustomers::deletedNewestNumberIsNotHandedOutAgain() {
    MainWindowTest t;
    addCustomer(t, 56, "甲");
    addCustomer(t, 57, "乙");
    t.dm().ADOall.exec("insert into dinggou(客户编号,客户名称,价格,日期) values(57,'乙',10000,'2008-03-05')");
    t.dm().ADOall.exec(
        "insert into 帐款明细(客户编号,客户名称,应付金额,付款情况) values(57,'乙',10000,'未付款')");
    Tkehu& archive = t.screen<Tkehu>("N32");
    archive.show();
    auto* grid = child<DataGrid>(&archive, "DBGrid1");
    grid->setCurrentIndex(grid->model()->index(1, grid->currentIndex().column()));
    QCOMPARE(grid->currentRecord().text("客户编号"), QString("57"));
    click(child(&archive, "ToolButton3"));
    QCOMPARE(t.count("客户信息"), 1);
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    QCOMPARE(text(&dialog, "Edit1"), QString("58"));
    dialog.close();
    // The deleted customer's sale and debt are still there and are nobody else's.
    QCOMPARE(t.count("dinggou"), 1);
    QCOMPARE(t.count("帐款明细"), 1);
}

void TestCustomers::addressComposition() {
    TestSession t;
    addTownships(t, {{"城关镇", "东村"}, {"城关镇", "西村"}, {"城关镇", "东村"}, {"河口乡", "北村"}});
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    auto* townships = child<QComboBox>(&dialog, "ComboBox1");
    auto* villages = child<QComboBox>(&dialog, "ComboBox2");
    auto* address = child<QLineEdit>(&dialog, "Edit5");
    QCOMPARE(items(townships), (QStringList{"城关镇", "河口乡"}));
    QCOMPARE(townships->currentText(), QString("城关镇"));
    QCOMPARE(items(villages), (QStringList{"东村", "西村"}));
    QCOMPARE(address->text(), QString()); // loading the lists leaves the address alone

    typeText(address, "旧地址");
    choose(townships, "城关镇");
    QCOMPARE(address->text(), QString("城关镇"));
    choose(villages, "东村");
    choose(villages, "西村");
    QCOMPARE(address->text(), QString("城关镇东村西村"));
    choose(townships, "河口乡");
    QCOMPARE(address->text(), QString("河口乡"));
    QCOMPARE(items(villages), (QStringList{"北村"}));
    QCOMPARE(address->text(), QString("河口乡"));
    dialog.close();

    // The edit dialog keeps the stored address until a township is chosen.
    addCustomer(t, 1, "张三");
    auto& edit = t.session().dialog<Txiugaikehu>();
    edit.fill(t.dm().ADOall.first("select * from 客户信息"));
    edit.show();
    QCOMPARE(text(&edit, "Edit5"), QString("地址张三"));
    QCOMPARE(items(child<QComboBox>(&edit, "ComboBox1")), (QStringList{"城关镇", "河口乡"}));
    click(child(&edit, "BitBtn1"));
    QCOMPARE(t.dm().ADOall.first("select 地址 from 客户信息").text("地址"), QString("地址张三"));
}

void TestCustomers::emptyTownshipTableLeavesListsEmpty() {
    TestSession t;
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    QCOMPARE(child<QComboBox>(&dialog, "ComboBox1")->count(), 0);
    QCOMPARE(child<QComboBox>(&dialog, "ComboBox2")->count(), 0);
    typeText(child<QLineEdit>(&dialog, "Edit5"), "手写地址");
    typeText(child<QLineEdit>(&dialog, "Edit2"), "李四");
    click(child(&dialog, "BitBtn1"));
    QCOMPARE(t.rows("select 客户编号, 客户名称, 地址 from 客户信息"),
             (QList<QStringList>{{"1", "李四", "手写地址"}}));
}

void TestCustomers::completenessCheck_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("stored");
    QTest::newRow("empty name") << "" << false;
    QTest::newRow("blanks only") << "   " << true;
    QTest::newRow("a name") << "王五" << true;
}

void TestCustomers::completenessCheck() {
    QFETCH(QString, name);
    QFETCH(bool, stored);
    TestSession t;
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    typeText(child<QLineEdit>(&dialog, "Edit2"), name);
    typeText(child<QLineEdit>(&dialog, "Edit6"), "5551234");
    click(child(&dialog, "BitBtn1"));
    QCOMPARE(t.messages().shown.size(), size_t(1));
    const MessageBoxSpec box = t.messages().last();
    if (stored) {
        QCOMPARE(box.text, QString("客户档案新增成功！"));
        QCOMPARE(box.icon, MsgIcon::Information);
        QCOMPARE(t.rows("select 客户名称, 电话 from 客户信息"), (QList<QStringList>{{name, "5551234"}}));
    } else {
        QCOMPARE(box.text, QString("信息不完整！"));
        QCOMPARE(box.icon, MsgIcon::Error);
        QCOMPARE(t.count("客户信息"), 0);
        QVERIFY(child<QPushButton>(&dialog, "BitBtn1")->isEnabled());
        QCOMPARE(text(&dialog, "Edit6"), QString("5551234"));
    }
    QCOMPARE(box.caption, QString("提示"));
    dialog.close();
}

void TestCustomers::saveStoresEveryBoxExactly() {
    TestSession t;
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    const char* boxes[] = {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"};
    for (const char* b : boxes)
        typeText(child<QLineEdit>(&dialog, b), QString("O'Neil \"%1\" 100%_'); --").arg(b));
    auto* memo = child<QPlainTextEdit>(&dialog, "Memo1");
    typeText(memo, "第一行'");
    pressEnter(memo);
    typeText(memo, "第二行");
    child<QDateEdit>(&dialog, "DateTimePicker1")->setDate(QDate(2008, 3, 5));
    click(child(&dialog, "BitBtn1"));
    QCOMPARE(t.messages().texts(), QStringList{"客户档案新增成功！"});
    const Row r = t.dm().ADOall.first("select * from 客户信息");
    QCOMPARE(r.value("客户编号").toLongLong(), 1);
    QCOMPARE(r.text("客户名称"), QString("O'Neil \"Edit2\" 100%_'); --"));
    QCOMPARE(r.text("身份证号"), QString("O'Neil \"Edit3\" 100%_'); --"));
    QCOMPARE(r.text("出生年"), QString("O'Neil \"Edit4\" 100%_'); --"));
    QCOMPARE(r.text("地址"), QString("O'Neil \"Edit5\" 100%_'); --"));
    QCOMPARE(r.text("电话"), QString("O'Neil \"Edit6\" 100%_'); --"));
    QCOMPARE(r.text("手机"), QString("O'Neil \"Edit7\" 100%_'); --"));
    QCOMPARE(r.value("起用日期").toString(), QString("2008-03-05"));
    QCOMPARE(r.text("备注"), QString("第一行'\n第二行"));
    dialog.close();
}

void TestCustomers::saveAndNextCycle() {
    TestSession t;
    addTownships(t, {{"城关镇", "东村"}, {"河口乡", "北村"}});
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    auto* save = child<QPushButton>(&dialog, "BitBtn1");
    typeText(child<QLineEdit>(&dialog, "Edit2"), "赵六");
    choose(child<QComboBox>(&dialog, "ComboBox1"), "河口乡");
    click(save);
    QVERIFY(!save->isEnabled());
    click(save); // a second press cannot store the customer twice
    QCOMPARE(t.count("客户信息"), 1);
    QCOMPARE(text(&dialog, "Edit2"), QString("赵六"));

    click(child(&dialog, "BitBtn2"));
    QVERIFY(save->isEnabled());
    QCOMPARE(text(&dialog, "Edit1"), QString("2"));
    for (const char* b : {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"})
        QCOMPARE(text(&dialog, b), QString());
    QCOMPARE(child<QDateEdit>(&dialog, "DateTimePicker1")->date(), QDate::currentDate());
    QCOMPARE(child<QComboBox>(&dialog, "ComboBox1")->currentText(), QString("河口乡"));
    QCOMPARE(child<QComboBox>(&dialog, "ComboBox2")->currentText(), QString("北村"));
    typeText(child<QLineEdit>(&dialog, "Edit2"), "钱七");
    click(save);
    QCOMPARE(t.rows("select 客户编号, 客户名称, 地址 from 客户信息 order by 客户编号"),
             (QList<QStringList>{{"1", "赵六", "河口乡"}, {"2", "钱七", ""}}));
    QCOMPARE(t.messages().texts(), (QStringList{"客户档案新增成功！", "客户档案新增成功！"}));

    // "退出" closes without saving; the next showing starts afresh.
    click(child(&dialog, "BitBtn3"));
    QVERIFY(!dialog.isVisible());
    dialog.show();
    QCOMPARE(text(&dialog, "Edit1"), QString("3"));
    QCOMPARE(text(&dialog, "Edit2"), QString());
    QVERIFY(save->isEnabled());
    dialog.close();
}

void TestCustomers::failedSaveKeepsInput() {
    TestSession t;
    refuseChange(t.dm(), "insert", "客户信息", "不接受这个名称", "new.客户名称='拒绝'");
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    typeText(child<QLineEdit>(&dialog, "Edit2"), "拒绝");
    typeText(child<QLineEdit>(&dialog, "Edit6"), "123");
    click(child(&dialog, "BitBtn1"));
    QCOMPARE(t.messages().shown.size(), size_t(1));
    QVERIFY(t.messages().last().text.contains("不接受这个名称"));
    QCOMPARE(t.messages().last().icon, MsgIcon::None);
    QCOMPARE(t.count("客户信息"), 0);
    QVERIFY(child<QPushButton>(&dialog, "BitBtn1")->isEnabled());
    QCOMPARE(text(&dialog, "Edit2"), QString("拒绝"));
    QCOMPARE(text(&dialog, "Edit6"), QString("123"));
    QCOMPARE(text(&dialog, "Edit1"), QString("1"));
    dialog.close();
}

void TestCustomers::enterChain() {
    TestSession t;
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    const char* chain[] = {"Edit1", "Edit2", "Edit3",           "Edit4", "Edit5",
                           "Edit6", "Edit7", "DateTimePicker1", "Memo1"};
    child(&dialog, chain[0])->setFocus();
    for (size_t i = 0; i + 1 < std::size(chain); ++i) {
        QWidget* from = child(&dialog, chain[i]);
        QVERIFY2(from->hasFocus(), chain[i]);
        pressEnter(from);
        QVERIFY2(child(&dialog, chain[i + 1])->hasFocus(), chain[i + 1]);
    }
    typeText(child(&dialog, "Edit2"), "");
    auto* memo = child<QPlainTextEdit>(&dialog, "Memo1");
    typeText(memo, "a");
    pressEnter(memo);
    typeText(memo, "b");
    QCOMPARE(memo->toPlainText(), QString("a\nb"));
    // Enter in the township box is not on the chain and never saves.
    typeText(child<QLineEdit>(&dialog, "Edit2"), "孙八");
    pressEnter(child(&dialog, "ComboBox1"));
    QCOMPARE(t.count("客户信息"), 0);
    QVERIFY(t.messages().shown.empty());
    QVERIFY(dialog.isVisible());
    dialog.close();
}

void TestCustomers::archiveOpens() {
    Fonts::install(); // the program's fonts: identity numbers and telephones widen their columns
    MainWindowTest t;
    addCustomer(t, 1, "张三", "第一行\n第二行");
    addCustomer(t, 2, "李四");
    Tkehu& archive = t.screen<Tkehu>("N32");
    QCOMPARE(archive.windowTitle(), QString("客户档案"));
    QCOMPARE(archive.placement(), QRect(0, 0, 1020, 604));
    archive.show();
    auto* grid = child<DataGrid>(&archive, "DBGrid1");
    QCOMPARE(grid->toolTip(), QString("单击列头可实现排序"));
    const QList<GridColumn> cols = grid->columns();
    QStringList fields;
    QList<int> widths;
    for (const GridColumn& c : cols) {
        fields << c.field;
        widths << c.width;
    }
    QCOMPARE(fields, (QStringList{"客户编号", "客户名称", "身份证号", "出生年", "地址", "电话", "手机",
                                  "起用日期", "备注"}));
    QCOMPARE(widths, (QList<int>{55, 140, 124, 50, 230, 85, 120, 70, 100}));
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->cellText(0, "起用日期"), QString("2008-3-5"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
             int(Qt::AlignCenter));
    auto* column = child<QComboBox>(&archive, "ComboBox1");
    QCOMPARE(items(column), (QStringList{"客户名称", "地址", "电话", "手机"}));
    QCOMPARE(column->currentText(), QString("客户名称"));
    QCOMPARE(text(&archive, "Edit1"), QString());
    QStringList captions;
    for (const char* b : {"ToolButton1", "ToolButton2", "ToolButton3", "ToolButton4", "ToolButton5"}) {
        captions << child<QToolButton>(&archive, b)->text();
        QVERIFY(child(&archive, b)->isEnabled());
    }
    QCOMPARE(captions, (QStringList{"新增", "修改", "删除", "刷新", "退出"}));
    // "新增" shows the new dialog; the list is not read again when it closes.
    auto& dialog = t.session().dialog<Txinzengkehu>();
    whenShown(&dialog, [&] {
        typeText(child<QLineEdit>(&dialog, "Edit2"), "王五");
        click(child(&dialog, "BitBtn1"));
    });
    click(child(&archive, "ToolButton1"));
    QCOMPARE(t.count("客户信息"), 3);
    QCOMPARE(grid->rowCount(), 2);
    click(child(&archive, "ToolButton4"));
    QCOMPARE(grid->rowCount(), 3);
    click(child(&archive, "ToolButton5"));
    QVERIFY(!archive.isVisible());
}

void TestCustomers::search_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("name") << "客户名称"
                          << "张" << QStringList{"张三", "张三丰"};
    QTest::newRow("telephone") << "电话"
                               << "2" << QStringList{"李四"};
    QTest::newRow("typed remark column") << "备注"
                                         << "老" << QStringList{"张三丰"};
    QTest::newRow("typed number column") << "客户编号"
                                         << "3" << QStringList{"张三丰"};
    QTest::newRow("empty text skips nulls") << "备注"
                                            << "" << QStringList{"张三", "张三丰", "O'Neil"};
    QTest::newRow("quote literally") << "客户名称"
                                     << "O'N" << QStringList{"O'Neil"};
    QTest::newRow("percent literally") << "备注"
                                       << "100%" << QStringList{"O'Neil"};
    QTest::newRow("underscore literally") << "备注"
                                          << "a_b" << QStringList{};
}

void TestCustomers::search() {
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(QStringList, names);
    MainWindowTest t;
    addCustomer(t, 1, "张三", "");
    addCustomer(t, 2, "李四");
    t.dm().ADOall.exec("update 客户信息 set 备注=null where 客户编号=2");
    addCustomer(t, 3, "张三丰", "老客户");
    addCustomer(t, 4, "O'Neil", "100% axb");
    Tkehu& archive = t.screen<Tkehu>("N32");
    archive.show();
    auto* combo = child<QComboBox>(&archive, "ComboBox1");
    if (combo->findText(column) >= 0) {
        choose(combo, column);
    } else {
        combo->lineEdit()->clear();
        typeText(combo->lineEdit(), column);
    }
    typeText(child<QLineEdit>(&archive, "Edit1"), text);
    click(child(&archive, "BitBtn1"));
    QVERIFY(t.messages().shown.empty());
    auto* grid = child<DataGrid>(&archive, "DBGrid1");
    QStringList found;
    for (int r = 0; r < grid->rowCount(); ++r)
        found << grid->cellText(r, "客户名称");
    QCOMPARE(found, names);
}

void TestCustomers::searchColumnIsChecked() {
    MainWindowTest t;
    addCustomer(t, 1, "张三");
    Tkehu& archive = t.screen<Tkehu>("N32");
    archive.show();
    auto* combo = child<QComboBox>(&archive, "ComboBox1");
    combo->lineEdit()->clear();
    typeText(combo->lineEdit(), "1=1 or 客户名称");
    click(child(&archive, "BitBtn1"));
    QCOMPARE(t.messages().texts(), QStringList{"表“客户信息”中没有名为“1=1 or 客户名称”的列！"});
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    // Nothing ran: the list still shows what it showed.
    QCOMPARE(child<DataGrid>(&archive, "DBGrid1")->rowCount(), 1);
}

void TestCustomers::editFillsDialogAndSaves() {
    MainWindowTest t;
    addCustomer(t, 1, "张三");
    addCustomer(t, 2, "李四", "备注一\n备注二");
    t.dm().ADOall.exec("update 客户信息 set 身份证号='110', 出生年='1970' where 客户编号=2");
    Tkehu& archive = t.screen<Tkehu>("N32");
    archive.show();
    auto* grid = child<DataGrid>(&archive, "DBGrid1");
    grid->setCurrentIndex(grid->model()->index(1, grid->currentIndex().column()));
    // The end-of-data mark does not stop the command.
    QTest::keyClick(grid, Qt::Key_Down);
    QVERIFY(grid->eof());
    auto& dialog = t.session().dialog<Txiugaikehu>();
    bool checked = false;
    whenShown(&dialog, [&] {
        QCOMPARE(dialog.windowTitle(), QString("修改客户档案"));
        QCOMPARE(text(&dialog, "Edit1"), QString("2"));
        QCOMPARE(text(&dialog, "Edit2"), QString("李四"));
        QCOMPARE(text(&dialog, "Edit3"), QString("110"));
        QCOMPARE(text(&dialog, "Edit4"), QString("1970"));
        QCOMPARE(text(&dialog, "Edit5"), QString("地址李四"));
        QCOMPARE(text(&dialog, "Edit6"), QString("电话2"));
        QCOMPARE(text(&dialog, "Edit7"), QString("1392"));
        QCOMPARE(child<QDateEdit>(&dialog, "DateTimePicker1")->date(), QDate(2008, 3, 5));
        QCOMPARE(child<QPlainTextEdit>(&dialog, "Memo1")->toPlainText(), QString("备注一\n备注二"));
        QVERIFY(!dialog.findChild<QWidget*>("BitBtn2"));
        child<QLineEdit>(&dialog, "Edit2")->selectAll();
        typeText(child<QLineEdit>(&dialog, "Edit2"), "李四'新");
        click(child(&dialog, "BitBtn1"));
        QVERIFY(!dialog.isVisible());
        checked = true;
    });
    click(child(&archive, "ToolButton2"));
    QVERIFY(checked);
    QCOMPARE(t.messages().texts(), QStringList{"修改客户档案成功！"});
    QCOMPARE(t.messages().last().caption, QString("提示"));
    QCOMPARE(t.rows("select 客户编号, 客户名称, 备注 from 客户信息 order by 客户编号"),
             (QList<QStringList>{{"1", "张三", ""}, {"2", "李四'新", "备注一\n备注二"}}));
    QCOMPARE(grid->cellText(1, "客户名称"), QString("李四"));
    click(child(&archive, "ToolButton4"));
    QCOMPARE(grid->cellText(1, "客户名称"), QString("李四'新"));
}

void TestCustomers::editWithUnreadableDateIsReported() {
    MainWindowTest t;
    addCustomer(t, 1, "张三");
    t.dm().ADOall.exec("update 客户信息 set 起用日期='abc'");
    Tkehu& archive = t.screen<Tkehu>("N32");
    archive.show();
    auto& dialog = t.session().dialog<Txiugaikehu>();
    bool opened = false;
    QTimer::singleShot(0, &dialog, [&] {
        opened = dialog.isVisible();
        if (opened)
            dialog.reject();
    });
    click(child(&archive, "ToolButton2"));
    QCOMPARE(t.messages().texts(), QStringList{"“abc”不是有效的日期！"});
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QVERIFY(!dialog.isVisible());
    QCoreApplication::processEvents();
    QVERIFY(!opened);
}

void TestCustomers::emptyListIgnoresEditAndDelete() {
    MainWindowTest t;
    Tkehu& archive = t.screen<Tkehu>("N32");
    archive.show();
    QCOMPARE(child<DataGrid>(&archive, "DBGrid1")->rowCount(), 0);
    click(child(&archive, "ToolButton2"));
    click(child(&archive, "ToolButton3"));
    QVERIFY(t.messages().shown.empty());
    QVERIFY(!t.session().dialog<Txiugaikehu>().isVisible());
}

void TestCustomers::deleteAsksFirst_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("cancel") << false;
    QTest::newRow("ok") << true;
}

void TestCustomers::deleteAsksFirst() {
    QFETCH(bool, ok);
    MainWindowTest t;
    addCustomer(t, 1, "张三");
    addCustomer(t, 2, "李四");
    addCustomer(t, 3, "王五");
    t.dm().ADOall.exec("insert into 维修记录(客户编号,客户名称,维修费) values(2,'李四',50000)");
    t.dm().ADOall.exec("insert into 收款记录(客户编号,客户名称,金额) values(2,'李四',50000)");
    Tkehu& archive = t.screen<Tkehu>("N32");
    archive.show();
    auto* grid = child<DataGrid>(&archive, "DBGrid1");
    grid->setCurrentIndex(grid->model()->index(1, grid->currentIndex().column()));
    t.messages().answer(ok ? QMessageBox::Ok : QMessageBox::Cancel);
    click(child(&archive, "ToolButton3"));
    const MessageBoxSpec box = t.messages().last();
    QCOMPARE(box.text, QString("确实要删除该客户档案吗？注意：该操作不可恢复！"));
    QCOMPARE(box.caption, QString("系统提示"));
    QCOMPARE(box.icon, MsgIcon::Question);
    QCOMPARE(box.buttons, MsgButtons::OkCancel);
    QCOMPARE(t.messages().shown.size(), size_t(1));
    QCOMPARE(t.rows("select 客户名称 from 客户信息 order by 客户编号"),
             ok ? (QList<QStringList>{{"张三"}, {"王五"}})
                : (QList<QStringList>{{"张三"}, {"李四"}, {"王五"}}));
    QCOMPARE(grid->rowCount(), ok ? 2 : 3);
    QCOMPARE(grid->currentRecord().text("客户名称"), QString(ok ? "王五" : "李四"));
    QCOMPARE(t.count("维修记录"), 1);
    QCOMPARE(t.count("收款记录"), 1);
}

void TestCustomers::sortByTitles() {
    MainWindowTest t;
    addCustomer(t, 1, "张三");
    addCustomer(t, 2, "李四");
    addCustomer(t, 3, "张三");
    addCustomer(t, 4, "阿五");
    Tkehu& archive = t.screen<Tkehu>("N32");
    archive.show();
    auto* grid = child<DataGrid>(&archive, "DBGrid1");
    QHeaderView* header = grid->horizontalHeader();
    auto titlePos = [&](const QString& field) {
        for (int l = 0; l < header->count(); ++l)
            if (grid->model()->headerData(l, Qt::Horizontal).toString().startsWith(field))
                return QPoint(header->sectionViewportPosition(l) + header->sectionSize(l) / 2,
                              header->height() / 2);
        return QPoint();
    };
    auto numbers = [&] {
        QStringList out;
        for (int r = 0; r < grid->rowCount(); ++r)
            out << grid->cellText(r, "客户编号");
        return out;
    };
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, titlePos("客户名称"));
    QCOMPARE(numbers(), (QStringList{"4", "2", "1", "3"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, titlePos("客户名称"));
    QStringList names;
    for (int r = 0; r < grid->rowCount(); ++r)
        names << grid->cellText(r, "客户名称");
    QCOMPARE(names, (QStringList{"张三", "张三", "李四", "阿五"}));
    QCOMPARE(
        grid->model()->headerData(header->logicalIndexAt(titlePos("客户名称")), Qt::Horizontal).toString(),
        QString("客户名称 ▼"));
    // Name ascending, then number descending, applied when Ctrl is released.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, titlePos("客户名称"));
    QTest::keyPress(grid, Qt::Key_Control);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::ControlModifier, titlePos("客户编号"));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::ControlModifier, titlePos("客户编号"));
    QTest::keyRelease(grid, Qt::Key_Control);
    QCOMPARE(numbers(), (QStringList{"4", "2", "3", "1"}));
}

QTEST_MAIN(TestCustomers)
#include "tst_customers.moc"
