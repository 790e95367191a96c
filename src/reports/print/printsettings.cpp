#include "reports/print/printsettings.h"
#include "data/dates.h"
#include <QRegularExpression>
#include <cmath>

void PrintSettings::setUnits(MarginUnits u) {
    if (u == units)
        return;
    const double factor = u == MarginUnits::Inches ? 0.3937 : 2.54;
    for (double* m : {&margins.top, &margins.bottom, &margins.left, &margins.right})
        *m = std::round(*m * factor * 10000.0) / 10000.0;
    units = u;
}

double PrintSettings::marginPixels(double value) const {
    return units == MarginUnits::Inches ? value * 96.0 : value / 2.54 * 96.0;
}

PrintSettings PrintSettings::reportDefaults(const QString& title) {
    PrintSettings s;
    QFont titleFont(QStringLiteral("华文新魏"));
    titleFont.setPointSize(14);
    s.textBefore = {title, titleFont, Qt::AlignHCenter};
    QFont headerFont(QStringLiteral("宋体"));
    headerFont.setPixelSize(13);
    s.pageHeader.left = QStringLiteral("打印日期时间:&[date] &[time]");
    s.pageHeader.right = QStringLiteral("第&[page]页 共&[pages]页");
    s.pageHeader.font = headerFont;
    s.pageFooter.font = headerFont;
    s.margins = {2, 2, 2, 2};
    s.units = MarginUnits::Centimetres;
    s.fitToPageWidth = true;
    s.fitByColumnWidths = false;
    s.optimalColumnWidths = true;
    return s;
}

namespace {
const QRegularExpression& macroPattern() {
    static const QRegularExpression re(QStringLiteral("&\\[(pages|page|shortdate|longdate|date|time)\\]"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}
} // namespace

QString expandPageMacros(const QString& text, int page, int pages, const QDateTime& printedAt) {
    QString out;
    qsizetype from = 0;
    auto it = macroPattern().globalMatch(text);
    while (it.hasNext()) {
        const auto m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        const QString name = m.captured(1).toLower();
        if (name == u"page")
            out += QString::number(page);
        else if (name == u"pages")
            out += QString::number(pages);
        else if (name == u"date" || name == u"shortdate")
            out += Dates::shortDate(printedAt.date());
        else if (name == u"longdate")
            out += Dates::longDate(printedAt.date());
        else
            out += Dates::longTime(printedAt.time());
        from = m.capturedEnd();
    }
    out += text.mid(from);
    return out;
}

bool hasPageCountMacro(const QString& text) {
    return text.contains(QStringLiteral("&[pages]"), Qt::CaseInsensitive);
}

QFont pixelFont(const QFont& f) {
    QFont out(f);
    if (f.pixelSize() <= 0) {
        const double pt = f.pointSizeF() > 0 ? f.pointSizeF() : 9.0;
        out.setPixelSize(qMax(1, qRound(pt * 96.0 / 72.0)));
    }
    return out;
}
