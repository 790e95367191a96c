// Faults around the database file: a full disk and a read-only file during a save, damaged files
// at start-up, and the owner-only mode of every file that holds customer records.
#include "data/backup.h"
#include "data/collation.h"
#include "data/programfolder.h"
#include "frame/startup.h"
#include "reports/export/export.h"
#include "reports/export/gridexport.h"
#include "support/testsession.h"
#include "trade/arrearslist.h"
#include "trade/tbushou.h"
#include "trade/tdinggou.h"
#include "ui/datagrid.h"
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSqlDriver>
#include <QTableWidget>
#include <QTest>
#include <sqlite3.h>
#include <sys/stat.h>

using namespace TestInput;

namespace {
template <class S> S* openScreen(TestSession& t) {
    auto* s = new S(t.session());
    s->setAttribute(Qt::WA_DeleteOnClose);
    s->show();
    s->activateWindow();
    if (!QTest::qWaitForWindowActive(s))
        qWarning("window not active");
    return s;
}

QByteArray bytesOf(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& file, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

mode_t modeOf(const QString& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0)
        return 0;
    return st.st_mode & 07777;
}

sqlite3* handle(TDM1& dm) {
    return *static_cast<sqlite3* const*>(dm.db().driver()->handle().data());
}

// The screen's connection opened again read-only, as on a file the user may not write.
void reopenReadOnly(TDM1& dm) {
    QSqlDatabase d = dm.db();
    d.close();
    d.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    QVERIFY(d.open());
    Collation::registerPinyin(handle(dm));
}

// A sale typed in full on the sales screen, customer looked up by number.
void typeSale(Tdinggou* s, const QString& memo) {
    typeText(s->Edit7, "7");
    pressEnter(s->Edit7);
    QVERIFY(s->BitBtn2->isEnabled());
    typeText(s->Edit4, "联想E40");
    typeText(s->Edit5, "SN-FULL");
    typeText(s->Edit6, "3999.5");
    s->Memo1->setPlainText(memo);
    s->paidItem->setChecked(true);
}

QStringList saleBoxes(Tdinggou* s) {
    return {s->Edit7->text(),
            s->Edit1->text(),
            s->Edit4->text(),
            s->Edit5->text(),
            s->Edit6->text(),
            s->Memo1->toPlainText(),
            s->paidItem->isChecked() ? "paid" : "unpaid"};
}
} // namespace

namespace {
// Every row of the arrears list, read to the end as a scroll to the bottom would.
int listed(Tbushou* s) {
    QAbstractItemModel* m = s->ListView1->model();
    while (m->canFetchMore({}))
        m->fetchMore({});
    return m->rowCount();
}
} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

    void addCustomer(TestSession& t) {
        t.dm().ADOall.exec("insert into 客户信息(客户编号,客户名称,身份证号,出生年,手机,电话,地址,起用日期) "
                           "values(7,'王五','110','1970','139','0371','城关','2008-01-01')");
    }
    qlonglong saved(TestSession& t) { return t.count("dinggou") + t.count("帐款明细") + t.count("收款记录"); }

  private slots:
    void saleFailsAndKeepsTheInput_data();
    void saleFailsAndKeepsTheInput();
    void collectionOnAFullDiskWritesNothing();
    void damagedDatabaseIsRefusedUntouched_data();
    void damagedDatabaseIsRefusedUntouched();
    void cutOffSaveIsUndoneAtStart();
    void personalFilesAreOwnerOnly();
};

void FaultsTest::saleFailsAndKeepsTheInput_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("engineText");
    QTest::newRow("disk full") << "full"
                               << "database or disk is full";
    QTest::newRow("read-only file") << "readonly"
                                    << "attempt to write a readonly database";
}

