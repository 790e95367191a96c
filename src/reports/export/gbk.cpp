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
    QStringEncoder& wide = gb18030();
    const QByteArray out = wide.encode(text);
    if (!wide.hasError())
        return out;
    // GB18030 holds every code point; only half a surrogate pair has no form: it is written "?".
    QString whole = text.toString();
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (whole[i].isHighSurrogate() && i + 1 < whole.size() && whole[i + 1].isLowSurrogate())
            ++i;
        else if (whole[i].isSurrogate())
            whole[i] = u'?';
    }
    return gb18030().encode(whole);
}

bool fitsGbk(QStringView character) {
    QStringEncoder& gbk = cp936();
    const QByteArray bytes = gbk.encode(character); // the encoding runs only when converted
    return !bytes.isEmpty() && !gbk.hasError();
}

QByteArray encodeCp936(QStringView text) {
    return cp936().encode(text);
}

} // namespace Gbk
