#include "catalogue/CheckableTableModel.h"

namespace albivex {

namespace {

// A view hands the tick over as Qt::CheckState; code may pass a plain number or bool.
bool isCheckedValue(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<Qt::CheckState>())
        return value.value<Qt::CheckState>() == Qt::Checked;
    if (value.metaType() == QMetaType::fromType<bool>())
        return value.toBool();
    return value.toInt() == Qt::Checked;
}

} // namespace

CheckableTableModel::CheckableTableModel(const ColumnLook *columns, int count, QObject *parent)
    : QAbstractTableModel(parent), m_columns(columns), m_columnCount(count)
{ }

int CheckableTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rowTotal();
}

int CheckableTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columnCount;
}

QVariant CheckableTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !validRow(index.row()) || !validColumn(index.column()))
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[index.column()].alignment);
    case Qt::CheckStateRole:
        if (index.column() == 0)
            return checkedAt(index.row()) ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    default:
        return QVariant();
    }
}

bool CheckableTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || !validRow(index.row()))
        return false;
    setChecked(index.row(), isCheckedValue(value));
    return true;
}

Qt::ItemFlags CheckableTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant CheckableTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !validColumn(section))
        return QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromUtf16(m_columns[section].caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[section].alignment);
    return QVariant();
}

void CheckableTableModel::setChecked(int row, bool checked)
{
    if (!validRow(row) || checkedAt(row) == checked)
        return;
    storeChecked(row, checked);
    const QModelIndex cell = index(row, 0);
    Q_EMIT dataChanged(cell, cell, {Qt::CheckStateRole});
    Q_EMIT checksChanged();
}

void CheckableTableModel::setAllChecked(bool checked)
{
    const int rows = rowTotal();
    if (rows == 0)
        return;
    for (int row = 0; row < rows; ++row)
        storeChecked(row, checked);
    Q_EMIT dataChanged(index(0, 0), index(rows - 1, 0), {Qt::CheckStateRole});
    Q_EMIT checksChanged();
}

int CheckableTableModel::checkedCount() const
{
    int count = 0;
    for (int row = 0, rows = rowTotal(); row < rows; ++row)
        count += checkedAt(row) ? 1 : 0;
    return count;
}

} // namespace albivex
