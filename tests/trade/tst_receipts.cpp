#include "admin/tdayinshezhi.h"
#include "data/dates.h"
#include "data/programfolder.h"
#include "data/settings.h"
#include "reports/print/printdbgrid.h"
#include "reports/print/tpreviewform.h"
#include "reports/tchaxun.h"
#include "support/escpos.h"
#include "support/mainwindowtest.h"
#include "trade/arrearslist.h"
#include "trade/tbushou.h"
#include "trade/tdinggou.h"
#include "trade/tweixiu.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace TestInput;

namespace {
const QString kRule32(32, u'-');

void addCustomer(MainWindowTest& w, int number, const QString& name) {
    w.dm().ADOall.exec(
        "insert into 客户信息(客户编号,客户名称,地址,起用日期) values(?,?,'城关镇','2008-01-01')",
        {number, name});
}

void setPrinter(const QString& port, const QString& device, const QString& paper = "58") {
    const QString ini = ProgramFolder::iniFile();
    IniFile::write(ini, "程序参数", "打印端口", port);
    IniFile::write(ini, "程序参数", "小票尾", "谢谢惠顾，欢迎再来！");
    IniFile::write(ini, "小票打印机", port, device);
    IniFile::write(ini, "小票打印机", "纸宽", paper);
}

QByteArray readAll(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int gbkWidth(const QString& s) {
    return int(QByteArray(QStringEncoder("GBK").encode(s)).size());
}

void sell(Tdinggou* s, const QString& number, const QString& model, const QString& serial,
          const QString& price, bool paid) {
    typeText(s->Edit7, number);
    pressEnter(s->Edit7);
    typeText(s->Edit4, model);
    typeText(s->Edit5, serial);
    typeText(s->Edit6, price);
    if (paid)
        click(s->paidItem);
    click(s->BitBtn2);
}

// The lines every receipt opens with, after the shop name; the time only by its day.
QStringList head(const EscPosPaper& r, const QString& title, const QString& number, const QString& name) {
    QStringList t = r.texts();
    if (t.size() > 2 && t[2].startsWith("时间："))
        t[2] = t[2].section(' ', 0, 0);
    return t.mid(0, 6) == QStringList{"实惠电脑",
                                      title,
                                      "时间：" + Dates::shortDate(QDate::currentDate()),
                                      "操作员：0001",
                                      "客户编号：" + number,
                                      "客户名称：" + name}
               ? QStringList()
               : t;
}

QString pdfText(const QString& file) {
    QProcess p;
    p.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", file, "-"});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TPreviewForm* preview() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* f = qobject_cast<TPreviewForm*>(top); f && f->isVisible())
            return f;
    return nullptr;
}
} // namespace

class TestReceipts : public QObject {
    Q_OBJECT
  private slots:
    void saleReceipt_data() {
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("paid");
        QTest::addRow("58 mm, paid") << 58 << true;
        QTest::addRow("80 mm, owed") << 80 << false;
    }
    void saleReceipt() {
        QFETCH(int, paper);
        QFETCH(bool, paid);
        MainWindowTest w;
        w.session().shopName = "实惠电脑";
        const QString device = w.ts().folder() + "/lp0";
        setPrinter("lpt2", device, QString::number(paper));
        addCustomer(w, 5, "张三");
        auto* s = w.open<Tdinggou>("N10");
        QVERIFY(!s->CheckBox1->isChecked());
        QCOMPARE(s->CheckBox1->text(), QString("打印小票"));
        click(s->CheckBox1);
        sell(s, "5", "联想T1", "SN-9", "3999.5", paid);
        QCOMPARE(w.messages().texts(), QStringList{"订购资料录入成功！"});

        const EscPosPaper out = decodeEscPos(readAll(device));
        QVERIFY2(out.error.isEmpty(), qPrintable(out.error));
        QVERIFY(out.initialised);
        QCOMPARE(out.cuts, 1);
        QCOMPARE(head(out, "销售小票", "5", "张三"), QStringList());
        const int columns = paper == 80 ? 48 : 32;
        const QString rule(columns, u'-');
        const QStringList texts = out.texts();
        QCOMPARE(
            texts.mid(6).replaceInStrings(QRegularExpression(" +"), " "),
            (QStringList{rule, "联想T1 3999.5", "序列号：SN-9", rule, "合计： 3999.5",
                         paid ? "已付： 3999.5" : "欠款： 3999.5", rule, "谢谢惠顾，欢迎再来！", "<cut>"}));
        // The amounts stand at the right edge of the paper.
        for (int i : {7, 10, 11})
            QCOMPARE(gbkWidth(texts[i]), columns);
        QCOMPARE(out.lines[0].align, 1);
        QVERIFY(out.lines[0].big);
        QCOMPARE(out.lines[1].align, 1);
        QVERIFY(!out.lines[1].big);
        for (int i = 2; i < 13; ++i)
            QCOMPARE(out.lines[i].align, 0);
        QCOMPARE(out.lines[13].align, 1);
        for (int i = 0; i < 14; ++i)
            QVERIFY(out.lines[i].chinese);

        // The tick stays for the next opening of the screen; 重印小票 prints the same receipt again.
        w.closeAll();
        QVERIFY(w.open<Tdinggou>("N10")->CheckBox1->isChecked());
        QVERIFY(!w.open<Tweixiu>("N26")->CheckBox1->isChecked());
        w.main().findChild<QAction*>("N51")->trigger();
        const QList<EscPosPaper> both = decodeEscPos(readAll(device)).receipts();
        QCOMPARE(both.size(), 2);
        QCOMPARE(both[1].texts(), both[0].texts());
    }

