#pragma once
#include "ui/screen.h"

class CustomerList;
class EntryPanel;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QCheckBox;
class QPushButton;
class QRadioButton;

// Sales entry: one sale with its account entry and, when paid at once, its receipt.
class Tdinggou : public Screen {
    Q_OBJECT
public:
    explicit Tdinggou(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(300, 0, 392, 582); }

    void FormShow();
    void BitBtn2Click();

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10, *Edit11;
    QDateEdit* DateTimePicker1;
    QPlainTextEdit* Memo1;
    QGroupBox* RadioGroup2;
    QRadioButton* paidItem;
    QRadioButton* unpaidItem;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn6, *BitBtn7, *BitBtn8;
    QCheckBox* CheckBox1; // 打印小票
    CustomerList* GroupBox2;
    EntryPanel* panel;
};
