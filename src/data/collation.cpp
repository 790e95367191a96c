#include "data/collation.h"
#include "data/dberror.h"
#include <QByteArray>
#include <QCollator>
#include <QCryptographicHash>
#include <QtEndian>
#include <QHash>
#include <QString>
#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace Collation {
namespace {
QCollator makeCollator() {
    QCollator k(QLocale(QLocale::Chinese, QLocale::China));
    k.setCaseSensitivity(Qt::CaseInsensitive);
    return k;
}

// Sorting and index building compare the same few texts (names, townships, villages) over and
// over; comparing their sort keys is several times cheaper than a full collation each time.
// The keys are the collator's own, so the order is the same. The cache is per thread and bounded.
class KeyCache {
public:
    const QCollatorSortKey& key(const char* text, int n) {
        const QByteArray probe = QByteArray::fromRawData(text, n);
        auto it = keys_.constFind(probe);
        if (it != keys_.constEnd())
            return it.value();
        if (keys_.size() >= kLimit)
            keys_.clear();
        return keys_.insert(QByteArray(text, n), collator_.sortKey(QString::fromUtf8(text, n))).value();
    }
    const QCollator& collator() const { return collator_; }

private:
    static constexpr qsizetype kLimit = 65536;
    QCollator collator_ = makeCollator();
    QHash<QByteArray, QCollatorSortKey> keys_;
};

KeyCache& cache() {
    thread_local KeyCache c;
    return c;
}

int pinyin(void*, int na, const void* a, int nb, const void* b) {
    return compare(static_cast<const char*>(a), na, static_cast<const char*>(b), nb);
}
} // namespace

int compare(const char* a, int na, const char* b, int nb) {
    if (na == nb && std::memcmp(a, b, size_t(na)) == 0)
        return 0;
    KeyCache& keys = cache();
    // Copies: a second lookup may clear the cache and drop the first key.
    const QCollatorSortKey ka = keys.key(a, na);
    const QCollatorSortKey kb = keys.key(b, nb);
    const int c = ka.compare(kb);
    if (c != 0)
        return c < 0 ? -1 : 1;
    // The collator treats some different texts as equal (control characters, widths); only
    // letter case may make two texts equal, so that lookups find exactly what was typed.
    const QString sa = QString::fromUtf8(a, na);
    const QString sb = QString::fromUtf8(b, nb);
    const int f = sa.toCaseFolded().compare(sb.toCaseFolded());
    return f < 0 ? -1 : (f > 0 ? 1 : 0);
}

// The order of the plain collator, without the key cache: the reference the cache must equal.
int compareUncached(const char* a, int na, const char* b, int nb) {
    if (na == nb && std::memcmp(a, b, size_t(na)) == 0)
        return 0;
    thread_local QCollator collator = makeCollator();
    const QString sa = QString::fromUtf8(a, na);
    const QString sb = QString::fromUtf8(b, nb);
    const int c = collator.compare(sa, sb);
    if (c != 0)
        return c < 0 ? -1 : 1;
    const int f = sa.toCaseFolded().compare(sb.toCaseFolded());
    return f < 0 ? -1 : (f > 0 ? 1 : 0);
}

int signature() {
    // Texts whose relative order depends on the collator's rules: Han by pinyin, Latin case,
    // digits, punctuation, full and half width, rare characters.
    static const char* const probe[] = {
        "阿", "爱", "安", "白", "北", "陈", "程", "东", "冯", "郭", "韩", "何", "黄", "李", "刘", "吕",
        "马", "欧阳", "钱", "沈", "孙", "王", "魏", "吴", "谢", "徐", "杨", "张", "赵", "周", "朱", "曾",
        "长", "重庆", "乡镇", "村庄", "已付款", "未付款", "a", "A", "b", "Z", "z", "ａ", "0", "9", "10",
        "-", "_", " ", "(", "·", "𠮷", "é", "e", "ß", "ss"};
    QList<QByteArray> texts;
    for (const char* t : probe)
        texts << QByteArray(t);
    std::stable_sort(texts.begin(), texts.end(), [](const QByteArray& x, const QByteArray& y) {
        return compareUncached(x.constData(), int(x.size()), y.constData(), int(y.size())) < 0;
    });
    QByteArray joined;
    for (const QByteArray& t : texts)
        joined += t + '\n';
    // A digest, not qHash: qHash is seeded anew in every process, and the signature is kept in the
    // file to be compared by the next start.
    const QByteArray digest = QCryptographicHash::hash(joined, QCryptographicHash::Sha1);
    const int h = int(qFromBigEndian<quint32>(digest.constData()) & 0x7fffffff);
    return h == 0 ? 1 : h;
}

void registerPinyin(sqlite3* db) {
    if (sqlite3_create_collation_v2(db, "PINYIN", SQLITE_UTF8, nullptr, &pinyin, nullptr) != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(db)));
}
} // namespace Collation
