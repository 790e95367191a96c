#include "bench.h"
#include "data/autobackup.h"
#include "data/programfolder.h"
#include "frame/startup.h"
#include "frame/tloginform.h"
#include "frame/tmain.h"
#include "data/dates.h"
#include "reports/export/export.h"
#include "reports/print/printdbgrid.h"
#include "reports/thuizong.h"
#include "ui/datagrid.h"
#include "ui/session.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QProcess>
#include <QPushButton>
#include <QSqlField>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

namespace Bench {
namespace {

// Records every box and answers OK.
class QuietMessages : public MessageService {
public:
    QMessageBox::StandardButton show(QWidget*, const MessageBoxSpec& box) override {
        shown << box.caption + QStringLiteral(": ") + box.text;
        return box.buttons == MsgButtons::YesNo ? QMessageBox::Yes : QMessageBox::Ok;
    }
    QStringList shown;
};

// Answers every file dialog with the next name.
class AnswerFiles : public FileDialogService {
public:
    QString save(QWidget*, FileDialogSpec&) override { return next; }
    QString open(QWidget*, FileDialogSpec&) override { return next; }
    QString next;
};

QString literal(const QVariant& v) {
    if (v.isNull())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int || v.typeId() == QMetaType::Double)
        return v.toString();
    QString s = v.toString();
    s.replace(u'\'', QStringLiteral("''"));
    return u'\'' + s + u'\'';
}

// The statement with its values written in, for the shell.
QString inlined(const QString& sql, const QVariantList& params) {
    QString out;
    int p = 0;
    for (QChar c : sql) {
        if (c == u'?' && p < params.size())
            out += literal(params[p++]);
        else
            out += c;
    }
    return out;
}

// What the program runs for a grid: its first rows (as many as the model fetches at once) and
// every footer aggregate.
QStringList gridStatements(const DataGrid* grid) {
    const SharedQuery* q = grid->query();
    QStringList out{QStringLiteral("SELECT * FROM (%1) LIMIT 256;").arg(inlined(q->orderedSql(), q->params()))};
    const QString footer = grid->footerSql();
    if (!footer.isEmpty() && !q->totalsSql().isEmpty())
        out << inlined(q->totalsSql(), q->totalsParams()) + u';';
    else if (!footer.isEmpty())
        out << inlined(footer, q->params()) + u';';
    return out;
}

// The arrears list of the collection screen: its model and the ids of the rows read so far.
QAbstractItemModel* arrearsModel(QWidget* screen) {
    auto* view = screen->findChild<QTableView*>(QStringLiteral("ListView1"));
    if (!view)
        throw std::runtime_error("no arrears list");
    return view->model();
}

void settle() { QApplication::processEvents(); }

void click(QWidget* root, const QString& name) {
    auto* b = root->findChild<QPushButton*>(name);
    if (!b)
        throw std::runtime_error(("no button " + name).toStdString());
    b->click();
}

void setText(QWidget* root, const QString& name, const QString& text) {
    auto* e = root->findChild<QLineEdit*>(name);
    if (!e)
        throw std::runtime_error(("no box " + name).toStdString());
    e->setText(text);
}
} // namespace

