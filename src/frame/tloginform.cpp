#include "frame/tloginform.h"
#include "data/passwords.h"
#include "frame/tmain.h"
#include "ui/accessibility.h"
#include "ui/fonts.h"
#include "ui/keys.h"
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

Tloginform::Tloginform(Session& session, TMAIN* mainWindow, QWidget* parent)
    : QDialog(parent), session_(session), main_(mainWindow) {
    setObjectName(QStringLiteral("Tloginform"));
    setWindowTitle(QStringLiteral("进入系统"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(Fonts::song());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(166, 202, 240));
    setPalette(pal);

    auto* frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(frame);
    auto label = [&](const QString& text, int row) {
        auto* l = new QLabel(text, frame);
        l->setStyleSheet(QStringLiteral("color: navy;"));
        grid->addWidget(l, row, 0);
    };
    label(QStringLiteral("操作员编号"), 0);
    label(QStringLiteral("操作员姓名"), 1);
    label(QStringLiteral("操作员密码"), 2);
    cbusername = new QComboBox(frame);
    cbusername->setObjectName(QStringLiteral("cbusername"));
    cbusername->setEditable(true);
    cbusername->setInsertPolicy(QComboBox::NoInsert);
    cbusername->setCompleter(nullptr);
    Edit1 = new QLineEdit(frame);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    edtpassword = new QLineEdit(frame);
    edtpassword->setObjectName(QStringLiteral("edtpassword"));
    edtpassword->setEchoMode(QLineEdit::Password);
    edtpassword->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    grid->addWidget(cbusername, 0, 1);
    grid->addWidget(Edit1, 1, 1);
    grid->addWidget(edtpassword, 2, 1);
    auto* hint = new QLabel(QStringLiteral("系统管理员初始密码为 空"), frame);
    hint->setObjectName(QStringLiteral("Label4"));
    hint->setStyleSheet(QStringLiteral("color: blue;"));
    grid->addWidget(hint, 3, 1);

    button1 = new QPushButton(QStringLiteral("进入"), this);
    button1->setObjectName(QStringLiteral("button1"));
    button2 = new QPushButton(QStringLiteral("退出"), this);
    button2->setObjectName(QStringLiteral("button2"));
    for (QPushButton* b : {button1, button2}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1);
    buttons->addSpacing(24);
    buttons->addWidget(button2);
    buttons->addStretch();
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(frame);
    lay->addLayout(buttons);

    setTabOrder(cbusername, Edit1);
    setTabOrder(Edit1, edtpassword);
    setTabOrder(edtpassword, button1);
    setTabOrder(button1, button2);

    // Typing changes only the name shown; choosing from the list also moves on to the password.
    connect(cbusername, &QComboBox::editTextChanged, this,
            [this] { session_.guarded(this, [this] { showName(); }); });
    connect(cbusername, &QComboBox::activated, this, [this] {
        session_.guarded(this, [this] { showName(); });
        edtpassword->setFocus(Qt::OtherFocusReason);
    });
    cbusername->installEventFilter(this);
    if (cbusername->lineEdit())
        cbusername->lineEdit()->installEventFilter(this);
    onEnterPressed(edtpassword, [this] { button1Click(); });
    connect(button1, &QPushButton::clicked, this, &Tloginform::button1Click);
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(300, 190)));
    Accessibility::nameControls(this);
}

void Tloginform::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!e->spontaneous()) {
        if (QScreen* s = screen())
            move(s->availableGeometry().center() - rect().center());
        FormShow();
    }
}

void Tloginform::FormShow() {
    session_.guarded(this, [this] {
        loadOperators();
        edtpassword->clear();
        cbusername->setFocus(Qt::OtherFocusReason);
        Edit1->clear();
        showName();
    });
}

void Tloginform::loadOperators() {
    const QSignalBlocker block(cbusername);
    cbusername->clear();
    passwords_.clear();
    for (const Row& r : session_.dm().ADOall.query(QStringLiteral("SELECT * FROM \"操作员\""))) {
        cbusername->addItem(r.text(QStringLiteral("操作员")));
        passwords_ << r.text(QStringLiteral("密码"));
    }
    if (cbusername->count() > 0)
        cbusername->setCurrentIndex(0);
    else
        cbusername->setEditText(QString());
}

