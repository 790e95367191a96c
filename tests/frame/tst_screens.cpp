#include "admin/txiugaicaozuoyuan.h"
#include "customers/txinzengkehu.h"
#include "customers/txiugaikehu.h"
#include "data/dates.h"
#include "frame/tloginform.h"
#include "reports/tchaxun.h"
#include "reports/thuizong.h"
#include "reports/tjiaokuanjilu.h"
#include "reports/tyiri.h"
#include "support/mainwindowtest.h"
#include "trade/recordeditdialog.h"
#include "trade/tbushou.h"
#include "trade/tdinggou.h"
#include "trade/tweixiu.h"
#include "ui/datagrid.h"
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <map>

using namespace TestInput;

namespace {
// Every screen the main window opens: its command, the button of that screen that opens it (for
// the new-operator window), its caption and its own button that leaves it.
struct ScreenRow {
    const char* command;
    const char* via;
    const char* caption;
    const char* leave;
};
const ScreenRow kScreens[] = {
    {"N2", "", "操作人员设置", "BitBtn4"},
    {"N2", "BitBtn1", "新增操作人员", "BitBtn3"},
    {"N11", "", "修改密码", "BitBtn2"},
    {"N7", "", "店铺名称设置", "BitBtn2"},
    {"N6", "", "数据整理", "BitBtn2"},
    {"ToolButton1", "", "客户档案", "ToolButton5"},
    {"ToolButton2", "", "维修项目设置", "BitBtn1"},
    {"N41", "", "乡镇、村庄设置", "BitBtn1"},
    {"ToolButton3", "", "订购（销售）记录录入", "BitBtn3"},
    {"N38", "", "订购（销售）记录修改", "BitBtn2"},
    {"ToolButton4", "", "维修记录录入", "BitBtn3"},
    {"N39", "", "维修记录修改", "BitBtn2"},
    {"ToolButton5", "", "补收欠款", "BitBtn4"},
    {"ToolButton6", "", "查询客户所有资料", "BitBtn2"},
    {"N34", "", "查询客户交款记录", "BitBtn2"},
    {"N5", "", "一日销售、维修及帐款情况一览", "BitBtn2"},
    {"N40", "", "销售、维修及帐款情况汇总", "BitBtn7"},
    {"N42", "", "修改记录查询", "BitBtn2"},
    {"N50", "", "主机序列号查询", "BitBtn2"},
};

void screenColumns() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("via");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("leave");
}

// Opens the screen of a row as the staff do and returns it.
QWidget* openRow(MainWindowTest& t, const QString& command, const QString& via, const QString& caption) {
    QWidget* s = t.open(command);
    if (s && !via.isEmpty()) {
        click(s->findChild<QAbstractButton*>(via));
        s = t.window(caption) ? t.window(caption)->widget() : nullptr;
    }
    return s;
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
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

QStringList column(const DataGrid* g, const QString& field) {
    QStringList out;
    for (int r = 0; r < g->rowCount(); ++r)
        out << g->cellText(r, field);
    out.sort();
    return out;
}
} // namespace

class TestScreens : public QObject {
    Q_OBJECT
  private slots:
    void leavingKeepsTheMainWindow_data();
    void leavingKeepsTheMainWindow();
    void everyBoxHasAName_data();
    void everyBoxHasAName();
    void openedScreenTakesKeys_data();
    void openedScreenTakesKeys();
    void failedSaveChangesNoOtherScreen();
    void roadOfASale();
};

void TestScreens::leavingKeepsTheMainWindow_data() {
    screenColumns();
    for (const ScreenRow& r : kScreens) {
        QTest::newRow(r.caption) << r.command << r.via << r.caption << r.leave;
        QTest::newRow(qPrintable(QString::fromUtf8(r.caption) + " close box"))
            << r.command << r.via << r.caption << "";
    }
}

