#pragma once
#include "data/dberror.h"
#include "data/engine.h"
#include "data/money.h"
#include <QDate>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QSqlRecord>
#include <QVariant>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class TDM1;

// One row of a result, read by column name; NULL reads as empty, zero or false.
class Row {
public:
    Row() = default;
    explicit Row(QSqlRecord rec) : rec_(std::move(rec)) {}
    bool isEmpty() const { return rec_.isEmpty(); }
    QVariant value(const QString& column) const;
    // Display text: money in its display form, dates in the short date form.
    QString text(const QString& column) const;
    qlonglong integer(const QString& column) const { return value(column).toLongLong(); }
    Money money(const QString& column) const { return Money::fromVariant(value(column)); }
    bool flag(const QString& column) const { return value(column).toLongLong() != 0; }
    QDate date(const QString& column) const;
    const QSqlRecord& record() const { return rec_; }

private:
    QSqlRecord rec_;
};

// The scratch statement ADOall: one statement at a time, every value bound.
class Scratch {
public:
    explicit Scratch(TDM1& dm) : dm_(dm) {}
    // Runs a statement that returns no rows; returns the number of rows it changed.
    int exec(const QString& sql, const QVariantList& params = {});
    std::vector<Row> query(const QString& sql, const QVariantList& params = {});
    // First row of the result, or an empty Row.
    Row first(const QString& sql, const QVariantList& params = {});

private:
    TDM1& dm_;
};

// A shared query: its model is the data source of every grid bound to it, so a new
// result shows in all of them at once.
class SharedQuery : public QObject {
    Q_OBJECT
public:
    SharedQuery(TDM1& dm, int number, QString initialSql);
    int number() const { return number_; }

    // Replaces the statement and loads it. On failure the query stays closed and the error is thrown.
    // totalsSql (with its own values), when given, answers the footer's counts and sums of the
    // whole result without reading it (see TDM1::receiptTotalsSql); it is forgotten by the next
    // open().
    void open(const QString& sql, const QVariantList& params = {}, const QString& totalsSql = {},
              const QVariantList& totalsParams = {});
    void reopen();
    void close();
    bool isOpen() const { return open_; }
    QString sql() const { return sql_; }
    // The statement without its final ORDER BY: what counts and sums run over, so they need no sort.
    QString unorderedSql() const;
    QVariantList params() const { return params_; }
    QString totalsSql() const { return totalsSql_; }
    QVariantList totalsParams() const { return totalsParams_; }
    // The statement as it runs, the client-side order included.
    QString orderedSql() const;
    TDM1& dm() const { return dm_; }

    // The client-side order of the result: column names with their direction. Empty is the statement's own order.
    using SortKeys = QList<QPair<QString, Qt::SortOrder>>;
    void setSort(const SortKeys& keys);
    SortKeys sort() const { return sort_; }

    QSqlQueryModel* model() { return &model_; } // the data source
    int loadedRows() const { return model_.rowCount(); }
    Row row(int r) const;
    void fetchAll();

    // Over the whole result, not only the rows fetched so far.
    qlonglong count() const;
    // Rows whose column is not null.
    qlonglong count(const QString& column) const;
    Money sum(const QString& column) const;

signals:
    void reloaded();

private:
    void load();

    TDM1& dm_;
    int number_;
    QString sql_;
    QVariantList params_;
    QString totalsSql_;
    QVariantList totalsParams_;
    SortKeys sort_;
    bool open_ = false;
    QSqlQueryModel model_;
};

class TDM1 : public QObject {
    Q_OBJECT
public:
    explicit TDM1(QObject* parent = nullptr);
    ~TDM1() override;

    // Opens the database file; a file that does not exist yet is created with the schema and
    // seed rows. Throws DbError when the file cannot be opened or is not this program's database;
    // such a file is only read, never changed.
    void open(const QString& file);
    // Opens the database on a PostgreSQL server named by a libpq connection string; an empty
    // database gets the schema and the seed rows. Throws DbError with the server's reason.
    void openServer(const QString& connection);
    void closeConnection();
    bool isOpen() const;
    // The database file of the embedded engine; empty on a server.
    QString fileName() const;
    QSqlDatabase db() const;
    // The engine the connection runs on.
    Engine& engine() const { return *engine_; }
    // Where the data is, for the staff: the file, or the server and database.
    QString where() const { return engine_->where(); }

    Scratch ADOall{*this};
    SharedQuery& ADOQuery(int n); // 3 to kLastQuery
    // 19 lists the change log; 20 to 23 the serial search's sales, repairs, account entries and receipts.
    static constexpr int kLastQuery = 23;

    // Runs body in one transaction: committed when it returns, rolled back when it throws.
    void transaction(const std::function<void()>& body);
    bool inTransaction() const { return inTransaction_; }

    // The real name of a column of table, matched without regard to case; a name that
    // is not a column is a DbError with a clear text.
    QString checkColumn(const QString& table, const QString& column);
    QStringList columns(const QString& table);
    static QString quoteId(const QString& name);

