#include "catalogue/AlbumListModel.h"

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
    static const ColumnLook looks[AlbumListModel::ColumnCount] = {
        {u"ID", 1411, Qt::AlignLeft | Qt::AlignVCenter},
        {u"相册名称", 4410, Qt::AlignLeft | Qt::AlignVCenter},
        {u"创建时间", 3704, Qt::AlignLeft | Qt::AlignVCenter},
        {u"图片数量", 1764, Qt::AlignLeft | Qt::AlignVCenter},
        {u"id", 0, Qt::AlignLeft | Qt::AlignVCenter},
        {u"pic", 0, Qt::AlignLeft | Qt::AlignVCenter},
        {u"des", 0, Qt::AlignLeft | Qt::AlignVCenter},
        {u"下载状态", 2540, Qt::AlignCenter},
    };
    return looks[column];
}

bool validColumn(int column)
{
    return column >= 0 && column < AlbumListModel::ColumnCount;
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

int AlbumListModel::columnWidthTwips(int column)
{
    return validColumn(column) ? look(column).widthTwips : 0;
}

AlbumListModel::AlbumListModel(QObject *parent) : QAbstractTableModel(parent) { }

int AlbumListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : size();
}

int AlbumListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString AlbumListModel::columnText(const AlbumEntry &entry, int column) const
{
    switch (column) {
    case PositionColumn:
        return QString::number(entry.position);
    case NameColumn:
        return entry.name;
    case CreatedColumn:
        return entry.createdText;
    case PictureCountColumn:
        return entry.pictureCount;
    case AlbumIdColumn:
        return entry.albumId;
    case CoverUrlColumn:
        return entry.coverUrl;
    case DescriptionColumn:
        return entry.description;
    case DownloadStateColumn:
        return entry.downloadState;
    default:
        return QString();
    }
}

QVariant AlbumListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !validRow(index.row()) || !validColumn(index.column()))
        return QVariant();
    const AlbumEntry &album = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return columnText(album, index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(look(index.column()).alignment);
    case Qt::CheckStateRole:
        if (index.column() == PositionColumn)
            return album.isChecked ? Qt::Checked : Qt::Unchecked;
        return QVariant();
    default:
        return QVariant();
    }
}

bool AlbumListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != PositionColumn
        || !validRow(index.row()))
        return false;
    setChecked(index.row(), isCheckedValue(value));
    return true;
}

Qt::ItemFlags AlbumListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == PositionColumn)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant AlbumListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || !validColumn(section))
        return QVariant();
    if (role == Qt::DisplayRole)
        return QString::fromUtf16(look(section).caption);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(look(section).alignment);
    return QVariant();
}

const AlbumEntry &AlbumListModel::entry(int row) const
{
    static const AlbumEntry none;
    return validRow(row) ? m_entries.at(row) : none;
}

void AlbumListModel::append(const AlbumEntry &entry)
{
    const int row = size();
    beginInsertRows(QModelIndex(), row, row);
    m_entries.append(entry);
    m_entries.last().position = row + 1;
    endInsertRows();
}

void AlbumListModel::append(const QList<AlbumEntry> &entries)
{
    if (entries.isEmpty())
        return;
    const int first = size();
    beginInsertRows(QModelIndex(), first, first + static_cast<int>(entries.size()) - 1);
    m_entries.reserve(first + entries.size());
    for (const AlbumEntry &album : entries) {
        m_entries.append(album);
        m_entries.last().position = static_cast<int>(m_entries.size());
    }
    endInsertRows();
}

void AlbumListModel::clear()
{
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

void AlbumListModel::setDownloadState(int row, const QString &text)
{
    if (!validRow(row) || m_entries.at(row).downloadState == text)
        return;
    m_entries[row].downloadState = text;
    const QModelIndex cell = index(row, DownloadStateColumn);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}

void AlbumListModel::setChecked(int row, bool checked)
{
    if (!validRow(row) || m_entries.at(row).isChecked == checked)
        return;
    m_entries[row].isChecked = checked;
    const QModelIndex cell = index(row, PositionColumn);
    Q_EMIT dataChanged(cell, cell, {Qt::CheckStateRole});
    Q_EMIT checksChanged();
}

void AlbumListModel::setAllChecked(bool checked)
{
    bool changed = false;
    for (AlbumEntry &album : m_entries) {
        changed = changed || album.isChecked != checked;
        album.isChecked = checked;
    }
    if (!changed)
        return;
    Q_EMIT dataChanged(index(0, PositionColumn), index(size() - 1, PositionColumn), {Qt::CheckStateRole});
    Q_EMIT checksChanged();
}

int AlbumListModel::checkedCount() const
{
    int count = 0;
    for (const AlbumEntry &album : m_entries)
        count += album.isChecked ? 1 : 0;
    return count;
}

} // namespace albivex
