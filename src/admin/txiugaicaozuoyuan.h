#pragma once
#include <QDialog>

class OperatorForm;
class QPushButton;
class Session;

// The edit-operator dialog, shown modally and kept for the whole run. The number is read-only.
class Txiugaicaozuoyuan : public QDialog {
    Q_OBJECT
  public:
    Txiugaicaozuoyuan(Session& session, QWidget* parent = nullptr);

    // The operator to edit: its number and the row that holds it.
    void setOperator(const QString& number, qlonglong rowId);
    QString operatorNumber() const { return number_; }

    OperatorForm* form;
    QPushButton* BitBtn1; // 保存
    QPushButton* BitBtn2; // 退出

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void FormShow();
    void BitBtn1Click();

    Session& session_;
    QString number_;
    qlonglong rowId_ = -1;
    // The stored password's hash, and whether "密码" still shows it untyped: the operator's password
    // then stays as it is when "重复密码" is that password.
    QString storedPassword_;
    bool passwordKept_ = false;
};
