#include "data/collation.h"
#include "data/dberror.h"
#include <QCollator>
#include <QString>
#include <cstring>
#include <sqlite3.h>

namespace Collation {
namespace {
QCollator& collator() {
    static QCollator c = [] {
        QCollator k(QLocale(QLocale::Chinese, QLocale::China));
        k.setCaseSensitivity(Qt::CaseInsensitive);
        return k;
    }();
    return c;
}

int pinyin(void*, int na, const void* a, int nb, const void* b) {
    return compare(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}
} // namespace

int compare(const char* a, int na, const char* b, int nb) {
    if (na == nb && std::memcmp(a, b, size_t(na)) == 0)
        return 0;
    const QString sa = QString::fromUtf8(a, na);
    const QString sb = QString::fromUtf8(b, nb);
    const int c = collator().compare(sa, sb);
    if (c != 0)
        return c < 0 ? -1 : 1;
    // The collator treats some different texts as equal (control characters, widths); only
    // letter case may make two texts equal, so that lookups find exactly what was typed.
    const int f = sa.toCaseFolded().compare(sb.toCaseFolded());
    return f < 0 ? -1 : (f > 0 ? 1 : 0);
}

void registerPinyin(sqlite3* db) {
    if (sqlite3_create_collation_v2(db, "PINYIN", SQLITE_UTF8, nullptr, &pinyin, nullptr) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
}
} // namespace Collation
