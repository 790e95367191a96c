#include "data/dates.h"
#include "data/eventturns.h"
#include "data/money.h"
#include "reports/export/export.h"
#include "support/testsession.h"
#include "ui/datagrid.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>
#include <cstring>

namespace {

QByteArray gbk(const QString& s) {
    QStringEncoder e("GBK");
    QByteArray b = e.encode(s);
    Q_ASSERT(!e.hasError());
    return b;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

// A report grid over a shared query of sales, as the report screens build theirs.
struct SalesGrid {
    TestSession t;
    QWidget screen;
    DataGrid* grid;

    explicit SalesGrid(const QList<GridColumn>& columns, const QList<FooterCell>& footer) {
        grid = new DataGrid(&screen);
        grid->setObjectName(QStringLiteral("DBGrid1"));
        QFont f(QStringLiteral("宋体"));
        f.setPixelSize(13);
        grid->setFont(f);
        grid->resize(600, 300);
        grid->bind(t.session(), t.dm().ADOQuery(12));
        grid->setColumns(columns);
        grid->setFooter(footer);
    }
    void add(const QVariant& number, const QString& name, const QVariant& tel, const QString& price,
             const QString& date, const QVariant& remark = {}) {
        t.dm().ADOall.exec(
            "INSERT INTO dinggou (客户编号, 客户名称, 电话, 价格, 日期, 备注) VALUES (?,?,?,?,?,?)",
            {number, name, tel, price.isEmpty() ? QVariant() : Money::parse(price).toVariant(),
             Dates::toSql(Dates::fromShortDate(date)), remark});
    }
    void query() { t.dm().ADOQuery(12).open("select * from dinggou order by id"); }
    // Runs the export command as a double-click does, answering the dialog with name and type.
    bool exportAs(const QString& file, int type, QWidget* window = nullptr) {
        t.files().answer(file, Export::filters().value(type - 1));
        return Export::run(t.session(), window ? window : &screen, *grid, QStringLiteral("file1"));
    }
};

const QList<GridColumn> kColumns{
    {"客户编号", 60, {}}, {"客户名称", 90, {}}, {"电话", 85, {}}, {"价格", 65, {}}, {"日期", 80, {}}};
const QList<FooterCell> kFooter{{"客户名称", FooterCell::Text, "合计次数"},
                                {"电话", FooterCell::Count, {}},
                                {"价格", FooterCell::Sum, {}}};

// ---- the expected bytes, written out by hand ----

QByteArray htmlCell(int width, const char* align, const char* bg, const QString& text) {
    QString t = text;
    t.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace("\"", "&quot;");
    QByteArray out = QByteArray("  <TD WIDTH=") + QByteArray::number(width) + " ALIGN=\"" + align + "\"";
    if (bg)
        out += QByteArray(" BGCOLOR=#") + bg;
    return out + "><FONT STYLE=\"font-family: " + gbk("宋体") + "; font-size: 10pt; color: #000000\">" +
           (t.isEmpty() ? QByteArray("&nbsp;") : gbk(t)) + "</FONT></TD>\r\n";
}

QByteArray rtfText(const QString& s) {
    QByteArray out;
    for (QChar c : s) {
        if (c.unicode() < 0x80) {
            if (c == '\\' || c == '{' || c == '}')
                out += '\\';
            out += char(c.unicode());
        } else {
            for (char b : gbk(QString(c)))
                out += QByteArray("\\'") + QByteArray::number(uchar(b), 16);
        }
    }
    return out;
}

QByteArray rtfRow(const QList<QPair<QString, const char*>>& cells, int bg) {
    static const int widths[] = {60, 90, 85, 65, 80};
    QByteArray out = "\\trowd\\trgaph40\r\n";
    int right = 0;
    for (int i = 0; i < cells.size(); ++i) {
        right += widths[i] * 15;
        out += "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n\\clbrdrb\\brdrs\\brdrcf0\r\n"
               "\\clbrdrr\\brdrs\\brdrcf0\r\n\\clcfpat" +
               QByteArray::number(bg) + "\\clcbpat" + QByteArray::number(bg) + "\\cellx" + QByteArray::number(right) +
               "\r\n";
    }
    out += "{\\trrh0\r\n";
    for (const auto& [text, align] : cells)
        out += QByteArray("\\pard\\intbl{") + align + "\\sb24\\sa24\\fs20\\f0\\cf0\\cb" +
               QByteArray::number(bg) + " " + rtfText(text) + "\\cell}\r\n";
    return out + "\\pard\\intbl\\row}\r\n";
}

QByteArray le16(int v) {
    char b[2];
    qToLittleEndian(quint16(v), b);
    return QByteArray(b, 2);
}
QByteArray rec(int code, const QByteArray& data) {
    return le16(code) + le16(int(data.size())) + data;
}
// A label's text in Unicode: one byte a character below U+0100, UTF-16 otherwise.
QByteArray xlsLabel(int r, int c, const QString& s) {
    bool wide = false;
    for (QChar ch : s)
        wide = wide || ch.unicode() > 0xFF;
    QByteArray b = le16(int(s.size())) + char(wide ? 1 : 0);
    for (QChar ch : s)
        b += wide ? le16(ch.unicode()) : QByteArray(1, char(ch.unicode()));
    return rec(0x204, le16(r) + le16(c) + le16(0) + b);
}
QByteArray xlsNumber(int r, int c, double d) {
    char b[8];
    std::memcpy(b, &d, 8); // the machine is little-endian, as the file is
    return rec(0x203, le16(r) + le16(c) + le16(0) + QByteArray(b, 8));
}
QByteArray xlsRk(int r, int c, int v) {
    char b[4];
    qToLittleEndian(quint32(v * 4 + 2), b);
    return rec(0x27E, le16(r) + le16(c) + le16(0) + QByteArray(b, 4));
}
QByteArray xlsBlank(int r, int c) {
    return rec(0x201, le16(r) + le16(c) + le16(0x17));
}

// The records of an XLS stream: code and data.
QList<QPair<int, QByteArray>> xlsRecords(const QByteArray& file) {
    QList<QPair<int, QByteArray>> out;
    qsizetype p = 0;
    while (p + 4 <= file.size()) {
        const int code = qFromLittleEndian<quint16>(file.constData() + p);
        const int len = qFromLittleEndian<quint16>(file.constData() + p + 2);
        out.append({code, file.mid(p + 4, len)});
        p += 4 + len;
    }
    return out;
}

} // namespace

class TestExport : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    }
    void writersWriteExactBytes_data();
    void writersWriteExactBytes();
    void xlsCellKinds();
    void extensionRules_data();
    void extensionRules();
    void dialogKeepsLastTypePerWindow();
    void cancelWritesNothing();
    void hostileTexts_data();
    void hostileTexts();
    void neverQueriedGridIsReportedFirst();
    void failureKeepsTheExistingFile();
    void unwritableFileIsReported();
    void gridKeepsItsRowAndPosition();
    void rowsComeInTheGridsOrder();
    void libreOfficeReadsTheExports();
    void windowLivesDuringAnExport_data();
    void windowLivesDuringAnExport();
};

