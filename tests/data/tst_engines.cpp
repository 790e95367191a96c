// What must come out the same on both engines, and what only a server has: these cases run in the
// SQLite run and again on the test server; the server's own cases skip in the SQLite run.
#include "data/collation.h"
#include "data/databasechoice.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "data/transfer.h"
#include "frame/startup.h"
#include "frame/tguanyu.h"
#include "support/testsession.h"
#include <QFile>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <algorithm>

namespace {
// A statement on a database of the test server other than the session's.
void onTestServer(const QString& database, const QString& sql) {
    const QString name = QStringLiteral("engines-test");
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        d.setConnectOptions(qEnvironmentVariable("LUMARETH_TEST_PG") + QStringLiteral(" dbname=") + database);
        QVERIFY2(d.open(), qPrintable(sql));
        QSqlQuery q(d);
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }
    QSqlDatabase::removeDatabase(name);
}

QString server(const QString& database) {
    return QStringLiteral("PostgreSQL:") + qEnvironmentVariable("LUMARETH_TEST_PG") +
           QStringLiteral(" dbname=") + database;
}

// Restores LUMARETH_DATABASE when a case has changed it.
struct KeepChoice {
    QByteArray saved = qgetenv("LUMARETH_DATABASE");
    ~KeepChoice() {
        if (saved.isEmpty())
            qunsetenv("LUMARETH_DATABASE");
        else
            qputenv("LUMARETH_DATABASE", saved);
    }
};
} // namespace

class TestEngines : public QObject {
    Q_OBJECT
  private slots:
    void containsSearchIsLiteralAndIgnoresCase_data();
    void containsSearchIsLiteralAndIgnoresCase();
    void newKeyComesBack();
    void pinyinOrderIsTheCollations();
    void choiceFromSettingsAndEnvironment_data();
    void choiceFromSettingsAndEnvironment();
    void unreachableOrForeignDatabaseIsRefused();
    void aboutBoxNamesTheDatabase();
    void serverBackupRoundTripAndDamagedFiles();
    void transferBothWays();
};

void TestEngines::containsSearchIsLiteralAndIgnoresCase_data() {
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("percent") << "客户名称"
                             << "%" << QStringList{"五折50%"};
    QTest::newRow("underscore") << "客户名称"
                                << "a_b" << QStringList{"a_b"};
    QTest::newRow("case") << "客户名称"
                          << "abc" << QStringList{"abc", "ABC店"};
    QTest::newRow("backslash") << "地址"
                               << "\\" << QStringList{"ABC店"};
    QTest::newRow("number") << "客户编号"
                            << "2" << QStringList{"a_b", "axb"};
}

void TestEngines::containsSearchIsLiteralAndIgnoresCase() {
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    TestSession t;
    // Numbers 10, 22, 32, 40, 50; a backslash in one address.
    const QList<QVariantList> customers{{10, "五折50%", "县城"},
                                        {22, "a_b", "县城"},
                                        {32, "axb", "县城"},
                                        {40, "ABC店", "C:\\店"},
                                        {50, "abc", "县城"}};
    for (const QVariantList& c : customers)
        t.dm().ADOall.exec("insert into 客户信息 (客户编号, 客户名称, 地址) values (?, ?, ?)", c);
    QStringList names;
    for (const QStringList& r :
         t.rows(QStringLiteral("select 客户名称 from 客户信息 where %1 order by %2")
                    .arg(t.dm().contains(column), t.dm().pinyinOrder(QStringLiteral("客户名称"))),
                {Values::containsPattern(typed)}))
        names << r.first();
    QCOMPARE(names, found);
}

void TestEngines::newKeyComesBack() {
    TestSession t;
    const QVariant key =
        t.dm().insert("insert into 维修项目 (维修项目) values (?)", {QStringLiteral("电源")});
    QCOMPARE(t.rows("select 维修项目 from 维修项目 where rowid=?", {key}), QList<QStringList>{{"电源"}});
    const QVariant id = t.dm().insert("insert into 帐款明细 (客户编号, 应付金额) values (?, ?)", {1, 25000},
                                      QStringLiteral("id"));
    QCOMPARE(t.rows("select 应付金额 from 帐款明细 where id=?", {id}), QList<QStringList>{{"2.5"}});
    // The key of the next row is past it, also after the receipts' totals trigger ran.
    t.dm().ADOall.exec("insert into 收款记录 (客户编号, 金额) values (1, 10000)");
    const QVariant next =
        t.dm().insert("insert into 帐款明细 (客户编号) values (?)", {2}, QStringLiteral("id"));
    QCOMPARE(next.toLongLong(), id.toLongLong() + 1);
}

