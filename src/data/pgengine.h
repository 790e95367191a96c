#pragma once
#include "data/engine.h"
#include "data/tdm1.h"

// A PostgreSQL server (Qt's QPSQL driver), for a shop whose counters share one database. Text
// columns carry the ICU collation pinyin that the program creates, so the Chinese order is the
// column's own; money is a bigint of ten-thousandths, dates are dates, the totals tables are kept
// by PL/pgSQL triggers and new keys come back through INSERT ... RETURNING.
class PgEngine : public Engine {
  public:
    using Engine::Engine;
    QString kind() const override { return QStringLiteral("PostgreSQL"); }
    QString driver() const override { return QStringLiteral("QPSQL"); }
    // place is a libpq connection string in its key=value form; the password comes from libpq's
    // own sources (~/.pgpass, PGPASSFILE, a service file).
    void open(const QString& place) override;
    QString where() const override { return where_; }

    QStringList columns(const QString& table) override;
    QString withKey() const override { return QStringLiteral("*"); }
    QString contains(const QString& column) const override;
    QString sameLetters(const QString& column) const override {
        return QStringLiteral("lower(%1) = lower(?)").arg(TDM1::quoteId(column));
    }
    QString keysIn() const override {
        return QStringLiteral("select CAST(jsonb_array_elements_text(CAST(? AS jsonb)) AS bigint)");
    }
    QString skipRows() const override { return QStringLiteral("OFFSET ?"); }
    QString pinyinOrder(const QString& column) const override;
    QVariant insert(const QString& sql, const QVariantList& params, const QString& key) override;
    QString receiptTotalsSql() const override;
    QString serialSearchSql(const QString& table, const QString& text, QVariantList& params) const override;
    QString accountTotalsSql(bool byState) const override;
    void backupTo(const QString& file) override;
    void restoreFrom(const QString& file, const QString& operatorNumber) override;

    // The statements that make the collation, the eight tables, their indexes, the totals tables
    // and their triggers in an empty database.
    static QStringList schemaStatements();
    void resetKeys() override;

  private:
    void createSchema();
    QStringList tablesHere();

    QString where_;
};
