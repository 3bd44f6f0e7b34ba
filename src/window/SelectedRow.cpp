#include "window/SelectedRow.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

namespace albivex {

int SelectedRow(const QAbstractItemView *view)
{
    const QItemSelectionModel *selection = view ? view->selectionModel() : nullptr;
    if (!selection)
        return -1;
    const QModelIndexList cells = selection->selectedIndexes();
    return cells.isEmpty() ? -1 : cells.first().row();
}

} // namespace albivex
