#pragma once
class QWidget;
class DataGrid;

namespace ScreenUtil {
// Closes the child window that holds the screen (or the screen itself when it stands alone).
void closeScreen(QWidget* screen);
// Makes a row of the grid current, keeping the current column; clamps to the rows there are.
void selectRow(DataGrid* grid, int row);
} // namespace ScreenUtil
