#include "customers/txiangmu.h"
#include "customers/txiangzhen.h"
#include "customers/txinzengkehu.h"
#include "support/mainwindowtest.h"
#include "support/refusal.h"
#include "support/testsession.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

using namespace TestInput;

namespace {
template <class T = QWidget> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

struct Window {
    explicit Window(MainWindowTest& t, bool townships) {
        if (townships)
            screen.reset(&t.screen<Txiangzhen>("N41"));
        else
            screen.reset(&t.screen<Txiangmu>("N33"));
        screen->show();
        grid = child<DataGrid>(screen.get(), "DBGrid1");
    }
    QWidget* button(const char* name) { return child(screen.get(), name); }
    bool enabled(const char* name) { return button(name)->isEnabled(); }
    void press(const char* name) { click(button(name)); }
    // Types into a cell of the grid: the cell's editor opens and takes the text.
    void type(int row, const QString& field, const QString& text) {
        int col = -1;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (grid->model()->headerData(c, Qt::Horizontal).toString().startsWith(field))
                col = c;
        QVERIFY(col >= 0);
        const QModelIndex idx = grid->model()->index(row, col);
        grid->setCurrentIndex(idx);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(idx));
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, text);
    }
    void goTo(int row) { grid->setCurrentIndex(grid->model()->index(row, grid->currentIndex().column())); }
    QList<QStringList> shown(const QStringList& fields) {
        QList<QStringList> out;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList cells;
            for (const QString& f : fields)
                cells << grid->cellText(r, f);
            out << cells;
        }
        return out;
    }
    std::unique_ptr<ReferenceList> screen;
    DataGrid* grid;
};
} // namespace

class TestReferenceLists : public QObject {
    Q_OBJECT
  private slots:
    void layout_data();
    void layout();
    void emptyTable();
    void insertEditCancel();
    void typingAndLeavingTheRowSaves();
    void deleteAsks_data();
    void deleteAsks();
    void rowInEditingIsNotSavedOnClose();
    void failedSaveKeepsTheRowInEditing();
    void renamingOneTownshipRow();
    void townshipWithoutVillage();
    void repairItemRenameLeavesRepairs();
    void sortingSavesTheRowFirst();
    void addedRowEditedAgain_data();
    void addedRowEditedAgain();
};

void TestReferenceLists::layout_data() {
    QTest::addColumn<bool>("townships");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("placement");
    QTest::addColumn<QString>("group");
    QTest::newRow("townships") << true << "乡镇、村庄设置" << QRect(350, 0, 316, 604) << "乡镇、村庄列表";
    QTest::newRow("repair items") << false << "维修项目设置" << QRect(350, 0, 315, 598) << "维修项目列表";
}

void TestReferenceLists::layout() {
    QFETCH(bool, townships);
    QFETCH(QString, caption);
    QFETCH(QRect, placement);
    QFETCH(QString, group);
    MainWindowTest t;
    Window w(t, townships);
    QCOMPARE(w.screen->windowTitle(), caption);
    QCOMPARE(w.screen->placement(), placement);
    QCOMPARE(child<QGroupBox>(w.screen.get(), "GroupBox1")->title(), QString("操作导航"));
    QCOMPARE(child<QGroupBox>(w.screen.get(), "GroupBox2")->title(), group);
    QStringList labels;
    for (const char* b : {"nbInsert", "nbDelete", "nbEdit", "nbPost", "nbCancel", "BitBtn1"})
        labels << child<QToolButton>(w.screen.get(), b)->text();
    QCOMPARE(labels, (QStringList{"新增", "删除", "修改", "保存", "取消", "退出"}));
    QCOMPARE(w.grid->toolTip(), QString("单击列头可实现排序"));
    QStringList fields;
    for (const GridColumn& c : w.grid->columns())
        fields << c.field;
    const QStringList expected = townships ? QStringList{"乡镇", "村庄"} : QStringList{"维修项目"};
    QCOMPARE(fields, expected);
    if (!townships)
        QCOMPARE(w.shown({"维修项目"}),
                 (QList<QStringList>{{"主机"}, {"键盘"}, {"显示器"}, {"鼠标"}, {"系统"}, {"其他"}}));
    w.press("BitBtn1");
    QVERIFY(!w.screen->isVisible());
}

