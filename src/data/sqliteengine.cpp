#include "data/sqliteengine.h"
#include "data/backup.h"
#include "data/collation.h"
#include "data/schema.h"
#include "data/serialindex.h"
#include "data/tdm1.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QTemporaryFile>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString errorText(const QSqlError& e) {
    QString t = e.databaseText();
    if (t.isEmpty())
        t = e.text();
    return t.trimmed();
}

// The eight tables. Money columns hold ten-thousandths of a yuan, dates yyyy-MM-dd.
const char* const kTables[] = {
    R"(CREATE TABLE "操作员" ("操作员" TEXT, "姓名" TEXT COLLATE PINYIN, "密码" TEXT,
        "1" INTEGER NOT NULL DEFAULT 0, "2" INTEGER NOT NULL DEFAULT 0, "3" INTEGER NOT NULL DEFAULT 0,
        "4" INTEGER NOT NULL DEFAULT 0, "5" INTEGER NOT NULL DEFAULT 0, "6" INTEGER NOT NULL DEFAULT 0,
        "7" INTEGER NOT NULL DEFAULT 0, "8" INTEGER NOT NULL DEFAULT 0, "9" INTEGER NOT NULL DEFAULT 0,
        "10" INTEGER NOT NULL DEFAULT 0, "11" INTEGER NOT NULL DEFAULT 0, "12" INTEGER NOT NULL DEFAULT 0,
        "13" INTEGER NOT NULL DEFAULT 0, "14" INTEGER NOT NULL DEFAULT 0, "15" INTEGER NOT NULL DEFAULT 0,
        "16" INTEGER NOT NULL DEFAULT 0, "17" INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE TABLE "客户信息" ("客户编号" INTEGER, "客户名称" TEXT COLLATE PINYIN, "身份证号" TEXT,
        "出生年" TEXT, "手机" TEXT, "电话" TEXT, "地址" TEXT COLLATE PINYIN, "起用日期" TEXT,
        "备注" TEXT COLLATE PINYIN))",
    R"(CREATE TABLE "维修项目" ("维修项目" TEXT COLLATE PINYIN))",
    R"(CREATE TABLE "dinggou" ("id" INTEGER PRIMARY KEY AUTOINCREMENT, "客服人员" TEXT COLLATE PINYIN,
        "身份证号" TEXT, "出生年" TEXT, "手机" TEXT, "客户编号" INTEGER, "客户名称" TEXT COLLATE PINYIN,
        "地址" TEXT COLLATE PINYIN, "电话" TEXT, "订购型号" TEXT COLLATE PINYIN, "主机序列号" TEXT COLLATE PINYIN,
        "价格" INTEGER, "备注" TEXT COLLATE PINYIN, "日期" TEXT, "经手人" TEXT))",
    R"(CREATE TABLE "维修记录" ("id" INTEGER PRIMARY KEY AUTOINCREMENT, "身份证号" TEXT, "出生年" TEXT,
        "手机" TEXT, "客户编号" INTEGER, "客户名称" TEXT COLLATE PINYIN, "地址" TEXT COLLATE PINYIN, "电话" TEXT,
        "维修项目" TEXT COLLATE PINYIN, "维修费" INTEGER, "主机序列号" TEXT COLLATE PINYIN,
        "备注" TEXT COLLATE PINYIN, "日期" TEXT, "经手人" TEXT))",
    R"(CREATE TABLE "帐款明细" ("id" INTEGER PRIMARY KEY AUTOINCREMENT, "手机" TEXT, "客户编号" INTEGER,
        "客户名称" TEXT COLLATE PINYIN, "地址" TEXT COLLATE PINYIN, "电话" TEXT, "主机序列号" TEXT COLLATE PINYIN,
        "应付金额" INTEGER, "付款情况" TEXT, "备注" TEXT COLLATE PINYIN, "日期" TEXT, "经手人" TEXT))",
    R"(CREATE TABLE "收款记录" ("客户编号" INTEGER, "客户名称" TEXT COLLATE PINYIN, "地址" TEXT COLLATE PINYIN,
        "电话" TEXT, "手机" TEXT, "主机序列号" TEXT COLLATE PINYIN, "金额" INTEGER, "日期" TEXT, "经手人" TEXT))",
    R"(CREATE TABLE "乡镇" ("乡镇" TEXT COLLATE PINYIN, "村庄" TEXT COLLATE PINYIN))",
};

