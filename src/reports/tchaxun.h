#pragma once
#include "ui/screen.h"

class CustomerList;
class DataGrid;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QueryPanel;

// Customer history: the sales, repairs and account entries that carry a customer's number,
// name, telephone, mobile or address. Changes nothing.
class Tchaxun : public Screen {
    Q_OBJECT
  public:
    explicit Tchaxun(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(0, 0, 1020, 605); }

    void FormShow();
    // The history of the records whose copied column holds value: repairs, sales, account entries.
    void listHistory(const QString& column, const QString& value);

    // Customer boxes: number, name, telephone, mobile, address; Edit5 is the fuzzy search text.
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6;
    QComboBox* ComboBox1;
    // "查找", "退出", and the "确定" of number, name, telephone, address and mobile.
    QPushButton *BitBtn1, *BitBtn2, *BitBtn5, *BitBtn6, *BitBtn7, *BitBtn9, *BitBtn11;
    QPushButton *BitBtn14, *BitBtn15; // 打印对账单, 导出对账单
    // The customer of the statement: of the current account entry, else of the first record listed.
    QVariant statementCustomer() const;
    QGroupBox* GroupBox1;
    DataGrid* DBGrid1; // sales
    DataGrid* DBGrid2; // repairs
    DataGrid* DBGrid3; // account entries
    CustomerList* GroupBox2;
    QueryPanel* panel;
};
