#pragma once
#include "admin/permissions.h"
#include "ui/screen.h"

class QGroupBox;
class QPushButton;
class QTableWidget;

// The operators screen: the list of operators, the rights of the one chosen, new, edit, delete.
class Tcaozuorenyuan : public Screen {
    Q_OBJECT
  public:
    explicit Tcaozuorenyuan(Session& session, QWidget* parent = nullptr);
    QRect placement() const override { return QRect(250, 0, 0, 0); } // sized to its content
    bool maximisable() const override { return true; }

    // Reads the list again, selects the first operator and shows its rights.
    void rebuild();
    // Ticks the boxes after the operator of the selected row.
    void showRights();

    QGroupBox* GroupBox1;
    QTableWidget* StringGrid1;
    QGroupBox* GroupBox2;
    Permissions::Boxes boxes{};
    QPushButton* BitBtn1; // 新增
    QPushButton* BitBtn2; // 修改
    QPushButton* BitBtn3; // 删除
    QPushButton* BitBtn4; // 退出

  protected:
    void showEvent(QShowEvent* e) override;
    bool event(QEvent* e) override;

  private:
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void watchSubWindow();

    bool watching_ = false;
};
