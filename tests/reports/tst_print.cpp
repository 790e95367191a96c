#include "data/dates.h"
#include "reports/print/printdbgrid.h"
#include "reports/print/tfprndbgridsetupdialog.h"
#include "reports/print/tpreviewform.h"
#include "support/testsession.h"
#include "ui/datagrid.h"
#include "ui/fonts.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("一日销售情况汇总");

// A report screen in miniature: one grid on the sales query with the sales columns and footer.
struct Fixture {
    TestSession t;
    QWidget screen;
    DataGrid* grid;
    TPrintDBGrid* printer;

    explicit Fixture(const QStringList& fields = {}) {
        Fonts::install();
        auto* lay = new QVBoxLayout(&screen);
        grid = new DataGrid(&screen);
        grid->setObjectName("DBGrid1");
        lay->addWidget(grid);
        QFont f(QStringLiteral("宋体"));
        f.setPixelSize(13);
        grid->setFont(f);
        grid->bind(t.session(), t.dm().ADOQuery(12));
        const QStringList shown =
            fields.isEmpty() ? QStringList{"客户编号",   "客户名称", "电话", "手机", "地址",  "订购型号",
                                           "主机序列号", "价格",     "日期", "备注", "经手人"}
                             : fields;
        QList<GridColumn> cols;
        for (const QString& c : shown)
            cols.append({c, 80, {}});
        grid->setColumns(cols);
        grid->setFooter({{"客户名称", FooterCell::Text, "合计次数"},
                         {"电话", FooterCell::Count, {}},
                         {"主机序列号", FooterCell::Text, "合计金额"},
                         {"价格", FooterCell::Sum, {}}});
        screen.resize(800, 400);
        t.dm().ADOQuery(12).close();
        printer = new TPrintDBGrid(t.session(), grid, PrintSettings::reportDefaults(kTitle), &screen);
    }

    void addSales(int n, const QString& date = "2024-05-06") {
        t.dm().transaction([&] {
            for (int i = 1; i <= n; ++i)
                t.dm().ADOall.exec(
                    "insert into dinggou(客户编号, 客户名称, 电话, 手机, 地址, 订购型号, 主机序列号, "
                    "价格, 日期, 备注, 经手人) values(?,?,?,?,?,?,?,?,?,?,?)",
                    {i, QString("张三%1").arg(i), "5551234", "13900000000", "城关镇东村", "联想天逸",
                     QString("SN%1").arg(i), Money::fromYuan(1250).toVariant(), date, "", "0001"});
        });
    }
    void query(const QString& sql, const QVariantList& params = {}) { t.dm().ADOQuery(12).open(sql, params); }

    TPreviewForm* preview() {
        for (TPreviewForm* f : screen.findChildren<TPreviewForm*>())
            if (f->isVisible())
                return f;
        return nullptr;
    }
};

// The text layer of a PDF, or of one of its pages.
QString pdfText(const QString& file, int page = 0) {
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty())
        return "pdftotext is missing";
    QStringList args;
    if (page > 0)
        args << "-f" << QString::number(page) << "-l" << QString::number(page);
    args << file << "-";
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& file) {
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdfinfo"), {file});
    p.waitForFinished(60000);
    const auto m = QRegularExpression("Pages:\\s+(\\d+)").match(QString::fromUtf8(p.readAllStandardOutput()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Runs f on the print settings dialog as soon as the preview opens it.
void onSettingsDialog(TPreviewForm* form, std::function<void(TfPrnDBGridSetupDialog*)> f) {
    QTimer::singleShot(0, form, [form, f] {
        auto* dlg = form->findChild<TfPrnDBGridSetupDialog*>();
        QVERIFY(dlg);
        f(dlg);
    });
}

void setText(QLineEdit* e, const QString& text) {
    e->selectAll();
    e->clear();
    TestInput::typeText(e, text);
}
} // namespace

class TestPrint : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void pageMacros_data();
    void pageMacros();
    void threePagesWithHeaders();
    void emptyResultPrintsTitleRowAndFooter();
    void gridFitsPageWidth_data();
    void gridFitsPageWidth();
    void neverQueriedGridOpensNoPreview();
    void previewWindow();
    void stopLeavesPagesFinished_data();
    void stopLeavesPagesFinished();
    void settingsDialogChangesLayout_data();
    void settingsDialogChangesLayout();
    void marginUnitsConvert();
    void pdfHoldsChineseText();
    void cancelledSaveWritesNothing();
};

void TestPrint::initTestCase() {
    Fonts::install();
}

void TestPrint::pageMacros_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("screens' header") << "第&[page]页 共&[pages]页"
                                     << "第2页 共3页";
    QTest::newRow("mixed case") << "&[Page]/&[PAGES]/&[pAgE]"
                                << "2/3/2";
    QTest::newRow("dates") << "&[Date]|&[ShortDate]|&[LongDate]|&[Time]"
                           << "2008-3-5|2008-3-5|2008年3月5日|9:05:07";
    QTest::newRow("unknown kept") << "&[Pag] &[foo] & [page]"
                                  << "&[Pag] &[foo] & [page]";
    QTest::newRow("no macro") << "打印日期时间:"
                              << "打印日期时间:";
}

