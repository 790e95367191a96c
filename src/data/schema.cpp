#include "data/schema.h"

namespace Schema {
// Every index of the database. Account entries are listed by customer grouped by payment state,
// and the arrears by state and name, so their lookup indexes carry the state after the column.
// A file made before an index existed gets it when it opens (upgradeIndexes).
QStringList indexStatements(const QString& pinyin) {
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
                index(QStringLiteral("ix_%1_%2").arg(table, column), table,
                      QStringLiteral("\"%1\"").arg(column));
        }
    }
    for (const char* t : kDatedTables)
        index(QStringLiteral("ix_%1_日期").arg(QString::fromUtf8(t)), QString::fromUtf8(t),
              QStringLiteral("\"日期\""));
    index(QStringLiteral("ix_操作员"), QStringLiteral("操作员"), QStringLiteral("\"操作员\""));
    index(QStringLiteral("ix_乡镇"), QStringLiteral("乡镇"), QStringLiteral("\"乡镇\", \"村庄\""));
    index(QStringLiteral("ix_帐款明细_付款情况"), QStringLiteral("帐款明细"),
          QStringLiteral("\"付款情况\", \"客户编号\""));
    index(QStringLiteral("ix_帐款明细_付款情况_客户名称"), QStringLiteral("帐款明细"),
          QStringLiteral("\"付款情况\", \"客户名称\""));
    // The account summary lists every entry by payment state in the Chinese order, then by day.
    index(QStringLiteral("ix_帐款明细_付款情况_日期"), QStringLiteral("帐款明细"),
          QStringLiteral("\"付款情况\"%1, \"日期\"").arg(pinyin));
    return out;
}
} // namespace Schema
