#include "admin/childwindow.h"
#include "ui/screen.h"
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace {
QMdiArea* workArea(QWidget* from) {
    for (QWidget* w = from; w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub->mdiArea();
    return nullptr;
}

void bringBack(QWidget* window) {
    window->showNormal();
    window->setEnabled(true);
    window->show();
    window->activateWindow();
    window->setFocus();
}
} // namespace

namespace ChildWindow {

QWidget* findOrOpen(QWidget* from, const QString& caption, const std::function<Screen*()>& make) {
    QMdiArea* area = workArea(from);
    if (!area) {
        // A screen standing alone opens its windows as top-level windows.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<Screen*>(w) && w->isVisible() && w->windowTitle() == caption) {
                bringBack(w);
                return w;
            }
        Screen* s = make();
        s->setAttribute(Qt::WA_DeleteOnClose);
        s->setWindowTitle(caption);
        s->move(s->placement().topLeft());
        s->show();
        return s;
    }
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder))
        if (sub->windowTitle() == caption) {
            bringBack(sub);
            area->setActiveSubWindow(sub);
            return sub->widget();
        }
    Screen* s = make();
    Qt::WindowFlags flags = Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint;
    if (s->maximisable())
        flags |= Qt::WindowMaximizeButtonHint;
    QMdiSubWindow* sub = area->addSubWindow(s, flags);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(caption);
    s->setWindowTitle(caption);
    sub->adjustSize();
    sub->move(s->placement().topLeft());
    sub->show();
    s->takeFocus();
    return s;
}

void close(QWidget* screen) {
    Screen::closeWindowOf(screen);
}
} // namespace ChildWindow
