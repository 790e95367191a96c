#include "admin/operatorform.h"
#include "admin/tcaozuorenyuan.h"
#include "admin/txinzengcaozuorenyuan.h"
#include "admin/txiugaimima.h"
#include "data/autobackup.h"
#include "data/backup.h"
#include "data/eventturns.h"
#include "data/passwords.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "support/mainwindowtest.h"
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

using namespace TestInput;

namespace {
QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void touchBackup(const QString& folder, const QDate& day) {
    QDir().mkpath(folder);
    QFile f(QDir(folder).filePath(AutoBackup::fileName(day)));
    QVERIFY(f.open(QIODevice::WriteOnly));
}

QStringList backupNames(const QString& folder) {
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}
} // namespace

class TestSafekeeping : public QObject {
    Q_OBJECT
  private slots:
    void hashForm() {
        const QString stored = Passwords::hash(QStringLiteral("Secret1"));
        const QStringList parts = stored.split(u'$');
        QCOMPARE(parts.size(), 4);
        QCOMPARE(parts[0], QStringLiteral("pbkdf2-sha256"));
        QCOMPARE(parts[1], QStringLiteral("120000"));
        QCOMPARE(QByteArray::fromBase64(parts[2].toLatin1()).size(), 16);
        QVERIFY(Passwords::verify(QStringLiteral("sECRET1"), stored));
        QVERIFY(!Passwords::verify(QStringLiteral("Secret2"), stored));
        // Salted: the same password never gives the same text twice.
        QVERIFY(Passwords::hash(QStringLiteral("Secret1"), 1000) !=
                Passwords::hash(QStringLiteral("Secret1"), 1000));
        QCOMPARE(Passwords::hash(QString()), QString());
        // The count is read from the stored text.
        QVERIFY(Passwords::verify(QStringLiteral("x"), Passwords::hash(QStringLiteral("x"), 7)));
        QVERIFY(!Passwords::isHash(QStringLiteral("pbkdf2-sha256$0$AAAA$AAAA")));
    }

    void constantTimeEqual_data() {
        QTest::addColumn<QByteArray>("a");
        QTest::addColumn<QByteArray>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("same") << QByteArray("abcdef") << QByteArray("abcdef") << true;
        QTest::newRow("first byte") << QByteArray("xbcdef") << QByteArray("abcdef") << false;
        QTest::newRow("last byte") << QByteArray("abcdex") << QByteArray("abcdef") << false;
        QTest::newRow("prefix") << QByteArray("abc") << QByteArray("abcdef") << false;
        QTest::newRow("both empty") << QByteArray() << QByteArray() << true;
    }
    void constantTimeEqual() {
        QFETCH(QByteArray, a);
        QFETCH(QByteArray, b);
        QFETCH(bool, equal);
        QCOMPARE(Passwords::constantTimeEqual(a, b), equal);
    }

    // A file of the earlier version keeps passwords as typed: the first start converts them.
    void oldFileConverted() {
        TestSession t;
        t.dm().ADOall.exec("update 操作员 set 密码='Secret1'");
        t.dm().ADOall.exec("insert into 操作员 (操作员, 姓名, 密码) values ('0002', '张三', 'pässwörd9')");
        const QString file = t.dm().fileName();
        const QString oldBackup = QDir(t.folder()).filePath("old.bak");
        DbBackup::backupTo(t.dm(), oldBackup);
        t.dm().closeConnection();
        t.dm().open(file);
        const auto rows = t.rows("select 密码 from 操作员 order by rowid");
        QCOMPARE(rows.size(), 2);
        QVERIFY(Passwords::isHash(rows[0][0]) && Passwords::isHash(rows[1][0]));
        QVERIFY(Passwords::verify("SECRET1", rows[0][0]));
        QVERIFY(Passwords::verify("PäSSWöRD9", rows[1][0]));
        QVERIFY(!Passwords::verify("PÄSSWÖRD9", rows[1][0]));
        // Once: a second start leaves the hashes as they are.
        t.dm().closeConnection();
        t.dm().open(file);
        QCOMPARE(t.rows("select 密码 from 操作员 order by rowid"), rows);
        // A backup of the old form restored later is converted the same way.
        DbBackup::restoreFrom(t.dm(), oldBackup);
        const auto restored = t.rows("select 密码 from 操作员 order by rowid");
        QVERIFY(restored != rows);
        QVERIFY(Passwords::verify("secret1", restored[0][0]));
        QVERIFY(Passwords::verify("pÄsswörd9", restored[1][0]) == false);
        QVERIFY(Passwords::verify("PäSSWöRD9", restored[1][0]));
        const QByteArray bytes = bytesOf(file);
        QVERIFY(!bytes.contains("Secret1"));
        QVERIFY(!bytes.contains(QStringLiteral("pässwörd9").toUtf8()));
    }

