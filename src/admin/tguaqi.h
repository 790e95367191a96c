#pragma once
#include <QDialog>
#include <QPointer>

class QGroupBox;
class QLineEdit;
class QPushButton;
class Session;

// The screen lock: a modal window that only the password typed at login opens again. While it
// is locked the main window's work area is hidden, and neither Esc nor a close request ends it.
class Tguaqi : public QDialog {
    Q_OBJECT
  public:
    Tguaqi(Session& session, QWidget* mainWindow = nullptr);
    ~Tguaqi() override;

    // Shows a new lock over the main window until it is woken or cancelled.
    static void run(Session& session, QWidget* mainWindow);

    bool isLocked() const { return locked_; }

    QGroupBox* GroupBox1;
    QLineEdit* Edit1;
    QPushButton* BitBtn1; // 挂起
    QPushButton* BitBtn2; // 唤醒
    QPushButton* BitBtn3; // 取消

  public slots:
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    void BitBtn1Click();
    void BitBtn2Click();
    void showWorkArea();

    Session& session_;
    QPointer<QWidget> workArea_;
    bool locked_ = false;
    bool hidWorkArea_ = false;
};
