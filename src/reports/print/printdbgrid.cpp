#include "reports/print/printdbgrid.h"
#include "data/tdm1.h"
#include "reports/print/tpreviewform.h"
#include "ui/datagrid.h"
#include "ui/session.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {
constexpr double kCellPad = 4;   // blank left and right of a cell's text
constexpr double kRowPad = 4;    // blank above and below a line of text
constexpr double kGap = 8;       // between the texts and the grid
constexpr int kEventEvery = 256; // rows between two looks at the event queue

enum RowKind { TitleRow, DataRow, FooterRow };

bool goOn(const std::function<bool()>& keepGoing, qint64 n) {
    if (n % kEventEvery != 0)
        return true;
    QCoreApplication::processEvents();
    return !keepGoing || keepGoing();
}
} // namespace

// A forward cursor over a statement's rows that can be placed on any row; stepping forward
// reads on, stepping back runs the statement again from that row.
class RowWalker {
  public:
    RowWalker(QSqlDatabase db, QString sql, QVariantList params, QString skip)
        : db_(std::move(db)), sql_(std::move(sql)), params_(std::move(params)), skip_(std::move(skip)) {}

    void seek(qint64 row) {
        if (!active_ || row < next_) {
            q_ = QSqlQuery(db_);
            q_.setForwardOnly(true);
            if (!q_.prepare(QStringLiteral("SELECT * FROM (%1) AS q %2").arg(sql_, skip_)))
                TDM1::fail(q_.lastError().databaseText().isEmpty() ? q_.lastError().text()
                                                                   : q_.lastError().databaseText());
            for (const QVariant& p : params_)
                q_.addBindValue(p);
            q_.addBindValue(row);
            if (!q_.exec())
                TDM1::fail(q_.lastError().databaseText().isEmpty() ? q_.lastError().text()
                                                                   : q_.lastError().databaseText());
            active_ = true;
            next_ = row;
        }
        while (next_ < row && q_.next())
            ++next_;
    }

    bool next(Row& out) {
        if (!active_)
            seek(0);
        if (!q_.next())
            return false;
        ++next_;
        out = Row(q_.record());
        return true;
    }

  private:
    QSqlDatabase db_;
    QString sql_;
    QVariantList params_;
    QString skip_;
    QSqlQuery q_;
    bool active_ = false;
    qint64 next_ = 0;
};

TPrintDBGrid::TPrintDBGrid(Session& session, DataGrid* grid, PrintSettings settings, QObject* parent)
    : QObject(parent), session_(session), grid_(grid), settings_(std::move(settings)) {}

TPrintDBGrid::~TPrintDBGrid() = default;

bool TPrintDBGrid::canPrint() const {
    return grid_ && grid_->query() && grid_->query()->isOpen();
}

void TPrintDBGrid::preview(QWidget* parent) {
    if (!canPrint())
        return;
    TPreviewForm::instance(session_, parent).showFor(*this);
}

std::unique_ptr<RowWalker> TPrintDBGrid::walker() const {
    return std::make_unique<RowWalker>(session_.dm().db(), sql_, params_, session_.dm().skipRows());
}

void TPrintDBGrid::takeSnapshot() {
    if (!canPrint())
        TDM1::fail(QStringLiteral("表格没有打开的数据，无法打印。"));
    SharedQuery* q = grid_->query();
    sql_ = q->orderedSql();
    params_ = q->params();
    hasFooter_ = grid_->hasFooter();
    columns_.clear();
    for (const GridColumn& c : grid_->columns())
        columns_.append(
            {c.field, c.title.isEmpty() ? c.field : c.title, grid_->footerText(c.field), double(c.width)});
    gridFont_ = pixelFont(grid_->font());
    if (!settings_.printFontName.isEmpty())
        gridFont_.setFamily(settings_.printFontName);
    lineHeight_ = QFontMetricsF(gridFont_).height();
    paintWalker_.reset();
}

QString TPrintDBGrid::cellText(const Row& row, const Column& c) const {
    QString s = row.text(c.field);
    if (!settings_.stretchRows && s.contains(u'\n'))
        s.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ');
    return s;
}

