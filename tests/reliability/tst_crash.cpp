#include "data/collation.h"
// Kills a copy that is saving, again and again, and checks after every kill that the database is
// sound and holds every save wholly or not at all, and every save it reported as done.
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <sqlite3.h>

namespace {
QString binaryDir() {
    return qEnvironmentVariable("LUMARETH_TEST_BINARY_DIR");
}
QString saverBinary() {
    return binaryDir() + QStringLiteral("/tests/reliability_saver");
}
QString programBinary() {
    return binaryDir() + QStringLiteral("/src/lumareth");
}

// What the saver reported as done.
struct Reported {
    QHash<QString, bool> sales; // serial -> paid at once
    QSet<QString> repairs;
    QSet<qlonglong> collected;
    int lines = 0;
    QString error;

    void read(const QByteArray& out) {
        for (const QByteArray& raw : out.split('\n')) {
            const QStringList w = QString::fromUtf8(raw).split(u' ', Qt::SkipEmptyParts);
            if (w.isEmpty() || w[0] == QStringLiteral("ready"))
                continue;
            ++lines;
            if (w[0] == QStringLiteral("sale") && w.size() == 3)
                sales.insert(w[1], w[2] == QStringLiteral("paid"));
            else if (w[0] == QStringLiteral("repair") && w.size() == 2)
                repairs.insert(w[1]);
            else if (w[0] == QStringLiteral("collected"))
                for (int i = 1; i < w.size(); ++i)
                    collected.insert(w[i].toLongLong());
            else
                error = QString::fromUtf8(raw);
        }
    }
};

// The database as an outsider sees it after a crash, over a raw connection of its own.
class Db {
  public:
    explicit Db(const QString& file) {
        sqlite3_open_v2(QFile::encodeName(file).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        // The indexes order some text columns by the program's collation: the check must compare the same way.
        Collation::registerPinyin(db_);
    }
    ~Db() { sqlite3_close(db_); }
    QStringList column(const char* sql) const {
        QStringList out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql, -1, &st, nullptr) != SQLITE_OK)
            return {QStringLiteral("prepare failed: ") + QString::fromUtf8(sqlite3_errmsg(db_))};
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW)
            out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        if (rc != SQLITE_DONE)
            out << QStringLiteral("step failed: ") + QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(st);
        return out;
    }
    qlonglong number(const char* sql) const { return column(sql).value(0).toLongLong(); }

  private:
    sqlite3* db_ = nullptr;
};

// Every failed rule of the records, as texts; empty when the database holds no half save.
QStringList brokenRules(const Db& db, const Reported& r) {
    QStringList broken;
    const QStringList check = db.column("PRAGMA integrity_check");
    if (check != QStringList{QStringLiteral("ok")})
        broken << QStringLiteral("integrity: ") + check.join(u';');
    // Rows per serial number, each save having its own serial.
    auto perSerial = [&db](const char* sql) {
        QHash<QString, int> n;
        for (const QString& serial : db.column(sql))
            ++n[serial];
        return n;
    };
    const QHash<QString, int> saleRows = perSerial("select 主机序列号 from dinggou");
    const QHash<QString, int> repairRows = perSerial("select 主机序列号 from 维修记录");
    const QHash<QString, int> entryRows = perSerial("select 主机序列号 from 帐款明细");
    const QHash<QString, int> paidRows = perSerial("select 主机序列号 from 帐款明细 where 付款情况='已付款'");
    const QHash<QString, int> receiptRows = perSerial("select 主机序列号 from 收款记录");
    for (auto it = saleRows.begin(); it != saleRows.end(); ++it)
        if (it.value() != 1 || entryRows.value(it.key()) != 1 || repairRows.contains(it.key()))
            broken << QStringLiteral("sale without exactly one account entry: ") + it.key();
    for (auto it = repairRows.begin(); it != repairRows.end(); ++it)
        if (it.value() != 1 || entryRows.value(it.key()) != 1)
            broken << QStringLiteral("repair without exactly one account entry: ") + it.key();
    for (auto it = entryRows.begin(); it != entryRows.end(); ++it) {
        if (saleRows.value(it.key()) + repairRows.value(it.key()) != 1)
            broken << QStringLiteral("account entry without its sale or repair: ") + it.key();
        if (receiptRows.value(it.key()) != paidRows.value(it.key()))
            broken << QStringLiteral("paid entry without one receipt, or unpaid entry with one: ") + it.key();
    }
    for (auto it = receiptRows.begin(); it != receiptRows.end(); ++it)
        if (!entryRows.contains(it.key()))
            broken << QStringLiteral("receipt without its entry: ") + it.key();

    // Nothing reported as saved is missing.
    const QStringList saleList = db.column("select 主机序列号 from dinggou");
    const QSet<QString> sales(saleList.begin(), saleList.end());
    const QStringList paidList = db.column("select 主机序列号 from 帐款明细 where 付款情况='已付款'");
    const QSet<QString> paid(paidList.begin(), paidList.end());
    const QStringList repairList = db.column("select 主机序列号 from 维修记录");
    const QSet<QString> repairs(repairList.begin(), repairList.end());
    const QStringList paidIdList = db.column("select id from 帐款明细 where 付款情况='已付款'");
    QSet<qlonglong> paidIds;
    for (const QString& id : paidIdList)
        paidIds.insert(id.toLongLong());
    for (auto it = r.sales.begin(); it != r.sales.end(); ++it) {
        if (!sales.contains(it.key()))
            broken << QStringLiteral("saved sale lost: ") + it.key();
        else if (it.value() && !paid.contains(it.key()))
            broken << QStringLiteral("paid sale not paid: ") + it.key();
    }
    for (const QString& s : r.repairs)
        if (!repairs.contains(s))
            broken << QStringLiteral("saved repair lost: ") + s;
    for (qlonglong id : r.collected)
        if (!paidIds.contains(id))
            broken << QStringLiteral("collected entry not paid: %1").arg(id);
    return broken;
}

