#include "frame/pictures.h"
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Pictures {
namespace {
struct Glyph {
    QColor colour;
    QString sign;
};

// A coloured tile with a sign on it for each picture of the list.
const Glyph kGlyphs[12] = {
    {QColor(200, 40, 40), QStringLiteral("退")},  {QColor(60, 120, 200), QStringLiteral("设")},
    {QColor(40, 150, 90), QStringLiteral("修")},  {QColor(210, 120, 30), QStringLiteral("返")},
    {QColor(30, 140, 160), QStringLiteral("售")}, {QColor(120, 90, 170), QStringLiteral("表")},
    {QColor(90, 90, 100), QStringLiteral("离")},  {QColor(150, 150, 40), QStringLiteral("印")},
    {QColor(200, 160, 0), QStringLiteral("¥")},   {QColor(50, 100, 220), QStringLiteral("?")},
    {QColor(30, 110, 180), QStringLiteral("客")}, {QColor(170, 60, 130), QStringLiteral("查")},
};
} // namespace

QPixmap toolbar(int index) {
    const Glyph& g = kGlyphs[qBound(0, index, 11)];
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient grad(0, 0, 0, 32);
    grad.setColorAt(0, g.colour.lighter(150));
    grad.setColorAt(1, g.colour.darker(120));
    p.setBrush(grad);
    p.setPen(QPen(g.colour.darker(160), 1));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 7, 7);
    QFont f(QStringLiteral("宋体"));
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, g.sign);
    return pm;
}

QPixmap background() {
    // Fine diagonal lines on a pale blue; the tile repeats without seams.
    QPixmap pm(96, 96);
    pm.fill(QColor(232, 241, 248));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(212, 227, 240), 1));
    for (int i = -96; i <= 96; i += 12)
        p.drawLine(i, 96, i + 96, 0);
    return pm;
}
} // namespace Pictures