    // The new-operator window and the password change write hashes; no password is in the file.
    void screensWriteHashes() {
        MainWindowTest w;
        auto* list = w.open<Tcaozuorenyuan>("N2");
        QVERIFY(list);
        click(list->BitBtn1);
        auto* add = qobject_cast<Txinzengcaozuorenyuan*>(w.window("新增操作人员")->widget());
        QVERIFY(add);
        typeText(add->form->Edit1, "0002");
        typeText(add->form->Edit2, "Li");
        typeText(add->form->Edit3, "Kennwort7");
        typeText(add->form->Edit4, "Kennwort7");
        click(add->BitBtn1);
        auto* change = w.open<Txiugaimima>("N11");
        QVERIFY(change);
        typeText(change->Edit3, "Geheim42");
        typeText(change->Edit4, "Geheim42");
        click(change->BitBtn1);
        QCOMPARE(w.messages().texts(), (QStringList{"新增操作人员成功！", "修改成功！"}));
        const auto rows = w.ts().rows("select 密码 from 操作员 order by rowid");
        QVERIFY(Passwords::verify("geheim42", rows[0][0]));
        QVERIFY(Passwords::verify("KENNWORT7", rows[1][0]));
        QVERIFY(rows[1][0].startsWith("pbkdf2-sha256$120000$"));
        // The old password is now asked for as a hash, A-Z in any case.
        w.messages().clear();
        for (QLineEdit* e : {change->Edit2, change->Edit3, change->Edit4})
            e->clear();
        typeText(change->Edit2, "GEHEIM43");
        click(change->BitBtn1);
        change->Edit2->clear();
        typeText(change->Edit2, "gEHEIM42");
        click(change->BitBtn1);
        QCOMPARE(w.messages().texts(), (QStringList{"旧密码不正确！", "修改成功！"}));
        QCOMPARE(w.ts().rows("select 密码 from 操作员 where 操作员='0001'"), QList<QStringList>{{QString()}});
        const QByteArray bytes = bytesOf(w.dm().fileName());
        for (const char* typed : {"Kennwort7", "KENNWORT7", "Geheim42", "GEHEIM42"})
            QVERIFY2(!bytes.contains(typed), typed);
    }