void TestReferenceLists::emptyTable() {
    MainWindowTest t;
    Window w(t, true);
    QCOMPARE(w.grid->rowCount(), 0);
    QVERIFY(w.enabled("nbInsert"));
    QVERIFY(!w.enabled("nbDelete"));
    QVERIFY(w.enabled("nbEdit"));
    QVERIFY(!w.enabled("nbPost"));
    QVERIFY(!w.enabled("nbCancel"));
    // "修改" on an empty list opens a new row, as "新增" does.
    w.press("nbEdit");
    QCOMPARE(w.grid->rowCount(), 1);
    QVERIFY(w.enabled("nbPost"));
    QVERIFY(w.enabled("nbCancel"));
    QVERIFY(!w.enabled("nbEdit"));
    w.type(0, "乡镇", "城关镇");
    w.type(0, "村庄", "东村");
    w.press("nbPost");
    QCOMPARE(t.rows("select 乡镇, 村庄 from 乡镇"), (QList<QStringList>{{"城关镇", "东村"}}));
    QVERIFY(!w.enabled("nbPost"));
    QVERIFY(w.enabled("nbDelete"));
}

void TestReferenceLists::insertEditCancel() {
    MainWindowTest t;
    Window w(t, false);
    // Insert, then cancel: nothing is written.
    w.press("nbInsert");
    QCOMPARE(w.grid->rowCount(), 7);
    w.type(6, "维修项目", "电源");
    w.press("nbCancel");
    QCOMPARE(w.grid->rowCount(), 6);
    QCOMPARE(t.count("维修项目"), 6);
    // Insert and save.
    w.press("nbInsert");
    w.type(6, "维修项目", "电源'S");
    w.press("nbPost");
    QCOMPARE(t.rows("select 维修项目 from 维修项目 order by rowid").last(), QStringList{"电源'S"});
    QCOMPARE(w.grid->cellText(6, "维修项目"), QString("电源'S"));
    // Edit, then cancel: the row shows and keeps its old value.
    w.goTo(1);
    w.press("nbEdit");
    QVERIFY(w.enabled("nbPost"));
    w.type(1, "维修项目", "键盘鼠标");
    w.press("nbCancel");
    QCOMPARE(w.grid->cellText(1, "维修项目"), QString("键盘"));
    QCOMPARE(t.rows("select 维修项目 from 维修项目 where rowid=2"), QList<QStringList>{{"键盘"}});
    // Edit and save.
    w.press("nbEdit");
    w.type(1, "维修项目", "键盘鼠标");
    w.press("nbPost");
    QCOMPARE(
        t.rows("select 维修项目 from 维修项目 order by rowid"),
        (QList<QStringList>{{"主机"}, {"键盘鼠标"}, {"显示器"}, {"鼠标"}, {"系统"}, {"其他"}, {"电源'S"}}));
    QVERIFY(t.messages().shown.empty());
}

void TestReferenceLists::typingAndLeavingTheRowSaves() {
    MainWindowTest t;
    Window w(t, false);
    w.goTo(2);
    QTest::keyClick(w.grid, Qt::Key_A); // typing into a cell opens it with the key typed
    QVERIFY(w.enabled("nbPost"));
    auto* editor = qobject_cast<QLineEdit*>(w.grid->indexWidget(w.grid->currentIndex()));
    QVERIFY(editor);
    typeText(editor, "bc");
    QCOMPARE(t.rows("select 维修项目 from 维修项目 where rowid=3"), QList<QStringList>{{"显示器"}});
    QTest::keyClick(w.grid, Qt::Key_Up);
    QCOMPARE(t.rows("select 维修项目 from 维修项目 where rowid=3"), QList<QStringList>{{"abc"}});
    QVERIFY(!w.enabled("nbPost"));
    QCOMPARE(w.grid->currentIndex().row(), 1);
    QCOMPARE(w.grid->cellText(2, "维修项目"), QString("abc"));
}

void TestReferenceLists::deleteAsks_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("cancel") << false;
    QTest::newRow("ok") << true;
}

