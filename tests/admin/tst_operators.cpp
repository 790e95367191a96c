#include "admin/operatorform.h"
#include "admin/register.h"
#include "admin/tcaozuorenyuan.h"
#include "admin/tdayinshezhi.h"
#include "admin/tguaqi.h"
#include "admin/txinzengcaozuorenyuan.h"
#include "admin/txiugaicaozuoyuan.h"
#include "admin/txiugaimima.h"
#include "data/passwords.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "support/mainwindowtest.h"
#include "support/testsession.h"
#include "ui/screenregistry.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace TestInput;

namespace {
// Stores an operator; flags lists the flag columns that are true.
void addOperator(TestSession& t, const QString& number, const QString& name, const QVariant& password,
                 const QList<int>& flags) {
    QStringList cols{"操作员", "姓名", "密码"};
    // Stored as the program stores it; a low count keeps the test quick.
    QVariantList values{number, name,
                        password.isNull() ? password : QVariant(Passwords::hash(password.toString(), 1000))};
    for (int f = 1; f <= 17; ++f) {
        cols << QString("\"%1\"").arg(f);
        values << (flags.contains(f) ? 1 : 0);
    }
    QStringList marks;
    for (int i = 0; i < values.size(); ++i)
        marks << "?";
    t.dm().ADOall.exec(QString("insert into 操作员 (%1) values (%2)").arg(cols.join(','), marks.join(',')),
                       values);
}

// A stored password as the text it is the hash of (expected), or marked as not hashed.
QString passwordShown(const QString& stored, const QString& expected) {
    if (stored.isEmpty() || (Passwords::isHash(stored) && Passwords::verify(expected, stored)))
        return stored.isEmpty() ? QString() : expected;
    return "not a hash of it: " + stored;
}

// The operators as number, name and password, each hash shown as the expected password it verifies.
QList<QStringList> operatorsLike(TestSession& t, const QList<QStringList>& expected) {
    auto rows = t.rows("select 操作员, 姓名, 密码 from 操作员 order by rowid");
    for (qsizetype i = 0; i < rows.size(); ++i)
        rows[i][2] = passwordShown(rows[i][2], expected.value(i).value(2));
    return rows;
}

QList<int> ticked(QWidget* w) {
    QList<int> out;
    for (int f = 1; f <= 17; ++f)
        if (w->findChild<QCheckBox*>(QString("CheckBox%1").arg(f))->isChecked())
            out << f;
    return out;
}

QList<QStringList> gridRows(QTableWidget* g) {
    QList<QStringList> out;
    for (int r = 0; r < g->rowCount(); ++r)
        out << QStringList{g->item(r, 0)->text(), g->item(r, 1)->text()};
    return out;
}

QPushButton* buttonOf(QWidget* w, const QString& text) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

void doubleClickRow(QTableWidget* g, int row) {
    const QRect r = g->visualRect(g->model()->index(row, 0));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, r.center());
}

void clickRow(QTableWidget* g, int row) {
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(row, 0)).center());
}

QList<int> allFlags() {
    QList<int> all;
    for (int f = 1; f <= 17; ++f)
        all << f;
    return all;
}
// The new-operator window, opened with "新增" of the operators screen.
Txinzengcaozuorenyuan& newOperatorWindow(MainWindowTest& t) {
    click(t.screen<Tcaozuorenyuan>("N2").BitBtn1);
    return *qobject_cast<Txinzengcaozuorenyuan*>(t.window("新增操作人员")->widget());
}
} // namespace

class TestOperators : public QObject {
    Q_OBJECT
  private slots:
    void registryHoldsScreensAndCommands();
    void listAndRights();
    void protectedAdministrator_data();
    void protectedAdministrator();
    void deleteLoggedInOperator_data();
    void deleteLoggedInOperator();
    void newOperatorChecks_data();
    void newOperatorChecks();
    void numberTakenInOtherCase();
    void selectAllThenNext();
    void newWindowOpensOnceAndListFollows();
    void editDialogNeedsPasswordRetyped();
    void passwordChange_data();
    void passwordChange();
    void lockAcceptsOnlyLoginPassword_data();
    void lockAcceptsOnlyLoginPassword();
    void lockCannotBeClosedAndHidesWork();
    void lockCommandIsModal();
    void shopNameSettings_data();
    void shopNameSettings();
};

