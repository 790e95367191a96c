#pragma once
#include <QDateTime>
#include <QFont>
#include <QPageLayout>
#include <QString>

// A text printed once before or after the grid: one block in one font, aligned.
struct PrintText {
    QString text;
    QFont font;
    Qt::Alignment alignment = Qt::AlignHCenter;
    bool isEmpty() const { return text.isEmpty(); }
};

// The left, centre and right texts of a page header or footer; they may hold the page macros.
struct PrintBand {
    QString left;
    QString centre;
    QString right;
    QFont font;
    bool line = false; // a rule under the header, over the footer
    bool isEmpty() const { return left.isEmpty() && centre.isEmpty() && right.isEmpty(); }
};

enum class MarginUnits { Centimetres, Inches };

struct PrintMargins {
    double top = 2, bottom = 2, left = 2, right = 2;
};

// Everything a grid printer keeps between two printings.
struct PrintSettings {
    PrintText textBefore;
    PrintText textAfter;
    PrintBand pageHeader;
    PrintBand pageFooter;
    PrintMargins margins;
    MarginUnits units = MarginUnits::Centimetres;

    bool fitToPageWidth = true;
    bool coloured = false;
    bool stretchRows = false;       // long texts wrap and make their row taller
    bool fitByColumnWidths = false; // fit by narrowing the columns instead of scaling
    bool optimalColumnWidths = true;
    QString printFontName; // replaces the grid's font family when set

    // Paper size and orientation, chosen in the printer setup.
    QPageLayout page{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()};

    // Switches the units, converting the four margins.
    void setUnits(MarginUnits u);
    // A margin in logical pixels (96 per inch).
    double marginPixels(double value) const;

    // The settings of the report screens: the title centred above the grid in 华文新魏 14 points,
    // the printing date and time on the left of the header, page of pages on the right, 2 cm
    // margins, fitted to the page width by scaling, optimal column widths.
    static PrintSettings reportDefaults(const QString& title);
};

// Replaces &[Page], &[Pages], &[Date], &[ShortDate], &[LongDate] and &[Time] in any letter case.
QString expandPageMacros(const QString& text, int page, int pages, const QDateTime& printedAt);
bool hasPageCountMacro(const QString& text);

// A font with its size in logical pixels (96 per inch), whatever it was given in.
QFont pixelFont(const QFont& f);
