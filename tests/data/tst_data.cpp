#include "data/collation.h"
#include "data/dates.h"
#include "data/money.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "support/testsession.h"
#include <QFile>
#include <QStringEncoder>
#include <QTest>
#include <sqlite3.h>

class TestData : public QObject {
    Q_OBJECT
private slots:
    void newDatabaseHasSchemaAndSeeds();
    void valuesAreStoredExactlyAsTyped_data();
    void valuesAreStoredExactlyAsTyped();
    void moneyParsing_data();
    void moneyParsing();
    void moneyDisplayAndSums();
    void dateForms();
    void betweenIncludesBothEnds();
    void failedSaveLeavesNothing();
    void pinyinOrder();
    void unknownColumnIsRefused();
    void wholeNumbersAreChecked_data();
    void wholeNumbersAreChecked();
    void settingsFileEncodings_data();
    void settingsFileEncodings();
    void settingsWriteKeepsOtherLines();
    void sharedQueryFollowsEveryBinding();
    void foreignFileIsRefusedAndKept();
    void indexesFollowANewCollationOrder();
    void totalsNeedNoOrder_data();
    void totalsNeedNoOrder();
    void olderFileGetsTheNewIndexes();
    void operatorNumbersUniqueWithoutCase();
    void accountStatisticsOnceLarge_data();
    void accountStatisticsOnceLarge();
};

void TestData::newDatabaseHasSchemaAndSeeds() {
    TestSession t;
    QCOMPARE(t.rows("select 维修项目 from 维修项目 order by rowid"),
             (QList<QStringList>{{"主机"}, {"键盘"}, {"显示器"}, {"鼠标"}, {"系统"}, {"其他"}}));
    const Row op = t.dm().ADOall.first("select * from 操作员");
    QCOMPARE(op.text("操作员"), QString("0001"));
    QCOMPARE(op.text("姓名"), QString("系统管理员"));
    QVERIFY(op.value("密码").isNull());
    QCOMPARE(op.text("密码"), QString());
    for (int f = 1; f <= 17; ++f)
        QVERIFY2(op.flag(QString::number(f)), qPrintable(QString::number(f)));
    QCOMPARE(t.count("操作员"), 1);
    for (const char* table : {"客户信息", "dinggou", "维修记录", "帐款明细", "收款记录", "乡镇"})
        QCOMPARE(t.count(QString::fromUtf8(table)), 0);
    QCOMPARE(t.dm().columns("dinggou"),
             (QStringList{"id", "客服人员", "身份证号", "出生年", "手机", "客户编号", "客户名称", "地址", "电话",
                          "订购型号", "主机序列号", "价格", "备注", "日期", "经手人"}));
    // The next customer number of an empty archive is 1.
    const Row max = t.dm().ADOall.first("select max(客户编号) as 最大编号 from 客户信息");
    QCOMPARE(max.integer("最大编号") + 1, 1);
    QVERIFY(QFile::permissions(ProgramFolder::databaseFile()) ==
            (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser));
}

void TestData::valuesAreStoredExactlyAsTyped_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("apostrophe") << "O'Neil";
    QTest::newRow("quotes") << "\"张三\" 'x'";
    QTest::newRow("percent and underscore") << "100%_a";
    QTest::newRow("backslash") << "a\\b\\'";
    QTest::newRow("sql") << "x'); delete from 客户信息; --";
    QTest::newRow("outside gbk") << "𠮷😀";
    QTest::newRow("line breaks") << "一\r\n二\n三";
}

void TestData::valuesAreStoredExactlyAsTyped() {
    QFETCH(QString, name);
    TestSession t;
    t.dm().ADOall.exec("insert into 客户信息(客户编号, 客户名称) values(?, ?)", {1, name});
    t.dm().ADOall.exec("insert into 客户信息(客户编号, 客户名称) values(?, ?)", {2, "other"});
    QCOMPARE(t.dm().ADOall.first("select * from 客户信息 where 客户名称=?", {name}).text("客户名称"), name);
    const auto found = t.dm().ADOall.query("select * from 客户信息 where 客户名称 like ? escape '!'",
                                           {"%" + name.replace("!", "!!").replace("%", "!%").replace("_", "!_") + "%"});
    QCOMPARE(int(found.size()), 1);
    QCOMPARE(t.count("客户信息"), 2);
}

