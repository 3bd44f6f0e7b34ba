#include "catalogue/AlbumListModel.h"

namespace albivex {

namespace {

const CheckableTableModel::ColumnLook Columns[AlbumListModel::ColumnCount] = {
    {u"ID", 1411, Qt::AlignLeft | Qt::AlignVCenter},
    {u"相册名称", 4410, Qt::AlignLeft | Qt::AlignVCenter},
    {u"创建时间", 3704, Qt::AlignLeft | Qt::AlignVCenter},
    {u"图片数量", 1764, Qt::AlignLeft | Qt::AlignVCenter},
    {u"id", 0, Qt::AlignLeft | Qt::AlignVCenter},
    {u"pic", 0, Qt::AlignLeft | Qt::AlignVCenter},
    {u"des", 0, Qt::AlignLeft | Qt::AlignVCenter},
    {u"下载状态", 2540, Qt::AlignCenter},
};

} // namespace

int AlbumListModel::columnWidthTwips(int column)
{
    return column >= 0 && column < ColumnCount ? Columns[column].widthTwips : 0;
}

AlbumListModel::AlbumListModel(QObject *parent) : CheckableTableModel(Columns, ColumnCount, parent) { }

QString AlbumListModel::cellText(int row, int column) const
{
    const AlbumEntry &entry = m_entries.at(row);
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
    m_answers.clear();
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

} // namespace albivex
