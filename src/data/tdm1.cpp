#include "data/tdm1.h"
#include "data/pgengine.h"
#include "data/sqliteengine.h"
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
    // The server's message comes as "ERROR:  text", further lines and the error's code: the staff
    // see the text.
    static const QRegularExpression server(QStringLiteral("^(?:ERROR|FATAL):  ([^\n]+)"));
    const auto m = server.match(t);
    if (m.hasMatch())
        return m.captured(1).trimmed();
    return t.trimmed();
}

QSqlQuery prepared(const QSqlDatabase& db, const QString& sql, const QVariantList& params) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // The server prepares only queries and changes of rows, not its DDL.
    if (params.isEmpty() && db.driverName() == QStringLiteral("QPSQL")) {
        if (!q.exec(sql))
            TDM1::fail(errorText(q.lastError()));
        return q;
    }
    if (!q.prepare(sql))
        TDM1::fail(errorText(q.lastError()));
    for (const QVariant& p : params)
        q.addBindValue(p);
    if (!q.exec())
        TDM1::fail(errorText(q.lastError()));
    return q;
}


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
    "select * from 修改记录 where 1=0",
    "select * from dinggou where 1=0",
    "select * from 维修记录 where 1=0",
    "select * from 帐款明细 where 1=0",
    "select * from 收款记录 where 1=0",
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
        const QString k = TDM1::isDateColumn(column) || TDM1::isMoneyColumn(column) ? TDM1::quoteId(column)
                                                                                   : dm_.pinyinOrder(column);
        keys << k + (order == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    }
    return QStringLiteral("SELECT * FROM (%1) AS q ORDER BY %2").arg(sql_, keys.join(QStringLiteral(", ")));
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
    Row r = dm_.ADOall.first(QStringLiteral("SELECT count(*) AS n FROM (%1) AS q").arg(unorderedSql()), params_);
    return r.integer(QStringLiteral("n"));
}

qlonglong SharedQuery::count(const QString& column) const {
    if (!open_)
        return 0;
    Row r = dm_.ADOall.first(
        QStringLiteral("SELECT count(%1) AS n FROM (%2) AS q").arg(TDM1::quoteId(column), unorderedSql()), params_);
    return r.integer(QStringLiteral("n"));
}

Money SharedQuery::sum(const QString& column) const {
    if (!open_)
        return {};
    Row r = dm_.ADOall.first(
        QStringLiteral("SELECT sum(%1) AS s FROM (%2) AS q").arg(TDM1::quoteId(column), unorderedSql()), params_);
    return Money::fromUnits(r.integer(QStringLiteral("s")));
}

// ---- TDM1 ----

TDM1::TDM1(QObject* parent) : QObject(parent), engine_(std::make_unique<SqliteEngine>(*this)) {
    connectionName_ = QStringLiteral("lumareth-%1").arg(connectionCounter.fetchAndAddOrdered(1));
    QSqlDatabase::addDatabase(engine_->driver(), connectionName_);
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

void TDM1::open(const QString& file) {
    closeConnection();
    engine_ = std::make_unique<SqliteEngine>(*this);
    useDriver(engine_->driver());
    engine_->open(file);
}

void TDM1::openServer(const QString& connection) {
    closeConnection();
    engine_ = std::make_unique<PgEngine>(*this);
    useDriver(engine_->driver());
    engine_->open(connection);
}

QString TDM1::fileName() const {
    const auto* file = dynamic_cast<const SqliteEngine*>(engine_.get());
    return file ? file->fileName() : QString();
}

void TDM1::useDriver(const QString& driver) {
    if (QSqlDatabase::database(connectionName_, false).driverName() == driver)
        return;
    QSqlDatabase::removeDatabase(connectionName_);
    QSqlDatabase::addDatabase(driver, connectionName_);
}

QStringList TDM1::columns(const QString& table) { return engine_->columns(table); }

void TDM1::closeConnection() {
    for (auto& q : queries_)
        if (q)
            q->close();
    QSqlDatabase d = db();
    if (d.isOpen())
        d.close();
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
    // The embedded engine's own catalogue; a server database gets the log with its schema.
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

namespace {
// The key of a table's rows: id where it has one (SQLite's rowid is the same), rowid in the others.
QString keyOf(const QString& table) {
    static const QStringList withId{QStringLiteral("dinggou"), QStringLiteral("维修记录"), QStringLiteral("帐款明细"),
                                    QStringLiteral("修改记录")};
    return withId.contains(table) ? QStringLiteral("id") : QStringLiteral("rowid");
}
} // namespace

Row TDM1::rowOf(const QString& table, qlonglong rowid) {
    return ADOall.first(QStringLiteral("SELECT * FROM %1 WHERE %2=?").arg(quoteId(table), keyOf(table)), {rowid});
}

Row TDM1::insertRow(const QString& table, const QString& sql, const QVariantList& params) {
    return rowOf(table, insert(sql, params, keyOf(table)).toLongLong());
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
    std::array<bool, kLastQuery + 1> loaded{};
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
