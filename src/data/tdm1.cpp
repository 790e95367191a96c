#include "data/tdm1.h"
#include "data/collation.h"
#include "data/dates.h"
#include "data/passwords.h"
#include <QDateTime>
#include "data/serialindex.h"
#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
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

QSqlQuery prepared(const QSqlDatabase& db, const QString& sql, const QVariantList& params) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        TDM1::fail(errorText(q.lastError()));
    for (const QVariant& p : params)
        q.addBindValue(p);
    if (!q.exec())
        TDM1::fail(errorText(q.lastError()));
    return q;
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

const char* const kSearchedTables[] = {"客户信息", "dinggou", "维修记录", "帐款明细", "收款记录"};
const char* const kSearchedColumns[] = {"客户编号", "客户名称", "电话", "手机", "地址"};
const char* const kDatedTables[] = {"dinggou", "维修记录", "帐款明细", "收款记录"};
const char* const kTableNames[] = {"操作员", "客户信息", "维修项目", "dinggou", "维修记录", "帐款明细", "收款记录", "乡镇"};

const char* const kChangeLog =
    R"(CREATE TABLE IF NOT EXISTS "修改记录" ("id" INTEGER PRIMARY KEY AUTOINCREMENT, "时间" TEXT NOT NULL,
        "操作员" TEXT, "操作" TEXT NOT NULL, "表名" TEXT, "记录" TEXT, "原值" TEXT, "新值" TEXT))";
const char* const kChangeLogIndex = R"(CREATE INDEX IF NOT EXISTS "ix_修改记录_时间" ON "修改记录" ("时间"))";

const char* const kInitialSql[TDM1::kLastQuery + 1] = {
    nullptr, nullptr, nullptr,
    "select * from 客户信息",
    "select * from 维修项目",
    "select * from 客户信息",
    "select * from 维修记录",
    "select * from dinggou",
    "select * from 帐款明细",
    nullptr,
    "select * from dinggou",
    "select * from 维修记录",
    "select * from dinggou",
    "select * from 维修记录",
    "select * from 帐款明细",
    nullptr, nullptr, nullptr,
    "select * from 乡镇 order by 乡镇",
    "select * from 修改记录 where 0",
    "select * from dinggou where 0",
    "select * from 维修记录 where 0",
    "select * from 帐款明细 where 0",
    "select * from 收款记录 where 0",
};

QAtomicInt connectionCounter;
} // namespace

// ---- Row ----

QVariant Row::value(const QString& column) const {
    const int i = rec_.indexOf(column);
    if (i < 0)
        return {};
    return rec_.value(i);
}

QString Row::text(const QString& column) const {
    const QVariant v = value(column);
    if (v.isNull())
        return {};
    if (TDM1::isMoneyColumn(column))
        return Money::fromVariant(v).toString();
    if (TDM1::isDateColumn(column)) {
        const QDate d = Dates::fromSql(v.toString());
        return d.isValid() ? Dates::shortDate(d) : v.toString();
    }
    return v.toString();
}

QDate Row::date(const QString& column) const { return Dates::fromSql(value(column).toString()); }

// ---- Scratch ----

int Scratch::exec(const QString& sql, const QVariantList& params) {
    QSqlQuery q = prepared(dm_.db(), sql, params);
    return q.numRowsAffected();
}

std::vector<Row> Scratch::query(const QString& sql, const QVariantList& params) {
    QSqlQuery q = prepared(dm_.db(), sql, params);
    std::vector<Row> rows;
    while (q.next())
        rows.emplace_back(q.record());
    return rows;
}

Row Scratch::first(const QString& sql, const QVariantList& params) {
    QSqlQuery q = prepared(dm_.db(), sql, params);
    if (q.next())
        return Row(q.record());
    return {};
}

// ---- SharedQuery ----

SharedQuery::SharedQuery(TDM1& dm, int number, QString initialSql)
    : dm_(dm), number_(number), sql_(std::move(initialSql)) {}

