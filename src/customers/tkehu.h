#pragma once
#include "ui/screen.h"

class DataGrid;
class QComboBox;
class QLineEdit;
class QPushButton;
class QToolBar;
class QToolButton;

// The customer archive: the whole customer table as a list, with a contains search on one column.
class Tkehu : public Screen {
    Q_OBJECT
  public:
    explicit Tkehu(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(0, 0, 1020, 604); }

  protected:
    void showEvent(QShowEvent* e) override;

  private:
    void FormShow();
    void ToolButton1Click(); // 新增
    void ToolButton2Click(); // 修改
    void ToolButton3Click(); // 删除
    void ToolButton4Click(); // 刷新
    void BitBtn1Click();     // 查找
    void reselect(int row);

    bool shown_ = false;
    QToolBar* ToolBar1;
    QToolButton* ToolButton1;
    QToolButton* ToolButton2;
    QToolButton* ToolButton3;
    QToolButton* ToolButton4;
    QToolButton* ToolButton5;
    QComboBox* ComboBox1;
    QLineEdit* Edit1;
    QPushButton* BitBtn1;
    DataGrid* DBGrid1;
};
