#pragma once
#include <QString>

class QWidget;

// Names for assistive technology and for driving the program from outside.
namespace Accessibility {
// Whether a control holds a value the user reads or types (boxes, lists, grids, pickers, remarks)
// and is not the inner part of another such control (the text of a combo box, its drop-down list).
bool isBox(const QWidget* w);
// The name a box is known by: its accessible name, else the caption of the label standing before it
// (its buddy, the label to its left in a grid or form row, the label before it in a row), else the
// title of the group around it, else its hint.
QString labelFor(const QWidget* box);
// Gives every box under root that has no accessible name the name labelFor finds; a label that stands
// before a box and has no buddy becomes its buddy, so its shortcut and "click the label" reach the box.
void nameControls(QWidget* root);
} // namespace Accessibility
