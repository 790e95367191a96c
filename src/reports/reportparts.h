#pragma once
#include "ui/datagrid.h"
#include <QList>
#include <QPair>
#include <QString>

class QAction;
class QPushButton;
class QWidget;
class Session;

// Pieces the daily overview and the period summary share.
namespace ReportParts {

// A read-only result grid on shared query n with its columns and yellow footer row.
DataGrid* grid(QWidget* parent, Session& session, int query, const QString& name,
               const QList<GridColumn>& columns, const QList<FooterCell>& footer);

// The "打印" menu button with its items (objectName, caption), in order.
QPushButton* printMenu(QWidget* parent, const QList<QPair<QString, QString>>& items,
                       QList<QAction*>& actions);

// Saves a report grid to a file (double-click on the grid), proposing defaultName: the grid
// export command with its save dialog, success message and error report.
void exportGrid(Session& session, QWidget* parent, DataGrid& grid, const QString& defaultName);

} // namespace ReportParts