void TestExport::writersWriteExactBytes_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("withRows");
    QTest::addColumn<QByteArray>("expected");

    const QString title = "客户编号\t客户名称\t电话\t价格\t日期";
    QTest::newRow("text")
        << 1 << true
        << gbk(title + "\r\n1\t张三\t0311-1234567\t1250.5\t2008-3-5\r\n2\t李\"四\"\t\t99\t2008-3-5\r\n"
                       "\t合计次数\t2\t1349.5\t");
    QTest::newRow("text empty") << 1 << false << gbk(title + "\r\n\t合计次数\t0\t0\t");
    QTest::newRow("csv") << 2 << true
                         << gbk("\"客户编号\";\"客户名称\";\"电话\";\"价格\";\"日期\"\r\n"
                                "\"1\";\"张三\";\"0311-1234567\";\"1250.5\";\"2008-3-5\"\r\n"
                                "\"2\";\"李\"\"四\"\"\";\"\";\"99\";\"2008-3-5\"\r\n"
                                "\"\";\"合计次数\";\"2\";\"1349.5\";\"\"");

    const QByteArray htmlHead = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\r\n<HTML>\r\n<HEAD>\r\n"
                                "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=GB18030\">\r\n"
                                "<TITLE>\r\nDBGrid1\r\n</TITLE>\r\n</HEAD>\r\n<BODY>\r\n"
                                "<TABLE BORDER=1 CELLSPACING=0 CELLPADDING=2 BGCOLOR=#F0F0F0>\r\n\r\n";
    QByteArray titleRow = "<TR>\r\n";
    for (const auto& [t, w] : QList<QPair<QString, int>>{
             {"客户编号", 60}, {"客户名称", 90}, {"电话", 85}, {"价格", 65}, {"日期", 80}})
        titleRow += htmlCell(w, "CENTER", nullptr, t);
    titleRow += "</TR>\r\n";
    auto dataRow = [](const QStringList& v) {
        const int widths[] = {60, 90, 85, 65, 80};
        QByteArray r = "<TR>\r\n";
        for (int i = 0; i < 5; ++i)
            r += htmlCell(widths[i], "CENTER", "FFFFFF", v[i]);
        return r + "</TR>\r\n";
    };
    auto footRow = [](const QString& count, const QString& sum) {
        return "<TR>\r\n" + htmlCell(60, "RIGHT", "FFFF00", "") +
               htmlCell(90, "CENTER", "FFFF00", "合计次数") + htmlCell(85, "CENTER", "FFFF00", count) +
               htmlCell(65, "CENTER", "FFFF00", sum) + htmlCell(80, "LEFT", "FFFF00", "") + "</TR>\r\n";
    };
    const QByteArray htmlTail = "</TABLE>\r\n</BODY>\r\n</HTML>\r\n";
    QTest::newRow("html") << 3 << true
                          << htmlHead + titleRow +
                                 dataRow({"1", "张三", "0311-1234567", "1250.5", "2008-3-5"}) +
                                 dataRow({"2", "李\"四\"", "", "99", "2008-3-5"}) + footRow("2", "1349.5") +
                                 htmlTail;
    QTest::newRow("html empty") << 3 << false << htmlHead + titleRow + footRow("0", "0") + htmlTail;

    const QByteArray rtfHead =
        "{\\rtf0\\ansi\\ansicpg936\r\n{\\colortbl\\red0\\green0\\blue0;\\red255\\green255\\blue255;"
        "\\red240\\green240\\blue240;\\red255\\green255\\blue0;}\r\n{\\fonttbl\\f0\\fnil " +
        rtfText("宋体") + ";}\r\n";
    const QByteArray rtfTitle = rtfRow(
        {{"客户编号", "\\qc"}, {"客户名称", "\\qc"}, {"电话", "\\qc"}, {"价格", "\\qc"}, {"日期", "\\qc"}},
        2);
    QTest::newRow("rtf")
        << 4 << true
        << rtfHead + rtfTitle +
               rtfRow({{"1", "\\qc"},
                       {"张三", "\\qc"},
                       {"0311-1234567", "\\qc"},
                       {"1250.5", "\\qc"},
                       {"2008-3-5", "\\qc"}},
                      1) +
               rtfRow(
                   {{"2", "\\qc"}, {"李\"四\"", "\\qc"}, {"", "\\qc"}, {"99", "\\qc"}, {"2008-3-5", "\\qc"}},
                   1) +
               rtfRow({{"", "\\qr"}, {"合计次数", "\\qc"}, {"2", "\\qc"}, {"1349.5", "\\qc"}, {"", "\\ql"}},
                      3) +
               "}";

    const QByteArray xlsHead = QByteArray::fromHex("09080800000610000000000042000200b004");
    QByteArray xlsTitle;
    int c = 0;
    for (const char* t : {"客户编号", "客户名称", "电话", "价格", "日期"})
        xlsTitle += xlsLabel(0, c++, t);
    const QByteArray xlsEof = QByteArray::fromHex("0a000000");
    QTest::newRow("xls") << 5 << true
                         << xlsHead + xlsTitle + xlsRk(1, 0, 1) + xlsLabel(1, 1, "张三") +
                                xlsLabel(1, 2, "0311-1234567") + xlsNumber(1, 3, 1250.5) +
                                xlsLabel(1, 4, "2008-3-5") + xlsRk(2, 0, 2) + xlsLabel(2, 1, "李\"四\"") +
                                xlsBlank(2, 2) + xlsNumber(2, 3, 99) + xlsLabel(2, 4, "2008-3-5") +
                                xlsLabel(3, 0, "") + xlsLabel(3, 1, "合计次数") + xlsNumber(3, 2, 2) +
                                xlsNumber(3, 3, 1349.5) + xlsLabel(3, 4, "") + xlsEof;
    QTest::newRow("xls empty") << 5 << false
                               << xlsHead + xlsTitle + xlsLabel(1, 0, "") + xlsLabel(1, 1, "合计次数") +
                                      xlsNumber(1, 2, 0) + xlsNumber(1, 3, 0) + xlsLabel(1, 4, "") + xlsEof;
}

