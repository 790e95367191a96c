#include "ui/screen.h"
#include "ui/accessibility.h"
#include <QMdiSubWindow>
#include <QShowEvent>

void Screen::closeWindowOf(QWidget* w) {
    // window() of a screen inside the work area is the main window: look for the child window.
    for (QWidget* p = w; p; p = p->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(p)) {
            sub->close();
            return;
        }
        if (p->isWindow())
            break;
    }
    w->close();
}

void Screen::closeWindow() {
    closeWindowOf(this);
}

void Screen::takeFocus() {
    QWidget* chosen = focusWidget();
    if (!chosen || chosen == this || !isAncestorOf(chosen) || !chosen->isEnabled() ||
        !chosen->isVisibleTo(this)) {
        chosen = nullptr;
        for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
            if (isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(this) &&
                (w->focusPolicy() & Qt::TabFocus)) {
                chosen = w;
                break;
            }
    }
    if (chosen)
        chosen->setFocus(Qt::OtherFocusReason);
    else
        setFocus(Qt::OtherFocusReason);
}

void Screen::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    // Boxes built after the constructor (or shown later) are named at each showing.
    Accessibility::nameControls(this);
}