// The totals of all receipts, kept by triggers: the footer of the whole receipt list reads them
// instead of summing every receipt. Any program writing the file fires the triggers.
const char* const kReceiptTotals[] = {
    R"(CREATE TABLE "收款记录合计" ("行数" INTEGER NOT NULL, "地址数" INTEGER NOT NULL, "金额" NOT NULL))",
    R"(CREATE TRIGGER "收款记录合计_增" AFTER INSERT ON "收款记录" BEGIN
        UPDATE "收款记录合计" SET "行数"="行数"+1, "地址数"="地址数"+(new."地址" IS NOT NULL),
            "金额"="金额"+ifnull(new."金额",0); END)",
    R"(CREATE TRIGGER "收款记录合计_删" AFTER DELETE ON "收款记录" BEGIN
        UPDATE "收款记录合计" SET "行数"="行数"-1, "地址数"="地址数"-(old."地址" IS NOT NULL),
            "金额"="金额"-ifnull(old."金额",0); END)",
    R"(CREATE TRIGGER "收款记录合计_改" AFTER UPDATE OF "地址", "金额" ON "收款记录" BEGIN
        UPDATE "收款记录合计" SET "地址数"="地址数"+(new."地址" IS NOT NULL)-(old."地址" IS NOT NULL),
            "金额"="金额"+ifnull(new."金额",0)-ifnull(old."金额",0); END)",
};
const char* const kFillReceiptTotals =
    R"(INSERT INTO "收款记录合计" SELECT count(*), count("地址"), ifnull(sum("金额"),0) FROM "收款记录")";

// The account entries with an address, counted and summed per day and payment state: the period
// summary's footer adds up the days of the period instead of going through every entry of it.
// Entries without an address or a day are in no period summary filtered by address, so not here.
const char* const kAccountTotals[] = {
    R"(CREATE TABLE "帐款日合计" ("日期" TEXT NOT NULL, "付款情况" TEXT NOT NULL, "行数" INTEGER NOT NULL,
        "金额" NOT NULL, PRIMARY KEY ("日期", "付款情况")) WITHOUT ROWID)",
    R"(CREATE TRIGGER "帐款日合计_增" AFTER INSERT ON "帐款明细"
        WHEN new."日期" IS NOT NULL AND new."地址" IS NOT NULL BEGIN
        INSERT INTO "帐款日合计" SELECT new."日期", ifnull(new."付款情况",''), 1, ifnull(new."应付金额",0) WHERE 1
            ON CONFLICT DO UPDATE SET "行数"="行数"+1, "金额"="金额"+excluded."金额"; END)",
    R"(CREATE TRIGGER "帐款日合计_删" AFTER DELETE ON "帐款明细"
        WHEN old."日期" IS NOT NULL AND old."地址" IS NOT NULL BEGIN
        UPDATE "帐款日合计" SET "行数"="行数"-1, "金额"="金额"-ifnull(old."应付金额",0)
            WHERE "日期"=old."日期" AND "付款情况"=ifnull(old."付款情况",''); END)",
    R"(CREATE TRIGGER "帐款日合计_改" AFTER UPDATE OF "日期", "付款情况", "地址", "应付金额" ON "帐款明细" BEGIN
        UPDATE "帐款日合计" SET "行数"="行数"-1, "金额"="金额"-ifnull(old."应付金额",0)
            WHERE old."日期" IS NOT NULL AND old."地址" IS NOT NULL
            AND "日期"=old."日期" AND "付款情况"=ifnull(old."付款情况",'');
        INSERT INTO "帐款日合计" SELECT new."日期", ifnull(new."付款情况",''), 1, ifnull(new."应付金额",0)
            WHERE new."日期" IS NOT NULL AND new."地址" IS NOT NULL
            ON CONFLICT DO UPDATE SET "行数"="行数"+1, "金额"="金额"+excluded."金额"; END)",
};
const char* const kFillAccountTotals =
    R"(INSERT INTO "帐款日合计" SELECT "日期", ifnull("付款情况",''), count(*), ifnull(sum("应付金额"),0)
        FROM "帐款明细" WHERE "日期" IS NOT NULL AND "地址" IS NOT NULL GROUP BY 1, 2)";

