#include "admin/txiugaicaozuoyuan.h"
#include "admin/operatorform.h"
#include "data/passwords.h"
#include "ui/session.h"
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

Txiugaicaozuoyuan::Txiugaicaozuoyuan(Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint),
      session_(session) {
    setObjectName(QStringLiteral("Txiugaicaozuoyuan"));
    setWindowTitle(QStringLiteral("修改操作人员"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    form = new OperatorForm(this, layout);
    form->Edit1->setReadOnly(true);
    BitBtn1 = new QPushButton(QStringLiteral("保存"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    form->Button1->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { session_.guarded(this, [this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(form->Edit3, &QLineEdit::textEdited, this, [this] { passwordKept_ = false; });
}

void Txiugaicaozuoyuan::setOperator(const QString& number, qlonglong rowId) {
    number_ = number;
    rowId_ = rowId;
}

void Txiugaicaozuoyuan::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous())
        session_.guarded(this, [this] { FormShow(); });
}

void Txiugaicaozuoyuan::FormShow() {
    form->Edit2->clear();
    form->Edit3->clear();
    form->Edit4->clear();
    form->Edit1->setText(number_);
    const Row r = session_.dm().ADOall.first(
        QStringLiteral("select * from 操作员 where rowid=? and 操作员=?"), {rowId_, number_});
    form->Edit2->setText(r.text(QStringLiteral("姓名")));
    // Only the hash is stored: the box shows as many stars as any password would.
    storedPassword_ = r.text(QStringLiteral("密码"));
    passwordKept_ = true;
    form->Edit3->setText(storedPassword_.isEmpty() ? QString() : QStringLiteral("********"));
    Permissions::show(form->boxes, r);
    form->Edit2->setFocus();
}

void Txiugaicaozuoyuan::BitBtn1Click() {
    MessageService& msg = session_.messages();
    if (!form->numberGiven(msg, this))
        return;
    QString password;
    if (passwordKept_) {
        if (!Passwords::verify(form->Edit4->text(), storedPassword_)) {
            msg.error(this, QStringLiteral("两次密码不一致！"), QStringLiteral("提示"));
            form->Edit3->clear();
            form->Edit4->clear();
            passwordKept_ = false;
            return;
        }
        password = storedPassword_;
    } else {
        if (!form->passwordsMatch(msg, this))
            return;
        password = Passwords::hash(form->Edit3->text());
    }
    QStringList sets{QStringLiteral("操作员=?"), QStringLiteral("姓名=?"), QStringLiteral("密码=?")};
    for (int f = 1; f <= 17; ++f)
        sets << TDM1::quoteId(QString::number(f)) + QStringLiteral("=?");
    QVariantList params{form->Edit1->text(), form->Edit2->text(), password};
    params << Permissions::values(form->boxes) << rowId_ << number_;
    TDM1& dm = session_.dm();
    try {
        dm.transaction([&] {
            const Row before = dm.rowOf(QStringLiteral("操作员"), rowId_);
            const int changed = dm.ADOall.exec(
                QStringLiteral("update 操作员 set %1 where rowid=? and 操作员=?").arg(sets.join(u',')),
                params);
            // An operator deleted meanwhile is not reported as saved.
            if (changed != 1)
                TDM1::fail(QStringLiteral("操作员“%1”已不存在！").arg(number_));
            dm.logEdit(session_.operatorNumber, QStringLiteral("操作员"), number_, before,
                       dm.rowOf(QStringLiteral("操作员"), rowId_));
        });
    } catch (const DbError& e) {
        msg.plain(this, e.text());
        return;
    }
    msg.info(this, QStringLiteral("修改操作人员成功！请牢记编号和密码！"), QStringLiteral("提示"));
    accept();
}
