#pragma once
#include "reports/print/printsettings.h"
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Session;

// The print settings of a grid printer: margins in centimetres or inches, the print font and the
// fitting options. edit() shows the dialog modally; on OK every value goes back into the settings.
class TfPrnDBGridSetupDialog : public QDialog {
    Q_OBJECT
  public:
    TfPrnDBGridSetupDialog(Session& session, QWidget* parent);

    // Shows the settings, runs the dialog and on OK stores them; true on OK.
    bool edit(PrintSettings& settings);
    // Puts the settings into the controls, and reads them back (false, with a message, on a bad margin).
    void load(const PrintSettings& settings);
    bool store(PrintSettings& settings);

    // The system dialogs behind "打印机设置(&P)" and "...": replaceable, so that no test waits on them.
    using PageSetup = std::function<bool(QWidget* parent, QPageLayout& page)>;
    using FontChooser = std::function<bool(QWidget* parent, QFont& font)>;
    static PageSetup& pageSetup();
    static FontChooser& fontChooser();

    QGroupBox* GroupBox1;
    QLineEdit* edtTop;
    QLineEdit* edtBottom;
    QLineEdit* edtLeft;
    QLineEdit* edtRight;
    QComboBox* cbUnits;
    QLineEdit* edtFont;
    QPushButton* btnFont;
    QCheckBox* cbFitWidth;
    QCheckBox* cbStretch;
    QCheckBox* cbColoured;
    QCheckBox* cbOptimal;
    QGroupBox* rgFitMode;
    QRadioButton* rbScale;
    QRadioButton* rbColumnWidths;
    QPushButton* btnPrinterSetup;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    void btnOKClick();
    void btnFontClick();
    void btnPrinterSetupClick();
    void cbUnitsChange();

  private:
    Session& session_;
    PrintSettings* target_ = nullptr;
    MarginUnits units_ = MarginUnits::Centimetres;
    QPageLayout page_;
};