    // Names of columns that hold money, dates and yes/no values, wherever they appear.
    static bool isMoneyColumn(const QString& name);
    static bool isDateColumn(const QString& name);

    // Statements that differ between the engines.
    // A condition finding the text bound as Values::containsPattern(text) in column, as typed and
    // without regard to letter case.
    QString contains(const QString& column) const { return engine_->contains(column); }
    // The select list of a table that has no id: its columns with the key rowid first.
    QString withKey() const { return engine_->withKey(); }
    // A query of the keys in the JSON array of whole numbers bound to it ("[3,5,8]").
    QString keysIn() const { return engine_->keysIn(); }
    // A condition: column equals the bound text, the case of A to Z aside.
    QString sameLetters(const QString& column) const { return engine_->sameLetters(column); }
    // The clause after a query that skips as many rows as the value bound to it.
    QString skipRows() const { return engine_->skipRows(); }
    // column as an ORDER BY key in the Chinese order that ignores letter case.
    QString pinyinOrder(const QString& column) const { return engine_->pinyinOrder(column); }
    // Runs an INSERT and returns the new row's key: id in the tables that have one, rowid in the others.
    QVariant insert(const QString& sql, const QVariantList& params, const QString& key = QStringLiteral("rowid")) {
        return engine_->insert(sql, params, key);
    }
    // One row with the count of all receipts, of those with an address and the sum of their
    // amounts, under the names the footer asks for ("count(*)", "count(地址)", "sum(金额)"); kept
    // by triggers, so the footer of the whole list need not read 1.7 million receipts. Empty when
    // the database lacks them (a read-only file of an earlier version).
    QString receiptTotalsSql() const { return engine_->receiptTotalsSql(); }
    // The count and amount of the account entries with an address, per day and payment state, for
    // the period summary's footer, as "count(*)" and "sum(应付金额)"; the statement takes the first
    // and last day, and the state too when byState. Empty when the database lacks them.
    QString accountTotalsSql(bool byState) const { return engine_->accountTotalsSql(byState); }
    // A consistent copy of the database in file, and the database replaced from such a copy.
    void backupTo(const QString& file) { engine_->backupTo(file); }
    void restoreFrom(const QString& file, const QString& operatorNumber = {}) {
        engine_->restoreFrom(file, operatorNumber);
    }
    // The rows of table whose serial contains text, oldest first, with their values (see SerialIndex).
    QString serialSearchSql(const QString& table, const QString& text, QVariantList& params) const {
        return engine_->serialSearchSql(table, text, params);
    }
    // The rows of a new database: operator 0001 with every flag, the six repair items.
    void writeSeedRows();
    // Operators' passwords of an earlier version, kept as typed, are replaced by their hashes,
    // all in one transaction. A file that cannot be written keeps them until it can.
    void upgradePasswords();

    // ---- The change log "修改记录": every correction and deletion leaves a line. ----
    struct ChangeLine {
        QString action; // 新增, 修改, 删除, 清除历史, 初始化, 恢复, 补收
        QString table;
        QString key; // record key or customer number
        QString oldValues;
        QString newValues;
    };
    // Writes a line dated now for operatorNumber. Only inside a transaction, so that the line is
    // committed with the change it tells of, or rolled back with it.
    void logChange(const QString& operatorNumber, const ChangeLine& line);
    // The row of table with this key (id where the table has one, rowid in the others), or an empty Row.
    Row rowOf(const QString& table, qlonglong rowid);
    // Runs an INSERT into table and returns the row it wrote.
    Row insertRow(const QString& table, const QString& sql, const QVariantList& params);
    // A 修改 line with the columns that differ between before and after; none when nothing differs.
    void logEdit(const QString& operatorNumber, const QString& table, const QString& key, const Row& before,
                 const Row& after);
    // A 删除 line with every value of the row.
    void logDelete(const QString& operatorNumber, const QString& table, const QString& key, const Row& before);
    // Readable values of a row, "column：value" joined by "；"; a password is never shown.
    static QString describe(const Row& row);
    // The columns that differ, as old and new texts; false when none differs.
    static bool describeChanges(const Row& before, const Row& after, QString& oldText, QString& newText);
    // The table of the log, created for a file of an earlier version too.
    static QStringList changeLogDdl();
    static QString changeLogInsert(); // its insert statement: time, operator, action, table, key, old, new

    // Throws DbError with the text of a failed statement.
    [[noreturn]] static void fail(const QString& text);

private:
    void useDriver(const QString& driver);
    // Makes the change log in a database of an earlier version.
    void upgradeChangeLog();
    friend class SqliteEngine;

    QString connectionName_;
    bool inTransaction_ = false;
    std::unique_ptr<Engine> engine_;
    std::array<std::unique_ptr<SharedQuery>, kLastQuery + 1> queries_;
};

// Typed whole numbers (customer numbers, record keys) are checked before any statement runs.
namespace Values {
qlonglong wholeNumber(const QString& text); // throws DbError naming the text
// A LIKE pattern that finds text as typed, "%" and "_" included: use with "like ? escape '\\'".
QString containsPattern(const QString& text);
}
