#include "reports/export/gbk.h"
#include <QStringEncoder>
#include <optional>

namespace Gbk {

namespace {
// Opening a converter is far dearer than converting a short text: one per thread, kept while it
// converts without error (an error stays recorded in it, so a new one replaces it).
QStringEncoder& encoder() {
    static thread_local std::optional<QStringEncoder> gbk;
    if (!gbk || gbk->hasError())
        gbk.emplace("GBK", QStringConverter::Flag::Stateless);
    return *gbk;
}
} // namespace

QByteArray encode(QStringView text) {
    // GBK keeps ASCII as it is: numbers, dates and Latin text need no converter.
    bool ascii = true;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return text.toLatin1();
    QStringEncoder& gbk = encoder();
    QByteArray out = gbk.encode(text);
    if (!gbk.hasError())
        return out;
    // Slow path only for the rare text with characters outside GBK: one character at a time.
    out.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView ch = text.mid(i, len);
        QStringEncoder one("GBK");
        const QByteArray b = one.encode(ch);
        if (one.hasError()) {
            QStringEncoder wide("GB18030");
            out += wide.encode(ch);
        } else {
            out += b;
        }
        i += len;
    }
    return out;
}

bool fitsGbk(QStringView character) {
    QStringEncoder& gbk = encoder();
    const QByteArray bytes = gbk.encode(character); // the encoding runs only when converted
    return !bytes.isEmpty() && !gbk.hasError();
}

} // namespace Gbk
