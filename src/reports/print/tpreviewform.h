#pragma once
#include <QDialog>
#include <QPointer>
#include <functional>

class QActionGroup;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;
class Session;
class TPrintDBGrid;
class PageView;

// The print preview: one window for every grid printer, opened maximised over the program.
// It shows the pages of the grid printer laid out last, zooms, pages, prints them and opens
// the print settings.
class TPreviewForm : public QDialog {
    Q_OBJECT
  public:
    TPreviewForm(Session& session, QWidget* parent);
    ~TPreviewForm() override;

    // The one preview window, made on first use.
    static TPreviewForm& instance(Session& session, QWidget* parent);

    // Shows the window for a grid printer and lays its grid out (the events keep flowing, so
    // "停止" and Esc work while it runs).
    void showFor(TPrintDBGrid& printer);
    TPrintDBGrid* printer() const { return printer_; }
    bool isBusy() const { return busy_; }

    int currentPage() const { return page_; } // 1-based, 0 without pages
    void setCurrentPage(int page);
    double zoom() const { return zoom_; }

    QToolButton* tbtPrint;
    QToolButton* tbtPrinterSetupDialog;
    QToolButton* tbtScale;
    QToolButton* tbtPrevPage;
    QToolButton* tbtNextPage;
    QToolButton* tbStop;
    QToolButton* tbClose;
    QMenu* ScaleMenu;
    QScrollArea* ScrollBox1;
    QLabel* StatusBar1;

    void tbtPrintClick();
    void tbtPrinterSetupDialogClick();
    void tbtPrevPageClick();
    void tbtNextPageClick();
    void tbStopClick();
    void tbCloseClick();

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void reject() override;

  private:
    void layOut();
    void runBusy(const std::function<void()>& work);
    void updateState();
    void applyZoom();

    Session& session_;
    QPointer<TPrintDBGrid> printer_;
    PageView* view_;
    QActionGroup* zoomGroup_;
    int page_ = 0;
    double zoom_ = 1;
    int zoomPercent_ = 0; // 0 whole page, -1 page width
    bool busy_ = false;
    bool stop_ = false;
    bool closeAfterStop_ = false;

    friend class PageView;
};
