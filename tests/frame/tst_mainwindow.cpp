#include "data/dates.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "frame/startup.h"
#include "frame/tguanyu.h"
#include "frame/tmain.h"
#include "support/testsession.h"
#include "ui/fonts.h"
#include "ui/screen.h"
#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace {
int built = 0;

// A small screen standing in for the real ones.
class ProbeScreen : public Screen {
  public:
    ProbeScreen(Session& s, QRect place) : Screen(s), place_(place) {
        ++built;
        setWindowTitle(QStringLiteral("created with this caption"));
    }
    QRect placement() const override { return place_; }

  private:
    QRect place_;
};
} // namespace

class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls << url; }
};

class MainWindowTest : public QObject {
    Q_OBJECT

    static ScreenRegistry probes() {
        ScreenRegistry r;
        r.addScreen(QStringLiteral("客户档案"),
                    [](Session& s) { return new ProbeScreen(s, QRect(20, 10, 400, 300)); });
        r.addScreen(QStringLiteral("维修项目设置"),
                    [](Session& s) { return new ProbeScreen(s, QRect(60, 40, 350, 250)); });
        return r;
    }
    static void trigger(TMAIN& w, const char* name) {
        if (auto* a = w.findChild<QAction*>(QString::fromLatin1(name)))
            a->trigger();
        else
            TestInput::click(w.findChild<QToolButton*>(QString::fromLatin1(name)));
    }

  private slots:
    void init() { built = 0; }