void TestOperators::registryHoldsScreensAndCommands() {
    TestSession t;
    ScreenRegistry r;
    registerAdminScreens(r);
    const QList<QPair<QString, QString>> screens{{"操作人员设置", "Tcaozuorenyuan"},
                                                 {"修改密码", "Txiugaimima"},
                                                 {"店铺名称设置", "Tdayinshezhi"},
                                                 {"数据整理", "Tzhengli"}};
    for (const auto& [caption, cls] : screens) {
        QVERIFY2(r.screen(caption), qPrintable(caption));
        std::unique_ptr<Screen> s(r.screen(caption)(t.session()));
        QCOMPARE(s->objectName(), cls);
    }
    for (const char* item : {"N3", "N12", "N4", "ToolButton8"})
        QVERIFY2(r.command(item), item);
    QVERIFY(!r.command("N2"));
}

void TestOperators::listAndRights() {
    MainWindowTest t;
    addOperator(t, "0002", "张三", "pw", {2, 5, 17});
    addOperator(t, "", "", QVariant(), {1});
    Tcaozuorenyuan& w = t.screen<Tcaozuorenyuan>("N2");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(gridRows(w.StringGrid1), (QList<QStringList>{{"0001", "系统管理员"}, {"0002", "张三"}}));
    QCOMPARE(w.StringGrid1->horizontalHeaderItem(0)->text(), QString("编号"));
    QCOMPARE(w.StringGrid1->horizontalHeaderItem(1)->text(), QString("姓名"));
    QCOMPARE(w.StringGrid1->toolTip(), QString("双击编号即在右边显示该操作人员的权限！"));
    QCOMPARE(w.findChild<QCheckBox*>("CheckBox8")->text(), QString("订购（销售）记录录入"));
    QCOMPARE(w.findChild<QCheckBox*>("CheckBox15")->text(), QString("一日销售、维修及帐款情况一览"));
    QCOMPARE(w.StringGrid1->currentRow(), 0);
    QCOMPARE(ticked(&w), allFlags());

    doubleClickRow(w.StringGrid1, 1);
    QCOMPARE(ticked(&w), (QList<int>{2, 5, 17}));
    // A single click selects without showing the rights.
    clickRow(w.StringGrid1, 0);
    QCOMPARE(w.StringGrid1->currentRow(), 0);
    QCOMPARE(ticked(&w), (QList<int>{2, 5, 17}));
    // Ticking here stores nothing.
    click(w.findChild<QCheckBox*>("CheckBox9"));
    QCOMPARE(t.dm().ADOall.first("select \"9\" from 操作员 where 操作员='0002'").integer("9"), 0);
}

void TestOperators::protectedAdministrator_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QList<QStringList>>("left");
    const QList<QStringList> all{{"0001", "系统管理员"}, {"0001", "李四"}};
    QTest::newRow("administrator not edited")
        << 0 << "修改" << QStringList{"对不起！系统管理员的信息不能修改！如要修改密码，请点击“密码修改”！"}
        << all;
    QTest::newRow("administrator not deleted")
        << 0 << "删除" << QStringList{"对不起！系统管理员不能删除！"} << all;
    QTest::newRow("another 0001 not edited")
        << 1 << "修改" << QStringList{"对不起！系统管理员的信息不能修改！如要修改密码，请点击“密码修改”！"}
        << all;
    QTest::newRow("another 0001 deleted alone")
        << 1 << "删除" << QStringList{"确实删除记录？该操作不可恢复！", "删除操作人员成功！"}
        << QList<QStringList>{{"0001", "系统管理员"}};
}

