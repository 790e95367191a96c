#include "trade/statement.h"
#include "data/dates.h"
#include "ui/datagrid.h"
#include "ui/gridoutput.h"
#include "ui/screen.h"

namespace Statement {

DataGrid* grid(Screen& screen, const QVariant& number) {
    Session& session = screen.session();
    if (number.isNull() || number.toString().isEmpty()) {
        session.messages().error(&screen, QStringLiteral("没有可以打印对账单的客户！"),
                                 QStringLiteral("提示"));
        return nullptr;
    }
    if (auto* old = screen.findChild<DataGrid*>(QStringLiteral("StatementGrid"), Qt::FindDirectChildrenOnly))
        old->deleteLater();
    auto* g = new DataGrid(&screen);
    g->setObjectName(QStringLiteral("StatementGrid"));
    g->hide();
    const QString sql =
        QStringLiteral("select * from 帐款明细 where 客户编号=? and 付款情况='未付款' and 应付金额<>0 "
                       "order by 日期, id");
    auto* query = new SharedQuery(session.dm(), 0, sql);
    query->setParent(g);
    g->bind(session, *query);
    g->setColumns({{QStringLiteral("日期"), 90, {}},
                   {QStringLiteral("客户编号"), 60, {}},
                   {QStringLiteral("客户名称"), 90, {}},
                   {QStringLiteral("主机序列号"), 110, {}},
                   {QStringLiteral("应付金额"), 70, {}},
                   {QStringLiteral("备注"), 120, {}}});
    // The shop and the day travel in the footer, so an exported statement carries them too.
    g->setFooter({{QStringLiteral("日期"), FooterCell::Text, Dates::shortDate(QDate::currentDate())},
                  {QStringLiteral("客户名称"), FooterCell::Text, session.shopName},
                  {QStringLiteral("主机序列号"), FooterCell::Text, QStringLiteral("合计欠款")},
                  {QStringLiteral("应付金额"), FooterCell::Sum, {}}});
    query->open(sql, {number});
    return g;
}

void print(Screen& screen, const QVariant& number) {
    DataGrid* g = grid(screen, number);
    if (!g)
        return;
    Session& session = screen.session();
    const Row customer =
        session.dm().ADOall.first(QStringLiteral("select 客户名称 from 客户信息 where 客户编号=?"), {number});
    QString name = customer.text(QStringLiteral("客户名称"));
    if (name.isEmpty() && g->rowCount() > 0)
        name = g->cellText(0, QStringLiteral("客户名称"));
    const QString before =
        QStringList{session.shopName, QStringLiteral("对账单"),
                    QStringLiteral("客户编号：%1    客户名称：%2").arg(number.toString(), name),
                    QStringLiteral("日期：") + Dates::longDate(QDate::currentDate())}
            .join(u'\n');
    const QString after =
        QStringLiteral("合计欠款：%1元").arg(g->query()->sum(QStringLiteral("应付金额")).toString());
    GridOutput::preview(session, &screen, {g, before, after, {}, 2});
}

void exportFile(Screen& screen, const QVariant& number) {
    DataGrid* g = grid(screen, number);
    if (!g)
        return;
    GridOutput::exportFile(screen.session(), &screen, *g, QStringLiteral("对账单%1").arg(number.toString()));
}

} // namespace Statement