void TestReferenceLists::deleteAsks() {
    QFETCH(bool, ok);
    MainWindowTest t;
    Window w(t, false);
    w.goTo(3);
    t.messages().answer(ok ? QMessageBox::Ok : QMessageBox::Cancel);
    w.press("nbDelete");
    QCOMPARE(t.messages().shown.size(), size_t(1));
    const MessageBoxSpec box = t.messages().last();
    QCOMPARE(box.text, QString("Delete record?"));
    QCOMPARE(box.caption, QString("Confirm"));
    QCOMPARE(box.buttons, MsgButtons::OkCancel);
    QCOMPARE(t.count("维修项目"), ok ? 5 : 6);
    QCOMPARE(w.grid->rowCount(), ok ? 5 : 6);
    QCOMPARE(t.rows("select count(*) from 维修项目 where 维修项目='鼠标'"),
             QList<QStringList>{{ok ? "0" : "1"}});
    QCOMPARE(w.grid->cellText(w.grid->currentIndex().row(), "维修项目"), QString(ok ? "系统" : "鼠标"));
}

void TestReferenceLists::rowInEditingIsNotSavedOnClose() {
    MainWindowTest t;
    {
        Window w(t, false);
        w.press("nbInsert");
        w.type(6, "维修项目", "未保存");
        w.goTo(0);
        w.type(0, "维修项目", "也未保存");
        // The first row was left, so it was saved; the second is still in editing.
        w.press("BitBtn1");
    }
    QCOMPARE(t.rows("select 维修项目 from 维修项目 order by rowid"),
             (QList<QStringList>{{"主机"}, {"键盘"}, {"显示器"}, {"鼠标"}, {"系统"}, {"其他"}, {"未保存"}}));
}

void TestReferenceLists::failedSaveKeepsTheRowInEditing() {
    MainWindowTest t;
    refuseChange(t.dm(), "update", "维修项目", "不接受这个项目", "new.维修项目='坏'");
    Window w(t, false);
    w.type(0, "维修项目", "坏");
    w.press("nbPost");
    QCOMPARE(t.messages().texts(), QStringList{"不接受这个项目"});
    QCOMPARE(t.messages().last().icon, MsgIcon::Error);
    QVERIFY(w.enabled("nbPost"));
    QCOMPARE(w.grid->cellText(0, "维修项目"), QString("坏"));
    // Leaving the row tries again and stays on it.
    QTest::keyClick(w.grid, Qt::Key_Down);
    QCOMPARE(t.messages().shown.size(), size_t(2));
    QCOMPARE(w.grid->currentIndex().row(), 0);
    QCOMPARE(t.rows("select 维修项目 from 维修项目 where rowid=1"), QList<QStringList>{{"主机"}});
    w.type(0, "维修项目", "好");
    w.press("nbPost");
    QCOMPARE(t.rows("select 维修项目 from 维修项目 where rowid=1"), QList<QStringList>{{"好"}});
}

void TestReferenceLists::renamingOneTownshipRow() {
    MainWindowTest t;
    for (const char* v : {"东村", "西村", "南村"})
        t.dm().ADOall.exec("insert into 乡镇(乡镇,村庄) values('城关镇',?)", {QString::fromUtf8(v)});
    Window w(t, true);
    QCOMPARE(w.shown({"乡镇", "村庄"}), t.rows("select 乡镇, 村庄 from 乡镇 order by 乡镇"));
    int west = 0;
    while (w.grid->cellText(west, "村庄") != "西村")
        ++west;
    w.goTo(west);
    w.press("nbEdit");
    w.type(west, "乡镇", "新城镇");
    w.press("nbPost");
    QCOMPARE(t.rows("select 乡镇, 村庄 from 乡镇 order by rowid"),
             (QList<QStringList>{{"城关镇", "东村"}, {"新城镇", "西村"}, {"城关镇", "南村"}}));
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    auto* townships = child<QComboBox>(&dialog, "ComboBox1");
    QStringList offered;
    for (int i = 0; i < townships->count(); ++i)
        offered << townships->itemText(i);
    offered.sort();
    QCOMPARE(offered, (QStringList{"城关镇", "新城镇"}));
    dialog.close();
}