// Operator numbers are unique without regard to the case of A to Z (NOCASE folds exactly those),
// since login finds an operator so. A file whose operators already hold such a pair opens without
// the index and gets it once the pair is gone.
const char* const kOperatorNumbers =
    R"(CREATE UNIQUE INDEX IF NOT EXISTS "ux_操作员_编号" ON "操作员" ("操作员" COLLATE NOCASE))";
} // namespace

void SqliteEngine::open(const QString& file) {
    file_ = file;
    if (!QFileInfo::exists(file))
        createDatabase(file);
    // A file that is damaged or not this program's database is refused before anything is written
    // to it: it is first read over a read-only connection. A journal beside it is a save that was
    // cut off (a crash, a power cut); the engine undoes it as it opens the file for writing, which
    // a read-only connection cannot do.
    const bool cutOff = QFileInfo(file + QStringLiteral("-journal")).size() > 0;
    if (!cutOff)
        checkHeader(file);
    openConnection(file, !cutOff);
    try {
        checkSchema();
        if (!cutOff) {
            dm_.db().close();
            openConnection(file, false);
        }
        settle();
        dm_.upgradeChangeLog();
        dm_.upgradePasswords();
        upgradeIndexes();
        uniqueOperatorNumbers();
        upgradeTotals();
        serialIndex_ = SerialIndex::keep(dm_);
        rebuildIfCollationChanged();
        refreshStatistics();
    } catch (...) {
        dm_.db().close();
        throw;
    }
}

void SqliteEngine::checkHeader(const QString& file) {
    // The engine reads pages only when they are asked for, so a file cut short still opens and
    // shows its tables. Its header tells how long it must be.
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        TDM1::fail(QStringLiteral("无法打开文件“%1”：%2").arg(file, f.errorString()));
    const QByteArray h = f.read(100);
    const qint64 size = f.size();
    if (h.size() < 100 || !h.startsWith(QByteArray("SQLite format 3", 16)))
        TDM1::fail(QStringLiteral("文件“%1”不是数据库文件").arg(file));
    // This program keeps its database in the rollback journal mode; a file in WAL mode is another
    // program's, and even reading it would leave its companion files beside it.
    if (h[18] == 2 || h[19] == 2)
        TDM1::fail(QStringLiteral("文件“%1”不是本程序的数据库").arg(file));
    auto be32 = [&h](int at) {
        return quint32(uchar(h[at])) << 24 | quint32(uchar(h[at + 1])) << 16 |
               quint32(uchar(h[at + 2])) << 8 | quint32(uchar(h[at + 3]));
    };
    const quint32 raw = quint32(uchar(h[16])) << 8 | uchar(h[17]);
    const qint64 pageSize = raw == 1 ? 65536 : raw;
    const qint64 pages = be32(28);
    // The page count is valid only when written by the same change as the change counter.
    if (pages > 0 && be32(24) == be32(92) && pages * pageSize > size)
        TDM1::fail(QStringLiteral("数据库文件“%1”不完整（应有%2字节，只有%3字节）")
                       .arg(file)
                       .arg(pages * pageSize)
                       .arg(size));
}

void SqliteEngine::openConnection(const QString& file, bool readOnly) {
    QSqlDatabase d = dm_.db();
    d.setDatabaseName(file);
    d.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY")
                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!d.open())
        TDM1::fail(errorText(d.lastError()));
    try {
        registerCollation();
    } catch (...) {
        d.close();
        throw;
    }
}

