#include "menuwalk.h"
#include "frame/tmain.h"
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {
// Catches what a command asks the desktop to open.
class UrlCatcher : public QObject {
    Q_OBJECT
  public:
    QUrl last;
  public slots:
    void open(const QUrl& url) { last = url; }
};

// Push buttons and tool buttons with a caption; tick boxes and option buttons are not commands.
QStringList buttonsOf(QWidget* w) {
    QStringList out;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
        if ((qobject_cast<QPushButton*>(b) || qobject_cast<QToolButton*>(b)) && !b->text().isEmpty() &&
            !out.contains(b->text()))
            out << b->text();
    return out;
}

void choose(TMAIN& main, MenuCommand& c, QObject* sender,
            const std::function<void(const MenuCommand&, QWidget*)>& shown) {
    QMdiArea* mdi = main.mdiArea();
    const qsizetype before = mdi->subWindowList().size();
    // A dialog the command shows modally is closed from inside its own event loop.
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!modal)
            return;
        c.window = modal->windowTitle();
        c.buttons = buttonsOf(modal);
        if (shown)
            shown(c, modal);
        modal->reject();
    });
    closer.start();
    if (auto* a = qobject_cast<QAction*>(sender))
        a->trigger();
    else if (auto* b = qobject_cast<QToolButton*>(sender))
        b->click();
    closer.stop();
    QApplication::processEvents();
    const QList<QMdiSubWindow*> windows = mdi->subWindowList();
    if (windows.size() > before && mdi->activeSubWindow()) {
        QMdiSubWindow* sub = mdi->activeSubWindow();
        c.window = sub->windowTitle();
        c.buttons = buttonsOf(sub->widget());
        if (shown)
            shown(c, sub->widget());
        mdi->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }
}
} // namespace

QList<MenuCommand> walkCommands(TMAIN& main, const std::function<void(const MenuCommand&, QWidget*)>& shown) {
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QList<MenuCommand> out;
    QStringList menuItems;
    for (QAction* top : main.menuBar()->actions()) {
        if (!top->menu())
            continue;
        for (QAction* a : top->menu()->actions()) {
            if (a->isSeparator() || !a->isEnabled())
                continue;
            MenuCommand c{top->text(), a->objectName(), a->text(), {}, {}, {}};
            catcher.last.clear();
            choose(main, c, a, shown);
            c.url = catcher.last;
            menuItems << c.name;
            out << c;
        }
    }
    // Toolbar buttons whose command has no menu item (a twin performs its menu item's command).
    for (QToolButton* b : main.findChildren<QToolButton*>()) {
        if (b->objectName().isEmpty() || !b->isEnabled() ||
            b->parentWidget()->objectName() != QStringLiteral("Toolbar1"))
            continue;
        MenuCommand c{QString(), b->objectName(), b->text(), {}, {}, {}};
        catcher.last.clear();
        choose(main, c, b, shown);
        c.url = catcher.last;
        out << c;
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    return out;
}

#include "menuwalk.moc"
