#pragma once
#include "ui/screen.h"

class CustomerList;
class DataGrid;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QueryPanel;

// Payment history: the receipts that carry a customer's number, name, telephone, mobile or
// address, or every receipt. Changes nothing.
class Tjiaokuanjilu : public Screen {
    Q_OBJECT
  public:
    explicit Tjiaokuanjilu(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(60, 0, 907, 605); }

    void FormShow();
    // The receipts whose copied column holds value.
    void listReceipts(const QString& column, const QString& value);
    // "显示全部交款记录": every receipt, oldest first.
    void BitBtn3Click();

    // Customer boxes: number, name, telephone, mobile, address; Edit5 is the fuzzy search text.
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6;
    QComboBox* ComboBox1;
    // "查找", "退出", "显示全部交款记录", and the "确定" of number, name, telephone, address and mobile.
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn5, *BitBtn6, *BitBtn7, *BitBtn9, *BitBtn11;
    QGroupBox* GroupBox1;
    DataGrid* DBGrid1;
    CustomerList* GroupBox2;
    QueryPanel* panel;
};
