#include "reports/export/gbk.h"
#include "reports/export/gridexport.h"

namespace {
QByteArray num(qint64 n) {
    return QByteArray::number(n);
}
} // namespace

QByteArray TDBGridExportAsRTF::escape(const QString& text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += char(c.unicode());
        } else if (c == u'\r') {
            // A line break of a remark stays a line break in the cell; CR LF counts once.
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += "\\line ";
        } else if (c == u'\n') {
            out += "\\line ";
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c.unicode() < 0x80) {
            out += char(c.unicode());
        } else {
            const qsizetype len =
                c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
            const QStringView ch = QStringView(text).mid(i, len);
            if (Gbk::fitsGbk(ch)) {
                // Each byte of a Chinese character as a hex escape: a second byte may be "\", "{"
                // or "}", which a reader would otherwise take for RTF.
                for (const char b : Gbk::encode(ch))
                    out += "\\'" + QByteArray::number(uchar(b), 16).rightJustified(2, '0');
            } else {
                // No code page byte for it: its UTF-16 units, with "?" for readers that know none.
                for (const QChar u : ch)
                    out += "\\u" + num(qint16(u.unicode())) + '?';
            }
            i += len - 1;
        }
    }
    return out;
}

int TDBGridExportAsRTF::colorIndex(QRgb rgb) {
    rgb |= 0xFF000000;
    int i = int(colors_.indexOf(rgb));
    if (i < 0) {
        colors_.append(rgb);
        i = int(colors_.size() - 1);
    }
    return i;
}

int TDBGridExportAsRTF::fontIndex(const QString& name) {
    int i = int(fonts_.indexOf(name));
    if (i < 0) {
        fonts_.append(name);
        i = int(fonts_.size() - 1);
    }
    return i;
}

void TDBGridExportAsRTF::writePrefix() {
    body_.clear();
    fonts_.clear();
    colors_.clear();
    colorIndex(0xFF000000);
    colorIndex(0xFFFFFFFF);
    colorIndex(ExportColors::ButtonFace);
}

void TDBGridExportAsRTF::writeRow(const QList<Cell>& cells) {
    body_ += "\\trowd\\trgaph40\r\n";
    qint64 right = 0;
    for (const Cell& c : cells) {
        // Screen pixels at 96 dots per inch into twips, each column to the nearest twip.
        right += qRound64(c.width * 1440.0 / 96.0);
        for (const char* border : {"\\clbrdrl", "\\clbrdrt", "\\clbrdrb", "\\clbrdrr"})
            body_ += QByteArray(border) + "\\brdrs\\brdrcf0\r\n";
        body_ += "\\clshdng10000\\clcfpat" + num(colorIndex(c.background)) + "\\cellx" + num(right) + "\r\n";
    }
    body_ += "{\\trrh0\r\n";
    const QByteArray spacing = look().threeD ? "24" : "12";
    for (const Cell& c : cells) {
        body_ += "\\pard\\intbl{";
        body_ += c.align == ExportAlign::Left ? "\\ql" : c.align == ExportAlign::Right ? "\\qr" : "\\qc";
        body_ += "\\sb" + spacing + "\\sa" + spacing;
        body_ += "\\fs" + num(c.font.points * 2);
        if (c.font.bold)
            body_ += "\\b";
        if (c.font.italic)
            body_ += "\\i";
        if (c.font.strikeOut)
            body_ += "\\strike";
        if (c.font.underline)
            body_ += "\\ul";
        body_ += "\\f" + num(fontIndex(c.font.name));
        body_ += "\\cf" + num(colorIndex(c.font.color));
        body_ += "\\cb" + num(colorIndex(c.background));
        body_ += ' ' + escape(c.text) + "\\cell}\r\n";
    }
    body_ += "\\pard\\intbl\\row}\r\n";
}

void TDBGridExportAsRTF::writeTitleRow(const QList<ExportCell>& cells) {
    QList<Cell> row;
    for (const ExportCell& c : cells)
        row.append({c.text, c.align, c.background, c.font, c.width});
    writeRow(row);
}

void TDBGridExportAsRTF::writeDataRow(const QList<ExportCell>& cells) {
    QList<Cell> row;
    for (const ExportCell& c : cells)
        row.append({c.text, c.align, c.background, c.font, c.width});
    writeRow(row);
}

void TDBGridExportAsRTF::writeFooterRow(const QList<ExportFooterCell>& cells) {
    QList<Cell> row;
    for (const ExportFooterCell& c : cells)
        row.append({c.text, c.align, c.background, c.font, c.width});
    writeRow(row);
}

void TDBGridExportAsRTF::writeSuffix() {
    // The tables are complete only now that the body is written.
    QByteArray head = "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl";
    for (const QRgb c : colors_)
        head += "\\red" + num(qRed(c)) + "\\green" + num(qGreen(c)) + "\\blue" + num(qBlue(c)) + ';';
    head += "}\r\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i)
        head += "\\f" + num(i) + "\\fnil " + escape(fonts_[i]) + ';';
    head += "}\r\n";
    put(head);
    put(body_);
    put("}");
    body_.clear();
}
