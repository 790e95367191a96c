#include "trade/tweixiu.h"
#include "trade/receipt.h"
#include <QCheckBox>
#include "ui/fonts.h"
#include "data/dates.h"
#include "trade/entryform.h"
#include "trade/lookuppanel.h"
#include "trade/newcustomer.h"
#include "ui/keys.h"
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace EntryForm;

Tweixiu::Tweixiu(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tweixiu"));
    setWindowTitle(QStringLiteral("维修记录录入"));
    setFont(Fonts::song());
    resize(492, 536);

    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    outer->addWidget(frame);
    auto* h = new QHBoxLayout(frame);
    auto* left = new QWidget(frame);
    h->addWidget(left, 3);
    auto* g = new QGridLayout(left);

    const CustomerRows rows = addCustomerRows(g, QStringLiteral("Edit6"), QStringLiteral("Edit7"),
                                              QStringLiteral("输入电话后请回车"));
    Edit6 = rows.number;
    Edit1 = rows.name;
    Edit3 = rows.telephone;
    Edit7 = rows.mobile;
    BitBtn6 = rows.newCustomer;
    BitBtn1 = rows.nameGlass;
    BitBtn7 = rows.telephoneGlass;
    BitBtn8 = rows.mobileGlass;
    Edit9 = addEdit(g, 4, QStringLiteral("身份证号"), QStringLiteral("Edit9"));
    Edit10 = addEdit(g, 5, QStringLiteral("出生年"), QStringLiteral("Edit10"));
    Edit9->setReadOnly(true);
    Edit10->setReadOnly(true);
    Edit2 = addEdit(g, 6, QStringLiteral("地址"), QStringLiteral("Edit2"));
    Edit4 = addEdit(g, 7, QStringLiteral("主机序列号"), QStringLiteral("Edit4"));
    Edit8 = addEdit(g, 8, QStringLiteral("更换主机\n新序列号"), QStringLiteral("Edit8"));
    Edit5 = addEdit(g, 9, QStringLiteral("维修费"), QStringLiteral("Edit5"));
    MoneyKeyFilter::install(Edit5);
    DateTimePicker1 = datePicker(left);
    g->addWidget(new QLabel(QStringLiteral("维修日期"), left), 10, 0, Qt::AlignRight);
    g->addWidget(DateTimePicker1, 10, 1);
    Memo1 = new QPlainTextEdit(left);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    g->addWidget(new QLabel(QStringLiteral("备注"), left), 11, 0, Qt::AlignRight | Qt::AlignTop);
    g->addWidget(Memo1, 11, 1, 1, 2);

    auto* items = new QGroupBox(QStringLiteral("维修项目列表"), frame);
    auto* il = new QVBoxLayout(items);
    ListView1 = new QTreeWidget(items);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setHeaderLabels({QStringLiteral("维修项目")});
    ListView1->setColumnWidth(0, 100);
    ListView1->setRootIsDecorated(false);
    ListView1->setStyleSheet(QStringLiteral("QTreeWidget { background: rgb(240, 250, 255); }"));
    il->addWidget(ListView1);
    h->addWidget(items, 1);

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

    GroupBox2 = new CustomerList(*this, QStringLiteral("DBGrid2"), true, frame);
    GroupBox2->setGeometry(8, 110, 330, 300);

    tabOrder({Edit6, Edit1, Edit3, Edit7, Edit9, Edit10, Edit2, Edit4, Edit8, Edit5, DateTimePicker1, Memo1,
                 ListView1, BitBtn1, BitBtn6, BitBtn7, BitBtn8, BitBtn2, BitBtn3});

    panel = new EntryPanel(*this, {Edit6, Edit1, Edit3, Edit7, Edit2, Edit9, Edit10}, GroupBox2, BitBtn2, Edit4,
                           {QStringLiteral("此客户不存在!"), QStringLiteral("提示！"),
                            {Edit1, Edit3, Edit2, Edit4, Edit6, Edit7, Edit8, Edit9, Edit10},
                            false});
    panel->openNewCustomer = [this] { showNewCustomerDialog(this->session()); };
    EnterChain::install({Edit4, Edit5, DateTimePicker1, Memo1});
    Edit4->installEventFilter(this);
    connect(Edit4, &QLineEdit::textChanged, Edit8, &QLineEdit::setText);

    panel->connectButtons(BitBtn1, BitBtn7, BitBtn8, BitBtn6);
    connect(BitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { closeWindow(); });

    guarded([this] { FormShow(); });
}