void TestData::moneyParsing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qlonglong>("units");
    QTest::addColumn<QString>("display");
    QTest::newRow("whole") << "1250" << true << 12500000LL << "1250";
    QTest::newRow("half") << "99.50" << true << 995000LL << "99.5";
    QTest::newRow("quarter") << ".25" << true << 2500LL << "0.25";
    QTest::newRow("four decimals") << "0.0001" << true << 1LL << "0.0001";
    QTest::newRow("negative") << "-3" << true << -30000LL << "-3";
    QTest::newRow("trailing point") << "7." << true << 70000LL << "7";
    QTest::newRow("leading zeros") << "007" << true << 70000LL << "7";
    QTest::newRow("zero") << "0" << true << 0LL << "0";
    QTest::newRow("empty") << "" << false << 0LL << "";
    QTest::newRow("minus alone") << "-" << false << 0LL << "";
    QTest::newRow("point alone") << "." << false << 0LL << "";
    QTest::newRow("five decimals") << "1.00001" << false << 0LL << "";
    QTest::newRow("two points") << "1.2.3" << false << 0LL << "";
    QTest::newRow("inner minus") << "1-2" << false << 0LL << "";
    QTest::newRow("blank") << " 5" << false << 0LL << "";
    QTest::newRow("letters") << "12a" << false << 0LL << "";
    QTest::newRow("thousands") << "1,000" << false << 0LL << "";
    QTest::newRow("too large") << "1234567890123456" << false << 0LL << "";
    QTest::newRow("fifteen digits overflow once scaled") << "990000000000002" << false << 0LL << "";
    QTest::newRow("largest") << "-99999999999999.9999" << true << -999999999999999999LL << "-99999999999999.9999";
}

void TestData::moneyParsing() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qlonglong, units);
    QFETCH(QString, display);
    const auto m = Money::tryParse(text);
    QCOMPARE(m.has_value(), valid);
    if (valid) {
        QCOMPARE(m->units(), units);
        QCOMPARE(m->toString(), display);
    } else {
        try {
            Money::parse(text);
            QFAIL("a bad amount was accepted");
        } catch (const DbError& e) {
            QCOMPARE(e.text(), QString("“%1”不是有效的金额！").arg(text));
        }
    }
}

void TestData::moneyDisplayAndSums() {
    TestSession t;
    for (const char* p : {"0.1", "0.2", "1250", "-0.3"})
        t.dm().ADOall.exec("insert into dinggou(价格, 日期) values(?, '2008-03-05')",
                           {Money::parse(QString::fromLatin1(p)).toVariant()});
    t.dm().ADOQuery(12).open("select * from dinggou");
    QCOMPARE(t.dm().ADOQuery(12).sum("价格").toString(), QString("1250"));
    QCOMPARE(t.dm().ADOQuery(12).count(), 4);
    QCOMPARE(t.dm().ADOQuery(12).row(0).text("价格"), QString("0.1"));
    QCOMPARE(t.dm().ADOQuery(12).row(0).text("日期"), QString("2008-3-5"));
}

void TestData::dateForms() {
    const QDate d(2008, 3, 5);
    QCOMPARE(Dates::toSql(d), QString("2008-03-05"));
    QCOMPARE(Dates::shortDate(d), QString("2008-3-5"));
    QCOMPARE(Dates::longDate(d), QString("2008年3月5日"));
    QCOMPARE(Dates::longTime(QTime(9, 5, 7)), QString("9:05:07"));
    QCOMPARE(Dates::fromShortDate("2008-3-5"), d);
    QCOMPARE(Dates::fromShortDate("2008-03-05"), d);
    QVERIFY(!Dates::fromShortDate("").isValid());
    QVERIFY(!Dates::fromShortDate("2008-2-30").isValid());
    QCOMPARE(Dates::fromSql("2008-03-05"), d);
}

