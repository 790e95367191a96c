// The page macros of print headers: any text expands without a crash; a text without "&[" comes
// out as it went in, and every macro is replaced.
#include "reports/print/printsettings.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const int page = data[0] + 1;
    const int pages = page + data[1];
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const QDateTime at(QDate(2008, 3, 5), QTime(9, 5, 7));
    const QString out = expandPageMacros(text, page, pages, at);
    if (!text.contains(QStringLiteral("&[")) && out != text)
        std::abort();
    for (const char* m : {"&[page]", "&[pages]", "&[date]", "&[shortdate]", "&[longdate]", "&[time]"})
        if (out.contains(QLatin1String(m), Qt::CaseInsensitive) &&
            !text.contains(QLatin1String(m), Qt::CaseInsensitive))
            std::abort();
    if (text.compare(QStringLiteral("&[Page]"), Qt::CaseInsensitive) == 0 && out != QString::number(page))
        std::abort();
    (void)hasPageCountMacro(text);
    return 0;
}
