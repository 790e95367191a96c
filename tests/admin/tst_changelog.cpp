#include "admin/operatorform.h"
#include "admin/tcaozuorenyuan.h"
#include "admin/txinzengcaozuorenyuan.h"
#include "admin/txiugaicaozuoyuan.h"
#include "admin/txiugaimima.h"
#include "admin/tzhengli.h"
#include "customers/txiugaikehu.h"
#include "data/backup.h"
#include "reports/export/export.h"
#include "reports/txiugaijilu.h"
#include "support/mainwindowtest.h"
#include "trade/recordeditdialog.h"
#include "trade/recordmaintenance.h"
#include "trade/tbushou.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace TestInput;

namespace {
const char* const kLine = "select 操作员,操作,表名,记录,原值,新值 from 修改记录 order by id";

QList<QStringList> lines(MainWindowTest& w) {
    return w.ts().rows(kLine);
}

void doubleClickRow(DataGrid* grid, int row) {
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

template <class T = QWidget> T* child(QObject* o, const char* name) {
    return o->findChild<T*>(QString::fromLatin1(name));
}

void clickRow(QTableWidget* g, int row) {
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(row, 0)).center());
}

void addLine(MainWindowTest& w, const QString& when, const QString& op, const QString& what) {
    w.dm().ADOall.exec(
        "insert into 修改记录 (时间,操作员,操作,表名,记录,原值,新值) values (?,?,?,'dinggou','1','a','b')",
        {when, op, what});
}
} // namespace