double TPrintDBGrid::rowHeight(const QStringList& cells) const {
    if (!settings_.stretchRows)
        return lineHeight_ + 2 * kRowPad;
    const QFontMetricsF fm(gridFont_);
    double h = lineHeight_;
    for (int i = 0; i < cells.size() && i < columns_.size(); ++i) {
        if (cells[i].isEmpty())
            continue;
        const double w = qMax(1.0, columns_[i].width - 2 * kCellPad);
        const QRectF r = fm.boundingRect(QRectF(0, 0, w, 1e9), Qt::AlignCenter | Qt::TextWordWrap, cells[i]);
        h = qMax(h, r.height());
    }
    return h + 2 * kRowPad;
}

double TPrintDBGrid::textHeight(const PrintText& t) const {
    if (t.isEmpty())
        return 0;
    const QFontMetricsF fm(pixelFont(t.font));
    const QRectF r = fm.boundingRect(QRectF(0, 0, printableRect().width(), 1e9),
                                     int(t.alignment) | Qt::TextWordWrap, t.text);
    return r.height() + kGap;
}

double TPrintDBGrid::bandHeight(const PrintBand& b) const {
    if (b.isEmpty())
        return 0;
    return QFontMetricsF(pixelFont(b.font)).height() + kRowPad + (b.line ? 2 : 0);
}

QSizeF TPrintDBGrid::paperSize() const {
    return settings_.page.fullRect(QPageLayout::Point).size() * (96.0 / 72.0);
}

QRectF TPrintDBGrid::printableRect() const {
    const QSizeF paper = paperSize();
    const PrintMargins& m = settings_.margins;
    const double l = settings_.marginPixels(m.left), r = settings_.marginPixels(m.right);
    const double t = settings_.marginPixels(m.top), b = settings_.marginPixels(m.bottom);
    return QRectF(l, t, paper.width() - l - r, paper.height() - t - b);
}

double TPrintDBGrid::gridWidth() const {
    double w = 0;
    for (const Column& c : columns_)
        w += c.width;
    return w;
}

QList<double> TPrintDBGrid::columnWidths() const {
    QList<double> out;
    for (const Column& c : columns_)
        out.append(c.width);
    return out;
}

int TPrintDBGrid::rowsOnPage(int page) const {
    return page >= 0 && page < pages_.size() ? pages_[page].rows : 0;
}

QStringList TPrintDBGrid::headerTexts(int page) const {
    const PrintBand& b = settings_.pageHeader;
    const int n = pageCount();
    return {expandPageMacros(b.left, page + 1, n, printedAt_),
            expandPageMacros(b.centre, page + 1, n, printedAt_),
            expandPageMacros(b.right, page + 1, n, printedAt_)};
}

QStringList TPrintDBGrid::footerTexts(int page) const {
    const PrintBand& b = settings_.pageFooter;
    const int n = pageCount();
    return {expandPageMacros(b.left, page + 1, n, printedAt_),
            expandPageMacros(b.centre, page + 1, n, printedAt_),
            expandPageMacros(b.right, page + 1, n, printedAt_)};
}

