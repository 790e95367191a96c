#include "admin/txiugaimima.h"
#include "admin/childwindow.h"
#include "data/passwords.h"
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

Txiugaimima::Txiugaimima(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Txiugaimima"));
    auto* layout = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(QStringLiteral("密码修改"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* form = new QFormLayout(GroupBox1);
    const auto edit = [this](const char* name, bool secret) {
        auto* e = new QLineEdit(GroupBox1);
        e->setObjectName(QString::fromLatin1(name));
        if (secret)
            e->setEchoMode(QLineEdit::Password);
        return e;
    };
    Edit1 = edit("Edit1", false);
    Edit2 = edit("Edit2", true);
    Edit3 = edit("Edit3", true);
    Edit4 = edit("Edit4", true);
    Edit1->setEnabled(false);
    form->addRow(QStringLiteral("操作员编号"), Edit1);
    form->addRow(QStringLiteral("旧密码"), Edit2);
    form->addRow(QStringLiteral("新密码"), Edit3);
    form->addRow(QStringLiteral("确认新密码"), Edit4);
    layout->addWidget(GroupBox1);

    BitBtn1 = new QPushButton(QStringLiteral("确认"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Edit4);
    setTabOrder(Edit4, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { ChildWindow::close(this); });

    Edit1->setText(session.operatorNumber);
    Edit2->clear();
    Edit3->clear();
    Edit4->clear();
}

void Txiugaimima::BitBtn1Click() {
    const QString number = Edit1->text();
    const Row r = dm().ADOall.first(QStringLiteral("select rowid as r, * from 操作员 where 操作员=?"), {number});
    if (r.isEmpty()) {
        // The row may be gone (deleted or initialised away); an update would change nothing.
        msg().error(this, QStringLiteral("操作员“%1”已不存在，无法修改密码！").arg(number),
                    QStringLiteral("错误！"));
        return;
    }
    if (!Passwords::verify(Edit2->text(), r.text(QStringLiteral("密码")))) {
        msg().error(this, QStringLiteral("旧密码不正确！"), QStringLiteral("错误！"));
        return;
    }
    if (Edit3->text() != Edit4->text()) {
        msg().error(this, QStringLiteral("两次密码不一致！"), QStringLiteral("错误！"));
        return;
    }
    try {
        const qlonglong rowid = r.integer(QStringLiteral("r"));
        const QString stored = Passwords::hash(Edit4->text());
        dm().transaction([&] {
            dm().ADOall.exec(QStringLiteral("update 操作员 set 密码=? where rowid=?"), {stored, rowid});
            dm().logEdit(session().operatorNumber, QStringLiteral("操作员"), number, r,
                         dm().rowOf(QStringLiteral("操作员"), rowid));
        });
    } catch (const DbError& e) {
        msg().plain(this, e.text());
        return;
    }
    msg().info(this, QStringLiteral("修改成功！"), QStringLiteral("提示！"));
}