void TestPrint::pageMacros() {
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(expandPageMacros(text, 2, 3, QDateTime(QDate(2008, 3, 5), QTime(9, 5, 7))), expected);
}

void TestPrint::threePagesWithHeaders() {
    Fixture f;
    f.addSales(300);
    f.query("select * from dinggou");
    QVERIFY(f.printer->layOut());
    const int first = f.printer->rowsOnPage(0), later = f.printer->rowsOnPage(1);
    QVERIFY(first > 0 && later > first); // the title text takes room on the first page only
    // Enough rows for two full pages and half a third.
    const int n = first + later + later / 2;
    f.query("select * from dinggou where 客户编号 <= ?", {n});
    f.printer->preview(&f.screen);
    TPreviewForm* form = f.preview();
    QVERIFY(form);
    QCOMPARE(f.printer->pageCount(), 3);
    QCOMPARE(f.printer->rowsOnPage(0) + f.printer->rowsOnPage(1) + f.printer->rowsOnPage(2), n);
    const QDateTime at = f.printer->printedAt();
    QCOMPARE(f.printer->headerTexts(1),
             (QStringList{"打印日期时间:" + Dates::shortDate(at.date()) + " " + Dates::longTime(at.time()),
                          "", "第2页 共3页"}));
    QCOMPARE(form->StatusBar1->text(), QString("Page 1 of 3"));

    // The printed second page carries the same header, the grid's title row and no title text.
    const QString file = f.t.folder() + "/three.pdf";
    f.t.files().answer(file);
    TestInput::click(form->tbtPrint);
    QCOMPARE(pdfPages(file), 3);
    const QString second = pdfText(file, 2);
    QVERIFY2(second.contains("第2页 共3页"), qPrintable(second));
    QVERIFY(second.contains("打印日期时间:" + Dates::shortDate(at.date())));
    QVERIFY(second.contains("客户编号"));
    QVERIFY(!second.contains(kTitle));
    QVERIFY(!second.contains("合计次数"));
    QVERIFY(pdfText(file, 1).contains(kTitle));
    const QString third = pdfText(file, 3);
    QVERIFY(third.contains("第3页 共3页"));
    QVERIFY(third.contains("合计次数"));
    QVERIFY(third.contains(QString::number(n)));
    QVERIFY(third.contains(QString("张三%1").arg(n)));
}

void TestPrint::emptyResultPrintsTitleRowAndFooter() {
    Fixture f;
    f.addSales(3, "2024-05-06");
    f.query("select * from dinggou where 日期=?", {"2024-05-07"});
    f.printer->preview(&f.screen);
    TPreviewForm* form = f.preview();
    QVERIFY(form);
    QCOMPARE(f.printer->pageCount(), 1);
    QCOMPARE(f.printer->rowsOnPage(0), 0);
    QCOMPARE(form->StatusBar1->text(), QString("Page 1 of 1"));
    QVERIFY(!form->tbtNextPage->isEnabled());
    QVERIFY(!form->tbtPrevPage->isEnabled());

    const QString file = f.t.folder() + "/empty.pdf";
    f.t.files().answer(file);
    TestInput::click(form->tbtPrint);
    const QString text = pdfText(file);
    for (const QString& s : {kTitle, QString("客户编号"), QString("主机序列号"), QString("经手人"),
                             QString("合计次数"), QString("合计金额"), QString("第1页 共1页")})
        QVERIFY2(text.contains(s), qPrintable(s + " in " + text));
    QVERIFY(text.contains(QRegularExpression("\\b0\\b"))); // the count of rows
    QVERIFY(!text.contains("张三"));
}

void TestPrint::gridFitsPageWidth_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QString>("remark");
    QTest::addColumn<bool>("scaled");
    QTest::newRow("narrow grid") << QStringList{"客户编号", "客户名称"} << "" << false;
    QTest::newRow("wide grid") << QStringList{} << QString(60, QChar(u'备')) << true;
}

