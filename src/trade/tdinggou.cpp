#include "trade/tdinggou.h"
#include "trade/receipt.h"
#include <QCheckBox>
#include "ui/fonts.h"
#include "data/dates.h"
#include "trade/entryform.h"
#include "trade/lookuppanel.h"
#include "trade/newcustomer.h"
#include "ui/keys.h"
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace EntryForm;

Tdinggou::Tdinggou(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tdinggou"));
    setWindowTitle(QStringLiteral("订购（销售）记录录入"));
    setFont(Fonts::song());
    resize(392, 582);

    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(frame);
    auto* g = new QGridLayout(frame);

    const CustomerRows rows = addCustomerRows(g, QStringLiteral("Edit7"), QStringLiteral("Edit8"),
                                              QStringLiteral("输入客户电话后请回车"));
    Edit7 = rows.number;
    Edit1 = rows.name;
    Edit3 = rows.telephone;
    Edit8 = rows.mobile;
    BitBtn6 = rows.newCustomer;
    BitBtn1 = rows.nameGlass;
    BitBtn7 = rows.telephoneGlass;
    BitBtn8 = rows.mobileGlass;
    Edit2 = addEdit(g, 4, QStringLiteral("地址"), QStringLiteral("Edit2"));
    Edit9 = addEdit(g, 5, QStringLiteral("身份证号"), QStringLiteral("Edit9"));
    Edit10 = addEdit(g, 6, QStringLiteral("出生年"), QStringLiteral("Edit10"));
    for (QLineEdit* ro : {Edit2, Edit9, Edit10})
        ro->setReadOnly(true);
    Edit4 = addEdit(g, 7, QStringLiteral("订购型号"), QStringLiteral("Edit4"));
    Edit5 = addEdit(g, 8, QStringLiteral("主机序列号"), QStringLiteral("Edit5"));
    Edit6 = addEdit(g, 9, QStringLiteral("价格"), QStringLiteral("Edit6"));
    MoneyKeyFilter::install(Edit6);
    DateTimePicker1 = datePicker(frame);
    g->addWidget(new QLabel(QStringLiteral("销售日期"), frame), 10, 0, Qt::AlignRight);
    g->addWidget(DateTimePicker1, 10, 1);
    Edit11 = addEdit(g, 11, QStringLiteral("客服人员"), QStringLiteral("Edit11"));
    Memo1 = new QPlainTextEdit(frame);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    g->addWidget(new QLabel(QStringLiteral("备注"), frame), 12, 0, Qt::AlignRight | Qt::AlignTop);
    g->addWidget(Memo1, 12, 1, 1, 2);

    RadioGroup2 = new QGroupBox(QStringLiteral("付款情况"), frame);
    RadioGroup2->setObjectName(QStringLiteral("RadioGroup2"));
    RadioGroup2->setStyleSheet(QStringLiteral("QGroupBox { color: red; } QRadioButton { color: blue; }"));
    auto* rl = new QVBoxLayout(RadioGroup2);
    paidItem = new QRadioButton(QStringLiteral("已付款"), RadioGroup2);
    paidItem->setObjectName(QStringLiteral("RadioGroup2Item0"));
    unpaidItem = new QRadioButton(QStringLiteral("未付款"), RadioGroup2);
    unpaidItem->setObjectName(QStringLiteral("RadioGroup2Item1"));
    // 20 pixels per item, or the line of the 16-pixel font where it is taller; the remark box
    // above gives up the height.
    rl->setContentsMargins(8, 2, 8, 2);
    rl->setSpacing(0);
    for (QRadioButton* item : {paidItem, unpaidItem}) {
        item->setFont(Fonts::song(16));
        item->setFixedHeight(qMax(20, item->fontMetrics().height()));
        rl->addWidget(item);
    }
    Memo1->setMinimumHeight(3 * Memo1->fontMetrics().lineSpacing());
    g->addWidget(RadioGroup2, 13, 1, 1, 2);

    auto* buttons = new QHBoxLayout;
    BitBtn2 = button(this, QStringLiteral("保存"), QStringLiteral("BitBtn2"));
    BitBtn3 = button(this, QStringLiteral("退出"), QStringLiteral("BitBtn3"));
    CheckBox1 = Receipts::tickBox(*this);
    buttons->addWidget(CheckBox1);
    buttons->addStretch();
    buttons->addWidget(BitBtn2);
    buttons->addWidget(BitBtn3);
    buttons->addStretch();
    outer->addLayout(buttons);

    // The customer list lies over the middle of the form, from the address down to the staff box.
    GroupBox2 = new CustomerList(*this, QStringLiteral("DBGrid2"), true, frame);
    GroupBox2->setGeometry(8, 120, 360, 300);

    tabOrder({Edit7, Edit1, Edit3, Edit8, Edit2, Edit9, Edit10, Edit4, Edit5, Edit6, DateTimePicker1, Edit11,
                 Memo1, paidItem, BitBtn1, BitBtn6, BitBtn7, BitBtn8, BitBtn2, BitBtn3});

    panel = new EntryPanel(*this, {Edit7, Edit1, Edit3, Edit8, Edit2, Edit9, Edit10}, GroupBox2, BitBtn2, Edit4,
                           {QStringLiteral("此客户不存在！"), QStringLiteral("提示"),
                            {Edit1, Edit3, Edit2, Edit4, Edit7, Edit8, Edit9, Edit10, Edit11},
                            true});
    panel->openNewCustomer = [this] { showNewCustomerDialog(this->session()); };
    EnterChain::install({Edit4, Edit5, Edit6, DateTimePicker1, Edit11, Memo1});

    panel->connectButtons(BitBtn1, BitBtn7, BitBtn8, BitBtn6);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { closeWindow(); });

    FormShow();
}

