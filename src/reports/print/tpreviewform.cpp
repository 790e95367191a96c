#include "reports/print/tpreviewform.h"
#include "reports/print/printdbgrid.h"
#include "reports/print/tfprndbgridsetupdialog.h"
#include "ui/session.h"
#include <QActionGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int kPaperBorder = 10; // grey around the paper in the page area

QPointer<TPreviewForm>& theInstance() {
    static QPointer<TPreviewForm> form;
    return form;
}
} // namespace

// The page area: the current page on a sheet of paper, at the chosen zoom.
class PageView : public QWidget {
  public:
    explicit PageView(TPreviewForm* form) : QWidget(form), form_(form) {
        setObjectName(QStringLiteral("PageView"));
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x80, 0x80, 0x80));
        TPrintDBGrid* printer = form_->printer_;
        if (!printer || form_->busy_ || form_->page_ < 1)
            return;
        const QSizeF paper = printer->paperSize() * form_->zoom_;
        const QRectF sheet(kPaperBorder, kPaperBorder, paper.width(), paper.height());
        p.fillRect(sheet, Qt::white);
        p.setPen(Qt::black);
        p.drawRect(sheet);
        p.translate(sheet.topLeft());
        p.scale(form_->zoom_, form_->zoom_);
        p.setRenderHint(QPainter::TextAntialiasing);
        try {
            printer->paintPage(p, form_->page_ - 1);
        } catch (const std::exception&) {
            // A failing read leaves the sheet blank; printing reports the error itself.
        }
    }

  private:
    TPreviewForm* form_;
};