void SharedQuery::open(const QString& sql, const QVariantList& params, const QString& totalsSql,
                       const QVariantList& totalsParams) {
    sql_ = sql;
    params_ = params;
    totalsSql_ = totalsSql;
    totalsParams_ = totalsParams;
    sort_.clear();
    load();
}

void SharedQuery::reopen() { load(); }

void SharedQuery::close() {
    open_ = false;
    model_.clear();
    emit reloaded();
}

void SharedQuery::setSort(const SortKeys& keys) {
    sort_ = keys;
    if (open_)
        load();
}

QString SharedQuery::orderedSql() const {
    if (sort_.isEmpty())
        return sql_;
    QStringList keys;
    for (const auto& [column, order] : sort_) {
        QString k = TDM1::quoteId(column);
        if (!TDM1::isDateColumn(column) && !TDM1::isMoneyColumn(column))
            k += QStringLiteral(" COLLATE PINYIN");
        keys << k + (order == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    }
    return QStringLiteral("SELECT * FROM (%1) ORDER BY %2").arg(sql_, keys.join(QStringLiteral(", ")));
}

void SharedQuery::load() {
    open_ = false;
    model_.clear();
    try {
        QSqlQuery q(dm_.db());
        if (!q.prepare(orderedSql()))
            TDM1::fail(errorText(q.lastError()));
        for (const QVariant& p : params_)
            q.addBindValue(p);
        if (!q.exec())
            TDM1::fail(errorText(q.lastError()));
        model_.setQuery(std::move(q));
        if (model_.lastError().isValid())
            TDM1::fail(errorText(model_.lastError()));
    } catch (...) {
        model_.clear();
        emit reloaded();
        throw;
    }
    open_ = true;
    emit reloaded();
}

Row SharedQuery::row(int r) const {
    if (r < 0 || r >= model_.rowCount())
        return {};
    return Row(model_.record(r));
}

void SharedQuery::fetchAll() {
    while (model_.canFetchMore())
        model_.fetchMore();
}

QString SharedQuery::unorderedSql() const {
    // The last ORDER BY outside brackets and quotes ends the statement; a LIMIT after it keeps it.
    int depth = 0;
    QChar quote;
    int cut = -1;
    for (int i = 0; i < sql_.size(); ++i) {
        const QChar c = sql_[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
            quote = c == u'[' ? QChar(u']') : c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')') {
            --depth;
        } else if (depth == 0 && (c == u'o' || c == u'O') && (i == 0 || !sql_[i - 1].isLetterOrNumber()) &&
                   QStringView(sql_).mid(i, 5).compare(QStringLiteral("order"), Qt::CaseInsensitive) == 0) {
            int j = i + 5;
            while (j < sql_.size() && sql_[j].isSpace())
                ++j;
            if (j > i + 5 && QStringView(sql_).mid(j, 2).compare(QStringLiteral("by"), Qt::CaseInsensitive) == 0)
                cut = i;
        } else if (depth == 0 && cut >= 0 && (c == u'l' || c == u'L') &&
                   QStringView(sql_).mid(i, 5).compare(QStringLiteral("limit"), Qt::CaseInsensitive) == 0) {
            return sql_; // an ordered LIMIT: the order chooses the rows
        }
    }
    return cut < 0 ? sql_ : sql_.left(cut);
}

qlonglong SharedQuery::count() const {
    if (!open_)
        return 0;
    Row r = dm_.ADOall.first(QStringLiteral("SELECT count(*) AS n FROM (%1)").arg(unorderedSql()), params_);
    return r.integer(QStringLiteral("n"));
}

qlonglong SharedQuery::count(const QString& column) const {
    if (!open_)
        return 0;
    Row r = dm_.ADOall.first(
        QStringLiteral("SELECT count(%1) AS n FROM (%2)").arg(TDM1::quoteId(column), unorderedSql()), params_);
    return r.integer(QStringLiteral("n"));
}

Money SharedQuery::sum(const QString& column) const {
    if (!open_)
        return {};
    Row r = dm_.ADOall.first(
        QStringLiteral("SELECT sum(%1) AS s FROM (%2)").arg(TDM1::quoteId(column), unorderedSql()), params_);
    return Money::fromUnits(r.integer(QStringLiteral("s")));
}

// ---- TDM1 ----

TDM1::TDM1(QObject* parent) : QObject(parent) {
    connectionName_ = QStringLiteral("lumareth-%1").arg(connectionCounter.fetchAndAddOrdered(1));
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    for (int n = 1; n <= kLastQuery; ++n)
        queries_[n] = std::make_unique<SharedQuery>(*this, n, kInitialSql[n] ? QString::fromUtf8(kInitialSql[n]) : QString());
}

TDM1::~TDM1() {
    for (auto& q : queries_)
        q.reset();
    closeConnection();
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlDatabase TDM1::db() const { return QSqlDatabase::database(connectionName_, false); }

bool TDM1::isOpen() const { return db().isOpen(); }

void TDM1::closeConnection() {
    for (auto& q : queries_)
        if (q)
            q->close();
    QSqlDatabase d = db();
    if (d.isOpen())
        d.close();
}

void TDM1::open(const QString& file) {
    closeConnection();
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
            db().close();
            openConnection(file, false);
        }
        settle();
        upgradeChangeLog();
        upgradePasswords();
        upgradeIndexes();
        uniqueOperatorNumbers();
        upgradeTotals();
        serialIndex_ = SerialIndex::keep(*this);
        rebuildIfCollationChanged();
        refreshStatistics();
    } catch (...) {
        db().close();
        throw;
    }
}