void Tloginform::showName() {
    // The name of the operator that "进入" would log in with the box's text.
    const int i = selectedEntry();
    const Row r =
        i < 0 ? Row()
              : session_.dm().ADOall.first(QStringLiteral("SELECT * FROM \"操作员\" WHERE \"操作员\" = ?"),
                                           {cbusername->itemText(i)});
    Edit1->setText(r.text(QStringLiteral("姓名")));
}

int Tloginform::selectedEntry() const {
    // Numbers compare with A to Z folded, as the database's unique index on them does. An older
    // file may still hold numbers that differ only in case: the one typed exactly wins.
    const QString text = cbusername->currentText();
    const QString folded = Passwords::fold(text);
    int found = -1;
    for (int i = 0; i < cbusername->count(); ++i) {
        const QString item = cbusername->itemText(i);
        if (item == text)
            return i;
        if (found < 0 && Passwords::fold(item) == folded)
            found = i;
    }
    return found;
}

bool Tloginform::eventFilter(QObject* watched, QEvent* e) {
    if ((watched == cbusername || watched == cbusername->lineEdit()) && e->type() == QEvent::FocusOut &&
        !checking_) {
        // Focus moving between the box and its own line edit or list does not leave the box.
        QWidget* to = QApplication::focusWidget();
        if (to != cbusername && to != cbusername->lineEdit() && !(to && cbusername->isAncestorOf(to)))
            cbusernameExit();
    }
    return QDialog::eventFilter(watched, e);
}

void Tloginform::cbusernameExit() {
    const int i = selectedEntry();
    if (i >= 0) {
        if (cbusername->currentIndex() != i || cbusername->currentText() != cbusername->itemText(i))
            cbusername->setCurrentIndex(i);
        return;
    }
    // The refusal waits until the box has finished losing the focus, or the box would
    // clear the selection on its way out.
    if (QApplication::focusWidget() == edtpassword)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (selectedEntry() < 0 && QApplication::focusWidget() == edtpassword)
                    rejectUnknown();
            },
            Qt::QueuedConnection);
}

void Tloginform::rejectUnknown() {
    checking_ = true;
    session_.messages().error(this, QStringLiteral("不存在的用户！"), QStringLiteral("提示"));
    cbusername->setFocus(Qt::OtherFocusReason);
    if (cbusername->lineEdit())
        cbusername->lineEdit()->selectAll();
    checking_ = false;
}

void Tloginform::button1Click() {
    session_.guarded(this, [this] {
        const int i = selectedEntry();
        if (i < 0) {
            rejectUnknown();
            return;
        }
        if (!Passwords::verify(edtpassword->text(), passwords_.value(i))) {
            ++failures_;
            if (failures_ > 4) {
                session_.messages().error(this, QStringLiteral("密码错误超过五次，软件将被关闭！"),
                                          QStringLiteral("提示"));
                reject();
                return;
            }
            session_.messages().error(this, QStringLiteral("密码错误，请重新输入！"), QStringLiteral("提示"));
            edtpassword->clear();
            return;
        }
        const QString number = cbusername->itemText(i);
        const Row r = session_.dm().ADOall.first(
            QStringLiteral("SELECT * FROM \"操作员\" WHERE \"操作员\" = ?"), {number});
        std::array<bool, 18> flags{};
        for (int f = 1; f <= 17; ++f)
            flags[f] = r.flag(QString::number(f));
        session_.operatorNumber = number;
        session_.loginPassword = edtpassword->text();
        session_.flags = flags;
        if (main_) {
            main_->setCurrentOperator(number);
            main_->applyFlags(flags);
        }
        accept();
    });
}

void Tloginform::keyPressEvent(QKeyEvent* e) {
    // Escape does not close the login; only "退出" and the close box do.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}
