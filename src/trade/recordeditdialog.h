#pragma once
#include <QDialog>
#include <QHash>

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Row;
class Session;

// One box of the edit dialog and the column it shows and stores.
struct EditField {
    enum Kind { Text, ReadOnly, Number, Amount, Date, Memo };
    QString column;
    QString name; // objectName
    QString label;
    Kind kind = Text;
    QString hint = {};
};

struct EditDialogConfig {
    QString objectName;
    QString caption;
    QString table;
    QList<EditField> fields; // top to bottom: also the tab order and the Enter order
    QString requiredColumn;  // must not be empty, besides the name
    bool emptyAmountIsZero;  // an empty amount box is saved as 0
    QString successText;
};

// The modal dialog that corrects one sale or repair row, found by its record key.
class RecordEditDialog : public QDialog {
    Q_OBJECT
  public:
    RecordEditDialog(Session& session, QWidget* parent, EditDialogConfig config);

    // Fills every box from the row and keeps its key; a date that cannot be read is an error
    // and the dialog is not shown.
    void load(const Row& row);
    // Shows the dialog modally; the caller goes on at once and re-reads nothing afterwards.
    void showModal();
    void BitBtn1Click(); // save

    qlonglong recordKey() const { return key_; }
    QLineEdit* edit(const QString& column) const;

    QDateEdit* DateTimePicker1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton *BitBtn1, *BitBtn2;

  private:
    Session& session_;
    EditDialogConfig config_;
    QHash<QString, QLineEdit*> edits_;
    QString amountColumn_;
    qlonglong key_ = 0;
};

// Corrects one sale.
class Txiugaidinggoujilu : public RecordEditDialog {
    Q_OBJECT
  public:
    Txiugaidinggoujilu(Session& session, QWidget* parent);
};

// Corrects one repair.
class Txiugaiweixiujilu : public RecordEditDialog {
    Q_OBJECT
  public:
    Txiugaiweixiujilu(Session& session, QWidget* parent);
};
