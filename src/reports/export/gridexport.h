#pragma once
#include <QByteArray>
#include <QList>
#include <QRgb>
#include <QString>
#include <QVariant>
#include <QTemporaryFile>
#include <cstdint>
#include <memory>

class DataGrid;
class EventTurns;
class QIODevice;

// What the grid uses to draw a cell, as the writers need it.
struct ExportFont {
    QString name;
    int points = 10;
    QRgb color = 0xFF000000;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

enum class ExportAlign { Left, Right, Center };

// The colours the export writes where the platform would give its own.
namespace ExportColors {
constexpr QRgb Window = 0xFFFFFFFF;     // cell background
constexpr QRgb WindowText = 0xFF000000; // font colour
constexpr QRgb ButtonFace = 0xFFF0F0F0; // title background
constexpr QRgb Footer = 0xFFFFFF00;     // the yellow footer row
} // namespace ExportColors

struct ExportColumn {
    QString field;
    QString title;
    int width = 0; // screen pixels
    bool numeric = false;
};

struct ExportCell {
    enum Kind {
        Blank,   // no value (null)
        Integer, // a whole-number field
        Number,  // money and floating fields
        Label,   // text, dates and everything else: the display text
    };
    Kind kind = Label;
    QString text; // what the grid shows
    qint64 integer = 0;
    double number = 0;
    ExportAlign align = ExportAlign::Center;
    QRgb background = ExportColors::Window;
    ExportFont font;
    int width = 0;
};

struct ExportFooterCell {
    enum Kind { None, Text, Count, Sum };
    Kind kind = None;
    QString text;     // the footer text as every text format writes it
    double value = 0; // count or sum, for the spreadsheet
    ExportAlign align = ExportAlign::Center;
    QRgb background = ExportColors::Footer;
    ExportFont font;
    int width = 0;
};

// How the grid looks, for the formats that copy it.
struct ExportLook {
    QString gridName;
    bool linesDrawn = true;
    bool threeD = true;
    QRgb fixedColor = ExportColors::ButtonFace;
    ExportFont titleFont;
    ExportAlign titleAlign = ExportAlign::Center;
};

// Choices a screen makes about its grid's footer.
struct ExportOptions {
    // Footer cells with nothing in them are centred too (otherwise left, or right for numbers).
    bool centreEveryFooter = false;
};

// Base of the five writers, and the engine that walks a grid into one of them. The engine calls,
// in order: writePrefix, writeTitleRow, writeDataRow for every row, writeFooterRow for every
// footer row, writeSuffix. The base writes nothing for any of them.
class TDBGridExport {
  public:
    virtual ~TDBGridExport() = default;

    // Writes the whole grid to the file: every row of its result, the title row and the footer.
    // The file is written under a temporary name and takes its place only when the export
    // finished, so a failure leaves an existing file as it was. Throws DbError.
    void saveToFile(DataGrid& grid, const QString& fileName, const ExportOptions& options = {});
    // The same into an open device (no temporary file).
    void save(DataGrid& grid, QIODevice& out, const ExportOptions& options = {});

    virtual void writePrefix() {}
    virtual void writeTitleRow(const QList<ExportCell>& cells);
    virtual void writeDataRow(const QList<ExportCell>& cells);
    virtual void writeFooterRow(const QList<ExportFooterCell>& cells);
    virtual void writeSuffix() {}

  protected:
    virtual void writeTitleCell(const ExportCell& cell, int column, bool last) {}
    virtual void writeDataCell(const ExportCell& cell, int column, bool last) {}
    virtual void writeFooterCell(const ExportFooterCell& cell, int column, bool last) {}

    // Writes bytes to the file; a failed write is a DbError with the system's text.
    void put(const QByteArray& bytes);
    void put(const char* ascii) { put(QByteArray(ascii)); }
    const ExportLook& look() const { return look_; }
    // Called during long stretches of writing: lets the window process its events now and then,
    // and starts writing what the file holds so far to the disk, so finishing it waits less.
    void keepAlive();
    // Lets the window process its events now, before a stretch of work that cannot turn.
    void turnNow();

