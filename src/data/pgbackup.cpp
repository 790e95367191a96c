// Backup and restore of a database on the server, as a file of the program's own text format:
//
//   LUMARETH-PG-BACKUP 1
//   TABLE <name> <row count> <column> <column> ...     (fields separated by a tab)
//   <value> <value> ...                                 (one line per row, as many values as columns)
//   ...                                                 (the eight tables, each once)
//   END <SHA-256 of every byte before this line, in hex>
//
// A value is its text with backslash, tab, newline and carriage return written \\, \t, \n, \r;
// an absent value (NULL) is \N; dates are yyyy-MM-dd, money its ten-thousandths. The file is UTF-8.
#include "data/eventturns.h"
#include "data/pgengine.h"
#include "data/schema.h"
#include "data/tdm1.h"
#include <QCryptographicHash>
#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <map>

namespace {
const QByteArray kHeader = "LUMARETH-PG-BACKUP 1";

QByteArray escaped(const QVariant& v) {
    if (v.isNull())
        return "\\N";
    QString t =
        v.typeId() == QMetaType::QDate ? v.toDate().toString(QStringLiteral("yyyy-MM-dd")) : v.toString();
    QByteArray out;
    for (const char c : t.toUtf8()) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// false when the text holds an escape the writer never makes.
bool unescaped(const QByteArray& field, QVariant& out) {
    if (field == "\\N") {
        out = QVariant();
        return true;
    }
    QByteArray b;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != '\\') {
            b += field[i];
            continue;
        }
        if (++i >= field.size())
            return false;
        switch (field[i]) {
        case '\\':
            b += '\\';
            break;
        case 't':
            b += '\t';
            break;
        case 'n':
            b += '\n';
            break;
        case 'r':
            b += '\r';
            break;
        default:
            return false;
        }
    }
    out = QString::fromUtf8(b);
    return true;
}

bool isWholeNumberColumn(const QString& c) {
    static const QStringList numbers{QStringLiteral("客户编号"), QStringLiteral("id"),
                                     QStringLiteral("rowid")};
    bool digits = false;
    c.toInt(&digits);
    return digits || numbers.contains(c) || TDM1::isMoneyColumn(c);
}

struct Table {
    QString name;
    QStringList columns;
    std::vector<QVariantList> rows;
};

[[noreturn]] void damaged(const QString& file, const QString& why) {
    TDM1::fail(QStringLiteral("文件“%1”不是本程序的备份文件或已损坏：%2").arg(file, why));
}
} // namespace

void PgEngine::backupTo(const QString& file) {
    if (dm_.inTransaction())
        TDM1::fail(QStringLiteral("正在保存数据，请稍后再试！"));
    if (QFileInfo(file).isDir())
        TDM1::fail(QStringLiteral("“%1”是一个文件夹！").arg(file));
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        TDM1::fail(QStringLiteral("无法创建文件“%1”：%2").arg(file, out.errorString()));
    out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    const auto write = [&](const QByteArray& line) {
        digest.addData(line);
        digest.addData("\n");
        out.write(line);
        out.write("\n");
    };
    write(kHeader);
    EventTurns turns;
    // One snapshot of all eight tables, however the other counters write meanwhile.
    dm_.transaction([&] {
        dm_.ADOall.exec(QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
        for (const char* t : Schema::kTableNames) {
            const QString table = QString::fromUtf8(t);
            const QStringList cols = columns(table);
            const qlonglong n =
                dm_.ADOall.first(QStringLiteral("SELECT count(*) AS n FROM %1").arg(TDM1::quoteId(table)))
                    .integer(QStringLiteral("n"));
            QByteArray head = "TABLE\t" + table.toUtf8() + '\t' + QByteArray::number(n);
            for (const QString& c : cols)
                head += '\t' + c.toUtf8();
            write(head);
            QSqlQuery q(dm_.db());
            q.setForwardOnly(true);
            const QString key =
                cols.contains(QStringLiteral("id")) ? QStringLiteral("id") : QStringLiteral("rowid");
            if (!q.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                            .arg(TDM1::quoteId(table), TDM1::quoteId(key))))
                TDM1::fail(q.lastError().databaseText());
            while (q.next()) {
                QByteArray line;
                for (int i = 0; i < cols.size(); ++i)
                    line += (i ? "\t" : "") + escaped(q.value(i));
                write(line);
                turns.tick();
            }
        }
    });
    out.write("END\t" + digest.result().toHex() + "\n");
    if (!out.commit())
        TDM1::fail(QStringLiteral("无法写入文件“%1”：%2").arg(file, out.errorString()));
}

