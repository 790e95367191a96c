// Hostile text in every box of the customer dialog and the sales and repair screens: stored and
// shown again exactly, found by the searches that should find it and by no other, and exported.
#include "customers/tkehu.h"
#include "customers/txinzengkehu.h"
#include "reports/export/export.h"
#include "reports/export/gridexport.h"
#include "support/mainwindowtest.h"
#include "trade/tdinggou.h"
#include "trade/tweixiu.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringDecoder>
#include <QTest>
#include <QTreeWidget>

using namespace TestInput;

namespace {
QLineEdit* box(QWidget* w, const char* name) {
    auto* e = w->findChild<QLineEdit*>(name);
    if (!e)
        qFatal("no box %s", name);
    return e;
}

QString gb18030(const QString& file) {
    QFile f(file);
    f.open(QIODevice::ReadOnly);
    QStringDecoder d("GB18030");
    return d.decode(f.readAll());
}
} // namespace

class HostileTest : public QObject {
    Q_OBJECT
  private slots:
    void roundTrip_data();
    void roundTrip();
};

void HostileTest::roundTrip_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << QString("O'Neil \"双\" ‘单’ “全” `反`");
    QTest::newRow("percent") << QString("100%");
    QTest::newRow("underscore") << QString("a_b");
    QTest::newRow("backslashes") << QString("C:\\dir\\ \\% \\_");
    QTest::newRow("sql") << QString("'); DROP TABLE 客户信息; --");
    QTest::newRow("sql or") << QString("x' OR '1'='1");
    QTest::newRow("long") << QString(10000, QChar(u'长'));
    QTest::newRow("line breaks") << QString("第一行\n第二行\r\n第三行");
    QTest::newRow("outside gbk") << QString("张𠮷😀");
    QTest::newRow("control characters") << QString("a\x01\x07\x1b\tb\x7f");
    QTest::newRow("markup") << QString("<b>&amp;{\\rtf1}</b>;\"");
}