void TestExport::writersWriteExactBytes() {
    QFETCH(int, type);
    QFETCH(bool, withRows);
    QFETCH(QByteArray, expected);
    SalesGrid g(kColumns, kFooter);
    if (withRows) {
        g.add(1, "张三", "0311-1234567", "1250.5", "2008-3-5");
        g.add(2, "李\"四\"", {}, "99", "2008-03-05");
    }
    g.query();
    const QString file = g.t.folder() + "/out." + Export::extension(Export::FileType(type));
    QVERIFY(g.exportAs(file, type));
    const QByteArray got = readFile(file);
    if (got != expected) {
        qDebug().noquote() << "got:     " << got.toHex(' ');
        qDebug().noquote() << "expected:" << expected.toHex(' ');
    }
    QCOMPARE(got, expected);
    QCOMPARE(g.t.messages().shown.size(), size_t(1));
    QCOMPARE(g.t.messages().last().text, QString("倒出数据成功！"));
    QCOMPARE(g.t.messages().last().caption, QString("提示！"));
    QVERIFY(g.t.messages().last().icon == MsgIcon::Information);
    // The footer the user sees says the same as the file.
    QCOMPARE(g.grid->footerText("电话"), withRows ? QString("2") : QString("0"));
}

void TestExport::xlsCellKinds() {
    SalesGrid g({{"客户编号", 60, {}}, {"日期", 80, {}}, {"价格", 65, {}}, {"电话", 85, {}}}, {});
    g.add(1234, "王五", {}, "0.25", "2019-12-1");
    g.query();
    const QString file = g.t.folder() + "/k.xls";
    QVERIFY(g.exportAs(file, 5));
    const auto records = xlsRecords(readFile(file));
    // BOF, the code page, four titles, four cells, EOF; no footer row without a footer.
    QCOMPARE(records.size(), 11);
    QCOMPARE(records[0].first, 0x0809);
    QCOMPARE(records[1].first, 0x0042);
    QCOMPARE(qFromLittleEndian<quint16>(records[1].second.constData()), quint16(1200));
    const QByteArray date = records[7].second;
    QCOMPARE(records[6].first, 0x027E);
    QCOMPARE(qFromLittleEndian<quint32>(records[6].second.constData() + 6), quint32(1234 << 2 | 2));
    QCOMPARE(records[7].first, 0x0204);
    QCOMPARE(date.mid(6), QByteArray::fromHex("090000") + "2019-12-1");
    QCOMPARE(records[8].first, 0x0203);
    double price;
    std::memcpy(&price, records[8].second.constData() + 6, 8);
    QCOMPARE(price, 0.25);
    QCOMPARE(records[9].first, 0x0201); // no telephone
    QCOMPARE(records[10].first, 0x000A);
}

