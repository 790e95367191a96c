#pragma once
#include "ui/screenregistry.h"
#include "ui/session.h"
#include <QMainWindow>

class QMdiArea;

// The main window: menu, toolbar, status bar and the child windows of the screens.
class TMAIN : public QMainWindow {
    Q_OBJECT
public:
    explicit TMAIN(Session& session, QWidget* parent = nullptr);
    QMdiArea* mdiArea() const { return mdi_; }

private:
    Session& session_;
    ScreenRegistry registry_;
    QMdiArea* mdi_;
};
