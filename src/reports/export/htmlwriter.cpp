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

void appendColor(QByteArray& out, QRgb rgb) {
    static const char digits[] = "0123456789ABCDEF";
    for (int shift = 20; shift >= 0; shift -= 4)
        out += digits[(rgb >> shift) & 0xF];
}

// The opening tags of a font; the cells of a column share one font, so the last one is kept.
const QByteArray& fontStart(const ExportFont& font) {
    static thread_local ExportFont last;
    static thread_local QByteArray markup;
    if (markup.isEmpty() || font.name != last.name || font.points != last.points || font.color != last.color ||
        font.bold != last.bold || font.italic != last.italic || font.underline != last.underline ||
        font.strikeOut != last.strikeOut) {
        last = font;
        markup = "<FONT STYLE=\"font-family: " + Gbk::encode(font.name) + "; font-size: " +
                 QByteArray::number(font.points) + "pt; color: #";
        appendColor(markup, font.color);
        markup += "\">";
        if (font.bold)
            markup += "<B>";
        if (font.italic)
            markup += "<I>";
        if (font.underline)
            markup += "<U>";
        if (font.strikeOut)
            markup += "<STRIKE>";
    }
    return markup;
}

void appendFontMarkup(QByteArray& out, const QString& text, const ExportFont& font) {
    out += fontStart(font);
    if (text.isEmpty()) {
        out += "&nbsp;";
    } else {
        bool plain = true;
        for (const QChar c : text)
            if (c == u'&' || c == u'<' || c == u'>' || c == u'"') {
                plain = false;
                break;
            }
        if (plain) {
            out += Gbk::encode(text);
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
    }
    if (font.bold)
        out += "</B>";
    if (font.italic)
        out += "</I>";
    if (font.underline)
        out += "</U>";
    if (font.strikeOut)
        out += "</STRIKE>";
    out += "</FONT>";
}

template <typename Cell>
void appendCell(QByteArray& out, const Cell& cell, bool background) {
    out += "  <TD WIDTH=";
    out += QByteArray::number(cell.width);
    out += " ALIGN=\"";
    out += alignWord(cell.align);
    out += '"';
    if (background) {
        out += " BGCOLOR=#";
        appendColor(out, cell.background);
    }
    out += '>';
    appendFontMarkup(out, cell.text, cell.font);
    out += "</TD>\r\n";
}
} // namespace

QByteArray TDBGridExportAsHTML::color(QRgb rgb) {
    QByteArray out;
    appendColor(out, rgb);
    return out;
}

QByteArray TDBGridExportAsHTML::fontMarkup(const QString& text, const ExportFont& font) {
    QByteArray out;
    appendFontMarkup(out, text, font);
    return out;
}

void TDBGridExportAsHTML::writePrefix() {
    put("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n"
        "<HTML>\r\n"
        "<HEAD>\r\n"
        // Readers outside a Chinese system would take the bytes for Latin-1 without this line.
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=GB18030\">\r\n"
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
    // The whole row's markup in one buffer, written at once.
    row_.resize(0);
    row_ += "<TR>\r\n";
    for (const ExportCell& cell : cells)
        appendCell(row_, cell, true);
    row_ += "</TR>\r\n";
    put(row_);
}

void TDBGridExportAsHTML::writeFooterRow(const QList<ExportFooterCell>& cells) {
    put("<TR>\r\n");
    TDBGridExport::writeFooterRow(cells);
    put("</TR>\r\n");
}

void TDBGridExportAsHTML::writeTitleCell(const ExportCell& cell, int, bool) {
    QByteArray out;
    appendCell(out, cell, false);
    put(out);
}

void TDBGridExportAsHTML::writeDataCell(const ExportCell& cell, int, bool) {
    QByteArray out;
    appendCell(out, cell, true);
    put(out);
}

void TDBGridExportAsHTML::writeFooterCell(const ExportFooterCell& cell, int, bool) {
    QByteArray out;
    appendCell(out, cell, true);
    put(out);
}

void TDBGridExportAsHTML::writeSuffix() {
    put("</TABLE>\r\n"
        "</BODY>\r\n"
        "</HTML>\r\n");
}
