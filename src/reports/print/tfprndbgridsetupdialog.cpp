#include "reports/print/tfprndbgridsetupdialog.h"
#include "ui/session.h"
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace {
QString marginText(double v) {
    QString s = QString::number(v, 'f', 4);
    while (s.contains(u'.') && (s.endsWith(u'0') || s.endsWith(u'.')))
        s.chop(1);
    return s;
}

bool parseMargin(const QString& text, double& out) {
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v) || v < 0)
        return false;
    out = std::round(v * 10000.0) / 10000.0;
    return true;
}
} // namespace

TfPrnDBGridSetupDialog::PageSetup& TfPrnDBGridSetupDialog::pageSetup() {
    static PageSetup setup = [](QWidget* parent, QPageLayout& page) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(page);
        QPageSetupDialog dlg(&printer, parent);
        if (dlg.exec() != QDialog::Accepted)
            return false;
        page.setPageSize(printer.pageLayout().pageSize());
        page.setOrientation(printer.pageLayout().orientation());
        return true;
    };
    return setup;
}

TfPrnDBGridSetupDialog::FontChooser& TfPrnDBGridSetupDialog::fontChooser() {
    static FontChooser chooser = [](QWidget* parent, QFont& font) {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, font, parent, QStringLiteral("字体"));
        if (ok)
            font = chosen;
        return ok;
    };
    return chooser;
}

