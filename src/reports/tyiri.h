#pragma once
#include "ui/screen.h"

class DataGrid;
class QAction;
class QDateEdit;
class QGroupBox;
class QPushButton;
class TPrintDBGrid;

// The daily overview: every sale, repair and account entry of one day in three grids with
// counts and totals; each grid exports on a double-click and prints from the "打印" menu.
class Tyiri : public Screen {
    Q_OBJECT
  public:
    explicit Tyiri(Session& session, QWidget* parent = nullptr);
    // 690 high would reach under the status bar of a main window at 1024x768 (a work area 667
    // high): the three grids share a little less.
    QRect placement() const override { return QRect(0, 0, 1010, 660); }

    void FormShow();
    void BitBtn1Click();
    void N1Click();
    void N2Click();
    void N3Click();
    void DBGrid1DblClick();
    void DBGrid2DblClick();
    void DBGrid3DblClick();

    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4;
    QDateEdit* DateTimePicker1;
    QPushButton *BitBtn1, *BitBtn2, *MenuButton1;
    QAction *N1, *N2, *N3;
    DataGrid *DBGrid1, *DBGrid2, *DBGrid3;
    TPrintDBGrid *PrintDBGrid1, *PrintDBGrid2, *PrintDBGrid3;
};