void TestPrint::gridFitsPageWidth() {
    QFETCH(QStringList, fields);
    QFETCH(QString, remark);
    QFETCH(bool, scaled);
    Fixture f(fields);
    f.addSales(5);
    f.t.dm().ADOall.exec("update dinggou set 备注=?", {remark});
    f.query("select * from dinggou");
    QVERIFY(f.printer->layOut());
    const double printable = f.printer->printableRect().width();
    if (scaled) {
        QVERIFY(f.printer->gridWidth() > printable);
        QVERIFY(f.printer->gridScale() < 1);
        QVERIFY(qAbs(f.printer->gridWidth() * f.printer->gridScale() - printable) < 0.01);
    } else {
        // Natural size: as wide as the widest texts, far narrower than the page, and not stretched.
        QCOMPARE(f.printer->gridScale(), 1.0);
        QVERIFY(f.printer->gridWidth() < printable / 2);
        const QList<double> widths = f.printer->columnWidths();
        QCOMPARE(widths.size(), 2);
        QVERIFY(widths[1] < widths[0] * 3);
    }
}

void TestPrint::neverQueriedGridOpensNoPreview() {
    Fixture f;
    f.addSales(2);
    f.printer->preview(&f.screen);
    QVERIFY(!f.preview());
    QCOMPARE(f.printer->pageCount(), 0);
    QVERIFY(f.t.messages().shown.empty());
}

void TestPrint::previewWindow() {
    Fixture f;
    f.addSales(200);
    f.query("select * from dinggou");
    f.printer->preview(&f.screen);
    TPreviewForm* form = f.preview();
    QVERIFY(form);
    QCOMPARE(form->windowTitle(), QString("预览 - 表格信息"));
    QVERIFY(form->isMaximized());
    const int pages = f.printer->pageCount();
    QVERIFY(pages >= 3);
    for (QToolButton* b :
         {form->tbtPrint, form->tbtPrinterSetupDialog, form->tbtScale, form->tbtNextPage, form->tbClose})
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
    QVERIFY(!form->tbStop->isEnabled());
    QVERIFY(!form->tbtPrevPage->isEnabled());
    QCOMPARE(form->tbtPrint->text(), QString("打印"));
    QCOMPARE(form->tbtPrint->toolTip(), QString("打印"));
    QCOMPARE(form->tbtNextPage->autoRepeatDelay(), 400);
    QCOMPARE(form->tbtNextPage->autoRepeatInterval(), 100);

    TestInput::click(form->tbtNextPage);
    QCOMPARE(form->StatusBar1->text(), QString("Page 2 of %1").arg(pages));
    QVERIFY(form->tbtPrevPage->isEnabled());
    for (int i = 2; i < pages; ++i)
        TestInput::click(form->tbtNextPage);
    QCOMPARE(form->currentPage(), pages);
    QVERIFY(!form->tbtNextPage->isEnabled());
    TestInput::click(form->tbtPrevPage);
    QCOMPARE(form->currentPage(), pages - 1);

    // The zoom menu: whole page at first, one checked item at a time.
    QStringList items;
    QString checked;
    for (QAction* a : form->ScaleMenu->actions()) {
        items << a->text();
        if (a->isChecked())
            checked = a->text();
    }
    QCOMPARE(items,
             (QStringList{"500%", "200%", "150%", "100%", "75%", "50%", "25%", "10%", "页宽度", "整个页面"}));
    QCOMPARE(checked, QString("整个页面"));
    form->ScaleMenu->actions()[3]->trigger();
    QCOMPARE(form->zoom(), 1.0);
    QVERIFY(!form->ScaleMenu->actions()[9]->isChecked());
    form->ScaleMenu->actions()[1]->trigger();
    QCOMPARE(form->zoom(), 2.0);

    // Esc closes the window when nothing is being laid out.
    QTest::keyClick(form, Qt::Key_Escape);
    QVERIFY(!form->isVisible());
}

void TestPrint::stopLeavesPagesFinished_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("停止") << false;
    QTest::newRow("Esc") << true;
}

