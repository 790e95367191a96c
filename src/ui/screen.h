#pragma once
#include "ui/session.h"
#include <QRect>
#include <QWidget>

// A screen shown as a child window of the main window. It places itself at a fixed spot.
class Screen : public QWidget {
    Q_OBJECT
public:
    Screen(Session& session, QWidget* parent = nullptr) : QWidget(parent), session_(session) {}
    // Where the child window stands in the main window's client area, and its size (an empty size:
    // as large as its content).
    virtual QRect placement() const { return QRect(0, 0, width(), height()); }
    // Whether the child window offers a maximise box.
    virtual bool maximisable() const { return false; }
    Session& session() { return session_; }

    // Closes the child window that holds the screen (the screen itself when it stands alone),
    // never the main window around it, and without a question.
    void closeWindow();
    // Gives the keyboard to the box the screen chose for the start (its focus child), or to the
    // first control of its tab chain when it chose none; the screen itself takes no keys.
    void takeFocus();
    // Closes the child window that holds w (or w alone): for the exit buttons of any screen.
    static void closeWindowOf(QWidget* w);

protected:
    // Runs a handler under the general error report.
    void guarded(const std::function<void()>& handler) { session_.guarded(this, handler); }
    TDM1& dm() { return session_.dm(); }
    MessageService& msg() { return session_.messages(); }
    void showEvent(QShowEvent* e) override;

private:
    Session& session_;
};
