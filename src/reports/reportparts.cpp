#include "reports/reportparts.h"
#include "reports/export/export.h"
#include "ui/session.h"
#include <QAction>
#include <QMenu>
#include <QPushButton>

namespace ReportParts {

DataGrid* grid(QWidget* parent, Session& session, int query, const QString& name,
               const QList<GridColumn>& columns, const QList<FooterCell>& footer) {
    auto* g = new DataGrid(parent);
    g->setObjectName(name);
    g->bind(session, session.dm().ADOQuery(query));
    g->setColumns(columns);
    g->setFooter(footer);
    return g;
}

QPushButton* printMenu(QWidget* parent, const QList<QPair<QString, QString>>& items,
                       QList<QAction*>& actions) {
    auto* button = new QPushButton(QStringLiteral("打印"), parent);
    button->setObjectName(QStringLiteral("MenuButton1"));
    auto* menu = new QMenu(button);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    for (const auto& [name, caption] : items) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        actions.append(a);
    }
    button->setMenu(menu);
    return button;
}

void exportGrid(Session& session, QWidget* parent, DataGrid& grid, const QString& defaultName) {
    Export::run(session, parent, grid, defaultName);
}

} // namespace ReportParts
