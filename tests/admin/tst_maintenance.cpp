#include "admin/maintenance.h"
#include "admin/register.h"
#include "admin/txiugaimima.h"
#include "admin/tzhengli.h"
#include "data/passwords.h"
#include "data/backup.h"
#include "data/collation.h"
#include "data/dates.h"
#include "data/eventturns.h"
#include "data/programfolder.h"
#include "support/mainwindowtest.h"
#include "ui/screenregistry.h"
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

using namespace TestInput;

namespace {
const QStringList kRecordTables{"dinggou", "收款记录", "维修记录", "帐款明细"};

void addCustomer(TestSession& t, int number, const QString& name) {
    t.dm().ADOall.exec("insert into 客户信息 (客户编号, 客户名称, 起用日期) values (?, ?, ?)",
                       {number, name, "2008-03-01"});
}

QList<QStringList> customers(TestSession& t) {
    return t.rows("select 客户编号, 客户名称 from 客户信息 order by 客户编号");
}

void run(TestSession& t, const char* item) {
    ScreenRegistry r;
    registerAdminScreens(r);
    r.command(item)(t.session(), nullptr);
}

// A connection of the test's own, with the program's text order, as another program would open.
QSqlDatabase openOther(const QString& name, const QString& file) {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
    db.setDatabaseName(file);
    if (db.open())
        Collation::registerPinyin(*static_cast<sqlite3* const*>(db.driver()->handle().data()));
    return db;
}

QByteArray digest(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Rows of a database file read through a connection of its own.
QStringList namesIn(const QString& file) {
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "peek");
        db.setDatabaseName(file);
        if (db.open()) {
            QSqlQuery q("select 客户名称 from 客户信息 order by 客户编号", db);
            while (q.next())
                out << q.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("peek");
    return out;
}

// A row dated day in each of the four record tables.
void addRecords(TestSession& t, const QString& day) {
    t.dm().ADOall.exec("insert into dinggou (客户编号, 价格, 日期) values (1, 10000, ?)", {day});
    t.dm().ADOall.exec("insert into 收款记录 (客户编号, 金额, 日期) values (1, 10000, ?)", {day});
    t.dm().ADOall.exec("insert into 维修记录 (客户编号, 维修费, 日期) values (1, 10000, ?)", {day});
    t.dm().ADOall.exec(
        "insert into 帐款明细 (客户编号, 应付金额, 付款情况, 日期) values (1, 10000, '未付款', ?)", {day});
}

QStringList datesOf(TestSession& t, const QString& table) {
    QStringList out;
    for (const Row& r :
         t.dm().ADOall.query(QString("select 日期 from %1 order by 日期").arg(TDM1::quoteId(table))))
        out << r.value("日期").toString();
    return out;
}
} // namespace

class TestMaintenance : public QObject {
    Q_OBJECT
  private slots:
    void backupNames_data();
    void backupNames();
    void backupProposesTodayThenLastName();
    void backupFailureIsReported();
    void backupWhileAnotherSaveRuns();
    void windowLivesDuringABackup();
    void restoreBringsBackRows();
    void restoreCancelled();
    void restoreRefusesBadFiles_data();
    void restoreRefusesBadFiles();
    void initialisationLeavesSeeds_data();
    void initialisationLeavesSeeds();
    void initialisationIsWholeOrNothing();
    void historyClearingKeepsTheDay_data();
    void historyClearingKeepsTheDay();
    void historyClearingIsWholeOrNothing();
};

void TestMaintenance::backupNames_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("written");
    QTest::newRow("date") << "2008-3-5"
                          << "2008-3-5.bak";
    QTest::newRow("bak already") << "x.BAK"
                                 << "x.BAK.bak";
    QTest::newRow("chinese") << "备份"
                             << "备份.bak";
}

