#include "reports/register.h"
#include "reports/tchaxun.h"
#include "reports/thuizong.h"
#include "reports/tjiaokuanjilu.h"
#include "reports/txiugaijilu.h"
#include "reports/tyiri.h"
#include "reports/txuliehao.h"
#include "reports/print/printdbgrid.h"
#include "reports/reportparts.h"
#include "ui/gridoutput.h"
#include "ui/screenregistry.h"

namespace {
// Receipts and statements of the trade screens go through the report printer and the export.
void previewGrid(Session& session, QWidget* parent, const GridPrint& job) {
    PrintSettings settings = PrintSettings::reportDefaults(job.textBefore);
    QFont text(QStringLiteral("宋体"));
    text.setPointSize(11);
    settings.textBefore.font = text;
    settings.textAfter = {job.textAfter, text, Qt::AlignLeft};
    const double m = job.marginCm;
    settings.margins = {m, m, m, m};
    if (!job.paperMm.isEmpty()) {
        // A receipt: one narrow roll, no page header.
        settings.page = QPageLayout(QPageSize(job.paperMm, QPageSize::Millimeter, QStringLiteral("小票"), QPageSize::ExactMatch),
                                    QPageLayout::Portrait, QMarginsF());
        settings.pageHeader = {{}, {}, {}, settings.pageHeader.font, false};
    }
    // One printer per grid: the one of an earlier preview goes (the preview window forgets it).
    for (TPrintDBGrid* old : job.grid->findChildren<TPrintDBGrid*>(Qt::FindDirectChildrenOnly))
        delete old;
    auto* printer = new TPrintDBGrid(session, job.grid, settings, job.grid);
    printer->preview(parent);
}
} // namespace

void registerReportsScreens(ScreenRegistry& registry) {
    GridOutput::install(previewGrid, [](Session& session, QWidget* parent, DataGrid& grid, const QString& name) {
        ReportParts::exportGrid(session, parent, grid, name);
    });
    registry.addScreen(QStringLiteral("查询客户所有资料"), [](Session& s) { return new Tchaxun(s); });
    registry.addScreen(QStringLiteral("查询客户交款记录"), [](Session& s) { return new Tjiaokuanjilu(s); });
    registry.addScreen(QStringLiteral("一日销售、维修及帐款情况一览"),
                       [](Session& s) { return new Tyiri(s); });
    registry.addScreen(QStringLiteral("销售、维修及帐款情况汇总"),
                       [](Session& s) { return new Thuizong(s); });
    registry.addScreen(QStringLiteral("修改记录查询"), [](Session& s) { return new Txiugaijilu(s); });
    registry.addScreen(QStringLiteral("主机序列号查询"), [](Session& s) { return new Txuliehao(s); });
}