void FaultsTest::saleFailsAndKeepsTheInput() {
    QFETCH(QString, fault);
    QFETCH(QString, engineText);
    TestSession t;
    addCustomer(t);
    auto* s = openScreen<Tdinggou>(t);
    // A long remark needs new pages, which a full disk cannot give.
    const QString memo = QString(20000, QChar(u'备'));
    typeSale(s, memo);
    const QStringList typed = saleBoxes(s);
    const qlonglong before = saved(t);

    if (fault == "full") {
        const qlonglong pages = t.dm().ADOall.first("PRAGMA page_count").integer("page_count");
        t.dm().ADOall.exec(QString("PRAGMA max_page_count=%1").arg(pages));
    } else {
        reopenReadOnly(t.dm());
    }
    t.messages().clear();
    click(s->BitBtn2);
    QCOMPARE(t.messages().shown.size(), size_t(1));
    QCOMPARE(t.messages().last().text, engineText);
    QCOMPARE(t.messages().last().icon, MsgIcon::None);
    QCOMPARE(t.messages().last().caption, QString());
    QCOMPARE(saleBoxes(s), typed);
    QVERIFY(!t.dm().inTransaction());
    QCOMPARE(saved(t), before);

    // Space comes back, the file becomes writable: the same input saves once, whole.
    if (fault == "full")
        t.dm().ADOall.exec("PRAGMA max_page_count=1073741823");
    else
        t.dm().open(ProgramFolder::databaseFile());
    t.messages().clear();
    click(s->BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{"订购资料录入成功！"});
    QCOMPARE(t.count("dinggou"), 1);
    QCOMPARE(t.count("帐款明细"), 1);
    QCOMPARE(t.count("收款记录"), 1);
    QCOMPARE(t.dm().ADOall.first("select 备注 from dinggou").text("备注"), memo);
    QCOMPARE(t.dm().ADOall.first("PRAGMA integrity_check").value("integrity_check").toString(),
             QString("ok"));
    s->close();
}

void FaultsTest::collectionOnAFullDiskWritesNothing() {
    TestSession t;
    addCustomer(t);
    // Many debts, so marking them and writing their receipts needs pages the file cannot have.
    t.dm().transaction([&] {
        for (int i = 0; i < 300; ++i)
            t.dm().ADOall.exec(
                "insert into 帐款明细(客户编号,客户名称,地址,主机序列号,应付金额,付款情况,备注,日期) "
                "values(7,'王五',?,?,10000,'未付款','','2008-01-01')",
                {QString(300, QChar(u'址')), QString("SN%1").arg(i)});
    });
    auto* s = openScreen<Tbushou>(t);
    s->BitBtn2Click();
    QCOMPARE(listed(s), 300);
    s->BitBtn5Click();
    const qlonglong pages = t.dm().ADOall.first("PRAGMA page_count").integer("page_count");
    t.dm().ADOall.exec(QString("PRAGMA max_page_count=%1").arg(pages));
    t.messages().clear();
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts(), QStringList{"database or disk is full"});
    QCOMPARE(t.messages().last().icon, MsgIcon::None);
    QCOMPARE(t.count("收款记录"), 0);
    QCOMPARE(t.dm().ADOall.first("select count(*) n from 帐款明细 where 付款情况='未付款'").integer("n"),
             300);
    // The list and its ticks stay for another try, which succeeds once there is room.
    QCOMPARE(listed(s), 300);
    QVERIFY(s->list->isTicked(299));
    t.dm().ADOall.exec("PRAGMA max_page_count=1073741823");
    t.messages().clear();
    click(s->BitBtn3);
    QCOMPARE(t.messages().texts(), QStringList{"补收欠款成功！"});
    QCOMPARE(t.count("收款记录"), 300);
    QCOMPARE(t.dm().ADOall.first("select count(*) n from 帐款明细 where 付款情况='未付款'").integer("n"), 0);
    s->close();
}

void FaultsTest::damagedDatabaseIsRefusedUntouched_data() {
    QTest::addColumn<QString>("kind");
    for (const char* k : {"zero-length", "truncated", "random bytes", "header only", "foreign database",
                          "foreign database in WAL mode", "this program's tables missing one", "folder"})
        QTest::newRow(k) << QString(k);
}

