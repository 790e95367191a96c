#pragma once
#include <QList>
#include <QString>
#include <QVariant>

class DataGrid;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;
class Session;
class SharedQuery;
struct FooterCell;
struct GridColumn;

// Pieces shared by the customer history and payment history forms.
namespace QueryForm {

// A search box with its label and hint, and its "确定" button, on one line of a grid layout.
struct SearchLine {
    QLineEdit* box;
    QPushButton* ok;
};
SearchLine addSearchLine(QGridLayout* grid, int row, int column, const QString& label, const QString& boxName,
                         const QString& buttonName, const QString& hint = {});

// The group "模糊查找": column selector ComboBox1, "包含", text box Edit5 and "查找" BitBtn1.
struct FuzzyGroup {
    QGroupBox* group;
    QComboBox* column;
    QLineEdit* text;
    QPushButton* find;
};
FuzzyGroup fuzzyGroup(QWidget* parent);

// A read-only result grid in its captioned group, bound to a shared query, with its footer row.
DataGrid* gridGroup(Session& session, QWidget* parent, const QString& caption, const QString& groupName,
                    const QString& gridName, SharedQuery& query, const QList<GridColumn>& columns,
                    const QList<FooterCell>& footer, QGroupBox** group = nullptr);

// The condition that finds the records carrying value in one of their copied customer columns.
// The number must be a whole number; an empty text also finds the records where the column is absent.
QString condition(const QString& column, const QString& value, QVariantList& params);

// Footer cells and columns of the history grids, written with the table's own column names.
FooterCell text(const char* field, const char* t);
FooterCell filled(const char* field);
FooterCell sum(const char* field);
QList<GridColumn> columns(std::initializer_list<std::pair<const char*, int>> list);

} // namespace QueryForm
