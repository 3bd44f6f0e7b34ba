#pragma once

class QAbstractItemView;

namespace albivex {

// The row the user has selected in a single-selection list, or -1 when none is.
int SelectedRow(const QAbstractItemView *view);

} // namespace albivex