void FaultsTest::damagedDatabaseIsRefusedUntouched() {
    QFETCH(QString, kind);
    QByteArray good;
    {
        TestSession maker;
        maker.dm().ADOall.exec("insert into 客户信息(客户编号,客户名称) values(1,?)",
                               {QString(5000, QChar(u'张'))});
        maker.dm().closeConnection();
        good = bytesOf(ProgramFolder::databaseFile());
    }
    TestSession t(false);
    const QString file = ProgramFolder::databaseFile();
    QRandomGenerator rng(42);
    QByteArray bytes;
    if (kind == "zero-length") {
        writeFile(file, {});
    } else if (kind == "truncated") {
        writeFile(file, good.left(good.size() / 2 + 100));
    } else if (kind == "random bytes") {
        bytes.resize(65536);
        rng.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        writeFile(file, bytes);
    } else if (kind == "header only") {
        bytes = QByteArray("SQLite format 3", 16);
        bytes += QByteArray(84, '\xff');
        writeFile(file, bytes);
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(file));
    } else {
        QDir().mkpath(QFileInfo(file).absolutePath());
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
        const char* sql =
            kind == "foreign database" ? "create table notes(a text); insert into notes values('x');"
            : kind == "foreign database in WAL mode"
                ? "pragma journal_mode=wal; create table notes(a text); insert into notes values('x');"
                : "create table 操作员(操作员 text); create table 客户信息(客户编号 integer);";
        QCOMPARE(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    const QByteArray before = bytesOf(file);
    const QStringList filesBefore =
        QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);

    QVERIFY(!Startup::openDatabase(t.session()));
    QCOMPARE(t.messages().texts(), QStringList{"无法连接到指定的数据库！请重试！"});
    QCOMPARE(t.messages().last().caption, QString("错误"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QVERIFY(!t.dm().isOpen());
    // Byte for byte as it was, and nothing made beside it.
    QCOMPARE(bytesOf(file), before);
    QCOMPARE(QDir(QFileInfo(file).absolutePath()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
             filesBefore);
}

void FaultsTest::cutOffSaveIsUndoneAtStart() {
    // A save cut off by a crash leaves its journal; the next start undoes it and goes on.
    TestSession t;
    const QString file = ProgramFolder::databaseFile();
    t.dm().closeConnection();
    sqlite3* db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(file).constData(), &db), SQLITE_OK);
    Collation::registerPinyin(db);
    const QByteArray original = bytesOf(file);
    // More than the cache holds: the engine writes pages into the file before the commit, with the
    // old ones in the journal, as in the middle of a large save.
    QCOMPARE(sqlite3_exec(db, "pragma cache_size=1; begin; insert into 维修项目 values('半截');", nullptr,
                          nullptr, nullptr),
             SQLITE_OK);
    for (int i = 0; i < 300; ++i)
        QCOMPARE(
            sqlite3_exec(db, "insert into 维修项目 values(hex(randomblob(450)))", nullptr, nullptr, nullptr),
            SQLITE_OK);
    const QByteArray journal = bytesOf(file + "-journal");
    const QByteArray halfWritten = bytesOf(file);
    QVERIFY(halfWritten != original);
    sqlite3_close(db); // rolls back; put the crash state back by hand
    writeFile(file + "-journal", journal);
    writeFile(file, halfWritten);
    QVERIFY(journal.size() > 0);

    QVERIFY(Startup::openDatabase(t.session()));
    QCOMPARE(t.messages().texts(), QStringList());
    QCOMPARE(t.count("维修项目"), 6);
    QCOMPARE(t.dm().ADOall.first("PRAGMA integrity_check").value("integrity_check").toString(),
             QString("ok"));
    QVERIFY(!QFileInfo::exists(file + "-journal"));
}

void FaultsTest::personalFilesAreOwnerOnly() {
    const mode_t old = ::umask(022);
    TestSession t;
    const QString file = ProgramFolder::databaseFile();
    QCOMPARE(modeOf(file), mode_t(0600));
    t.dm().ADOall.exec("insert into 客户信息(客户编号,客户名称,身份证号,手机) "
                       "values(1,'张三','110101197001011234','13900000000')");

    const QString backup = t.folder() + "/backup.db";
    DbBackup::backupTo(t.dm(), backup);
    QCOMPARE(modeOf(backup), mode_t(0600));

    // Restored, the database is still the owner's only.
    DbBackup::restoreFrom(t.dm(), backup);
    QCOMPARE(modeOf(file), mode_t(0600));
    QCOMPARE(modeOf(DbBackup::safetyCopyName(file)), mode_t(0600));

    DataGrid grid;
    grid.bind(t.session(), t.dm().ADOQuery(3));
    t.dm().ADOQuery(3).open("select * from 客户信息");
    for (auto type : {Export::Text, Export::Csv, Export::Html, Export::Rtf, Export::Xls}) {
        const QString out = t.folder() + "/export." + Export::extension(type);
        Export::writer(type)->saveToFile(grid, out);
        QCOMPARE(modeOf(out), mode_t(0600));
        // A file that was there before, readable by all, is replaced by one that is not.
        QFile::setPermissions(out, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
        Export::writer(type)->saveToFile(grid, out);
        QCOMPARE(modeOf(out), mode_t(0600));
    }
    ::umask(old);
}

QTEST_MAIN(FaultsTest)
#include "tst_faults.moc"
