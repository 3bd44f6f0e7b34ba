#include "photos/PhotoListModel.h"

#include "photos/ShownText.h"

namespace albivex {

namespace {

const CheckableTableModel::ColumnLook Columns[PhotoListModel::ColumnCount] = {
    {u"ID", 800, Qt::AlignLeft | Qt::AlignVCenter},
    {u"图片名称", 2500, Qt::AlignLeft | Qt::AlignVCenter},
    {u"上传时间", 2000, Qt::AlignLeft | Qt::AlignVCenter},
    {u"描述", 2500, Qt::AlignLeft | Qt::AlignVCenter},
    {u"pic", 0, Qt::AlignLeft | Qt::AlignVCenter},
    {u"", 0, Qt::AlignLeft | Qt::AlignVCenter},
    {u"状态", 700, Qt::AlignCenter},
};

QString fieldText(const PhotoEntry &entry, int column)
{
    switch (column) {
    case PhotoListModel::NumberColumn:
        return QString::number(entry.number);
    case PhotoListModel::NameColumn:
        return entry.name;
    case PhotoListModel::UploadTimeColumn:
        return entry.uploadTime;
    case PhotoListModel::DescriptionColumn:
        return entry.description;
    case PhotoListModel::UrlColumn:
        return entry.url;
    case PhotoListModel::StatusColumn:
        // A video is marked until its download result takes the place.
        return entry.status.isEmpty() && entry.isVideo ? QStringLiteral("视频") : entry.status;
    default:
        return QString();
    }
}

} // namespace

int PhotoListModel::columnWidthTwips(int column)
{
    return column >= 0 && column < ColumnCount ? Columns[column].widthTwips : 0;
}

PhotoListModel::PhotoListModel(QObject *parent) : CheckableTableModel(Columns, ColumnCount, parent) { }

QString PhotoListModel::cellText(int row, int column) const
{
    // A description can be megabytes long; a cell shows its start, the record keeps it all.
    return ShownText(fieldText(m_rows.at(row).entry, column));
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
        m_rows.last().entry.number = size();
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
    if (!validRow(row) || m_rows.at(row).entry.status == status)
        return;
    m_rows[row].entry.status = status;
    const QModelIndex cell = index(row, StatusColumn);
    Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
}

} // namespace albivex
