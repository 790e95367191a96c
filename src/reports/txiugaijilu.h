#pragma once
#include "ui/screen.h"

class DataGrid;
class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QPushButton;
class TPrintDBGrid;

// The change log: every correction and deletion, newest first, for a period and, when one is
// chosen, one operator. The grid exports on a double-click and prints from the "打印" menu like
// the report grids. Nothing here changes the log.
class Txiugaijilu : public Screen {
    Q_OBJECT
  public:
    explicit Txiugaijilu(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(0, 0, 1000, 600); }
    bool maximisable() const override { return true; }

    void FormShow();
    void BitBtn1Click();
    void N1Click();
    void DBGrid1DblClick();

    QGroupBox *GroupBox1, *GroupBox2;
    QDateEdit *DateTimePicker1, *DateTimePicker2;
    QComboBox* ComboBox1; // operator number; empty for every operator
    QPushButton *BitBtn1, *BitBtn2, *MenuButton1;
    QAction* N1;
    DataGrid* DBGrid1;
    TPrintDBGrid* PrintDBGrid1;
};