    void repairAndCollectionReceipts() {
        MainWindowTest w;
        w.session().shopName = "实惠电脑";
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        const QString device = w.ts().folder() + "/lp0";
        setPrinter("lpt1", device);
        addCustomer(w, 3, "李四");
        auto* r = w.open<Tweixiu>("N26");
        click(r->CheckBox1);
        typeText(r->Edit6, "3");
        pressEnter(r->Edit6);
        typeText(r->Edit8, "NEW-1");
        typeText(r->Edit5, "80");
        for (int i : {0, 2})
            r->ListView1->topLevelItem(i)->setCheckState(0, Qt::Checked);
        click(r->BitBtn2);
        EscPosPaper out = decodeEscPos(readAll(device));
        QVERIFY2(out.error.isEmpty(), qPrintable(out.error));
        QCOMPARE(head(out, "维修小票", "3", "李四"), QStringList());
        QCOMPARE(out.texts().mid(6).replaceInStrings(QRegularExpression(" +"), " "),
                 (QStringList{kRule32, "主机 显示器 80", "序列号：NEW-1", kRule32, "合计： 80", "已付： 80",
                              kRule32, "谢谢惠顾，欢迎再来！", "<cut>"}));

        // Two old debts collected at once, through a network printer.
        IniFile::write(ProgramFolder::iniFile(), "小票打印机", "lpt1",
                       QString("127.0.0.1:%1").arg(server.serverPort()));
        w.dm().ADOall.exec(
            "insert into 帐款明细(客户编号,客户名称,主机序列号,应付金额,付款情况,日期) values "
            "(3,'李四','SN-A',12000000,'未付款','2008-03-05'),(3,'李四','SN-B',5000,'未付款','2009-01-02')");
        QByteArray received;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket* c = server.nextPendingConnection();
            connect(c, &QTcpSocket::readyRead, this, [&received, c] { received += c->readAll(); });
        });
        auto* b = w.open<Tbushou>("N28");
        click(b->CheckBox1);
        typeText(b->Edit5, "3");
        pressEnter(b->Edit5);
        click(b->BitBtn5);
        w.messages().clear();
        click(b->BitBtn3);
        QCOMPARE(w.messages().texts(), QStringList{"补收欠款成功！"});
        QTRY_VERIFY(received.endsWith(QByteArray("\x1d\x56\x42\x00", 4)));
        out = decodeEscPos(received);
        QVERIFY2(out.error.isEmpty(), qPrintable(out.error));
        QCOMPARE(head(out, "收款小票", "3", "李四"), QStringList());
        QCOMPARE(out.texts().mid(6).replaceInStrings(QRegularExpression(" +"), " "),
                 (QStringList{kRule32, "日期：2008-3-5", "补收欠款 1200", "序列号：SN-A", "日期：2009-1-2",
                              "补收欠款 0.5", "序列号：SN-B", kRule32, "合计： 1200.5", "已付： 1200.5",
                              kRule32, "谢谢惠顾，欢迎再来！", "<cut>"}));
    }

    void failedPrintKeepsTheSave() {
        MainWindowTest w;
        const QString folder = w.ts().folder() + "/usb";
        setPrinter("lpt1", folder + "/lp0");
        addCustomer(w, 5, "张三");
        auto* s = w.open<Tdinggou>("N10");
        click(s->CheckBox1);
        w.messages().answer(QMessageBox::Ok); // the success message
        w.messages().answer(QMessageBox::Ok); // print again: fails again
        w.messages().answer(QMessageBox::Cancel);
        sell(s, "5", "M1", "SN-1", "10", true);
        const QStringList texts = w.messages().texts();
        QCOMPARE(texts.size(), 3);
        QCOMPARE(texts[0], QString("订购资料录入成功！"));
        QVERIFY2(texts[1].startsWith("小票打印失败：无法打开“" + folder + "/lp0”") &&
                     texts[1].endsWith("\n是否重新打印？"),
                 qPrintable(texts[1]));
        QCOMPARE(texts[2], texts[1]);
        QCOMPARE(w.messages().last().icon, MsgIcon::Question);
        QCOMPARE(w.ts().count("dinggou"), 1);
        QCOMPARE(w.ts().count("收款记录"), 1);
        // Once the printer is there, 重印小票 prints what failed.
        QVERIFY(QDir().mkpath(folder));
        w.main().findChild<QAction*>("N51")->trigger();
        QCOMPARE(decodeEscPos(readAll(folder + "/lp0")).receipts().size(), 1);
    }

    void withoutPrinterThePreviewPrintsToPdf() {
        MainWindowTest w;
        w.main().findChild<QAction*>("N51")->trigger();
        QCOMPARE(w.messages().texts(), QStringList{"没有可以重印的小票！"});
        w.messages().clear();
        // The footer is edited in the settings window, where the port and footer now show.
        auto* settings = w.open<Tdayinshezhi>("N7");
        QVERIFY(settings->ComboBox1->isVisible() && settings->Memo1->isVisible());
        QCOMPARE(settings->Memo1->toPlainText(), QString("欢迎您再次光临！"));
        settings->Edit1->clear();
        typeText(settings->Edit1, "实惠电脑");
        settings->Memo1->clear();
        QTest::keyClicks(settings->Memo1, "Thank you");
        click(settings->BitBtn1);
        addCustomer(w, 8, "王五");
        auto* s = w.open<Tdinggou>("N10");
        click(s->CheckBox1);
        sell(s, "8", "ThinkPad", "PF-2X", "5200", false);
        TPreviewForm* form = preview();
        QVERIFY(form);
        const QString pdf = w.ts().folder() + "/receipt.pdf";
        w.files().answer(pdf);
        click(form->tbtPrint);
        const QString text = pdfText(pdf).simplified();
        for (const QString& part :
             {QString("实惠电脑"), QString("销售小票"), "时间：" + Dates::shortDate(QDate::currentDate()),
              QString("操作员：0001"), QString("客户编号：8"), QString("客户名称：王五"),
              QString("ThinkPad PF-2X 5200"), QString("合计 5200"), QString("欠款：5200"),
              QString("Thank you")})
            QVERIFY2(text.contains(part), qPrintable(part + " not in " + text));
        form->close();
    }

    // The statement of what a customer owes, from the collection screen and from the history.
    void statement_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("box");
        QTest::addRow("补收欠款") << "N28"
                                  << "Edit5";
        QTest::addRow("客户全部历史信息查询") << "N30"
                                              << "Edit4";
    }
    void statement() {
        QFETCH(QString, command);
        QFETCH(QString, box);
        MainWindowTest w;
        w.session().shopName = "实惠电脑";
        addCustomer(w, 3, "李四");
        addCustomer(w, 4, "赵六");
        w.dm().ADOall.exec(
            "insert into 帐款明细(客户编号,客户名称,主机序列号,应付金额,付款情况,日期,备注) values "
            "(3,'李四','SN-B',5000,'未付款','2009-01-02','键盘'),"
            "(3,'李四','SN-A',12000000,'未付款','2008-03-05',''),"
            "(3,'李四','SN-C',7000000,'已付款','2008-03-05',''),"
            "(3,'李四','SN-D',0,'未付款','2008-03-05',''),"
            "(4,'赵六','SN-E',10000,'未付款','2008-03-05','')");
        QWidget* s = w.open(command);
        QVERIFY(s);
        auto* print = s->findChild<QPushButton*>("BitBtn14");
        auto* save = s->findChild<QPushButton*>("BitBtn15");
        QCOMPARE(print->text(), QString("打印对账单"));
        QCOMPARE(save->text(), QString("导出对账单"));
        click(print);
        QCOMPARE(w.messages().texts(), QStringList{"没有可以打印对账单的客户！"});
        QVERIFY(!preview());
        w.messages().clear();
        auto* number = s->findChild<QLineEdit*>(box);
        typeText(number, "3");
        pressEnter(number);

        click(print);
        TPreviewForm* form = preview();
        QVERIFY(form);
        const QString pdf = w.ts().folder() + "/statement.pdf";
        w.files().answer(pdf);
        click(form->tbtPrint);
        form->close();
        const QString text = pdfText(pdf).simplified();
        for (const QString& part :
             {QString("实惠电脑"), QString("对账单"), QString("客户编号：3 客户名称：李四"),
              "日期：" + Dates::longDate(QDate::currentDate()), QString("2008-3-5 3 李四 SN-A 1200"),
              QString("2009-1-2 3 李四 SN-B 0.5 键盘"), QString("合计欠款 1200.5"),
              QString("合计欠款：1200.5元")})
            QVERIFY2(text.contains(part), qPrintable(part + " not in " + text));
        for (const char* absent : {"SN-C", "SN-D", "SN-E", "赵六"})
            QVERIFY2(!text.contains(QString::fromUtf8(absent)), absent);

        const QString file = w.ts().folder() + "/statement.TXT";
        w.files().answer(file, "文本 (*.TXT)");
        click(save);
        QCOMPARE(w.files().asked.back().fileName, QString("对账单3"));
        QCOMPARE(w.messages().texts(), QStringList{"倒出数据成功！"});
        const QStringList lines =
            QString(QStringDecoder("GBK")(readAll(file))).split("\r\n", Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[1].split('\t'), (QStringList{"2008-3-5", "3", "李四", "SN-A", "1200", ""}));
        QCOMPARE(lines[2].split('\t'), (QStringList{"2009-1-2", "3", "李四", "SN-B", "0.5", "键盘"}));
        QCOMPARE(lines[3].split('\t'), (QStringList{Dates::shortDate(QDate::currentDate()), "", "实惠电脑",
                                                    "合计欠款", "1200.5", ""}));
    }
};

QTEST_MAIN(TestReceipts)
#include "tst_receipts.moc"
