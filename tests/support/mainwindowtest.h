#pragma once
#include "frame/tmain.h"
#include "support/testsession.h"
#include <QMdiSubWindow>
#include <memory>

// The real main window on a fresh program folder, logged in through its own login window as
// 0001, at 1024x768. Screens are opened through the main window's menu items and toolbar
// buttons, so they live in its work area, several at once, exactly as the staff use them.
// It is a TestSession too, so the helpers that fill the database take it as they are.
class MainWindowTest : public TestSession {
  public:
    MainWindowTest();
    ~MainWindowTest();
    MainWindowTest(const MainWindowTest&) = delete;
    MainWindowTest& operator=(const MainWindowTest&) = delete;

    TestSession& ts() { return *this; }
    TMAIN& main() { return *main_; }

    // Triggers the menu item ("N10") or clicks the toolbar button ("ToolButton3") with this
    // object name and returns the screen of the child window that is active afterwards.
    QWidget* open(const QString& command);
    template <class T> T* open(const char* command) {
        return qobject_cast<T*>(open(QString::fromLatin1(command)));
    }
    // The same for a screen the test cannot do without: a command that opens no T ends the test run.
    template <class T> T& screen(const char* command) {
        T* s = open<T>(command);
        if (!s)
            qFatal("%s opened no %s", command, T::staticMetaObject.className());
        return *s;
    }
    // Whether the main window is still there: shown, not closed, not hidden behind a question.
    bool mainWindowStands() const { return main_ && main_->isVisible(); }
    // The child window with this caption, or null.
    QMdiSubWindow* window(const QString& caption) const { return main_->findWindow(caption); }
    // The captions of the open child windows, in creation order.
    QStringList captions() const;
    // Closes every child window (their own close handling runs) and processes the deletions.
    void closeAll();

  private:
    std::unique_ptr<TMAIN> main_;
};
