#include "trade/entryform.h"
#include <QDateEdit>
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
CustomerRows addCustomerRows(QGridLayout* g, const QString& numberName, const QString& mobileName,
                             const QString& telephoneHint) {
    QWidget* parent = g->parentWidget();
    CustomerRows r;
    r.number = addEdit(g, 0, QStringLiteral("客户编号"), numberName, QStringLiteral("输入客户编号后请回车"));
    r.newCustomer = button(parent, QStringLiteral("新增客户"), QStringLiteral("BitBtn6"));
    g->addWidget(r.newCustomer, 0, 2);
    r.name = addEdit(g, 1, QStringLiteral("客户名称"), QStringLiteral("Edit1"), QStringLiteral("输入客户名称后请回车"));
    r.nameGlass = magnifier(parent, QStringLiteral("BitBtn1"));
    g->addWidget(r.nameGlass, 1, 2, Qt::AlignLeft);
    r.telephone = addEdit(g, 2, QStringLiteral("电话"), QStringLiteral("Edit3"), telephoneHint);
    r.telephoneGlass = magnifier(parent, QStringLiteral("BitBtn7"));
    g->addWidget(r.telephoneGlass, 2, 2, Qt::AlignLeft);
    r.mobile = addEdit(g, 3, QStringLiteral("手机"), mobileName, QStringLiteral("输入手机号后请回车"));
    r.mobileGlass = magnifier(parent, QStringLiteral("BitBtn8"));
    g->addWidget(r.mobileGlass, 3, 2, Qt::AlignLeft);
    return r;
}

QDateEdit* datePicker(QWidget* parent) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(QStringLiteral("DateTimePicker1"));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    return d;
}

void tabOrder(const QList<QWidget*>& widgets) {
    for (int i = 0; i + 1 < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i], widgets[i + 1]);
}
} // namespace EntryForm
