#include "reports/export/gridexport.h"
#include "data/dates.h"
#include "data/eventturns.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"
#include <QDir>
#include <QFileDevice>
#include <QHeaderView>
#include <QPointer>
#include <QSaveFile>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#ifdef Q_OS_LINUX
#include <fcntl.h>
#endif

namespace {

ExportFont fontOf(const QFont& f) {
    ExportFont out;
    out.name = f.family();
    // Sizes are taken at 96 dots per inch: a font 13 pixels high is 10 points.
    out.points = f.pixelSize() > 0 ? qRound(f.pixelSize() * 72.0 / 96.0) : qRound(f.pointSizeF());
    out.color = ExportColors::WindowText;
    out.bold = f.bold();
    out.italic = f.italic();
    out.underline = f.underline();
    out.strikeOut = f.strikeOut();
    return out;
}

bool isIntegerType(int typeId) {
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

// Keeps the grid's current row and scroll position across the walk and stops its redrawing.
// The window processes events during the walk, so the grid is watched in case it goes away.
class GridFreeze {
  public:
    explicit GridFreeze(DataGrid& grid)
        : grid_(&grid), current_(grid.currentIndex()), h_(grid.horizontalScrollBar()->value()),
          v_(grid.verticalScrollBar()->value()), updates_(grid.updatesEnabled()) {
        grid.setUpdatesEnabled(false);
    }
    ~GridFreeze() {
        if (!grid_)
            return;
        if (grid_->currentIndex() != current_)
            grid_->setCurrentIndex(current_);
        grid_->horizontalScrollBar()->setValue(h_);
        grid_->verticalScrollBar()->setValue(v_);
        grid_->setUpdatesEnabled(updates_);
    }
    GridFreeze(const GridFreeze&) = delete;
    GridFreeze& operator=(const GridFreeze&) = delete;
    bool gone() const { return grid_.isNull(); }

  private:
    QPointer<DataGrid> grid_;
    QPersistentModelIndex current_;
    int h_;
    int v_;
    bool updates_;
};

struct ColumnInfo {
    ExportColumn column;
    int index = -1; // in the result record
    bool money = false;
    bool date = false;
    bool integerField = false;
};

struct FooterInfo {
    ExportFooterCell cell;
    int index = -1;   // the field a count or sum reads
    qint64 total = 0; // ten-thousandths
    qint64 count = 0;
    bool filledOnly = false; // a count of the rows whose field holds a value
};

// Ten-thousandths of a value, rounded to four places; false when it is no number.
bool tenThousandths(const QVariant& v, bool money, qint64& out) {
    if (money) {
        out = Money::fromVariant(v).units();
        return true;
    }
    if (isIntegerType(v.typeId())) {
        out = v.toLongLong() * Money::Scale;
        return true;
    }
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return false;
    out = std::llround(d * Money::Scale);
    return true;
}

// One export at a time: the window processes events while the rows are written.
bool exporting = false;

void refuseWhileExporting() {
    if (exporting)
        TDM1::fail(QStringLiteral("正在倒出数据，请稍后再试！"));
}

class ExportRunning {
  public:
    ExportRunning() {
        refuseWhileExporting();
        exporting = true;
    }
    ~ExportRunning() { exporting = false; }
    ExportRunning(const ExportRunning&) = delete;
    ExportRunning& operator=(const ExportRunning&) = delete;
};

} // namespace

void TDBGridExport::keepAlive() {
    if (!turns_ || !turns_->tick())
        return;
#ifdef Q_OS_LINUX
    // The file's commit waits until every byte is on the disk; writing starts now instead, in
    // the background, so that wait stays short for a file of any size.
    auto* file = qobject_cast<QFileDevice*>(out_);
    if (file && file->handle() >= 0 && file->flush())
        ::sync_file_range(file->handle(), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

void TDBGridExport::turnNow() {
    if (turns_)
        turns_->turn();
}

void TDBGridExport::settleOnDisk() {
    // The file's commit waits until every byte is on the disk, which takes long for a large file
    // on a slow disk. The wait happens here instead, on a helper thread, while the window turns.
    auto* file = qobject_cast<QFileDevice*>(out_);
    if (!turns_ || !file || file->handle() < 0 || !file->flush())
        return;
    const int fd = file->handle();
    std::atomic<bool> done = false;
    std::thread sync([fd, &done] {
        ::fdatasync(fd);
        done = true;
    });
    while (!done) {
        turns_->turn();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    sync.join();
    turns_->turn();
}

void TDBGridExport::put(const QByteArray& bytes) {
    if (out_->write(bytes) != bytes.size())
        TDM1::fail(QStringLiteral("写入文件失败：%1").arg(out_->errorString()));
}

void TDBGridExport::writeTitleRow(const QList<ExportCell>& cells) {
    for (int c = 0; c < cells.size(); ++c)
        writeTitleCell(cells[c], c, c == cells.size() - 1);
}

void TDBGridExport::writeDataRow(const QList<ExportCell>& cells) {
    for (int c = 0; c < cells.size(); ++c)
        writeDataCell(cells[c], c, c == cells.size() - 1);
}

void TDBGridExport::writeFooterRow(const QList<ExportFooterCell>& cells) {
    for (int c = 0; c < cells.size(); ++c)
        writeFooterCell(cells[c], c, c == cells.size() - 1);
}

void TDBGridExport::saveToFile(DataGrid& grid, const QString& fileName, const ExportOptions& options) {
    // A grid that was never queried has nothing to export: say so before any file is made.
    if (!grid.query() || !grid.query()->isOpen())
        TDM1::fail(QStringLiteral("不能对已关闭的数据集执行此操作。"));
    refuseWhileExporting();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        TDM1::fail(QStringLiteral("无法创建文件“%1”：%2")
                       .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    // The rows hold customers' personal data: the file is its owner's only, a replaced one too.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        TDM1::fail(QStringLiteral("无法创建文件“%1”：%2")
                       .arg(QDir::toNativeSeparators(fileName), file.errorString()));
    save(grid, file, options);
    if (!file.commit())
        TDM1::fail(QStringLiteral("无法保存文件“%1”：%2")
                       .arg(QDir::toNativeSeparators(fileName), file.errorString()));
}

void TDBGridExport::save(DataGrid& grid, QIODevice& out, const ExportOptions& options) {
    SharedQuery* query = grid.query();
    if (!query || !query->isOpen())
        TDM1::fail(QStringLiteral("不能对已关闭的数据集执行此操作。"));
    const ExportRunning running;
    EventTurns turns;
    struct Detach {
        TDBGridExport& e;
        ~Detach() {
            e.turns_ = nullptr;
            e.out_ = nullptr;
        }
    } detach{*this};
    turns_ = &turns;
    out_ = &out;

    // The rows are read by a forward-only statement of their own, in the grid's order, so a
    // result of any size streams to the file and the grid's own cursor never moves.
    QSqlQuery rows(query->dm().db());
    rows.setForwardOnly(true);
    if (!rows.prepare(query->orderedSql()))
        TDM1::fail(rows.lastError().databaseText().isEmpty() ? rows.lastError().text()
                                                             : rows.lastError().databaseText());
    for (const QVariant& p : query->params())
        rows.addBindValue(p);
    if (!rows.exec())
        TDM1::fail(rows.lastError().databaseText().isEmpty() ? rows.lastError().text()
                                                             : rows.lastError().databaseText());
    const QSqlRecord record = rows.record();

    GridFreeze freeze(grid);

    look_ = {};
    look_.gridName = grid.objectName();
    look_.linesDrawn = grid.showGrid();
    look_.titleFont = fontOf(grid.horizontalHeader()->font());
    const ExportFont cellFont = fontOf(grid.font());

    QList<ColumnInfo> columns;
    for (const GridColumn& gc : grid.columns()) {
        ColumnInfo ci;
        ci.column.field = gc.field;
        ci.column.title = gc.title.isEmpty() ? gc.field : gc.title;
        ci.column.width = gc.width;
        ci.index = record.indexOf(gc.field);
        ci.money = TDM1::isMoneyColumn(gc.field);
        ci.date = TDM1::isDateColumn(gc.field);
        ci.integerField = ci.index >= 0 && !ci.money && isIntegerType(record.field(ci.index).metaType().id());
        ci.column.numeric = ci.money || ci.integerField ||
                            (ci.index >= 0 && record.field(ci.index).metaType().id() == QMetaType::Double);
        columns.append(ci);
    }

    QList<FooterInfo> footer;
    if (grid.hasFooter()) {
        const QList<FooterCell> cells = grid.footer();
        for (const ColumnInfo& ci : columns) {
            FooterInfo fi;
            fi.cell.width = ci.column.width;
            fi.cell.font = cellFont;
            fi.cell.align = options.centreEveryFooter ? ExportAlign::Center
                            : ci.column.numeric       ? ExportAlign::Right
                                                      : ExportAlign::Left;
            for (const FooterCell& fc : cells) {
                if (fc.field.compare(ci.column.field, Qt::CaseInsensitive) != 0)
                    continue;
                fi.cell.align = ExportAlign::Center;
                fi.filledOnly = fc.kind == FooterCell::CountFilled;
                fi.cell.kind = fc.kind == FooterCell::Count || fc.kind == FooterCell::CountFilled
                                   ? ExportFooterCell::Count
                               : fc.kind == FooterCell::Sum ? ExportFooterCell::Sum
                                                            : ExportFooterCell::Text;
                fi.cell.text = fc.kind == FooterCell::Text ? fc.text : QString();
                fi.index = record.indexOf(fc.field);
            }
            footer.append(fi);
        }
    }

    writePrefix();

    QList<ExportCell> cells(columns.size());
    for (int c = 0; c < columns.size(); ++c) {
        ExportCell& cell = cells[c];
        cell.kind = ExportCell::Label;
        cell.text = columns[c].column.title;
        cell.align = look_.titleAlign;
        cell.background = look_.fixedColor;
        cell.font = look_.titleFont;
        cell.width = columns[c].column.width;
    }
    writeTitleRow(cells);

    for (ExportCell& cell : cells) {
        cell.align = ExportAlign::Center;
        cell.background = ExportColors::Window;
        cell.font = cellFont;
    }
    while (rows.next()) {
        keepAlive();
        if (freeze.gone())
            TDM1::fail(QStringLiteral("窗口已关闭，数据没有倒出。"));
        for (int c = 0; c < columns.size(); ++c) {
            const ColumnInfo& ci = columns[c];
            ExportCell& cell = cells[c];
            const QVariant v = ci.index >= 0 ? rows.value(ci.index) : QVariant();
            if (v.isNull()) {
                cell.kind = ExportCell::Blank;
                cell.text.clear();
            } else if (ci.money) {
                const Money m = Money::fromVariant(v);
                cell.kind = ExportCell::Number;
                cell.number = double(m.units()) / Money::Scale;
                cell.text = m.toString();
            } else if (ci.date) {
                const QDate d = Dates::fromSql(v.toString());
                cell.kind = ExportCell::Label;
                cell.text = d.isValid() ? Dates::shortDate(d) : v.toString();
            } else if (isIntegerType(v.typeId())) {
                cell.kind = ExportCell::Integer;
                cell.integer = v.toLongLong();
                cell.text = QString::number(cell.integer);
            } else if (v.typeId() == QMetaType::Double) {
                cell.kind = ExportCell::Number;
                cell.number = v.toDouble();
                cell.text = v.toString();
            } else {
                cell.kind = ExportCell::Label;
                cell.text = v.toString();
            }
        }
        writeDataRow(cells);

        for (FooterInfo& fi : footer) {
            if (fi.index < 0)
                continue;
            if (fi.cell.kind == ExportFooterCell::Count) {
                if (!fi.filledOnly || !rows.value(fi.index).isNull())
                    ++fi.count;
            } else if (fi.cell.kind == ExportFooterCell::Sum) {
                const QVariant v = rows.value(fi.index);
                qint64 units = 0;
                if (!v.isNull() && tenThousandths(v, TDM1::isMoneyColumn(record.fieldName(fi.index)), units))
                    fi.total += units;
            }
        }
    }
    if (rows.lastError().isValid())
        TDM1::fail(rows.lastError().databaseText().isEmpty() ? rows.lastError().text()
                                                             : rows.lastError().databaseText());

    if (!footer.isEmpty()) {
        QList<ExportFooterCell> row;
        for (FooterInfo& fi : footer) {
            ExportFooterCell cell = fi.cell;
            if (cell.kind == ExportFooterCell::Count) {
                cell.value = double(fi.count);
                cell.text = QString::number(fi.count);
            } else if (cell.kind == ExportFooterCell::Sum) {
                const QString field = fi.index >= 0 ? record.fieldName(fi.index) : QString();
                cell.value = double(fi.total) / Money::Scale;
                if (TDM1::isMoneyColumn(field))
                    cell.text = Money::fromUnits(fi.total).toString();
                else if (fi.index >= 0 && isIntegerType(record.field(fi.index).metaType().id()))
                    cell.text = QString::number(fi.total / Money::Scale);
                else
                    cell.text = QString::number(cell.value, 'g', 15);
            }
            row.append(cell);
        }
        writeFooterRow(row);
    }

    writeSuffix();
    settleOnDisk();
}