    void dailyBackup() {
        MainWindowTest w;
        w.dm().ADOall.exec("insert into 客户信息 (客户编号, 客户名称) values (1, '张三')");
        auto* status = w.main().findChild<QLabel*>("BackupStatus1");
        QVERIFY(status && !status->isVisible());
        bool shownMeanwhile = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] { shownMeanwhile |= status->isVisible(); });
        probe.start(0);
        const int previous = EventTurns::setInterval(0);
        w.main().autoBackup();
        EventTurns::setInterval(previous);
        probe.stop();
        QVERIFY(shownMeanwhile);
        QVERIFY(!status->isVisible());
        QVERIFY(w.messages().shown.empty());
        const QString folder = QDir(w.ts().folder()).filePath("backup");
        const QString file = AutoBackup::fileFor(AutoBackup::settings(), QDate::currentDate());
        QCOMPARE(QFileInfo(file).absolutePath(), folder);
        QCOMPARE(QFile::permissions(file) & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser);
        DbBackup::verifyCopy(file, DbBackup::tableCounts(w.dm()));
        // The day's backup is made once: a second run leaves it as it was.
        const QByteArray first = bytesOf(file);
        w.dm().ADOall.exec("insert into 客户信息 (客户编号, 客户名称) values (2, '李四')");
        w.main().autoBackup();
        QCOMPARE(bytesOf(file), first);
        QCOMPARE(backupNames(folder), QStringList{AutoBackup::fileName(QDate::currentDate())});
        // "数据恢复" opens at it.
        w.files().answer(QString());
        w.open("N12");
        QCOMPARE(w.files().asked.back().fileName, file);
    }

    void keptDays_data() {
        QTest::addColumn<int>("keep");
        QTest::addColumn<QList<int>>("agesBefore");
        QTest::addColumn<QList<int>>("agesAfter");
        QTest::newRow("default 30") << 0 << QList<int>{40, 31, 30, 29, 1} << QList<int>{29, 1, 0};
        QTest::newRow("3 days") << 3 << QList<int>{5, 3, 2} << QList<int>{2, 0};
    }
    void keptDays() {
        QFETCH(int, keep);
        QFETCH(QList<int>, agesBefore);
        QFETCH(QList<int>, agesAfter);
        MainWindowTest w;
        if (keep)
            IniFile::write(ProgramFolder::iniFile(), "自动备份", "保留天数", QString::number(keep));
        const QDate today = QDate::currentDate();
        const QString folder = QDir(w.ts().folder()).filePath("backup");
        for (int age : agesBefore)
            touchBackup(folder, today.addDays(-age));
        QFile other(QDir(folder).filePath("notes.bak"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.close();
        w.main().autoBackup();
        QStringList expected{"notes.bak"};
        for (int age : agesAfter)
            expected << AutoBackup::fileName(today.addDays(-age));
        expected.sort();
        QCOMPARE(backupNames(folder), expected);
    }

    void newestNeverRemoved() {
        TestSession t;
        AutoBackup::Settings s;
        s.folder = QDir(t.folder()).filePath("usb");
        s.keepDays = 30;
        const QDate today = QDate::currentDate();
        touchBackup(s.folder, today.addDays(-100));
        touchBackup(s.folder, today.addDays(-50));
        AutoBackup::prune(s, today);
        QCOMPARE(backupNames(s.folder), QStringList{AutoBackup::fileName(today.addDays(-50))});
    }

    // A named folder that is not there (a USB stick not plugged in) is not made: one warning, tried
    // again at exit, nothing else changes.
    void missingFolder() {
        MainWindowTest w;
        const QString usb = QDir(w.ts().folder()).filePath("usb/lumareth");
        IniFile::write(ProgramFolder::iniFile(), "自动备份", "目录", usb);
        w.main().autoBackup();
        QCOMPARE(w.messages().shown.size(), size_t(1));
        QCOMPARE(w.messages().last().icon, MsgIcon::Warning);
        QCOMPARE(w.messages().last().caption, QString("提示"));
        QCOMPARE(
            w.messages().last().text,
            QString("今天的自动备份没有完成，请检查备份文件夹或磁盘空间！\n备份文件夹“%1”不存在！").arg(usb));
        QVERIFY(!QFileInfo::exists(usb));
        QVERIFY(!w.main().findChild<QLabel*>("BackupStatus1")->isVisible());
        // The program works on; at exit the backup is tried once more.
        auto* change = w.open<Txiugaimima>("N11");
        QVERIFY(change);
        QDir().mkpath(usb);
        w.closeAll();
        w.main().close();
        QCOMPARE(w.messages().texts().last(), QString("确实要退出本系统吗？"));
        QVERIFY(QFileInfo::exists(QDir(usb).filePath(AutoBackup::fileName(QDate::currentDate()))));
    }

    // A disk that fills up during the copy: the warning, and no file left behind.
    void fullDisk() {
        MainWindowTest w;
        const QString folder = QDir(w.ts().folder()).filePath("backup");
        const qint64 size = QFileInfo(w.dm().fileName()).size();
        QVERIFY(size > 32768);
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        auto previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = old;
        small.rlim_cur = 16384;
        setrlimit(RLIMIT_FSIZE, &small);
        w.main().autoBackup();
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(w.messages().shown.size(), size_t(1));
        QVERIFY(w.messages().last().text.startsWith("今天的自动备份没有完成"));
        QCOMPARE(backupNames(folder), QStringList());
        QCOMPARE(w.ts().count("操作员"), 1);
    }

    void verificationCatchesDamage_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("damaged page") << "page"
                                      << "已损坏";
        QTest::newRow("row missing") << "row"
                                     << "记录数";
        QTest::newRow("not a database") << "garbage"
                                        << "已损坏";
    }
    void verificationCatchesDamage() {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        TestSession t;
        for (int i = 0; i < 300; ++i)
            t.dm().ADOall.exec("insert into 客户信息 (客户编号, 客户名称, 地址) values (?, ?, ?)",
                               {i, QString("客户%1").arg(i), QString(40, u'路')});
        const QString copy = QDir(t.folder()).filePath("copy.bak");
        DbBackup::backupTo(t.dm(), copy);
        const QList<qlonglong> counts = DbBackup::tableCounts(t.dm());
        DbBackup::verifyCopy(copy, counts);
        if (damage == "row") {
            TestSession other;
            other.dm().open(copy);
            other.dm().ADOall.exec("delete from 客户信息 where 客户编号=7");
            other.dm().closeConnection();
        } else {
            QFile f(copy);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const qint64 at = damage == "page" ? f.size() / 2 : 0;
            f.seek(at);
            f.write(QByteArray(damage == "page" ? 4096 : 200, '\x5a'));
        }
        try {
            DbBackup::verifyCopy(copy, counts);
            QFAIL("a damaged copy passed");
        } catch (const DbError& e) {
            QVERIFY2(e.text().contains(reason), qPrintable(e.text()));
        }
    }
};

QTEST_MAIN(TestSafekeeping)
#include "tst_safekeeping.moc"
