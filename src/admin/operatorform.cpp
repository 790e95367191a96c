#include "admin/operatorform.h"
#include "ui/messages.h"
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QLineEdit* edit(QWidget* parent, const char* name, bool secret) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (secret)
        e->setEchoMode(QLineEdit::Password);
    return e;
}
} // namespace

OperatorForm::OperatorForm(QWidget* host, QVBoxLayout* layout) : QObject(host) {
    GroupBox1 = new QGroupBox(QStringLiteral("基本信息"), host);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* form = new QFormLayout(GroupBox1);
    Edit1 = edit(GroupBox1, "Edit1", false);
    Edit2 = edit(GroupBox1, "Edit2", false);
    Edit3 = edit(GroupBox1, "Edit3", true);
    Edit4 = edit(GroupBox1, "Edit4", true);
    form->addRow(QStringLiteral("编号"), Edit1);
    form->addRow(QStringLiteral("姓名"), Edit2);
    form->addRow(QStringLiteral("密码"), Edit3);
    form->addRow(QStringLiteral("重复密码"), Edit4);
    layout->addWidget(GroupBox1);

    GroupBox2 = new QGroupBox(QStringLiteral("权限列表"), host);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* grid = new QGridLayout(GroupBox2);
    boxes = Permissions::build(GroupBox2, grid,
                               {{1, 2, 3, 4, 5, 6}, {17, 7, 8, 13, 9, 14}, {10, 11, 12, 15, 16}});
    Button1 = new QPushButton(QStringLiteral("全选"), GroupBox2);
    Button1->setObjectName(QStringLiteral("Button1"));
    grid->addWidget(Button1, 5, 2, Qt::AlignRight | Qt::AlignBottom);
    layout->addWidget(GroupBox2);
    connect(Button1, &QPushButton::clicked, this, [this] { Permissions::toggleAll(Button1, boxes); });
}

void OperatorForm::clear() {
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    Edit4->clear();
    Edit1->setFocus();
    Permissions::setAll(boxes, false);
}

bool OperatorForm::numberGiven(MessageService& msg, QWidget* parent) {
    if (!Edit1->text().isEmpty())
        return true;
    msg.error(parent, QStringLiteral("编号不能为空！"), QStringLiteral("提示"));
    Edit1->clear();
    return false;
}

bool OperatorForm::passwordsMatch(MessageService& msg, QWidget* parent) {
    if (Edit3->text() == Edit4->text())
        return true;
    msg.error(parent, QStringLiteral("两次密码不一致！"), QStringLiteral("提示"));
    Edit3->clear();
    Edit4->clear();
    return false;
}
