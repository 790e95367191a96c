#include "frame/marquee.h"
#include <QPainter>

MarqueeLabel::MarqueeLabel(QWidget* parent) : QWidget(parent) {
    connect(&timer_, &QTimer::timeout, this, &MarqueeLabel::step);
    timer_.start(20);
}

void MarqueeLabel::setText(const QString& text) {
    text_ = text;
    offset_ = 0;
    update();
}

void MarqueeLabel::step() {
    const int textWidth = fontMetrics().horizontalAdvance(text_);
    // The text enters at the right edge and leaves at the left, then starts again.
    if (++offset_ > width() + textWidth)
        offset_ = 0;
    update();
}

void MarqueeLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(Qt::red);
    p.setFont(font());
    const QRect r = rect();
    p.drawText(QRect(r.width() - offset_, 0, fontMetrics().horizontalAdvance(text_) + 2, r.height()),
               Qt::AlignVCenter | Qt::AlignLeft, text_);
}