class TestChangeLog : public QObject {
    Q_OBJECT
  private slots:
    void recordCorrections_data() {
        QTest::addColumn<bool>("sale");
        QTest::newRow("sale") << true;
        QTest::newRow("repair") << false;
    }
    void recordCorrections() {
        QFETCH(bool, sale);
        MainWindowTest w;
        const QString table = sale ? "dinggou" : "维修记录";
        const QString amount = sale ? "价格" : "维修费";
        w.dm().ADOall.exec(
            QString("insert into %1 (客户编号,客户名称,%2,日期) values (5,'张三',100000,'2008-03-05')")
                .arg(TDM1::quoteId(table), amount));
        const QString id = w.ts().rows("select id from " + TDM1::quoteId(table))[0][0];
        auto* s = qobject_cast<RecordMaintenance*>(w.open(sale ? "N38" : "N39"));
        QVERIFY(s);
        doubleClickRow(s->DBGrid1, 0);
        RecordEditDialog& d = sale ? static_cast<RecordEditDialog&>(w.session().dialog<Txiugaidinggoujilu>())
                                   : w.session().dialog<Txiugaiweixiujilu>();
        QVERIFY(d.isVisible());
        QLineEdit* box = child<QLineEdit>(&d, sale ? "Edit6" : "Edit5");
        box->clear();
        typeText(box, "12.5");
        // A save the engine refuses leaves no line.
        w.dm().ADOall.exec("CREATE TRIGGER refuse BEFORE UPDATE ON " + TDM1::quoteId(table) +
                           " BEGIN SELECT RAISE(ABORT, '数据库已锁定'); END");
        click(d.BitBtn1);
        QVERIFY(w.messages().last().text.contains("数据库已锁定"));
        QCOMPARE(lines(w), QList<QStringList>());
        w.dm().ADOall.exec("DROP TRIGGER refuse");
        click(d.BitBtn1);
        QCOMPARE(lines(w),
                 (QList<QStringList>{{"0001", "修改", table, id, amount + "：10", amount + "：12.5"}}));
        click(child<QPushButton>(s, "BitBtn10"));
        click(child<QPushButton>(s, sale ? "BitBtn3" : "BitBtn9"));
        const auto all = lines(w);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[1].mid(0, 4), (QStringList{"0001", "删除", table, id}));
        for (const QString& part : {QString("客户编号：5"), QString("客户名称：张三"), amount + "：12.5",
                                    QString("日期：2008-3-5")})
            QVERIFY2(all[1][4].split("；").contains(part), qPrintable(all[1][4]));
        QCOMPARE(all[1][5], QString());
    }

    void customers() {
        MainWindowTest w;
        w.dm().ADOall.exec(
            "insert into 客户信息 (客户编号,客户名称,电话,起用日期) values (1,'张三','555','2008-01-01')");
        QWidget* archive = w.open("N32");
        QVERIFY(archive);
        QTimer::singleShot(0, [&] {
            auto& d = w.session().dialog<Txiugaikehu>();
            QLineEdit* name = child<QLineEdit>(&d, "Edit2");
            name->clear();
            typeText(name, "O'Neil");
            click(child<QPushButton>(&d, "BitBtn1"));
        });
        click(child(archive, "ToolButton2"));
        QCOMPARE(lines(w), (QList<QStringList>{
                               {"0001", "修改", "客户信息", "1", "客户名称：张三", "客户名称：O'Neil"}}));
        click(child(archive, "ToolButton3"));
        const auto all = lines(w);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[1].mid(0, 4), (QStringList{"0001", "删除", "客户信息", "1"}));
        QVERIFY(all[1][4].startsWith("客户编号：1；客户名称：O'Neil；"));
    }

    void operators() {
        MainWindowTest w;
        auto* list = w.open<Tcaozuorenyuan>("N2");
        QVERIFY(list);
        click(list->BitBtn1);
        auto* add = qobject_cast<Txinzengcaozuorenyuan*>(w.window("新增操作人员")->widget());
        typeText(add->form->Edit1, "0002");
        add->form->Edit2->setText("李四");
        typeText(add->form->Edit3, "pw");
        typeText(add->form->Edit4, "pw");
        click(add->BitBtn1);
        auto all = lines(w);
        QCOMPARE(all.size(), 1);
        QCOMPARE(all[0].mid(0, 4), (QStringList{"0001", "新增", "操作员", "0002"}));
        QVERIFY(all[0][5].startsWith("操作员：0002；姓名：李四；1：0"));
        QVERIFY(!all[0][5].contains("密码"));

        w.closeAll();
        list = w.open<Tcaozuorenyuan>("N2");
        clickRow(list->StringGrid1, 1);
        QTimer::singleShot(0, [&] {
            auto& d = w.session().dialog<Txiugaicaozuoyuan>();
            d.form->Edit2->setText("李四四");
            typeText(d.form->Edit4, "PW"); // the password again, A-Z in any case: it stays
            click(d.BitBtn1);
        });
        click(list->BitBtn2);
        QCOMPARE(lines(w).at(1),
                 (QStringList{"0001", "修改", "操作员", "0002", "姓名：李四", "姓名：李四四"}));
        clickRow(list->StringGrid1, 1);
        click(list->BitBtn3);
        QCOMPARE(lines(w).at(2).mid(0, 4), (QStringList{"0001", "删除", "操作员", "0002"}));

        auto* change = w.open<Txiugaimima>("N11");
        typeText(change->Edit3, "neu");
        typeText(change->Edit4, "neu");
        click(change->BitBtn1);
        all = lines(w);
        QCOMPARE(all.size(), 4);
        QCOMPARE(all[3],
                 (QStringList{"0001", "修改", "操作员", "0001", "密码：（不显示）", "密码：（已更改）"}));
    }

    void arrearsCollection() {
        MainWindowTest w;
        w.dm().ADOall.exec("insert into 客户信息 (客户编号,客户名称) values (5,'张三')");
        for (const char* amount : {"12500000", "995000"})
            w.dm().ADOall.exec(
                QString("insert into 帐款明细 (客户编号,客户名称,地址,应付金额,付款情况,日期) values "
                        "(5,'张三','城关镇',%1,'未付款','2008-03-05')")
                    .arg(amount));
        auto* s = w.open<Tbushou>("N28");
        QVERIFY(s);
        typeText(s->Edit1, "张三");
        pressEnter(s->Edit1);
        click(s->BitBtn5);
        click(s->BitBtn3);
        QCOMPARE(w.messages().texts(), QStringList{"补收欠款成功！"});
        QCOMPARE(
            lines(w),
            (QList<QStringList>{
                {"0001", "补收", "帐款明细", "5",
                 "id：1，应付金额：1250，付款情况：未付款；id：2，应付金额：99.5，付款情况：未付款",
                 "付款情况：已付款；收款金额：1349.5；日期：" + QDate::currentDate().toString("yyyy-M-d")}}));
    }

    // History clearing and initialisation keep the log and add their own line; a restore brings
    // the restored file's log and a line for itself.
    void maintenance() {
        MainWindowTest w;
        w.dm().ADOall.exec(
            "insert into dinggou (客户名称,日期) values ('甲','2008-03-01'), ('乙','2008-03-09')");
        w.dm().ADOall.exec("insert into 客户信息 (客户编号,客户名称) values (1,'甲')");
        auto* clear = w.open<Tzhengli>("N6");
        QVERIFY(clear);
        clear->DateTimePicker1->setDate(QDate(2008, 3, 5));
        click(child<QPushButton>(clear, "BitBtn1"));
        QCOMPARE(lines(w),
                 (QList<QStringList>{{"0001", "清除历史", "dinggou、收款记录、维修记录、帐款明细",
                                      "日期早于2008-3-5",
                                      "dinggou：1条；收款记录：0条；维修记录：0条；帐款明细：0条", ""}}));
        const QString backup = QDir(w.ts().folder()).filePath("before.bak");
        DbBackup::backupTo(w.dm(), backup);

        w.open("N4");
        auto all = lines(w);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[1],
                 (QStringList{"0001", "初始化", "", "",
                              "dinggou：1条；客户信息：1条；收款记录：0条；维修记录：0条；帐款明细：0条；"
                              "维修项目：6条；操作员：1条；乡镇：0条",
                              "维修项目：6条；操作员：1条（0001 系统管理员）"}));

        w.files().answer(backup);
        w.open("N12");
        QCOMPARE(w.messages().texts().last(), QString("恢复数据成功！"));
        all = lines(w);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[0][1], QString("清除历史"));
        QCOMPARE(all[1], (QStringList{"0001", "恢复", "", "",
                                      "原数据库保存为：" + DbBackup::safetyCopyName(w.dm().fileName()),
                                      "恢复自：" + backup}));
        QCOMPARE(w.ts().count("客户信息"), 1);
    }

    void screenFiltersAndExports() {
        MainWindowTest w;
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");
        const QString longAgo = QDate::currentDate().addMonths(-3).toString("yyyy-MM-dd");
        addLine(w, longAgo + " 10:00:00", "0001", "删除");
        addLine(w, today + " 08:00:00", "0002", "修改");
        addLine(w, today + " 09:30:00", "0001", "补收");
        auto* s = w.open<Txiugaijilu>("N42");
        QVERIFY(s);
        QVERIFY(w.window("修改记录查询"));
        const auto shown = [s] {
            QStringList out;
            for (int r = 0; r < s->DBGrid1->rowCount(); ++r)
                out << s->DBGrid1->cellText(r, "操作");
            return out;
        };
        QCOMPARE(s->DBGrid1->rowCount(), 0);
        click(s->BitBtn1);
        // The last month by default, newest first.
        QCOMPARE(shown(), (QStringList{"补收", "修改"}));
        s->ComboBox1->setCurrentText("0002");
        click(s->BitBtn1);
        QCOMPARE(shown(), QStringList{"修改"});
        s->ComboBox1->setCurrentText(QString());
        s->DateTimePicker1->setDate(QDate::currentDate().addYears(-1));
        click(s->BitBtn1);
        QCOMPARE(shown(), (QStringList{"补收", "修改", "删除"}));
        s->DateTimePicker2->setDate(QDate::currentDate().addDays(-1));
        click(s->BitBtn1);
        QCOMPARE(shown(), QStringList{"删除"});

        const QString file = QDir(w.ts().folder()).filePath("log.txt");
        w.files().answer(file, Export::filters().value(0));
        doubleClickRow(s->DBGrid1, 0);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QStringDecoder("GBK").decode(f.readAll());
        QVERIFY2(text.startsWith("时间\t操作员\t操作\t表名\t记录\t原值\t新值\r\n" + longAgo +
                                 " 10:00:00\t0001\t删除\tdinggou\t1\ta\tb\r\n"),
                 qPrintable(text));
    }
};

QTEST_MAIN(TestChangeLog)
#include "tst_changelog.moc"
