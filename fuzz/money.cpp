// Money parsing: any text is either refused with a message naming it, or read exactly; an amount
// read prints in a form that reads back as the same amount.
#include "data/money.h"
#include "data/dberror.h"
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto m = Money::tryParse(text);
    try {
        const Money p = Money::parse(text);
        if (!m || *m != p)
            std::abort();
        const auto again = Money::tryParse(p.toString());
        if (!again || *again != p)
            std::abort();
        if (Money::fromVariant(p.toVariant()) != p)
            std::abort();
    } catch (const DbError& e) {
        if (m || !e.text().contains(text))
            std::abort();
    }
    return 0;
}
