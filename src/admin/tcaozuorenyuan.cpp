#include "admin/tcaozuorenyuan.h"
#include "admin/childwindow.h"
#include "admin/txinzengcaozuorenyuan.h"
#include "admin/txiugaicaozuoyuan.h"
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
// The row of the table that a grid row shows.
constexpr int RowIdRole = Qt::UserRole + 1;

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QTableWidgetItem* cell(const QString& text, qlonglong rowId) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setData(RowIdRole, rowId);
    return item;
}
} // namespace

Tcaozuorenyuan::Tcaozuorenyuan(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tcaozuorenyuan"));
    auto* layout = new QVBoxLayout(this);
    auto* frames = new QHBoxLayout;
    layout->addLayout(frames);

    GroupBox1 = new QGroupBox(QStringLiteral("操作人员列表"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* left = new QVBoxLayout(GroupBox1);
    StringGrid1 = new QTableWidget(0, 2, GroupBox1);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setHorizontalHeaderLabels({QStringLiteral("编号"), QStringLiteral("姓名")});
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    StringGrid1->horizontalHeader()->setFixedHeight(20);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setDefaultSectionSize(21);
    StringGrid1->setColumnWidth(0, 88);
    StringGrid1->setColumnWidth(1, 88);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setToolTip(QStringLiteral("双击编号即在右边显示该操作人员的权限！"));
    StringGrid1->setMinimumWidth(88 * 2 + 24);
    left->addWidget(StringGrid1);
    frames->addWidget(GroupBox1);

    GroupBox2 = new QGroupBox(QStringLiteral("权限列表"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* grid = new QGridLayout(GroupBox2);
    boxes =
        Permissions::build(GroupBox2, grid, {{1, 2, 3, 4, 5, 6, 17, 7, 8}, {13, 9, 14, 10, 11, 12, 15, 16}});
    frames->addWidget(GroupBox2);

    auto* buttons = new QHBoxLayout;
    BitBtn1 = button(this, "BitBtn1", QStringLiteral("新增"));
    BitBtn2 = button(this, "BitBtn2", QStringLiteral("修改"));
    BitBtn3 = button(this, "BitBtn3", QStringLiteral("删除"));
    BitBtn4 = button(this, "BitBtn4", QStringLiteral("退出"));
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3, BitBtn4})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
            [this] { guarded([this] { showRights(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn2Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn3Click(); }); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { ChildWindow::close(this); });
}

void Tcaozuorenyuan::showEvent(QShowEvent* e) {
    Screen::showEvent(e);
    watchSubWindow();
    guarded([this] { rebuild(); });
}

bool Tcaozuorenyuan::event(QEvent* e) {
    // Standing alone, the screen is its own window: coming back to it reads the list again.
    if (e->type() == QEvent::WindowActivate && isWindow())
        guarded([this] { rebuild(); });
    return Screen::event(e);
}

void Tcaozuorenyuan::watchSubWindow() {
    if (watching_)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        watching_ = true;
        connect(sub, &QMdiSubWindow::aboutToActivate, this, [this] { guarded([this] { rebuild(); }); });
    }
}

void Tcaozuorenyuan::rebuild() {
    StringGrid1->clearContents();
    StringGrid1->setRowCount(0);
    const auto rows =
        dm().ADOall.query(QStringLiteral("select rowid as rid, 操作员, 姓名 from 操作员 order by rowid"));
    for (const Row& r : rows) {
        const QString number = r.text(QStringLiteral("操作员"));
        const QString name = r.text(QStringLiteral("姓名"));
        if (number.isEmpty() && name.isEmpty())
            continue;
        const int at = StringGrid1->rowCount();
        StringGrid1->insertRow(at);
        StringGrid1->setItem(at, 0, cell(number, r.integer(QStringLiteral("rid"))));
        StringGrid1->setItem(at, 1, cell(name, r.integer(QStringLiteral("rid"))));
    }
    if (StringGrid1->rowCount() > 0)
        StringGrid1->selectRow(0);
    showRights();
}

void Tcaozuorenyuan::showRights() {
    const int r = StringGrid1->currentRow();
    if (r < 0 || !StringGrid1->item(r, 0)) {
        Permissions::show(boxes, Row());
        return;
    }
    const qlonglong rowId = StringGrid1->item(r, 0)->data(RowIdRole).toLongLong();
    Permissions::show(boxes,
                      dm().ADOall.first(QStringLiteral("select * from 操作员 where rowid=?"), {rowId}));
}

void Tcaozuorenyuan::BitBtn1Click() {
    ChildWindow::findOrOpen(this, QStringLiteral("新增操作人员"), [this] {
        auto* w = new Txinzengcaozuorenyuan(session());
        connect(w, &Txinzengcaozuorenyuan::saved, this, [this] { guarded([this] { rebuild(); }); });
        return w;
    });
}

void Tcaozuorenyuan::BitBtn2Click() {
    const int r = StringGrid1->currentRow();
    if (r < 0 || !StringGrid1->item(r, 0))
        return;
    const QString number = StringGrid1->item(r, 0)->text();
    if (number == QStringLiteral("0001")) {
        msg().error(this,
                    QStringLiteral("对不起！系统管理员的信息不能修改！如要修改密码，请点击“密码修改”！"),
                    QStringLiteral("提示"));
        return;
    }
    auto& dialog = session().dialog<Txiugaicaozuoyuan>();
    dialog.setOperator(number, StringGrid1->item(r, 0)->data(RowIdRole).toLongLong());
    dialog.exec();
    rebuild();
}

void Tcaozuorenyuan::BitBtn3Click() {
    const int r = StringGrid1->currentRow();
    if (r < 0 || !StringGrid1->item(r, 0))
        return;
    const QString number = StringGrid1->item(r, 0)->text();
    const QString name = StringGrid1->item(r, 1) ? StringGrid1->item(r, 1)->text() : QString();
    const qlonglong rowId = StringGrid1->item(r, 0)->data(RowIdRole).toLongLong();
    if (number == QStringLiteral("0001") && name == QStringLiteral("系统管理员")) {
        msg().error(this, QStringLiteral("对不起！系统管理员不能删除！"), QStringLiteral("提示"));
        return;
    }
    if (!msg().ask(this, QStringLiteral("确实删除记录？该操作不可恢复！"), QStringLiteral("删除记录")))
        return;
    // Only the row shown goes: another operator under the same number stays.
    dm().transaction([&] {
        const Row before = dm().rowOf(QStringLiteral("操作员"), rowId);
        if (dm().ADOall.exec(QStringLiteral("delete from 操作员 where rowid=? and 操作员=?"), {rowId, number}) == 1)
            dm().logDelete(session().operatorNumber, QStringLiteral("操作员"), number, before);
    });
    msg().info(this, QStringLiteral("删除操作人员成功！"), QStringLiteral("提示"));
    rebuild();
}