void TestExport::extensionRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << "x" << 5 << "x.xls";
    QTest::newRow("upper case") << "x.XLS" << 5 << "x.XLS";
    QTest::newRow("other extension") << "a.TXT" << 5 << "a.TXT.xls";
    QTest::newRow("no dot") << "axls" << 5 << "axls";
    QTest::newRow("text") << "b" << 1 << "b.txt";
    QTest::newRow("csv mixed case") << "b.Csv" << 2 << "b.Csv";
    QTest::newRow("html") << "page.html" << 3 << "page.html.htm";
    QTest::newRow("rtf") << "r.rtf" << 4 << "r.rtf";
}

void TestExport::extensionRules() {
    QFETCH(QString, typed);
    QFETCH(int, type);
    QFETCH(QString, written);
    SalesGrid g(kColumns, kFooter);
    g.query();
    QTemporaryDir dir;
    QVERIFY(g.exportAs(dir.filePath(typed), type));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
    QCOMPARE(Export::withExtension(typed, Export::extension(Export::FileType(type))), written);
}

void TestExport::dialogKeepsLastTypePerWindow() {
    SalesGrid g(kColumns, kFooter);
    g.query();
    QWidget other;
    QVERIFY(g.exportAs(g.t.folder() + "/a", 2));
    QVERIFY(g.exportAs(g.t.folder() + "/b", 4));
    g.t.files().answer({});
    QVERIFY(!Export::run(g.t.session(), &other, *g.grid, "file2"));
    const auto& asked = g.t.files().asked;
    QCOMPARE(asked.size(), size_t(3));
    QCOMPARE(asked[0].filter, QString("文本 (*.TXT);;CSV (*.CSV);;HTLM (*.HTM);;RTF (*.RTF);;XLS (*.XLS)"));
    QCOMPARE(asked[0].fileName, QString("file1"));
    QVERIFY(asked[0].defaultSuffix.isEmpty());
    // Before the answer: XLS first, then the type chosen last in this window; another window starts at XLS.
    QCOMPARE(asked[0].selectedFilter, QString("XLS (*.XLS)"));
    QCOMPARE(asked[1].selectedFilter, QString("CSV (*.CSV)"));
    QCOMPARE(QFileInfo::exists(g.t.folder() + "/a.csv"), true);
    QCOMPARE(QFileInfo::exists(g.t.folder() + "/b.rtf"), true);
    QCOMPARE(g.screen.property("lumarethExportFileType").toInt(), 4);
    QCOMPARE(asked[2].selectedFilter, QString("XLS (*.XLS)"));
    QCOMPARE(asked[2].fileName, QString("file2"));
}

void TestExport::cancelWritesNothing() {
    SalesGrid g(kColumns, kFooter);
    g.query();
    g.t.files().answer({});
    QVERIFY(!Export::run(g.t.session(), &g.screen, *g.grid, "file3"));
    QVERIFY(g.t.messages().shown.empty());
    QCOMPARE(g.t.files().asked.size(), size_t(1));
    QCOMPARE(g.t.files().asked[0].selectedFilter, QString("XLS (*.XLS)"));
}

