#include "customers/screenutil.h"
#include "ui/datagrid.h"
#include "ui/screen.h"
#include <QHeaderView>

namespace ScreenUtil {
void closeScreen(QWidget* screen) {
    Screen::closeWindowOf(screen);
}

void selectRow(DataGrid* grid, int row) {
    QAbstractItemModel* m = grid->model();
    if (m->rowCount() == 0)
        return;
    row = qBound(0, row, m->rowCount() - 1);
    int column = grid->currentIndex().isValid() ? grid->currentIndex().column() : -1;
    if (column < 0 || grid->isColumnHidden(column)) {
        QHeaderView* h = grid->horizontalHeader();
        column = 0;
        for (int v = 0; v < h->count(); ++v)
            if (!h->isSectionHidden(h->logicalIndex(v))) {
                column = h->logicalIndex(v);
                break;
            }
    }
    grid->setCurrentIndex(m->index(row, column));
    grid->scrollTo(grid->currentIndex());
}
} // namespace ScreenUtil