void TestOperators::protectedAdministrator() {
    QFETCH(int, row);
    QFETCH(QString, button);
    QFETCH(QStringList, messages);
    QFETCH(QList<QStringList>, left);
    MainWindowTest t;
    // Only a file of an earlier version can hold a second 0001: a new one refuses it.
    t.dm().ADOall.exec("drop index ux_操作员_编号");
    addOperator(t, "0001", "李四", "x", {3});
    Tcaozuorenyuan& w = t.screen<Tcaozuorenyuan>("N2");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickRow(w.StringGrid1, row);
    click(buttonOf(&w, button));
    QCOMPARE(t.messages().texts(), messages);
    QCOMPARE(t.messages().shown.front().caption, QString(messages.size() == 1 ? "提示" : "删除记录"));
    QCOMPARE(t.rows("select 操作员, 姓名 from 操作员 order by rowid"), left);
    QCOMPARE(gridRows(w.StringGrid1), left);
}

void TestOperators::deleteLoggedInOperator_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QList<QStringList>>("left");
    QTest::newRow("ok") << int(QMessageBox::Ok) << QList<QStringList>{{"0001"}, {"0003"}};
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << QList<QStringList>{{"0001"}, {"0002"}, {"0003"}};
}

void TestOperators::deleteLoggedInOperator() {
    QFETCH(int, answer);
    QFETCH(QList<QStringList>, left);
    MainWindowTest t;
    addOperator(t, "0002", "张三", "pw", {1});
    addOperator(t, "0003", "王五", "pw", {});
    t.session().operatorNumber = "0002";
    t.session().loginPassword = "pw";
    t.session().flags.fill(false);
    t.session().flags[1] = true;
    Tcaozuorenyuan& w = t.screen<Tcaozuorenyuan>("N2");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickRow(w.StringGrid1, 1);
    t.messages().answer(QMessageBox::StandardButton(answer));
    click(w.BitBtn3);
    QCOMPARE(t.rows("select 操作员 from 操作员 order by rowid"), left);
    QCOMPARE(gridRows(w.StringGrid1).size(), left.size());
    QCOMPARE(t.messages().shown.front().icon, MsgIcon::Question);
    // The login itself is untouched.
    QCOMPARE(t.session().operatorNumber, QString("0002"));
    QVERIFY(t.session().flags[1]);
    QVERIFY(!t.session().flags[2]);
    if (answer == QMessageBox::Ok) {
        QCOMPARE(t.messages().last().text, QString("删除操作人员成功！"));
        QCOMPARE(t.messages().last().icon, MsgIcon::Information);
        QCOMPARE(w.StringGrid1->currentRow(), 0);
        QCOMPARE(ticked(&w), allFlags());
    } else {
        QCOMPARE(t.messages().shown.size(), size_t(1));
    }
}

void TestOperators::newOperatorChecks_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("boxesAfter"); // Edit1 to Edit4 after the save
    QTest::addColumn<QList<QStringList>>("stored");
    const QList<QStringList> none{{"0001", "系统管理员", ""}};
    QTest::newRow("no number") << ""
                               << "张三"
                               << "a"
                               << "a"
                               << "编号不能为空！" << QStringList{"", "张三", "a", "a"} << none;
    QTest::newRow("number taken") << "0001"
                                  << "张三"
                                  << "a"
                                  << "a"
                                  << "此编号已经存在！" << QStringList{"", "张三", "a", "a"} << none;
    QTest::newRow("passwords differ in case")
        << "0002"
        << "张三"
        << "abc"
        << "ABC"
        << "两次密码不一致！" << QStringList{"0002", "张三", "", ""} << none;
    QTest::newRow("saved") << "0002"
                           << "张三"
                           << "Pw1"
                           << "Pw1"
                           << "新增操作人员成功！" << QStringList{"0002", "张三", "Pw1", "Pw1"}
                           << QList<QStringList>{{"0001", "系统管理员", ""}, {"0002", "张三", "Pw1"}};
    QTest::newRow("quote kept") << "0'3"
                                << "O'Neil"
                                << ""
                                << ""
                                << "新增操作人员成功！" << QStringList{"0'3", "O'Neil", "", ""}
                                << QList<QStringList>{{"0001", "系统管理员", ""}, {"0'3", "O'Neil", ""}};
}

