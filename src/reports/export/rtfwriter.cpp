#include "reports/export/gbk.h"
#include "reports/export/gridexport.h"
#include "data/tdm1.h"

namespace {
QByteArray num(qint64 n) {
    return QByteArray::number(n);
}
} // namespace

QByteArray TDBGridExportAsRTF::escape(const QString& text) {
    QByteArray out;
    out.reserve(text.size() * 2);
    static const char hex[] = "0123456789abcdef";
    const auto ascii = [&](QChar c, qsizetype& i) {
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
        } else {
            out += char(c.unicode());
        }
    };
    // Each byte of a Chinese character as a hex escape: a second byte may be "\", "{" or "}",
    // which a reader would otherwise take for RTF.
    const auto hexByte = [&](uchar b) {
        out += "\\'";
        out += hex[b >> 4];
        out += hex[b & 0xF];
    };
    // Usually the whole text has a GBK form: converted at once, its two-byte characters are
    // recognised by their lead byte.
    bool wide = false;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            wide = true;
            break;
        }
    if (wide && Gbk::fitsGbk(text)) {
        const QByteArray bytes = Gbk::encodeCp936(text);
        qsizetype i = 0; // position in text, for the ASCII characters
        for (qsizetype b = 0; b < bytes.size(); ++b) {
            const uchar u = uchar(bytes[b]);
            if (u < 0x80) {
                while (i < text.size() && text[i].unicode() >= 0x80)
                    ++i;
                const qsizetype at = i;
                ascii(text[i], i);
                b += i - at; // CR LF: both bytes are taken
                ++i;
            } else {
                hexByte(u);
                if (u >= 0x81 && u <= 0xFE && b + 1 < bytes.size())
                    hexByte(uchar(bytes[++b]));
                ++i;
            }
        }
        return out;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() < 0x80) {
            ascii(c, i);
        } else {
            const qsizetype len =
                c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate() ? 2 : 1;
            const QStringView ch = QStringView(text).mid(i, len);
            if (Gbk::fitsGbk(ch)) {
                for (const char b : Gbk::encodeCp936(ch))
                    hexByte(uchar(b));
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
    rowHead_.clear();
    cellFormats_.clear();
    fonts_.clear();
    colors_.clear();
    bodyFile_ = std::make_unique<QTemporaryFile>();
    if (!bodyFile_->open())
        TDM1::fail(QStringLiteral("写入文件失败：%1").arg(bodyFile_->errorString()));
    colorIndex(0xFF000000);
    colorIndex(0xFFFFFFFF);
    colorIndex(ExportColors::ButtonFace);
}

void TDBGridExportAsRTF::flushBody() {
    if (bodyFile_->write(body_) != body_.size())
        TDM1::fail(QStringLiteral("写入文件失败：%1").arg(bodyFile_->errorString()));
    body_.resize(0);
}

QByteArray TDBGridExportAsRTF::cellFormat(const Cell& c) {
    QByteArray out = "\\pard\\intbl{";
    out += c.align == ExportAlign::Left ? "\\ql" : c.align == ExportAlign::Right ? "\\qr" : "\\qc";
    const QByteArray spacing = look().threeD ? "24" : "12";
    out += "\\sb" + spacing + "\\sa" + spacing;
    out += "\\fs" + num(c.font.points * 2);
    if (c.font.bold)
        out += "\\b";
    if (c.font.italic)
        out += "\\i";
    if (c.font.strikeOut)
        out += "\\strike";
    if (c.font.underline)
        out += "\\ul";
    out += "\\f" + num(fontIndex(c.font.name));
    out += "\\cf" + num(colorIndex(c.font.color));
    out += "\\cb" + num(colorIndex(c.background));
    out += ' ';
    return out;
}

void TDBGridExportAsRTF::writeRow(const QList<Cell>& cells) {
    // The row's cell definitions and each cell's control words are made again only when the
    // row looks different from the one before (the title and footer rows do).
    QByteArray key;
    for (const Cell& c : cells)
        key += num(c.width) + ':' + num(c.background) + ';';
    QByteArray head = "\\trowd\\trgaph40\r\n";
    qint64 right = 0;
    if (rowHead_.startsWith(key + '|')) {
        head = rowHead_.mid(key.size() + 1);
    } else {
        for (const Cell& c : cells) {
            // Screen pixels at 96 dots per inch into twips, each column to the nearest twip.
            right += qRound64(c.width * 1440.0 / 96.0);
            for (const char* border : {"\\clbrdrl", "\\clbrdrt", "\\clbrdrb", "\\clbrdrr"})
                head += QByteArray(border) + "\\brdrs\\brdrcf0\r\n";
            // The background as the cell's fill (\clcbpat) under a clear pattern: a solid pattern
            // (\clshdng10000) is painted black by LibreOffice whatever its colour.
            const QByteArray bg = num(colorIndex(c.background));
            head += "\\clcfpat" + bg + "\\clcbpat" + bg + "\\cellx" + num(right) + "\r\n";
        }
        head += "{\\trrh0\r\n";
        rowHead_ = key + '|' + head;
    }
    body_ += head;
    if (cellFormats_.size() != cells.size())
        cellFormats_ = QList<QPair<QByteArray, QByteArray>>(cells.size());
    for (int i = 0; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        const QByteArray look = num(int(c.align)) + ',' + num(c.background) + ',' + c.font.name.toUtf8() + ',' +
                                num(c.font.points) + ',' + num(c.font.color) + ',' +
                                num(c.font.bold * 1 + c.font.italic * 2 + c.font.strikeOut * 4 + c.font.underline * 8);
        if (cellFormats_[i].first != look)
            cellFormats_[i] = {look, cellFormat(c)};
        body_ += cellFormats_[i].second;
        body_ += escape(c.text);
        body_ += "\\cell}\r\n";
    }
    body_ += "\\pard\\intbl\\row}\r\n";
    if (body_.size() > (1 << 20))
        flushBody();
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
    flushBody();
    if (!bodyFile_->seek(0))
        TDM1::fail(QStringLiteral("写入文件失败：%1").arg(bodyFile_->errorString()));
    while (!bodyFile_->atEnd()) {
        const QByteArray chunk = bodyFile_->read(1 << 20);
        if (chunk.isEmpty())
            TDM1::fail(QStringLiteral("写入文件失败：%1").arg(bodyFile_->errorString()));
        put(chunk);
        keepAlive();
    }
    put("}");
    // Removing the temporary body takes a moment of its own.
    turnNow();
    bodyFile_.reset();
}
