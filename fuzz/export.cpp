// One export writer over a random grid: texts of any kind, empty cells, any number of rows. The
// file must be one its reader accepts, with every cell in it as the grid shows it.
#include "data/tdm1.h"
#include "reports/export/gridexport.h"
#include "ui/datagrid.h"
#include "ui/session.h"
#include <QApplication>
#include <QBuffer>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
class NoBoxes : public MessageService {
  public:
    QMessageBox::StandardButton show(QWidget*, const MessageBoxSpec&) override { std::abort(); }
};
class NoFiles : public FileDialogService {
  public:
    QString save(QWidget*, FileDialogSpec&) override { return {}; }
    QString open(QWidget*, FileDialogSpec&) override { return {}; }
};

struct World {
    World() {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
        session = new Session(std::make_unique<NoBoxes>(), std::make_unique<NoFiles>());
        session->dm().open(dir.filePath(QStringLiteral("database.db")));
        grid = new DataGrid;
        grid->bind(*session, session->dm().ADOQuery(3));
    }
    QTemporaryDir dir;
    QApplication* app;
    Session* session;
    DataGrid* grid;
};

QString gb18030(const QByteArray& b) {
    QStringDecoder d("GB18030");
    return d.decode(b);
}

std::unique_ptr<TDBGridExport> makeWriter() {
#if defined(FUZZ_WRITER_text)
    return std::make_unique<TDBGridExportAsText>();
#elif defined(FUZZ_WRITER_csv)
    return std::make_unique<TDBGridExportAsCSV>();
#elif defined(FUZZ_WRITER_html)
    return std::make_unique<TDBGridExportAsHTML>();
#elif defined(FUZZ_WRITER_rtf)
    return std::make_unique<TDBGridExportAsRTF>();
#else
    return std::make_unique<TDBGridExportAsXLS>();
#endif
}

// Reads a ";"-separated file of quoted cells back into rows.
QList<QStringList> readCsv(const QString& s) {
    QList<QStringList> rows{{}};
    QString cell;
    bool quoted = false, inCell = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (quoted) {
            if (c == u'"' && i + 1 < s.size() && s[i + 1] == u'"') {
                cell += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == u'"' && !inCell) {
            quoted = inCell = true;
        } else if (c == u';') {
            rows.last() << cell;
            cell.clear();
            inCell = false;
        } else if (c == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') {
            rows.last() << cell;
            cell.clear();
            inCell = false;
            rows << QStringList();
            ++i;
        } else {
            std::abort(); // text outside quotes
        }
    }
    if (quoted)
        std::abort();
    rows.last() << cell;
    return rows;
}

// The cells of an HTML table as a browser shows them.
QStringList readHtml(const QString& s) {
    static const QRegularExpression cell(
        QStringLiteral("<FONT STYLE=\"[^\"<>]*\">(?:<[BIUSTRKE]+>)*([^<>]*)(?:</[BIUSTRKE]+>)*</FONT></TD>"));
    QStringList out;
    auto it = cell.globalMatch(s);
    while (it.hasNext()) {
        QString t = it.next().captured(1);
        if (t == QStringLiteral("&nbsp;"))
            t.clear();
        if (t.contains(u'"'))
            std::abort();
        t.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        out << t;
    }
    return out;
}

// Checks the group structure of an RTF document and counts its cells.
int rtfCells(const QByteArray& b) {
    int depth = 0, cells = 0;
    for (qsizetype i = 0; i < b.size(); ++i) {
        const char c = b[i];
        if (c == '\\') {
            if (i + 1 >= b.size())
                std::abort();
            if (b.mid(i, 6) == "\\cell}" || b.mid(i, 6) == "\\cell ")
                ++cells;
            ++i; // the escaped character or the first letter of a word
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth < 0)
                std::abort();
            if (depth == 0 && i != b.size() - 1 && b.mid(i + 1).trimmed().size() > 0)
                std::abort(); // text after the document
        } else if (uchar(c) >= 0x80) {
            std::abort(); // Chinese goes as \'hh or \uN
        }
    }
    if (depth != 0)
        std::abort();
    return cells;
}

