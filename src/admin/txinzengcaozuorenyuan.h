#pragma once
#include "ui/screen.h"

class OperatorForm;
class QPushButton;

// The new-operator window: number, name, password twice and the seventeen flags.
class Txinzengcaozuorenyuan : public Screen {
    Q_OBJECT
  public:
    explicit Txinzengcaozuorenyuan(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(150, 0, width(), height()); }

    OperatorForm* form;
    QPushButton* BitBtn1; // 保存
    QPushButton* BitBtn2; // 下一个
    QPushButton* BitBtn3; // 退出

  signals:
    // A new operator was stored.
    void saved();

  private:
    void BitBtn1Click();
};
