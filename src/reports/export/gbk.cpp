#include "reports/export/gbk.h"
#include <QList>
#include <QStringEncoder>
#include <optional>

namespace Gbk {

namespace {
// Opening a converter is far dearer than converting a short text: one per thread and encoding,
// kept while it converts without error (an error stays recorded in it, so a new one replaces it).
QStringEncoder& encoder(std::optional<QStringEncoder>& slot, const char* name) {
    if (!slot || slot->hasError())
        slot.emplace(name, QStringConverter::Flag::Stateless);
    return *slot;
}
QStringEncoder& gb18030() {
    static thread_local std::optional<QStringEncoder> e;
    return encoder(e, "GB18030");
}
QStringEncoder& cp936() {
    static thread_local std::optional<QStringEncoder> e;
    return encoder(e, "GBK");
}
} // namespace

QByteArray encode(QStringView text) {
    // ASCII stays as it is: numbers, dates and Latin text need no converter.
    bool ascii = true;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return text.toLatin1();
    // GB18030 holds every code point; only a lone surrogate has no form, and becomes "?".
    return gb18030().encode(text);
}

bool fitsGbk(QStringView character) {
    QStringEncoder& gbk = cp936();
    const QByteArray bytes = gbk.encode(character); // the encoding runs only when converted
    return !bytes.isEmpty() && !gbk.hasError();
}

QByteArray encodeWithReferences(QStringView text) {
    QByteArray bytes = encode(text);
    // A four-byte sequence has a digit (0x30-0x39) as its second byte, a two-byte one never.
    bool four = false;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (uchar(bytes[i]) >= 0x80) {
            if (i + 1 < bytes.size() && uchar(bytes[i + 1]) >= 0x30 && uchar(bytes[i + 1]) <= 0x39) {
                four = true;
                break;
            }
            ++i;
        }
    if (!four)
        return bytes;
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView ch = text.mid(i, len);
        const QByteArray b = encode(ch);
        if (b.size() == 4)
            out += "&#" + QByteArray::number(ch.toUcs4().value(0)) + ';';
        else
            out += b;
        i += len;
    }
    return out;
}

} // namespace Gbk