void TestOperators::newOperatorChecks() {
    QFETCH(QString, number);
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, again);
    QFETCH(QString, message);
    QFETCH(QStringList, boxesAfter);
    QFETCH(QList<QStringList>, stored);
    MainWindowTest t;
    Txinzengcaozuorenyuan& w = newOperatorWindow(t);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    OperatorForm* f = w.form;
    typeText(f->Edit1, number);
    typeText(f->Edit2, name);
    typeText(f->Edit3, password);
    typeText(f->Edit4, again);
    click(w.findChild<QCheckBox*>("CheckBox3"));
    click(w.findChild<QCheckBox*>("CheckBox17"));
    QSignalSpy saved(&w, &Txinzengcaozuorenyuan::saved);
    click(w.BitBtn1);
    QCOMPARE(t.messages().texts(), QStringList{message});
    QCOMPARE(t.messages().last().caption, QString("提示"));
    const bool ok = message == "新增操作人员成功！";
    QCOMPARE(t.messages().last().icon, ok ? MsgIcon::Information : MsgIcon::Error);
    QCOMPARE((QStringList{f->Edit1->text(), f->Edit2->text(), f->Edit3->text(), f->Edit4->text()}),
             boxesAfter);
    QCOMPARE(operatorsLike(t, stored), stored);
    QCOMPARE(saved.count(), ok ? 1 : 0);
    if (ok) {
        QList<int> flags;
        const Row r = t.dm().ADOall.first("select * from 操作员 where 操作员=?", {number});
        for (int n = 1; n <= 17; ++n)
            if (r.flag(QString::number(n)))
                flags << n;
        QCOMPARE(flags, (QList<int>{3, 17}));
    }
}

void TestOperators::numberTakenInOtherCase() {
    MainWindowTest m;
    auto* list = m.open<Tcaozuorenyuan>("N2");
    QVERIFY(list);
    click(list->BitBtn1);
    auto* w = qobject_cast<Txinzengcaozuorenyuan*>(m.window("新增操作人员")->widget());
    QVERIFY(w);
    typeText(w->form->Edit1, "a5");
    click(w->BitBtn1);
    click(w->BitBtn2); // 下一个
    typeText(w->form->Edit1, "A5");
    click(w->BitBtn1);
    QCOMPARE(m.messages().texts(), (QStringList{"新增操作人员成功！", "此编号已经存在！"}));
    QCOMPARE(m.messages().last().icon, MsgIcon::Error);
    QCOMPARE(w->form->Edit1->text(), QString());
    QCOMPARE(m.ts().rows("select 操作员 from 操作员 order by rowid"), (QList<QStringList>{{"0001"}, {"a5"}}));
}

void TestOperators::selectAllThenNext() {
    MainWindowTest t;
    Txinzengcaozuorenyuan& w = newOperatorWindow(t);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QPushButton* all = w.findChild<QPushButton*>("Button1");
    QCOMPARE(all->text(), QString("全选"));
    typeText(w.form->Edit1, "0009");
    click(all);
    QCOMPARE(ticked(&w), allFlags());
    QCOMPARE(all->text(), QString("全清"));
    click(w.BitBtn2); // 下一个
    QCOMPARE(ticked(&w), QList<int>{});
    QCOMPARE(w.form->Edit1->text(), QString());
    QCOMPARE(all->text(), QString("全清"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.form->Edit1));
    click(w.findChild<QCheckBox*>("CheckBox4"));
    click(all);
    QCOMPARE(all->text(), QString("全选"));
    QCOMPARE(ticked(&w), QList<int>{});
}

void TestOperators::newWindowOpensOnceAndListFollows() {
    MainWindowTest t;
    QMdiArea& area = *t.main().mdiArea();
    auto* screen = &t.screen<Tcaozuorenyuan>("N2");
    click(screen->BitBtn1);
    click(screen->BitBtn1);
    QList<QMdiSubWindow*> news;
    for (QMdiSubWindow* s : area.subWindowList())
        if (s->windowTitle() == "新增操作人员")
            news << s;
    QCOMPARE(news.size(), 1);
    auto* w = qobject_cast<Txinzengcaozuorenyuan*>(news.front()->widget());
    QVERIFY(w);
    QCOMPARE(news.front()->pos(), QPoint(150, 0));
    typeText(w->form->Edit1, "0005");
    typeText(w->form->Edit2, "赵六");
    click(w->BitBtn1);
    QCOMPARE(gridRows(screen->StringGrid1), (QList<QStringList>{{"0001", "系统管理员"}, {"0005", "赵六"}}));
    click(w->BitBtn3);
    QTRY_COMPARE(area.subWindowList().size(), 1);
}