void TestData::betweenIncludesBothEnds() {
    TestSession t;
    for (const char* d : {"2008-02-29", "2008-03-01", "2008-03-15", "2008-03-31", "2008-04-01"})
        t.dm().ADOall.exec("insert into 收款记录(金额, 日期) values(1, ?)", {QString::fromLatin1(d)});
    const auto rows = t.rows("select 日期 from 收款记录 where 日期 between ? and ? order by 日期",
                             {Dates::toSql({2008, 3, 1}), Dates::toSql({2008, 3, 31})});
    QCOMPARE(rows, (QList<QStringList>{{"2008-3-1"}, {"2008-3-15"}, {"2008-3-31"}}));
}

void TestData::failedSaveLeavesNothing() {
    TestSession t;
    t.dm().ADOQuery(10).open("select * from dinggou");
    try {
        t.dm().transaction([&] {
            t.dm().ADOall.exec("insert into dinggou(价格) values(1)");
            t.dm().ADOall.exec("insert into 帐款明细(应付金额) values(1)");
            t.dm().ADOall.exec("insert into no_such_table values(1)");
        });
        QFAIL("the failing statement did not throw");
    } catch (const DbError& e) {
        QVERIFY(e.text().contains("no_such_table"));
    }
    QCOMPARE(t.count("dinggou"), 0);
    QCOMPARE(t.count("帐款明细"), 0);
    QVERIFY(!t.dm().inTransaction());
    QVERIFY(t.dm().ADOQuery(10).isOpen());
    // The connection goes on working after the rollback.
    t.dm().transaction([&] { t.dm().ADOall.exec("insert into dinggou(价格) values(1)"); });
    QCOMPARE(t.count("dinggou"), 1);
}

void TestData::pinyinOrder() {
    TestSession t;
    for (const char* n : {"张三", "bob", "李四", "Alice", "王五", "阿明"})
        t.dm().ADOall.exec("insert into 客户信息(客户名称) values(?)", {QString::fromUtf8(n)});
    QCOMPARE(t.rows("select 客户名称 from 客户信息 order by 客户名称"),
             (QList<QStringList>{{"阿明"}, {"李四"}, {"王五"}, {"张三"}, {"Alice"}, {"bob"}}));
    // Letter case is ignored when comparing, so an upper-case name finds a lower-case one.
    QCOMPARE(t.rows("select 客户名称 from 客户信息 where 客户名称=?", {"BOB"}), (QList<QStringList>{{"bob"}}));
    // Texts that differ by more than case stay different.
    t.dm().ADOall.exec("insert into 客户信息(客户名称) values(?)", {QString("bob\x01")});
    QCOMPARE(t.rows("select 客户名称 from 客户信息 where 客户名称=?", {"bob"}).size(), 1);
}

void TestData::unknownColumnIsRefused() {
    TestSession t;
    QCOMPARE(t.dm().checkColumn("客户信息", "备注"), QString("备注"));
    QCOMPARE(t.dm().checkColumn("dinggou", "ID"), QString("id"));
    try {
        t.dm().checkColumn("客户信息", "x; drop table 客户信息");
        QFAIL("an unknown column was accepted");
    } catch (const DbError& e) {
        QCOMPARE(e.text(), QString("表“客户信息”中没有名为“x; drop table 客户信息”的列！"));
    }
    QCOMPARE(t.dm().columns("客户信息").size(), 9);
}

void TestData::wholeNumbersAreChecked_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "7" << true;
    QTest::newRow("leading zeros") << "007" << true;
    QTest::newRow("negative") << "-2" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters") << "7a" << false;
    QTest::newRow("quote") << "1' or '1'='1" << false;
    QTest::newRow("decimal") << "1.5" << false;
    QTest::newRow("blanks around") << " 40 " << true;
    QTest::newRow("tab before") << "\t-40" << true;
    QTest::newRow("blank inside") << "4 0" << false;
    QTest::newRow("only blanks") << "  " << false;
}

void TestData::wholeNumbersAreChecked() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    try {
        const qlonglong n = Values::wholeNumber(text);
        QVERIFY(valid);
        QCOMPARE(n, text.toLongLong());
    } catch (const DbError& e) {
        QVERIFY(!valid);
        QCOMPARE(e.text(), QString("“%1”不是有效的数字！").arg(text));
    }
}

