#pragma once
#include "ui/screen.h"

class DataGrid;
class QAction;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TPrintDBGrid;

// The period summary: sales, repairs or account entries of a date range whose address contains
// a text, or all of them. Three query panels side by side; the result area shows the grid of the
// panel used last, and every grid keeps its result for printing while hidden.
class Thuizong : public Screen {
    Q_OBJECT
  public:
    explicit Thuizong(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(0, 0, 1010, 640); }

    void FormShow();
    void BitBtn1Click(); // sales: 查询
    void BitBtn2Click(); // sales: 显示全部
    void BitBtn4Click(); // repairs: 查询
    void BitBtn3Click(); // repairs: 显示全部
    void BitBtn6Click(); // accounts: 查询
    void BitBtn5Click(); // accounts: 显示全部
    void N1Click();
    void N2Click();
    void N3Click();
    void DBGridDblClick();

    // The grid shown in the result area: 1 sales, 2 repairs, 3 accounts.
    int shownGrid() const { return shown_; }

    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *RadioGroup1;
    QDateEdit *DateTimePicker1, *DateTimePicker2, *DateTimePicker3, *DateTimePicker4, *DateTimePicker5,
        *DateTimePicker6;
    QLineEdit *Edit1, *Edit2, *Edit3;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3, *BitBtn4, *BitBtn5, *BitBtn6, *BitBtn7, *MenuButton1;
    QRadioButton *RadioButton1, *RadioButton2, *RadioButton3; // 显示全部, 已付款, 未付款
    QAction *N1, *N2, *N3;
    DataGrid *DBGrid1, *DBGrid2, *DBGrid3;
    TPrintDBGrid *PrintDBGrid1, *PrintDBGrid2, *PrintDBGrid3;

  private:
    void showGrid(int grid);
    int shown_ = 1;
};
