#pragma once
#include <QSizeF>
#include <QString>
#include <functional>

class DataGrid;
class QWidget;
class Session;

// A grid printed through the report printer's preview, from a screen that does not know the
// report printer itself (the trade screens: receipts, statements). The reports area installs the
// printer and the export when its screens are registered.
struct GridPrint {
    DataGrid* grid = nullptr;
    QString textBefore; // above the grid, centred, on the first page
    QString textAfter;  // after the last row
    QSizeF paperMm;     // empty: the report pages' A4
    double marginCm = 2;
};

namespace GridOutput {
using Preview = std::function<void(Session&, QWidget* parent, const GridPrint&)>;
using ExportFile = std::function<void(Session&, QWidget* parent, DataGrid& grid, const QString& defaultName)>;
void install(Preview preview, ExportFile exportFile);
// Both throw DbError when nothing is installed.
void preview(Session& session, QWidget* parent, const GridPrint& job);
void exportFile(Session& session, QWidget* parent, DataGrid& grid, const QString& defaultName);
} // namespace GridOutput