double median(QList<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double peakMemoryMb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

void resetPeakMemory() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

struct Runner::Private {
    QuietMessages* messages = nullptr;
    AnswerFiles* files = nullptr;
    std::unique_ptr<Session> session;
    std::unique_ptr<TMAIN> main;
    QTemporaryDir scratch;
    Row sample;            // a regular customer with every field filled
    qlonglong debtor = 0;  // a customer with ten or more arrears
    // The start-up command's own session and windows, kept until the next run.
    std::unique_ptr<Session> startSession;
    std::unique_ptr<TMAIN> startMain;
    std::unique_ptr<Tloginform> startLogin;

    TDM1& dm() { return session->dm(); }
    void closeAll() {
        main->mdiArea()->closeAllSubWindows();
        settle();
        // Closed windows go now, with the results they hold open.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QWidget* screen(const QString& caption) {
        QWidget* w = main->openScreen(caption);
        settle();
        if (!w)
            throw std::runtime_error(("no screen " + caption).toStdString());
        return w;
    }
    QWidget* fresh(const QString& caption) {
        closeAll();
        return screen(caption);
    }
    QString lastMessage() const { return messages->shown.isEmpty() ? QString() : messages->shown.last(); }

    // The grid's loaded rows against the expected statement, and its footers against aggregates
    // written out independently.
    QString checkGrid(DataGrid* grid, const QString& sql, const QVariantList& params) {
        if (!grid || !grid->query())
            return QStringLiteral("no grid");
        const auto expected = dm().ADOall.query(sql + QStringLiteral(" LIMIT 300"), params);
        const int loaded = grid->rowCount();
        const int wanted = int(std::min<size_t>(expected.size(), 256));
        if (loaded < wanted || (expected.size() <= 256 && loaded != int(expected.size())))
            return QStringLiteral("%1 rows shown, %2 expected").arg(loaded).arg(expected.size());
        for (int r = 0; r < wanted; ++r) {
            const QSqlRecord got = grid->query()->row(r).record();
            const QSqlRecord want = expected[size_t(r)].record();
            for (int c = 0; c < want.count(); ++c)
                if (got.value(want.fieldName(c)) != want.value(c))
                    return QStringLiteral("row %1 column %2 differs").arg(r).arg(want.fieldName(c));
        }
        for (const FooterCell& cell : grid->footer()) {
            QString want;
            if (cell.kind == FooterCell::Text)
                continue;
            const QString col = TDM1::quoteId(cell.field);
            if (cell.kind == FooterCell::Count)
                want = QString::number(dm().ADOall.first(QStringLiteral("select count(*) as n from (%1)").arg(sql), params)
                                           .integer(QStringLiteral("n")));
            else if (cell.kind == FooterCell::CountFilled)
                want = QString::number(
                    dm().ADOall.first(QStringLiteral("select count(%1) as n from (%2)").arg(col, sql), params)
                        .integer(QStringLiteral("n")));
            else
                want = Money::fromUnits(
                           dm().ADOall.first(QStringLiteral("select total(%1) as s from (%2)").arg(col, sql), params)
                               .integer(QStringLiteral("s")))
                           .toString();
            if (grid->footerText(cell.field) != want)
                return QStringLiteral("footer %1 shows %2, expected %3")
                    .arg(cell.field, grid->footerText(cell.field), want);
        }
        return {};
    }
};

Runner::Runner(const QString& programFolder) : d(std::make_unique<Private>()) {
    qputenv("LUMARETH_HOME", programFolder.toLocal8Bit());
    auto messages = std::make_unique<QuietMessages>();
    auto files = std::make_unique<AnswerFiles>();
    d->messages = messages.get();
    d->files = files.get();
    d->session = std::make_unique<Session>(std::move(messages), std::move(files));
    if (!Startup::openDatabase(*d->session))
        throw std::runtime_error("the database does not open");
    d->session->operatorNumber = QStringLiteral("0001");
    d->session->flags.fill(true);
    d->main = std::make_unique<TMAIN>(*d->session);
    d->main->setCurrentOperator(d->session->operatorNumber);
    d->main->applyFlags(d->session->flags);
    d->main->resize(1280, 800);
    d->main->show();
    settle();
    d->sample = d->dm().ADOall.first(QStringLiteral(
        "select * from 客户信息 where 客户编号 between 1 and 1000 and 客户名称<>'' and 电话<>'' and 手机<>'' "
        "and 地址<>'' order by 客户编号 limit 1"));
    if (d->sample.isEmpty())
        throw std::runtime_error("the database holds no customers");
}

Runner::~Runner() = default;

Session& Runner::session() { return *d->session; }
QStringList Runner::messages() const { return d->messages->shown; }

QList<Command> Runner::commands() {
    Private* p = d.get();
    QList<Command> out;
    const Row s = p->sample;

    out.append({QStringLiteral("启动到登录窗口"),
                [p] {
                    p->startLogin.reset();
                    p->startMain.reset();
                    p->startSession.reset();
                },
                [p] {
                    p->startSession = std::make_unique<Session>(std::make_unique<QuietMessages>(),
                                                                std::make_unique<AnswerFiles>());
                    if (!Startup::openDatabase(*p->startSession))
                        return;
                    p->startMain = std::make_unique<TMAIN>(*p->startSession);
                    p->startLogin = std::make_unique<Tloginform>(*p->startSession, p->startMain.get());
                    p->startLogin->show();
                    settle();
                },
                [p]() -> QString {
                    return p->startLogin && p->startLogin->isVisible() ? QString()
                                                                      : QStringLiteral("no login window");
                },
                [] { return QStringList{QStringLiteral("SELECT * FROM 操作员;")}; }, true});

    // The customer archive.
    auto archiveGrid = [p] { return p->main->findChild<DataGrid*>(QStringLiteral("DBGrid1")); };
    out.append({QStringLiteral("打开客户档案"), [p] { p->closeAll(); },
                [p] { p->screen(QStringLiteral("客户档案")); },
                [p, archiveGrid] {
                    return p->checkGrid(archiveGrid(), QStringLiteral("select rowid, * from 客户信息"), {});
                },
                {}});
    const QString part = s.text(QStringLiteral("客户名称")).left(1);
    out.append({QStringLiteral("模糊查找客户名称“%1”").arg(part),
                [p, part] {
                    QWidget* w = p->fresh(QStringLiteral("客户档案"));
                    w->findChild<QComboBox*>(QStringLiteral("ComboBox1"))->setCurrentText(QStringLiteral("客户名称"));
                    setText(w, QStringLiteral("Edit1"), part);
                },
                [p] { click(p->screen(QStringLiteral("客户档案")), QStringLiteral("BitBtn1")); settle(); },
                [p, archiveGrid, part] {
                    return p->checkGrid(archiveGrid(),
                                        QStringLiteral("select rowid, * from 客户信息 where 客户名称 like ?"),
                                        {u'%' + part + u'%'});
                },
                {}});

    // Exact lookups with their listings.
    struct Field {
        QString label, column;
    };
    const QList<Field> fields{{QStringLiteral("编号"), QStringLiteral("客户编号")},
                              {QStringLiteral("名称"), QStringLiteral("客户名称")},
                              {QStringLiteral("电话"), QStringLiteral("电话")},
                              {QStringLiteral("手机"), QStringLiteral("手机")},
                              {QStringLiteral("地址"), QStringLiteral("地址")}};
    struct LookupScreen {
        QString short_, caption;
        QStringList boxes, buttons;
    };
    const QStringList boxes{QStringLiteral("Edit4"), QStringLiteral("Edit1"), QStringLiteral("Edit3"),
                            QStringLiteral("Edit6"), QStringLiteral("Edit2")};
    const QList<LookupScreen> screens{
        {QStringLiteral("历史"), QStringLiteral("查询客户所有资料"), boxes,
         {"BitBtn5", "BitBtn6", "BitBtn7", "BitBtn11", "BitBtn9"}},
        {QStringLiteral("交款"), QStringLiteral("查询客户交款记录"), boxes,
         {"BitBtn5", "BitBtn6", "BitBtn7", "BitBtn11", "BitBtn9"}},
        {QStringLiteral("欠款"), QStringLiteral("补收欠款"),
         {"Edit5", "Edit1", "Edit3", "Edit7", "Edit2"},
         {"BitBtn1", "BitBtn9", "BitBtn10", "BitBtn13", "BitBtn11"}},
        {QStringLiteral("销售维护"), QStringLiteral("订购（销售）记录修改"), boxes,
         {"BitBtn5", "BitBtn6", "BitBtn7", "BitBtn11", "BitBtn9"}},
        {QStringLiteral("维修维护"), QStringLiteral("维修记录修改"), boxes,
         {"BitBtn1", "BitBtn3", "BitBtn5", "BitBtn11", "BitBtn6"}},
    };
    for (const LookupScreen& sc : screens) {
        for (int f = 0; f < fields.size(); ++f) {
            const QString column = fields[f].column;
            const QString value = s.text(column);
            const QVariant bound = f == 0 ? QVariant(s.integer(column)) : QVariant(value);
            const QString where = QStringLiteral(" where %1=?").arg(TDM1::quoteId(column));
            Command c;
            c.name = QStringLiteral("%1：按%2查找").arg(sc.short_, fields[f].label);
            c.prepare = [p, sc, f, value] {
                QWidget* w = p->fresh(sc.caption);
                setText(w, sc.boxes[f], value);
            };
            c.run = [p, sc, f] {
                click(p->screen(sc.caption), sc.buttons[f]);
                settle();
            };
            if (sc.caption == QStringLiteral("补收欠款")) {
                const QString sql = QStringLiteral(
                                        "select * from 帐款明细 where (付款情况='未付款') and (应付金额<>0) and "
                                        "(%1=?) order by id")
                                        .arg(TDM1::quoteId(column));
                c.check = [p, sc, sql, bound]() -> QString {
                    QAbstractItemModel* list = arrearsModel(p->screen(sc.caption));
                    const auto rows = p->dm().ADOall.query(sql + QStringLiteral(" limit 300"), {bound});
                    const int wanted = int(std::min<size_t>(rows.size(), 256));
                    if (list->rowCount() < wanted || (rows.size() <= 256 && list->rowCount() != int(rows.size())))
                        return QStringLiteral("%1 arrears listed, %2 expected").arg(list->rowCount()).arg(rows.size());
                    for (int r = 0; r < wanted; ++r)
                        if (list->index(r, 0).data().toString() != rows[size_t(r)].text(QStringLiteral("id")))
                            return QStringLiteral("arrears row %1 differs").arg(r);
                    return {};
                };
                c.shell = [sql, bound] { return QStringList{inlined(sql, {bound}) + u';'}; };
            } else if (sc.caption == QStringLiteral("查询客户所有资料")) {
                c.check = [p, sc, where, bound]() -> QString {
                    QWidget* w = p->screen(sc.caption);
                    const QVariantList ps{bound};
                    QString e = p->checkGrid(w->findChild<DataGrid*>(QStringLiteral("DBGrid1")),
                                             QStringLiteral("select * from dinggou") + where, ps);
                    if (e.isEmpty())
                        e = p->checkGrid(w->findChild<DataGrid*>(QStringLiteral("DBGrid2")),
                                         QStringLiteral("select * from 维修记录") + where, ps);
                    if (e.isEmpty())
                        e = p->checkGrid(w->findChild<DataGrid*>(QStringLiteral("DBGrid3")),
                                         QStringLiteral("select * from 帐款明细") + where +
                                             QStringLiteral(" order by 付款情况, id"),
                                         ps);
                    return e;
                };
            } else if (sc.caption == QStringLiteral("查询客户交款记录")) {
                c.check = [p, sc, where, bound] {
                    return p->checkGrid(p->screen(sc.caption)->findChild<DataGrid*>(QStringLiteral("DBGrid1")),
                                        QStringLiteral("select * from 收款记录") + where, {bound});
                };
            } else {
                const QString table = sc.caption == QStringLiteral("维修记录修改") ? QStringLiteral("维修记录")
                                                                                  : QStringLiteral("dinggou");
                c.check = [p, sc, where, bound, table] {
                    return p->checkGrid(p->screen(sc.caption)->findChild<DataGrid*>(QStringLiteral("DBGrid1")),
                                        QStringLiteral("select * from %1").arg(table) + where +
                                            QStringLiteral(" order by id"),
                                        {bound});
                };
            }
            out.append(c);
        }
    }

    // Whole-table listings.
    for (const auto& [caption, table] : {std::pair{QStringLiteral("订购（销售）记录修改"), QStringLiteral("dinggou")},
                                         std::pair{QStringLiteral("维修记录修改"), QStringLiteral("维修记录")}}) {
        out.append({QStringLiteral("打开%1（全部按姓名）").arg(caption), [p] { p->closeAll(); },
                    [p, caption] { p->screen(caption); },
                    [p, caption, table] {
                        return p->checkGrid(p->screen(caption)->findChild<DataGrid*>(QStringLiteral("DBGrid1")),
                                            QStringLiteral("select * from %1 order by 客户名称, id").arg(table), {});
                    },
                    {}});
    }
    const QString arrearsSql =
        QStringLiteral("select * from 帐款明细 where (付款情况='未付款') and (应付金额<>0) order by 客户名称, id");
    out.append({QStringLiteral("显示全部欠款"), [p] { p->fresh(QStringLiteral("补收欠款")); },
                [p] {
                    click(p->screen(QStringLiteral("补收欠款")), QStringLiteral("BitBtn2"));
                    settle();
                },
                [p, arrearsSql]() -> QString {
                    // The list reads its rows as they are scrolled to: the first screenful at least.
                    QAbstractItemModel* list = arrearsModel(p->screen(QStringLiteral("补收欠款")));
                    const auto first = p->dm().ADOall.query(arrearsSql + QStringLiteral(" limit 256"));
                    if (list->rowCount() < int(first.size()))
                        return QStringLiteral("%1 arrears listed, %2 expected").arg(list->rowCount()).arg(first.size());
                    for (size_t r = 0; r < first.size(); ++r)
                        if (list->index(int(r), 0).data().toString() != first[r].text(QStringLiteral("id")))
                            return QStringLiteral("arrears row %1 differs").arg(r);
                    return {};
                },
                [arrearsSql] { return QStringList{arrearsSql + QStringLiteral(" LIMIT 256;")}; }});
    out.append({QStringLiteral("显示全部交款记录"), [p] { p->fresh(QStringLiteral("查询客户交款记录")); },
                [p] {
                    click(p->screen(QStringLiteral("查询客户交款记录")), QStringLiteral("BitBtn3"));
                    settle();
                },
                [p] {
                    return p->checkGrid(
                        p->screen(QStringLiteral("查询客户交款记录"))->findChild<DataGrid*>(QStringLiteral("DBGrid1")),
                        QStringLiteral("select * from 收款记录 order by 日期, rowid"), {});
                },
                {}});

    // The serial search: a whole serial of a unit, a part of one in lower case, and two characters.
    const QString serials = QStringLiteral("主机序列号查询");
    const QString unit = p->dm()
                             .ADOall
                             .first(QStringLiteral("select 主机序列号 from dinggou where length(主机序列号)>=8 "
                                                   "order by id limit 1 offset (select count(*)/2 from dinggou)"))
                             .text(QStringLiteral("主机序列号"));
    for (const auto& [label, text] :
         {std::pair{QStringLiteral("整个序列号"), unit}, std::pair{QStringLiteral("部分序列号"), unit.mid(3, 5).toLower()},
          std::pair{QStringLiteral("两个字符"), unit.mid(4, 2)}}) {
        out.append({QStringLiteral("主机序列号查询（%1“%2”）").arg(label, text),
                    [p, serials, text] {
                        QWidget* w = p->fresh(serials);
                        setText(w, QStringLiteral("Edit1"), text);
                    },
                    [p, serials] {
                        click(p->screen(serials), QStringLiteral("BitBtn1"));
                        settle();
                    },
                    [p, serials, text] {
                        // Written out without the index: every row whose serial holds the text, in any case.
                        QWidget* w = p->screen(serials);
                        QString e;
                        const std::pair<const char*, const char*> grids[] = {{"DBGrid1", "dinggou"},
                                                                             {"DBGrid2", "维修记录"},
                                                                             {"DBGrid3", "帐款明细"},
                                                                             {"DBGrid4", "收款记录"}};
                        for (const auto& [grid, table] : grids)
                            if (e.isEmpty())
                                e = p->checkGrid(
                                    w->findChild<DataGrid*>(QString::fromUtf8(grid)),
                                    QStringLiteral("select * from %1 where instr(lower(主机序列号), lower(?))>0 "
                                                   "order by 日期, %2")
                                        .arg(QString::fromUtf8(table),
                                             qstrcmp(table, "收款记录") == 0 ? QStringLiteral("rowid")
                                                                             : QStringLiteral("id")),
                                    {text});
                        return e;
                    },
                    {}});
    }

    // The daily overview of the busiest day.
    auto busiest = std::make_shared<QDate>();
    const QString overview = QStringLiteral("一日销售、维修及帐款情况一览");
    out.append({QStringLiteral("一日一览（最忙的一天）"),
                [p, busiest, overview] {
                    if (!busiest->isValid())
                        *busiest = p->dm()
                                       .ADOall
                                       .first(QStringLiteral("select 日期, count(*) as n from dinggou group by 日期 "
                                                             "order by n desc, 日期 desc limit 1"))
                                       .date(QStringLiteral("日期"));
                    QWidget* w = p->fresh(overview);
                    w->findChild<QDateEdit*>(QStringLiteral("DateTimePicker1"))->setDate(*busiest);
                },
                [p, overview] {
                    click(p->screen(overview), QStringLiteral("BitBtn1"));
                    settle();
                },
                [p, busiest, overview] {
                    QWidget* w = p->screen(overview);
                    const QVariantList day{Dates::toSql(*busiest)};
                    QString e;
                    const std::pair<const char*, const char*> grids[] = {
                        {"DBGrid1", "dinggou"}, {"DBGrid2", "维修记录"}, {"DBGrid3", "帐款明细"}};
                    for (const auto& [grid, table] : grids)
                        if (e.isEmpty())
                            e = p->checkGrid(w->findChild<DataGrid*>(QString::fromUtf8(grid)),
                                             QStringLiteral("select * from %1 where 日期=?").arg(QString::fromUtf8(table)),
                                             day);
                    return e;
                },
                {}});

    // The period summary of one year (the year with the most sales), for each panel.
    const QString summary = QStringLiteral("销售、维修及帐款情况汇总");
    auto lastYear = [p] {
        return int(p->dm()
                       .ADOall
                       .first(QStringLiteral("select cast(substr(日期, 1, 4) as integer) as y, count(*) as n from dinggou "
                                             "group by y order by n desc, y desc limit 1"))
                       .integer(QStringLiteral("y")));
    };
    struct Panel {
        QString label, from, to, button, grid, sql;
    };
    const QList<Panel> panels{
        {QStringLiteral("销售"), QStringLiteral("DateTimePicker1"), QStringLiteral("DateTimePicker2"),
         QStringLiteral("BitBtn1"), QStringLiteral("DBGrid1"),
         QStringLiteral("select * from dinggou where 日期 between ? and ? and 地址 like '%'")},
        {QStringLiteral("维修"), QStringLiteral("DateTimePicker3"), QStringLiteral("DateTimePicker4"),
         QStringLiteral("BitBtn4"), QStringLiteral("DBGrid2"),
         QStringLiteral("select * from 维修记录 where 日期 between ? and ? and 地址 like '%'")},
        {QStringLiteral("帐款"), QStringLiteral("DateTimePicker5"), QStringLiteral("DateTimePicker6"),
         QStringLiteral("BitBtn6"), QStringLiteral("DBGrid3"),
         QStringLiteral("select * from 帐款明细 where 日期 between ? and ? and 地址 like '%' "
                        "order by 付款情况 COLLATE PINYIN, 日期")}};
    for (const Panel& panel : panels) {
        auto year = std::make_shared<int>(0);
        out.append({QStringLiteral("期间汇总一年：%1").arg(panel.label),
                    [p, panel, summary, year, lastYear] {
                        if (!*year)
                            *year = lastYear();
                        QWidget* w = p->fresh(summary);
                        w->findChild<QDateEdit*>(panel.from)->setDate(QDate(*year, 1, 1));
                        w->findChild<QDateEdit*>(panel.to)->setDate(QDate(*year, 12, 31));
                    },
                    [p, panel, summary] {
                        click(p->screen(summary), panel.button);
                        settle();
                    },
                    [p, panel, summary, year] {
                        return p->checkGrid(p->screen(summary)->findChild<DataGrid*>(panel.grid), panel.sql,
                                            {Dates::toSql(QDate(*year, 1, 1)), Dates::toSql(QDate(*year, 12, 31))});
                    },
                    {}});
    }

    // Laying out the sales of the period summary for printing: the last 10,000 sales or so
    // (whole days).
    auto printFrom = std::make_shared<QDate>();
    auto printRows = std::make_shared<qlonglong>(0);
    auto printer = [p, summary]() -> TPrintDBGrid* {
        QWidget* w = p->screen(summary);
        auto* screen = qobject_cast<Thuizong*>(w);
        if (!screen)
            screen = w->findChild<Thuizong*>();
        if (!screen)
            throw std::runtime_error("no summary screen");
        return screen->PrintDBGrid1;
    };
    out.append({QStringLiteral("打印排版一万行"),
                [p, summary, printFrom, printRows] {
                    if (!printFrom->isValid()) {
                        *printFrom = p->dm()
                                         .ADOall
                                         .first(QStringLiteral("select coalesce((select 日期 from dinggou order by 日期 desc limit 1 "
                                                                "offset 9999), (select min(日期) from dinggou)) as 日期"))
                                         .date(QStringLiteral("日期"));
                        *printRows = p->dm()
                                         .ADOall
                                         .first(QStringLiteral("select count(*) as n from dinggou where 日期>=? and 地址 like '%'"),
                                                {Dates::toSql(*printFrom)})
                                         .integer(QStringLiteral("n"));
                    }
                    QWidget* w = p->fresh(summary);
                    w->findChild<QDateEdit*>(QStringLiteral("DateTimePicker1"))->setDate(*printFrom);
                    w->findChild<QDateEdit*>(QStringLiteral("DateTimePicker2"))->setDate(QDate(9999, 12, 31));
                    click(w, QStringLiteral("BitBtn1"));
                    settle();
                },
                [printer] { printer()->layOut(); },
                [printer, printRows]() -> QString {
                    TPrintDBGrid* print = printer();
                    if (!print->isLaidOut() || print->pageCount() < 1)
                        return QStringLiteral("not laid out");
                    qlonglong rows = 0;
                    for (int page = 0; page < print->pageCount(); ++page)
                        rows += print->rowsOnPage(page);
                    return rows == *printRows ? QString()
                                              : QStringLiteral("%1 rows laid out, %2 expected").arg(rows).arg(*printRows);
                },
                [p, printFrom] {
                    return QStringList{QStringLiteral("SELECT * FROM dinggou WHERE 日期 BETWEEN '%1' AND '9999-12-31' "
                                                      "AND 地址 LIKE '%%' ESCAPE '!';")
                                           .arg(Dates::toSql(*printFrom))};
                }});

    // Saving a sale.
    auto saleKey = std::make_shared<qlonglong>(0);
    out.append(
        {QStringLiteral("保存一笔销售"),
         [p, s, saleKey] {
             QWidget* w = p->fresh(QStringLiteral("订购（销售）记录录入"));
             auto* number = w->findChild<QLineEdit*>(QStringLiteral("Edit7"));
             number->setText(s.text(QStringLiteral("客户编号")));
             number->setFocus();
             QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
             QApplication::sendEvent(number, &press);
             setText(w, QStringLiteral("Edit4"), QStringLiteral("联想天逸510"));
             setText(w, QStringLiteral("Edit6"), QStringLiteral("3999.5"));
             *saleKey = p->dm().ADOall.first(QStringLiteral("select max(id) as k from dinggou")).integer(QStringLiteral("k"));
             p->messages->shown.clear();
         },
         [p] {
             click(p->screen(QStringLiteral("订购（销售）记录录入")), QStringLiteral("BitBtn2"));
             settle();
         },
         [p, s, saleKey]() -> QString {
             if (!p->lastMessage().endsWith(QStringLiteral("订购资料录入成功！")))
                 return QStringLiteral("message: ") + p->lastMessage();
             const Row sale = p->dm().ADOall.first(QStringLiteral("select * from dinggou where id>?"), {*saleKey});
             if (sale.integer(QStringLiteral("客户编号")) != s.integer(QStringLiteral("客户编号")) ||
                 sale.money(QStringLiteral("价格")).toString() != QStringLiteral("3999.5"))
                 return QStringLiteral("the sale was not written");
             return {};
         },
         [s] {
             const QString c = QStringLiteral("%1,%2,%3,%4,%5")
                                   .arg(literal(s.value(QStringLiteral("手机"))), literal(s.value(QStringLiteral("客户编号"))),
                                        literal(s.value(QStringLiteral("客户名称"))), literal(s.value(QStringLiteral("地址"))),
                                        literal(s.value(QStringLiteral("电话"))));
             return QStringList{
                 QStringLiteral("BEGIN;"),
                 QStringLiteral("insert into dinggou(手机,客户编号,客户名称,地址,电话,订购型号,价格,日期,经手人) "
                                "values(%1,'联想天逸510',39995000,'2024-12-31','0001');")
                     .arg(c),
                 QStringLiteral("insert into 帐款明细(手机,客户编号,客户名称,地址,电话,应付金额,付款情况,日期,经手人) "
                                "values(%1,39995000,'未付款','2024-12-31','0001');")
                     .arg(c),
                 QStringLiteral("COMMIT;")};
         }});

    // Collecting ten arrears of one customer.
    auto ticked = std::make_shared<QStringList>();
    out.append(
        {QStringLiteral("补收十笔欠款"),
         [p, ticked] {
             const Row debtor = p->dm().ADOall.first(QStringLiteral(
                 "select 客户编号 from 帐款明细 where 付款情况='未付款' and 应付金额<>0 and 客户编号 is not null "
                 "group by 客户编号 having count(*)>=10 limit 1"));
             if (debtor.isEmpty())
                 throw std::runtime_error("no customer owes ten amounts");
             QWidget* w = p->fresh(QStringLiteral("补收欠款"));
             setText(w, QStringLiteral("Edit5"), debtor.text(QStringLiteral("客户编号")));
             click(w, QStringLiteral("BitBtn1"));
             QAbstractItemModel* list = arrearsModel(w);
             ticked->clear();
             for (int r = 0; r < 10 && r < list->rowCount(); ++r) {
                 list->setData(list->index(r, 0), Qt::Checked, Qt::CheckStateRole);
                 *ticked << list->index(r, 0).data().toString();
             }
             settle();
             p->messages->shown.clear();
         },
         [p] {
             click(p->screen(QStringLiteral("补收欠款")), QStringLiteral("BitBtn3"));
             settle();
         },
         [p, ticked]() -> QString {
             if (!p->lastMessage().endsWith(QStringLiteral("补收欠款成功！")))
                 return QStringLiteral("message: ") + p->lastMessage();
             if (ticked->size() != 10)
                 return QStringLiteral("fewer than ten arrears listed");
             const Row n = p->dm().ADOall.first(
                 QStringLiteral("select count(*) as n from 帐款明细 where 付款情况='已付款' and id in (%1)")
                     .arg(ticked->join(u',')));
             return n.integer(QStringLiteral("n")) == 10 ? QString() : QStringLiteral("not all ten were collected");
         },
         [ticked] {
             QStringList out{QStringLiteral("BEGIN;")};
             for (const QString& id : *ticked) {
                 out << QStringLiteral("update 帐款明细 set 付款情况='已付款' where id=%1 and 付款情况='未付款';").arg(id);
                 out << QStringLiteral("insert into 收款记录(客户编号,客户名称,地址,电话,手机,主机序列号,金额,日期,经手人) "
                                       "select 客户编号,客户名称,地址,电话,手机,主机序列号,应付金额,'2024-12-31','0001' "
                                       "from 帐款明细 where id=%1;")
                            .arg(id);
             }
             out << QStringLiteral("COMMIT;");
             return out;
         }});

    // Exporting the customer archive's grid (100,000 rows at scale 1) in each format.
    const QStringList formats{QStringLiteral("文本"), QStringLiteral("CSV"), QStringLiteral("HTML"),
                              QStringLiteral("RTF"), QStringLiteral("XLS")};
    for (int t = 1; t <= 4; ++t) {
        const auto type = Export::FileType(t);
        const QString file = p->scratch.filePath(QStringLiteral("export.") + Export::extension(type));
        out.append({QStringLiteral("导出客户档案：%1").arg(formats[t - 1]),
                    [p, archiveGrid] {
                        if (!p->main->findWindow(QStringLiteral("客户档案")))
                            p->fresh(QStringLiteral("客户档案"));
                        archiveGrid()->query()->reopen();
                        settle();
                    },
                    [archiveGrid, type, file] { Export::writer(type)->saveToFile(*archiveGrid(), file); },
                    [p, type, file]() -> QString {
                        QFile f(file);
                        if (!f.open(QIODevice::ReadOnly))
                            return QStringLiteral("no file");
                        const qlonglong rows = p->dm()
                                                   .ADOall.first(QStringLiteral("select count(*) as n from 客户信息"))
                                                   .integer(QStringLiteral("n"));
                        const QByteArray bytes = f.readAll();
                        if (type == Export::Text || type == Export::Csv) {
                            const qlonglong lines = bytes.count('\n') + (bytes.endsWith('\n') ? 0 : 1);
                            if (lines != rows + 1)
                                return QStringLiteral("%1 lines for %2 rows").arg(lines).arg(rows);
                        } else if (bytes.size() < rows * 20) {
                            return QStringLiteral("%1 bytes for %2 rows").arg(bytes.size()).arg(rows);
                        }
                        return {};
                    },
                    [file] {
                        return QStringList{QStringLiteral(".mode csv"), QStringLiteral(".once '%1.shell'").arg(file),
                                           QStringLiteral("SELECT rowid, * FROM 客户信息;")};
                    }});
    }

    // An XLS file holds 65,536 rows at most, so the 100,000 customers are refused (the program
    // says so); measured instead over the largest result it holds: the last 60,000 sales or so
    // (whole days) of the period summary.
    {
        const QString file = p->scratch.filePath(QStringLiteral("export.xls"));
        auto from = std::make_shared<QDate>();
        auto rows = std::make_shared<qlonglong>(0);
        auto grid = [p, summary] { return p->screen(summary)->findChild<DataGrid*>(QStringLiteral("DBGrid1")); };
        out.append({QStringLiteral("导出销售汇总（6万行以内）：XLS"),
                    [p, summary, from, rows] {
                        if (!from->isValid()) {
                            const Row r = p->dm().ADOall.first(QStringLiteral(
                                "select 日期 from dinggou where 地址 like '%' order by 日期 desc limit 1 offset 60000"));
                            *from = r.isEmpty() ? QDate(1900, 1, 1) : r.date(QStringLiteral("日期")).addDays(1);
                            *rows = p->dm()
                                        .ADOall
                                        .first(QStringLiteral("select count(*) as n from dinggou where 日期>=? and 地址 like '%'"),
                                               {Dates::toSql(*from)})
                                        .integer(QStringLiteral("n"));
                        }
                        QWidget* w = p->fresh(summary);
                        w->findChild<QDateEdit*>(QStringLiteral("DateTimePicker1"))->setDate(*from);
                        w->findChild<QDateEdit*>(QStringLiteral("DateTimePicker2"))->setDate(QDate(9999, 12, 31));
                        click(w, QStringLiteral("BitBtn1"));
                        settle();
                    },
                    [grid, file] { Export::writer(Export::Xls)->saveToFile(*grid(), file); },
                    [file, rows]() -> QString {
                        const qint64 size = QFileInfo(file).size();
                        if (*rows < 1 || size < *rows * 20)
                            return QStringLiteral("%1 bytes for %2 rows").arg(size).arg(*rows);
                        return {};
                    },
                    [file, from] {
                        return QStringList{QStringLiteral(".mode csv"), QStringLiteral(".once '%1.shell'").arg(file),
                                           QStringLiteral("SELECT * FROM dinggou WHERE 日期 BETWEEN '%1' AND '9999-12-31' "
                                                          "AND 地址 LIKE '%%' ESCAPE '!';")
                                               .arg(Dates::toSql(*from))};
                    }});
    }

    // Backup through the menu command.
    const QString backupName = p->scratch.filePath(QStringLiteral("backup"));
    out.append({QStringLiteral("备份"),
                [p, backupName] {
                    QFile::remove(backupName + QStringLiteral(".bak"));
                    p->files->next = backupName;
                    p->messages->shown.clear();
                },
                [p] { p->main->runCommand(QStringLiteral("N3")); },
                [p, backupName]() -> QString {
                    if (!p->lastMessage().endsWith(QStringLiteral("备份数据成功！")))
                        return QStringLiteral("message: ") + p->lastMessage();
                    return QFileInfo(backupName + QStringLiteral(".bak")).size() > 0 ? QString()
                                                                                     : QStringLiteral("no backup file");
                },
                [backupName] { return QStringList{QStringLiteral(".backup '%1.shell'").arg(backupName)}; }});

    // The day's automatic backup: the copy, its check beside the window, the kept days.
    out.append({QStringLiteral("自动备份"),
                [p] {
                    for (const QString& f : AutoBackup::backups(AutoBackup::settings()))
                        QFile::remove(f);
                    p->messages->shown.clear();
                },
                [p] { p->main->autoBackup(); },
                [p]() -> QString {
                    if (!p->messages->shown.empty())
                        return QStringLiteral("message: ") + p->lastMessage();
                    return AutoBackup::doneFor(AutoBackup::settings(), QDate::currentDate())
                               ? QString()
                               : QStringLiteral("no backup file");
                },
                [backupName] { return QStringList{QStringLiteral(".backup '%1.shell'").arg(backupName)}; }});
    return out;
}

namespace {
// Wall time of one run of the shell over the database, in ms.
double shellRun(const QString& program, const QString& database, const QString& extension, const QStringList& script) {
    QProcess sh;
    QElapsedTimer t;
    t.start();
    sh.start(program, {QStringLiteral("-batch"), database});
    if (!sh.waitForStarted())
        return -1;
    QString text;
    if (!extension.isEmpty())
        text += QStringLiteral(".load '%1' sqlite3_extension_init\n").arg(extension);
    text += QStringLiteral(".output /dev/null\n") + script.join(u'\n') + u'\n';
    sh.write(text.toUtf8());
    sh.closeWriteChannel();
    sh.waitForFinished(-1);
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (sh.exitCode() != 0 || !sh.readAllStandardError().isEmpty())
        return -1;
    return ms;
}
} // namespace

Result Runner::measure(Command& command, int repeats, const QString& shellProgram, const QString& extension) {
    Result r;
    r.name = command.name;
    r.pending = command.pending;
    if (command.pending)
        return r;
    QStringList statements;
    double peak = 0;
    try {
        for (int i = 0; i < repeats; ++i) {
            command.prepare();
            resetPeakMemory();
            QElapsedTimer t;
            QTimer ticker;
            ticker.setTimerType(Qt::PreciseTimer);
            ticker.setInterval(10);
            qint64 lastTurn = 0;
            qint64 longest = 0;
            QObject::connect(&ticker, &QTimer::timeout, [&] {
                const qint64 now = t.nsecsElapsed();
                longest = std::max(longest, now - lastTurn);
                lastTurn = now;
            });
            ticker.start();
            t.start();
            command.run();
            const qint64 end = t.nsecsElapsed();
            ticker.stop();
            r.ms << double(end) / 1e6;
            r.maxGapMs = std::max(r.maxGapMs, double(std::max(longest, end - lastTurn)) / 1e6);
            peak = std::max(peak, peakMemoryMb());
            const QString error = command.check();
            if (!error.isEmpty()) {
                r.error = error;
                break;
            }
            if (i == 0) {
                if (command.shell) {
                    statements = command.shell();
                } else {
                    // The statements the grids on screen ran.
                    for (DataGrid* g : d->main->findChildren<DataGrid*>())
                        if (g->isVisible() && g->query() && g->query()->isOpen())
                            statements << gridStatements(g);
                }
            }
        }
    } catch (const std::exception& e) {
        r.error = QString::fromUtf8(e.what());
    }
    r.median = median(r.ms);
    r.peakMb = peak;
    if (!shellProgram.isEmpty() && !statements.isEmpty() && r.error.isEmpty()) {
        const QString db = d->dm().fileName();
        // An open lazy result holds a read lock that would keep the shell from writing.
        d->closeAll();
        for (int n = 3; n <= 18; ++n)
            d->dm().ADOQuery(n).close();
        QList<double> base, runs;
        for (int i = 0; i < repeats; ++i) {
            base << shellRun(shellProgram, db, extension, {QStringLiteral("SELECT count(*) FROM sqlite_master;")});
            runs << shellRun(shellProgram, db, extension, statements);
        }
        if (!runs.contains(-1.0) && !base.contains(-1.0))
            r.shellMs = command.shellWhole ? median(runs) : std::max(0.0, median(runs) - median(base));
    }
    return r;
}

} // namespace Bench
