#pragma once
#include "data/tdm1.h"
#include <QList>
#include <QVariantList>
#include <array>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QPushButton;

// The seventeen permission check boxes: CheckBox N always stands for flag column N.
namespace Permissions {
using Boxes = std::array<QCheckBox*, 18>; // index 1 to 17; 0 is unused

QString name(int flag);
// Creates CheckBox1 to CheckBox17 in frame, one list of flags per column, top to bottom.
Boxes build(QGroupBox* frame, QGridLayout* grid, const QList<QList<int>>& columns);
// Ticks box N exactly when column N of the row is true; an empty row unticks every box.
void show(const Boxes& boxes, const Row& row);
void setAll(const Boxes& boxes, bool on);
// The seventeen flags as the values to store, 1 or 0, flag 1 first.
QVariantList values(const Boxes& boxes);
// "全选" ticks all and turns into "全清"; "全清" unticks all and turns back.
void toggleAll(QPushButton* button, const Boxes& boxes);
// Flag column names 1 to 17, quoted, joined by commas.
QString columnList();
} // namespace Permissions
