#include "data/collation.h"
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// Starts the real program twice: the second copy must end at once, silently.
class InstanceTest : public QObject {
    Q_OBJECT

    QString binary() const {
        return qEnvironmentVariable("LUMARETH_TEST_BINARY_DIR") + QStringLiteral("/src/lumareth");
    }
    void prepare(QProcess& p, const QTemporaryDir& home, const QTemporaryDir& tmp) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("LUMARETH_HOME"), home.path());
        env.insert(QStringLiteral("TMPDIR"), tmp.path()); // where the single-instance lock lives
        p.setProcessEnvironment(env);
        p.setProgram(binary());
    }
    static qint64 lockOwner(const QString& lockFile) {
        QLockFile lock(lockFile);
        qint64 pid = 0;
        QString host, app;
        return lock.getLockInfo(&pid, &host, &app) ? pid : 0;
    }

  private slots:
    void secondCopyEndsSilently() {
        QVERIFY(QFileInfo::exists(binary()));
        QTemporaryDir home, tmp;
        const QString lockFile = tmp.path() + QStringLiteral("/marloteckehuguanli.lock");
        QProcess first;
        prepare(first, home, tmp);
        first.start();
        QVERIFY(first.waitForStarted());
        // The first copy holds the lock while it waits at the login window.
        QTRY_COMPARE_WITH_TIMEOUT(lockOwner(lockFile), first.processId(), 20000);

        QProcess second;
        prepare(second, home, tmp);
        second.start();
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(second.readAllStandardOutput(), QByteArray());
        QCOMPARE(first.state(), QProcess::Running);
        QCOMPARE(lockOwner(lockFile), first.processId());

        // A copy that crashed leaves its lock behind; the next start takes it over.
        first.kill();
        QVERIFY(first.waitForFinished(20000));
        QVERIFY(QFileInfo::exists(lockFile));
        QProcess third;
        prepare(third, home, tmp);
        third.start();
        QVERIFY(third.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(lockOwner(lockFile), third.processId(), 20000);
        QCOMPARE(third.state(), QProcess::Running);
        third.kill();
        QVERIFY(third.waitForFinished(20000));
    }

    // The collation's signature is written into a new database and compared at every start; a
    // start by another process must find the same, or every start would rebuild every index in
    // Chinese order (minutes on years of data).
    void collationSignatureSameInEveryProcess() {
        QTemporaryDir home, tmp;
        QProcess program;
        prepare(program, home, tmp);
        program.start();
        QVERIFY(program.waitForStarted());
        const QString file = home.path() + QStringLiteral("/database/database.db");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(file), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(lockOwner(tmp.path() + QStringLiteral("/marloteckehuguanli.lock")),
                                  program.processId(), 20000);
        program.kill();
        QVERIFY(program.waitForFinished(20000));
        int version = 0;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
            db.setDatabaseName(file);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            QVERIFY(db.open());
            QSqlQuery q(QStringLiteral("PRAGMA user_version"), db);
            QVERIFY(q.next());
            version = q.value(0).toInt();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("check"));
        QVERIFY(version != 0);
        QCOMPARE(version, Collation::signature());
    }
};

QTEST_MAIN(InstanceTest)
#include "tst_instance.moc"
