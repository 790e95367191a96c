#include "data/tdm1.h"
#include "data/pgengine.h"
#include "data/sqliteengine.h"
#include "data/dates.h"
#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QRegularExpression>
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


const char* const kInitialSql[19] = {
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
    for (int n = 1; n <= 18; ++n)
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

SharedQuery& TDM1::ADOQuery(int n) {
    Q_ASSERT(n >= 1 && n <= 18);
    return *queries_[n];
}

void TDM1::transaction(const std::function<void()>& body) {
    if (inTransaction_)
        fail(QStringLiteral("事务不能嵌套"));
    QSqlDatabase d = db();
    if (!d.transaction())
        fail(errorText(d.lastError()));
    inTransaction_ = true;
    try {
        body();
        if (!d.commit())
            fail(errorText(d.lastError()));
        inTransaction_ = false;
    } catch (...) {
        d.rollback();
        inTransaction_ = false;
        // A rollback may abort the open results; load them again so no grid shows a cut-off list.
        for (auto& q : queries_)
            if (q && q->isOpen()) {
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
    static const QRegularExpression re(QStringLiteral("^-?\\d{1,18}$"));
    if (!re.match(text).hasMatch())
        throw DbError(QStringLiteral("“%1”不是有效的数字！").arg(text));
    return text.toLongLong();
}

QString containsPattern(const QString& text) {
    QString t = text;
    t.replace(u'\\', QStringLiteral("\\\\")).replace(u'%', QStringLiteral("\\%")).replace(u'_', QStringLiteral("\\_"));
    return u'%' + t + u'%';
}
} // namespace Values