void TDM1::checkHeader(const QString& file) {
    // The engine reads pages only when they are asked for, so a file cut short still opens and
    // shows its tables. Its header tells how long it must be.
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        fail(QStringLiteral("无法打开文件“%1”：%2").arg(file, f.errorString()));
    const QByteArray h = f.read(100);
    const qint64 size = f.size();
    if (h.size() < 100 || !h.startsWith(QByteArray("SQLite format 3", 16)))
        fail(QStringLiteral("文件“%1”不是数据库文件").arg(file));
    // This program keeps its database in the rollback journal mode; a file in WAL mode is another
    // program's, and even reading it would leave its companion files beside it.
    if (h[18] == 2 || h[19] == 2)
        fail(QStringLiteral("文件“%1”不是本程序的数据库").arg(file));
    auto be32 = [&h](int at) {
        return quint32(uchar(h[at])) << 24 | quint32(uchar(h[at + 1])) << 16 | quint32(uchar(h[at + 2])) << 8 |
               quint32(uchar(h[at + 3]));
    };
    const quint32 raw = quint32(uchar(h[16])) << 8 | uchar(h[17]);
    const qint64 pageSize = raw == 1 ? 65536 : raw;
    const qint64 pages = be32(28);
    // The page count is valid only when written by the same change as the change counter.
    if (pages > 0 && be32(24) == be32(92) && pages * pageSize > size)
        fail(QStringLiteral("数据库文件“%1”不完整（应有%2字节，只有%3字节）").arg(file).arg(pages * pageSize).arg(size));
}

void TDM1::openConnection(const QString& file, bool readOnly) {
    QSqlDatabase d = db();
    d.setDatabaseName(file);
    d.setConnectOptions(readOnly ? QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000;QSQLITE_OPEN_READONLY")
                                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!d.open())
        fail(errorText(d.lastError()));
    try {
        registerCollation();
    } catch (...) {
        d.close();
        throw;
    }
}

