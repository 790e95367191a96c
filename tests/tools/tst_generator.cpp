#include "data/collation.h"
#include "generator.h"
#include "support/testsession.h"
#include <QtTest>
#include <algorithm>

class TestGenerator : public QObject {
    Q_OBJECT
private slots:
    void countsAndLinks_data();
    void countsAndLinks();
    void realisticSpread();
    void pinyinOrderOfGeneratedTexts();
};

void TestGenerator::countsAndLinks_data() {
    QTest::addColumn<double>("scale");
    QTest::addColumn<int>("customers");
    QTest::addColumn<int>("sales");
    QTest::newRow("scale 0.001") << 0.001 << 100 << 1000;
    QTest::newRow("scale 0.0025") << 0.0025 << 250 << 2500;
}

void TestGenerator::countsAndLinks() {
    QFETCH(double, scale);
    QFETCH(int, customers);
    QFETCH(int, sales);
    TestSession t;
    Generator::Options o;
    o.scale = scale;
    const Generator::Counts c = Generator::fill(t.dm(), o);

    // Counts as asked, and as written.
    QCOMPARE(c.customers, customers);
    QCOMPARE(c.sales, sales);
    QCOMPARE(c.repairs, sales);
    QCOMPARE(t.count(QStringLiteral("客户信息")), customers);
    QCOMPARE(t.count(QStringLiteral("dinggou")), sales);
    QCOMPARE(t.count(QStringLiteral("维修记录")), sales);
    QCOMPARE(t.count(QStringLiteral("帐款明细")), 2 * sales);
    QCOMPARE(t.count(QStringLiteral("收款记录")), c.receipts);
    QCOMPARE(t.count(QStringLiteral("乡镇")), 300);
    QCOMPARE(t.count(QStringLiteral("帐款明细")), c.entries);

    auto one = [&](const QString& sql) { return t.dm().ADOall.first(sql).integer(QStringLiteral("n")); };
    // Every sale has its account entry, with the sale's customer, unit, amount and day.
    QCOMPARE(one(QStringLiteral("select count(*) as n from dinggou d where exists (select 1 from 帐款明细 e where "
                                "e.主机序列号=d.主机序列号 and e.客户编号=d.客户编号 and e.应付金额=d.价格 and e.日期=d.日期 "
                                "and e.客户名称=d.客户名称)")),
             sales);
    // Every repair has its entry, paid.
    QCOMPARE(one(QStringLiteral("select count(*) as n from 维修记录 r where exists (select 1 from 帐款明细 e where "
                                "e.主机序列号=r.主机序列号 and e.应付金额=r.维修费 and e.日期=r.日期 and "
                                "e.付款情况='已付款')")),
             sales);
    // Paid entries with an amount have their receipt; unpaid entries have none.
    QCOMPARE(one(QStringLiteral("select count(*) as n from 帐款明细 e where 付款情况='已付款' and 应付金额<>0 and "
                                "not exists (select 1 from 收款记录 k where k.主机序列号=e.主机序列号 and "
                                "k.金额=e.应付金额 and k.日期=e.日期)")),
             0);
    QCOMPARE(one(QStringLiteral("select count(*) as n from 帐款明细 e where 付款情况='未付款' and exists (select 1 "
                                "from 收款记录 k where k.主机序列号=e.主机序列号)")),
             0);
    QCOMPARE(one(QStringLiteral("select count(*) as n from 收款记录")),
             one(QStringLiteral("select count(*) as n from 帐款明细 where 付款情况='已付款' and 应付金额<>0")));
    // Only sales are left unpaid: about a fifth of them.
    QCOMPARE(one(QStringLiteral("select count(*) as n from 帐款明细 where 付款情况='未付款'")), c.unpaid);
    QVERIFY2(c.unpaid > sales * 0.15 && c.unpaid < sales * 0.25, qPrintable(QString::number(c.unpaid)));
    // Records copy the customer's columns from the archive.
    QCOMPARE(one(QStringLiteral("select count(*) as n from dinggou d join 客户信息 k on k.客户编号=d.客户编号 where "
                                "d.客户名称 is k.客户名称 and d.地址 is k.地址 and d.电话 is k.电话 and d.手机 is k.手机")),
             sales);
}

void TestGenerator::realisticSpread() {
    TestSession t;
    Generator::Options o;
    o.scale = 0.002;
    Generator::fill(t.dm(), o);
    auto one = [&](const QString& sql) { return t.dm().ADOall.first(sql).integer(QStringLiteral("n")); };
    // Twenty years, the recent ones busier.
    QCOMPARE(one(QStringLiteral("select count(distinct substr(日期,1,4)) as n from dinggou")), 20);
    QVERIFY(one(QStringLiteral("select min(日期)>='2005-01-01' and max(日期)<='2024-12-31' as n from 维修记录")) == 1);
    QVERIFY(one(QStringLiteral("select count(*) as n from dinggou where 日期 like '2024%'")) >
            2 * one(QStringLiteral("select count(*) as n from dinggou where 日期 like '2005%'")));
    // Records are written in the order of their days.
    QCOMPARE(one(QStringLiteral("select count(*) as n from dinggou a join dinggou b on b.id=a.id+1 where b.日期<a.日期")),
             0);
    // Names repeat; some fields are empty and some NULL.
    QVERIFY(one(QStringLiteral("select count(*) - count(distinct 客户名称) as n from 客户信息")) > 0);
    QVERIFY(one(QStringLiteral("select count(*) as n from 客户信息 where 电话 is null")) > 0);
    QVERIFY(one(QStringLiteral("select count(*) as n from 客户信息 where 电话=''")) > 0);
    QVERIFY(one(QStringLiteral("select count(*) as n from 客户信息 where 身份证号 is null")) > 0);
    // Addresses are made of the townships and villages of the reference list.
    QCOMPARE(one(QStringLiteral("select count(*) as n from 客户信息 k where 地址<>'' and not exists (select 1 from 乡镇 "
                                "z where k.地址 like z.乡镇 || z.村庄 || '%')")),
             0);
}

void TestGenerator::pinyinOrderOfGeneratedTexts() {
    TestSession t;
    Generator::Options o;
    o.scale = 0.005;
    Generator::fill(t.dm(), o);
    // The database's order (through the index and the cached sort keys) is the plain collator's.
    for (const QString& column : {QStringLiteral("客户名称"), QStringLiteral("地址")}) {
        QStringList fromDb;
        for (const Row& r : t.dm().ADOall.query(
                 QStringLiteral("select %1 as v from 客户信息 where %1 is not null order by %1").arg(column)))
            fromDb << r.text(QStringLiteral("v"));
        QStringList sorted = fromDb;
        std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
            const QByteArray x = a.toUtf8(), y = b.toUtf8();
            return Collation::compareUncached(x.constData(), int(x.size()), y.constData(), int(y.size())) < 0;
        });
        QVERIFY(fromDb.size() > 450);
        QCOMPARE(fromDb, sorted);
    }
}

QTEST_MAIN(TestGenerator)
#include "tst_generator.moc"
