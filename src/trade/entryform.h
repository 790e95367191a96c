#pragma once
#include <QList>
#include <QString>

class QDateEdit;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

// Small builders shared by the entry screens' forms.
namespace EntryForm {
QLineEdit* addEdit(QGridLayout* grid, int row, const QString& label, const QString& name, const QString& hint = {});
QPushButton* button(QWidget* parent, const QString& text, const QString& name);
// The small magnifier button of a fuzzy search.
QPushButton* magnifier(QWidget* parent, const QString& name);
// The first four rows of an entry form: number with "新增客户", then name, telephone and mobile,
// each with its magnifier (BitBtn6, BitBtn1, BitBtn7, BitBtn8).
struct CustomerRows {
    QLineEdit *number, *name, *telephone, *mobile;
    QPushButton *newCustomer, *nameGlass, *telephoneGlass, *mobileGlass;
};
CustomerRows addCustomerRows(QGridLayout* grid, const QString& numberName, const QString& mobileName,
                             const QString& telephoneHint);
// A date-only picker in the program's short date form.
QDateEdit* datePicker(QWidget* parent);
// Tab visits the widgets in this order.
void tabOrder(const QList<QWidget*>& widgets);
} // namespace EntryForm
