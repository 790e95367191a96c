#include "trade/recordeditdialog.h"
#include "data/dates.h"
#include "trade/entryform.h"
#include "ui/accessibility.h"
#include "ui/fonts.h"
#include "ui/keys.h"
#include "ui/session.h"
#include <QDateEdit>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

RecordEditDialog::RecordEditDialog(Session& session, QWidget* parent, EditDialogConfig config)
    : QDialog(parent), session_(session), config_(std::move(config)) {
    setObjectName(config_.objectName);
    setWindowTitle(config_.caption);
    setFont(Fonts::song());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    auto* outer = new QVBoxLayout(this);
    auto* g = new QGridLayout;
    outer->addLayout(g);
    QList<QWidget*> chain;
    int row = 0;
    for (const EditField& f : config_.fields) {
        QWidget* w = nullptr;
        switch (f.kind) {
        case EditField::Date:
            DateTimePicker1 = new QDateEdit(this);
            DateTimePicker1->setCalendarPopup(true);
            DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-M-d"));
            g->addWidget(new QLabel(f.label, this), row, 0, Qt::AlignRight);
            g->addWidget(DateTimePicker1, row, 1);
            w = DateTimePicker1;
            break;
        case EditField::Memo:
            Memo1 = new QPlainTextEdit(this);
            Memo1->setTabChangesFocus(true);
            Memo1->setFixedHeight(80);
            g->addWidget(new QLabel(f.label, this), row, 0, Qt::AlignRight | Qt::AlignTop);
            g->addWidget(Memo1, row, 1, 1, 2);
            w = Memo1;
            break;
        default: {
            QLineEdit* e = EntryForm::addEdit(g, row, f.label, f.name, f.hint);
            if (f.kind == EditField::ReadOnly)
                e->setReadOnly(true);
            if (f.kind == EditField::Amount) {
                MoneyKeyFilter::install(e);
                g->addWidget(new QLabel(QStringLiteral("元"), this), row, 2);
                amountColumn_ = f.column;
            }
            edits_.insert(f.column, e);
            w = e;
        }
        }
        w->setObjectName(f.name);
        chain << w;
        ++row;
    }
    auto* buttons = new QHBoxLayout;
    BitBtn1 = EntryForm::button(this, QStringLiteral("保存"), QStringLiteral("BitBtn1"));
    BitBtn2 = EntryForm::button(this, QStringLiteral("退出"), QStringLiteral("BitBtn2"));
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch();
    outer->addLayout(buttons);
    for (QPushButton* b : {BitBtn1, BitBtn2})
        b->setAutoDefault(false);

    EntryForm::tabOrder(chain + QList<QWidget*>{BitBtn1, BitBtn2});
    EnterChain::install(chain);
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { session_.guarded(this, [this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    setFixedSize(sizeHint().expandedTo(QSize(360, 0)));
    Accessibility::nameControls(this);
}

QLineEdit* RecordEditDialog::edit(const QString& column) const {
    return edits_.value(column);
}

void RecordEditDialog::load(const Row& row) {
    const QDate date = row.date(QStringLiteral("日期"));
    if (!date.isValid())
        TDM1::fail(QStringLiteral("“%1”不是有效的日期！").arg(row.value(QStringLiteral("日期")).toString()));
    key_ = row.integer(QStringLiteral("id"));
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it)
        it.value()->setText(row.text(it.key()));
    Memo1->setPlainText(row.value(QStringLiteral("备注")).toString());
    DateTimePicker1->setDate(date);
}

void RecordEditDialog::showModal() {
    setWindowModality(Qt::ApplicationModal);
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    edits_.value(config_.fields.first().column)->setFocus();
}

void RecordEditDialog::BitBtn1Click() {
    MessageService& msg = session_.messages();
    if (edit(QStringLiteral("客户名称"))->text().isEmpty() ||
        edit(config_.requiredColumn)->text().isEmpty()) {
        msg.error(this, QStringLiteral("信息不完整！"), QStringLiteral("提示"));
        return;
    }
    QLineEdit* amountBox = edit(amountColumn_);
    if (config_.emptyAmountIsZero && amountBox->text().isEmpty())
        amountBox->setText(QStringLiteral("0"));

    // Every value is checked before the statement runs; a bad one keeps the dialog as typed.
    QStringList assignments;
    QVariantList values;
    try {
        for (const EditField& f : config_.fields) {
            QVariant v;
            switch (f.kind) {
            case EditField::Number:
                v = Values::wholeNumber(edit(f.column)->text());
                break;
            case EditField::Amount:
                v = Money::parse(edit(f.column)->text()).toVariant();
                break;
            case EditField::Date:
                v = Dates::toSql(DateTimePicker1->date());
                break;
            case EditField::Memo:
                v = Memo1->toPlainText();
                break;
            default:
                v = edit(f.column)->text();
            }
            assignments << TDM1::quoteId(f.column) + QStringLiteral("=?");
            values << v;
        }
    } catch (const DbError& e) {
        msg.error(this, e.text(), QStringLiteral("提示"));
        return;
    }
    values << key_;
    TDM1& dm = session_.dm();
    try {
        dm.transaction([&] {
            const Row before = dm.rowOf(config_.table, key_);
            const int changed = dm.ADOall.exec(QStringLiteral("update %1 set %2 where id=?")
                                                   .arg(TDM1::quoteId(config_.table), assignments.join(u',')),
                                               values);
            if (changed != 1)
                TDM1::fail(QStringLiteral("该记录已不存在，修改未保存！"));
            dm.logEdit(session_.operatorNumber, config_.table, QString::number(key_), before,
                       dm.rowOf(config_.table, key_));
        });
    } catch (const DbError& e) {
        msg.plain(this, e.text());
        return;
    }
    msg.info(this, config_.successText, QStringLiteral("提示"));
    accept();
}

Txiugaidinggoujilu::Txiugaidinggoujilu(Session& session, QWidget* parent)
    : RecordEditDialog(
          session, parent,
          {QStringLiteral("Txiugaidinggoujilu"),
           QStringLiteral("修改销售记录"),
           QStringLiteral("dinggou"),
           {{QStringLiteral("客户编号"), QStringLiteral("Edit7"), QStringLiteral("客户编号"),
             EditField::Number},
            {QStringLiteral("客户名称"), QStringLiteral("Edit1"), QStringLiteral("客户名称"), EditField::Text,
             QStringLiteral("输入客户名称后请回车")},
            {QStringLiteral("身份证号"), QStringLiteral("Edit9"), QStringLiteral("身份证号"),
             EditField::ReadOnly},
            {QStringLiteral("出生年"), QStringLiteral("Edit10"), QStringLiteral("出生年"),
             EditField::ReadOnly},
            {QStringLiteral("电话"), QStringLiteral("Edit3"), QStringLiteral("电话"), EditField::Text,
             QStringLiteral("输入客户电话后请回车")},
            {QStringLiteral("手机"), QStringLiteral("Edit8"), QStringLiteral("手机")},
            {QStringLiteral("地址"), QStringLiteral("Edit2"), QStringLiteral("地址")},
            {QStringLiteral("订购型号"), QStringLiteral("Edit4"), QStringLiteral("订购型号")},
            {QStringLiteral("主机序列号"), QStringLiteral("Edit5"), QStringLiteral("主机序列号")},
            {QStringLiteral("价格"), QStringLiteral("Edit6"), QStringLiteral("价格"), EditField::Amount},
            {QStringLiteral("日期"), QStringLiteral("DateTimePicker1"), QStringLiteral("日期"),
             EditField::Date},
            {QStringLiteral("备注"), QStringLiteral("Memo1"), QStringLiteral("备注"), EditField::Memo}},
           QStringLiteral("价格"),
           false,
           QStringLiteral("修改订购（销售）记录成功！")}) {}

Txiugaiweixiujilu::Txiugaiweixiujilu(Session& session, QWidget* parent)
    : RecordEditDialog(
          session, parent,
          {QStringLiteral("Txiugaiweixiujilu"),
           QStringLiteral("修改返修记录"),
           QStringLiteral("维修记录"),
           {{QStringLiteral("客户编号"), QStringLiteral("Edit7"), QStringLiteral("客户编号"),
             EditField::Number},
            {QStringLiteral("客户名称"), QStringLiteral("Edit1"), QStringLiteral("客户名称"), EditField::Text,
             QStringLiteral("输入客户名称后请回车")},
            {QStringLiteral("身份证号"), QStringLiteral("Edit9"), QStringLiteral("身份证号"),
             EditField::ReadOnly},
            {QStringLiteral("出生年"), QStringLiteral("Edit10"), QStringLiteral("出生年"),
             EditField::ReadOnly},
            {QStringLiteral("电话"), QStringLiteral("Edit3"), QStringLiteral("电话"), EditField::Text,
             QStringLiteral("输入电话后请回车")},
            {QStringLiteral("手机"), QStringLiteral("Edit8"), QStringLiteral("手机")},
            {QStringLiteral("地址"), QStringLiteral("Edit2"), QStringLiteral("地址")},
            {QStringLiteral("主机序列号"), QStringLiteral("Edit4"), QStringLiteral("主机序列号")},
            {QStringLiteral("维修费"), QStringLiteral("Edit5"), QStringLiteral("维修费"), EditField::Amount},
            {QStringLiteral("维修项目"), QStringLiteral("Edit6"), QStringLiteral("维修项目")},
            {QStringLiteral("日期"), QStringLiteral("DateTimePicker1"), QStringLiteral("维修日期"),
             EditField::Date},
            {QStringLiteral("备注"), QStringLiteral("Memo1"), QStringLiteral("备注"), EditField::Memo}},
           QStringLiteral("客户编号"),
           true,
           QStringLiteral("修改维修记录成功！")}) {}