void TestReferenceLists::townshipWithoutVillage() {
    MainWindowTest t;
    Window w(t, true);
    w.press("nbInsert");
    w.type(0, "乡镇", "河口乡");
    w.press("nbPost");
    QCOMPARE(t.rows("select 乡镇, 村庄 from 乡镇"), (QList<QStringList>{{"河口乡", ""}}));
    auto& dialog = t.session().dialog<Txinzengkehu>();
    dialog.show();
    QCOMPARE(child<QComboBox>(&dialog, "ComboBox1")->itemText(0), QString("河口乡"));
    auto* villages = child<QComboBox>(&dialog, "ComboBox2");
    QCOMPARE(villages->count(), 1);
    QCOMPARE(villages->itemText(0), QString());
    dialog.close();
}

void TestReferenceLists::repairItemRenameLeavesRepairs() {
    MainWindowTest t;
    t.dm().ADOall.exec("insert into 维修记录(客户编号,维修项目,维修费) values(1,'主机',10000)");
    Window w(t, false);
    w.type(0, "维修项目", "整机");
    w.press("nbPost");
    t.messages().answer(QMessageBox::Ok);
    w.goTo(1);
    w.press("nbDelete");
    QCOMPARE(t.rows("select 维修项目 from 维修项目 order by rowid").first(), QStringList{"整机"});
    QCOMPARE(t.count("维修项目"), 5);
    QCOMPARE(t.rows("select 维修项目 from 维修记录"), QList<QStringList>{{"主机"}});
}

void TestReferenceLists::sortingSavesTheRowFirst() {
    MainWindowTest t;
    Window w(t, false);
    w.type(5, "维修项目", "按键");
    QHeaderView* header = w.grid->horizontalHeader();
    int col = -1;
    for (int c = 0; c < header->count(); ++c)
        if (!header->isSectionHidden(c))
            col = c;
    const QPoint title(header->sectionViewportPosition(col) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    QCOMPARE(t.rows("select 维修项目 from 维修项目 where rowid=6"), QList<QStringList>{{"按键"}});
    QCOMPARE(w.shown({"维修项目"}),
             (QList<QStringList>{{"按键"}, {"键盘"}, {"鼠标"}, {"系统"}, {"显示器"}, {"主机"}}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
    QCOMPARE(w.shown({"维修项目"}).first(), QStringList{"主机"});
}

void TestReferenceLists::addedRowEditedAgain_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields"); // typed when added and first edited, then at the second edit
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("townships") << "N41"
                               << "乡镇" << QStringList{"乡镇", "村庄"} << QStringList{"改一", "改二"};
    QTest::newRow("repair items") << "N33"
                                  << "维修项目" << QStringList{"维修项目", "维修项目"}
                                  << QStringList{"改二", "改二"};
}

void TestReferenceLists::addedRowEditedAgain() {
    QFETCH(QString, command);
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    QFETCH(QStringList, stored);
    MainWindowTest m;
    QWidget* screen = m.open(command);
    QVERIFY(screen);
    auto* grid = child<DataGrid>(screen, "DBGrid1");
    const int row = grid->rowCount();
    const auto typeAndSave = [&](const char* button, const QString& field, const QString& text) {
        click(child(screen, button));
        int col = 0;
        while (!grid->model()->headerData(col, Qt::Horizontal).toString().startsWith(field))
            ++col;
        const QModelIndex idx = grid->model()->index(row, col);
        grid->setCurrentIndex(idx);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(idx));
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, text);
        click(child(screen, "nbPost"));
    };
    const QString sql =
        QString("select %1, %2 from %3 order by rowid desc limit 1").arg(fields[0], fields[1], table);
    typeAndSave("nbInsert", fields[0], "新");
    typeAndSave("nbEdit", fields[0], "改一");
    QCOMPARE(grid->cellText(row, fields[0]), QString("改一"));
    // The second correction starts from the first one, not from the row as it was added.
    typeAndSave("nbEdit", fields[1], "改二");
    QCOMPARE(m.ts().rows(sql), QList<QStringList>{stored});
    QCOMPARE((QStringList{grid->cellText(row, fields[0]), grid->cellText(row, fields[1])}), stored);
    QVERIFY(m.messages().shown.empty());
}

QTEST_MAIN(TestReferenceLists)
#include "tst_referencelists.moc"