TPreviewForm::TPreviewForm(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("PreviewForm"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    setWindowTitle(QStringLiteral("预览 - 表格信息"));
    setSizeGripEnabled(true);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    lay->addWidget(bar);
    auto button = [&](QToolButton*& b, const char* name, const QString& caption) {
        b = new QToolButton(bar);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(caption);
        b->setToolTip(caption);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setFocusPolicy(Qt::NoFocus);
        bar->addWidget(b);
    };
    button(tbtPrint, "tbtPrint", QStringLiteral("打印"));
    button(tbtPrinterSetupDialog, "tbtPrinterSetupDialog", QStringLiteral("打印设置"));
    bar->addSeparator();
    button(tbtScale, "tbtScale", QStringLiteral("缩放"));
    button(tbtPrevPage, "tbtPrevPage", QStringLiteral("上一页"));
    button(tbtNextPage, "tbtNextPage", QStringLiteral("下一页"));
    bar->addSeparator();
    button(tbStop, "tbStop", QStringLiteral("停止"));
    button(tbClose, "tbClose", QStringLiteral("关闭"));

    for (QToolButton* b : {tbtPrevPage, tbtNextPage}) {
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(400);
        b->setAutoRepeatInterval(100);
    }

    ScaleMenu = new QMenu(tbtScale);
    ScaleMenu->setObjectName(QStringLiteral("ScaleMenu"));
    zoomGroup_ = new QActionGroup(ScaleMenu);
    zoomGroup_->setExclusive(true);
    const QList<QPair<QString, int>> zooms{{"500%", 500},
                                           {"200%", 200},
                                           {"150%", 150},
                                           {"100%", 100},
                                           {"75%", 75},
                                           {"50%", 50},
                                           {"25%", 25},
                                           {"10%", 10},
                                           {QStringLiteral("页宽度"), -1},
                                           {QStringLiteral("整个页面"), 0}};
    for (const auto& [text, percent] : zooms) {
        QAction* a = ScaleMenu->addAction(text);
        a->setCheckable(true);
        a->setData(percent);
        zoomGroup_->addAction(a);
        if (percent == 0)
            a->setChecked(true);
        connect(a, &QAction::triggered, this, [this, percent] {
            zoomPercent_ = percent;
            applyZoom();
        });
    }
    tbtScale->setMenu(ScaleMenu);
    tbtScale->setPopupMode(QToolButton::InstantPopup);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    ScrollBox1->setFocusPolicy(Qt::StrongFocus);
    view_ = new PageView(this);
    ScrollBox1->setWidget(view_);
    lay->addWidget(ScrollBox1, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    StatusBar1 = new QLabel(status);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    status->addWidget(StatusBar1);
    lay->addWidget(status);

    connect(tbtPrint, &QToolButton::clicked, this, &TPreviewForm::tbtPrintClick);
    connect(tbtPrinterSetupDialog, &QToolButton::clicked, this, &TPreviewForm::tbtPrinterSetupDialogClick);
    connect(tbtPrevPage, &QToolButton::clicked, this, &TPreviewForm::tbtPrevPageClick);
    connect(tbtNextPage, &QToolButton::clicked, this, &TPreviewForm::tbtNextPageClick);
    connect(tbStop, &QToolButton::clicked, this, &TPreviewForm::tbStopClick);
    connect(tbClose, &QToolButton::clicked, this, &TPreviewForm::tbCloseClick);
    updateState();
}

TPreviewForm::~TPreviewForm() = default;

TPreviewForm& TPreviewForm::instance(Session& session, QWidget* parent) {
    QPointer<TPreviewForm>& form = theInstance();
    QWidget* owner = session.mainWindow() ? session.mainWindow() : (parent ? parent->window() : nullptr);
    if (form && (&form->session_ != &session || form->parentWidget() != owner)) {
        if (form->busy_)
            form->stop_ = true;
        form->deleteLater();
        form = nullptr;
    }
    if (!form)
        form = new TPreviewForm(session, owner);
    return *form;
}

void TPreviewForm::showFor(TPrintDBGrid& printer) {
    if (busy_)
        return;
    printer_ = &printer;
    page_ = 0;
    setWindowModality(Qt::ApplicationModal);
    showMaximized();
    raise();
    activateWindow();
    ScrollBox1->setFocus();
    layOut();
}

void TPreviewForm::layOut() {
    if (!printer_)
        return;
    page_ = 0;
    runBusy([this] { printer_->layOut([this] { return !stop_; }); });
    page_ = printer_ && printer_->pageCount() > 0 ? 1 : 0;
    applyZoom();
    updateState();
}

void TPreviewForm::runBusy(const std::function<void()>& work) {
    busy_ = true;
    stop_ = false;
    updateState();
    view_->update();
    QPointer<TPreviewForm> self(this);
    session_.guarded(this, work);
    if (!self)
        return;
    busy_ = false;
    updateState();
    view_->update();
    if (closeAfterStop_) {
        closeAfterStop_ = false;
        close();
    }
}

void TPreviewForm::updateState() {
    const int pages = printer_ ? printer_->pageCount() : 0;
    const bool shown = !busy_ && page_ > 0;
    tbtPrint->setEnabled(!busy_ && printer_ && printer_->pageCount() > 0);
    tbtPrinterSetupDialog->setEnabled(!busy_ && printer_);
    tbtScale->setEnabled(true);
    tbtPrevPage->setEnabled(shown && page_ > 1);
    tbtNextPage->setEnabled(shown && page_ < pages);
    tbStop->setEnabled(busy_);
    tbClose->setEnabled(!busy_);
    StatusBar1->setText(QStringLiteral("Page %1 of %2").arg(busy_ ? 0 : page_).arg(busy_ ? 0 : pages));
}

void TPreviewForm::applyZoom() {
    const QSizeF paper = printer_ ? printer_->paperSize() : QSizeF(794, 1123);
    const QSize area = ScrollBox1->viewport()->size() - QSize(2 * kPaperBorder, 2 * kPaperBorder);
    if (zoomPercent_ > 0)
        zoom_ = zoomPercent_ / 100.0;
    else if (zoomPercent_ < 0)
        zoom_ = qMax(0.05, area.width() / paper.width());
    else
        zoom_ = qMax(0.05, qMin(area.width() / paper.width(), area.height() / paper.height()));
    view_->resize((paper * zoom_).toSize() + QSize(2 * kPaperBorder, 2 * kPaperBorder));
    view_->update();
}

void TPreviewForm::setCurrentPage(int page) {
    const int pages = printer_ ? printer_->pageCount() : 0;
    page_ = pages == 0 ? 0 : qBound(1, page, pages);
    updateState();
    view_->update();
}

void TPreviewForm::tbtPrintClick() {
    if (busy_ || !printer_)
        return;
    runBusy([this] { printer_->printAll(this, [this] { return !stop_; }); });
}

void TPreviewForm::tbtPrinterSetupDialogClick() {
    if (busy_ || !printer_)
        return;
    TfPrnDBGridSetupDialog dlg(session_, this);
    if (dlg.edit(printer_->settings()))
        layOut();
}

void TPreviewForm::tbtPrevPageClick() {
    if (!busy_ && page_ > 1)
        setCurrentPage(page_ - 1);
}

void TPreviewForm::tbtNextPageClick() {
    if (!busy_ && printer_ && page_ < printer_->pageCount())
        setCurrentPage(page_ + 1);
}

void TPreviewForm::tbStopClick() {
    stop_ = true;
}

void TPreviewForm::tbCloseClick() {
    if (!busy_)
        close();
}

void TPreviewForm::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void TPreviewForm::reject() {
    if (busy_) {
        stop_ = true;
        return;
    }
    QDialog::reject();
}

void TPreviewForm::closeEvent(QCloseEvent* e) {
    if (busy_) {
        // Stop first; the window closes once the laying out has ended.
        stop_ = true;
        closeAfterStop_ = true;
        e->ignore();
        return;
    }
    QDialog::closeEvent(e);
}

void TPreviewForm::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    if (zoomPercent_ <= 0)
        applyZoom();
}
