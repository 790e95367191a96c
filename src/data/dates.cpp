#include "data/dates.h"
#include <QRegularExpression>

namespace Dates {
QString toSql(const QDate& d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

QDate fromSql(const QString& s) { return QDate::fromString(s, QStringLiteral("yyyy-MM-dd")); }

QString shortDate(const QDate& d) { return d.isValid() ? d.toString(QStringLiteral("yyyy-M-d")) : QString(); }

QDate fromShortDate(const QString& s) {
    static const QRegularExpression re(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})$"));
    const auto m = re.match(s.trimmed());
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

QString longDate(const QDate& d) { return d.toString(QStringLiteral("yyyy年M月d日")); }

QString longTime(const QTime& t) { return t.toString(QStringLiteral("H:mm:ss")); }

QString clock(const QDateTime& dt) { return longDate(dt.date()) + u' ' + longTime(dt.time()); }
} // namespace Dates