void TestMaintenance::backupNames() {
    QFETCH(QString, chosen);
    QFETCH(QString, written);
    TestSession t;
    addCustomer(t, 1, "张三");
    const QString dir = t.folder() + "/backups";
    QDir().mkpath(dir);
    t.files().answer(dir + "/" + chosen);
    run(t, "N3");
    QCOMPARE(t.messages().texts(), QStringList{"备份数据成功！"});
    QCOMPARE(t.messages().last().caption, QString("提示！"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Information);
    QCOMPARE(QDir(dir).entryList(QDir::Files), QStringList{written});
    const QString file = dir + "/" + written;
    QCOMPARE(QFile::permissions(file) & (QFileDevice::ReadGroup | QFileDevice::ReadOther |
                                         QFileDevice::WriteGroup | QFileDevice::WriteOther),
             QFileDevice::Permissions());
    DbBackup::validate(t.dm(), file);
    QCOMPARE(namesIn(file), QStringList{"张三"});
    QCOMPARE(t.files().asked.front().filter, QString("BAK文件 (*.BAK);;所有文件 (*.*)"));
}

void TestMaintenance::backupProposesTodayThenLastName() {
    TestSession t;
    run(t, "N3"); // cancelled
    QVERIFY(t.messages().shown.empty());
    QCOMPARE(QFileInfo(t.files().asked.at(0).fileName).fileName(), Dates::shortDate(QDate::currentDate()));
    QCOMPARE(QFileInfo(t.files().asked.at(0).fileName).absolutePath(), QDir(t.folder()).absolutePath());
    const QString chosen = t.folder() + "/周一";
    t.files().answer(chosen);
    run(t, "N3");
    run(t, "N3"); // cancelled again
    QCOMPARE(t.files().asked.at(2).fileName, chosen);
    QCOMPARE(t.messages().texts(), QStringList{"备份数据成功！"});
    // An existing backup of that name is replaced.
    addCustomer(t, 7, "新客户");
    t.files().answer(chosen);
    run(t, "N3");
    QCOMPARE(namesIn(chosen + ".bak"), QStringList{"新客户"});
}

void TestMaintenance::backupFailureIsReported() {
    TestSession t;
    t.files().answer(t.folder() + "/no such folder/b");
    run(t, "N3");
    QCOMPARE(t.messages().texts(), QStringList{"备份数据失败，请重试！!"});
    QCOMPARE(t.messages().last().caption, QString("错误！"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
}

void TestMaintenance::backupWhileAnotherSaveRuns() {
    TestSession t;
    addCustomer(t, 1, "张三");
    // Another connection is in the middle of a save of many rows.
    QSqlDatabase other = openOther("writer", ProgramFolder::databaseFile());
    QVERIFY(other.isOpen());
    QVERIFY(other.transaction());
    {
        QSqlQuery q(other);
        QVERIFY(q.prepare("insert into 客户信息 (客户编号, 客户名称) values (?, ?)"));
        for (int i = 2; i < 300; ++i) {
            q.addBindValue(i);
            q.addBindValue(QString("客户%1").arg(i));
            QVERIFY(q.exec());
        }
    }
    const QString chosen = t.folder() + "/during";
    t.files().answer(chosen);
    run(t, "N3");
    QCOMPARE(t.messages().texts(), QStringList{"备份数据成功！"});
    QVERIFY(other.commit());
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("writer");
    DbBackup::validate(t.dm(), chosen + ".bak");
    // The copy holds the state before the save, not half of it.
    QCOMPARE(namesIn(chosen + ".bak"), QStringList{"张三"});
    QCOMPARE(t.count("客户信息"), 299);
}

// A large database is copied in steps with the window's events processed between them: a second
// backup started meanwhile is refused, and a row this program saves meanwhile reaches the copy.
void TestMaintenance::windowLivesDuringABackup() {
    TestSession t;
    t.dm().transaction([&] {
        for (int i = 1; i <= 20000; ++i)
            t.dm().ADOall.exec("insert into 客户信息 (客户编号, 客户名称, 地址) values (?, ?, ?)",
                               {i, QString("客户%1").arg(i), QString(200, QChar(u'村'))});
    });
    const QString chosen = t.folder() + "/large";
    const QString again = t.folder() + "/again";
    const int previous = EventTurns::setInterval(0);
    int turns = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (++turns != 1)
            return;
        t.dm().ADOall.exec("insert into 客户信息 (客户编号, 客户名称) values (?, ?)", {20001, "张三"});
        t.files().answer(again);
        run(t, "N3");
    });
    ticker.start(0);
    t.files().answer(chosen);
    run(t, "N3");
    ticker.stop();
    EventTurns::setInterval(previous);

    QVERIFY(turns >= 1);
    QCOMPARE(t.messages().texts(), (QStringList{"备份数据失败，请重试！!", "备份数据成功！"}));
    QVERIFY(!QFileInfo::exists(again + ".bak"));
    DbBackup::validate(t.dm(), chosen + ".bak");
    const QStringList names = namesIn(chosen + ".bak");
    QCOMPARE(names.size(), 20001);
    QCOMPARE(names.last(), QString("张三"));
    // Nothing half-made is left beside the copy.
    QCOMPARE(QDir(t.folder()).entryList({"large*", "again*"}, QDir::Files), QStringList{"large.bak"});
}

void TestMaintenance::restoreBringsBackRows() {
    TestSession t;
    addCustomer(t, 1, "张三");
    addCustomer(t, 2, "李四");
    const QString chosen = t.folder() + "/good";
    t.files().answer(chosen);
    run(t, "N3");
    t.dm().ADOall.exec("delete from 客户信息 where 客户编号=1");
    addCustomer(t, 3, "王五");
    SharedQuery& list = t.dm().ADOQuery(3);
    list.open("select * from 客户信息 order by 客户编号");
    QCOMPARE(list.count(), 2);
    t.messages().clear();

    t.files().answer(chosen + ".bak");
    run(t, "N12");
    QCOMPARE(t.messages().texts(),
             (QStringList{"数据库恢复将要覆盖原来数据库中所有的数据，继续吗？", "恢复数据成功！"}));
    QCOMPARE(t.messages().shown.front().caption, QString("数据恢复"));
    QCOMPARE(t.messages().shown.front().icon, MsgIcon::Question);
    QCOMPARE(t.messages().last().caption, QString("提示！"));
    QCOMPARE(customers(t), (QList<QStringList>{{"1", "张三"}, {"2", "李四"}}));
    // The program goes on: the open list was read again and new rows are stored.
    QVERIFY(list.isOpen());
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.row(0).text("客户名称"), QString("张三"));
    addCustomer(t, 4, "赵六");
    QCOMPARE(t.count("客户信息"), 3);
    // The replaced database is kept beside it.
    const QString safety = DbBackup::safetyCopyName(ProgramFolder::databaseFile());
    QCOMPARE(namesIn(safety), (QStringList{"李四", "王五"}));
    QCOMPARE(QFile::permissions(ProgramFolder::databaseFile()) &
                 (QFileDevice::ReadOther | QFileDevice::ReadGroup),
             QFileDevice::Permissions());
    // Nothing half-made is left in the database folder.
    QCOMPARE(QDir(QFileInfo(ProgramFolder::databaseFile()).path()).entryList(QDir::Files),
             (QStringList{"database.db", "database.db.before-restore"}));
}

