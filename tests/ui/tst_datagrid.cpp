#include "support/testsession.h"
#include "ui/datagrid.h"
#include "ui/fonts.h"
#include "ui/keys.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

// The result grid and the keyboard helpers, driven by keys and clicks.
class DataGridTest : public QObject {
    Q_OBJECT

    struct Fixture {
        TestSession ts;
        DataGrid grid;
        SharedQuery& query;
        Fixture() : query(ts.dm().ADOQuery(3)) { grid.resize(600, 400); }

        // Account entries: name, amount in yuan as typed, payment state.
        void add(const QString& name, const QString& amount, const QString& state) {
            ts.dm().ADOall.exec(
                QStringLiteral(
                    "INSERT INTO \"帐款明细\" (\"客户名称\", \"应付金额\", \"付款情况\", \"日期\") "
                    "VALUES (?, ?, ?, '2008-03-05')"),
                {name, Money::parse(amount).toVariant(), state});
        }
        void open(const QString& where = {}, const QVariantList& params = {}) {
            query.open(QStringLiteral("SELECT \"客户名称\", \"应付金额\", \"付款情况\" FROM \"帐款明细\"") +
                           where,
                       params);
            grid.bind(ts.session(), query);
        }
        QStringList column(const QString& field) {
            QStringList out;
            for (int r = 0; r < grid.rowCount(); ++r)
                out << grid.cellText(r, field);
            return out;
        }
        void clickTitle(const QString& field, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            QHeaderView* h = grid.horizontalHeader();
            int logical = -1;
            for (int c = 0; c < h->count(); ++c)
                if (grid.model()->headerData(c, Qt::Horizontal).toString().startsWith(field))
                    logical = c;
            QVERIFY(logical >= 0);
            const QPoint at(h->sectionViewportPosition(logical) + h->sectionSize(logical) / 2,
                            h->height() / 2);
            QTest::mouseClick(h->viewport(), Qt::LeftButton, mods, at);
        }
    };

