#pragma once
#include "ui/screen.h"

class QGroupBox;
class QLineEdit;
class QPushButton;

// The password change of the operator logged in.
class Txiugaimima : public Screen {
    Q_OBJECT
  public:
    explicit Txiugaimima(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(330, 0, 0, 0); } // sized to its content

    QGroupBox* GroupBox1;
    QLineEdit* Edit1;     // operator number, not editable
    QLineEdit* Edit2;     // old password
    QLineEdit* Edit3;     // new password
    QLineEdit* Edit4;     // new password again
    QPushButton* BitBtn1; // 确认
    QPushButton* BitBtn2; // 退出

  private:
    void BitBtn1Click();
};
