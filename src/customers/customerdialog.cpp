#include "customers/customerdialog.h"
#include "data/dates.h"
#include "ui/accessibility.h"
#include "ui/keys.h"
#include "ui/session.h"
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

namespace {

template <class W> W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}
} // namespace

qlonglong nextCustomerNumber(TDM1& dm) {
    const Row r = dm.ADOall.first(QStringLiteral(
        "select max(n) as 最大编号 from ("
        "select max(客户编号) as n from 客户信息 union all select max(客户编号) from dinggou "
        "union all select max(客户编号) from 维修记录 union all select max(客户编号) from 帐款明细 "
        "union all select max(客户编号) from 收款记录) as q"));
    QString text = r.text(QStringLiteral("最大编号"));
    if (text.trimmed().isEmpty())
        text = QStringLiteral("0");
    return Values::wholeNumber(text) + 1;
}

CustomerDialog::CustomerDialog(Session& session, Kind kind, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint),
      session_(session), kind_(kind) {
    setObjectName(kind == Kind::New ? QStringLiteral("Txinzengkehu") : QStringLiteral("Txiugaikehu"));
    setWindowTitle(kind == Kind::New ? QStringLiteral("新增客户档案") : QStringLiteral("修改客户档案"));
    setModal(true);
    if (kind == Kind::New)
        setFixedSize(385, 461);
    else
        setFixedSize(383, 455);

    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setReadOnly(true);
    Edit1->setToolTip(QStringLiteral("输入客户名称后请回车"));
    Edit2 = named(new QLineEdit(this), "Edit2");
    Edit3 = named(new QLineEdit(this), "Edit3");
    Edit4 = named(new QLineEdit(this), "Edit4");
    Edit5 = named(new QLineEdit(this), "Edit5");
    Edit5->setToolTip(QStringLiteral("输入客户电话后请回车"));
    ComboBox1 = named(new QComboBox(this), "ComboBox1");
    ComboBox2 = named(new QComboBox(this), "ComboBox2");
    for (QComboBox* c : {ComboBox1, ComboBox2}) {
        c->setEditable(true);
        // Typed text is never added to the lists; only picking an entry touches the address.
        c->setInsertPolicy(QComboBox::NoInsert);
    }
    Edit6 = named(new QLineEdit(this), "Edit6");
    Edit7 = named(new QLineEdit(this), "Edit7");
    DateTimePicker1 = named(new QDateEdit(this), "DateTimePicker1");
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    DateTimePicker1->setCalendarPopup(true);
    Memo1 = named(new QPlainTextEdit(this), "Memo1");
    Memo1->setTabChangesFocus(true);

    auto* grid = new QGridLayout;
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* box) {
        grid->addWidget(new QLabel(label, this), row, 0);
        grid->addWidget(box, row, 1, 1, 3);
        ++row;
    };
    addRow(QStringLiteral("客户编号"), Edit1);
    addRow(QStringLiteral("客户名称"), Edit2);
    addRow(QStringLiteral("身份证号"), Edit3);
    addRow(QStringLiteral("出生年"), Edit4);
    addRow(QStringLiteral("地址"), Edit5);
    grid->addWidget(new QLabel(QStringLiteral("选择乡镇"), this), row, 0);
    grid->addWidget(ComboBox1, row, 1);
    grid->addWidget(new QLabel(QStringLiteral("选择村庄"), this), row, 2);
    grid->addWidget(ComboBox2, row, 3);
    ++row;
    addRow(QStringLiteral("电话"), Edit6);
    addRow(QStringLiteral("手机"), Edit7);
    addRow(QStringLiteral("起用日期"), DateTimePicker1);
    grid->addWidget(new QLabel(QStringLiteral("备注"), this), row, 0, Qt::AlignTop);
    grid->addWidget(Memo1, row, 1, 1, 3);
    grid->setRowStretch(row, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    BitBtn1 = named(new QPushButton(QStringLiteral("保存"), this), "BitBtn1");
    if (kind == Kind::New)
        BitBtn2 = named(new QPushButton(QStringLiteral("下一个"), this), "BitBtn2");
    BitBtn3 = named(new QPushButton(QStringLiteral("退出"), this), "BitBtn3");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3}) {
        if (!b)
            continue;
        // Enter never presses a button of this dialog.
        b->setAutoDefault(false);
        b->setDefault(false);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    QWidget* tabOrder[] = {Edit1,     Edit2, Edit3, Edit4,           Edit5, ComboBox1,
                           ComboBox2, Edit6, Edit7, DateTimePicker1, Memo1, BitBtn1};
    for (size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Enter walks the boxes; the remark is the last stop and keeps Enter for its new lines.
    EnterChain* chain =
        EnterChain::install({Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, DateTimePicker1, Memo1});
    Memo1->removeEventFilter(chain);

    connect(ComboBox1, &QComboBox::activated, this,
            [this] { session_.guarded(this, [this] { ComboBox1Click(); }); });
    connect(ComboBox2, &QComboBox::activated, this, [this] { ComboBox2Click(); });
    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { session_.guarded(this, [this] { BitBtn1Click(); }); });
    if (BitBtn2)
        connect(BitBtn2, &QPushButton::clicked, this,
                [this] { session_.guarded(this, [this] { BitBtn2Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, &QDialog::reject);
    Accessibility::nameControls(this);
}

void CustomerDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // A window manager showing the dialog again (after a minimised main window) keeps what was typed.
    if (!e->spontaneous())
        session_.guarded(this, [this] { FormShow(); });
}

void CustomerDialog::FormShow() {
    if (kind_ == Kind::New) {
        clearBoxes();
        allocateNumber();
    }
    loadTownships();
    Edit2->setFocus();
}

void CustomerDialog::clearBoxes() {
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7})
        e->clear();
    DateTimePicker1->setDate(QDate::currentDate());
    Memo1->clear();
    BitBtn1->setEnabled(true);
}