  private slots:
    void footerOverWholeResult_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("sum");
        QTest::newRow("every entry") << QString() << "600"
                                     << "3301";
        QTest::newRow("unpaid only") << "未付款"
                                     << "300"
                                     << "3000.75";
        QTest::newRow("nothing") << "无此状态"
                                 << "0"
                                 << "0";
    }
    void footerOverWholeResult() {
        QFETCH(QString, state);
        QFETCH(QString, count);
        QFETCH(QString, sum);
        Fixture f;
        f.ts.dm().transaction([&] {
            for (int i = 0; i < 300; ++i) {
                f.add(QStringLiteral("客户%1").arg(i), QStringLiteral("10.0025"), QStringLiteral("未付款"));
                f.add(QStringLiteral("客户%1").arg(i),
                      i == 0 ? QStringLiteral("300.25") : QStringLiteral("0"), QStringLiteral("已付款"));
            }
        });
        f.grid.setFooter({{QStringLiteral("客户名称"), FooterCell::Text, QStringLiteral("合计")},
                          {QStringLiteral("付款情况"), FooterCell::Count, {}},
                          {QStringLiteral("应付金额"), FooterCell::Sum, {}}});
        f.open();
        QVERIFY(f.query.loadedRows() < 600); // fetched lazily, counted in full
        QCOMPARE(f.grid.footerText(QStringLiteral("付款情况")), QStringLiteral("600"));
        if (!state.isEmpty())
            f.query.open(QStringLiteral("SELECT \"客户名称\", \"应付金额\", \"付款情况\" FROM \"帐款明细\" "
                                        "WHERE \"付款情况\" = ?"),
                         {state});
        QCOMPARE(f.grid.footerText(QStringLiteral("客户名称")), QStringLiteral("合计"));
        QCOMPARE(f.grid.footerText(QStringLiteral("付款情况")), count);
        QCOMPARE(f.grid.footerText(QStringLiteral("应付金额")), sum);
        QCOMPARE(f.grid.eof(), count == QStringLiteral("0"));
    }

    // A cell shows its text centred; a text wider than the cell shows its beginning and stops at
    // the cell's edge.
    void cellTextPlacement_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("fits");
        QTest::newRow("short") << QStringLiteral("李") << true;
        QTest::newRow("wider than the cell") << QStringLiteral("很长很长很长很长很长很长很长的名字") << false;
    }
    void cellTextPlacement() {
        QFETCH(QString, name);
        QFETCH(bool, fits);
        Fixture f;
        f.add(QStringLiteral("第一行"), QStringLiteral("1"), QStringLiteral("未付款"));
        f.add(name, QStringLiteral("1"), QStringLiteral("未付款"));
        f.open();
        f.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.grid));
        const QImage image = f.grid.viewport()->grab().toImage();
        // The second row: the first is the current one, drawn in the selection colours.
        const auto cellOf = [&f](const QString& field) {
            for (int c = 0; c < f.grid.model()->columnCount(); ++c)
                if (f.grid.model()->headerData(c, Qt::Horizontal).toString() == field)
                    return f.grid.visualRect(f.grid.model()->index(1, c));
            return QRect();
        };
        const QRect cell = cellOf(QStringLiteral("客户名称"));
        const QRect next = cellOf(QStringLiteral("应付金额"));
        QVERIFY(cell.isValid() && next.left() >= cell.right());
        const auto inkFrom = [&image](int left, int right, int top, int bottom) {
            for (int x = left; x <= right; ++x)
                for (int y = top; y <= bottom; ++y)
                    if (qGray(image.pixel(x, y)) < 100)
                        return x;
            return -1;
        };
        const int first = inkFrom(cell.left() + 1, cell.right() - 1, cell.top() + 2, cell.bottom() - 2);
        QVERIFY(first >= 0);
        if (fits) {
            const int last = [&] {
                for (int x = cell.right() - 1; x > cell.left(); --x)
                    if (inkFrom(x, x, cell.top() + 2, cell.bottom() - 2) >= 0)
                        return x;
                return -1;
            }();
            QVERIFY(qAbs((first - cell.left()) - (cell.right() - last)) <= 3); // centred
        } else {
            QVERIFY(first - cell.left() <= 6); // its beginning
            QCOMPARE(inkFrom(next.left() + 2, next.left() + 12, next.top() + 2, next.bottom() - 2), -1);
        }
    }

    // The row marks show the number of every row whole, however many digits it has.
    void rowMarksHoldTheirNumbers_data() {
        QTest::addColumn<int>("rows");
        QTest::newRow("9") << 9;
        QTest::newRow("10") << 10;
        QTest::newRow("1200, loaded in full") << 1200;
    }
    void rowMarksHoldTheirNumbers() {
        QFETCH(int, rows);
        Fixture f;
        f.ts.dm().transaction([&] {
            for (int i = 0; i < rows; ++i)
                f.add(QStringLiteral("客户%1").arg(i), QStringLiteral("1"), QStringLiteral("未付款"));
        });
        f.open();
        f.query.fetchAll();
        QHeaderView* marks = f.grid.verticalHeader();
        QCOMPARE(marks->count(), rows);
        const QString last = f.grid.model()->headerData(rows - 1, Qt::Vertical).toString();
        QCOMPARE(last, QString::number(rows));
        const int margin = marks->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, marks);
        QVERIFY2(marks->fontMetrics().horizontalAdvance(last) + 2 * margin <= marks->width(),
                 qPrintable(QString::number(marks->width())));
    }

    // An identity number or a telephone shows whole in its column, whatever width it was given.
    void columnsHoldIdentityNumbersAndTelephones_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("value");
        QTest::newRow("身份证号 at the default width") << "身份证号" << 0 << "13010219800101123X";
        QTest::newRow("身份证号 at 100") << "身份证号" << 100 << "130102198001011234";
        QTest::newRow("电话 at 80") << "电话" << 80 << "0311-1234567";
    }
    void columnsHoldIdentityNumbersAndTelephones() {
        QFETCH(QString, field);
        QFETCH(int, width);
        QFETCH(QString, value);
        Fonts::install();
        Fixture f;
        f.grid.setFont(Fonts::song());
        f.ts.dm().ADOall.exec(QStringLiteral("INSERT INTO dinggou (\"客户编号\", \"%1\") VALUES (1, ?)").arg(field),
                              {value});
        f.query.open(QStringLiteral("SELECT * FROM dinggou"));
        f.grid.bind(f.ts.session(), f.query);
        f.grid.setColumns({{QStringLiteral("客户编号"), 60, {}}, {field, width, {}}});
        const int shown = f.grid.columns().value(1).width;
        QVERIFY2(f.grid.fontMetrics().horizontalAdvance(value) + 6 < shown, qPrintable(QString::number(shown)));
        if (width > 0)
            QVERIFY(shown >= width);
    }

    void titleClickSorts() {
        Fixture f;
        f.add(QStringLiteral("张三"), QStringLiteral("5"), QStringLiteral("未付款"));
        f.add(QStringLiteral("李四"), QStringLiteral("30"), QStringLiteral("已付款"));
        f.add(QStringLiteral("王五"), QStringLiteral("200"), QStringLiteral("未付款"));
        f.open();
        f.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.grid));
        f.clickTitle(QStringLiteral("客户名称"));
        QCOMPARE(f.column(QStringLiteral("客户名称")), (QStringList{"李四", "王五", "张三"}));
        f.clickTitle(QStringLiteral("客户名称"));
        QCOMPARE(f.column(QStringLiteral("客户名称")), (QStringList{"张三", "王五", "李四"}));
        // Money sorts by amount, not by its text.
        f.clickTitle(QStringLiteral("应付金额"));
        QCOMPARE(f.column(QStringLiteral("应付金额")), (QStringList{"5", "30", "200"}));
    }

    void ctrlClickAddsKeys() {
        Fixture f;
        f.add(QStringLiteral("张三"), QStringLiteral("5"), QStringLiteral("未付款"));
        f.add(QStringLiteral("李四"), QStringLiteral("30"), QStringLiteral("已付款"));
        f.add(QStringLiteral("王五"), QStringLiteral("200"), QStringLiteral("未付款"));
        f.add(QStringLiteral("赵六"), QStringLiteral("1"), QStringLiteral("已付款"));
        f.open();
        f.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.grid));
        f.clickTitle(QStringLiteral("付款情况"));
        QCOMPARE(f.column(QStringLiteral("付款情况")), (QStringList{"未付款", "未付款", "已付款", "已付款"}));
        // Ctrl-click adds a further key; the rows follow when Ctrl is released.
        f.clickTitle(QStringLiteral("应付金额"), Qt::ControlModifier);
        QTest::keyRelease(&f.grid, Qt::Key_Control);
        QCOMPARE(f.column(QStringLiteral("应付金额")), (QStringList{"5", "200", "1", "30"}));
        f.clickTitle(QStringLiteral("应付金额"), Qt::ControlModifier);
        QTest::keyRelease(&f.grid, Qt::Key_Control);
        QCOMPARE(f.column(QStringLiteral("应付金额")), (QStringList{"200", "5", "30", "1"}));
        QCOMPARE(f.query.sort().size(), 2);
        // A third Ctrl-click takes the key away again.
        f.clickTitle(QStringLiteral("应付金额"), Qt::ControlModifier);
        QTest::keyRelease(&f.grid, Qt::Key_Control);
        QCOMPARE(f.query.sort().size(), 1);
        QCOMPARE(f.query.sort().first().first, QStringLiteral("付款情况"));
    }

    void endOfDataMark() {
        Fixture f;
        for (const char* n : {"甲", "乙", "丙"})
            f.add(QString::fromUtf8(n), QStringLiteral("1"), QStringLiteral("未付款"));
        f.open();
        f.grid.show();
        QVERIFY(!f.grid.eof());
        QCOMPARE(f.grid.currentRowIndex(), 0);
        QTest::keyClick(&f.grid, Qt::Key_Down);
        QTest::keyClick(&f.grid, Qt::Key_Down);
        QCOMPARE(f.grid.currentRowIndex(), 2);
        QVERIFY(!f.grid.eof()); // standing on the last row is not yet the end
        QTest::keyClick(&f.grid, Qt::Key_Down);
        QVERIFY(f.grid.eof());
        QTest::keyClick(&f.grid, Qt::Key_Up);
        QVERIFY(!f.grid.eof());
        QTest::keyClick(&f.grid, Qt::Key_Home, Qt::ControlModifier);
        QVERIFY(!f.grid.eof());
        QTest::keyClick(&f.grid, Qt::Key_End, Qt::ControlModifier);
        QVERIFY(f.grid.eof());
        QCOMPARE(f.grid.currentRowIndex(), 2);
        QCOMPARE(f.grid.currentRecord().text(QStringLiteral("客户名称")), QStringLiteral("丙"));

        f.query.open(QStringLiteral("SELECT * FROM \"帐款明细\" WHERE 0"));
        QCOMPARE(f.grid.rowCount(), 0);
        QVERIFY(f.grid.eof());
    }

    void findNext() {
        Fixture f;
        f.add(QStringLiteral("张三"), QStringLiteral("5"), QStringLiteral("未付款"));
        f.add(QStringLiteral("李四"), QStringLiteral("30"), QStringLiteral("已付款"));
        f.add(QStringLiteral("张三丰"), QStringLiteral("7"), QStringLiteral("已付款"));
        f.open();
        QVERIFY(f.grid.findNext(QStringLiteral("张三")));
        QCOMPARE(f.grid.currentRowIndex(), 2); // searches after the current row
        QVERIFY(!f.grid.findNext(QStringLiteral("张三")));
        QCOMPARE(f.grid.currentRowIndex(), 2);
        QTest::keyClick(&f.grid, Qt::Key_Home, Qt::ControlModifier);
        QVERIFY(f.grid.findNext(QStringLiteral("已付")));
        QCOMPARE(f.grid.currentRowIndex(), 1);
        QVERIFY(!f.grid.findNext(QStringLiteral("没有")));
    }

    void moneyKeys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<bool>("pasted"); // with Ctrl+V instead of typed
        QTest::newRow("digits and point") << "12.50"
                                          << "12.50" << false;
        QTest::newRow("letters dropped") << "1a2b.5"
                                         << "12.5" << false;
        QTest::newRow("minus kept") << "-3"
                                    << "-3" << false;
        QTest::newRow("Chinese dropped") << "五1元"
                                         << "1" << false;
        QTest::newRow("blank and comma dropped") << "1 000,5"
                                                 << "10005" << false;
        QTest::newRow("pasted letters dropped") << "1a2b.5"
                                                << "12.5" << true;
        QTest::newRow("pasted Chinese and line break dropped") << "五1元\n-2"
                                                               << "1-2" << true;
    }
    void moneyKeys() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(bool, pasted);
        QLineEdit edit;
        MoneyKeyFilter::install(&edit);
        if (pasted) {
            QGuiApplication::clipboard()->setText(typed);
            QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        } else {
            TestInput::typeText(&edit, typed);
        }
        QCOMPARE(edit.text(), kept);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        QCOMPARE(edit.text(), kept.chopped(1));
    }

    void enterChain() {
        QWidget form;
        auto* a = new QLineEdit(&form);
        auto* b = new QLineEdit(&form);
        auto* c = new QLineEdit(&form);
        auto* d = new QLineEdit(&form);
        EnterChain::install({a, b, c, d});
        c->setEnabled(false);
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        a->setFocus();
        TestInput::pressEnter(a);
        QCOMPARE(QApplication::focusWidget(), b);
        TestInput::pressEnter(b); // the disabled box is passed over
        QCOMPARE(QApplication::focusWidget(), d);
        TestInput::pressEnter(d); // the last box keeps the focus
        QCOMPARE(QApplication::focusWidget(), d);
    }
};

QTEST_MAIN(DataGridTest)
#include "tst_datagrid.moc"