void TestScreens::leavingKeepsTheMainWindow() {
    QFETCH(QString, command);
    QFETCH(QString, via);
    QFETCH(QString, caption);
    QFETCH(QString, leave);
    MainWindowTest t;
    // Another screen stays open beside it.
    const QString other = caption == "补收欠款" ? "客户档案" : "补收欠款";
    QVERIFY(t.open(caption == "补收欠款" ? "N32" : "N28"));
    QWidget* s = openRow(t, command, via, caption);
    QVERIFY(s);
    QVERIFY(t.window(caption));
    if (leave.isEmpty()) {
        t.window(caption)->close();
    } else {
        auto* button = s->findChild<QAbstractButton*>(leave);
        QVERIFY(button);
        QCOMPARE(button->text(), QString("退出"));
        click(button);
    }
    settle();
    QCOMPARE(t.messages().texts(), QStringList());
    QVERIFY(t.mainWindowStands());
    QVERIFY(!t.window(caption));
    QVERIFY(t.window(other));
}

void TestScreens::everyBoxHasAName_data() {
    screenColumns();
    for (const ScreenRow& r : kScreens)
        QTest::newRow(r.caption) << r.command << r.via << r.caption << r.leave;
    // The dialogs the screens open, and the login window.
    for (const char* d :
         {"新增客户档案", "修改客户档案", "修改操作人员", "修改销售记录", "修改维修记录", "登录"})
        QTest::newRow(d) << ""
                         << "" << d << "";
}

void TestScreens::everyBoxHasAName() {
    QFETCH(QString, command);
    QFETCH(QString, via);
    QFETCH(QString, caption);
    MainWindowTest t;
    Tloginform login(t.session(), &t.main());
    const std::map<QString, QWidget*> dialogs{{"新增客户档案", &t.session().dialog<Txinzengkehu>()},
                                              {"修改客户档案", &t.session().dialog<Txiugaikehu>()},
                                              {"修改操作人员", &t.session().dialog<Txiugaicaozuoyuan>()},
                                              {"修改销售记录", &t.session().dialog<Txiugaidinggoujilu>()},
                                              {"修改维修记录", &t.session().dialog<Txiugaiweixiujilu>()},
                                              {"登录", &login}};
    QWidget* s = command.isEmpty() ? dialogs.at(caption) : openRow(t, command, via, caption);
    QVERIFY(s);
    QStringList unnamed;
    int boxes = 0;
    for (QWidget* w : s->findChildren<QWidget*>()) {
        const bool box = qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                         qobject_cast<QAbstractItemView*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                         qobject_cast<QTextEdit*>(w) || qobject_cast<QPlainTextEdit*>(w);
        // The text of a combo box or a date picker, and the lists inside them, are parts of that box.
        const QWidget* p = w->parentWidget();
        while (p && p != s && !qobject_cast<const QComboBox*>(p) &&
               !qobject_cast<const QAbstractSpinBox*>(p) && !qobject_cast<const QAbstractItemView*>(p) &&
               !p->isWindow())
            p = p->parentWidget();
        if (!box || p != s)
            continue;
        ++boxes;
        // Its accessible name, or the label that has it as buddy; a combo box's own accessible text
        // is its current entry, which names nothing.
        QString name = w->accessibleName();
        for (QLabel* l : w->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (name.isEmpty() && l->buddy() == w)
                name = l->text();
        if (name.trimmed().isEmpty())
            unnamed << w->objectName() + "(" + w->metaObject()->className() + ")";
        else if (!qobject_cast<QComboBox*>(w))
            QCOMPARE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name), name);
    }
    QVERIFY(boxes > 0);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
    // Buttons are known by their captions.
    for (QAbstractButton* b : s->findChildren<QAbstractButton*>())
        if (!b->text().isEmpty() && b->isVisibleTo(s))
            QCOMPARE(QAccessible::queryAccessibleInterface(b)->text(QAccessible::Name),
                     QString(b->text()).remove('&'));
}

void TestScreens::openedScreenTakesKeys_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("via");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("box");
    QTest::newRow("new operator") << "N2"
                                  << "BitBtn1"
                                  << "新增操作人员"
                                  << "Edit1";
    QTest::newRow("sales entry") << "N10"
                                 << ""
                                 << "订购（销售）记录录入"
                                 << "Edit7";
    QTest::newRow("repair entry") << "N26"
                                  << ""
                                  << "维修记录录入"
                                  << "Edit6";
    QTest::newRow("arrears") << "N28"
                             << ""
                             << "补收欠款"
                             << "Edit5";
    QTest::newRow("sales maintenance") << "N38"
                                       << ""
                                       << "订购（销售）记录修改"
                                       << "Edit4";
    QTest::newRow("history") << "N30"
                             << ""
                             << "查询客户所有资料"
                             << "Edit4";
    QTest::newRow("payments") << "N34"
                              << ""
                              << "查询客户交款记录"
                              << "Edit4";
}