void TestOperators::editDialogNeedsPasswordRetyped() {
    MainWindowTest t;
    addOperator(t, "0002", "张三", "pw", {1, 6});
    Tcaozuorenyuan& w = t.screen<Tcaozuorenyuan>("N2");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    clickRow(w.StringGrid1, 1);
    auto& dialog = t.session().dialog<Txiugaicaozuoyuan>();
    QStringList seen;
    bool stayedOpen = false;
    QTimer::singleShot(0, [&] {
        OperatorForm* f = dialog.form;
        seen << f->Edit1->text() << f->Edit2->text() << f->Edit3->text() << f->Edit4->text();
        QVERIFY(f->Edit1->isReadOnly());
        QCOMPARE(ticked(&dialog), (QList<int>{1, 6}));
        click(dialog.BitBtn1); // the password was not typed again
        stayedOpen = dialog.isVisible();
        seen << f->Edit3->text() << f->Edit4->text();
        f->Edit2->clear();
        typeText(f->Edit2, "张三丰");
        typeText(f->Edit3, "New");
        typeText(f->Edit4, "New");
        click(dialog.findChild<QCheckBox*>("CheckBox6"));
        click(dialog.findChild<QCheckBox*>("CheckBox9"));
        click(f->Button1);
        click(f->Button1); // 全清 unticks all, then tick one again
        click(dialog.findChild<QCheckBox*>("CheckBox9"));
        click(dialog.BitBtn1);
    });
    click(w.BitBtn2);
    // Only the hash is stored: the box shows stars for it, not the password.
    QCOMPARE(seen, (QStringList{"0002", "张三", "********", "", "", ""}));
    QVERIFY(stayedOpen);
    QCOMPARE(t.messages().texts(), (QStringList{"两次密码不一致！", "修改操作人员成功！请牢记编号和密码！"}));
    QCOMPARE(t.messages().last().icon, MsgIcon::Information);
    QVERIFY(!dialog.isVisible());
    const QList<QStringList> after{{"0001", "系统管理员", ""}, {"0002", "张三丰", "New"}};
    QCOMPARE(operatorsLike(t, after), after);
    const Row r = t.dm().ADOall.first("select * from 操作员 where 操作员='0002'");
    for (int f = 1; f <= 17; ++f)
        QCOMPARE(r.flag(QString::number(f)), f == 9);
    QCOMPARE(gridRows(w.StringGrid1).at(1), (QStringList{"0002", "张三丰"}));

    // The dialog lives on and keeps its "全选" caption between uses.
    QTimer::singleShot(0, [&] {
        click(dialog.form->Button1);
        click(dialog.BitBtn2);
    });
    clickRow(w.StringGrid1, 1);
    click(w.BitBtn2);
    QString caption;
    QTimer::singleShot(0, [&] {
        caption = dialog.form->Button1->text();
        click(dialog.BitBtn2);
    });
    clickRow(w.StringGrid1, 1);
    click(w.BitBtn2);
    QCOMPARE(caption, QString("全清"));
    QCOMPARE(t.rows("select 姓名 from 操作员 where 操作员='0002'"), (QList<QStringList>{{"张三丰"}}));
}

