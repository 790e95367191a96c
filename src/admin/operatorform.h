#pragma once
#include "admin/permissions.h"
#include <QObject>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class MessageService;

// The two frames shared by the new-operator window and the edit-operator dialog: "基本信息"
// with number, name, password and its repetition, and "权限列表" with the seventeen boxes in
// three columns and the "全选" button.
class OperatorForm : public QObject {
    Q_OBJECT
  public:
    OperatorForm(QWidget* host, QVBoxLayout* layout);

    // Empties the four boxes, unticks every flag and focuses the number; "全选" keeps its caption.
    void clear();
    // The checks before a save; each failure shows its message and clears the box concerned.
    bool numberGiven(MessageService& msg, QWidget* parent);
    bool passwordsMatch(MessageService& msg, QWidget* parent);

    QGroupBox* GroupBox1;
    QLineEdit* Edit1; // number
    QLineEdit* Edit2; // name
    QLineEdit* Edit3; // password
    QLineEdit* Edit4; // password again
    QGroupBox* GroupBox2;
    Permissions::Boxes boxes{};
    QPushButton* Button1; // 全选 / 全清
};