void TestScreens::openedScreenTakesKeys() {
    QFETCH(QString, command);
    QFETCH(QString, via);
    QFETCH(QString, caption);
    QFETCH(QString, box);
    MainWindowTest t;
    QWidget* s = openRow(t, command, via, caption);
    QVERIFY(s);
    // Keys typed at once, without a click, reach the first box.
    QTest::keyClicks(static_cast<QWidget*>(nullptr), "a5");
    QCOMPARE(s->findChild<QLineEdit*>(box)->text(), QString("a5"));
}

void TestScreens::failedSaveChangesNoOtherScreen() {
    MainWindowTest t;
    for (int n : {1, 2, 3})
        t.dm().ADOall.exec("insert into 客户信息(客户编号,客户名称,起用日期) values(?,?,'2008-03-05')",
                           {n, QString("客户%1").arg(n)});
    t.dm().ADOall.exec("create trigger refuse before insert on 客户信息 when new.客户名称='拒绝' "
                       "begin select raise(abort, '不接受这个名称'); end");
    QWidget* archive = t.open("N32");
    auto* grid = archive->findChild<DataGrid*>("DBGrid1");
    QCOMPARE(grid->rowCount(), 3);
    grid->setCurrentIndex(grid->model()->index(2, grid->currentIndex().column()));
    // A fuzzy search of the sales entry shows its customer list.
    auto& sales = t.screen<Tdinggou>("N10");
    typeText(sales.Edit1, "客户");
    click(sales.BitBtn1);
    auto* list = sales.findChild<DataGrid*>("DBGrid2");
    QCOMPARE(list->rowCount(), 3);
    auto& dialog = t.session().dialog<Txinzengkehu>();
    whenShown(&dialog, [&] {
        typeText(dialog.findChild<QLineEdit*>("Edit2"), "拒绝");
        click(dialog.findChild<QAbstractButton*>("BitBtn1"));
        QVERIFY(t.messages().last().text.contains("不接受这个名称"));
        // The screens behind show what they showed, where they showed it.
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->currentIndex().row(), 2);
        QCOMPARE(list->rowCount(), 3);
        QVERIFY(list->isVisible());
    });
    click(archive->findChild<QAbstractButton*>("ToolButton1"));
    QCOMPARE(t.messages().shown.size(), size_t(1));
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(t.count("客户信息"), 3);
}

