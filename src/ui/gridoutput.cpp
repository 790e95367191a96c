#include "ui/gridoutput.h"
#include "data/tdm1.h"

namespace {
struct Installed {
    GridOutput::Preview preview;
    GridOutput::ExportFile exportFile;
};
Installed& installed() {
    static Installed i;
    return i;
}
} // namespace

namespace GridOutput {
void install(Preview preview, ExportFile exportFile) {
    installed() = {std::move(preview), std::move(exportFile)};
}

void preview(Session& session, QWidget* parent, const GridPrint& job) {
    if (!installed().preview)
        TDM1::fail(QStringLiteral("打印功能不可用"));
    installed().preview(session, parent, job);
}

void exportFile(Session& session, QWidget* parent, DataGrid& grid, const QString& defaultName) {
    if (!installed().exportFile)
        TDM1::fail(QStringLiteral("导出功能不可用"));
    installed().exportFile(session, parent, grid, defaultName);
}
} // namespace GridOutput
