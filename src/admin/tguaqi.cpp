#include "admin/tguaqi.h"
#include "ui/accessibility.h"
#include "ui/session.h"
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>

Tguaqi::Tguaqi(Session& session, QWidget* mainWindow)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), session_(session) {
    setObjectName(QStringLiteral("Tguaqi"));
    setWindowTitle(QStringLiteral("离开挂起"));
    setModal(true);
    if (auto* main = qobject_cast<QMainWindow*>(mainWindow))
        workArea_ = main->centralWidget();

    auto* layout = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(QStringLiteral("离开挂起"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* inner = new QVBoxLayout(GroupBox1);
    auto* line = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("密码"), GroupBox1);
    label->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(GroupBox1);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setEchoMode(QLineEdit::Password);
    line->addWidget(label);
    line->addWidget(Edit1);
    inner->addLayout(line);
    auto* buttons = new QHBoxLayout;
    BitBtn1 = new QPushButton(QStringLiteral("挂起"), GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("唤醒"), GroupBox1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn3 = new QPushButton(QStringLiteral("取消"), GroupBox1);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    inner->addLayout(buttons);
    layout->addWidget(GroupBox1);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { QDialog::reject(); });
    Accessibility::nameControls(this);

    Edit1->clear();
    BitBtn2->hide();
}

Tguaqi::~Tguaqi() {
    showWorkArea();
}

void Tguaqi::run(Session& session, QWidget* mainWindow) {
    Tguaqi lock(session, mainWindow);
    lock.exec();
}

void Tguaqi::BitBtn1Click() {
    if (Edit1->text() != session_.loginPassword) {
        session_.messages().error(this, QStringLiteral("对不起，密码错误！"), QStringLiteral("提示"));
        return;
    }
    locked_ = true;
    BitBtn2->show();
    GroupBox1->setTitle(QStringLiteral("唤醒系统"));
    setWindowTitle(QStringLiteral("唤醒系统"));
    BitBtn3->hide();
    BitBtn1->hide();
    Edit1->clear();
    Edit1->setFocus();
    // Nobody reads the open screens while the operator is away.
    if (workArea_ && workArea_->isVisible()) {
        workArea_->hide();
        hidWorkArea_ = true;
    }
}

void Tguaqi::BitBtn2Click() {
    if (Edit1->text() != session_.loginPassword) {
        session_.messages().error(this, QStringLiteral("对不起，密码错误！"), QStringLiteral("提示"));
        return;
    }
    session_.messages().info(this, QStringLiteral("系统已被成功唤醒！"), QStringLiteral("提示"));
    showWorkArea();
    locked_ = false;
    accept();
}

void Tguaqi::showWorkArea() {
    if (hidWorkArea_ && workArea_)
        workArea_->show();
    hidWorkArea_ = false;
}

void Tguaqi::reject() {
    // Esc before locking is "取消"; once locked only the password ends the lock.
    if (!locked_)
        QDialog::reject();
}

void Tguaqi::closeEvent(QCloseEvent* e) {
    if (locked_) {
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}
