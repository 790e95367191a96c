#pragma once
#include "ui/session.h"
#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class TMAIN;

// The login window: operator number and password. On success the operator becomes the
// current one, the main window's commands follow the operator's flags and the window closes
// with OK; "退出", the close box or a fifth wrong password close it as cancelled.
class Tloginform : public QDialog {
    Q_OBJECT
  public:
    Tloginform(Session& session, TMAIN* mainWindow, QWidget* parent = nullptr);

    int failures() const { return failures_; }

    void FormShow();
    void button1Click();

  protected:
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void loadOperators();
    void showName();
    void cbusernameExit();
    int selectedEntry() const;
    void rejectUnknown();

    Session& session_;
    TMAIN* main_;
    QComboBox* cbusername;
    QLineEdit* Edit1;
    QLineEdit* edtpassword;
    QPushButton* button1;
    QPushButton* button2;
    QStringList passwords_;
    int failures_ = 0;
    bool checking_ = false;
};