TfPrnDBGridSetupDialog::TfPrnDBGridSetupDialog(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("fPrnDBGridSetupDialog"));
    setWindowTitle(QStringLiteral("打印设置"));
    setModal(true);
    auto* lay = new QVBoxLayout(this);

    GroupBox1 = new QGroupBox(QStringLiteral("页边距(&M)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* grid = new QGridLayout(GroupBox1);
    auto margin = [&](QLineEdit*& edit, const char* name, const QString& caption, int row, int col) {
        edit = new QLineEdit(GroupBox1);
        edit->setObjectName(QString::fromLatin1(name));
        auto* label = new QLabel(caption, GroupBox1);
        label->setBuddy(edit);
        grid->addWidget(label, row, col);
        grid->addWidget(edit, row, col + 1);
    };
    margin(edtTop, "edtTop", QStringLiteral("上(&T)"), 0, 0);
    margin(edtBottom, "edtBottom", QStringLiteral("下(&B)"), 0, 2);
    margin(edtLeft, "edtLeft", QStringLiteral("左(&L)"), 1, 0);
    margin(edtRight, "edtRight", QStringLiteral("右(&R)"), 1, 2);
    cbUnits = new QComboBox(GroupBox1);
    cbUnits->setObjectName(QStringLiteral("cbUnits"));
    cbUnits->addItems({QStringLiteral("厘米"), QStringLiteral("英寸")});
    grid->addWidget(new QLabel(QStringLiteral("单位"), GroupBox1), 2, 0);
    grid->addWidget(cbUnits, 2, 1);
    lay->addWidget(GroupBox1);

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(new QLabel(QStringLiteral("打印字体"), this));
    edtFont = new QLineEdit(this);
    edtFont->setObjectName(QStringLiteral("edtFont"));
    fontRow->addWidget(edtFont, 1);
    btnFont = new QPushButton(QStringLiteral("..."), this);
    btnFont->setObjectName(QStringLiteral("btnFont"));
    btnFont->setAutoDefault(false);
    fontRow->addWidget(btnFont);
    lay->addLayout(fontRow);

    auto check = [&](QCheckBox*& box, const char* name, const QString& caption) {
        box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        lay->addWidget(box);
    };
    check(cbFitWidth, "cbFitWidth", QStringLiteral("调整宽度以适合页宽"));
    check(cbStretch, "cbStretch", QStringLiteral("拉伸长线"));
    check(cbColoured, "cbColoured", QStringLiteral("彩色的"));
    check(cbOptimal, "cbOptimal", QStringLiteral("最佳列宽"));

    rgFitMode = new QGroupBox(this);
    rgFitMode->setObjectName(QStringLiteral("rgFitMode"));
    auto* fitLay = new QVBoxLayout(rgFitMode);
    rbScale = new QRadioButton(QStringLiteral("缩放整个表格"), rgFitMode);
    rbScale->setObjectName(QStringLiteral("rbScale"));
    rbColumnWidths = new QRadioButton(QStringLiteral("改变列宽度"), rgFitMode);
    rbColumnWidths->setObjectName(QStringLiteral("rbColumnWidths"));
    fitLay->addWidget(rbScale);
    fitLay->addWidget(rbColumnWidths);
    lay->addWidget(rgFitMode);

    auto* buttons = new QHBoxLayout;
    btnPrinterSetup = new QPushButton(QStringLiteral("打印机设置(&P)"), this);
    btnPrinterSetup->setObjectName(QStringLiteral("btnPrinterSetup"));
    btnPrinterSetup->setAutoDefault(false);
    btnOK = new QPushButton(QStringLiteral("确定(&O)"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);
    buttons->addWidget(btnPrinterSetup);
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    lay->addLayout(buttons);

    connect(cbFitWidth, &QCheckBox::toggled, rgFitMode, &QWidget::setEnabled);
    connect(cbUnits, &QComboBox::currentIndexChanged, this, &TfPrnDBGridSetupDialog::cbUnitsChange);
    connect(btnOK, &QPushButton::clicked, this, &TfPrnDBGridSetupDialog::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnFont, &QPushButton::clicked, this, &TfPrnDBGridSetupDialog::btnFontClick);
    connect(btnPrinterSetup, &QPushButton::clicked, this, &TfPrnDBGridSetupDialog::btnPrinterSetupClick);
}

void TfPrnDBGridSetupDialog::load(const PrintSettings& s) {
    units_ = s.units;
    {
        const QSignalBlocker block(cbUnits);
        cbUnits->setCurrentIndex(s.units == MarginUnits::Inches ? 1 : 0);
    }
    edtTop->setText(marginText(s.margins.top));
    edtBottom->setText(marginText(s.margins.bottom));
    edtLeft->setText(marginText(s.margins.left));
    edtRight->setText(marginText(s.margins.right));
    edtFont->setText(s.printFontName);
    cbFitWidth->setChecked(s.fitToPageWidth);
    cbStretch->setChecked(s.stretchRows);
    cbColoured->setChecked(s.coloured);
    cbOptimal->setChecked(s.optimalColumnWidths);
    rbScale->setChecked(!s.fitByColumnWidths);
    rbColumnWidths->setChecked(s.fitByColumnWidths);
    rgFitMode->setEnabled(s.fitToPageWidth);
    page_ = s.page;
}

bool TfPrnDBGridSetupDialog::store(PrintSettings& s) {
    PrintSettings next = s;
    QLineEdit* boxes[] = {edtTop, edtBottom, edtLeft, edtRight};
    double* values[] = {&next.margins.top, &next.margins.bottom, &next.margins.left, &next.margins.right};
    next.units = units_;
    for (int i = 0; i < 4; ++i) {
        if (!parseMargin(boxes[i]->text(), *values[i])) {
            session_.messages().error(this, QStringLiteral("页边距必须是不小于0的数字！"),
                                      QStringLiteral("错误"));
            boxes[i]->setFocus();
            boxes[i]->selectAll();
            return false;
        }
    }
    next.page = page_;
    // The margins must leave room on the paper for a few lines of the grid.
    const QSizeF paper = next.page.fullRect(QPageLayout::Point).size() * (96.0 / 72.0);
    const double w =
        paper.width() - next.marginPixels(next.margins.left) - next.marginPixels(next.margins.right);
    const double h =
        paper.height() - next.marginPixels(next.margins.top) - next.marginPixels(next.margins.bottom);
    if (w < paper.width() / 5 || h < paper.height() / 5) {
        session_.messages().error(this, QStringLiteral("页边距太大！"), QStringLiteral("错误"));
        edtTop->setFocus();
        return false;
    }
    next.printFontName = edtFont->text().trimmed();
    next.fitToPageWidth = cbFitWidth->isChecked();
    next.stretchRows = cbStretch->isChecked();
    next.coloured = cbColoured->isChecked();
    next.optimalColumnWidths = cbOptimal->isChecked();
    next.fitByColumnWidths = rbColumnWidths->isChecked();
    s = next;
    return true;
}

bool TfPrnDBGridSetupDialog::edit(PrintSettings& settings) {
    load(settings);
    target_ = &settings;
    const bool ok = exec() == QDialog::Accepted;
    target_ = nullptr;
    return ok;
}

void TfPrnDBGridSetupDialog::btnOKClick() {
    if (target_) {
        if (!store(*target_))
            return;
    }
    accept();
}

void TfPrnDBGridSetupDialog::cbUnitsChange() {
    const MarginUnits to = cbUnits->currentIndex() == 1 ? MarginUnits::Inches : MarginUnits::Centimetres;
    if (to == units_)
        return;
    const double factor = to == MarginUnits::Inches ? 0.3937 : 2.54;
    for (QLineEdit* box : {edtTop, edtBottom, edtLeft, edtRight}) {
        double v = 0;
        if (parseMargin(box->text(), v))
            box->setText(marginText(std::round(v * factor * 10000.0) / 10000.0));
    }
    units_ = to;
}

void TfPrnDBGridSetupDialog::btnFontClick() {
    QFont font(edtFont->text().isEmpty() ? QStringLiteral("宋体") : edtFont->text());
    if (fontChooser()(this, font))
        edtFont->setText(font.family());
}

void TfPrnDBGridSetupDialog::btnPrinterSetupClick() {
    pageSetup()(this, page_);
}
