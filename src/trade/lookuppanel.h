#pragma once
#include <QGroupBox>
#include <QObject>
#include <QPointer>
#include <functional>

class DataGrid;
class QComboBox;
class QLineEdit;
class QPushButton;
class Screen;
class Row;

// The shared customer list: one grid bound to ADOQuery5, so a fuzzy search on any screen shows in all.
class CustomerList : public QGroupBox {
    Q_OBJECT
public:
    // gridName is DBGrid2 or DBGrid4; withNewCustomer adds the "新增客户" button BitBtn5.
    CustomerList(Screen& screen, const QString& gridName, bool withNewCustomer, QWidget* parent);
    DataGrid* grid() const { return grid_; }
    QPushButton* hideButton() const { return hide_; }
    QPushButton* newCustomerButton() const { return newCustomer_; }

private:
    DataGrid* grid_;
    QPushButton* hide_;
    QPushButton* newCustomer_ = nullptr;
};

// The customer boxes of a screen; the identity number and birth year exist only on entry screens.
struct CustomerBoxes {
    QLineEdit* number = nullptr;
    QLineEdit* name = nullptr;
    QLineEdit* telephone = nullptr;
    QLineEdit* mobile = nullptr;
    QLineEdit* address = nullptr;
    QLineEdit* idNumber = nullptr;
    QLineEdit* birthYear = nullptr;
};

enum class LookupField { Number, Name, Telephone, Mobile, Address };

// The column of 客户信息 a box searches.
QString lookupColumn(LookupField f);

// The entry panel of sales and repair entry: the boxes become the customer columns of the record saved.
class EntryPanel : public QObject {
    Q_OBJECT
public:
    struct Config {
        QString notFoundText;
        QString notFoundCaption;
        QList<QWidget*> clearedWhenNotFound; // boxes emptied when a lookup finds nobody
        bool numberAsStored = false;         // the number lookup writes the stored number back
    };
    EntryPanel(Screen& screen, CustomerBoxes boxes, CustomerList* list, QPushButton* save, QWidget* firstRecordBox,
               Config config);

    // The magnifiers of name, telephone and mobile, and the "新增客户" button beside the number box.
    void connectButtons(QPushButton* nameGlass, QPushButton* telephoneGlass, QPushButton* mobileGlass,
                        QPushButton* newCustomerButton);

    void lookup(LookupField field);  // Enter in a box
    void fuzzy(LookupField field);   // a magnifier
    void pick();                     // double-click in the customer list
    void hideList();
    void newCustomer();
    // Shows the new-customer dialog; set by the screen.
    std::function<void()> openNewCustomer;

private:
    void fill(const Row& row, QLineEdit* except);

    Screen& screen_;
    CustomerBoxes boxes_;
    CustomerList* list_;
    QPushButton* save_;
    QWidget* firstRecordBox_;
    Config config_;
};

// The query panel of the collection, maintenance and history screens: the boxes are search
// criteria, and a lookup runs the screen's own listing for the searched value.
class QueryPanel : public QObject {
    Q_OBJECT
public:
    enum class EmptyBox { AskForInput, NumberDoesNothing };
    struct Config {
        EmptyBox emptyBox = EmptyBox::NumberDoesNothing;
        bool clearFuzzyTextWhenNotFound = false;
        LookupField pickListsBy = LookupField::Number;
        bool pickKeepsNumber = false;
        // Enter behaviour: fields whose Enter presses their button, and the number box's rule.
        QList<LookupField> enterPresses = {LookupField::Number, LookupField::Name, LookupField::Telephone,
                                           LookupField::Mobile, LookupField::Address};
        bool numberEnterOnlyWhenFilled = false;
    };
    using Listing = std::function<void(const QString& column, const QString& value)>;

    QueryPanel(Screen& screen, CustomerBoxes boxes, CustomerList* list, Config config, Listing listing);
    // The "确定" button of a box.
    void setButton(LookupField field, QPushButton* button);
    // The group "模糊查找": column selector, text box and "查找".
    void setFuzzyGroup(QComboBox* column, QLineEdit* text, QPushButton* find);

    void lookup(LookupField field); // "确定"
    void fuzzy();                    // "查找"
    void pick();                     // double-click in the customer list
    void hideList();

private:
    QLineEdit* box(LookupField f) const;

    Screen& screen_;
    CustomerBoxes boxes_;
    CustomerList* list_;
    Config config_;
    Listing listing_;
    QComboBox* fuzzyColumn_ = nullptr;
    QLineEdit* fuzzyText_ = nullptr;
};