bool TPrintDBGrid::layOut(const std::function<bool()>& keepGoing) {
    laidOut_ = false;
    pages_.clear();
    printedAt_ = QDateTime::currentDateTime();
    takeSnapshot();

    const QRectF printable = printableRect();
    const double headerH = bandHeight(settings_.pageHeader);
    const double footerH = bandHeight(settings_.pageFooter);
    const double bodyH = printable.height() - headerH - footerH;
    const double beforeH = textHeight(settings_.textBefore);
    const double afterH = textHeight(settings_.textAfter);
    if (printable.width() < 20 || bodyH < 2 * (lineHeight_ + 2 * kRowPad))
        TDM1::fail(QStringLiteral("页边距太大，纸上没有地方打印表格。"));

    // Column widths: the widest text of each column, or the widths on screen.
    const QFontMetricsF fm(gridFont_);
    auto textWidth = [&](const QString& s) {
        double w = 0;
        for (const QString& line : s.split(u'\n'))
            w = qMax(w, fm.horizontalAdvance(line));
        return w + 2 * kCellPad + 1;
    };
    // A stop keeps the rows read so far: they are laid out into pages below, without the footer
    // row, whose totals are those of the whole result.
    rowCount_ = 0;
    bool stopped = false;
    if (settings_.optimalColumnWidths) {
        for (Column& c : columns_)
            c.width = qMax(textWidth(c.title), hasFooter_ ? textWidth(c.footer) : 0.0);
        RowWalker w(session_.dm().db(), sql_, params_, session_.dm().skipRows());
        Row row;
        while (!stopped && w.next(row)) {
            for (Column& c : columns_)
                c.width = qMax(c.width, textWidth(cellText(row, c)));
            stopped = !goOn(keepGoing, ++rowCount_);
        }
    } else {
        rowCount_ = grid_->query()->count();
        for (Column& c : columns_)
            c.width = qMax(c.width, 2 * kCellPad + 1);
    }

    // Fitting to the page width: scale the drawing down, or narrow the columns; never enlarge.
    scale_ = 1;
    const double natural = gridWidth();
    if (settings_.fitToPageWidth && natural > printable.width()) {
        if (settings_.fitByColumnWidths) {
            for (Column& c : columns_)
                c.width *= printable.width() / natural;
        } else {
            scale_ = printable.width() / natural;
        }
    }

    // Pages: the grid's part of a page is measured in the grid's own units, before scaling.
    const double fixedRowH = lineHeight_ + 2 * kRowPad;
    const double titleH = fixedRowH;
    Page cur;
    cur.textBefore = !settings_.textBefore.isEmpty();
    cur.gridPart = true;
    double avail = (bodyH - beforeH) / scale_;
    double used = titleH;
    auto newPage = [&](qint64 firstRow) {
        pages_.append(cur);
        cur = Page();
        cur.firstRow = firstRow;
        cur.gridPart = true;
        avail = bodyH / scale_;
        used = titleH;
    };
    std::unique_ptr<RowWalker> w;
    if (settings_.stretchRows)
        w = walker();
    Row row;
    for (qint64 r = 0; r < rowCount_; ++r) {
        double h = fixedRowH;
        if (w) {
            if (!w->next(row))
                break;
            QStringList cells;
            for (const Column& c : columns_)
                cells << cellText(row, c);
            h = rowHeight(cells);
        }
        if (used + h > avail && cur.rows > 0)
            newPage(r);
        used += h;
        ++cur.rows;
        if (w && !stopped && !goOn(keepGoing, r + 1)) {
            stopped = true;
            break;
        }
    }
    if (stopped) {
        pages_.append(cur);
        return false;
    }
    if (hasFooter_) {
        if (used + fixedRowH > avail && cur.rows > 0)
            newPage(rowCount_);
        cur.footerRow = true;
        used += fixedRowH;
    }
    if (afterH > 0) {
        if (used * scale_ + afterH > avail * scale_) {
            newPage(rowCount_);
            cur.gridPart = false;
        }
        cur.textAfter = true;
    }
    pages_.append(cur);
    laidOut_ = true;
    return true;
}

void TPrintDBGrid::paintBand(QPainter& p, const PrintBand& band, const QRectF& r, int page, bool top) const {
    if (band.isEmpty())
        return;
    const QStringList texts = top ? headerTexts(page) : footerTexts(page);
    p.setFont(pixelFont(band.font));
    p.setPen(Qt::black);
    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, texts[0]);
    p.drawText(r, Qt::AlignHCenter | Qt::AlignVCenter, texts[1]);
    p.drawText(r, Qt::AlignRight | Qt::AlignVCenter, texts[2]);
    if (band.line) {
        const double y = top ? r.bottom() : r.top();
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
    }
}

void TPrintDBGrid::paintRow(QPainter& p, double y, double h, const QStringList& cells, int kind) const {
    const QFontMetricsF fm(gridFont_);
    double x = 0;
    for (int i = 0; i < columns_.size(); ++i) {
        const QRectF cell(x, y, columns_[i].width, h);
        if (settings_.coloured && kind == TitleRow)
            p.fillRect(cell, QColor(0xF0, 0xF0, 0xF0));
        else if (settings_.coloured && kind == FooterRow)
            p.fillRect(cell, QColor(Qt::yellow));
        p.setPen(QPen(Qt::black, 0.75));
        p.drawRect(cell);
        const QRectF inner = cell.adjusted(kCellPad, 0, -kCellPad, 0);
        QString text = i < cells.size() ? cells[i] : QString();
        if (settings_.stretchRows && kind == DataRow) {
            p.drawText(inner, Qt::AlignCenter | Qt::TextWordWrap, text);
        } else {
            if (fm.horizontalAdvance(text) > inner.width() + 1)
                text = fm.elidedText(text, Qt::ElideRight, inner.width() + 1);
            p.drawText(inner, Qt::AlignCenter, text);
        }
        x += columns_[i].width;
    }
}