void TestMaintenance::restoreCancelled() {
    TestSession t;
    addCustomer(t, 1, "张三");
    t.files().answer(t.folder() + "/x");
    t.messages().answer(QMessageBox::Cancel);
    run(t, "N12");
    QVERIFY(t.files().asked.empty());
    QCOMPARE(t.messages().shown.size(), size_t(1));
    // The open dialog cancelled after OK.
    t.files().answers.clear();
    run(t, "N12");
    QCOMPARE(t.files().asked.size(), size_t(1));
    QCOMPARE(t.messages().shown.size(), size_t(2));
    QCOMPARE(customers(t), (QList<QStringList>{{"1", "张三"}}));
}

void TestMaintenance::restoreRefusesBadFiles_data() {
    QTest::addColumn<QString>("kind");
    for (const char* k : {"text file", "truncated database", "foreign database", "missing column",
                          "no such file", "empty file"})
        QTest::newRow(k) << QString(k);
}

void TestMaintenance::restoreRefusesBadFiles() {
    QFETCH(QString, kind);
    TestSession t;
    addCustomer(t, 1, "张三");
    const QString bad = t.folder() + "/bad.bak";
    if (kind == "text file" || kind == "empty file") {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == "text file")
            f.write(QByteArray("客户 张三 李四\n").repeated(500));
    } else if (kind == "truncated database") {
        t.dm().transaction([&] {
            for (int i = 0; i < 300; ++i)
                addCustomer(t, 100 + i, QString("客户%1").arg(i));
        });
        DbBackup::backupTo(t.dm(), bad);
        QFile f(bad);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(f.size() / 2));
        t.dm().ADOall.exec("delete from 客户信息 where 客户编号>=100");
    } else if (kind == "foreign database" || kind == "missing column") {
        DbBackup::backupTo(t.dm(), bad);
        QSqlDatabase db = openOther("forge", bad);
        QVERIFY(db.isOpen());
        QSqlQuery q(db);
        if (kind == "foreign database")
            QVERIFY(q.exec("drop table 乡镇"));
        else
            QVERIFY(q.exec("alter table 收款记录 drop column 经手人"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("forge");
    }
    const QString live = ProgramFolder::databaseFile();
    const QByteArray before = digest(live);
    t.files().answer(bad);
    run(t, "N12");
    QCOMPARE(t.messages().texts(),
             (QStringList{"数据库恢复将要覆盖原来数据库中所有的数据，继续吗？", "恢复数据失败，请重试！!"}));
    QCOMPARE(t.messages().last().caption, QString("错误！"));
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QCOMPARE(digest(live), before);
    QCOMPARE(customers(t), (QList<QStringList>{{"1", "张三"}}));
    addCustomer(t, 2, "李四");
    QCOMPARE(t.count("客户信息"), 2);
    QCOMPARE(QDir(QFileInfo(live).path()).entryList(QDir::Files), QStringList{"database.db"});
}

void TestMaintenance::initialisationLeavesSeeds_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("ok") << int(QMessageBox::Ok);
    QTest::newRow("cancel") << int(QMessageBox::Cancel);
}

