#include "data/serialindex.h"
#include "data/tdm1.h"
#include <QStringList>

namespace {
QString indexName(const QString& table) {
    return table + QStringLiteral("_序列号");
}

// The rowid that ties an index row to its record: the id where the table has one.
QString keyOf(const QString& table) {
    return table == QStringLiteral("收款记录") ? QStringLiteral("rowid") : QStringLiteral("id");
}

// The index table and its three triggers, exactly as this program makes them. The index holds no
// copy of the serials (external content): it reads them from the table when it is rebuilt.
QStringList ddls(const QString& table) {
    const QString t = TDM1::quoteId(table);
    const QString ix = TDM1::quoteId(indexName(table));
    const QString key = keyOf(table);
    const QString updateOf = key == QStringLiteral("id") ? QStringLiteral("\"id\", \"主机序列号\"")
                                                         : QStringLiteral("\"主机序列号\"");
    return {
        QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(\"主机序列号\", content=%2, content_rowid=%3, "
                       "tokenize='trigram')")
            .arg(ix, t, key),
        QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN INSERT INTO %3 (rowid, \"主机序列号\") "
                       "VALUES (new.%4, new.\"主机序列号\"); END")
            .arg(TDM1::quoteId(indexName(table) + QStringLiteral("_增")), t, ix, key),
        QStringLiteral(
            "CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN INSERT INTO %3 (%3, rowid, \"主机序列号\") "
            "VALUES ('delete', old.%4, old.\"主机序列号\"); END")
            .arg(TDM1::quoteId(indexName(table) + QStringLiteral("_删")), t, ix, key),
        QStringLiteral(
            "CREATE TRIGGER %1 AFTER UPDATE OF %5 ON %2 BEGIN INSERT INTO %3 (%3, rowid, "
            "\"主机序列号\") VALUES ('delete', old.%4, old.\"主机序列号\"); INSERT INTO %3 (rowid, "
            "\"主机序列号\") VALUES (new.%4, new.\"主机序列号\"); END")
            .arg(TDM1::quoteId(indexName(table) + QStringLiteral("_改")), t, ix, key, updateOf),
    };
}

void make(TDM1& dm, const QString& table) {
    for (const QString& ddl : ddls(table))
        dm.ADOall.exec(ddl);
    const QString ix = TDM1::quoteId(indexName(table));
    dm.ADOall.exec(QStringLiteral("INSERT INTO %1 (%1) VALUES ('rebuild')").arg(ix));
}

bool intact(TDM1& dm, const QString& table) {
    QStringList wanted = ddls(table);
    QStringList found;
    const QString n = indexName(table);
    for (const Row& r : dm.ADOall.query(
             QStringLiteral("SELECT sql FROM sqlite_master WHERE (type='table' AND name=?) OR "
                            "(type='trigger' AND name IN (?, ?, ?))"),
             {n, n + QStringLiteral("_增"), n + QStringLiteral("_删"), n + QStringLiteral("_改")}))
        found << r.text(QStringLiteral("sql"));
    wanted.sort();
    found.sort();
    return found == wanted;
}
} // namespace

namespace SerialIndex {

void create(TDM1& dm) {
    for (const char* t : kTables)
        make(dm, QString::fromUtf8(t));
}

bool keep(TDM1& dm) {
    QStringList damaged;
    for (const char* t : kTables)
        if (!intact(dm, QString::fromUtf8(t)))
            damaged << QString::fromUtf8(t);
    if (damaged.isEmpty())
        return true;
    try {
        dm.transaction([&] {
            for (const QString& table : damaged) {
                const QString n = indexName(table);
                for (const QString& suffix :
                     {QStringLiteral("_增"), QStringLiteral("_删"), QStringLiteral("_改")})
                    dm.ADOall.exec(
                        QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(TDM1::quoteId(n + suffix)));
                dm.ADOall.exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(TDM1::quoteId(n)));
                make(dm, table);
            }
        });
        return true;
    } catch (const DbError&) {
        // A file that cannot be written now is searched row by row; it gets its index next time.
        return false;
    }
}

QString search(const QString& table, const QString& text, bool indexed, QVariantList& params) {
    const QString t = TDM1::quoteId(table);
    const QString key = keyOf(table);
    const QString order = QStringLiteral(" ORDER BY \"日期\", %1").arg(key);
    // The LIKE is what decides: the index only narrows the rows down to those holding the text's
    // trigrams in a row, so a stale index can never show a row that does not hold the text.
    const QString like = QStringLiteral("\"主机序列号\" LIKE ? ESCAPE '\\'");
    const QString select = QStringLiteral("SELECT * FROM ");
    // A trigram index finds texts of three characters or more; shorter ones are looked for row by row.
    if (!indexed || text.toUcs4().size() < 3) {
        params << Values::containsPattern(text);
        return select + t + QStringLiteral(" WHERE ") + like + order;
    }
    QString phrase = text;
    phrase.replace(u'"', QStringLiteral("\"\""));
    params << u'"' + phrase + u'"' << Values::containsPattern(text);
    const QString ix = TDM1::quoteId(indexName(table));
    return select + t +
           QStringLiteral(" WHERE %1 IN (SELECT rowid FROM %2 WHERE %2 MATCH ?) AND ").arg(key, ix) + like +
           order;
}

} // namespace SerialIndex