void TestScreens::roadOfASale() {
    MainWindowTest t;
    const QString today = Dates::shortDate(QDate::currentDate());
    QWidget* archive = t.open("ToolButton1");
    auto& sales = t.screen<Tdinggou>("ToolButton3");
    // A new customer, through the sales entry's "新增客户".
    auto& dialog = t.session().dialog<Txinzengkehu>();
    whenShown(&dialog, [&] {
        QCOMPARE(dialog.findChild<QLineEdit*>("Edit1")->text(), QString("1"));
        typeText(dialog.findChild<QLineEdit*>("Edit2"), "王小明");
        typeText(dialog.findChild<QLineEdit*>("Edit5"), "城关镇东村");
        typeText(dialog.findChild<QLineEdit*>("Edit6"), "5551234");
        click(dialog.findChild<QAbstractButton*>("BitBtn1"));
        click(dialog.findChild<QAbstractButton*>("BitBtn3"));
    });
    click(sales.BitBtn6);
    QCOMPARE(t.messages().texts(), QStringList{"客户档案新增成功！"});
    // A sale paid and one unpaid.
    auto sell = [&](const QString& model, const QString& serial, const QString& price, bool paid) {
        typeText(sales.Edit7, "1");
        pressEnter(sales.Edit7);
        QCOMPARE(sales.Edit1->text(), QString("王小明"));
        typeText(sales.Edit4, model);
        typeText(sales.Edit5, serial);
        typeText(sales.Edit6, price);
        click(paid ? sales.paidItem : sales.unpaidItem);
        click(sales.BitBtn2);
        QCOMPARE(t.messages().texts().last(), QString("订购资料录入成功！"));
    };
    sell("联想", "SN-A", "3000", true);
    sell("戴尔", "SN-B", "1500", false);
    // A repair.
    auto& repair = t.screen<Tweixiu>("ToolButton4");
    typeText(repair.Edit6, "1");
    pressEnter(repair.Edit6);
    QCOMPARE(repair.Edit1->text(), QString("王小明"));
    typeText(repair.Edit8, "SN-A");
    typeText(repair.Edit5, "80");
    repair.ListView1->topLevelItem(0)->setCheckState(0, Qt::Checked);
    click(repair.BitBtn2);
    QCOMPARE(t.messages().texts().last(), QString("维修资料录入成功！"));
    // The arrears are listed; meanwhile the sales entry books one more debt of the customer, which
    // the customer has not seen and does not pay now.
    auto& arrears = t.screen<Tbushou>("ToolButton5");
    typeText(arrears.Edit5, "1");
    click(arrears.BitBtn1);
    QCOMPARE(arrears.ListView1->model()->rowCount(), 1);
    sell("华硕", "SN-C", "200", false);
    QVERIFY(t.window("补收欠款"));
    click(arrears.BitBtn5);
    click(arrears.BitBtn7);
    QCOMPARE(arrears.Edit4->text(), QString("1500"));
    click(arrears.BitBtn3);
    QCOMPARE(t.messages().texts().last(), QString("补收欠款成功！"));
    QCOMPARE(t.rows("select 主机序列号, 付款情况 from 帐款明细 where 付款情况='未付款'"),
             (QList<QStringList>{{"SN-C", "未付款"}}));
    // The history, payment history, daily overview and period summary show exactly these rows.
    auto& history = t.screen<Tchaxun>("ToolButton6");
    typeText(history.Edit4, "1");
    click(history.BitBtn5);
    QCOMPARE(column(history.DBGrid1, "主机序列号"), (QStringList{"SN-A", "SN-B", "SN-C"}));
    QCOMPARE(column(history.DBGrid2, "维修费"), QStringList{"80"});
    QCOMPARE(column(history.DBGrid3, "应付金额"), (QStringList{"1500", "200", "3000", "80"}));
    QCOMPARE(column(history.DBGrid3, "付款情况"), (QStringList{"已付款", "已付款", "已付款", "未付款"}));
    auto& payments = t.screen<Tjiaokuanjilu>("N34");
    typeText(payments.Edit4, "1");
    click(payments.BitBtn5);
    QCOMPARE(column(payments.DBGrid1, "金额"), (QStringList{"1500", "3000", "80"}));
    QCOMPARE(column(payments.DBGrid1, "日期"), (QStringList{today, today, today}));
    QCOMPARE(payments.DBGrid1->footerText("金额"), QString("4580"));
    auto& daily = t.screen<Tyiri>("N5");
    click(daily.BitBtn1);
    QCOMPARE(daily.DBGrid1->footerText("价格"), QString("4700"));
    QCOMPARE(daily.DBGrid2->footerText("维修费"), QString("80"));
    QCOMPARE(daily.DBGrid3->footerText("应付金额"), QString("4780"));
    QCOMPARE(daily.DBGrid3->rowCount(), 4);
    auto& summary = t.screen<Thuizong>("N40");
    click(summary.BitBtn1);
    QCOMPARE(column(summary.DBGrid1, "主机序列号"), (QStringList{"SN-A", "SN-B", "SN-C"}));
    QCOMPARE(summary.DBGrid1->footerText("价格"), QString("4700"));
    click(summary.RadioButton3);
    click(summary.BitBtn6);
    QCOMPARE(column(summary.DBGrid3, "主机序列号"), QStringList{"SN-C"});
    // Every screen of the road is still open, in the order it was opened, the archive first.
    QCOMPARE(t.captions(),
             (QStringList{"客户档案", "订购（销售）记录录入", "维修记录录入", "补收欠款", "查询客户所有资料",
                          "查询客户交款记录", "一日销售、维修及帐款情况一览", "销售、维修及帐款情况汇总"}));
    QVERIFY(archive->isVisible());
    QVERIFY(t.mainWindowStands());
}

QTEST_MAIN(TestScreens)
#include "tst_screens.moc"
