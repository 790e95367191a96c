#include "reports/export/gbk.h"
#include "reports/export/gridexport.h"

namespace {
const char* alignWord(ExportAlign a) {
    switch (a) {
    case ExportAlign::Left:
        return "LEFT";
    case ExportAlign::Right:
        return "RIGHT";
    case ExportAlign::Center:
        break;
    }
    return "CENTER";
}

QByteArray cellStart(int width, ExportAlign align) {
    return "  <TD WIDTH=" + QByteArray::number(width) + " ALIGN=\"" + alignWord(align) + '"';
}
} // namespace

QByteArray TDBGridExportAsHTML::color(QRgb rgb) {
    return QByteArray::number(rgb & 0xFFFFFF, 16).rightJustified(6, '0').toUpper();
}

QByteArray TDBGridExportAsHTML::fontMarkup(const QString& text, const ExportFont& font) {
    QByteArray out = "<FONT STYLE=\"font-family: " + Gbk::encode(font.name) +
                     "; font-size: " + QByteArray::number(font.points) + "pt; color: #" + color(font.color) +
                     "\">";
    if (font.bold)
        out += "<B>";
    if (font.italic)
        out += "<I>";
    if (font.underline)
        out += "<U>";
    if (font.strikeOut)
        out += "<STRIKE>";
    if (text.isEmpty()) {
        out += "&nbsp;";
    } else {
        QString t = text;
        // Every entity ends with its semicolon: without it a reader takes a ";" that follows
        // ("&quot;") for the entity's end and the value loses it.
        t.replace(u'&', QStringLiteral("&amp;"))
            .replace(u'<', QStringLiteral("&lt;"))
            .replace(u'>', QStringLiteral("&gt;"))
            .replace(u'"', QStringLiteral("&quot;"));
        out += Gbk::encode(t);
    }
    if (font.bold)
        out += "</B>";
    if (font.italic)
        out += "</I>";
    if (font.underline)
        out += "</U>";
    if (font.strikeOut)
        out += "</STRIKE>";
    return out + "</FONT>";
}

void TDBGridExportAsHTML::writePrefix() {
    put("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n"
        "<HTML>\r\n"
        "<HEAD>\r\n"
        // Readers outside a Chinese system would take the bytes for Latin-1 without this line.
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=GBK\">\r\n"
        "<TITLE>\r\n");
    put(Gbk::encode(look().gridName) + "\r\n");
    put("</TITLE>\r\n"
        "</HEAD>\r\n"
        "<BODY>\r\n");
    QByteArray table = "<TABLE ";
    if (!look().linesDrawn)
        table += "BORDER=0 CELLSPACING=0 CELLPADDING=";
    else if (look().threeD)
        table += "BORDER=1 CELLSPACING=0 CELLPADDING=";
    else
        table += "BORDER=0 CELLSPACING=1 CELLPADDING=";
    table += look().threeD ? "2" : "1";
    table += " BGCOLOR=#" + color(look().fixedColor) + ">\r\n\r\n";
    put(table);
}

void TDBGridExportAsHTML::writeTitleRow(const QList<ExportCell>& cells) {
    put("<TR>\r\n");
    TDBGridExport::writeTitleRow(cells);
    put("</TR>\r\n");
}

void TDBGridExportAsHTML::writeDataRow(const QList<ExportCell>& cells) {
    put("<TR>\r\n");
    TDBGridExport::writeDataRow(cells);
    put("</TR>\r\n");
}

void TDBGridExportAsHTML::writeFooterRow(const QList<ExportFooterCell>& cells) {
    put("<TR>\r\n");
    TDBGridExport::writeFooterRow(cells);
    put("</TR>\r\n");
}

void TDBGridExportAsHTML::writeTitleCell(const ExportCell& cell, int, bool) {
    put(cellStart(cell.width, cell.align) + '>' + fontMarkup(cell.text, cell.font) + "</TD>\r\n");
}

void TDBGridExportAsHTML::writeDataCell(const ExportCell& cell, int, bool) {
    put(cellStart(cell.width, cell.align) + " BGCOLOR=#" + color(cell.background) + '>' +
        fontMarkup(cell.text, cell.font) + "</TD>\r\n");
}

void TDBGridExportAsHTML::writeFooterCell(const ExportFooterCell& cell, int, bool) {
    put(cellStart(cell.width, cell.align) + " BGCOLOR=#" + color(cell.background) + '>' +
        fontMarkup(cell.text, cell.font) + "</TD>\r\n");
}

void TDBGridExportAsHTML::writeSuffix() {
    put("</TABLE>\r\n"
        "</BODY>\r\n"
        "</HTML>\r\n");
}
