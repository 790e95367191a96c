#include "data/money.h"
#include "data/dberror.h"
#include <limits>

std::optional<Money> Money::tryParse(const QString& text) {
    int i = 0;
    const int n = text.size();
    bool negative = false;
    if (i < n && text[i] == u'-') {
        negative = true;
        ++i;
    }
    const int wholeStart = i;
    while (i < n && text[i] >= u'0' && text[i] <= u'9')
        ++i;
    QStringView digits = QStringView(text).mid(wholeStart, i - wholeStart);
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    // 14 digits keep the value inside 64 bits once scaled (10^14 * 10^4 < 2^63; 15 would not).
    if (digits.size() > 14)
        return std::nullopt;
    const std::int64_t whole = digits.isEmpty() ? 0 : digits.toLongLong();
    const bool hadWhole = i > (negative ? 1 : 0);
    std::int64_t frac = 0;
    int fracDigits = 0;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            if (fracDigits >= 4)
                return std::nullopt;
            frac = frac * 10 + (text[i].unicode() - u'0');
            ++fracDigits;
            ++i;
        }
        if (!hadWhole && fracDigits == 0)
            return std::nullopt;
    } else if (!hadWhole) {
        return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    for (int k = fracDigits; k < 4; ++k)
        frac *= 10;
    std::int64_t units = whole * Scale + frac;
    return Money(negative ? -units : units);
}

Money Money::parse(const QString& text) {
    if (auto m = tryParse(text))
        return *m;
    throw DbError(QStringLiteral("“%1”不是有效的金额！").arg(text));
}

Money Money::fromVariant(const QVariant& v) {
    if (v.isNull())
        return Money();
    bool ok = false;
    const qlonglong u = v.toLongLong(&ok);
    if (ok && v.typeId() != QMetaType::QString)
        return Money(u);
    const QString s = v.toString();
    if (s.isEmpty())
        return Money();
    if (auto m = tryParse(s))
        return *m;
    return Money(u);
}

QString Money::toString() const {
    const bool negative = units_ < 0;
    // Work on the magnitude as unsigned so that the smallest value cannot overflow.
    const std::uint64_t mag = negative ? std::uint64_t(0) - std::uint64_t(units_) : std::uint64_t(units_);
    QString s = QString::number(mag / Scale);
    std::uint64_t frac = mag % Scale;
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(4, u'0');
        while (f.endsWith(u'0'))
            f.chop(1);
        s += u'.' + f;
    }
    return negative ? u'-' + s : s;
}