void TestData::settingsFileEncodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("utf8") << QString("[程序参数]\r\n店铺名称=实惠电脑\r\n").toUtf8();
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF") + QString("[程序参数]\n店铺名称=实惠电脑\n").toUtf8();
    QStringEncoder gbk("GBK");
    QTest::newRow("gbk") << QByteArray(gbk.encode(QString("[程序参数]\r\n店铺名称=实惠电脑\r\n")));
}

void TestData::settingsFileEncodings() {
    QFETCH(QByteArray, bytes);
    TestSession t(false);
    QFile f(ProgramFolder::iniFile());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QCOMPARE(IniFile::read(ProgramFolder::iniFile(), "程序参数", "店铺名称"), QString("实惠电脑"));
    QCOMPARE(IniFile::read(ProgramFolder::iniFile(), "程序参数", "其他", "默认"), QString("默认"));
    // Rewriting keeps the value and stores the file as UTF-8.
    IniFile::write(ProgramFolder::iniFile(), "程序参数", "店铺名称", "新店");
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), QString("[程序参数]\r\n店铺名称=新店\r\n"));
}

void TestData::settingsWriteKeepsOtherLines() {
    TestSession t(false);
    const QString ini = ProgramFolder::iniFile();
    QCOMPARE(IniFile::read(ini, "程序参数", "店铺名称"), QString());
    IniFile::write(ini, "打印", "纸宽", "80");
    IniFile::write(ini, "程序参数", "店铺名称", "一\n二");
    IniFile::write(ini, "打印", "份数", "2");
    QFile f(ini);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(f.readAll()), QString("[打印]\r\n纸宽=80\r\n份数=2\r\n[程序参数]\r\n店铺名称=一 二\r\n"));
}

void TestData::sharedQueryFollowsEveryBinding() {
    TestSession t;
    t.dm().ADOall.exec("insert into 客户信息(客户编号, 客户名称) values(1, '甲'), (2, '乙')");
    SharedQuery& q = t.dm().ADOQuery(5);
    QVERIFY(!q.isOpen());
    int reloads = 0;
    connect(&q, &SharedQuery::reloaded, this, [&] { ++reloads; });
    q.open("select * from 客户信息 where 客户名称 like ?", {"%乙%"});
    QCOMPARE(q.model()->rowCount(), 1);
    QCOMPARE(q.row(0).text("客户名称"), QString("乙"));
    try {
        q.open("select * from 客户信息 where nope like ?", {"%"});
        QFAIL("a bad statement opened");
    } catch (const DbError&) {
    }
    QVERIFY(!q.isOpen());
    QCOMPARE(q.model()->rowCount(), 0);
    QCOMPARE(reloads, 2);
    q.open("select * from 客户信息");
    q.setSort({{"客户编号", Qt::DescendingOrder}});
    QCOMPARE(q.row(0).integer("客户编号"), 2);
}

void TestData::foreignFileIsRefusedAndKept() {
    TestSession t(false);
    QDir().mkpath(t.folder() + "/database");
    const QString file = ProgramFolder::databaseFile();
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    const QByteArray junk(4096, 'x');
    f.write(junk);
    f.close();
    try {
        t.dm().open(file);
        QFAIL("a damaged file opened");
    } catch (const DbError&) {
    }
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), junk);
}