void SqliteEngine::settle() {
    // A committed save must survive a crash or a power cut: the rollback journal is synced in full
    // before and after every commit, and deleted once the save is in the file.
    dm_.ADOall.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Old values (a password replaced by its hash, a deleted customer) are overwritten in the
    // pages that a change writes anyway, not left readable in their free space.
    dm_.ADOall.exec(QStringLiteral("PRAGMA secure_delete=FAST"));
    if (dm_.ADOall.first(QStringLiteral("PRAGMA journal_mode"))
            .value(QStringLiteral("journal_mode"))
            .toString() != QStringLiteral("delete"))
        dm_.ADOall.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

void SqliteEngine::createDatabase(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder))
        TDM1::fail(QStringLiteral("无法创建文件夹：%1").arg(folder));
    // The new database is built under a temporary name, readable by its owner only from the first
    // byte (customer records are personal), and takes its place once complete: a start that is
    // cut off leaves no half-made database behind.
    QTemporaryFile tmp(file + QStringLiteral(".new-XXXXXX"));
    tmp.setAutoRemove(false);
    if (!tmp.open())
        TDM1::fail(QStringLiteral("无法创建文件“%1”：%2").arg(file, tmp.errorString()));
    tmp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString name = tmp.fileName();
    tmp.close();
    try {
        openConnection(name, false);
        settle();
        dm_.transaction([this] {
            createSchema();
            dm_.writeSeedRows();
            dm_.ADOall.exec(QStringLiteral("PRAGMA user_version=%1").arg(Collation::signature()));
        });
        dm_.db().close();
        // Never replaces a file that appeared meanwhile.
        if (!QFile::rename(name, file))
            TDM1::fail(QStringLiteral("无法创建文件“%1”").arg(file));
    } catch (...) {
        dm_.db().close();
        QFile::remove(name);
        QFile::remove(name + QStringLiteral("-journal"));
        throw;
    }
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void SqliteEngine::registerCollation() {
    const QVariant h = dm_.db().driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        TDM1::fail(QStringLiteral("数据库驱动不可用"));
    Collation::registerPinyin(*static_cast<sqlite3* const*>(h.data()));
}

void SqliteEngine::checkSchema() {
    // The first read fails on a file that is not a database at all.
    const auto tables = dm_.ADOall.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    QStringList names;
    for (const Row& r : tables)
        names << r.text(QStringLiteral("name"));
    for (const char* t : Schema::kTableNames)
        if (!names.contains(QString::fromUtf8(t)))
            TDM1::fail(
                QStringLiteral("数据库文件不是本程序的数据库（缺少表“%1”）").arg(QString::fromUtf8(t)));
}

void SqliteEngine::createSchema() {
    for (const char* ddl : kTables)
        dm_.ADOall.exec(QString::fromUtf8(ddl));
    for (const QString& ddl : Schema::indexStatements(QStringLiteral(" COLLATE PINYIN")))
        dm_.ADOall.exec(ddl);
    dm_.ADOall.exec(QString::fromUtf8(kOperatorNumbers));
    makeTotals(kReceiptTotals, kFillReceiptTotals);
    makeTotals(kAccountTotals, kFillAccountTotals);
    for (const QString& ddl : TDM1::changeLogDdl())
        dm_.ADOall.exec(ddl);
    SerialIndex::create(dm_);
}

void SqliteEngine::uniqueOperatorNumbers() {
    if (!dm_.ADOall
             .first(QStringLiteral("SELECT 1 AS k FROM sqlite_master WHERE type='index' AND name=?"),
                    {QStringLiteral("ux_操作员_编号")})
             .isEmpty())
        return;
    if (!dm_.ADOall
             .first(QStringLiteral("SELECT 1 AS k FROM \"操作员\" WHERE \"操作员\" IS NOT NULL "
                                   "GROUP BY \"操作员\" COLLATE NOCASE HAVING count(*) > 1"))
             .isEmpty())
        return;
    try {
        dm_.ADOall.exec(QString::fromUtf8(kOperatorNumbers));
    } catch (const DbError&) {
        // A file that cannot be written now gets the index the next time.
    }
}

QString SqliteEngine::serialSearchSql(const QString& table, const QString& text, QVariantList& params) const {
    return SerialIndex::search(table, text, serialIndex_, params);
}

