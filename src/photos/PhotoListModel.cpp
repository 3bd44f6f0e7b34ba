#include "photos/PhotoListModel.h"

#include "photos/ShownText.h"

namespace albivex {

namespace {

struct ColumnLook
{
    const char16_t *caption;
    int widthTwips;
    Qt::Alignment alignment;
};

const ColumnLook &look(int column)
{
    static const ColumnLook looks[PhotoListModel::ColumnCount] = {
        {u"ID", 800, Qt::AlignLeft | Qt::AlignVCenter},
        {u"图片名称", 2500, Qt::AlignLeft | Qt::AlignVCenter},
        {u"上传时间", 2000, Qt::AlignLeft | Qt::AlignVCenter},
        {u"描述", 2500, Qt::AlignLeft | Qt::AlignVCenter},
        {u"pic", 0, Qt::AlignLeft | Qt::AlignVCenter},
        {u"", 0, Qt::AlignLeft | Qt::AlignVCenter},
        {u"状态", 700, Qt::AlignCenter},
    };
    return looks[column];
}

bool validColumn(int column)
{
    return column >= 0 && column < PhotoListModel::ColumnCount;
}

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

int PhotoListModel::columnWidthTwips(int column)
{
    return validColumn(column) ? look(column).widthTwips : 0;
}

PhotoListModel::PhotoListModel(QObject *parent) : QAbstractTableModel(parent) { }

int PhotoListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : size();
}

int PhotoListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString PhotoListModel::columnText(const PhotoEntry &entry, int column)
{
    switch (column) {
    case NumberColumn:
        return QString::number(entry.Number);
    case NameColumn:
        return entry.Name;
    case UploadTimeColumn:
        return entry.UploadTime;
    case DescriptionColumn:
        return entry.Description;
    case UrlColumn:
        return entry.Url;
    case StatusColumn:
        return entry.Status;
    default:
        return QString();
    }
}

QVariant PhotoListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !validRow(index.row()) || !validColumn(index.column()))
        return QVariant();
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return ShownText(columnText(row.entry, index.column()));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(look(index.column()).alignment);
    case Qt::CheckStateRole:
        if (index.column() == NumberColumn)
            return row.checked ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    default:
        return QVariant();
    }
}

bool PhotoListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != NumberColumn
        || !validRow(index.row()))
        return false;
    setChecked(index.row(), isCheckedValue(value));
    return true;
}

Qt::ItemFlags PhotoListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == NumberColumn)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant PhotoListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !validColumn(section))
        return QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromUtf16(look(section).caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(look(section).alignment);
    return QVariant();
}

const PhotoEntry &PhotoListModel::entry(int row) const
{
    static const PhotoEntry none;
    return validRow(row) ? m_rows.at(row).entry : none;
}

void PhotoListModel::append(const QList<PhotoEntry> &entries)
{
    if (entries.isEmpty())
        return;
    const int first = size();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(entries.size()) - 1);
    // No exact reserve: rows come in small batches, and growing to the exact size each
    // time would copy the whole list every batch.
    for (const PhotoEntry &entry : entries) {
        m_rows.append(Row {entry, false});
        m_rows.last().entry.Number = size();
    }
    endInsertRows();
}

void PhotoListModel::clear()
{
    ++m_listing;
    if (m_rows.isEmpty())
        return;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void PhotoListModel::setStatus(int row, const QString &status)
{
    if (!validRow(row) || m_rows.at(row).entry.Status == status)
        return;
    m_rows[row].entry.Status = status;
    const QModelIndex cell = index(row, StatusColumn);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}

void PhotoListModel::setChecked(int row, bool checked)
{
    if (!validRow(row) || m_rows.at(row).checked == checked)
        return;
    m_rows[row].checked = checked;
    const QModelIndex cell = index(row, NumberColumn);
    Q_EMIT dataChanged(cell, cell, {Qt::CheckStateRole});
    Q_EMIT checksChanged();
}

void PhotoListModel::setAllChecked(bool checked)
{
    if (m_rows.isEmpty())
        return;
    for (Row &row : m_rows)
        row.checked = checked;
    Q_EMIT dataChanged(index(0, NumberColumn), index(size() - 1, NumberColumn), {Qt::CheckStateRole});
    Q_EMIT checksChanged();
}

int PhotoListModel::checkedCount() const
{
    int count = 0;
    for (const Row &row : m_rows)
        count += row.checked ? 1 : 0;
    return count;
}

} // namespace albivex
