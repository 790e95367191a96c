#pragma once
#include "ui/screen.h"

class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;

// History clearing: removes sales, repairs, account entries and receipts dated before a day.
class Tzhengli : public Screen {
    Q_OBJECT
  public:
    explicit Tzhengli(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(310, 0, 0, 0); } // sized to its content

    QGroupBox* GroupBox1;
    QLabel* Label1;
    QDateEdit* DateTimePicker1;
    QPushButton* BitBtn1; // 确定
    QPushButton* BitBtn2; // 退出

  private:
    void BitBtn1Click();
};