// Walks the BIFF records of a spreadsheet and returns its text cells in order.
QStringList readXls(const QByteArray& b) {
    QStringList labels;
    qsizetype i = 0;
    bool ended = false;
    while (i < b.size()) {
        if (ended || i + 4 > b.size())
            std::abort();
        const int code = uchar(b[i]) | uchar(b[i + 1]) << 8;
        const int len = uchar(b[i + 2]) | uchar(b[i + 3]) << 8;
        if (i + 4 + len > b.size())
            std::abort();
        const QByteArray data = b.mid(i + 4, len);
        if (code == 0x0204) {
            // Unicode text: a count of characters, a flag (1: UTF-16, 0: one byte each), the characters.
            const int n = uchar(data[6]) | uchar(data[7]) << 8;
            const bool wide = data[8] == 1;
            if ((data[8] != 0 && !wide) || n * (wide ? 2 : 1) != len - 9)
                std::abort();
            QString text;
            for (int k = 0; k < n; ++k)
                text += wide ? QChar(char16_t(uchar(data[9 + 2 * k]) | uchar(data[10 + 2 * k]) << 8))
                             : QChar(char16_t(uchar(data[9 + k])));
            labels << text;
        } else if (code == 0x000A) {
            ended = true;
        }
        i += 4 + len;
    }
    if (!ended)
        std::abort();
    return labels;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    if (size < 2)
        return 0;
    const int columns = 1 + data[0] % 4;
    // The rest: cells separated by 0xFF bytes; a cell that starts with 0xFE is empty (NULL).
    QList<QVariant> cells;
    QByteArray piece;
    for (size_t i = 1; i <= size; ++i) {
        if (i == size || data[i] == 0xFF) {
            cells << (piece.startsWith('\xFE') ? QVariant() : QVariant(QString::fromUtf8(piece)));
            piece.clear();
        } else {
            piece += char(data[i]);
        }
    }
    while (cells.size() % columns)
        cells << QVariant(QString());
    TDM1& dm = world.session->dm();
    QStringList names, marks;
    for (int c = 0; c < columns; ++c) {
        names << QStringLiteral("c%1 TEXT").arg(c);
        marks << QStringLiteral("?");
    }
    dm.ADOall.exec(QStringLiteral("DROP TABLE IF EXISTS fz"));
    dm.ADOall.exec(QStringLiteral("CREATE TABLE fz (%1)").arg(names.join(u',')));
    for (qsizetype r = 0; r < cells.size(); r += columns)
        dm.ADOall.exec(QStringLiteral("INSERT INTO fz VALUES (%1)").arg(marks.join(u',')),
                       cells.mid(r, columns));
    dm.ADOQuery(3).open(QStringLiteral("SELECT * FROM fz ORDER BY rowid"));

    QStringList expected; // the titles, then every cell, as the grid shows them
    for (int c = 0; c < columns; ++c)
        expected << QStringLiteral("c%1").arg(c);
    QStringList labels = expected; // the same without the empty cells, which are blanks
    for (const QVariant& v : cells) {
        expected << v.toString();
        if (!v.toString().isEmpty())
            labels << v.toString();
    }

    QBuffer out;
    out.open(QIODevice::WriteOnly);
    makeWriter()->save(*world.grid, out);
    const QByteArray b = out.data();

#if !defined(FUZZ_WRITER_xls)
    (void)labels;
#endif
#if defined(FUZZ_WRITER_text)
    // Cells as they are, TAB between them, CR LF between rows, and nothing lost in the encoding.
    QStringList lines;
    for (qsizetype r = 0; r < expected.size(); r += columns)
        lines << expected.mid(r, columns).join(u'\t');
    if (gb18030(b) != lines.join(QStringLiteral("\r\n")))
        std::abort();
#elif defined(FUZZ_WRITER_csv)
    QStringList back;
    for (const QStringList& row : readCsv(gb18030(b))) {
        if (row.size() != columns)
            std::abort();
        back << row;
    }
    if (back != expected)
        std::abort();
#elif defined(FUZZ_WRITER_html)
    if (readHtml(gb18030(b)) != expected || !b.endsWith("</HTML>\r\n") && !b.endsWith("</HTML>"))
        std::abort();
#elif defined(FUZZ_WRITER_rtf)
    if (rtfCells(b) != expected.size())
        std::abort();
#else
    (void)expected;
    if (readXls(b) != labels)
        std::abort();
#endif
    return 0;
}
