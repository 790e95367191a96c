#include "admin/txinzengcaozuorenyuan.h"
#include "admin/childwindow.h"
#include "admin/operatorform.h"
#include "data/passwords.h"
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}
} // namespace

Txinzengcaozuorenyuan::Txinzengcaozuorenyuan(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Txinzengcaozuorenyuan"));
    setWindowTitle(QStringLiteral("新增操作人员"));
    auto* layout = new QVBoxLayout(this);
    form = new OperatorForm(this, layout);
    auto* buttons = new QHBoxLayout;
    BitBtn1 = button(this, "BitBtn1", QStringLiteral("保存"));
    BitBtn2 = button(this, "BitBtn2", QStringLiteral("下一个"));
    BitBtn3 = button(this, "BitBtn3", QStringLiteral("退出"));
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { form->clear(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { ChildWindow::close(this); });
    form->clear();
}

void Txinzengcaozuorenyuan::BitBtn1Click() {
    if (!form->numberGiven(msg(), this))
        return;
    const QString number = form->Edit1->text();
    // Login finds an operator by number without regard to the case of A to Z, so "a5" takes "A5" too.
    if (!dm().ADOall.first(QStringLiteral("select * from 操作员 where %1").arg(dm().sameLetters(QStringLiteral("操作员"))), {number})
             .isEmpty()) {
        msg().error(this, QStringLiteral("此编号已经存在！"), QStringLiteral("提示"));
        form->Edit1->clear();
        return;
    }
    if (!form->passwordsMatch(msg(), this))
        return;
    QStringList marks;
    for (int i = 0; i < 20; ++i)
        marks << QStringLiteral("?");
    QVariantList params{number, form->Edit2->text(), Passwords::hash(form->Edit3->text())};
    params << Permissions::values(form->boxes);
    try {
        dm().transaction([&] {
            const Row added = dm().insertRow(QStringLiteral("操作员"),
                                             QStringLiteral("insert into 操作员 (操作员,姓名,密码,%1) values (%2)")
                                                 .arg(Permissions::columnList(), marks.join(u',')),
                                             params);
            dm().logChange(session().operatorNumber,
                           {QStringLiteral("新增"), QStringLiteral("操作员"), number, {}, TDM1::describe(added)});
        });
    } catch (const DbError& e) {
        msg().plain(this, e.text());
        return;
    }
    msg().info(this, QStringLiteral("新增操作人员成功！"), QStringLiteral("提示"));
    emit saved();
}