void HostileTest::roundTrip() {
    QFETCH(QString, text);
    MainWindowTest t;
    // Decoys that a search pattern taken literally as a wildcard would find too.
    t.dm().ADOall.exec(
        "insert into 客户信息(客户编号,客户名称,电话,手机,地址) values(1,'aXb 100元 C:dir','1','1','1')");
    t.dm().ADOall.exec("insert into 客户信息(客户编号,客户名称,电话,手机,地址) values(2,'其他','2','2','2')");

    // The new-customer dialog: every box gets the text (a line box keeps what it accepts).
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    const char* lineBoxes[] = {"Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7"};
    for (const char* name : lineBoxes)
        box(&dialog, name)->setText(text);
    dialog.findChild<QPlainTextEdit*>("Memo1")->setPlainText(text);
    const QString shown = box(&dialog, "Edit2")->text();
    const QString memo = dialog.findChild<QPlainTextEdit*>("Memo1")->toPlainText();
    const QString number = box(&dialog, "Edit1")->text();
    click(dialog.findChild<QPushButton*>("BitBtn1"));
    QCOMPARE(t.messages().texts().size(), 1);
    QVERIFY2(t.messages().last().icon == MsgIcon::Information, qPrintable(t.messages().last().text));
    dialog.hide();
    const Row stored = t.dm().ADOall.first("select * from 客户信息 where 客户编号=?", {number.toLongLong()});
    for (const char* column : {"客户名称", "身份证号", "出生年", "地址", "电话", "手机"})
        QCOMPARE(stored.text(column), shown);
    QCOMPARE(stored.text("备注"), memo);
    if (!text.contains(u'\n'))
        QCOMPARE(shown, text);

    // Looked up by number on the sales screen, the boxes show it again exactly.
    auto* sale = &t.screen<Tdinggou>("N10");
    sale->show();
    typeText(sale->Edit7, number);
    pressEnter(sale->Edit7);
    QCOMPARE(sale->Edit1->text(), shown);
    QCOMPARE(sale->Edit3->text(), shown);
    QCOMPARE(sale->Edit8->text(), shown);
    QCOMPARE(sale->Edit2->text(), shown);
    QCOMPARE(sale->Edit9->text(), shown);
    for (QLineEdit* e : {sale->Edit4, sale->Edit5, sale->Edit11})
        e->setText(text);
    sale->Memo1->setPlainText(text);
    typeText(sale->Edit6, "12.5");
    sale->paidItem->setChecked(true);
    t.messages().clear();
    click(sale->BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{"订购资料录入成功！"});
    const Row s = t.dm().ADOall.first("select * from dinggou");
    for (const char* column : {"客户名称", "手机", "电话", "地址", "身份证号", "出生年"})
        QCOMPARE(s.text(column), shown);
    const QString line = QLineEdit(text).text(); // what a line box holds of the text
    for (const char* column : {"订购型号", "主机序列号", "客服人员"})
        QCOMPARE(s.text(column), line);
    QCOMPARE(s.text("备注"), memo);
    QCOMPARE(t.dm().ADOall.first("select 主机序列号 from 帐款明细").text("主机序列号"), line);
    QCOMPARE(t.dm().ADOall.first("select 客户名称 from 收款记录").text("客户名称"), shown);
    sale->close();

    // The repair screen keeps its remark and serial as typed.
    auto* repair = &t.screen<Tweixiu>("N26");
    repair->show();
    typeText(repair->Edit6, number);
    pressEnter(repair->Edit6);
    repair->Edit8->setText(text);
    repair->Memo1->setPlainText(text);
    repair->ListView1->topLevelItem(0)->setCheckState(0, Qt::Checked);
    typeText(repair->Edit5, "30");
    t.messages().clear();
    click(repair->BitBtn2);
    QCOMPARE(t.messages().texts(), QStringList{"维修资料录入成功！"});
    const Row w = t.dm().ADOall.first("select * from 维修记录");
    QCOMPARE(w.text("客户名称"), shown);
    QCOMPARE(w.text("主机序列号"), line);
    QCOMPARE(w.text("备注"), memo);
    repair->close();

    // The customer search finds it by name, telephone, mobile and address, and finds nothing else.
    auto* list = &t.screen<Tkehu>("N32");
    list->show();
    auto* column = list->findChild<QComboBox*>("ComboBox1");
    for (const QString& c : {QString("客户名称"), QString("电话"), QString("手机"), QString("地址")}) {
        column->setEditText(c);
        box(list, "Edit1")->setText(shown);
        t.messages().clear();
        click(list->findChild<QPushButton*>("BitBtn1"));
        QCOMPARE(t.messages().texts(), QStringList());
        QCOMPARE(t.dm().ADOQuery(3).count(), 1);
        QCOMPARE(t.dm().ADOQuery(3).row(0).text(c), shown);
    }

    // Every export format holds it whole: a character GBK lacks goes out in GB18030, or in Unicode.
    for (auto type : {Export::Text, Export::Csv, Export::Html, Export::Rtf, Export::Xls}) {
        const QString file = t.folder() + "/out." + Export::extension(type);
        Export::writer(type)->saveToFile(*list->findChild<DataGrid*>("DBGrid1"), file);
        const QString back = gb18030(file);
        QString inFile = shown;
        if (type == Export::Csv)
            inFile.replace("\"", "\"\"");
        if (type == Export::Html)
            inFile.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;").replace("\"", "&quot;");
        if (type == Export::Xls) {
            // The labels are Unicode: one byte a character when all are below U+0100, else UTF-16.
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QByteArray raw = f.readAll();
            bool narrow = true;
            for (const QChar c : shown)
                narrow = narrow && c.unicode() <= 0xFF;
            const QByteArray label = narrow ? shown.toLatin1()
                                            : QByteArray(reinterpret_cast<const char*>(shown.utf16()),
                                                         shown.size() * 2);
            QVERIFY(raw.contains(label));
        } else if (type != Export::Rtf)
            QVERIFY2(back.contains(inFile), qPrintable(Export::extension(type)));
        else
            QCOMPARE(back.count("{") - back.count("\\{"), back.count("}") - back.count("\\}"));
    }
    list->close();
}

QTEST_MAIN(HostileTest)
#include "tst_hostile.moc"
