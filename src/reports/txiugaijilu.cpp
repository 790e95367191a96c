#include "reports/txiugaijilu.h"
#include "data/dates.h"
#include "reports/print/printdbgrid.h"
#include "reports/reportparts.h"
#include "ui/fonts.h"
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kQuery = 19;

QDateEdit* datePicker(QWidget* parent, const char* name) {
    auto* d = new QDateEdit(parent);
    d->setObjectName(QString::fromLatin1(name));
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("yyyy-M-d"));
    return d;
}
} // namespace

Txiugaijilu::Txiugaijilu(Session& session, QWidget* parent) : Screen(session, parent) {
    setObjectName(QStringLiteral("Txiugaijilu"));
    setWindowTitle(QStringLiteral("修改记录查询"));
    setFont(Fonts::song());
    resize(placement().size());

    auto* outer = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    GroupBox1 = new QGroupBox(QStringLiteral("查询条件"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* q = new QHBoxLayout(GroupBox1);
    DateTimePicker1 = datePicker(GroupBox1, "DateTimePicker1");
    DateTimePicker2 = datePicker(GroupBox1, "DateTimePicker2");
    ComboBox1 = new QComboBox(GroupBox1);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMinimumWidth(90);
    q->addWidget(new QLabel(QStringLiteral("从"), GroupBox1));
    q->addWidget(DateTimePicker1);
    q->addWidget(new QLabel(QStringLiteral("到"), GroupBox1));
    q->addWidget(DateTimePicker2);
    q->addWidget(new QLabel(QStringLiteral("操作员"), GroupBox1));
    q->addWidget(ComboBox1);
    BitBtn1 = new QPushButton(QStringLiteral("查询"), GroupBox1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("退出"), GroupBox1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    q->addWidget(BitBtn1);
    q->addWidget(BitBtn2);
    top->addWidget(GroupBox1);
    QList<QAction*> items;
    MenuButton1 =
        ReportParts::printMenu(this, {{QStringLiteral("N1"), QStringLiteral("打印修改记录")}}, items);
    N1 = items[0];
    top->addWidget(MenuButton1, 0, Qt::AlignBottom);
    top->addStretch(1);
    outer->addLayout(top);

    DBGrid1 = ReportParts::grid(this, session, kQuery, QStringLiteral("DBGrid1"),
                                {{"时间", 130},
                                 {"操作员", 60},
                                 {"操作", 60},
                                 {"表名", 80},
                                 {"记录", 70},
                                 {"原值", 280},
                                 {"新值", 280}},
                                {{"时间", FooterCell::Text, "合计条数"}, {"操作员", FooterCell::Count, {}}});
    GroupBox2 = new QGroupBox(QStringLiteral("修改记录----双击表格倒出到EXCEL"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* lay = new QVBoxLayout(GroupBox2);
    lay->setContentsMargins(4, 4, 4, 4);
    DBGrid1->setParent(GroupBox2);
    lay->addWidget(DBGrid1);
    outer->addWidget(GroupBox2, 1);

    PrintDBGrid1 =
        new TPrintDBGrid(session, DBGrid1, PrintSettings::reportDefaults(QStringLiteral("修改记录")), this);

    connect(BitBtn1, &QPushButton::clicked, this, [this] { guarded([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { closeWindow(); });
    connect(N1, &QAction::triggered, this, [this] { guarded([this] { N1Click(); }); });
    connect(DBGrid1, &DataGrid::dblClicked, this, [this] { guarded([this] { DBGrid1DblClick(); }); });

    FormShow();
}

void Txiugaijilu::FormShow() {
    const QDate today = QDate::currentDate();
    DateTimePicker1->setDate(today.addMonths(-1));
    DateTimePicker2->setDate(today);
    ComboBox1->clear();
    ComboBox1->addItem(QString());
    guarded([this] {
        // The operators of the log too: a deleted operator's lines are still found.
        for (const Row& r : dm().ADOall.query(QStringLiteral(
                 "select 操作员 from 操作员 union select 操作员 from 修改记录 where 操作员<>'' order by 1")))
            ComboBox1->addItem(r.text(QStringLiteral("操作员")));
        // The grid starts with its titles and footer and no rows.
        dm().ADOQuery(kQuery).open(
            QStringLiteral("select 时间,操作员,操作,表名,记录,原值,新值 from 修改记录 where 0"));
    });
    ComboBox1->setCurrentIndex(0);
}

void Txiugaijilu::BitBtn1Click() {
    // Times are stored "yyyy-MM-dd HH:mm:ss": the period runs from the first day's start to the
    // last day's end.
    QVariantList params{Dates::toSql(DateTimePicker1->date()),
                        Dates::toSql(DateTimePicker2->date().addDays(1))};
    QString sql =
        QStringLiteral("select 时间,操作员,操作,表名,记录,原值,新值 from 修改记录 where 时间>=? and 时间<?");
    const QString op = ComboBox1->currentText().trimmed();
    if (!op.isEmpty()) {
        sql += QStringLiteral(" and 操作员=?");
        params << op;
    }
    dm().ADOQuery(kQuery).open(sql + QStringLiteral(" order by id desc"), params);
}

void Txiugaijilu::N1Click() {
    PrintDBGrid1->preview(this);
}

void Txiugaijilu::DBGrid1DblClick() {
    ReportParts::exportGrid(session(), this, *DBGrid1, QStringLiteral("修改记录"));
}