void SqliteEngine::makeTotals(const char* const (&ddls)[4], const char* fill) {
    for (const char* ddl : ddls)
        dm_.ADOall.exec(QString::fromUtf8(ddl));
    dm_.ADOall.exec(QString::fromUtf8(fill));
}

void SqliteEngine::upgradeTotals() {
    receiptTotals_ = keepTotals(QStringLiteral("收款记录合计"), kReceiptTotals, kFillReceiptTotals, true);
    accountTotals_ = keepTotals(QStringLiteral("帐款日合计"), kAccountTotals, kFillAccountTotals, false);
}

bool SqliteEngine::keepTotals(const QString& table, const char* const (&ddls)[4], const char* fill,
                              bool oneRow) {
    // The table and its three triggers are there in every file this version wrote, each exactly as
    // this program makes it. A file of an earlier version, or one whose totals were tampered with
    // (a trigger missing or changed, a one-row table with another count of rows), gets them built
    // anew from the records, in one transaction.
    QStringList wanted;
    QStringList triggers;
    for (const char* ddl : ddls) {
        const QString text = QString::fromUtf8(ddl);
        wanted << text;
        if (text.startsWith(QStringLiteral("CREATE TRIGGER")))
            triggers << text.section(u'"', 1, 1);
    }
    QStringList found;
    for (const Row& r :
         dm_.ADOall.query(QStringLiteral("SELECT sql FROM sqlite_master WHERE (type='table' AND name=?) OR "
                                         "(type='trigger' AND name IN (?, ?, ?))"),
                          {table, triggers.value(0), triggers.value(1), triggers.value(2)}))
        found << r.text(QStringLiteral("sql"));
    wanted.sort();
    found.sort();
    if (found == wanted &&
        (!oneRow || dm_.ADOall.first(QStringLiteral("SELECT count(*) AS n FROM %1").arg(TDM1::quoteId(table)))
                            .integer(QStringLiteral("n")) == 1))
        return true;
    try {
        dm_.transaction([&] {
            for (const QString& name : triggers)
                dm_.ADOall.exec(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(TDM1::quoteId(name)));
            dm_.ADOall.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(TDM1::quoteId(table)));
            makeTotals(ddls, fill);
        });
        return true;
    } catch (const DbError&) {
        // A file that cannot be written now is summed in full by the footer; it gets its totals
        // next time.
        return false;
    }
}

QString SqliteEngine::accountTotalsSql(bool byState) const {
    if (!accountTotals_)
        return {};
    return QStringLiteral(
               "SELECT ifnull(sum(\"行数\"),0) AS \"count(*)\", ifnull(sum(\"金额\"),0) AS \"sum(应付金额)\" "
               "FROM \"帐款日合计\" WHERE \"日期\" BETWEEN ? AND ?") +
           (byState ? QStringLiteral(" AND \"付款情况\"=?") : QString());
}

QString SqliteEngine::receiptTotalsSql() const {
    if (!receiptTotals_)
        return {};
    return QStringLiteral(
        "SELECT \"行数\" AS \"count(*)\", \"地址数\" AS \"count(地址)\", \"金额\" AS \"sum(金额)\" "
        "FROM \"收款记录合计\"");
}

void SqliteEngine::rebuildIfCollationChanged() {
    // The indexes on Chinese text are kept in the collator's order. When the machine's collation
    // rules change (a system upgrade brings a new ICU), an index built in the old order would find
    // rows in the wrong place: it is built again, once, and the new order remembered in the file.
    const int wanted = Collation::signature();
    if (dm_.ADOall.first(QStringLiteral("PRAGMA user_version")).integer(QStringLiteral("user_version")) ==
        wanted)
        return;
    try {
        dm_.transaction([this, wanted] {
            dm_.ADOall.exec(QStringLiteral("REINDEX PINYIN"));
            dm_.ADOall.exec(QStringLiteral("PRAGMA user_version=%1").arg(wanted));
        });
    } catch (const DbError&) {
        // A file that cannot be written now keeps its indexes until it can.
    }
}

