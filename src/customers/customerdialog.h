#pragma once
#include <QDialog>

class Session;
class Row;
class QLineEdit;
class QComboBox;
class QDateEdit;
class QPlainTextEdit;
class QPushButton;

// The form shared by the new and the edit customer dialogs. Each showing refills it: the new
// dialog empties its boxes and takes a fresh customer number, both reload the township list.
class CustomerDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Kind { New, Edit };

  protected:
    CustomerDialog(Session& session, Kind kind, QWidget* parent);
    void showEvent(QShowEvent* e) override;

    // Writes a customer row into the boxes; throws DbError for a start date that cannot be read.
    void fillFrom(const Row& customer);

    Session& session_;

  private:
    void FormShow();
    void clearBoxes();
    void allocateNumber();
    void loadTownships();
    void loadVillages();
    void ComboBox1Click();
    void ComboBox2Click();
    void BitBtn1Click();
    void BitBtn2Click();
    bool complete();

    Kind kind_;
    QLineEdit* Edit1;     // customer number, read-only
    QLineEdit* Edit2;     // name
    QLineEdit* Edit3;     // identity card number
    QLineEdit* Edit4;     // birth year
    QLineEdit* Edit5;     // address
    QComboBox* ComboBox1; // townships
    QComboBox* ComboBox2; // villages of the chosen township
    QLineEdit* Edit6;     // telephone
    QLineEdit* Edit7;     // mobile
    QDateEdit* DateTimePicker1;
    QPlainTextEdit* Memo1;
    QPushButton* BitBtn1;           // 保存
    QPushButton* BitBtn2 = nullptr; // 下一个, new dialog only
    QPushButton* BitBtn3;           // 退出
};

// The next free customer number: one more than the largest number held by any customer row,
// sale, repair, account entry or receipt, so a number whose history remains is never handed out again.
qlonglong nextCustomerNumber(class TDM1& dm);
