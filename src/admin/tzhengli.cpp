#include "admin/tzhengli.h"
#include "admin/childwindow.h"
#include "data/dates.h"
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Tzhengli::Tzhengli(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Tzhengli"));
    auto* layout = new QVBoxLayout(this);
    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* inner = new QVBoxLayout(GroupBox1);
    Label1 = new QLabel(QStringLiteral("历史数据删除（请谨慎操作）\n删除之前最好进行数据库备份"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    inner->addWidget(Label1);
    auto* line = new QHBoxLayout;
    auto* before = new QLabel(QStringLiteral("删除"), GroupBox1);
    before->setObjectName(QStringLiteral("Label2"));
    DateTimePicker1 = new QDateEdit(QDate::currentDate(), GroupBox1);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setCalendarPopup(true);
    DateTimePicker1->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    auto* after = new QLabel(QStringLiteral("之前的历史流水数据"), GroupBox1);
    after->setObjectName(QStringLiteral("Label3"));
    line->addWidget(before);
    line->addWidget(DateTimePicker1);
    line->addWidget(after);
    inner->addLayout(line);
    layout->addWidget(GroupBox1);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("退出"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { ChildWindow::close(this); });
}

void Tzhengli::BitBtn1Click() {
    if (!msg().ask(this, QStringLiteral("确实删除历史记录？该操作不可恢复！"),
                   QStringLiteral("删除历史记录")))
        return;
    const QString day = Dates::toSql(DateTimePicker1->date());
    // All four tables or none.
    dm().transaction([&] {
        QStringList tables;
        QStringList removed;
        for (const char* t : {"dinggou", "收款记录", "维修记录", "帐款明细"}) {
            const QString table = QString::fromUtf8(t);
            const int n =
                dm().ADOall.exec(QStringLiteral("delete from %1 where 日期<?").arg(TDM1::quoteId(table)), {day});
            tables << table;
            removed << QStringLiteral("%1：%2条").arg(table).arg(n);
        }
        dm().logChange(session().operatorNumber,
                       {QStringLiteral("清除历史"), tables.join(QStringLiteral("、")),
                        QStringLiteral("日期早于%1").arg(Dates::shortDate(DateTimePicker1->date())),
                        removed.join(QStringLiteral("；")), {}});
    });
    msg().info(this, QStringLiteral("删除成功！"), QStringLiteral("提示"));
}
