#include "support/escpos.h"
#include <QStringDecoder>

QStringList EscPosPaper::texts() const {
    QStringList out;
    for (const EscPosLine& l : lines)
        out << l.text;
    return out;
}

namespace {
struct Cursor {
    const QByteArray& b;
    qsizetype i = 0;
    bool more(qsizetype n = 1) const { return i + n <= b.size(); }
    quint8 at(qsizetype k) const { return quint8(b[i + k]); }
};
} // namespace

EscPosPaper decodeEscPos(const QByteArray& bytes) {
    EscPosPaper paper;
    Cursor c{bytes};
    QByteArray pending;
    int align = 0;
    bool big = false;
    bool chinese = false;
    bool cutSeen = false;
    auto endLine = [&] {
        QStringDecoder gbk("GBK");
        EscPosLine l;
        l.text = chinese ? gbk(pending) : QString::fromLatin1(pending);
        l.align = align;
        l.big = big;
        l.chinese = chinese;
        paper.lines << l;
        pending.clear();
    };
    auto fail = [&](const QString& what) {
        if (paper.error.isEmpty())
            paper.error = QStringLiteral("%1 at byte %2").arg(what).arg(c.i);
    };
    while (c.more()) {
        const quint8 x = c.at(0);
        if (x == 0x0a) {
            endLine();
            cutSeen = false;
            c.i += 1;
        } else if (x == 0x1b && c.more(2) && c.at(1) == 0x40) {
            paper.initialised = true;
            align = 0, big = false, chinese = false;
            c.i += 2;
        } else if (x == 0x1b && c.more(3) && c.at(1) == 0x61) {
            align = c.at(2) % 48;
            c.i += 3;
        } else if (x == 0x1b && c.more(3) && c.at(1) == 0x64) {
            paper.feeds += c.at(2);
            c.i += 3;
        } else if (x == 0x1d && c.more(3) && c.at(1) == 0x21) {
            big = c.at(2) != 0;
            c.i += 3;
        } else if (x == 0x1c && c.more(2) && c.at(1) == 0x26) {
            chinese = true;
            c.i += 2;
        } else if (x == 0x1c && c.more(2) && c.at(1) == 0x2e) {
            chinese = false;
            c.i += 2;
        } else if (x == 0x1d && c.more(3) && c.at(1) == 0x56) {
            if (!pending.isEmpty())
                fail(QStringLiteral("text left before a cut"));
            ++paper.cuts;
            // A cut with feed (66) carries one more byte, the feed.
            c.i += c.at(2) == 0x41 || c.at(2) == 0x42 ? 4 : 3;
            paper.lines << EscPosLine{QStringLiteral("<cut>"), 0, false, false};
            cutSeen = true;
        } else if (x < 0x20) {
            fail(QStringLiteral("unknown command 0x%1").arg(x, 2, 16, QChar(u'0')));
            c.i += 1;
        } else {
            pending += char(x);
            c.i += 1;
        }
    }
    if (!pending.isEmpty() || (!cutSeen && !bytes.isEmpty()))
        fail(QStringLiteral("no cut at the end"));
    return paper;
}

QList<EscPosPaper> EscPosPaper::receipts() const {
    QList<EscPosPaper> out{EscPosPaper{}};
    for (const EscPosLine& l : lines) {
        if (l.text == QStringLiteral("<cut>")) {
            out.append(EscPosPaper{});
            continue;
        }
        out.last().lines << l;
    }
    out.removeLast();
    return out;
}