void TestExport::hostileTexts_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("text keeps tab and breaks") << 1 << "a\tb\r\nc;\"d\"" << QByteArray("a\tb\r\nc;\"d\"");
    QTest::newRow("csv doubles quotes") << 2 << "say \"hi\"; ok" << QByteArray("\"say \"\"hi\"\"; ok\"");
    QTest::newRow("csv line break") << 2 << "l1\r\nl2" << QByteArray("\"l1\r\nl2\"");
    QTest::newRow("html escapes") << 3 << "<b>&\"x\";" << QByteArray(">&lt;b&gt;&amp;&quot;x&quot;;</FONT>");
    QTest::newRow("html empty") << 3 << "" << QByteArray(">&nbsp;</FONT>");
    QTest::newRow("rtf braces and backslash") << 4 << "{a}\\b" << QByteArray(" \\{a\\}\\\\b\\cell}");
    QTest::newRow("rtf line break") << 4 << "l1\r\nl2" << QByteArray(" l1\\line l2\\cell}");
    QTest::newRow("rtf outside gbk") << 4 << "𠮷" << QByteArray(" \\u-10174?\\u-8265?\\cell}");
    // Chinese between RTF characters; trail bytes that are "\\" and "{" in ASCII stay hex escapes.
    QTest::newRow("rtf chinese among specials")
        << 4 << "张{三}\r\n李\\乗亄€" << QByteArray(" \\'d5\\'c5\\{\\'c8\\'fd\\}\\line \\'c0\\'ee\\\\\\'81\\'5c\\'81\\'7b\\'80\\cell}");
    QTest::newRow("rtf chinese and outside gbk") << 4 << "张𠮷a" << QByteArray(" \\'d5\\'c5\\u-10174?\\u-8265?a\\cell}");
    QTest::newRow("text outside gbk") << 1 << "x𠮷😀€" << QByteArray::fromHex("789534b2359439fc36a2e3");
    QTest::newRow("csv outside gbk") << 2 << "𠮷" << QByteArray::fromHex("229534b23522");
    QTest::newRow("html outside gbk")
        << 3 << "😀€" << QByteArray(">") + QByteArray::fromHex("9439fc36a2e3") + "</FONT>";
    QTest::newRow("xls outside gbk") << 5 << "a𠮷" << le16(3) + QByteArray::fromHex("01610042d8b7df");
}

void TestExport::hostileTexts() {
    QFETCH(int, type);
    QFETCH(QString, remark);
    QFETCH(QByteArray, expected);
    SalesGrid g({{"客户名称", 90, {}}, {"备注", 130, {}}}, {});
    g.add(1, "某", {}, "1", "2008-1-1", remark);
    g.query();
    const QString file = g.t.folder() + "/h." + Export::extension(Export::FileType(type));
    QVERIFY(g.exportAs(file, type));
    const QByteArray got = readFile(file);
    QVERIFY2(got.contains(expected), got.right(160).constData());
    if (type == 1 || type == 2)
        QVERIFY(got.endsWith(expected)); // the last cell, no line break after it
}

void TestExport::neverQueriedGridIsReportedFirst() {
    SalesGrid g(kColumns, kFooter);
    g.add(7, "赵六", "123", "10", "2008-1-1");
    const QString file = g.t.folder() + "/never.xls";
    QVERIFY(!g.exportAs(file, 5));
    QCOMPARE(g.t.messages().shown.size(), size_t(1));
    QCOMPARE(g.t.messages().last().text, QString("不能对已关闭的数据集执行此操作。"));
    QVERIFY(g.t.messages().last().icon == MsgIcon::Error);
    QVERIFY(g.t.messages().last().caption.isEmpty());
    QVERIFY(QDir(g.t.folder()).entryList({"never*"}, QDir::Files).isEmpty());
    // Querying afterwards shows the rows and the footer as usual, and the export works.
    g.query();
    QCOMPARE(g.grid->rowCount(), 1);
    QCOMPARE(g.grid->footerText("价格"), QString("10"));
    g.t.messages().clear();
    QVERIFY(g.exportAs(file, 1));
    QCOMPARE(g.t.messages().last().text, QString("倒出数据成功！"));
}

