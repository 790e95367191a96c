#pragma once
#include "data/engine.h"
#include "data/tdm1.h"

// The embedded engine: one database file in the program folder, the Chinese collation registered
// on the connection, the rollback journal synced in full, the totals tables kept by triggers.
class SqliteEngine : public Engine {
  public:
    using Engine::Engine;
    QString kind() const override { return QStringLiteral("SQLite"); }
    QString driver() const override { return QStringLiteral("QSQLITE"); }
    // Opens the database file; a file that does not exist yet is created with the schema and
    // seed rows. A file that is damaged or not this program's database is only read, never changed.
    void open(const QString& file) override;
    QString where() const override;
    QString fileName() const { return file_; }

    QStringList columns(const QString& table) override;
    QString withKey() const override { return QStringLiteral("rowid, *"); }
    QString contains(const QString& column) const override;
    QString sameLetters(const QString& column) const override {
        return TDM1::quoteId(column) + QStringLiteral(" =? COLLATE NOCASE");
    }
    QString keysIn() const override { return QStringLiteral("select value from json_each(?)"); }
    QString skipRows() const override { return QStringLiteral("LIMIT -1 OFFSET ?"); }
    QString pinyinOrder(const QString& column) const override;
    QVariant insert(const QString& sql, const QVariantList& params, const QString& key) override;
    QString receiptTotalsSql() const override;
    QString serialSearchSql(const QString& table, const QString& text, QVariantList& params) const override;
    QString accountTotalsSql(bool byState) const override;
    void backupTo(const QString& file) override;
    void restoreFrom(const QString& file, const QString& operatorNumber) override;

    // Creates the eight tables and their indexes in an empty database.
    void createSchema();
    // Adds the indexes a database written by an earlier version lacks.
    void upgradeIndexes();
    void refreshStatistics();
    void rebuildIfCollationChanged();
    // Keeps the totals tables and their triggers in place.
    void upgradeTotals();
    // Makes operator numbers unique without regard to A-Z case, when the operators allow it.
    void uniqueOperatorNumbers();

  private:
    void registerCollation();
    void checkSchema();
    void openConnection(const QString& file, bool readOnly);
    static void checkHeader(const QString& file);
    void settle();
    void createDatabase(const QString& file);
    // Checks a totals table and its three triggers, making them anew when they are not exactly as
    // ddls makes them (or, for a oneRow table, it does not hold one row); false when the file
    // cannot be written.
    bool keepTotals(const QString& table, const char* const (&ddls)[4], const char* fill, bool oneRow);
    // Creates a totals table and its triggers, and fills it from the records.
    void makeTotals(const char* const (&ddls)[4], const char* fill);

    QString file_;
    bool receiptTotals_ = false;
    bool accountTotals_ = false;
    bool serialIndex_ = false;
};
