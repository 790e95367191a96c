#pragma once
#include "reports/print/printsettings.h"
#include "ui/datagrid.h"
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QVariantList>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;
class Session;
class RowWalker;

// The grid printer of a report grid: it lays the grid's shown columns, every row of its result
// and its footer row out into pages (title text on the first page, page header and footer on
// every page, the grid's title row at the top of every page's grid), and paints or prints them.
//
// A report screen keeps one per grid, made with the screens' settings, and previews it from its
// print menu:
//
//     PrintDBGrid1 = new TPrintDBGrid(session(), DBGrid1, PrintSettings::reportDefaults(
//                                          QStringLiteral("一日销售情况汇总")), this);
//     ...
//     void Tyiri::N1Click() { guarded([this] { PrintDBGrid1->preview(this); }); }
//
// preview() does nothing while the grid's query is not open (never queried); otherwise it lays the
// grid out into the one preview window (TPreviewForm) and shows it, from where the pages print.
// The rows are read with a cursor of their own, page by page, never all at once, so a large
// result neither fills the memory nor moves the grid's current row.
class TPrintDBGrid : public QObject {
    Q_OBJECT
  public:
    TPrintDBGrid(Session& session, DataGrid* grid, PrintSettings settings, QObject* parent = nullptr);
    ~TPrintDBGrid() override;

    Session& session() { return session_; }
    DataGrid* grid() const { return grid_; }
    PrintSettings& settings() { return settings_; }
    const PrintSettings& settings() const { return settings_; }

    // Lays the grid out and shows the preview window; nothing when the grid has no open result.
    void preview(QWidget* parent);
    bool canPrint() const;

    // Lays the grid's current result out. keepGoing is asked every few hundred rows, after the
    // pending events were processed; when it answers false the laying out stops and the rows read
    // so far remain laid out into pages (without the footer row), to be shown and printed.
    // Returns true when every page was laid out.
    bool layOut(const std::function<bool()>& keepGoing = {});
    bool isLaidOut() const { return laidOut_; }
    int pageCount() const { return int(pages_.size()); }
    QDateTime printedAt() const { return printedAt_; }

    // The paper in logical pixels (96 per inch) and the area inside the margins.
    QSizeF paperSize() const;
    QRectF printableRect() const;
    // The grid as laid out: its width at natural size, the factor it is drawn with, the column widths.
    double gridWidth() const;
    double gridScale() const { return scale_; }
    QList<double> columnWidths() const;
    // Rows of the result on a page (0-based page), and the header texts of a page with the macros replaced.
    int rowsOnPage(int page) const;
    QStringList headerTexts(int page) const;
    QStringList footerTexts(int page) const;

    // Paints one page (0-based) in logical pixels with the paper's top left corner at the origin.
    void paintPage(QPainter& painter, int page);
    // Prints every page laid out. keepGoing as for layOut. Returns false when stopped.
    bool print(QPrinter& printer, const std::function<bool()>& keepGoing = {});
    // Prints on the default printer; where no printer is installed, into a PDF file chosen in the
    // save dialog. Returns false when cancelled or stopped.
    bool printAll(QWidget* parent, const std::function<bool()>& keepGoing = {});

  private:
    struct Column {
        QString field;
        QString title;
        QString footer;
        double width = 0;
    };
    struct Page {
        qint64 firstRow = 0;
        int rows = 0;
        bool textBefore = false;
        bool gridPart = false;
        bool footerRow = false;
        bool textAfter = false;
    };

    void takeSnapshot();
    void measure();
    QString cellText(const class Row& row, const Column& c) const;
    double rowHeight(const QStringList& cells) const;
    double textHeight(const PrintText& t) const;
    double bandHeight(const PrintBand& b) const;
    void paintBand(QPainter& p, const PrintBand& band, const QRectF& r, int page, bool top) const;
    void paintRow(QPainter& p, double y, double h, const QStringList& cells, int kind) const;
    std::unique_ptr<RowWalker> walker() const;

    Session& session_;
    QPointer<DataGrid> grid_;
    PrintSettings settings_;

    // What the last laying out used: the statement, columns, footers and fonts at that moment.
    QString sql_;
    QVariantList params_;
    bool hasFooter_ = false;
    QList<Column> columns_;
    QFont gridFont_;
    qint64 rowCount_ = 0;
    double scale_ = 1;
    double lineHeight_ = 0;
    QList<Page> pages_;
    QDateTime printedAt_;
    bool laidOut_ = false;
    std::unique_ptr<RowWalker> paintWalker_;
};
