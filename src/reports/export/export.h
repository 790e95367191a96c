#pragma once
#include "reports/export/gridexport.h"
#include <QString>
#include <memory>

class DataGrid;
class QWidget;
class Session;

// Saving a report grid to a file: the command behind a double-click on the grids of the daily
// overview and the period summary.
//
//   void Tyiri::DBGrid1DblClick() { Export::run(session(), this, *DBGrid1, QStringLiteral("file1")); }
//
// Export::run shows the save dialog (through session.files()) with the proposed name and the five
// file types 文本, CSV, HTLM, RTF and XLS. XLS is chosen the first time; afterwards the type chosen
// last in the same window stays chosen (it is remembered on `parent`, so pass the screen itself).
// A name whose last three characters are not the type's extension gets "." and the extension.
// Then every row of the grid's result is written with its title row and footer row, and
// "倒出数据成功！" is shown. Cancelling the dialog does nothing. Every failure (a grid never
// queried, a file that cannot be written) is shown in the general error report, no success
// message follows, and an existing file keeps its contents. Returns true when a file was written.
namespace Export {

enum FileType { Text = 1, Csv = 2, Html = 3, Rtf = 4, Xls = 5 };

bool run(Session& session, QWidget* parent, DataGrid& grid, const QString& defaultName,
         const ExportOptions& options = {});

// The file-type list of the dialog, in order.
QStringList filters();
// The writer and the extension of a file type.
std::unique_ptr<TDBGridExport> writer(FileType type);
QString extension(FileType type);
// The name with "." and the extension appended unless its last three characters are the extension.
QString withExtension(const QString& fileName, const QString& extension);

} // namespace Export
