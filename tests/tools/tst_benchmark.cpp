#include "bench.h"
#include "generator.h"
#include "support/testsession.h"
#include <QFileInfo>
#include <QtTest>
#include <memory>

// The benchmark on a tiny database: every command must produce the right rows. Nothing is timed.
class TestBenchmark : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyCommand_data();
    void everyCommand();
    void staleGridIsCaught();

private:
    std::unique_ptr<TestSession> data_;
    std::unique_ptr<Bench::Runner> runner_;
    QList<Bench::Command> commands_;
    QString shell_, extension_;
};

void TestBenchmark::initTestCase() {
    data_ = std::make_unique<TestSession>();
    Generator::Options o;
    o.scale = 0.001;
    Generator::fill(data_->dm(), o);
    runner_ = std::make_unique<Bench::Runner>(data_->folder());
    commands_ = runner_->commands();
    // The shell comparison runs too where the shell and the order module are at hand.
    const QString module = qEnvironmentVariable("LUMARETH_TEST_BINARY_DIR") + QStringLiteral("/tools/lumareth-pinyin.so");
    if (QFileInfo::exists(QStringLiteral("/usr/bin/sqlite3")) && QFileInfo::exists(module)) {
        shell_ = QStringLiteral("/usr/bin/sqlite3");
        extension_ = module;
    }
}

void TestBenchmark::cleanupTestCase() {
    runner_.reset();
    data_.reset();
}

void TestBenchmark::everyCommand_data() {
    QTest::addColumn<int>("index");
    // Built here as well: the data function runs before initTestCase has filled commands_.
    const QStringList names = [] {
        TestSession t;
        Generator::Options o;
        o.scale = 0.001;
        Generator::fill(t.dm(), o);
        Bench::Runner r(t.folder());
        QStringList out;
        for (const Bench::Command& c : r.commands())
            out << c.name;
        return out;
    }();
    for (int i = 0; i < names.size(); ++i)
        QTest::newRow(names[i].toUtf8().constData()) << i;
}

void TestBenchmark::everyCommand() {
    QFETCH(int, index);
    QVERIFY(index < commands_.size());
    Bench::Command& c = commands_[index];
    const Bench::Result r = runner_->measure(c, 2, shell_, extension_);
    if (r.pending) {
        QVERIFY(!c.run);
        return;
    }
    QVERIFY2(r.error.isEmpty(), qPrintable(c.name + QStringLiteral(": ") + r.error));
    QCOMPARE(r.ms.size(), 2);
    QVERIFY(r.peakMb > 0);
    if (!shell_.isEmpty())
        QVERIFY2(r.shellMs >= 0, qPrintable(c.name + QStringLiteral(": the shell's statements failed")));
}

void TestBenchmark::staleGridIsCaught() {
    // A grid that does not show the table as it is fails the check.
    for (Bench::Command& c : commands_) {
        if (c.name != QStringLiteral("打开客户档案"))
            continue;
        c.prepare();
        c.run();
        QVERIFY(c.check().isEmpty());
        runner_->session().dm().ADOall.exec(
            QStringLiteral("delete from 客户信息 where rowid=(select min(rowid) from 客户信息)"));
        QVERIFY(!c.check().isEmpty());
        return;
    }
    QFAIL("no customer archive command");
}

QTEST_MAIN(TestBenchmark)
#include "tst_benchmark.moc"