void TestExport::failureKeepsTheExistingFile() {
    // More rows than a worksheet holds: the export stops with a message and the old file stays.
    SalesGrid g({{"客户编号", 60, {}}}, {{"客户编号", FooterCell::Count, {}}});
    g.t.dm().transaction([&] {
        g.t.dm().ADOall.exec(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 65535) "
            "INSERT INTO dinggou (客户编号) SELECT i FROM n");
    });
    g.query();
    const QString file = g.t.folder() + "/big.xls";
    {
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
    }
    g.t.messages().answer(QMessageBox::Ok); // the overwrite question does not come: the name is unchanged
    QVERIFY(!g.exportAs(file, 5));
    QCOMPARE(g.t.messages().shown.size(), size_t(1));
    QCOMPARE(g.t.messages().last().text, QString("数据超过65536行，XLS文件容纳不下，请选择其他文件类型！"));
    QCOMPARE(readFile(file), QByteArray("old contents"));
    QCOMPARE(QDir(g.t.folder()).entryList({"big*"}, QDir::Files), QStringList{"big.xls"});
    // The same rows fit a text file: title, 65535 rows, footer.
    g.t.messages().clear();
    QVERIFY(g.exportAs(g.t.folder() + "/big.txt", 1));
    const QByteArray text = readFile(g.t.folder() + "/big.txt");
    QCOMPARE(text.count("\r\n"), 65536);
    QVERIFY(text.endsWith("\r\n65535\r\n65535"));
}

void TestExport::unwritableFileIsReported() {
    SalesGrid g(kColumns, kFooter);
    g.query();
    // A missing folder, and a name whose appended extension hits an existing file the user keeps.
    QVERIFY(!g.exportAs(g.t.folder() + "/no/such/folder/x.xls", 5));
    QCOMPARE(g.t.messages().shown.size(), size_t(1));
    QVERIFY(g.t.messages().last().icon == MsgIcon::Error);
    QVERIFY(g.t.messages().last().text.contains("x.xls"));

    g.t.messages().clear();
    QFile keep(g.t.folder() + "/keep.xls");
    QVERIFY(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    g.t.messages().answer(QMessageBox::Cancel);
    QVERIFY(!g.exportAs(g.t.folder() + "/keep", 5));
    QCOMPARE(g.t.messages().texts(),
             QStringList{"文件“" + QDir::toNativeSeparators(g.t.folder() + "/keep.xls") +
                         "”已存在，要替换它吗？"});
    QCOMPARE(readFile(g.t.folder() + "/keep.xls"), QByteArray("mine"));
}

void TestExport::gridKeepsItsRowAndPosition() {
    SalesGrid g(kColumns, kFooter);
    for (int i = 1; i <= 300; ++i)
        g.add(i, QString("客户%1").arg(i), {}, "1", "2008-1-1");
    g.query();
    g.screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&g.screen));
    int nameColumn = 0;
    while (g.grid->model()->headerData(nameColumn, Qt::Horizontal).toString() != "客户名称")
        ++nameColumn;
    g.grid->setCurrentIndex(g.grid->model()->index(40, nameColumn));
    g.grid->verticalScrollBar()->setValue(33);
    const int scroll = g.grid->verticalScrollBar()->value();
    QCOMPARE(scroll, 33);
    const bool eof = g.grid->eof();
    QVERIFY(g.exportAs(g.t.folder() + "/all.csv", 2));
    QCOMPARE(g.grid->currentRowIndex(), 40);
    QCOMPARE(g.grid->verticalScrollBar()->value(), scroll);
    QCOMPARE(g.grid->eof(), eof);
    QVERIFY(g.grid->updatesEnabled());
    // Every row reached the file, not only those the grid had fetched.
    QCOMPARE(readFile(g.t.folder() + "/all.csv").count("\r\n"), 301);
    QCOMPARE(g.grid->currentRecord().text("客户名称"), QString("客户41"));
}

void TestExport::rowsComeInTheGridsOrder() {
    SalesGrid g({{"客户名称", 90, {}}, {"价格", 65, {}}}, {{"价格", FooterCell::Sum, {}}});
    g.add(1, "甲", {}, "5", "2008-1-1");
    g.add(2, "乙", {}, "30", "2008-1-1");
    g.add(3, "丙", {}, "12.5", "2008-1-1");
    g.query();
    g.grid->titleClicked("价格", false);
    g.grid->titleClicked("价格", false); // the second click sorts descending
    QVERIFY(g.exportAs(g.t.folder() + "/sorted.txt", 1));
    QCOMPARE(readFile(g.t.folder() + "/sorted.txt"),
             gbk("客户名称\t价格\r\n乙\t30\r\n丙\t12.5\r\n甲\t5\r\n\t47.5"));
}

