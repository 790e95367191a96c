#include "reports/txuliehao.h"
#include "reports/queryform.h"
#include "reports/tchaxun.h"
#include "trade/entryform.h"
#include "ui/datagrid.h"
#include "ui/fonts.h"
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace QueryForm;

namespace {
// The shared queries of the four lists, in the order of SerialIndex::kTables.
constexpr int kQueries[] = {20, 21, 22, 23};
const char* const kTables[] = {"dinggou", "维修记录", "帐款明细", "收款记录"};

} // namespace

Txuliehao::Txuliehao(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Txuliehao"));
    setWindowTitle(QStringLiteral("主机序列号查询"));
    setFont(Fonts::song());
    resize(1020, 660);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 4, 6, 6);
    auto* top = new QHBoxLayout;
    outer->addLayout(top);
    auto* box = new QGroupBox(QStringLiteral("主机序列号查询"), this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    auto* line = new QHBoxLayout(box);
    line->addWidget(new QLabel(QStringLiteral("主机序列号"), box));
    Edit1 = new QLineEdit(box);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setToolTip(QStringLiteral("输入主机序列号（或其中一部分）后请回车"));
    Edit1->setMinimumWidth(260);
    line->addWidget(Edit1, 1);
    BitBtn1 = EntryForm::button(box, QStringLiteral("查询"), QStringLiteral("BitBtn1"));
    line->addWidget(BitBtn1);
    top->addWidget(box, 1);
    BitBtn2 = EntryForm::button(this, QStringLiteral("退出"), QStringLiteral("BitBtn2"));
    top->addStretch(1);
    top->addWidget(BitBtn2);

    TDM1& d = dm();
    DBGrid1 = gridGroup(
        session, this, QStringLiteral("销售记录"), QStringLiteral("GroupBox2"), QStringLiteral("DBGrid1"),
        d.ADOQuery(kQueries[0]),
        columns({{"日期", 90},
                 {"客户编号", 60},
                 {"客户名称", 90},
                 {"电话", 80},
                 {"手机", 100},
                 {"地址", 120},
                 {"订购型号", 90},
                 {"主机序列号", 110},
                 {"价格", 70},
                 {"客服人员", 65},
                 {"经手人", 60},
                 {"备注", 120}}),
        {text("客户名称", "合计次数"), filled("地址"), text("主机序列号", "合计金额"), sum("价格")});
    DBGrid2 = gridGroup(
        session, this, QStringLiteral("维修记录"), QStringLiteral("GroupBox3"), QStringLiteral("DBGrid2"),
        d.ADOQuery(kQueries[1]),
        columns({{"日期", 90},
                 {"客户编号", 60},
                 {"客户名称", 90},
                 {"电话", 80},
                 {"手机", 100},
                 {"地址", 120},
                 {"主机序列号", 110},
                 {"维修项目", 100},
                 {"维修费", 60},
                 {"经手人", 60},
                 {"备注", 130}}),
        {text("客户名称", "维修次数"), filled("地址"), text("维修项目", "维修费合计"), sum("维修费")});
    DBGrid3 = gridGroup(session, this, QStringLiteral("帐款明细"), QStringLiteral("GroupBox4"),
                        QStringLiteral("DBGrid3"), d.ADOQuery(kQueries[2]),
                        columns({{"日期", 90},
                                 {"客户编号", 60},
                                 {"客户名称", 90},
                                 {"电话", 80},
                                 {"手机", 100},
                                 {"地址", 130},
                                 {"主机序列号", 110},
                                 {"应付金额", 60},
                                 {"付款情况", 60},
                                 {"经手人", 75},
                                 {"备注", 120}}),
                        {text("客户名称", "合计笔数"), filled("地址")});
    DBGrid4 = gridGroup(
        session, this, QStringLiteral("收款记录"), QStringLiteral("GroupBox5"), QStringLiteral("DBGrid4"),
        d.ADOQuery(kQueries[3]),
        columns({{"日期", 90},
                 {"客户编号", 60},
                 {"客户名称", 90},
                 {"电话", 80},
                 {"手机", 100},
                 {"地址", 130},
                 {"主机序列号", 110},
                 {"金额", 70},
                 {"经手人", 75}}),
        {text("客户名称", "合计次数"), filled("地址"), text("主机序列号", "合计金额"), sum("金额")});
    for (DataGrid* grid : {DBGrid1, DBGrid2, DBGrid3, DBGrid4}) {
        outer->addWidget(grid->parentWidget(), 1);
        connect(grid, &DataGrid::dblClicked, this,
                [this, grid] { guarded([this, grid] { showCustomer(grid); }); });
    }

    EntryForm::tabOrder({Edit1, BitBtn1, BitBtn2});
    connect(Edit1, &QLineEdit::returnPressed, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeWindow(); });
    FormShow();
}

void Txuliehao::FormShow() {
    Edit1->clear();
    guarded([this] {
        for (int i = 0; i < 4; ++i)
            dm().ADOQuery(kQueries[i])
                .open(QStringLiteral("select * from %1 where 1=0")
                          .arg(TDM1::quoteId(QString::fromUtf8(kTables[i]))));
    });
    Edit1->setFocus();
}

void Txuliehao::BitBtn1Click() {
    // A serial read by a scanner or pasted often brings a blank along; the blanks around it are no part of
    // it.
    const QString serial = Edit1->text().trimmed();
    for (int i = 0; i < 4; ++i) {
        const QString table = QString::fromUtf8(kTables[i]);
        if (serial.isEmpty()) {
            dm().ADOQuery(kQueries[i])
                .open(QStringLiteral("select * from %1 where 1=0").arg(TDM1::quoteId(table)));
            continue;
        }
        QVariantList params;
        const QString sql = dm().serialSearchSql(table, serial, params);
        dm().ADOQuery(kQueries[i]).open(sql, params);
    }
}

void Txuliehao::showCustomer(DataGrid* grid) {
    const Row row = grid->currentRecord();
    if (row.isEmpty())
        return;
    QWidget* main = session().mainWindow();
    QWidget* screen = nullptr;
    if (main)
        QMetaObject::invokeMethod(main, "openScreen", Qt::DirectConnection, Q_RETURN_ARG(QWidget*, screen),
                                  Q_ARG(QString, QStringLiteral("查询客户所有资料")));
    auto* history = qobject_cast<Tchaxun*>(screen);
    if (!history)
        return;
    // The history lists the customer's records by number; a record without one, by the name it carries.
    const QString number = row.text(QStringLiteral("客户编号"));
    if (!number.isEmpty()) {
        history->Edit4->setText(number);
        history->listHistory(QStringLiteral("客户编号"), number);
    } else {
        history->Edit1->setText(row.text(QStringLiteral("客户名称")));
        history->listHistory(QStringLiteral("客户名称"), row.text(QStringLiteral("客户名称")));
    }
}
