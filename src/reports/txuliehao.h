#pragma once
#include "ui/screen.h"

class DataGrid;
class QLineEdit;
class QPushButton;

// The serial search: every sale, repair, account entry and receipt whose unit serial contains
// the text typed, oldest first, so a unit brought back shows its whole life. Changes nothing.
class Txuliehao : public Screen {
    Q_OBJECT
  public:
    explicit Txuliehao(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(0, 0, 1020, 660); }

    void FormShow();
    void BitBtn1Click();
    // Opens the customer history filled with the customer of the grid's current row.
    void showCustomer(DataGrid* grid);

    QLineEdit* Edit1;     // serial, or a part of it
    QPushButton* BitBtn1; // 查询
    QPushButton* BitBtn2; // 退出
    DataGrid* DBGrid1;    // sales
    DataGrid* DBGrid2;    // repairs
    DataGrid* DBGrid3;    // account entries
    DataGrid* DBGrid4;    // receipts
};