void TestEngines::pinyinOrderIsTheCollations() {
    // The server orders text as the program's own collation does, letter case aside: texts that
    // differ only in case are equal to the collation, and come out in either order.
    TestSession t;
    const QStringList probe{
        "阿", "爱", "安", "白",   "北", "陈",   "程",   "东",   "冯",     "郭",     "韩", "何", "黄", "李",
        "刘", "吕", "马", "欧阳", "钱", "沈",   "孙",   "王",   "魏",     "吴",     "谢", "徐", "杨", "张",
        "赵", "周", "朱", "曾",   "长", "重庆", "乡镇", "村庄", "已付款", "未付款", "a",  "b",  "Z",  "0",
        "9",  "10", "-",  " ",    "(",  "é",    "e",    "张三", "张3",    "abc",    "ABD"};
    for (const QString& p : probe)
        t.dm().ADOall.exec("insert into 乡镇 (乡镇) values (?)", {p});
    QStringList stored;
    for (const QStringList& r : t.rows("select 乡镇 from 乡镇 order by 乡镇"))
        stored << r.first();
    QStringList sorted = probe;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        const QByteArray x = a.toUtf8(), y = b.toUtf8();
        return Collation::compare(x.constData(), int(x.size()), y.constData(), int(y.size())) < 0;
    });
    QCOMPARE(stored, sorted);
}

void TestEngines::choiceFromSettingsAndEnvironment_data() {
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("env");
    QTest::addColumn<bool>("onServer");
    QTest::addColumn<QString>("connection");
    QTest::addColumn<bool>("refused");
    QTest::newRow("no section") << ""
                                << "" << false << "" << false;
    QTest::newRow("sqlite") << "[数据库]\n类型=SQLite\n"
                            << "" << false << "" << false;
    QTest::newRow("server") << "[数据库]\n类型=PostgreSQL\n连接=host=srv dbname=shop\n"
                            << "" << true << "host=srv dbname=shop" << false;
    QTest::newRow("environment wins") << "[数据库]\n类型=SQLite\n"
                                      << "PostgreSQL:dbname=x" << true << "dbname=x" << false;
    QTest::newRow("environment sqlite") << "[数据库]\n类型=PostgreSQL\n"
                                        << "SQLite" << false << "" << false;
    QTest::newRow("unknown") << "[数据库]\n类型=Access\n"
                             << "" << false << "" << true;
}

void TestEngines::choiceFromSettingsAndEnvironment() {
    QFETCH(QString, ini);
    QFETCH(QString, env);
    QFETCH(bool, onServer);
    QFETCH(QString, connection);
    QFETCH(bool, refused);
    TestSession t(false);
    const KeepChoice keep;
    if (env.isEmpty())
        qunsetenv("LUMARETH_DATABASE");
    else
        qputenv("LUMARETH_DATABASE", env.toUtf8());
    QFile f(ProgramFolder::iniFile());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ini.toUtf8());
    f.close();
    try {
        const DatabaseChoice::Choice c = DatabaseChoice::configured();
        QVERIFY(!refused);
        QCOMPARE(c.server, onServer);
        QCOMPARE(c.connection, connection);
    } catch (const DbError& e) {
        QVERIFY2(refused, qPrintable(e.text()));
        QCOMPARE(e.text(), QString("未知的数据库类型“Access”"));
    }
}

void TestEngines::unreachableOrForeignDatabaseIsRefused() {
    if (!TestSession::onServer())
        QSKIP("needs the test server");
    TestSession t(false);
    const KeepChoice keep;
    const QString foreign = QStringLiteral("lm_foreign_%1").arg(QCoreApplication::applicationPid());
    onTestServer("postgres", QStringLiteral("CREATE DATABASE %1").arg(foreign));
    onTestServer(foreign, "CREATE TABLE kunden (name text)");
    for (const QString& place : {server(foreign), server("lm_does_not_exist"),
                                 QStringLiteral("PostgreSQL:host=/nonexistent port=1 dbname=x")}) {
        qputenv("LUMARETH_DATABASE", place.toUtf8());
        t.messages().clear();
        QVERIFY(!Startup::openDatabase(t.session()));
        QCOMPARE(t.messages().texts(), QStringList{"无法连接到指定的数据库！请重试！"});
        QVERIFY(!t.dm().isOpen());
    }
    // Nothing was made there.
    qputenv("LUMARETH_DATABASE", server(foreign).toUtf8());
    {
        TDM1 probe;
        try {
            probe.openServer(qEnvironmentVariable("LUMARETH_TEST_PG") + " dbname=" + foreign);
            QFAIL("opened a foreign database");
        } catch (const DbError& e) {
            QCOMPARE(e.text(), QString("数据库不是本程序的数据库（缺少表“操作员”）"));
        }
    }
    onTestServer(foreign, "DROP TABLE kunden");
    onTestServer(foreign, "DO $$ BEGIN IF EXISTS (SELECT 1 FROM pg_tables WHERE schemaname = 'public') "
                          "THEN RAISE EXCEPTION 'tables made'; END IF; END $$");
    onTestServer("postgres", QStringLiteral("DROP DATABASE %1").arg(foreign));
}