void TestPrint::stopLeavesPagesFinished() {
    QFETCH(bool, escape);
    Fixture f;
    f.addSales(2000);
    f.query("select * from dinggou");
    // "停止" or Esc is pressed as soon as the laying out lets events through.
    QTimer::singleShot(0, &f.screen, [&f, escape] {
        TPreviewForm* form = f.preview();
        QVERIFY(form && form->isBusy());
        QVERIFY(form->tbStop->isEnabled());
        QVERIFY(!form->tbClose->isEnabled());
        QVERIFY(!form->tbtPrint->isEnabled());
        if (escape)
            QTest::keyClick(form, Qt::Key_Escape);
        else
            TestInput::click(form->tbStop);
    });
    f.printer->preview(&f.screen);
    TPreviewForm* form = f.preview();
    QVERIFY(form);
    QVERIFY(!form->isBusy());
    QVERIFY(!f.printer->isLaidOut());
    QVERIFY(form->tbClose->isEnabled());
    QVERIFY(!form->tbStop->isEnabled());
    // The pages laid out before the stop are shown, and they print.
    const int pages = f.printer->pageCount();
    int rows = 0;
    for (int p = 0; p < pages; ++p)
        rows += f.printer->rowsOnPage(p);
    QVERIFY2(pages >= 1 && rows > 0 && rows < 2000, qPrintable(QString("%1 pages, %2 rows").arg(pages).arg(rows)));
    QCOMPARE(form->StatusBar1->text(), QString("Page 1 of %1").arg(pages));
    QVERIFY(form->tbtPrint->isEnabled());
    const QString file = f.t.folder() + "/stopped.pdf";
    f.t.files().answer(file);
    TestInput::click(form->tbtPrint);
    QCOMPARE(pdfPages(file), pages);
    QVERIFY(pdfText(file, 1).contains("张三1"));

    // Laid out again without stopping, every row is placed.
    f.printer->preview(&f.screen);
    QVERIFY(f.printer->isLaidOut());
    rows = 0;
    for (int p = 0; p < f.printer->pageCount(); ++p)
        rows += f.printer->rowsOnPage(p);
    QCOMPARE(rows, 2000);
}

void TestPrint::settingsDialogChangesLayout_data() {
    QTest::addColumn<QString>("margin");
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("message");
    QTest::newRow("smaller margins") << "0.5"
                                     << "btnOK" << true << "";
    QTest::newRow("cancelled") << "0.5"
                               << "btnCancel" << false << "";
    QTest::newRow("not a number") << "1,5"
                                  << "btnOK" << false << "页边距必须是不小于0的数字！";
    QTest::newRow("negative") << "-1"
                              << "btnOK" << false << "页边距必须是不小于0的数字！";
    QTest::newRow("too large") << "12"
                               << "btnOK" << false << "页边距太大！";
}

void TestPrint::settingsDialogChangesLayout() {
    QFETCH(QString, margin);
    QFETCH(QString, button);
    QFETCH(bool, changed);
    QFETCH(QString, message);
    Fixture f;
    f.addSales(200);
    f.query("select * from dinggou");
    f.printer->preview(&f.screen);
    TPreviewForm* form = f.preview();
    QVERIFY(form);
    const int pagesBefore = f.printer->pageCount();
    const int rowsBefore = f.printer->rowsOnPage(1);
    const double scaleBefore = f.printer->gridScale();

    onSettingsDialog(form, [&](TfPrnDBGridSetupDialog* dlg) {
        QCOMPARE(dlg->windowTitle(), QString("打印设置"));
        QCOMPARE(dlg->edtTop->text(), QString("2"));
        QVERIFY(dlg->cbFitWidth->isChecked());
        QVERIFY(dlg->cbOptimal->isChecked());
        QVERIFY(!dlg->cbStretch->isChecked());
        QVERIFY(!dlg->cbColoured->isChecked());
        QVERIFY(dlg->rbScale->isChecked());
        QVERIFY(dlg->rgFitMode->isEnabled());
        TestInput::click(dlg->cbFitWidth);
        QVERIFY(!dlg->rgFitMode->isEnabled());
        TestInput::click(dlg->cbFitWidth);
        QVERIFY(dlg->rgFitMode->isEnabled());
        for (QLineEdit* e : {dlg->edtTop, dlg->edtBottom, dlg->edtLeft, dlg->edtRight})
            setText(e, margin);
        TestInput::click(dlg->findChild<QPushButton*>(button));
        if (dlg->isVisible()) { // refused: the dialog stays open with what was typed
            QCOMPARE(dlg->edtTop->text(), margin);
            TestInput::click(dlg->btnCancel);
        }
    });
    TestInput::click(form->tbtPrinterSetupDialog);

    if (message.isEmpty())
        QVERIFY(f.t.messages().shown.empty());
    else
        QCOMPARE(f.t.messages().texts(), QStringList{message});
    const PrintMargins& m = f.printer->settings().margins;
    if (changed) {
        QCOMPARE(m.top, 0.5);
        QCOMPARE(m.right, 0.5);
        QVERIFY(f.printer->rowsOnPage(1) > rowsBefore);
        QVERIFY(f.printer->gridScale() > scaleBefore);
        QVERIFY(f.printer->pageCount() <= pagesBefore);
        QCOMPARE(form->StatusBar1->text(), QString("Page 1 of %1").arg(f.printer->pageCount()));
    } else {
        QCOMPARE(m.top, 2.0);
        QCOMPARE(m.left, 2.0);
        QCOMPARE(f.printer->rowsOnPage(1), rowsBefore);
        QCOMPARE(f.printer->pageCount(), pagesBefore);
    }
}