void TestMaintenance::initialisationLeavesSeeds() {
    QFETCH(int, answer);
    MainWindowTest t;
    addCustomer(t, 1, "张三");
    addRecords(t, "2008-03-05");
    t.dm().ADOall.exec("insert into 乡镇 (乡镇, 村庄) values ('城关镇', '东村')");
    t.dm().ADOall.exec("insert into 维修项目 (维修项目) values ('电源')");
    t.dm().ADOall.exec("update 操作员 set 密码='secret', \"3\"=0");
    t.dm().ADOall.exec("insert into 操作员 (操作员, 姓名, 密码) values ('0002', '张三', 'x')");
    t.messages().answer(QMessageBox::StandardButton(answer));
    run(t, "N4");
    QCOMPARE(t.messages().shown.front().text,
             QString("确实进行数据初始化？如果进行本项操作，将要清空数据库中的全部内容！该操作不可恢复！"));
    QCOMPARE(t.messages().shown.front().caption, QString("数据初始化"));
    if (answer == QMessageBox::Cancel) {
        QCOMPARE(t.messages().shown.size(), size_t(1));
        QCOMPARE(t.count("操作员"), 2);
        QCOMPARE(t.count("维修项目"), 7);
        for (const QString& table : kRecordTables + QStringList{"客户信息", "乡镇"})
            QCOMPARE(t.count(table), 1);
        return;
    }
    QCOMPARE(t.messages().last().text, QString("初始化成功！"));
    QCOMPARE(t.messages().last().caption, QString("提示！"));
    QCOMPARE(t.rows("select 维修项目 from 维修项目 order by rowid"),
             (QList<QStringList>{{"主机"}, {"键盘"}, {"显示器"}, {"鼠标"}, {"系统"}, {"其他"}}));
    QCOMPARE(t.count("操作员"), 1);
    const Row op = t.dm().ADOall.first("select * from 操作员");
    QCOMPARE(op.text("操作员"), QString("0001"));
    QCOMPARE(op.text("姓名"), QString("系统管理员"));
    QVERIFY(op.value("密码").isNull());
    for (int f = 1; f <= 17; ++f)
        QVERIFY(op.flag(QString::number(f)));
    for (const QString& table : kRecordTables + QStringList{"客户信息", "乡镇"})
        QCOMPARE(t.count(table), 0);

    // The operator logged in works on: the password change takes the empty old password.
    t.messages().clear();
    Txiugaimima& w = t.screen<Txiugaimima>("N11");
    typeText(w.Edit3, "new");
    typeText(w.Edit4, "new");
    click(w.BitBtn1);
    QCOMPARE(t.messages().texts(), QStringList{"修改成功！"});
    QVERIFY(Passwords::verify("NEW", t.rows("select 密码 from 操作员").value(0).value(0)));
}