void TestOperators::passwordChange_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("oldPassword");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("after");
    QTest::newRow("no password, empty old box") << QVariant() << ""
                                                << "Abc"
                                                << "Abc"
                                                << "修改成功！"
                                                << "提示！"
                                                << "Abc";
    // The hash is of the text with A-Z folded, as the login takes it.
    QTest::newRow("old password in other case") << QVariant("Abc") << "abc"
                                                << "x"
                                                << "x"
                                                << "修改成功！"
                                                << "提示！"
                                                << "x";
    QTest::newRow("old password wrong") << QVariant("Abc") << "Abd"
                                        << "x"
                                        << "x"
                                        << "旧密码不正确！"
                                        << "错误！"
                                        << "Abc";
    QTest::newRow("new passwords differ") << QVariant("Abc") << "Abc"
                                          << "x"
                                          << "X"
                                          << "两次密码不一致！"
                                          << "错误！"
                                          << "Abc";
    QTest::newRow("changed") << QVariant("Abc") << "Abc"
                             << "Q'1"
                             << "Q'1"
                             << "修改成功！"
                             << "提示！"
                             << "Q'1";
    QTest::newRow("emptied") << QVariant("Abc") << "Abc"
                             << ""
                             << ""
                             << "修改成功！"
                             << "提示！"
                             << "";
}

void TestOperators::passwordChange() {
    QFETCH(QVariant, stored);
    QFETCH(QString, oldPassword);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirm);
    QFETCH(QString, message);
    QFETCH(QString, caption);
    QFETCH(QString, after);
    MainWindowTest t;
    t.dm().ADOall.exec("update 操作员 set 密码=? where 操作员='0001'",
                       {stored.isNull() ? stored : QVariant(Passwords::hash(stored.toString(), 1000))});
    addOperator(t, "0002", "张三", "other", {});
    t.session().loginPassword = stored.toString().toUpper();
    Txiugaimima& w = t.screen<Txiugaimima>("N11");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.Edit1->text(), QString("0001"));
    QVERIFY(!w.Edit1->isEnabled());
    typeText(w.Edit2, oldPassword);
    typeText(w.Edit3, newPassword);
    typeText(w.Edit4, confirm);
    click(w.BitBtn1);
    QCOMPARE(t.messages().texts(), QStringList{message});
    QCOMPARE(t.messages().last().caption, caption);
    QCOMPARE(t.messages().last().icon, caption == "提示！" ? MsgIcon::Information : MsgIcon::Error);
    const auto rows = t.rows("select 密码 from 操作员 order by rowid");
    QCOMPARE(passwordShown(rows[0][0], after), after);
    QCOMPARE(passwordShown(rows[1][0], "other"), QString("other"));
    // The boxes stay as typed and the login password is not changed.
    QCOMPARE(w.Edit2->text(), oldPassword);
    QCOMPARE(t.session().loginPassword, stored.toString().toUpper());
}

void TestOperators::lockAcceptsOnlyLoginPassword_data() {
    QTest::addColumn<QString>("login");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("locks");
    QTest::newRow("empty login, empty box") << ""
                                            << "" << true;
    QTest::newRow("empty login, something typed") << ""
                                                  << "x" << false;
    QTest::newRow("as typed at login") << "ABC"
                                       << "ABC" << true;
    QTest::newRow("stored case, not as typed") << "ABC"
                                               << "abc" << false;
    QTest::newRow("empty box") << "ABC"
                               << "" << false;
}

void TestOperators::lockAcceptsOnlyLoginPassword() {
    QFETCH(QString, login);
    QFETCH(QString, typed);
    QFETCH(bool, locks);
    TestSession t;
    // The stored password differs from the one typed at login only in letter case.
    t.dm().ADOall.exec("update 操作员 set 密码=? where 操作员='0001'", {login.toLower()});
    t.session().loginPassword = login;
    Tguaqi lock(t.session());
    lock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lock));
    QVERIFY(!lock.BitBtn2->isVisible());
    QCOMPARE(lock.windowTitle(), QString("离开挂起"));
    typeText(lock.Edit1, typed);
    click(lock.BitBtn1);
    QCOMPARE(lock.isLocked(), locks);
    if (!locks) {
        QCOMPARE(t.messages().texts(), QStringList{"对不起，密码错误！"});
        QCOMPARE(t.messages().last().caption, QString("提示"));
        QCOMPARE(t.messages().last().icon, MsgIcon::Error);
        QCOMPARE(lock.windowTitle(), QString("离开挂起"));
        QVERIFY(lock.BitBtn1->isVisible() && lock.BitBtn3->isVisible());
        return;
    }
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(lock.windowTitle(), QString("唤醒系统"));
    QCOMPARE(lock.GroupBox1->title(), QString("唤醒系统"));
    QVERIFY(lock.BitBtn2->isVisible());
    QVERIFY(!lock.BitBtn1->isVisible() && !lock.BitBtn3->isVisible());
    QCOMPARE(lock.Edit1->text(), QString());
    // Waking wants the same password again.
    typeText(lock.Edit1, typed + "1");
    click(lock.BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{"对不起，密码错误！"});
    QVERIFY(lock.isVisible());
    lock.Edit1->clear();
    typeText(lock.Edit1, typed);
    click(lock.BitBtn2);
    QCOMPARE(t.messages().last().text, QString("系统已被成功唤醒！"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Information);
    QVERIFY(!lock.isVisible());
    QCOMPARE(lock.result(), int(QDialog::Accepted));
}