void prepare(QProcess& p, const QString& program, const QTemporaryDir& home, const QTemporaryDir& tmp) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("LUMARETH_HOME"), home.path());
    env.insert(QStringLiteral("TMPDIR"), tmp.path()); // where the single-instance lock lives
    p.setProcessEnvironment(env);
    p.setProgram(program);
    p.setProcessChannelMode(QProcess::SeparateChannels);
}

// Waits for the saver's "ready" line; what came after it is kept.
bool waitReady(QProcess& p, QByteArray& out) {
    QElapsedTimer t;
    t.start();
    while (!out.contains("ready\n") && t.elapsed() < 30000) {
        if (p.state() == QProcess::NotRunning)
            return false;
        p.waitForReadyRead(100);
        out += p.readAllStandardOutput();
    }
    return out.contains("ready\n");
}
} // namespace

class CrashTest : public QObject {
    Q_OBJECT

  private slots:
    void killedWhileSavingLosesNothing();
    void secondCopyLeavesTheFirstSaving();
};

void CrashTest::killedWhileSavingLosesNothing() {
    QVERIFY(QFileInfo::exists(saverBinary()));
    QTemporaryDir home, tmp;
    const QString file = home.path() + QStringLiteral("/database/database.db");
    QRandomGenerator rng(20080305); // a fixed seed: the same kill moments on every run
    Reported reported;
    int kills = 0, cutOff = 0;
    QElapsedTimer clock;
    clock.start();
    // At least 50 kills; the ten more only while the run stays under a minute and a half.
    for (int round = 0; round < 60 && (kills < 50 || clock.elapsed() < 90000); ++round) {
        QProcess saver;
        prepare(saver, saverBinary(), home, tmp);
        saver.setArguments({QString::number(round)});
        saver.start();
        QVERIFY(saver.waitForStarted());
        QByteArray out;
        QVERIFY2(waitReady(saver, out), saver.readAllStandardError().constData());
        // Let it save for a random while, reading what it reports, then kill it.
        const int wait = int(rng.bounded(300));
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < wait && saver.state() == QProcess::Running) {
            saver.waitForReadyRead(qMax(1, wait - int(t.elapsed())));
            out += saver.readAllStandardOutput();
        }
        QCOMPARE(saver.state(), QProcess::Running);
        saver.kill(); // SIGKILL
        QVERIFY(saver.waitForFinished(10000));
        out += saver.readAllStandardOutput();
        reported.read(out);
        QVERIFY2(reported.error.isEmpty(), qPrintable(reported.error));
        ++kills;
        if (QFileInfo(file + QStringLiteral("-journal")).size() > 0)
            ++cutOff;

        // The state the next start finds, with the journal of a cut-off save rolled back.
        Db db(file);
        const QStringList broken = brokenRules(db, reported);
        QVERIFY2(broken.isEmpty(),
                 qPrintable(QStringLiteral("after kill %1: %2").arg(kills).arg(broken.join(u'\n'))));
    }
    QVERIFY(kills >= 50);
    // The loop did save: many saves were reported, of every kind.
    QVERIFY(reported.lines > kills);
    QVERIFY(!reported.sales.isEmpty());
    QVERIFY(!reported.repairs.isEmpty());
    QVERIFY(!reported.collected.isEmpty());
    Db db(file);
    qInfo("kills: %d, with a save cut off: %d, saves reported: %d, account entries: %lld", kills, cutOff,
          reported.lines, db.number("select count(*) from 帐款明细"));
}

void CrashTest::secondCopyLeavesTheFirstSaving() {
    QVERIFY(QFileInfo::exists(programBinary()));
    QTemporaryDir home, tmp;
    QProcess first;
    prepare(first, saverBinary(), home, tmp);
    first.setArguments({QStringLiteral("99")});
    first.start();
    QVERIFY(first.waitForStarted());
    QByteArray out;
    QVERIFY(waitReady(first, out));

    // Started while the first is saving: ends at once, silently, without touching anything.
    QProcess second;
    prepare(second, programBinary(), home, tmp);
    second.start();
    QVERIFY(second.waitForFinished(30000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardOutput(), QByteArray());

    // The first goes on saving.
    QCOMPARE(first.state(), QProcess::Running);
    out += first.readAllStandardOutput();
    const int before = int(out.count('\n'));
    while (out.count('\n') < before + 20 && first.state() == QProcess::Running) {
        first.waitForReadyRead(1000);
        out += first.readAllStandardOutput();
    }
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    QVERIFY(first.waitForFinished(10000));
    out += first.readAllStandardOutput();
    Reported reported;
    reported.read(out);
    QVERIFY2(reported.error.isEmpty(), qPrintable(reported.error));
    QVERIFY(reported.lines >= 20);
    Db db(home.path() + QStringLiteral("/database/database.db"));
    const QStringList broken = brokenRules(db, reported);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(u'\n')));
}

QTEST_GUILESS_MAIN(CrashTest)
#include "tst_crash.moc"
