#include "reports/queryform.h"
#include "data/tdm1.h"
#include "ui/datagrid.h"
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace QueryForm {

SearchLine addSearchLine(QGridLayout* grid, int row, int column, const QString& label, const QString& boxName,
                         const QString& buttonName, const QString& hint) {
    QWidget* parent = grid->parentWidget();
    auto* l = new QLabel(label, parent);
    auto* box = new QLineEdit(parent);
    box->setObjectName(boxName);
    if (!hint.isEmpty())
        box->setToolTip(hint);
    l->setBuddy(box);
    auto* ok = new QPushButton(QStringLiteral("确定"), parent);
    ok->setObjectName(buttonName);
    ok->setAutoDefault(false);
    grid->addWidget(l, row, column, Qt::AlignRight);
    grid->addWidget(box, row, column + 1);
    grid->addWidget(ok, row, column + 2);
    return {box, ok};
}

FuzzyGroup fuzzyGroup(QWidget* parent) {
    FuzzyGroup f;
    f.group = new QGroupBox(QStringLiteral("模糊查找"), parent);
    f.group->setObjectName(QStringLiteral("GroupBox3"));
    auto* lay = new QHBoxLayout(f.group);
    f.column = new QComboBox(f.group);
    f.column->setObjectName(QStringLiteral("ComboBox1"));
    f.column->setEditable(true);
    f.column->setMinimumWidth(90);
    f.text = new QLineEdit(f.group);
    f.text->setObjectName(QStringLiteral("Edit5"));
    f.find = new QPushButton(QStringLiteral("查找"), f.group);
    f.find->setObjectName(QStringLiteral("BitBtn1"));
    lay->addWidget(f.column);
    lay->addWidget(new QLabel(QStringLiteral("包含"), f.group));
    lay->addWidget(f.text, 1);
    lay->addWidget(f.find);
    return f;
}

DataGrid* gridGroup(Session& session, QWidget* parent, const QString& caption, const QString& groupName,
                    const QString& gridName, SharedQuery& query, const QList<GridColumn>& columns,
                    const QList<FooterCell>& footer, QGroupBox** group) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(groupName);
    auto* lay = new QVBoxLayout(box);
    lay->setContentsMargins(4, 4, 4, 4);
    auto* grid = new DataGrid(box);
    grid->setObjectName(gridName);
    grid->setSortable(false);
    grid->bind(session, query);
    grid->setColumns(columns);
    grid->setFooter(footer);
    lay->addWidget(grid);
    if (group)
        *group = box;
    return grid;
}

QString condition(const QString& column, const QString& value, QVariantList& params) {
    const QString id = TDM1::quoteId(column);
    if (column == QStringLiteral("客户编号")) {
        params << Values::wholeNumber(value);
        return QStringLiteral(" where %1=?").arg(id);
    }
    params << value;
    // Records written from an empty box hold no value at all; both read as empty.
    if (value.isEmpty())
        return QStringLiteral(" where (%1=? or %1 is null)").arg(id);
    return QStringLiteral(" where %1=?").arg(id);
}

FooterCell text(const char* field, const char* t) {
    return {QString::fromUtf8(field), FooterCell::Text, QString::fromUtf8(t)};
}
FooterCell filled(const char* field) {
    return {QString::fromUtf8(field), FooterCell::CountFilled, {}};
}
FooterCell sum(const char* field) {
    return {QString::fromUtf8(field), FooterCell::Sum, {}};
}

QList<GridColumn> columns(std::initializer_list<std::pair<const char*, int>> list) {
    QList<GridColumn> out;
    for (const auto& [field, width] : list)
        out.append({QString::fromUtf8(field), width, {}});
    return out;
}

} // namespace QueryForm