void TestData::indexesFollowANewCollationOrder() {
    TestSession t;
    const QString file = ProgramFolder::databaseFile();
    QCOMPARE(t.dm().ADOall.first("PRAGMA user_version").integer("user_version"), Collation::signature());
    for (const char* n : {"张三", "李四", "王五"})
        t.dm().ADOall.exec("insert into 客户信息(客户名称) values(?)", {QString::fromUtf8(n)});
    t.dm().closeConnection();
    // Another order of the same collation name, as an older system's rules would have built the index.
    sqlite3* raw = nullptr;
    QCOMPARE(sqlite3_open_v2(QFile::encodeName(file).constData(), &raw, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_create_collation(raw, "PINYIN", SQLITE_UTF8, nullptr, [](void*, int a, const void* x, int b, const void* y) {
        const int c = memcmp(y, x, size_t(std::min(a, b)));
        return c ? c : b - a;
    });
    QCOMPARE(sqlite3_exec(raw, "insert into 客户信息(客户名称) values('赵六'),('阿明'),('bob'); PRAGMA user_version=7;",
                          nullptr, nullptr, nullptr),
             SQLITE_OK);
    sqlite3_close(raw);
    t.dm().open(file);
    QCOMPARE(t.rows("PRAGMA integrity_check"), (QList<QStringList>{{"ok"}}));
    QCOMPARE(t.dm().ADOall.first("PRAGMA user_version").integer("user_version"), Collation::signature());
    for (const char* n : {"张三", "赵六", "阿明", "BOB"})
        QCOMPARE(t.rows("select count(*) from 客户信息 where 客户名称=?", {QString::fromUtf8(n)}),
                 (QList<QStringList>{{"1"}}));
}

void TestData::totalsNeedNoOrder_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("unordered");
    QTest::newRow("plain") << "select * from dinggou" << "select * from dinggou";
    QTest::newRow("ordered") << "select * from dinggou where 价格>? order by 客户名称, id"
                             << "select * from dinggou where 价格>? ";
    QTest::newRow("upper case, line break") << "SELECT * FROM dinggou ORDER\n BY id DESC"
                                            << "SELECT * FROM dinggou ";
    QTest::newRow("inner order only") << "select * from (select * from dinggou order by id) where 价格>0"
                                      << "select * from (select * from dinggou order by id) where 价格>0";
    QTest::newRow("quoted words") << "select * from dinggou where 备注='order by' and \"order by\"=1"
                                  << "select * from dinggou where 备注='order by' and \"order by\"=1";
    QTest::newRow("limit keeps its order") << "select * from dinggou order by id limit 5"
                                           << "select * from dinggou order by id limit 5";
    QTest::newRow("column named like it") << "select recorder from t order by recorder"
                                          << "select recorder from t ";
}

void TestData::totalsNeedNoOrder() {
    QFETCH(QString, sql);
    QFETCH(QString, unordered);
    TestSession t;
    SharedQuery& q = t.dm().ADOQuery(12);
    try {
        q.open(sql, {0});
    } catch (const DbError&) {
        // Only the statement's text matters here.
    }
    QCOMPARE(q.unorderedSql(), unordered);
}

// A file written before the account entries' lookups carried the payment state opens with the new
// indexes in place of the old ones, and its listings then need no sort.
void TestData::olderFileGetsTheNewIndexes() {
    TestSession t;
    TDM1& dm = t.dm();
    const QString file = dm.fileName();
    const auto indexes = [&dm] {
        QStringList names;
        for (const Row& r : dm.ADOall.query(
                 "select name from sqlite_master where type='index' and tbl_name='帐款明细' order by name"))
            names << r.text("name");
        return names;
    };
    const QStringList fresh = indexes();
    QVERIFY(fresh.contains("ix_帐款明细_客户名称_付款情况"));
    QVERIFY(fresh.contains("ix_帐款明细_付款情况_客户名称"));
    QVERIFY(!fresh.contains("ix_帐款明细_客户名称"));
    // The file as an earlier version left it.
    for (const QString& name : fresh)
        if (name != "ix_帐款明细_日期" && name != "ix_帐款明细_付款情况")
            dm.ADOall.exec(QString("DROP INDEX \"%1\"").arg(name));
    for (const char* c : {"客户编号", "客户名称", "电话", "手机", "地址"})
        dm.ADOall.exec(QString("CREATE INDEX \"ix_帐款明细_%1\" ON 帐款明细 (\"%1\")").arg(QString::fromUtf8(c)));
    dm.ADOall.exec("insert into 帐款明细(客户名称,应付金额,付款情况,日期) values('张三',10,'未付款','2008-01-01')");
    dm.closeConnection();
    dm.open(file);
    QCOMPARE(indexes(), fresh);
    QCOMPARE(t.rows("select 客户名称, 付款情况 from 帐款明细"), (QList<QStringList>{{"张三", "未付款"}}));
    const QStringList listings{
        "select * from 帐款明细 where 客户名称=? order by 付款情况, id",
        "select * from 帐款明细 where (付款情况='未付款') and (应付金额<>0) order by 客户名称, id",
        "select * from 帐款明细 order by 付款情况 COLLATE PINYIN, 日期"};
    for (const QString& sql : listings) {
        QStringList plan;
        for (const Row& r : dm.ADOall.query("EXPLAIN QUERY PLAN " + sql, sql.contains('?') ? QVariantList{"张三"} : QVariantList{}))
            plan << r.text("detail");
        QVERIFY2(!plan.join(" | ").contains("TEMP B-TREE"), qPrintable(sql + " : " + plan.join(" | ")));
    }
    // Opening again changes nothing.
    dm.closeConnection();
    dm.open(file);
    QCOMPARE(indexes(), fresh);
}

void TestData::operatorNumbersUniqueWithoutCase() {
    TestSession t;
    TDM1& dm = t.dm();
    const QString file = dm.fileName();
    const QString add = "insert into 操作员(操作员) values(?)";
    const auto indexed = [&dm] {
        return !dm.ADOall.first("select 1 as k from sqlite_master where name='ux_操作员_编号'").isEmpty();
    };
    dm.ADOall.exec(add, {"a5"});
    QVERIFY_THROWS_EXCEPTION(DbError, dm.ADOall.exec(add, {"A5"}));
    dm.ADOall.exec(add, {"ä5"});
    dm.ADOall.exec(add, {"Ä5"}); // only A to Z are folded
    // An older file that holds such a pair opens as it is, and gets the index once the pair is gone.
    dm.ADOall.exec("drop index ux_操作员_编号");
    dm.ADOall.exec(add, {"A5"});
    dm.closeConnection();
    dm.open(file);
    QVERIFY(!indexed());
    QCOMPARE(t.count("操作员"), 5);
    dm.ADOall.exec("delete from 操作员 where 操作员='A5'");
    dm.closeConnection();
    dm.open(file);
    QVERIFY(indexed());
    QVERIFY_THROWS_EXCEPTION(DbError, dm.ADOall.exec(add, {"A5"}));
}

// A file with many account entries gets their statistics when it opens, and the account summary
// then reads a period from the state-and-day index in its order, without a sort; the rows come
// in the same order as without statistics.
void TestData::accountStatisticsOnceLarge_data() {
    QTest::addColumn<int>("entries");
    QTest::addColumn<bool>("statistics");
    QTest::newRow("few") << 500 << false;
    QTest::newRow("many") << 12000 << true;
}

void TestData::accountStatisticsOnceLarge() {
    QFETCH(int, entries);
    QFETCH(bool, statistics);
    TestSession t;
    TDM1& dm = t.dm();
    const QString file = dm.fileName();
    dm.transaction([&] {
        for (int i = 0; i < entries; ++i)
            dm.ADOall.exec("insert into 帐款明细(客户编号,地址,应付金额,付款情况,日期) values(?,?,?,?,?)",
                           {i % 700, "城关镇", 10000, i % 5 == 0 ? "未付款" : "已付款",
                            Dates::toSql(QDate(2008, 1, 1).addDays(i % 3000))});
    });
    const QString sql = "select id from 帐款明细 where 日期 between ? and ? and 地址 like ? escape '!' "
                        "order by 付款情况 COLLATE PINYIN, 日期";
    const QVariantList params{"2008-03-01", "2008-12-31", "%"};
    const auto ids = [&] {
        QStringList out;
        for (const Row& r : dm.ADOall.query(sql, params))
            out << r.text("id");
        return out;
    };
    const QStringList before = ids();
    dm.closeConnection();
    dm.open(file);
    const bool hasTable =
        dm.ADOall.first("select count(*) as n from sqlite_master where name='sqlite_stat1'").integer("n") > 0;
    const qlonglong statRows =
        hasTable ? dm.ADOall.first("select count(*) as n from sqlite_stat1 where tbl='帐款明细'").integer("n") : 0;
    QCOMPARE(statRows > 0, statistics);
    if (statistics) {
        QStringList plan;
        for (const Row& r : dm.ADOall.query("EXPLAIN QUERY PLAN " + sql, params))
            plan << r.text("detail");
        QVERIFY2(!plan.join(" | ").contains("TEMP B-TREE"), qPrintable(plan.join(" | ")));
        QVERIFY2(plan.join(" | ").contains("ix_帐款明细_付款情况_日期"), qPrintable(plan.join(" | ")));
    }
    QVERIFY(!before.isEmpty());
    QCOMPARE(ids(), before);
}

QTEST_MAIN(TestData)
#include "tst_data.moc"