void TestOperators::lockCannotBeClosedAndHidesWork() {
    TestSession t;
    t.session().loginPassword = "pw";
    QMainWindow main;
    auto* work = new QMdiArea(&main);
    main.setCentralWidget(work);
    work->addSubWindow(new QWidget)->setWindowTitle("客户档案");
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(work->isVisible());

    Tguaqi lock(t.session(), &main);
    QVERIFY(!lock.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    lock.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lock));
    typeText(lock.Edit1, "pw");
    click(lock.BitBtn1);
    QVERIFY(lock.isLocked());
    QVERIFY(!work->isVisible());

    QTest::keyClick(&lock, Qt::Key_Escape);
    QVERIFY(lock.isVisible());
    QVERIFY(!lock.close());
    QVERIFY(lock.isVisible());
    lock.reject();
    QVERIFY(lock.isVisible());
    QVERIFY(!work->isVisible());

    typeText(lock.Edit1, "pw");
    click(lock.BitBtn2);
    QVERIFY(!lock.isVisible());
    QVERIFY(work->isVisible());
    QCOMPARE(work->subWindowList().size(), 1);
    QCOMPARE(work->subWindowList().front()->windowTitle(), QString("客户档案"));
}

void TestOperators::lockCommandIsModal() {
    MainWindowTest t;
    t.session().loginPassword = "pw";
    // A password change in between does not change what the lock expects.
    t.dm().ADOall.exec("update 操作员 set 密码='pw' where 操作员='0001'");
    {
        Txiugaimima& change = t.screen<Txiugaimima>("N11");
        typeText(change.Edit2, "pw");
        typeText(change.Edit3, "neu");
        typeText(change.Edit4, "neu");
        click(change.BitBtn1);
        QCOMPARE(t.messages().last().text, QString("修改成功！"));
        t.messages().clear();
    }
    QMainWindow main;
    main.setCentralWidget(new QMdiArea(&main));
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    ScreenRegistry r;
    registerAdminScreens(r);

    bool modal = false;
    bool cancelledBeforeLock = false;
    QTimer::singleShot(0, [&] {
        auto* lock = qobject_cast<Tguaqi*>(QApplication::activeModalWidget());
        QVERIFY(lock);
        modal = lock->isModal() && !main.centralWidget()->isHidden();
        click(lock->BitBtn3); // 取消 before locking
        cancelledBeforeLock = !lock->isVisible();
    });
    r.command("ToolButton8")(t.session(), &main);
    QVERIFY(modal);
    QVERIFY(cancelledBeforeLock);
    QVERIFY(t.messages().shown.empty());

    QStringList steps;
    QTimer::singleShot(0, [&] {
        auto* lock = qobject_cast<Tguaqi*>(QApplication::activeModalWidget());
        QVERIFY(lock);
        typeText(lock->Edit1, "neu");
        click(lock->BitBtn1);
        steps << t.messages().texts();
        lock->Edit1->clear();
        typeText(lock->Edit1, "pw");
        click(lock->BitBtn1);
        steps << (main.centralWidget()->isHidden() ? "hidden" : "shown");
        QTest::keyClick(lock, Qt::Key_Escape);
        steps << (lock->isVisible() ? "still locked" : "closed");
        typeText(lock->Edit1, "pw");
        click(lock->BitBtn2);
    });
    r.command("ToolButton8")(t.session(), &main);
    QCOMPARE(steps, (QStringList{"对不起，密码错误！", "hidden", "still locked"}));
    QVERIFY(!main.centralWidget()->isHidden());
    QCOMPARE(t.messages().last().text, QString("系统已被成功唤醒！"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestOperators::shopNameSettings_data() {
    QTest::addColumn<QString>("fileBefore");  // empty: no file
    QTest::addColumn<QString>("typedName");   // "-" keeps the name offered
    QTest::addColumn<QStringList>("offered"); // name, port, footer
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("fileAfter"); // name, port, footer; empty: no file
    QTest::newRow("no file") << ""
                             << "-" << QStringList{"Quorvane软件开发公司", "lpt1", "欢迎您再次光临！"}
                             << "配置成功！"
                             << QStringList{"Quorvane软件开发公司", "lpt1", "欢迎您再次光临！"};
    QTest::newRow("new name") << "[程序参数]\r\n店铺名称=旧店\r\n打印端口=lpt3\r\n小票尾=谢谢\r\n"
                              << "实惠电脑" << QStringList{"旧店", "lpt3", "谢谢"} << "配置成功！"
                              << QStringList{"实惠电脑", "lpt3", "谢谢"};
    QTest::newRow("empty port saved as lpt1")
        << "[程序参数]\r\n店铺名称=旧店\r\n打印端口=\r\n"
        << "-" << QStringList{"旧店", "", "欢迎您再次光临！"} << "配置成功！"
        << QStringList{"旧店", "lpt1", "欢迎您再次光临！"};
    QTest::newRow("empty name") << ""
                                << "" << QStringList{"Quorvane软件开发公司", "lpt1", "欢迎您再次光临！"}
                                << "信息不完整！" << QStringList{};
}

void TestOperators::shopNameSettings() {
    QFETCH(QString, fileBefore);
    QFETCH(QString, typedName);
    QFETCH(QStringList, offered);
    QFETCH(QString, message);
    QFETCH(QStringList, fileAfter);
    MainWindowTest t;
    const QString ini = ProgramFolder::iniFile();
    if (!fileBefore.isEmpty()) {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(fileBefore.toUtf8());
    }
    TMAIN& main = t.main();
    t.session().shopName = "old";
    Tdayinshezhi& w = t.screen<Tdayinshezhi>("N7");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The receipt printer's port and footer show, so a shop that prints receipts can set them.
    QVERIFY(w.ComboBox1->isVisible() && w.Memo1->isVisible());
    QCOMPARE(w.ComboBox1->count(), 4);
    QCOMPARE((QStringList{w.Edit1->text(), w.ComboBox1->currentText(), w.Memo1->toPlainText()}), offered);
    if (typedName != "-") {
        w.Edit1->clear();
        typeText(w.Edit1, typedName);
    }
    click(w.BitBtn1);
    QCOMPARE(t.messages().texts(), QStringList{message});
    QCOMPARE(t.messages().last().caption, QString("提示"));
    if (fileAfter.isEmpty()) {
        QCOMPARE(t.messages().last().icon, MsgIcon::Error);
        QVERIFY(!QFile::exists(ini));
        QCOMPARE(t.session().shopName, QString("old"));
        QCOMPARE(main.windowTitle(), QString("Lumareth正式版V1.11"));
        return;
    }
    QCOMPARE(t.messages().last().icon, MsgIcon::Information);
    const QString s = "程序参数";
    QCOMPARE((QStringList{IniFile::read(ini, s, "店铺名称", "?"), IniFile::read(ini, s, "打印端口", "?"),
                          IniFile::read(ini, s, "小票尾", "?")}),
             fileAfter);
    QCOMPARE(t.session().shopName, fileAfter[0]);
    QCOMPARE(main.windowTitle(), fileAfter[0] + "Lumareth正式版V1.11");
}

QTEST_MAIN(TestOperators)
#include "tst_operators.moc"
