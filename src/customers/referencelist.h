#pragma once
#include "ui/screen.h"

class EditLayer;
class EditableGrid;
class QGroupBox;
class QToolButton;

// A reference table edited in place through its grid, with a record navigator
// (新增, 删除, 修改, 保存, 取消) and "退出". Each saved or deleted row is written at once.
class ReferenceList : public Screen {
    Q_OBJECT
  public:
    struct Setup {
        QString objectName;
        QString caption;
        QString listTitle;
        QString table;
        QStringList fields;
        int query = 0;
        QString sql; // the list, with the row key first
        QRect placement;
        QFont font;
    };
    ReferenceList(Session& session, Setup setup, QWidget* parent);
    QRect placement() const override { return setup_.placement; }

    // The navigator's actions, as its buttons run them.
    void insertRow();
    void deleteRow();
    void editRow();
    bool postRow();
    void cancelRow();

  protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    void FormShow();
    void updateButtons();
    void rowLeft(const QModelIndex& current, const QModelIndex& previous);
    int currentRow() const;
    void goToRow(int row);
    void dropRow();

    Setup setup_;
    bool shown_ = false;
    bool returning_ = false;
    EditLayer* layer_;
    QGroupBox* GroupBox1;
    QWidget* DBNavigator1;
    QToolButton* nbInsert;
    QToolButton* nbDelete;
    QToolButton* nbEdit;
    QToolButton* nbPost;
    QToolButton* nbCancel;
    QToolButton* BitBtn1; // 退出
    QGroupBox* GroupBox2;
    EditableGrid* DBGrid1;
};
