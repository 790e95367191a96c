#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// Reads the bytes sent to a receipt printer back as the printer would put them on paper: lines of
// text (GBK in Chinese mode), each with the alignment and character size in force, and the cuts.
struct EscPosLine {
    QString text;
    int align = 0; // 0 left, 1 centre, 2 right
    bool big = false;
    bool chinese = false; // printed in the Chinese mode
};

struct EscPosPaper {
    QList<EscPosLine> lines;
    int cuts = 0;
    int feeds = 0;
    bool initialised = false;
    QString error; // a byte sequence the decoder does not know, or text after the last cut
    QStringList texts() const;
    // The receipts between cuts.
    QList<EscPosPaper> receipts() const;
};

EscPosPaper decodeEscPos(const QByteArray& bytes);
