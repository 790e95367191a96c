#include "data/tdm1.h"
#include "reports/export/gridexport.h"
#include <QtEndian>
#include <cstring>

namespace {
QByteArray le16(quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    return QByteArray(b, 2);
}
QByteArray le32(quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    return QByteArray(b, 4);
}
QByteArray leDouble(double d) {
    quint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    char b[8];
    qToLittleEndian(bits, b);
    return QByteArray(b, 8);
}
constexpr qint64 RkMin = -(qint64(1) << 29);
constexpr qint64 RkMax = (qint64(1) << 29) - 1;
} // namespace

void TDBGridExportAsXLS::record(quint16 code, const QByteArray& data) {
    put(le16(code) + le16(quint16(data.size())) + data);
}

QByteArray TDBGridExportAsXLS::cellHeader(quint16 format) const {
    if (full_)
        TDM1::fail(QStringLiteral("数据超过65536行，XLS文件容纳不下，请选择其他文件类型！"));
    return le16(row_) + le16(col_) + le16(format);
}

void TDBGridExportAsXLS::nextCell(bool last) {
    if (!last) {
        ++col_;
        return;
    }
    col_ = 0;
    // The row counter is 16 bits wide: one more row would overwrite the first ones.
    if (row_ == 0xFFFF)
        full_ = true;
    else
        ++row_;
}

void TDBGridExportAsXLS::label(const QString& text) {
    // The worksheet's strings are Unicode: one byte a character when every character is below
    // U+0100, two (UTF-16) otherwise. A code page's bytes would lose what GBK cannot hold.
    bool wide = false;
    for (const QChar c : text)
        if (c.unicode() > 0xFF) {
            wide = true;
            break;
        }
    const qsizetype room = (0xFFFF - 9) / (wide ? 2 : 1);
    qsizetype n = qMin(text.size(), room);
    if (n < text.size() && n > 0 && text[n - 1].isHighSurrogate())
        --n; // never half a character
    QByteArray data = cellHeader(0) + le16(quint16(n));
    data += char(wide ? 1 : 0);
    if (wide) {
        for (qsizetype i = 0; i < n; ++i)
            data += le16(text[i].unicode());
    } else {
        for (qsizetype i = 0; i < n; ++i)
            data += char(uchar(text[i].unicode()));
    }
    record(0x0204, data);
}

void TDBGridExportAsXLS::number(double value) {
    record(0x0203, cellHeader(0) + leDouble(value));
}

void TDBGridExportAsXLS::rk(qint32 value) {
    record(0x027E, cellHeader(0) + le32((quint32(value) << 2) | 0x2));
}

void TDBGridExportAsXLS::blank() {
    record(0x0201, cellHeader(0x0017));
}

void TDBGridExportAsXLS::writePrefix() {
    row_ = 0;
    col_ = 0;
    full_ = false;
    // A worksheet of the Excel 97 format (0x0600), whose strings hold any character; the code
    // page record says so (1200, Unicode) to readers that look for it.
    record(0x0809, le16(0x0600) + le16(0x0010) + le16(0) + le16(0));
    record(0x0042, le16(1200));
}

void TDBGridExportAsXLS::writeSuffix() {
    record(0x000A, {});
}

void TDBGridExportAsXLS::writeTitleCell(const ExportCell& cell, int, bool last) {
    label(cell.text);
    nextCell(last);
}

void TDBGridExportAsXLS::writeDataCell(const ExportCell& cell, int, bool last) {
    switch (cell.kind) {
    case ExportCell::Blank:
        blank();
        break;
    case ExportCell::Integer:
        // An RK holds 30 bits; a larger whole number keeps its value as a NUMBER.
        if (cell.integer >= RkMin && cell.integer <= RkMax)
            rk(qint32(cell.integer));
        else
            number(double(cell.integer));
        break;
    case ExportCell::Number:
        number(cell.number);
        break;
    case ExportCell::Label:
        label(cell.text);
        break;
    }
    nextCell(last);
}

void TDBGridExportAsXLS::writeFooterCell(const ExportFooterCell& cell, int, bool last) {
    if (cell.kind == ExportFooterCell::Count || cell.kind == ExportFooterCell::Sum)
        number(cell.value);
    else
        label(cell.text);
    nextCell(last);
}
