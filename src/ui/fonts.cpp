#include "ui/fonts.h"
#include <QFont>
#include <QStringList>

namespace Fonts {
void install() {
    const QStringList song{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW"),
                           QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList brush{QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UKai TW"),
                            QStringLiteral("WenQuanYi Zen Hei")};
    const QStringList sans{QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), song);
    QFont::insertSubstitutions(QStringLiteral("华文行楷"), brush);
    QFont::insertSubstitutions(QStringLiteral("华文新魏"), brush);
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
}

QFont song(int pixels) {
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(pixels);
    return f;
}
} // namespace Fonts