void TestMaintenance::initialisationIsWholeOrNothing() {
    TestSession t;
    addCustomer(t, 1, "张三");
    t.dm().ADOall.exec("insert into 乡镇 (乡镇, 村庄) values ('城关镇', '东村')");
    t.dm().ADOall.exec(
        "create trigger keep before delete on 乡镇 begin select raise(abort, '乡镇不能删除'); end");
    run(t, "N4");
    QCOMPARE(
        t.messages().texts(),
        (QStringList{"确实进行数据初始化？如果进行本项操作，将要清空数据库中的全部内容！该操作不可恢复！",
                     "乡镇不能删除"}));
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QCOMPARE(customers(t), (QList<QStringList>{{"1", "张三"}}));
    QCOMPARE(t.count("乡镇"), 1);
    QCOMPARE(t.count("维修项目"), 6);
    QCOMPARE(t.count("操作员"), 1);
}

void TestMaintenance::historyClearingKeepsTheDay_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("left");
    QTest::newRow("ok") << int(QMessageBox::Ok) << QStringList{"2008-03-05", "2008-03-06"};
    QTest::newRow("cancel") << int(QMessageBox::Cancel)
                            << QStringList{"2007-12-31", "2008-03-04", "2008-03-05", "2008-03-06"};
}

void TestMaintenance::historyClearingKeepsTheDay() {
    QFETCH(int, answer);
    QFETCH(QStringList, left);
    MainWindowTest t;
    addCustomer(t, 1, "张三");
    for (const char* day : {"2008-03-06", "2008-03-05", "2008-03-04", "2007-12-31"})
        addRecords(t, day);
    t.dm().ADOall.exec("insert into 乡镇 (乡镇, 村庄) values ('城关镇', '东村')");
    Tzhengli& w = t.screen<Tzhengli>("N6");
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.DateTimePicker1->date(), QDate::currentDate());
    QCOMPARE(w.Label1->text(), QString("历史数据删除（请谨慎操作）\n删除之前最好进行数据库备份"));
    w.DateTimePicker1->setDate(QDate(2008, 3, 5));
    t.messages().answer(QMessageBox::StandardButton(answer));
    click(w.BitBtn1);
    QCOMPARE(t.messages().shown.front().text, QString("确实删除历史记录？该操作不可恢复！"));
    QCOMPARE(t.messages().shown.front().caption, QString("删除历史记录"));
    for (const QString& table : kRecordTables)
        QCOMPARE(datesOf(t, table), left);
    QCOMPARE(t.count("客户信息"), 1);
    QCOMPARE(t.count("乡镇"), 1);
    QCOMPARE(t.count("维修项目"), 6);
    QCOMPARE(t.count("操作员"), 1);
    if (answer == QMessageBox::Ok) {
        QCOMPARE(t.messages().last().text, QString("删除成功！"));
        QCOMPARE(t.messages().last().caption, QString("提示"));
        QVERIFY(w.isVisible());
    } else {
        QCOMPARE(t.messages().shown.size(), size_t(1));
    }
}

void TestMaintenance::historyClearingIsWholeOrNothing() {
    MainWindowTest t;
    addRecords(t, "2008-03-01");
    t.dm().ADOall.exec(
        "create trigger keep before delete on 帐款明细 begin select raise(abort, '不能删除'); end");
    Tzhengli& w = t.screen<Tzhengli>("N6");
    w.show();
    w.DateTimePicker1->setDate(QDate(2008, 3, 5));
    click(w.BitBtn1);
    QCOMPARE(t.messages().texts(), (QStringList{"确实删除历史记录？该操作不可恢复！", "不能删除"}));
    for (const QString& table : kRecordTables)
        QCOMPARE(t.count(table), 1);
}

QTEST_MAIN(TestMaintenance)
#include "tst_maintenance.moc"
