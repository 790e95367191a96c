#pragma once
#include "ui/screen.h"

class CustomerList;
class EntryPanel;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QCheckBox;
class QPushButton;
class QTreeWidget;

// Repair entry: one repair with its account entry (always paid) and, for a fee other than "0", its receipt.
class Tweixiu : public Screen {
    Q_OBJECT
public:
    explicit Tweixiu(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(280, 0, 492, 536); }

    void FormShow();
    void Edit4Enter();
    void BitBtn2Click();
    // The names of the ticked repair items, each preceded by two blanks, in list order.
    QString repairItemText() const;

    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10;
    QDateEdit* DateTimePicker1;
    QPlainTextEdit* Memo1;
    QTreeWidget* ListView1;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn6, *BitBtn7, *BitBtn8;
    QCheckBox* CheckBox1; // 打印小票
    CustomerList* GroupBox2;
    EntryPanel* panel;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
};