void CustomerDialog::allocateNumber() {
    Edit1->setText(QString::number(nextCustomerNumber(session_.dm())));
}

void CustomerDialog::loadTownships() {
    ComboBox1->clear();
    ComboBox2->clear();
    for (const Row& r : session_.dm().ADOall.query(QStringLiteral("Select distinct 乡镇 from 乡镇 order by 乡镇")))
        ComboBox1->addItem(r.text(QStringLiteral("乡镇")));
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    loadVillages();
}

void CustomerDialog::loadVillages() {
    ComboBox2->clear();
    for (const Row& r : session_.dm().ADOall.query(
             QStringLiteral("Select distinct 村庄 from 乡镇 where 乡镇=? order by 村庄"), {ComboBox1->currentText()}))
        ComboBox2->addItem(r.text(QStringLiteral("村庄")));
    ComboBox2->setCurrentIndex(ComboBox2->count() > 0 ? 0 : -1);
}

void CustomerDialog::ComboBox1Click() {
    Edit5->setText(ComboBox1->currentText());
    loadVillages();
}

void CustomerDialog::ComboBox2Click() {
    Edit5->setText(Edit5->text() + ComboBox2->currentText());
}

bool CustomerDialog::complete() {
    if (Edit1->text().isEmpty() || Edit2->text().isEmpty()) {
        session_.messages().error(this, QStringLiteral("信息不完整！"), QStringLiteral("提示"));
        return false;
    }
    return true;
}

void CustomerDialog::BitBtn1Click() {
    if (!complete())
        return;
    const qlonglong number = Values::wholeNumber(Edit1->text());
    const QVariantList values{
        Edit3->text(),       Edit4->text(), Edit7->text(), number,
        Edit2->text(),       Edit5->text(), Edit6->text(), Dates::toSql(DateTimePicker1->date()),
        Memo1->toPlainText()};
    TDM1& dm = session_.dm();
    try {
        if (kind_ == Kind::New) {
            dm.transaction([&] {
                dm.ADOall.exec(
                    QStringLiteral("insert into 客户信息(身份证号,出生年,手机,客户编号,客户名称,地址,电话,"
                                   "起用日期,备注) values(?,?,?,?,?,?,?,?,?)"),
                    values);
            });
        } else {
            dm.transaction([&] {
                const Row before = dm.ADOall.first(
                    QStringLiteral("select rowid as r, * from 客户信息 where 客户编号=? order by rowid"), {number});
                const int changed = dm.ADOall.exec(
                    QStringLiteral(
                        "update 客户信息 set 身份证号=?,出生年=?,手机=?,客户编号=?,客户名称=?,地址=?,"
                        "电话=?,起用日期=?,备注=? where 客户编号=?"),
                    values + QVariantList{number});
                if (changed == 0)
                    TDM1::fail(QStringLiteral("此客户档案信息不存在！"));
                dm.logEdit(session_.operatorNumber, QStringLiteral("客户信息"), QString::number(number), before,
                           dm.rowOf(QStringLiteral("客户信息"), before.integer(QStringLiteral("r"))));
            });
        }
    } catch (const DbError& e) {
        session_.messages().plain(this, e.text());
        return;
    }
    if (kind_ == Kind::New) {
        session_.messages().info(this, QStringLiteral("客户档案新增成功！"), QStringLiteral("提示"));
        // The same customer cannot be stored twice; "下一个" enables it again.
        BitBtn1->setEnabled(false);
    } else {
        session_.messages().info(this, QStringLiteral("修改客户档案成功！"), QStringLiteral("提示"));
        accept();
    }
}

void CustomerDialog::BitBtn2Click() {
    clearBoxes();
    allocateNumber();
    Edit2->setFocus();
}

void CustomerDialog::fillFrom(const Row& customer) {
    const QString stored = customer.value(QStringLiteral("起用日期")).toString();
    const QDate date = Dates::fromSql(stored);
    if (!date.isValid())
        TDM1::fail(stored.isEmpty() ? QStringLiteral("此客户的起用日期为空，无法修改！")
                                    : QStringLiteral("“%1”不是有效的日期！").arg(stored));
    Edit1->setText(customer.text(QStringLiteral("客户编号")));
    Edit2->setText(customer.text(QStringLiteral("客户名称")));
    Edit5->setText(customer.text(QStringLiteral("地址")));
    Edit6->setText(customer.text(QStringLiteral("电话")));
    Edit7->setText(customer.text(QStringLiteral("手机")));
    Edit3->setText(customer.text(QStringLiteral("身份证号")));
    Edit4->setText(customer.text(QStringLiteral("出生年")));
    Memo1->setPlainText(customer.text(QStringLiteral("备注")));
    DateTimePicker1->setDate(date);
    BitBtn1->setEnabled(true);
}
