#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

// The program's date and time forms, independent of the machine's locale.
namespace Dates {
QString toSql(const QDate& d);        // 2008-03-05, as stored
QDate fromSql(const QString& s);      // invalid when s is not yyyy-MM-dd
QString shortDate(const QDate& d);    // 2008-3-5
QDate fromShortDate(const QString& s); // accepts 2008-3-5 and 2008-03-05; invalid otherwise
QString longDate(const QDate& d);     // 2008年3月5日
QString longTime(const QTime& t);     // 9:05:07
QString clock(const QDateTime& dt);   // long date, a blank, long time
} // namespace Dates