namespace {
// Runs LibreOffice headless once; the converted files land in outDir.
bool soffice(const QString& home, const QStringList& args, QString& log) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HOME", home);
    p.setProcessEnvironment(env);
    p.start(QStandardPaths::findExecutable("soffice"),
            QStringList{"--headless", "--norestore", "-env:UserInstallation=file://" + home + "/profile"} +
                args);
    if (!p.waitForFinished(180000))
        p.kill();
    log = QString::fromLocal8Bit(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// HTML text with its character references resolved.
QString htmlText(const QString& html) {
    static const QRegularExpression reference("&(#\\d+|quot|amp|lt|gt|nbsp);");
    QString out;
    qsizetype at = 0;
    for (auto refs = reference.globalMatch(html); refs.hasNext();) {
        const QRegularExpressionMatch m = refs.next();
        out += html.mid(at, m.capturedStart() - at);
        const QString name = m.captured(1);
        const char32_t cp = name.startsWith('#') ? name.mid(1).toUInt()
                            : name == "quot"    ? U'"'
                            : name == "amp"     ? U'&'
                            : name == "lt"      ? U'<'
                            : name == "gt"      ? U'>'
                                                : U' ';
        out += QString::fromUcs4(&cp, 1);
        at = m.capturedEnd();
    }
    return out + html.mid(at);
}

// Splits UTF-8 CSV (",", fields quoted with '"') into rows of cells; quoted fields may hold line breaks.
QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row << cell;
            cell.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !row.isEmpty())
        rows << (row << cell);
    return rows;
}
} // namespace

void TestExport::libreOfficeReadsTheExports() {
    if (QStandardPaths::findExecutable("soffice").isEmpty())
        QSKIP("LibreOffice (soffice) is not installed");
    SalesGrid g({{"客户编号", 60, {}},
                 {"客户名称", 90, {}},
                 {"电话", 85, {}},
                 {"价格", 65, {}},
                 {"日期", 80, {}},
                 {"备注", 130, {}}},
                kFooter);
    g.add(1, "张三", "0311-1234567", "1250.5", "2008-3-5", "第一行\r\n第二行");
    g.add(2, "李\"四\" & <王>", {}, "99.25", "2008-12-31", "说 \"好\"; {括号} \\ 反斜杠");
    g.add(3, "客户名称", "13800138000", "-20", "2010-1-9", {});
    // What GBK cannot hold, and a GBK character that readers confuse with another.
    g.add(4, "阿依·买买提", "€", "0.5", "2011-2-3", "欧元€ 扩展B𠀀𠮷 😀");
    g.query();

    // What the grid shows: titles, every row, the footer.
    QList<QStringList> expected;
    QStringList fields;
    for (const GridColumn& c : g.grid->columns())
        fields << c.field;
    expected << fields;
    for (int r = 0; r < g.grid->rowCount(); ++r) {
        QStringList row;
        for (const QString& f : fields)
            row << g.grid->cellText(r, f);
        expected << row;
    }
    QStringList footer;
    for (const QString& f : fields)
        footer << g.grid->footerText(f);
    expected << footer;
    QCOMPARE(footer, (QStringList{"", "合计次数", "4", "1330.25", "", ""}));

    QTemporaryDir home;
    const QString in = home.path() + "/in", out = home.path() + "/out";
    QDir().mkpath(in);
    QVERIFY(g.exportAs(in + "/grid.xls", 5));
    QVERIFY(g.exportAs(in + "/grid.htm", 3));
    QVERIFY(g.exportAs(in + "/grid.csv", 2));
    QVERIFY(g.exportAs(in + "/grid.rtf", 4));
    QVERIFY(g.exportAs(in + "/grid.txt", 1));

    const QString toCsv = "csv:Text - txt - csv (StarCalc):44,34,76";
    QString log;
    // Three Calc runs (each reader its own filter), one Writer run.
    QVERIFY2(soffice(home.path(), {"--convert-to", toCsv, "--outdir", out + "/xls", in + "/grid.xls"}, log),
             qPrintable(log));
    QVERIFY2(soffice(home.path(),
                     {"--infilter=HTML (StarCalc)", "--convert-to", toCsv, "--outdir", out + "/htm",
                      in + "/grid.htm"},
                     log),
             qPrintable(log));
    // 85 is LibreOffice's number for the GB18030 character set, the files' encoding.
    QVERIFY2(soffice(home.path(),
                     {"--infilter=Text - txt - csv (StarCalc):59,34,85,1,,2052,false,false", "--convert-to",
                      toCsv, "--outdir", out + "/csv", in + "/grid.csv"},
                     log),
             qPrintable(log));
    QVERIFY2(soffice(home.path(),
                     {"--infilter=Text - txt - csv (StarCalc):9,34,85,1,,2052,false,false", "--convert-to",
                      toCsv, "--outdir", out + "/txt", in + "/grid.txt"},
                     log),
             qPrintable(log));
    QVERIFY2(soffice(home.path(),
                     {"--convert-to", "html:HTML (StarWriter)", "--outdir", out + "/rtf", in + "/grid.rtf"}, log),
             qPrintable(log));

    for (const char* kind : {"xls", "htm", "csv", "txt"}) {
        QByteArray bytes = readFile(out + "/" + kind + "/grid.csv");
        QVERIFY2(!bytes.isEmpty(), kind);
        QList<QStringList> got = parseCsv(QString::fromUtf8(bytes));
        QList<QStringList> want = expected;
        want[1][5].replace("\r\n", "\n"); // the reader's CSV ends lines with LF
        if (QByteArray(kind) == "txt") {
            // Plain text quotes nothing: the remark's line break starts a new line.
            QStringList lines;
            for (const QStringList& row : expected)
                lines << row.join('\t');
            want.clear();
            for (const QString& line : lines.join("\r\n").split("\r\n")) {
                QStringList row = line.split('\t');
                while (row.size() < fields.size()) // the reader's rows are all as wide
                    row << QString();
                want << row;
            }
        }
        if (QByteArray(kind) == "htm") {
            want[1][5] = "第一行 第二行"; // an HTML reader joins the lines of a cell
            want[4][5].remove("𠀀");     // and LibreOffice's drops U+20000, whatever the encoding
            for (QStringList& row : got)  // and an empty cell holds a no-break space
                for (QString& cell : row)
                    cell = cell.trimmed();
        }
        if (got != want)
            qDebug().noquote() << kind << QString::fromUtf8(bytes);
        QCOMPARE(got, want);
    }

    // The word processor reads the RTF table: each row's colour, every value in reading order.
    const QString html = QString::fromUtf8(readFile(out + "/rtf/grid.html"));
    QStringList colours;
    for (auto m = QRegularExpression("<td[^>]*bgcolor=\"#([0-9a-fA-F]{6})\"").globalMatch(html); m.hasNext();)
        colours << m.next().captured(1).toLower();
    QStringList wantColours;
    for (qsizetype r = 0; r < expected.size(); ++r)
        for (int c = 0; c < fields.size(); ++c)
            wantColours << (r == 0 ? "f0f0f0" : r == expected.size() - 1 ? "ffff00" : "ffffff");
    QCOMPARE(colours, wantColours);
    QString body = html.mid(html.indexOf("<body"));
    // The writer breaks long lines at a blank, and indents.
    body.replace(QRegularExpression("\n\t+"), " ").replace(QRegularExpression("<br/?>"), "\n");
    body.remove(QRegularExpression("<[^>]*>"));
    const QString text = htmlText(body);
    QStringList words;
    for (const QStringList& row : expected)
        for (const QString& cell : row)
            if (!cell.isEmpty())
                words << cell.split(QRegularExpression("[\r\n]+"));
    qsizetype at = 0;
    for (const QString& w : words) {
        const qsizetype found = text.indexOf(w, at);
        QVERIFY2(found >= 0, qPrintable(w + " not found after " + QString::number(at) + " in:\n" + text));
        at = found + w.size();
    }
}


