#include "data/passwords.h"
#include "frame/tloginform.h"
#include "frame/tmain.h"
#include "support/testsession.h"
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <optional>

// Drives the login window of a fresh database with a few more operators.
class LoginTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestSession ts;
        std::unique_ptr<TMAIN> main;
        std::unique_ptr<Tloginform> dlg;

        Fixture() {
            ts.session().operatorNumber.clear();
            ts.session().flags.fill(false);
            addOperator(QStringLiteral("0002"), QStringLiteral("张三"), QStringLiteral("abc"), {});
            addOperator(QStringLiteral("0003"), QStringLiteral("李四"), QStringLiteral("pass1"), {6, 8});
        }
        void addOperator(const QString& number, const QString& name, const QString& password,
                         QList<int> flags) {
            QStringList cols{QStringLiteral("\"操作员\""), QStringLiteral("\"姓名\""),
                             QStringLiteral("\"密码\"")};
            // Stored as the program stores them; a low count keeps the test quick.
            QVariantList values{number, name, Passwords::hash(password, 1000)};
            for (int f = 1; f <= 17; ++f) {
                cols << TDM1::quoteId(QString::number(f));
                values << (flags.contains(f) ? 1 : 0);
            }
            QStringList marks;
            for (int i = 0; i < cols.size(); ++i)
                marks << QStringLiteral("?");
            ts.dm().ADOall.exec(QStringLiteral("INSERT INTO \"操作员\" (%1) VALUES (%2)")
                                    .arg(cols.join(u','), marks.join(u',')),
                                values);
        }
        void show() {
            main = std::make_unique<TMAIN>(ts.session(), ScreenRegistry());
            dlg = std::make_unique<Tloginform>(ts.session(), main.get());
            dlg->show();
            QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        }
        template <class T> T* get(const char* name) { return dlg->findChild<T*>(QString::fromLatin1(name)); }
        QComboBox* box() { return get<QComboBox>("cbusername"); }
        QLineEdit* password() { return get<QLineEdit>("edtpassword"); }
        // Picks an operator from the drop-down list with the keyboard.
        void choose(const QString& number) {
            QComboBox* cb = box();
            const int target = cb->findText(number);
            QVERIFY(target >= 0);
            cb->setFocus();
            cb->showPopup();
            QAbstractItemView* view = cb->view();
            QTRY_VERIFY(view->isVisible());
            view->setCurrentIndex(cb->model()->index(target, 0));
            QTest::keyClick(view, Qt::Key_Return);
            QTRY_VERIFY(!view->isVisible());
        }
        void enter(const QString& pw) {
            password()->clear();
            TestInput::typeText(password(), pw);
            TestInput::click(get<QPushButton>("button1"));
        }
        QStringList enabledCommands() {
            QStringList out;
            for (const QString& name : allCommands())
                if (auto* a = main->findChild<QAction*>(name);
                    a ? a->isEnabled() : main->findChild<QToolButton*>(name)->isEnabled())
                    out << name;
            return out;
        }
        static QStringList allCommands() {
            return {"N2",          "N11",         "N7",          "N3",          "N12",         "N6",
                    "N4",          "N8",          "N32",         "N33",         "N41",         "N10",
                    "N38",         "N26",         "N39",         "N28",         "N30",         "N34",
                    "N5",          "N40",         "N36",         "N37",         "ToolButton1", "ToolButton2",
                    "ToolButton3", "ToolButton4", "ToolButton5", "ToolButton6", "ToolButton7", "ToolButton8",
                    "ToolButton9"};
        }
    };

    static QStringList alwaysEnabled() {
        return {"N11", "N7", "N8", "N36", "N37", "ToolButton7", "ToolButton8", "ToolButton9"};
    }

  private slots:
    void showsOperatorsAndFirstName() {
        Fixture f;
        f.show();
        QComboBox* cb = f.box();
        QCOMPARE(cb->count(), 3);
        QCOMPARE(cb->itemText(0), QStringLiteral("0001"));
        QCOMPARE(cb->currentText(), QStringLiteral("0001"));
        QCOMPARE(f.get<QLineEdit>("Edit1")->text(), QStringLiteral("系统管理员"));
        QCOMPARE(f.dlg->windowTitle(), QStringLiteral("进入系统"));
        QCOMPARE(QApplication::focusWidget(), cb);
        QCOMPARE(f.password()->echoMode(), QLineEdit::Password);
        QCOMPARE(f.get<QPushButton>("button1")->text(), QStringLiteral("进入"));
        QCOMPARE(f.get<QPushButton>("button2")->text(), QStringLiteral("退出"));
    }

    void emptyPasswordAdministrator() {
        Fixture f;
        f.show();
        f.enter(QString());
        QCOMPARE(f.dlg->result(), int(QDialog::Accepted));
        QVERIFY(f.ts.messages().shown.empty());
        QCOMPARE(f.ts.session().operatorNumber, QStringLiteral("0001"));
        QCOMPARE(f.ts.session().loginPassword, QString());
        QCOMPARE(f.main->findChild<QLabel*>("StatusPane1")->text(), QStringLiteral("当前用户为:0001"));
        QCOMPARE(f.enabledCommands(), Fixture::allCommands());
    }

    void passwordCase_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("lower stored, capitals typed") << "pass1"
                                                      << "PASS1" << true;
        QTest::newRow("mixed stored, lower typed") << "PaSs1"
                                                   << "pass1" << true;
        QTest::newRow("exact") << "pass1"
                               << "pass1" << true;
        QTest::newRow("other letter") << "pass1"
                                      << "pass2" << false;
        QTest::newRow("letters beyond A-Z keep their case") << "ä1"
                                                            << "Ä1" << false;
        QTest::newRow("empty typed") << "pass1"
                                     << "" << false;
        QTest::newRow("trailing blank") << "pass1"
                                        << "pass1 " << false;
    }
    void passwordCase() {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        Fixture f;
        f.addOperator(QStringLiteral("0009"), QStringLiteral("王五"), stored, {1});
        f.show();
        f.choose(QStringLiteral("0009"));
        f.enter(typed);
        QCOMPARE(f.dlg->result() == QDialog::Accepted, accepted);
        if (accepted) {
            QCOMPARE(f.ts.session().operatorNumber, QStringLiteral("0009"));
            QCOMPARE(f.ts.session().loginPassword, typed);
        } else {
            QCOMPARE(f.ts.messages().texts(), QStringList{QStringLiteral("密码错误，请重新输入！")});
            QCOMPARE(f.ts.messages().last().caption, QStringLiteral("提示"));
            QCOMPARE(f.ts.messages().last().icon, MsgIcon::Error);
            QCOMPARE(f.password()->text(), QString());
            QVERIFY(f.ts.session().operatorNumber.isEmpty());
        }
    }

    void fourWrongThenRight() {
        Fixture f;
        f.show();
        f.choose(QStringLiteral("0002"));
        for (int i = 0; i < 4; ++i) {
            f.enter(QStringLiteral("wrong"));
            QVERIFY(f.dlg->isVisible());
            QCOMPARE(f.password()->text(), QString());
        }
        QCOMPARE(f.ts.messages().texts(), QStringList(4, QStringLiteral("密码错误，请重新输入！")));
        f.enter(QStringLiteral("ABC"));
        QCOMPARE(f.dlg->result(), int(QDialog::Accepted));
        QCOMPARE(f.ts.session().operatorNumber, QStringLiteral("0002"));
        QCOMPARE(f.ts.session().loginPassword, QStringLiteral("ABC"));
    }

    void fifthWrongEnds() {
        Fixture f;
        f.show();
        f.choose(QStringLiteral("0002"));
        for (int i = 0; i < 5; ++i)
            f.enter(QStringLiteral("x"));
        QCOMPARE(f.ts.messages().shown.size(), size_t(5));
        QCOMPARE(f.ts.messages().last().text, QStringLiteral("密码错误超过五次，软件将被关闭！"));
        QCOMPARE(f.ts.messages().last().caption, QStringLiteral("提示"));
        QCOMPARE(f.ts.messages().last().icon, MsgIcon::Error);
        QCOMPARE(f.dlg->result(), int(QDialog::Rejected));
        QVERIFY(!f.dlg->isVisible());
        QVERIFY(f.ts.session().operatorNumber.isEmpty());
    }

    void unknownOperatorNotCounted() {
        Fixture f;
        f.show();
        for (int i = 0; i < 3; ++i) {
            QLineEdit* edit = f.box()->lineEdit();
            edit->selectAll();
            TestInput::typeText(edit, QStringLiteral("9999"));
            TestInput::click(f.get<QPushButton>("button1"));
            QCOMPARE(f.ts.messages().last().text, QStringLiteral("不存在的用户！"));
            QCOMPARE(f.ts.messages().last().caption, QStringLiteral("提示"));
            QCOMPARE(f.box()->lineEdit()->selectedText(), QStringLiteral("9999"));
        }
        QCOMPARE(f.dlg->failures(), 0);
        f.choose(QStringLiteral("0002"));
        for (int i = 0; i < 4; ++i)
            f.enter(QStringLiteral("wrong"));
        f.enter(QStringLiteral("abc"));
        QCOMPARE(f.dlg->result(), int(QDialog::Accepted));
    }

    void typingKeepsFocusInOperatorBox() {
        Fixture f;
        f.show();
        QLineEdit* edit = f.box()->lineEdit();
        edit->selectAll();
        const QString number = QStringLiteral("0003");
        for (QChar c : number) {
            TestInput::typeText(edit, QString(c));
            QCOMPARE(QApplication::focusWidget(), f.box());
        }
        QCOMPARE(edit->text(), number);
        QCOMPARE(f.get<QLineEdit>("Edit1")->text(), QStringLiteral("李四"));
        QVERIFY(f.ts.messages().shown.empty());
        // Leaving for the password box with a known number is silent.
        TestInput::click(f.password());
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::focusWidget(), f.password());
        QVERIFY(f.ts.messages().shown.empty());
        f.enter(QStringLiteral("PASS1"));
        QCOMPARE(f.ts.session().operatorNumber, QStringLiteral("0003"));
    }

    void typedNumberIgnoresCase_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::newRow("A-Z in other case") << "aBC1" << true;
        QTest::newRow("letters beyond A-Z keep their case") << "äBC1" << false;
    }
    void typedNumberIgnoresCase() {
        QFETCH(QString, typed);
        QFETCH(bool, found);
        Fixture f;
        f.addOperator(QStringLiteral("Abc1"), QStringLiteral("赵六"), QString(), {});
        f.addOperator(QStringLiteral("Äbc1"), QStringLiteral("钱七"), QString(), {});
        f.show();
        QLineEdit* edit = f.box()->lineEdit();
        edit->selectAll();
        TestInput::typeText(edit, typed);
        // The name box finds the operator as "进入" does.
        QCOMPARE(f.get<QLineEdit>("Edit1")->text(), found ? QStringLiteral("赵六") : QString());
        TestInput::click(f.password());
        QCoreApplication::processEvents();
        if (!found) {
            QCOMPARE(f.ts.messages().texts(), QStringList{QStringLiteral("不存在的用户！")});
            return;
        }
        QCOMPARE(f.box()->currentText(), QStringLiteral("Abc1"));
        QVERIFY(f.ts.messages().shown.empty());
        f.enter(QString());
        QCOMPARE(f.ts.session().operatorNumber, QStringLiteral("Abc1"));
    }

    void leavingWithUnknownText() {
        Fixture f;
        f.show();
        QLineEdit* edit = f.box()->lineEdit();
        edit->selectAll();
        TestInput::typeText(edit, QStringLiteral("12"));
        QCOMPARE(f.get<QLineEdit>("Edit1")->text(), QString());
        TestInput::click(f.password());
        QCoreApplication::processEvents();
        QCOMPARE(f.ts.messages().texts(), QStringList{QStringLiteral("不存在的用户！")});
        QCOMPARE(f.ts.messages().last().icon, MsgIcon::Error);
        QCOMPARE(QApplication::focusWidget(), f.box());
        QCOMPARE(edit->selectedText(), QStringLiteral("12"));
        // The next character replaces the selected text.
        TestInput::typeText(edit, QStringLiteral("0"));
        QCOMPARE(edit->text(), QStringLiteral("0"));
    }

    void choosingMovesToPassword() {
        Fixture f;
        f.show();
        f.choose(QStringLiteral("0003"));
        QCOMPARE(QApplication::focusWidget(), f.password());
        QCOMPARE(f.get<QLineEdit>("Edit1")->text(), QStringLiteral("李四"));
        // Enter in the password box does what "进入" does.
        TestInput::typeText(f.password(), QStringLiteral("pass1"));
        TestInput::pressEnter(f.password());
        QCOMPARE(f.dlg->result(), int(QDialog::Accepted));
        QCOMPARE(f.enabledCommands(),
                 (QStringList{"N11", "N7", "N8", "N32", "N10", "N36", "N37", "ToolButton1", "ToolButton3",
                              "ToolButton7", "ToolButton8", "ToolButton9"}));
    }

    void allFlagsFalse() {
        Fixture f;
        f.show();
        f.choose(QStringLiteral("0002"));
        f.enter(QStringLiteral("abc"));
        QCOMPARE(f.dlg->result(), int(QDialog::Accepted));
        QCOMPARE(f.enabledCommands(), alwaysEnabled());
        for (int i = 1; i <= 17; ++i)
            QVERIFY(!f.ts.session().flags[i]);
    }

    void eachFlag_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QStringList>("commands");
        const QList<QStringList> expected = {{"N2"},
                                             {"N3"},
                                             {"N12"},
                                             {"N6"},
                                             {"N4"},
                                             {"N32", "ToolButton1"},
                                             {"N33", "ToolButton2"},
                                             {"N10", "ToolButton3"},
                                             {"N26", "ToolButton4"},
                                             {"N28", "ToolButton5"},
                                             {"N30", "ToolButton6"},
                                             {"N34"},
                                             {"N38"},
                                             {"N39"},
                                             {"N5"},
                                             {"N40"},
                                             {"N41"}};
        for (int i = 0; i < expected.size(); ++i)
            QTest::addRow("flag %d", i + 1) << i + 1 << expected[i];
    }
    void eachFlag() {
        QFETCH(int, flag);
        QFETCH(QStringList, commands);
        Fixture f;
        f.addOperator(QStringLiteral("0010"), QStringLiteral("孙七"), QString(), {flag});
        f.show();
        f.choose(QStringLiteral("0010"));
        f.enter(QString());
        QCOMPARE(f.dlg->result(), int(QDialog::Accepted));
        QStringList enabled = f.enabledCommands();
        for (const QString& c : alwaysEnabled())
            QVERIFY(enabled.removeOne(c));
        QCOMPARE(enabled, commands);
        QVERIFY(f.ts.session().flags[flag]);
    }

    void emptyOperatorTable() {
        Fixture f;
        f.ts.dm().ADOall.exec(QStringLiteral("DELETE FROM \"操作员\""));
        f.show();
        QCOMPARE(f.box()->count(), 0);
        f.enter(QString());
        QCOMPARE(f.ts.messages().texts(), QStringList{QStringLiteral("不存在的用户！")});
        QVERIFY(f.dlg->isVisible());
        QCOMPARE(f.dlg->failures(), 0);
    }

    void exitCancels() {
        Fixture f;
        f.show();
        TestInput::click(f.get<QPushButton>("button2"));
        QCOMPARE(f.dlg->result(), int(QDialog::Rejected));
        QVERIFY(!f.dlg->isVisible());
        QVERIFY(f.ts.session().operatorNumber.isEmpty());
    }
};

QTEST_MAIN(LoginTest)
#include "tst_login.moc"