void PgEngine::restoreFrom(const QString& file, const QString& operatorNumber) {
    if (dm_.inTransaction())
        TDM1::fail(QStringLiteral("正在保存数据，请稍后再试！"));
    QFile in(file);
    if (!QFileInfo(file).isFile() || !in.open(QIODevice::ReadOnly))
        TDM1::fail(QStringLiteral("文件“%1”不存在！").arg(file));
    // The whole file is read and checked before anything changes.
    const QByteArray bytes = in.readAll();
    if (!bytes.startsWith(kHeader + '\n'))
        damaged(file, QStringLiteral("文件头不对"));
    const qsizetype endAt = bytes.lastIndexOf("\nEND\t");
    if (endAt < 0)
        damaged(file, QStringLiteral("文件不完整"));
    const QByteArray body = bytes.left(endAt + 1);
    const QByteArray sum = bytes.mid(endAt + 5).trimmed();
    if (QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() != sum)
        damaged(file, QStringLiteral("校验和不符"));
    std::map<QString, Table> tables;
    const QList<QByteArray> lines = body.split('\n');
    qsizetype i = 1;
    while (i < lines.size() && !lines[i].isEmpty()) {
        const QList<QByteArray> head = lines[i++].split('\t');
        if (head.size() < 3 || head[0] != "TABLE")
            damaged(file, QStringLiteral("第%1行不是表头").arg(i));
        Table t;
        t.name = QString::fromUtf8(head[1]);
        bool ok = false;
        const qlonglong n = head[2].toLongLong(&ok);
        if (!ok || n < 0 || tables.count(t.name))
            damaged(file, QStringLiteral("表“%1”的表头不对").arg(t.name));
        for (qsizetype c = 3; c < head.size(); ++c)
            t.columns << QString::fromUtf8(head[c]);
        QStringList here = columns(t.name);
        QStringList theirs = t.columns;
        here.sort();
        theirs.sort();
        if (here.isEmpty() || here != theirs)
            damaged(file, QStringLiteral("表“%1”的列与本数据库不同").arg(t.name));
        for (qlonglong r = 0; r < n; ++r, ++i) {
            if (i >= lines.size())
                damaged(file, QStringLiteral("表“%1”的行数不足").arg(t.name));
            const QList<QByteArray> fields = lines[i].split('\t');
            if (fields.size() != t.columns.size())
                damaged(file, QStringLiteral("第%1行的列数不对").arg(i + 1));
            QVariantList row;
            for (int c = 0; c < fields.size(); ++c) {
                QVariant v;
                if (!unescaped(fields[c], v))
                    damaged(file, QStringLiteral("第%1行有无效的值").arg(i + 1));
                const QString& col = t.columns[c];
                if (!v.isNull() && isWholeNumberColumn(col)) {
                    bool number = false;
                    v = v.toString().toLongLong(&number);
                    if (!number)
                        damaged(file, QStringLiteral("第%1行的“%2”不是数字").arg(i + 1).arg(col));
                } else if (!v.isNull() && TDM1::isDateColumn(col) &&
                           !QDate::fromString(v.toString(), QStringLiteral("yyyy-MM-dd")).isValid()) {
                    damaged(file, QStringLiteral("第%1行的“%2”不是日期").arg(i + 1).arg(col));
                }
                row << v;
            }
            t.rows.push_back(std::move(row));
        }
        tables.emplace(t.name, std::move(t));
    }
    if (i != lines.size() - 1)
        damaged(file, QStringLiteral("表后有多余的行"));
    for (const char* name : Schema::kTableNames)
        if (!tables.count(QString::fromUtf8(name)))
            damaged(file, QStringLiteral("缺少表“%1”").arg(QString::fromUtf8(name)));
    if (tables.size() != std::size(Schema::kTableNames))
        damaged(file, QStringLiteral("有不属于本程序的表"));

    // All of it or nothing: the totals follow through their triggers.
    EventTurns turns;
    dm_.transaction([&] {
        for (const char* name : Schema::kTableNames)
            dm_.ADOall.exec(QStringLiteral("DELETE FROM %1").arg(TDM1::quoteId(QString::fromUtf8(name))));
        for (const auto& [name, t] : tables) {
            QStringList names;
            QStringList marks;
            for (const QString& c : t.columns) {
                names << TDM1::quoteId(c);
                marks << QStringLiteral("?");
            }
            const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(TDM1::quoteId(name), names.join(u','), marks.join(u','));
            QSqlQuery q(dm_.db());
            if (!q.prepare(sql))
                TDM1::fail(q.lastError().databaseText());
            for (const QVariantList& row : t.rows) {
                for (int c = 0; c < row.size(); ++c)
                    q.bindValue(c, row[c]);
                if (!q.exec())
                    TDM1::fail(q.lastError().databaseText());
                turns.tick();
            }
        }
        resetKeys();
        dm_.logChange(operatorNumber, {QStringLiteral("恢复"), {}, {}, {},
                                       QStringLiteral("恢复自：%1").arg(QFileInfo(file).absoluteFilePath())});
    });
    for (int n = 3; n <= TDM1::kLastQuery; ++n)
        if (dm_.ADOQuery(n).isOpen()) {
            try {
                dm_.ADOQuery(n).reopen();
            } catch (const DbError&) {
            }
        }
}