// The window's timers run while the rows are written; a second export started meanwhile is
// refused with a message, and the first one still writes every row.
void TestExport::windowLivesDuringAnExport_data() {
    QTest::addColumn<int>("type");
    for (int type = 1; type <= 5; ++type)
        QTest::newRow(qPrintable(Export::extension(Export::FileType(type)))) << type;
}

void TestExport::windowLivesDuringAnExport() {
    QFETCH(int, type);
    SalesGrid g(kColumns, kFooter);
    for (int i = 1; i <= 3; ++i)
        g.add(i, QString("客户%1").arg(i), "123", "10", "2008-1-1");
    g.query();
    const int previous = EventTurns::setInterval(0);
    const QString first = g.t.folder() + "/first." + Export::extension(Export::FileType(type));
    const QString second = g.t.folder() + "/second." + Export::extension(Export::FileType(type));
    bool secondWritten = true;
    int turns = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (++turns == 1)
            secondWritten = g.exportAs(second, type);
    });
    ticker.start(0);
    const bool firstWritten = g.exportAs(first, type);
    ticker.stop();
    EventTurns::setInterval(previous);

    QVERIFY(firstWritten);
    QVERIFY(turns >= 1);
    QVERIFY(!secondWritten);
    QCOMPARE(g.t.messages().texts(), (QStringList{"正在倒出数据，请稍后再试！", "倒出数据成功！"}));
    QVERIFY(!QFileInfo::exists(second));
    // The first file holds every row.
    const QByteArray written = readFile(first);
    for (int i = 1; i <= 3; ++i)
        QVERIFY2(written.contains(type == Export::Rtf   ? rtfText(QString("客户%1").arg(i))
                                  : type == Export::Xls ? xlsLabel(i, 1, QString("客户%1").arg(i)).mid(10)
                                                        : gbk(QString("客户%1").arg(i))),
                 qPrintable(QString::number(i)));
    // Once done, the next export runs as usual.
    g.t.messages().clear();
    QVERIFY(g.exportAs(second, type));
    QCOMPARE(readFile(second), written);
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
