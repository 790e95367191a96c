#pragma once
#include "frame/tmain.h"
#include "support/testsession.h"
#include <QMdiSubWindow>
#include <memory>

// The real main window on a fresh program folder, logged in through its own login window as
// 0001, at 1024x768. Screens are opened through the main window's menu items and toolbar
// buttons, so they live in its work area, several at once, exactly as the staff use them.
class MainWindowTest {
public:
    MainWindowTest();
    ~MainWindowTest();
    MainWindowTest(const MainWindowTest&) = delete;
    MainWindowTest& operator=(const MainWindowTest&) = delete;

    TestSession& ts() { return ts_; }
    Session& session() { return ts_.session(); }
    TDM1& dm() { return ts_.dm(); }
    ScriptedMessages& messages() { return ts_.messages(); }
    ScriptedFiles& files() { return ts_.files(); }
    TMAIN& main() { return *main_; }

    // Triggers the menu item ("N10") or clicks the toolbar button ("ToolButton3") with this
    // object name and returns the screen of the child window that is active afterwards.
    QWidget* open(const QString& command);
    template <class T> T* open(const char* command) {
        return qobject_cast<T*>(open(QString::fromLatin1(command)));
    }
    // The child window with this caption, or null.
    QMdiSubWindow* window(const QString& caption) const { return main_->findWindow(caption); }
    // The captions of the open child windows, in creation order.
    QStringList captions() const;
    // Closes every child window (their own close handling runs) and processes the deletions.
    void closeAll();

private:
    TestSession ts_;
    std::unique_ptr<TMAIN> main_;
};
