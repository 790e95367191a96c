#include "trade/entryform.h"
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace EntryForm {
QLineEdit* addEdit(QGridLayout* grid, int row, const QString& label, const QString& name, const QString& hint) {
    auto* parent = grid->parentWidget();
    auto* l = new QLabel(label, parent);
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    if (!hint.isEmpty())
        e->setToolTip(hint);
    l->setBuddy(e);
    grid->addWidget(l, row, 0, Qt::AlignRight);
    grid->addWidget(e, row, 1);
    return e;
}

QPushButton* button(QWidget* parent, const QString& text, const QString& name) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QPushButton* magnifier(QWidget* parent, const QString& name) {
    // A magnifying glass: a ring with a handle.
    QPixmap glass(16, 16);
    glass.fill(Qt::transparent);
    {
        QPainter p(&glass);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(30, 60, 120), 2));
        p.drawEllipse(QRectF(2, 2, 8, 8));
        p.setPen(QPen(QColor(30, 60, 120), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(14, 14));
    }
    auto* b = new QPushButton(QIcon(glass), QString(), parent);
    b->setObjectName(name);
    b->setToolTip(QStringLiteral("模糊查找"));
    b->setFixedWidth(28);
    return b;
}
void tabOrder(const QList<QWidget*>& widgets) {
    for (int i = 0; i + 1 < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i], widgets[i + 1]);
}
} // namespace EntryForm
