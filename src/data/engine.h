#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>

class TDM1;

// What differs between the database engines the program runs on. TDM1 holds one engine and asks
// it; everything else (screens, ui, reports) writes its statements once, with the helpers of TDM1
// where a statement would differ.
//
// Every engine offers the same eight tables with the same columns; the tables without a record key
// of their own (操作员, 客户信息, 维修项目, 收款记录, 乡镇) have a key named rowid that `select *`
// does not need to name: the key a screen edits and deletes a row by.
class Engine {
  public:
    explicit Engine(TDM1& dm) : dm_(dm) {}
    virtual ~Engine() = default;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // "SQLite" or "PostgreSQL", as in the settings file.
    virtual QString kind() const = 0;
    // The Qt driver the connection needs.
    virtual QString driver() const = 0;
    // Connects to the database at place (a file name, a connection string), making the schema and
    // the seed rows when it is new and the upgrades an older one needs. Throws DbError; a database
    // that is not this program's is left untouched.
    virtual void open(const QString& place) = 0;
    // Where the program is, for the staff: the file, or the server and database.
    virtual QString where() const = 0;

    virtual QStringList columns(const QString& table) = 0;
    // The select list of a table's columns with its rowid first.
    virtual QString withKey() const = 0;
    // A condition that finds the bound text inside column, literally and without regard to case;
    // the value bound is Values::containsPattern(text).
    virtual QString contains(const QString& column) const = 0;
    // A query of the keys in the JSON array of whole numbers bound to it ("[3,5,8]").
    virtual QString keysIn() const = 0;
    // A condition: column equals the bound text, the case of A to Z aside.
    virtual QString sameLetters(const QString& column) const = 0;
    // The clause after a query that skips as many rows as the value bound to it.
    virtual QString skipRows() const = 0;
    // column as an ORDER BY key in the Chinese order that ignores letter case.
    virtual QString pinyinOrder(const QString& column) const = 0;
    // Runs an INSERT and returns the new row's key (the column named key).
    virtual QVariant insert(const QString& sql, const QVariantList& params, const QString& key) = 0;

    // The rows of table whose serial contains text, oldest first; its values are appended to params.
    virtual QString serialSearchSql(const QString& table, const QString& text,
                                    QVariantList& params) const = 0;

    // Statements answering the footers from the totals tables; empty when the database lacks them.
    virtual QString receiptTotalsSql() const = 0;
    virtual QString accountTotalsSql(bool byState) const = 0;

    // Sets every key sequence past the largest key, after rows came in with their keys.
    virtual void resetKeys() {}

    // A consistent copy of the whole database to file, and the database replaced by such a copy
    // after it was checked in full.
    virtual void backupTo(const QString& file) = 0;
    // The restore leaves a line by operatorNumber in the change log.
    virtual void restoreFrom(const QString& file, const QString& operatorNumber) = 0;

  protected:
    TDM1& dm_;
};