void TPrintDBGrid::paintPage(QPainter& p, int index) {
    if (index < 0 || index >= pages_.size())
        return;
    const Page& pg = pages_[index];
    const QRectF printable = printableRect();
    const double headerH = bandHeight(settings_.pageHeader);
    const double footerH = bandHeight(settings_.pageFooter);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    paintBand(p, settings_.pageHeader, QRectF(printable.left(), printable.top(), printable.width(), headerH),
              index, true);
    paintBand(p, settings_.pageFooter,
              QRectF(printable.left(), printable.bottom() - footerH, printable.width(), footerH), index,
              false);

    double y = printable.top() + headerH;
    auto paintText = [&](const PrintText& t) {
        const double h = textHeight(t);
        p.setFont(pixelFont(t.font));
        p.setPen(Qt::black);
        p.drawText(QRectF(printable.left(), y, printable.width(), h - kGap),
                   int(t.alignment) | Qt::TextWordWrap, t.text);
        y += h;
    };
    if (pg.textBefore)
        paintText(settings_.textBefore);
    if (pg.gridPart) {
        p.save();
        p.translate(printable.left(), y);
        p.scale(scale_, scale_);
        p.setFont(gridFont_);
        const double fixedRowH = lineHeight_ + 2 * kRowPad;
        QStringList titles;
        for (const Column& c : columns_)
            titles << c.title;
        paintRow(p, 0, fixedRowH, titles, TitleRow);
        double gy = fixedRowH;
        if (pg.rows > 0) {
            if (!paintWalker_)
                paintWalker_ = walker();
            paintWalker_->seek(pg.firstRow);
            Row row;
            for (int r = 0; r < pg.rows && paintWalker_->next(row); ++r) {
                QStringList cells;
                for (const Column& c : columns_)
                    cells << cellText(row, c);
                const double h = rowHeight(cells);
                paintRow(p, gy, h, cells, DataRow);
                gy += h;
            }
        }
        if (pg.footerRow) {
            QStringList footers;
            for (const Column& c : columns_)
                footers << c.footer;
            paintRow(p, gy, fixedRowH, footers, FooterRow);
            gy += fixedRowH;
        }
        p.restore();
        y += gy * scale_ + kGap;
    }
    if (pg.textAfter)
        paintText(settings_.textAfter);
    p.restore();
}

bool TPrintDBGrid::print(QPrinter& printer, const std::function<bool()>& keepGoing) {
    printer.setDocName(QStringLiteral("表格信息"));
    printer.setFullPage(true);
    QPageLayout layout = settings_.page;
    layout.setMinimumMargins(QMarginsF());
    layout.setMargins(QMarginsF());
    printer.setPageLayout(layout);
    QPainter p;
    if (!p.begin(&printer)) {
        if (printer.outputFormat() == QPrinter::PdfFormat)
            TDM1::fail(QStringLiteral("无法创建文件“%1”。").arg(printer.outputFileName()));
        TDM1::fail(QStringLiteral("打印机“%1”无法开始打印。").arg(printer.printerName()));
    }
    const double k = printer.resolution() / 96.0;
    bool complete = true;
    try {
        for (int i = 0; i < pageCount(); ++i) {
            if (i > 0 && !printer.newPage())
                TDM1::fail(QStringLiteral("打印机无法开始新的一页。"));
            p.save();
            p.scale(k, k);
            paintPage(p, i);
            p.restore();
            QCoreApplication::processEvents();
            if (keepGoing && !keepGoing()) {
                complete = false;
                break;
            }
        }
    } catch (...) {
        p.end();
        throw;
    }
    if (!p.end())
        TDM1::fail(QStringLiteral("打印没有完成。"));
    return complete;
}

bool TPrintDBGrid::printAll(QWidget* parent, const std::function<bool()>& keepGoing) {
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    if (!printers.isEmpty()) {
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            info = printers.first();
        QPrinter printer(info, QPrinter::HighResolution);
        return print(printer, keepGoing);
    }
    // No printer here: the pages go into a PDF file the shop can keep or send.
    FileDialogSpec request{QStringLiteral("打印到PDF文件"), QStringLiteral("表格信息.pdf"),
                        QStringLiteral("PDF文件 (*.pdf);;所有文件 (*)"), QString(), QStringLiteral("pdf")};
    QString file = session_.files().save(parent, request);
    if (file.isEmpty())
        return false;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    return print(printer, keepGoing);
}