void TestEngines::aboutBoxNamesTheDatabase() {
    TestSession t;
    Tguanyu about(t.session());
    const QString shown = about.findChild<QLabel*>("Label3")->text();
    if (TestSession::onServer())
        QVERIFY2(shown.startsWith("数据库：PostgreSQL localhost/lm_"), qPrintable(shown));
    else
        QCOMPARE(shown, "数据库：SQLite " + ProgramFolder::databaseFile());
}

void TestEngines::serverBackupRoundTripAndDamagedFiles() {
    if (!TestSession::onServer())
        QSKIP("needs the test server");
    TestSession t;
    t.dm().ADOall.exec(
        "insert into 客户信息 (客户编号, 客户名称, 地址, 起用日期, 备注) values (?, ?, ?, ?, ?)",
        {7, QStringLiteral("O'Neil\t王"), QStringLiteral("a\\b"), QStringLiteral("2008-03-05"),
         QStringLiteral("两行\n备注")});
    t.dm().ADOall.exec(
        "insert into 收款记录 (客户编号, 地址, 金额, 日期) values (7, 'x', 12345, '2008-03-31')");
    const QString bak = t.folder() + "/copy.bak";
    t.dm().backupTo(bak);
    const auto before = t.rows("select * from 客户信息");
    const auto totals = t.rows(t.dm().receiptTotalsSql());
    t.dm().ADOall.exec("delete from 客户信息");
    t.dm().ADOall.exec("insert into 收款记录 (客户编号, 金额) values (8, 1)");
    t.dm().restoreFrom(bak);
    QCOMPARE(t.rows("select * from 客户信息"), before);
    QCOMPARE(t.rows(t.dm().receiptTotalsSql()), totals);
    QCOMPARE(t.count("收款记录"), 1);
    // A new row gets a key past the restored ones.
    const QVariant key = t.dm().insert("insert into 客户信息 (客户编号) values (8)", {});
    QVERIFY(key.toLongLong() > t.rows("select min(rowid) from 客户信息").first().first().toLongLong());

    QFile f(bak);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray good = f.readAll();
    f.close();
    QByteArray flipped = good;
    flipped[good.indexOf("Neil")] = 'M';
    QByteArray sqlite = "SQLite format 3";
    sqlite.append(char(0));
    sqlite.append(QByteArray(200, 'x'));
    for (const QByteArray& bad : {flipped, good.left(good.size() / 2), sqlite}) {
        QFile w(bak);
        QVERIFY(w.open(QIODevice::WriteOnly | QIODevice::Truncate));
        w.write(bad);
        w.close();
        const auto now = t.rows("select * from 客户信息");
        QVERIFY_THROWS_EXCEPTION(DbError, t.dm().restoreFrom(bak));
        QCOMPARE(t.rows("select * from 客户信息"), now);
    }
}

void TestEngines::transferBothWays() {
    if (!TestSession::onServer())
        QSKIP("needs the test server");
    TestSession t;
    const QString file = t.folder() + "/shop.db";
    const QString back = t.folder() + "/back.db";
    {
        TDM1 shop;
        shop.open(file);
        shop.ADOall.exec(
            "insert into 帐款明细 (客户编号, 地址, 应付金额, 付款情况, 日期) values (3, 'x', 99995, "
            "'未付款', '2008-03-01')");
        shop.ADOall.exec("insert into 收款记录 (客户编号, 金额, 日期) values (3, 5, '2008-03-31')");
        shop.ADOall.exec("insert into 乡镇 (乡镇, 村庄) values ('城关', '东村')");
    }
    const QString target = QStringLiteral("lm_transfer_%1").arg(QCoreApplication::applicationPid());
    onTestServer("postgres", QStringLiteral("CREATE DATABASE %1").arg(target));
    const QStringList lines = Transfer::copy(file, server(target));
    QVERIFY(lines.contains("帐款明细：1行，应付金额合计9.9995"));
    QVERIFY(lines.contains("收款记录：1行，金额合计0.0005"));
    QCOMPARE(Transfer::copy(server(target), back), lines);
    // A target that holds records is refused.
    QVERIFY_THROWS_EXCEPTION(DbError, Transfer::copy(back, server(target)));
    TDM1 moved;
    moved.open(back);
    QCOMPARE(moved.ADOall.first(moved.accountTotalsSql(false), {"2008-03-01", "2008-03-31"})
                 .integer("sum(应付金额)"),
             99995);
    moved.closeConnection();
    onTestServer("postgres", QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(target));
}

QTEST_MAIN(TestEngines)
#include "tst_engines.moc"