void TDM1::settle() {
    // A committed save must survive a crash or a power cut: the rollback journal is synced in full
    // before and after every commit, and deleted once the save is in the file.
    ADOall.exec(QStringLiteral("PRAGMA synchronous=FULL"));
    // Old values (a password replaced by its hash, a deleted customer) are overwritten in the
    // pages that a change writes anyway, not left readable in their free space.
    ADOall.exec(QStringLiteral("PRAGMA secure_delete=FAST"));
    if (ADOall.first(QStringLiteral("PRAGMA journal_mode")).value(QStringLiteral("journal_mode")).toString() !=
        QStringLiteral("delete"))
        ADOall.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

void TDM1::createDatabase(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    if (!QDir().mkpath(folder))
        fail(QStringLiteral("无法创建文件夹：%1").arg(folder));
    // The new database is built under a temporary name, readable by its owner only from the first
    // byte (customer records are personal), and takes its place once complete: a start that is
    // cut off leaves no half-made database behind.
    QTemporaryFile tmp(file + QStringLiteral(".new-XXXXXX"));
    tmp.setAutoRemove(false);
    if (!tmp.open())
        fail(QStringLiteral("无法创建文件“%1”：%2").arg(file, tmp.errorString()));
    tmp.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QString name = tmp.fileName();
    tmp.close();
    try {
        openConnection(name, false);
        settle();
        transaction([this] {
            createSchema();
            writeSeedRows();
            ADOall.exec(QStringLiteral("PRAGMA user_version=%1").arg(Collation::signature()));
        });
        db().close();
        // Never replaces a file that appeared meanwhile.
        if (!QFile::rename(name, file))
            fail(QStringLiteral("无法创建文件“%1”").arg(file));
    } catch (...) {
        db().close();
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

void TDM1::registerCollation() {
    const QVariant h = db().driver()->handle();
    if (!h.isValid() || qstrcmp(h.typeName(), "sqlite3*") != 0)
        fail(QStringLiteral("数据库驱动不可用"));
    Collation::registerPinyin(*static_cast<sqlite3* const*>(h.data()));
}

void TDM1::checkSchema() {
    // The first read fails on a file that is not a database at all.
    const auto tables = ADOall.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'"));
    QStringList names;
    for (const Row& r : tables)
        names << r.text(QStringLiteral("name"));
    for (const char* t : kTableNames)
        if (!names.contains(QString::fromUtf8(t)))
            fail(QStringLiteral("数据库文件不是本程序的数据库（缺少表“%1”）").arg(QString::fromUtf8(t)));
}

namespace {
// Every index of the database. Account entries are listed by customer grouped by payment state,
// and the arrears by state and name, so their lookup indexes carry the state after the column.
// A file made before an index existed gets it when it opens (upgradeIndexes).
QStringList indexStatements() {
    QStringList out;
    const auto index = [&out](const QString& name, const QString& table, const QString& columns) {
        out << QStringLiteral("CREATE INDEX IF NOT EXISTS \"%1\" ON \"%2\" (%3)").arg(name, table, columns);
    };
    for (const char* t : kSearchedTables) {
        const QString table = QString::fromUtf8(t);
        for (const char* c : kSearchedColumns) {
            const QString column = QString::fromUtf8(c);
            if (table == QStringLiteral("帐款明细"))
                index(QStringLiteral("ix_帐款明细_%1_付款情况").arg(column), table,
                      QStringLiteral("\"%1\", \"付款情况\"").arg(column));
            else
                index(QStringLiteral("ix_%1_%2").arg(table, column), table, QStringLiteral("\"%1\"").arg(column));
        }
    }
    for (const char* t : kDatedTables)
        index(QStringLiteral("ix_%1_日期").arg(QString::fromUtf8(t)), QString::fromUtf8(t), QStringLiteral("\"日期\""));
    index(QStringLiteral("ix_操作员"), QStringLiteral("操作员"), QStringLiteral("\"操作员\""));
    index(QStringLiteral("ix_乡镇"), QStringLiteral("乡镇"), QStringLiteral("\"乡镇\", \"村庄\""));
    index(QStringLiteral("ix_帐款明细_付款情况"), QStringLiteral("帐款明细"), QStringLiteral("\"付款情况\", \"客户编号\""));
    index(QStringLiteral("ix_帐款明细_付款情况_客户名称"), QStringLiteral("帐款明细"),
          QStringLiteral("\"付款情况\", \"客户名称\""));
    // The account summary lists every entry by payment state in the Chinese order, then by day.
    index(QStringLiteral("ix_帐款明细_付款情况_日期"), QStringLiteral("帐款明细"),
          QStringLiteral("\"付款情况\" COLLATE PINYIN, \"日期\""));
    return out;
}
} // namespace

void TDM1::createSchema() {
    for (const char* ddl : kTables)
        ADOall.exec(QString::fromUtf8(ddl));
    for (const QString& ddl : indexStatements())
        ADOall.exec(ddl);
    ADOall.exec(QString::fromUtf8(kOperatorNumbers));
    makeTotals(kReceiptTotals, kFillReceiptTotals);
    makeTotals(kAccountTotals, kFillAccountTotals);
    ADOall.exec(QString::fromUtf8(kChangeLog));
    ADOall.exec(QString::fromUtf8(kChangeLogIndex));
    SerialIndex::create(*this);
}

void TDM1::makeTotals(const char* const (&ddls)[4], const char* fill) {
    for (const char* ddl : ddls)
        ADOall.exec(QString::fromUtf8(ddl));
    ADOall.exec(QString::fromUtf8(fill));
}

void TDM1::upgradeTotals() {
    receiptTotals_ = keepTotals(QStringLiteral("收款记录合计"), kReceiptTotals, kFillReceiptTotals, true);
    accountTotals_ = keepTotals(QStringLiteral("帐款日合计"), kAccountTotals, kFillAccountTotals, false);
}

bool TDM1::keepTotals(const QString& table, const char* const (&ddls)[4], const char* fill, bool oneRow) {
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
    for (const Row& r : ADOall.query(QStringLiteral("SELECT sql FROM sqlite_master WHERE (type='table' AND name=?) OR "
                                                    "(type='trigger' AND name IN (?, ?, ?))"),
                                     {table, triggers.value(0), triggers.value(1), triggers.value(2)}))
        found << r.text(QStringLiteral("sql"));
    wanted.sort();
    found.sort();
    if (found == wanted &&
        (!oneRow || ADOall.first(QStringLiteral("SELECT count(*) AS n FROM %1").arg(quoteId(table)))
                            .integer(QStringLiteral("n")) == 1))
        return true;
    try {
        transaction([&] {
            for (const QString& name : triggers)
                ADOall.exec(QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(quoteId(name)));
            ADOall.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(quoteId(table)));
            makeTotals(ddls, fill);
        });
        return true;
    } catch (const DbError&) {
        // A file that cannot be written now is summed in full by the footer; it gets its totals
        // next time.
        return false;
    }
}

QString TDM1::accountTotalsSql(bool byState) const {
    if (!accountTotals_)
        return {};
    return QStringLiteral("SELECT ifnull(sum(\"行数\"),0) AS \"count(*)\", ifnull(sum(\"金额\"),0) AS \"sum(应付金额)\" "
                          "FROM \"帐款日合计\" WHERE \"日期\" BETWEEN ? AND ?") +
           (byState ? QStringLiteral(" AND \"付款情况\"=?") : QString());
}

QString TDM1::serialSearchSql(const QString& table, const QString& text, QVariantList& params) const {
    return SerialIndex::search(table, text, serialIndex_, params);
}

QString TDM1::receiptTotalsSql() const {
    if (!receiptTotals_)
        return {};
    return QStringLiteral(
        "SELECT \"行数\" AS \"count(*)\", \"地址数\" AS \"count(地址)\", \"金额\" AS \"sum(金额)\" "
        "FROM \"收款记录合计\"");
}

void TDM1::rebuildIfCollationChanged() {
    // The indexes on Chinese text are kept in the collator's order. When the machine's collation
    // rules change (a system upgrade brings a new ICU), an index built in the old order would find
    // rows in the wrong place: it is built again, once, and the new order remembered in the file.
    const int wanted = Collation::signature();
    if (ADOall.first(QStringLiteral("PRAGMA user_version")).integer(QStringLiteral("user_version")) == wanted)
        return;
    try {
        transaction([this, wanted] {
            ADOall.exec(QStringLiteral("REINDEX PINYIN"));
            ADOall.exec(QStringLiteral("PRAGMA user_version=%1").arg(wanted));
        });
    } catch (const DbError&) {
        // A file that cannot be written now keeps its indexes until it can.
    }
}

void TDM1::upgradeIndexes() {
    // A file written before an index existed gets it now, once; the single-column lookup indexes of
    // the account entries are replaced by the ones carrying the payment state.
    QStringList existing;
    for (const Row& r : ADOall.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type='index'")))
        existing << r.text(QStringLiteral("name"));
    bool change = false;
    for (const QString& ddl : indexStatements()) {
        const QString name = ddl.section(u'"', 1, 1);
        if (!existing.contains(name))
            change = true;
    }
    for (const char* c : kSearchedColumns)
        if (existing.contains(QStringLiteral("ix_帐款明细_%1").arg(QString::fromUtf8(c))))
            change = true;
    if (!change)
        return;
    try {
        transaction([this] {
            for (const QString& ddl : indexStatements())
                ADOall.exec(ddl);
            for (const char* c : kSearchedColumns)
                ADOall.exec(QStringLiteral("DROP INDEX IF EXISTS \"ix_帐款明细_%1\"").arg(QString::fromUtf8(c)));
        });
    } catch (const DbError&) {
        // A file that cannot be written now (read-only, or busy in another program) still opens;
        // it gets its indexes the next time.
    }
}

void TDM1::uniqueOperatorNumbers() {
    if (!ADOall
             .first(QStringLiteral("SELECT 1 AS k FROM sqlite_master WHERE type='index' AND name=?"),
                    {QStringLiteral("ux_操作员_编号")})
             .isEmpty())
        return;
    if (!ADOall
             .first(QStringLiteral("SELECT 1 AS k FROM \"操作员\" WHERE \"操作员\" IS NOT NULL "
                                   "GROUP BY \"操作员\" COLLATE NOCASE HAVING count(*) > 1"))
             .isEmpty())
        return;
    try {
        ADOall.exec(QString::fromUtf8(kOperatorNumbers));
    } catch (const DbError&) {
        // A file that cannot be written now gets the index the next time.
    }
}

void TDM1::refreshStatistics() {
    // The account summary lists a period's entries by payment state and day. Knowing that the
    // state has only a few values, SQLite reads them from the state-and-day index, state by state
    // over the period and already in the listing's order, instead of sorting the whole period.
    // The statistics of the account entries are taken (sampled: well under a second for millions
    // of entries) once the table holds many entries, and again each time it has doubled since.
    constexpr qint64 kStatisticsFrom = 10000;
    const qint64 entries =
        ADOall.first(QStringLiteral("select max(rowid) as n from \"帐款明细\"")).integer(QStringLiteral("n"));
    if (entries < kStatisticsFrom)
        return;
    if (ADOall.first(QStringLiteral("select count(*) as n from sqlite_master where name='sqlite_stat1'"))
            .integer(QStringLiteral("n")) != 0) {
        const QString stat =
            ADOall.first(QStringLiteral("select stat from sqlite_stat1 where tbl='帐款明细' and idx=?"),
                         {QStringLiteral("ix_帐款明细_付款情况_日期")})
                .text(QStringLiteral("stat"));
        const qint64 known = stat.section(u' ', 0, 0).toLongLong();
        if (known > 0 && entries < 2 * known)
            return;
    }
    try {
        ADOall.exec(QStringLiteral("PRAGMA analysis_limit=400"));
        ADOall.exec(QStringLiteral("ANALYZE \"帐款明细\""));
    } catch (const DbError&) {
        // A file that cannot be written now keeps its listings' plans; it gets them next time.
    }
}

void TDM1::writeSeedRows() {
    for (const char* item : {"主机", "键盘", "显示器", "鼠标", "系统", "其他"})
        ADOall.exec(QStringLiteral("INSERT INTO \"维修项目\" (\"维修项目\") VALUES (?)"), {QString::fromUtf8(item)});
    QStringList cols{QStringLiteral("\"操作员\""), QStringLiteral("\"姓名\"")};
    QStringList marks{QStringLiteral("?"), QStringLiteral("?")};
    for (int f = 1; f <= 17; ++f) {
        cols << QStringLiteral("\"%1\"").arg(f);
        marks << QStringLiteral("1");
    }
    ADOall.exec(QStringLiteral("INSERT INTO \"操作员\" (%1) VALUES (%2)").arg(cols.join(u','), marks.join(u',')),
                {QStringLiteral("0001"), QStringLiteral("系统管理员")});
}

void TDM1::upgradeChangeLog() {
    if (ADOall.first(QStringLiteral("SELECT count(*) AS n FROM sqlite_master WHERE name IN ('修改记录', 'ix_修改记录_时间')"))
            .integer(QStringLiteral("n")) == 2)
        return;
    try {
        transaction([this] {
            for (const QString& ddl : changeLogDdl())
                ADOall.exec(ddl);
        });
    } catch (const DbError&) {
        // A file that cannot be written gets its log when it can; nothing can be changed meanwhile.
    }
}

void TDM1::upgradePasswords() {
    struct Plain {
        qlonglong rowid;
        QString password;
    };
    std::vector<Plain> plain;
    for (const Row& r : ADOall.query(QStringLiteral("SELECT rowid AS r, \"密码\" FROM \"操作员\"")))
        if (const QString p = r.text(QStringLiteral("密码")); !p.isEmpty() && !Passwords::isHash(p))
            plain.push_back({r.integer(QStringLiteral("r")), p});
    if (plain.empty())
        return;
    try {
        transaction([&] {
            for (const Plain& p : plain)
                ADOall.exec(QStringLiteral("UPDATE \"操作员\" SET \"密码\"=? WHERE rowid=?"),
                            {Passwords::hash(p.password), p.rowid});
        });
    } catch (const DbError&) {
        // A read-only file keeps them; the login still compares them as they are.
    }
}

QStringList TDM1::changeLogDdl() { return {QString::fromUtf8(kChangeLog), QString::fromUtf8(kChangeLogIndex)}; }

QString TDM1::changeLogInsert() {
    return QStringLiteral("INSERT INTO \"修改记录\" (\"时间\",\"操作员\",\"操作\",\"表名\",\"记录\",\"原值\",\"新值\") "
                          "VALUES (?,?,?,?,?,?,?)");
}

void TDM1::logChange(const QString& operatorNumber, const ChangeLine& line) {
    if (!inTransaction_)
        fail(QStringLiteral("修改记录只能随修改一起保存"));
    ADOall.exec(changeLogInsert(),
                {QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), operatorNumber,
                 line.action, line.table, line.key, line.oldValues, line.newValues});
}

Row TDM1::rowOf(const QString& table, qlonglong rowid) {
    return ADOall.first(QStringLiteral("SELECT * FROM %1 WHERE rowid=?").arg(quoteId(table)), {rowid});
}

Row TDM1::lastInserted(const QString& table) {
    return ADOall.first(QStringLiteral("SELECT * FROM %1 WHERE rowid=last_insert_rowid()").arg(quoteId(table)));
}

namespace {
const QString kPasswordColumn = QStringLiteral("密码");
}

QString TDM1::describe(const Row& row) {
    QStringList parts;
    const QSqlRecord& rec = row.record();
    for (int i = 0; i < rec.count(); ++i) {
        const QString name = rec.fieldName(i);
        if (name == kPasswordColumn)
            continue;
        parts << name + QStringLiteral("：") + row.text(name);
    }
    return parts.join(QStringLiteral("；"));
}

bool TDM1::describeChanges(const Row& before, const Row& after, QString& oldText, QString& newText) {
    QStringList olds;
    QStringList news;
    const QSqlRecord& rec = after.record();
    for (int i = 0; i < rec.count(); ++i) {
        const QString name = rec.fieldName(i);
        const QString was = before.text(name);
        const QString now = after.text(name);
        if (was == now)
            continue;
        if (name == kPasswordColumn) {
            olds << name + QStringLiteral("：（不显示）");
            news << name + QStringLiteral("：（已更改）");
            continue;
        }
        olds << name + QStringLiteral("：") + was;
        news << name + QStringLiteral("：") + now;
    }
    oldText = olds.join(QStringLiteral("；"));
    newText = news.join(QStringLiteral("；"));
    return !olds.isEmpty();
}

void TDM1::logEdit(const QString& operatorNumber, const QString& table, const QString& key, const Row& before,
                   const Row& after) {
    ChangeLine line{QStringLiteral("修改"), table, key, {}, {}};
    if (describeChanges(before, after, line.oldValues, line.newValues))
        logChange(operatorNumber, line);
}

void TDM1::logDelete(const QString& operatorNumber, const QString& table, const QString& key, const Row& before) {
    logChange(operatorNumber, {QStringLiteral("删除"), table, key, describe(before), {}});
}

SharedQuery& TDM1::ADOQuery(int n) {
    Q_ASSERT(n >= 1 && n <= kLastQuery);
    return *queries_[n];
}

void TDM1::transaction(const std::function<void()>& body) {
    if (inTransaction_)
        fail(QStringLiteral("事务不能嵌套"));
    QSqlDatabase d = db();
    if (!d.transaction())
        fail(errorText(d.lastError()));
    inTransaction_ = true;
    // The shared queries loaded while the transaction runs.
    std::array<bool, 19> loaded{};
    std::vector<QMetaObject::Connection> watches;
    for (size_t i = 0; i < queries_.size(); ++i)
        if (queries_[i])
            watches.push_back(
                connect(queries_[i].get(), &SharedQuery::reloaded, this, [&loaded, i] { loaded[i] = true; }));
    const auto unwatch = qScopeGuard([&watches] {
        for (const auto& w : watches)
            disconnect(w);
    });
    try {
        body();
        if (!d.commit())
            fail(errorText(d.lastError()));
        inTransaction_ = false;
    } catch (...) {
        d.rollback();
        inTransaction_ = false;
        // The rollback restores the database, and the screens stay as they were: only a result read
        // inside the transaction may show rows that are gone now, and only such a result is read again.
        for (size_t i = 0; i < queries_.size(); ++i)
            if (auto& q = queries_[i]; q && q->isOpen() && loaded[i]) {
                try {
                    q->reopen();
                } catch (const DbError&) {
                }
            }
        throw;
    }
}

QStringList TDM1::columns(const QString& table) {
    QStringList out;
    for (const Row& r : ADOall.query(QStringLiteral("SELECT name FROM pragma_table_info(?)"), {table}))
        out << r.text(QStringLiteral("name"));
    return out;
}

QString TDM1::checkColumn(const QString& table, const QString& column) {
    const QString wanted = column.trimmed();
    for (const QString& c : columns(table))
        if (c.compare(wanted, Qt::CaseInsensitive) == 0)
            return c;
    fail(QStringLiteral("表“%1”中没有名为“%2”的列！").arg(table, column));
}

QString TDM1::quoteId(const QString& name) {
    QString n = name;
    n.replace(u'"', QStringLiteral("\"\""));
    return u'"' + n + u'"';
}

bool TDM1::isMoneyColumn(const QString& name) {
    static const QStringList money{QStringLiteral("价格"), QStringLiteral("维修费"), QStringLiteral("应付金额"),
                                   QStringLiteral("金额")};
    return money.contains(name);
}

bool TDM1::isDateColumn(const QString& name) {
    return name == QStringLiteral("日期") || name == QStringLiteral("起用日期");
}

void TDM1::fail(const QString& text) { throw DbError(text); }

namespace Values {
qlonglong wholeNumber(const QString& text) {
    // Blanks around the number are no error: " 40" finds customer 40.
    static const QRegularExpression re(QStringLiteral("^-?\\d{1,18}$"));
    const QString number = text.trimmed();
    if (!re.match(number).hasMatch())
        throw DbError(QStringLiteral("“%1”不是有效的数字！").arg(text));
    return number.toLongLong();
}

QString containsPattern(const QString& text) {
    QString t = text;
    t.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("\\%")).replace(u'_', QStringLiteral("\\_"));
    return u'%' + t + u'%';
}
} // namespace Values
