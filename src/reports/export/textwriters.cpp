#include "reports/export/gbk.h"
#include "reports/export/gridexport.h"

// ---- Text: cells separated by TAB, rows by CR LF, nothing quoted ----

void TDBGridExportAsText::writePrefix() {
    firstRow_ = true;
    firstCell_ = true;
}

void TDBGridExportAsText::startRow() {
    // Line breaks go between rows only: none before the first and none after the last.
    if (!firstRow_)
        put("\r\n");
    firstRow_ = false;
    firstCell_ = true;
}

void TDBGridExportAsText::writeTitleRow(const QList<ExportCell>& cells) {
    startRow();
    TDBGridExport::writeTitleRow(cells);
}

void TDBGridExportAsText::writeDataRow(const QList<ExportCell>& cells) {
    startRow();
    TDBGridExport::writeDataRow(cells);
}

void TDBGridExportAsText::writeFooterRow(const QList<ExportFooterCell>& cells) {
    startRow();
    TDBGridExport::writeFooterRow(cells);
}

void TDBGridExportAsText::writeText(const QString& text) {
    if (!firstCell_)
        put(QByteArray(1, separator()));
    firstCell_ = false;
    put(cellBytes(text));
}

QByteArray TDBGridExportAsText::cellBytes(const QString& text) const {
    return Gbk::encode(text);
}

// ---- CSV: as text, separated by ";", every cell in double quotes ----

QByteArray TDBGridExportAsCSV::cellBytes(const QString& text) const {
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return '"' + Gbk::encode(quoted) + '"';
}
