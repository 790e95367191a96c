#include "support/mainwindowtest.h"
#include "frame/tloginform.h"
#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

MainWindowTest::MainWindowTest() {
    session().operatorNumber.clear();
    session().flags.fill(false);
    main_ = std::make_unique<TMAIN>(session());
    main_->resize(1024, 768);
    Tloginform login(session(), main_.get());
    login.show();
    if (!QTest::qWaitForWindowExposed(&login))
        qFatal("the login window did not show");
    if (auto* box = login.findChild<QComboBox*>(QStringLiteral("cbusername")))
        box->setCurrentIndex(box->findText(QStringLiteral("0001")));
    TestInput::click(login.findChild<QPushButton*>(QStringLiteral("button1")));
    if (login.result() != QDialog::Accepted || session().operatorNumber != QStringLiteral("0001"))
        qFatal("0001 could not log in");
    main_->show();
    main_->activateWindow();
    if (!QTest::qWaitForWindowExposed(main_.get()) || !QTest::qWaitForWindowActive(main_.get()))
        qFatal("the main window did not show");
}

MainWindowTest::~MainWindowTest() {
    closeAll();
    main_.reset();
}

QWidget* MainWindowTest::open(const QString& command) {
    // Screens have buttons and actions of the same names (the archive's ToolButton1, the daily
    // overview's N2): only the main window's own toolbar and menu are searched.
    auto* toolbar = main_->findChild<QToolBar*>(QStringLiteral("Toolbar1"), Qt::FindDirectChildrenOnly);
    if (auto* button = toolbar->findChild<QToolButton*>(command)) {
        if (!button->isEnabled())
            return nullptr;
        QTest::mouseClick(button, Qt::LeftButton);
    } else if (auto* action = main_->menuBar()->findChild<QAction*>(command)) {
        if (!action->isEnabled())
            return nullptr;
        action->trigger();
    } else {
        return nullptr;
    }
    QMdiSubWindow* active = main_->mdiArea()->activeSubWindow();
    return active ? active->widget() : nullptr;
}

QStringList MainWindowTest::captions() const {
    QStringList out;
    for (QMdiSubWindow* w : main_->mdiArea()->subWindowList(QMdiArea::CreationOrder))
        out << w->windowTitle();
    return out;
}

void MainWindowTest::closeAll() {
    if (!main_)
        return;
    main_->mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}
