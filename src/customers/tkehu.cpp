#include "customers/tkehu.h"
#include "ui/fonts.h"
#include "customers/screenutil.h"
#include "customers/txinzengkehu.h"
#include "customers/txiugaikehu.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const int kQuery = 3;
// The row key rides along unseen, so a delete removes exactly the row shown.
QString list(const TDM1& dm) { return QStringLiteral("select %1 from 客户信息").arg(dm.withKey()); }

} // namespace

Tkehu::Tkehu(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tkehu"));
    setWindowTitle(QStringLiteral("客户档案"));
    resize(1020, 604);
    setFont(Fonts::song());

    auto* GroupBox1 = new QGroupBox(QStringLiteral("操作导航"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    ToolBar1 = new QToolBar(GroupBox1);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto addButton = [this](const char* name, const QString& text, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(ToolBar1);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(text);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        ToolBar1->addWidget(b);
        return b;
    };
    ToolButton1 = addButton("ToolButton1", QStringLiteral("新增"), QStyle::SP_FileIcon);
    ToolButton2 = addButton("ToolButton2", QStringLiteral("修改"), QStyle::SP_FileDialogDetailedView);
    ToolButton3 = addButton("ToolButton3", QStringLiteral("删除"), QStyle::SP_TrashIcon);
    ToolButton4 = addButton("ToolButton4", QStringLiteral("刷新"), QStyle::SP_BrowserReload);
    ToolButton5 = addButton("ToolButton5", QStringLiteral("退出"), QStyle::SP_DialogCloseButton);
    (new QHBoxLayout(GroupBox1))->addWidget(ToolBar1);

    auto* GroupBox2 = new QGroupBox(QStringLiteral("模糊查找"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    ComboBox1 = new QComboBox(GroupBox2);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    Edit1 = new QLineEdit(GroupBox2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    BitBtn1 = new QPushButton(QStringLiteral("查找"), GroupBox2);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    auto* search = new QHBoxLayout(GroupBox2);
    search->addWidget(ComboBox1);
    search->addWidget(new QLabel(QStringLiteral("包含"), GroupBox2));
    search->addWidget(Edit1, 1);
    search->addWidget(BitBtn1);

    auto* GroupBox3 = new QGroupBox(QStringLiteral("客户档案列表"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    DBGrid1 = new DataGrid(GroupBox3);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setToolTip(QStringLiteral("单击列头可实现排序"));
    DBGrid1->bind(session, dm().ADOQuery(kQuery));
    DBGrid1->setColumns({{QStringLiteral("客户编号"), 55, {}},
                         {QStringLiteral("客户名称"), 140, {}},
                         {QStringLiteral("身份证号"), 120, {}},
                         {QStringLiteral("出生年"), 50, {}},
                         {QStringLiteral("地址"), 230, {}},
                         {QStringLiteral("电话"), 80, {}},
                         {QStringLiteral("手机"), 120, {}},
                         {QStringLiteral("起用日期"), 70, {}},
                         {QStringLiteral("备注"), 100, {}}});
    (new QVBoxLayout(GroupBox3))->addWidget(DBGrid1);

    auto* top = new QHBoxLayout;
    top->addWidget(GroupBox1);
    top->addWidget(GroupBox2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(GroupBox3, 1);

    connect(ToolButton1, &QToolButton::clicked, this, [this] { guarded([this] { ToolButton1Click(); }); });
    connect(ToolButton2, &QToolButton::clicked, this, [this] { guarded([this] { ToolButton2Click(); }); });
    connect(ToolButton3, &QToolButton::clicked, this, [this] { guarded([this] { ToolButton3Click(); }); });
    connect(ToolButton4, &QToolButton::clicked, this, [this] { guarded([this] { ToolButton4Click(); }); });
    connect(ToolButton5, &QToolButton::clicked, this, [this] { ScreenUtil::closeScreen(this); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
}

void Tkehu::showEvent(QShowEvent* e) {
    Screen::showEvent(e);
    if (!shown_) {
        shown_ = true;
        FormShow();
    }
}

void Tkehu::FormShow() {
    guarded([this] { dm().ADOQuery(kQuery).open(list(dm())); });
    ComboBox1->clear();
    ComboBox1->addItems(
        {QStringLiteral("客户名称"), QStringLiteral("地址"), QStringLiteral("电话"), QStringLiteral("手机")});
    ComboBox1->setCurrentIndex(0);
    Edit1->clear();
}

void Tkehu::ToolButton1Click() {
    session().dialog<Txinzengkehu>().exec();
}

void Tkehu::ToolButton2Click() {
    if (DBGrid1->rowCount() == 0)
        return;
    const Row customer = DBGrid1->currentRecord();
    if (customer.isEmpty())
        return;
    auto& dialog = session().dialog<Txiugaikehu>();
    dialog.fill(customer);
    dialog.exec();
}

void Tkehu::ToolButton3Click() {
    if (DBGrid1->rowCount() == 0)
        return;
    const int row = DBGrid1->currentRowIndex();
    const Row customer = DBGrid1->currentRecord();
    if (customer.isEmpty())
        return;
    if (!msg().ask(this, QStringLiteral("确实要删除该客户档案吗？注意：该操作不可恢复！"),
                   QStringLiteral("系统提示")))
        return;
    // Only the customer row goes; the customer's sales, repairs, entries and receipts stay.
    const qlonglong rowid = customer.integer(QStringLiteral("rowid"));
    dm().transaction([&] {
        const Row before = dm().rowOf(QStringLiteral("客户信息"), rowid);
        if (dm().ADOall.exec(QStringLiteral("delete from 客户信息 where rowid=?"), {rowid}) == 0)
            TDM1::fail(QStringLiteral("此客户档案信息不存在！"));
        dm().logDelete(session().operatorNumber, QStringLiteral("客户信息"), before.text(QStringLiteral("客户编号")),
                       before);
    });
    dm().ADOQuery(kQuery).reopen();
    reselect(row);
}

void Tkehu::ToolButton4Click() {
    dm().ADOQuery(kQuery).open(list(dm()));
}

void Tkehu::BitBtn1Click() {
    // The column box is editable: only a real column of the customer table is searched.
    const QString column = dm().checkColumn(QStringLiteral("客户信息"), ComboBox1->currentText());
    dm().ADOQuery(kQuery).open(list(dm()) + QStringLiteral(" where ") + dm().contains(column),
                               {Values::containsPattern(Edit1->text())});
}

void Tkehu::reselect(int row) {
    ScreenUtil::selectRow(DBGrid1, row);
}