void SqliteEngine::upgradeIndexes() {
    // A file written before an index existed gets it now, once; the single-column lookup indexes of
    // the account entries are replaced by the ones carrying the payment state.
    QStringList existing;
    for (const Row& r : dm_.ADOall.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index'")))
        existing << r.text(QStringLiteral("name"));
    bool change = false;
    for (const QString& ddl : Schema::indexStatements(QStringLiteral(" COLLATE PINYIN"))) {
        const QString name = ddl.section(u'"', 1, 1);
        if (!existing.contains(name))
            change = true;
    }
    for (const char* c : Schema::kSearchedColumns)
        if (existing.contains(QStringLiteral("ix_帐款明细_%1").arg(QString::fromUtf8(c))))
            change = true;
    if (!change)
        return;
    try {
        dm_.transaction([this] {
            for (const QString& ddl : Schema::indexStatements(QStringLiteral(" COLLATE PINYIN")))
                dm_.ADOall.exec(ddl);
            for (const char* c : Schema::kSearchedColumns)
                dm_.ADOall.exec(
                    QStringLiteral("DROP INDEX IF EXISTS \"ix_帐款明细_%1\"").arg(QString::fromUtf8(c)));
        });
    } catch (const DbError&) {
        // A file that cannot be written now (read-only, or busy in another program) still opens;
        // it gets its indexes the next time.
    }
}

void SqliteEngine::refreshStatistics() {
    // The account summary lists a period's entries by payment state and day. Knowing that the
    // state has only a few values, SQLite reads them from the state-and-day index, state by state
    // over the period and already in the listing's order, instead of sorting the whole period.
    // The statistics of the account entries are taken (sampled: well under a second for millions
    // of entries) once the table holds many entries, and again each time it has doubled since.
    constexpr qint64 kStatisticsFrom = 10000;
    const qint64 entries = dm_.ADOall.first(QStringLiteral("select max(rowid) as n from \"帐款明细\""))
                               .integer(QStringLiteral("n"));
    if (entries < kStatisticsFrom)
        return;
    if (dm_.ADOall.first(QStringLiteral("select count(*) as n from sqlite_master where name='sqlite_stat1'"))
            .integer(QStringLiteral("n")) != 0) {
        const QString stat =
            dm_.ADOall
                .first(QStringLiteral("select stat from sqlite_stat1 where tbl='帐款明细' and idx=?"),
                       {QStringLiteral("ix_帐款明细_付款情况_日期")})
                .text(QStringLiteral("stat"));
        const qint64 known = stat.section(u' ', 0, 0).toLongLong();
        if (known > 0 && entries < 2 * known)
            return;
    }
    try {
        dm_.ADOall.exec(QStringLiteral("PRAGMA analysis_limit=400"));
        dm_.ADOall.exec(QStringLiteral("ANALYZE \"帐款明细\""));
    } catch (const DbError&) {
        // A file that cannot be written now keeps its listings' plans; it gets them next time.
    }
}

QStringList SqliteEngine::columns(const QString& table) {
    QStringList out;
    for (const Row& r : dm_.ADOall.query(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table}))
        out << r.text(QStringLiteral("name"));
    return out;
}

QString SqliteEngine::contains(const QString& column) const {
    // LIKE ignores the case of Latin letters; the backslash makes "%" and "_" in the pattern literal.
    return TDM1::quoteId(column) + QStringLiteral(" like ? escape '\\'");
}

QString SqliteEngine::pinyinOrder(const QString& column) const {
    return TDM1::quoteId(column) + QStringLiteral(" COLLATE PINYIN");
}

QVariant SqliteEngine::insert(const QString& sql, const QVariantList& params, const QString&) {
    // Every table's key is its rowid (the id columns are its alias).
    dm_.ADOall.exec(sql, params);
    return dm_.ADOall.first(QStringLiteral("select last_insert_rowid() as k")).value(QStringLiteral("k"));
}

QString SqliteEngine::where() const {
    return QDir::toNativeSeparators(file_);
}

void SqliteEngine::backupTo(const QString& file) {
    DbBackup::backupTo(dm_, file);
}

void SqliteEngine::restoreFrom(const QString& file, const QString& operatorNumber) {
    DbBackup::restoreFrom(dm_, file, operatorNumber);
}
