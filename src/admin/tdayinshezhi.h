#pragma once
#include "ui/screen.h"

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The shop name settings, kept in myini.ini with the receipt printer port and footer.
class Tdayinshezhi : public Screen {
    Q_OBJECT
  public:
    explicit Tdayinshezhi(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(330, 0, 0, 0); } // sized to its content

    QLineEdit* Edit1;      // shop name
    QComboBox* ComboBox1;  // receipt printer port
    QPlainTextEdit* Memo1; // receipt footer
    QPushButton* BitBtn1;  // 配置
    QPushButton* BitBtn2;  // 退出

  private:
    void FormShow();
    void BitBtn1Click();
};