    void menuItemsInOrder() {
        TestSession ts;
        TMAIN w(ts.session(), ScreenRegistry());
        QStringList seen;
        for (QAction* top : w.menuBar()->actions()) {
            seen << top->text();
            for (QAction* a : top->menu()->actions())
                seen << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + u'=' + a->text());
        }
        const QStringList expected{"系统设置",
                                   "N2=操作人员及权限设置",
                                   "N11=修改密码",
                                   "N7=店铺名称设置",
                                   "N3=数据备份",
                                   "N12=数据恢复",
                                   "N6=历史数据清除",
                                   "N4=数据初始化",
                                   "N42=修改记录查询",
                                   "N8=退出系统",
                                   "基本设置",
                                   "N32=客户资料设置",
                                   "N33=维修项目设置",
                                   "N41=乡镇、村庄设置",
                                   "日常操作",
                                   "N10=销售记录录入",
                                   "N38=销售记录修改",
                                   "N26=返修记录录入",
                                   "N39=维修记录修改",
                                   "-",
                                   "N28=补收欠款",
                                   "N51=重印小票",
                                   "报表查询",
                                   "N30=客户全部历史信息查询",
                                   "N34=查询客户交款记录",
                                   "N5=一日销售、维修及帐款情况一览",
                                   "N40=销售、维修及帐款数据汇总",
                                   "N50=主机序列号查询",
                                   "系统帮助",
                                   "N36=帮助主题",
                                   "N37=关于"};
        QCOMPARE(seen, expected);
    }

    void toolbarButtons() {
        TestSession ts;
        TMAIN w(ts.session(), ScreenRegistry());
        auto* bar = w.findChild<QToolBar*>(QStringLiteral("Toolbar1"));
        QVERIFY(bar);
        QStringList seen;
        for (QAction* a : bar->actions())
            if (auto* b = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
                seen << b->objectName() + u'=' + b->text() + u'|' + b->toolTip();
                QCOMPARE(b->icon().pixmap(32, 32).size(), QSize(32, 32));
            }
        const QStringList expected{"ToolButton1=客户资料设置|客户资料的设置",
                                   "ToolButton2=返修项目设置|维修项目的设置",
                                   "ToolButton3=定购(销售）记录录入|录入销售的记录",
                                   "ToolButton4=返修记录录入|录入维修的记录",
                                   "ToolButton5=补收欠款|补收历史上所有的欠款",
                                   "ToolButton6=客户信息查询|查询客户的所有信息",
                                   "ToolButton7=系统帮助|",
                                   "ToolButton8=暂时离开|暂时离开而不关闭软件",
                                   "ToolButton9=退出|"};
        QCOMPARE(seen, expected);
    }

    void title_data() {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("label");
        QTest::newRow("shop name") << QByteArray("[程序参数]\r\n店铺名称=实惠电脑\r\n")
                                   << QStringLiteral("实惠电脑Lumareth正式版V1.11")
                                   << QStringLiteral("实惠电脑");
        QTest::newRow("written in GBK")
            << QByteArray(QStringEncoder("GBK").encode(QStringLiteral("[程序参数]\r\n店铺名称=实惠电脑\r\n")))
            << QStringLiteral("实惠电脑Lumareth正式版V1.11") << QStringLiteral("实惠电脑");
        QTest::newRow("without the key")
            << QByteArray("[程序参数]\r\n") << QStringLiteral("Lumareth正式版V1.11") << QString();
        QTest::newRow("no settings file")
            << QByteArray() << QStringLiteral("Lumareth正式版V1.11") << QString();
    }
    void title() {
        QFETCH(QByteArray, ini);
        QFETCH(QString, title);
        QFETCH(QString, label);
        TestSession ts;
        if (!ini.isEmpty()) {
            QFile f(ProgramFolder::iniFile());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ini);
        }
        TMAIN w(ts.session(), ScreenRegistry());
        QCOMPARE(w.windowTitle(), title);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(), label);
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Lumareth"));
        QCOMPARE(ts.session().shopName, label);
    }

    void shopNameChangedRefreshes() {
        TestSession ts;
        TMAIN w(ts.session(), ScreenRegistry());
        ts.session().shopName = QStringLiteral("新世纪电脑");
        QVERIFY(ts.session().shopNameChanged);
        ts.session().shopNameChanged();
        QCOMPARE(w.windowTitle(), QStringLiteral("新世纪电脑Lumareth正式版V1.11"));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("新世纪电脑"));
    }

    void findOrOpen() {
        TestSession ts;
        TMAIN w(ts.session(), probes());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        trigger(w, "N32");
        QCOMPARE(built, 1);
        QMdiSubWindow* sub = w.findWindow(QStringLiteral("客户档案"));
        QVERIFY(sub);
        QCOMPARE(sub->windowTitle(), QStringLiteral("客户档案"));
        QCOMPARE(sub->geometry(), QRect(20, 10, 400, 300));
        trigger(w, "N33");
        QCOMPARE(built, 2);
        QCOMPARE(w.mdiArea()->activeSubWindow()->windowTitle(), QStringLiteral("维修项目设置"));

        // The second choice brings the open window back, restored and active.
        sub->showMinimized();
        QVERIFY(sub->isMinimized());
        trigger(w, "ToolButton1");
        QCOMPARE(built, 2);
        QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
        QVERIFY(!sub->isMinimized());
        QCOMPARE(w.mdiArea()->activeSubWindow(), sub);
        sub->showMaximized();
        trigger(w, "N32");
        QVERIFY(!sub->isMaximized());
        QCOMPARE(built, 2);

        // A closed screen is created afresh.
        QPointer<QMdiSubWindow> gone = sub;
        sub->close();
        QTRY_VERIFY(gone.isNull());
        QVERIFY(!w.findWindow(QStringLiteral("客户档案")));
        trigger(w, "N32");
        QCOMPARE(built, 3);
        QVERIFY(w.findWindow(QStringLiteral("客户档案")));
        QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
    }

    void captionMatchIsExact() {
        TestSession ts;
        ScreenRegistry r = probes();
        r.addScreen(QStringLiteral("Abc"),
                    [](Session& s) { return new ProbeScreen(s, QRect(0, 0, 100, 100)); });
        r.addScreen(QStringLiteral("abc"),
                    [](Session& s) { return new ProbeScreen(s, QRect(0, 0, 100, 100)); });
        TMAIN w(ts.session(), r);
        QVERIFY(w.openScreen(QStringLiteral("Abc")));
        QVERIFY(w.openScreen(QStringLiteral("abc")));
        QCOMPARE(built, 2);
        QVERIFY(!w.openScreen(QStringLiteral("没有的窗口")));
    }

    void screenlessCommands() {
        TestSession ts;
        ScreenRegistry r;
        QStringList ran;
        for (const QString& name : QStringList{"N3", "N12", "N4", "ToolButton8"})
            r.addCommand(name, [&ran, name](Session&, QWidget* main) {
                QVERIFY(qobject_cast<TMAIN*>(main));
                ran << name;
            });
        TMAIN w(ts.session(), r);
        for (const char* name : {"N3", "N12", "N4", "ToolButton8"})
            trigger(w, name);
        QCOMPARE(ran, (QStringList{"N3", "N12", "N4", "ToolButton8"}));
        // Commands whose screen is not there yet do nothing.
        trigger(w, "N2");
        trigger(w, "N5");
        QCOMPARE(w.mdiArea()->subWindowList().size(), 0);
        QVERIFY(ts.messages().shown.empty());
    }

    void commandErrorIsReported() {
        TestSession ts;
        ScreenRegistry r;
        r.addCommand(QStringLiteral("N3"),
                     [](Session&, QWidget*) { TDM1::fail(QStringLiteral("磁盘已满")); });
        TMAIN w(ts.session(), r);
        trigger(w, "N3");
        QCOMPARE(ts.messages().texts(), QStringList{QStringLiteral("磁盘已满")});
        QCOMPARE(ts.messages().last().icon, MsgIcon::Error);
        QCOMPARE(ts.messages().last().caption, QString());
    }

    void commandsFollowFlags() {
        TestSession ts;
        TMAIN w(ts.session(), ScreenRegistry());
        std::array<bool, 18> flags{};
        flags[7] = flags[16] = true;
        w.applyFlags(flags);
        QStringList enabled;
        for (QAction* a : w.findChildren<QAction*>())
            if (a->objectName().startsWith(u'N') && a->isEnabled())
                enabled << a->objectName();
        for (QToolButton* b : w.findChildren<QToolButton*>())
            if (b->objectName().startsWith(QStringLiteral("ToolButton")) && b->isEnabled())
                enabled << b->objectName();
        enabled.sort();
        QStringList expected{"N11", "N7",          "N8",          "N33",         "N40",        "N36",        "N37",
                             "N51", "ToolButton2", "ToolButton7", "ToolButton8", "ToolButton9"};
        expected.sort();
        QCOMPARE(enabled, expected);
        QCOMPARE(TMAIN::flaggedCommands().size(), 25);
    }

    void exitQuestion_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("confirm");
        for (const char* c : {"N8", "ToolButton9", "close box"}) {
            QTest::addRow("%s, cancelled", c) << QString::fromLatin1(c) << false;
            QTest::addRow("%s, confirmed", c) << QString::fromLatin1(c) << true;
        }
    }
    void exitQuestion() {
        QFETCH(QString, command);
        QFETCH(bool, confirm);
        TestSession ts;
        TMAIN w(ts.session(), probes());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.openScreen(QStringLiteral("客户档案"));
        w.openScreen(QStringLiteral("维修项目设置"));
        ts.messages().answer(confirm ? QMessageBox::Ok : QMessageBox::Cancel);
        if (command == QStringLiteral("close box"))
            w.close();
        else
            trigger(w, command.toLatin1().constData());
        QCOMPARE(ts.messages().shown.size(), size_t(1));
        const MessageBoxSpec box = ts.messages().last();
        QCOMPARE(box.text, QStringLiteral("确实要退出本系统吗？"));
        QCOMPARE(box.caption, QStringLiteral("系统提示"));
        QCOMPARE(box.icon, MsgIcon::Question);
        QCOMPARE(box.buttons, MsgButtons::OkCancel);
        QCOMPARE(w.isVisible(), !confirm);
        if (!confirm)
            QCOMPARE(w.mdiArea()->subWindowList().size(), 2);
    }

    void helpOpensTheGuide() {
        TestSession ts;
        TMAIN w(ts.session(), ScreenRegistry());
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        trigger(w, "ToolButton7");
        trigger(w, "N36");
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 2);
        const QString file = catcher.urls.first().toLocalFile();
        QVERIFY(file.endsWith(QStringLiteral("help/index.html")));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(f.readAll()).contains(QStringLiteral("操作员")));
    }

    void helpPrefersChm() {
        TestSession ts;
        QFile chm(ts.folder() + QStringLiteral("/help.chm"));
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        TMAIN w(ts.session(), ScreenRegistry());
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
        trigger(w, "N36");
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(catcher.urls.size(), 1);
        QCOMPARE(QFileInfo(catcher.urls.first().toLocalFile()), QFileInfo(chm.fileName()));
    }

    void aboutBox() {
        TestSession ts;
        TMAIN w(ts.session(), ScreenRegistry());
        QString shownTitle, shownText;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<Tguanyu*>(QApplication::activeModalWidget())) {
                shownTitle = d->findChild<QLabel*>(QStringLiteral("Label1"))->text();
                shownText = d->findChild<QLabel*>(QStringLiteral("Label2"))->text();
                d->accept();
            }
        });
        trigger(w, "N37");
        QCOMPARE(shownTitle, QStringLiteral("Lumareth正式版V1.11"));
        // The version of the build, the one the package carries.
        QVERIFY2(shownText.endsWith(QStringLiteral("版本 " LUMARETH_VERSION)), qPrintable(shownText));
    }

    void statusBar() {
        TestSession ts;
        TMAIN w(ts.session(), ScreenRegistry());
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("StatusPane1"))->text(), QString());
        const QString clock = w.findChild<QLabel*>(QStringLiteral("ClockStatus1"))->text();
        static const QRegularExpression form(
            QStringLiteral("^\\d{4}年\\d{1,2}月\\d{1,2}日 \\d{1,2}:\\d{2}:\\d{2}$"));
        QVERIFY2(form.match(clock).hasMatch(), qPrintable(clock));
        QVERIFY(w.findChild<QWidget*>(QStringLiteral("MarqueeStatus1")));
        w.setCurrentOperator(QStringLiteral("0005"));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("StatusPane1"))->text(),
                 QStringLiteral("当前用户为:0005"));
    }

    void fontMapping_data() {
        QTest::addColumn<QString>("name");
        for (const char* n : {"宋体", "华文行楷", "华文新魏", "MS Sans Serif"})
            QTest::newRow(n) << QString::fromUtf8(n);
    }
    void fontMapping() {
        QFETCH(QString, name);
        Fonts::install();
        const QString family = QFontInfo(QFont(name)).family();
        QVERIFY2(QFontDatabase::families(QFontDatabase::SimplifiedChinese).contains(family),
                 qPrintable(family));
        QVERIFY(QFontMetrics(QFont(name)).inFontUcs4(U'宋'));
    }

    void databaseThatCannotOpen() {
        TestSession ts(false);
        QVERIFY(QDir().mkpath(ProgramFolder::databaseFile())); // a folder where the file should be
        QVERIFY(!Startup::openDatabase(ts.session()));
        QCOMPARE(ts.messages().texts(), QStringList{QStringLiteral("无法连接到指定的数据库！请重试！")});
        QCOMPARE(ts.messages().last().caption, QStringLiteral("错误"));
        QCOMPARE(ts.messages().last().icon, MsgIcon::Error);
    }

    void freshDatabaseOpens() {
        TestSession ts(false);
        QVERIFY(Startup::openDatabase(ts.session()));
        QVERIFY(QFileInfo::exists(ProgramFolder::databaseFile()));
        QCOMPARE(ts.count(QStringLiteral("操作员")), 1);
        QVERIFY(ts.messages().shown.empty());
    }

    void chineseStandardButtons() {
        Startup::installTranslator();
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("取消"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