  private:
    // Waits until the file written so far is on the disk, the window turning meanwhile, so the
    // file's commit has (almost) nothing left to wait for.
    void settleOnDisk();

    QIODevice* out_ = nullptr;
    EventTurns* turns_ = nullptr;
    ExportLook look_;
};

// The writers. Each lives for one export.
class TDBGridExportAsText : public TDBGridExport {
  public:
    void writePrefix() override;
    void writeTitleRow(const QList<ExportCell>& cells) override;
    void writeDataRow(const QList<ExportCell>& cells) override;
    void writeFooterRow(const QList<ExportFooterCell>& cells) override;

  protected:
    void startRow();
    void writeTitleCell(const ExportCell& cell, int column, bool last) override { writeText(cell.text); }
    void writeDataCell(const ExportCell& cell, int column, bool last) override { writeText(cell.text); }
    void writeFooterCell(const ExportFooterCell& cell, int column, bool last) override {
        writeText(cell.text);
    }
    void writeText(const QString& text);
    virtual QByteArray cellBytes(const QString& text) const;
    virtual char separator() const { return '\t'; }

  private:
    bool firstRow_ = true;
    bool firstCell_ = true;
};

class TDBGridExportAsCSV : public TDBGridExportAsText {
  protected:
    QByteArray cellBytes(const QString& text) const override;
    char separator() const override { return separator_; }

  private:
    char separator_ = ';';
};

class TDBGridExportAsHTML : public TDBGridExport {
  public:
    void writePrefix() override;
    void writeTitleRow(const QList<ExportCell>& cells) override;
    void writeDataRow(const QList<ExportCell>& cells) override;
    void writeFooterRow(const QList<ExportFooterCell>& cells) override;
    void writeSuffix() override;

    // The markup of a text in a font, as every HTML cell holds it.
    static QByteArray fontMarkup(const QString& text, const ExportFont& font);
    static QByteArray color(QRgb rgb);

  protected:
    void writeTitleCell(const ExportCell& cell, int column, bool last) override;
    void writeDataCell(const ExportCell& cell, int column, bool last) override;
    void writeFooterCell(const ExportFooterCell& cell, int column, bool last) override;

  private:
    QByteArray row_; // the markup of the row being written
};

class TDBGridExportAsRTF : public TDBGridExport {
  public:
    void writePrefix() override;
    void writeTitleRow(const QList<ExportCell>& cells) override;
    void writeDataRow(const QList<ExportCell>& cells) override;
    void writeFooterRow(const QList<ExportFooterCell>& cells) override;
    void writeSuffix() override;

    // A text as the body holds it: control characters escaped, Chinese in the document's code page.
    static QByteArray escape(const QString& text);

  private:
    struct Cell {
        QString text;
        ExportAlign align;
        QRgb background;
        ExportFont font;
        int width;
    };
    void writeRow(const QList<Cell>& cells);
    QByteArray cellFormat(const Cell& c);
    int colorIndex(QRgb rgb);
    int fontIndex(const QString& name);
    void flushBody();

    QList<QRgb> colors_;
    QStringList fonts_;
    // The body goes to a temporary file as it is written: the tables of fonts and colours that
    // come before it are known only at the end, and a large grid must not be held in memory.
    std::unique_ptr<QTemporaryFile> bodyFile_;
    QByteArray body_; // written to bodyFile_ every few rows
    // The formatting of the last row, reused while the next row looks the same.
    QByteArray rowHead_;
    QList<QPair<QByteArray, QByteArray>> cellFormats_; // key of the look, its control words
};

class TDBGridExportAsXLS : public TDBGridExport {
  public:
    void writePrefix() override;
    void writeSuffix() override;

  protected:
    void writeTitleCell(const ExportCell& cell, int column, bool last) override;
    void writeDataCell(const ExportCell& cell, int column, bool last) override;
    void writeFooterCell(const ExportFooterCell& cell, int column, bool last) override;

  private:
    void record(quint16 code, const QByteArray& data);
    void label(const QString& text);
    void number(double value);
    void rk(qint32 value);
    void blank();
    void nextCell(bool last);
    QByteArray cellHeader(quint16 format) const;

    quint16 row_ = 0;
    quint16 col_ = 0;
    bool full_ = false;
};