bool Tweixiu::eventFilter(QObject* watched, QEvent* e) {
    if (watched == Edit4 && e->type() == QEvent::FocusIn)
        guarded([this] { Edit4Enter(); });
    return Screen::eventFilter(watched, e);
}

void Tweixiu::FormShow() {
    ListView1->clear();
    for (const Row& r : dm().ADOall.query(QStringLiteral("select * from 维修项目"))) {
        auto* item = new QTreeWidgetItem(ListView1, {r.text(QStringLiteral("维修项目"))});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10})
        e->clear();
    Memo1->clear();
    DateTimePicker1->setDate(QDate::currentDate());
    GroupBox2->hide();
    BitBtn2->setEnabled(false);
    Edit6->setFocus();
}

void Tweixiu::Edit4Enter() {
    if (Edit6->text().isEmpty())
        return;
    // The unit sold first to this customer: the lowest record key.
    const Row r = dm().ADOall.first(
        QStringLiteral("select 主机序列号 from dinggou where 客户编号=? order by id limit 1"),
        {Values::wholeNumber(Edit6->text())});
    Edit4->setText(r.text(QStringLiteral("主机序列号")));
}

QString Tweixiu::repairItemText() const {
    QString text;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        if (item->checkState(0) == Qt::Checked)
            text += QStringLiteral("  ") + item->text(0);
    }
    return text;
}

void Tweixiu::BitBtn2Click() {
    if (Edit1->text().isEmpty() || Edit6->text().isEmpty()) {
        msg().error(this, QStringLiteral("信息不完整！"), QStringLiteral("提示"));
        return;
    }
    const QString items = repairItemText();
    if (items.isEmpty()) {
        msg().error(this, QStringLiteral("请选择维修项目！"), QStringLiteral("提示"));
        return;
    }
    if (Edit5->text().isEmpty())
        Edit5->setText(QStringLiteral("0"));
    qlonglong number = 0;
    Money fee;
    try {
        number = Values::wholeNumber(Edit6->text());
        fee = Money::parse(Edit5->text());
    } catch (const DbError& e) {
        msg().error(this, e.text(), QStringLiteral("提示"));
        return;
    }
    const QString date = Dates::toSql(DateTimePicker1->date());
    const QString op = session().operatorNumber;
    const QString serial = Edit8->text();
    Receipt receipt = Receipts::begin(session(), QStringLiteral("维修小票"));
    receipt.customerNumber = QString::number(number);
    receipt.customerName = Edit1->text();
    receipt.items = {{items.simplified(), serial, {}, fee, {}}};
    try {
        dm().transaction([&] {
            dm().ADOall.exec(
                QStringLiteral("insert into 维修记录(身份证号,出生年,手机,客户编号,客户名称,地址,电话,维修项目,维修费,"
                               "主机序列号,备注,日期,经手人) values(?,?,?,?,?,?,?,?,?,?,?,?,?)"),
                {Edit9->text(), Edit10->text(), Edit7->text(), number, Edit1->text(), Edit2->text(), Edit3->text(), items,
                 fee.toVariant(), serial, Memo1->toPlainText(), date, op});
            dm().ADOall.exec(
                QStringLiteral("insert into 帐款明细(手机,客户编号,客户名称,地址,电话,主机序列号,应付金额,付款情况,备注,"
                               "日期,经手人) values(?,?,?,?,?,?,?,'已付款',?,?,?)"),
                {Edit7->text(), number, Edit1->text(), Edit2->text(), Edit3->text(), serial, fee.toVariant(),
                 Memo1->toPlainText(), date, op});
            if (Edit5->text() != QStringLiteral("0"))
                dm().ADOall.exec(
                    QStringLiteral("insert into 收款记录(手机,客户编号,客户名称,地址,电话,主机序列号,金额,日期,经手人) "
                                   "values(?,?,?,?,?,?,?,?,?)"),
                    {Edit7->text(), number, Edit1->text(), Edit2->text(), Edit3->text(), serial, fee.toVariant(),
                     date, op});
        });
    } catch (const DbError& e) {
        msg().plain(this, e.text());
        return;
    }
    msg().info(this, QStringLiteral("维修资料录入成功！"), QStringLiteral("提示"));
    if (CheckBox1->isChecked())
        Receipts::print(*this, receipt);
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10})
        e->clear();
    DateTimePicker1->setDate(QDate::currentDate());
    Memo1->clear();
    BitBtn2->setEnabled(false);
    Edit1->setFocus();
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        ListView1->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
}