void Tdinggou::FormShow() {
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11})
        e->clear();
    Memo1->clear();
    DateTimePicker1->setDate(QDate::currentDate());
    unpaidItem->setChecked(true);
    BitBtn2->setEnabled(false);
    GroupBox2->hide();
    Edit7->setFocus();
}

void Tdinggou::BitBtn2Click() {
    if (Edit1->text().isEmpty() || Edit6->text().isEmpty()) {
        msg().error(this, QStringLiteral("信息不完整！"), QStringLiteral("提示"));
        return;
    }
    qlonglong number = 0;
    Money price;
    try {
        number = Values::wholeNumber(Edit7->text());
        price = Money::parse(Edit6->text());
    } catch (const DbError& e) {
        msg().error(this, e.text(), QStringLiteral("提示"));
        return;
    }
    const QString state = paidItem->isChecked() ? QStringLiteral("已付款") : QStringLiteral("未付款");
    const QString date = Dates::toSql(DateTimePicker1->date());
    const QString op = session().operatorNumber;
    Receipt receipt = Receipts::begin(session(), QStringLiteral("销售小票"));
    receipt.customerNumber = QString::number(number);
    receipt.customerName = Edit1->text();
    receipt.items = {{Edit4->text(), Edit5->text(), {}, price, {}}};
    receipt.paid = paidItem->isChecked();
    try {
        dm().transaction([&] {
            dm().ADOall.exec(
                QStringLiteral("insert into dinggou(客服人员,身份证号,出生年,手机,客户编号,客户名称,地址,电话,订购型号,"
                               "主机序列号,价格,备注,日期,经手人) values(?,?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                {Edit11->text(), Edit9->text(), Edit10->text(), Edit8->text(), number, Edit1->text(), Edit2->text(),
                 Edit3->text(), Edit4->text(), Edit5->text(), price.toVariant(), Memo1->toPlainText(), date, op});
            dm().ADOall.exec(
                QStringLiteral("insert into 帐款明细(手机,客户编号,客户名称,地址,电话,主机序列号,应付金额,付款情况,备注,"
                               "日期,经手人) values(?,?,?,?,?,?,?,?,?,?,?)"),
                {Edit8->text(), number, Edit1->text(), Edit2->text(), Edit3->text(), Edit5->text(), price.toVariant(),
                 state, Memo1->toPlainText(), date, op});
            if (paidItem->isChecked())
                dm().ADOall.exec(
                    QStringLiteral("insert into 收款记录(手机,客户编号,客户名称,地址,电话,主机序列号,金额,日期,经手人) "
                                   "values(?,?,?,?,?,?,?,?,?)"),
                    {Edit8->text(), number, Edit1->text(), Edit2->text(), Edit3->text(), Edit5->text(),
                     price.toVariant(), date, op});
        });
    } catch (const DbError& e) {
        msg().plain(this, e.text());
        return;
    }
    msg().info(this, QStringLiteral("订购资料录入成功！"), QStringLiteral("提示"));
    if (CheckBox1->isChecked())
        Receipts::print(*this, receipt);
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10, Edit11})
        e->clear();
    Memo1->clear();
    unpaidItem->setChecked(true);
    BitBtn2->setEnabled(false);
    Edit7->setFocus();
}
