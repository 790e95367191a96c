#include "ui/accessibility.h"
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QBoxLayout>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace Accessibility {
namespace {
QString caption(const QString& text) {
    QString out = text;
    out.remove(u'&');
    return out.simplified();
}

// The layout that holds w directly, searched from the layout of its parent down.
QLayout* holder(QLayout* in, const QWidget* w, int* at) {
    if (!in)
        return nullptr;
    for (int i = 0; i < in->count(); ++i) {
        QLayoutItem* item = in->itemAt(i);
        if (item->widget() == w) {
            *at = i;
            return in;
        }
        if (QLayout* found = holder(item->layout(), w, at))
            return found;
    }
    return nullptr;
}

QLabel* labelBefore(const QWidget* w) {
    QWidget* parent = w->parentWidget();
    if (!parent)
        return nullptr;
    int at = -1;
    QLayout* lay = holder(parent->layout(), w, &at);
    if (!lay)
        return nullptr;
    if (auto* form = qobject_cast<QFormLayout*>(lay))
        return qobject_cast<QLabel*>(form->labelForField(const_cast<QWidget*>(w)));
    if (auto* grid = qobject_cast<QGridLayout*>(lay)) {
        int row, column, rows, columns;
        grid->getItemPosition(at, &row, &column, &rows, &columns);
        for (int c = column - 1; c >= 0; --c) {
            QLayoutItem* item = grid->itemAtPosition(row, c);
            if (!item || !item->widget())
                continue;
            if (auto* l = qobject_cast<QLabel*>(item->widget()))
                return l;
            break;
        }
        return nullptr;
    }
    if (auto* box = qobject_cast<QBoxLayout*>(lay)) {
        for (int i = at - 1; i >= 0; --i) {
            QWidget* before = box->itemAt(i)->widget();
            if (!before)
                continue;
            if (auto* l = qobject_cast<QLabel*>(before))
                return l;
            break;
        }
    }
    return nullptr;
}

QLabel* buddyOf(const QWidget* w) {
    if (QWidget* parent = w->parentWidget())
        for (QLabel* l : parent->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (l->buddy() == w)
                return l;
    return nullptr;
}
} // namespace

bool isBox(const QWidget* w) {
    const bool box = qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
                     qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
                     qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
    if (!box)
        return false;
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (qobject_cast<QComboBox*>(p) || qobject_cast<QAbstractSpinBox*>(p) ||
            qobject_cast<QAbstractItemView*>(p))
            return false;
        if (p->isWindow())
            break;
    }
    // A combo box's drop-down list lives in a window of its own.
    return !(w->isWindow() || (w->window() && w->window()->inherits("QComboBoxPrivateContainer")));
}

QString labelFor(const QWidget* box) {
    if (!box->accessibleName().isEmpty())
        return box->accessibleName();
    if (QLabel* l = buddyOf(box); l && !caption(l->text()).isEmpty())
        return caption(l->text());
    if (QLabel* l = labelBefore(box); l && !caption(l->text()).isEmpty())
        return caption(l->text());
    for (QWidget* p = box->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (auto* group = qobject_cast<QGroupBox*>(p); group && !caption(group->title()).isEmpty())
            return caption(group->title());
    return caption(box->toolTip());
}

void nameControls(QWidget* root) {
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!isBox(w) || !w->accessibleName().isEmpty())
            continue;
        if (QLabel* l = labelBefore(w); l && !l->buddy())
            l->setBuddy(w);
        const QString name = labelFor(w);
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
}
} // namespace Accessibility