void TestPrint::marginUnitsConvert() {
    Fixture f;
    f.query("select * from dinggou");
    f.printer->preview(&f.screen);
    TPreviewForm* form = f.preview();
    QVERIFY(form);
    const double widthBefore = f.printer->printableRect().width();
    QStringList seen;
    onSettingsDialog(form, [&](TfPrnDBGridSetupDialog* dlg) {
        QCOMPARE(dlg->cbUnits->currentText(), QString("厘米"));
        dlg->cbUnits->setCurrentIndex(1);
        seen << dlg->edtTop->text() << dlg->edtLeft->text();
        dlg->cbUnits->setCurrentIndex(0);
        seen << dlg->edtTop->text();
        dlg->cbUnits->setCurrentIndex(1);
        TestInput::click(dlg->btnOK);
    });
    TestInput::click(form->tbtPrinterSetupDialog);
    QCOMPARE(seen, (QStringList{"0.7874", "0.7874", "2"}));
    QVERIFY(f.printer->settings().units == MarginUnits::Inches);
    QCOMPARE(f.printer->settings().margins.left, 0.7874);
    // The same margins in other units: the printable width barely moves.
    QVERIFY(qAbs(f.printer->printableRect().width() - widthBefore) < 0.5);
}

void TestPrint::pdfHoldsChineseText() {
    Fixture f;
    f.addSales(2);
    f.t.dm().ADOall.exec("update dinggou set 备注='送鼠标' where 客户编号=2");
    f.query("select * from dinggou");
    f.printer->preview(&f.screen);
    TPreviewForm* form = f.preview();
    QVERIFY(form);
    QVERIFY(form->tbtPrint->isEnabled());
    const QString file = f.t.folder() + "/打印结果";
    f.t.files().answer(file);
    TestInput::click(form->tbtPrint);
    QCOMPARE(f.t.files().asked.size(), size_t(1));
    QCOMPARE(f.t.files().asked[0].fileName, QString("表格信息.pdf"));
    QCOMPARE(f.t.files().asked[0].defaultSuffix, QString("pdf"));
    QVERIFY(f.t.messages().shown.empty());
    const QString text = pdfText(file + ".pdf");
    for (const QString& s : {kTitle, QString("客户编号"), QString("客户名称"), QString("订购型号"),
                             QString("张三1"), QString("张三2"), QString("联想天逸"), QString("城关镇东村"),
                             QString("送鼠标"), QString("1250"), QString("2500"), QString("2024-5-6"),
                             QString("合计次数"), QString("合计金额"), QString("打印日期时间:")})
        QVERIFY2(text.contains(s), qPrintable(s + " in " + text));
    QVERIFY(form->isVisible()); // the preview stays open after printing
}

void TestPrint::cancelledSaveWritesNothing() {
    Fixture f;
    f.addSales(1);
    f.query("select * from dinggou");
    f.printer->preview(&f.screen);
    TPreviewForm* form = f.preview();
    QVERIFY(form);
    f.t.files().answer(QString());
    TestInput::click(form->tbtPrint);
    QCOMPARE(f.t.files().asked.size(), size_t(1));
    QVERIFY(QDir(f.t.folder()).entryList({"*.pdf"}).isEmpty());
    QVERIFY(f.t.messages().shown.empty());

    // A file that cannot be created is reported with its name.
    const QString bad = f.t.folder() + "/no/such/folder/x.pdf";
    f.t.files().answer(bad);
    TestInput::click(form->tbtPrint);
    QCOMPARE(f.t.messages().texts(), QStringList{"无法创建文件“" + bad + "”。"});
    QCOMPARE(int(f.t.messages().last().icon), int(MsgIcon::Error));
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
