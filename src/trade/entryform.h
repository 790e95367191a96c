#pragma once
#include <QList>
#include <QString>

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
// Tab visits the widgets in this order.
void tabOrder(const QList<QWidget*>& widgets);
} // namespace EntryForm
