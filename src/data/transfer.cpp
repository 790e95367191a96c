#include "data/transfer.h"
#include "data/schema.h"
#include "data/tdm1.h"
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
const QString kServer = QStringLiteral("PostgreSQL:");

void openPlace(TDM1& dm, const QString& place) {
    if (place.startsWith(kServer, Qt::CaseInsensitive))
        dm.openServer(place.mid(kServer.size()));
    else
        dm.open(place);
}

// The rows and the sum of each money column, as one line of text for comparing both sides.
QString figures(TDM1& dm, const QString& table) {
    QStringList parts{QStringLiteral("count(*)")};
    QStringList money;
    for (const QString& c : dm.columns(table))
        if (TDM1::isMoneyColumn(c)) {
            parts << QStringLiteral("coalesce(sum(%1), 0)").arg(TDM1::quoteId(c));
            money << c;
        }
    const Row r =
        dm.ADOall.first(QStringLiteral("SELECT %1 FROM %2").arg(parts.join(u','), TDM1::quoteId(table)));
    QString line = QStringLiteral("%1：%2行").arg(table).arg(r.record().value(0).toLongLong());
    for (int i = 0; i < money.size(); ++i)
        line += QStringLiteral("，%1合计%2")
                    .arg(money[i], Money::fromVariant(r.record().value(i + 1)).toString());
    return line;
}

bool isNew(TDM1& dm) {
    for (const char* t : Schema::kTableNames) {
        const QString table = QString::fromUtf8(t);
        const qlonglong n =
            dm.ADOall.first(QStringLiteral("SELECT count(*) AS n FROM %1").arg(TDM1::quoteId(table)))
                .integer(QStringLiteral("n"));
        const qlonglong seeded = table == QStringLiteral("操作员")     ? 1
                                 : table == QStringLiteral("维修项目") ? 6
                                                                       : 0;
        if (n > seeded)
            return false;
    }
    return true;
}
} // namespace

namespace Transfer {
QStringList copy(const QString& from, const QString& to) {
    if (!to.startsWith(kServer, Qt::CaseInsensitive) && QFileInfo::exists(to))
        TDM1::fail(QStringLiteral("目标文件“%1”已存在").arg(to));
    if (!from.startsWith(kServer, Qt::CaseInsensitive) && !QFileInfo(from).isFile())
        TDM1::fail(QStringLiteral("文件“%1”不存在！").arg(from));
    TDM1 source;
    openPlace(source, from);
    TDM1 target;
    openPlace(target, to);
    if (!isNew(target))
        TDM1::fail(QStringLiteral("目标数据库不是空的"));
    target.transaction([&] {
        for (const char* t : Schema::kTableNames)
            target.ADOall.exec(QStringLiteral("DELETE FROM %1").arg(TDM1::quoteId(QString::fromUtf8(t))));
        for (const char* t : Schema::kTableNames) {
            const QString table = QString::fromUtf8(t);
            const bool hasId = source.columns(table).contains(QStringLiteral("id"));
            QSqlQuery read(source.db());
            read.setForwardOnly(true);
            if (!read.exec(QStringLiteral("SELECT %1 FROM %2")
                               .arg(hasId ? QStringLiteral("*") : source.withKey(), TDM1::quoteId(table))))
                TDM1::fail(read.lastError().databaseText());
            const QSqlRecord rec = read.record();
            QStringList names;
            QStringList marks;
            for (int i = 0; i < rec.count(); ++i) {
                names << TDM1::quoteId(rec.fieldName(i));
                marks << QStringLiteral("?");
            }
            QSqlQuery write(target.db());
            if (!write.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(TDM1::quoteId(table), names.join(u','), marks.join(u','))))
                TDM1::fail(write.lastError().databaseText());
            while (read.next()) {
                for (int i = 0; i < rec.count(); ++i)
                    write.bindValue(i, read.value(i));
                if (!write.exec())
                    TDM1::fail(write.lastError().databaseText());
            }
        }
        target.engine().resetKeys();
    });
    QStringList out;
    for (const char* t : Schema::kTableNames) {
        const QString table = QString::fromUtf8(t);
        const QString theirs = figures(source, table);
        const QString ours = figures(target, table);
        if (theirs != ours)
            TDM1::fail(QStringLiteral("复制后数据不一致：%1；%2").arg(theirs, ours));
        out << ours;
    }
    return out;
}
} // namespace Transfer
