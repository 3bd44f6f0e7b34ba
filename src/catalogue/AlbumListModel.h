#pragma once

#include "catalogue/AlbumEntry.h"

#include <QAbstractTableModel>
#include <QList>

namespace albivex {

// The albums of the current listing, one AlbumEntry per row, behind the album list
// view. It is the only store of the listed albums: the cover preview, the photo
// listing, the information copy and the album download job read the records from
// here, never the column texts. Each row has a user-checkable box in its first column.
class AlbumListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        PositionColumn, // "ID"
        NameColumn, // "相册名称"
        CreatedColumn, // "创建时间"
        PictureCountColumn, // "图片数量"
        AlbumIdColumn, // "id", hidden
        CoverUrlColumn, // "pic", hidden
        DescriptionColumn, // "des", hidden
        DownloadStateColumn, // "下载状态", centred
        ColumnCount
    };

    // Width of a column in twips as the list is laid out; 0 for the hidden columns,
    // which still hold their fields.
    static int columnWidthTwips(int column);
    static bool isHiddenColumn(int column) { return columnWidthTwips(column) == 0; }

    explicit AlbumListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Accepts Qt::CheckStateRole on the first column only (the user's tick).
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int size() const { return static_cast<int>(m_entries.size()); }
    bool isEmpty() const { return m_entries.isEmpty(); }
    // The record of a row; an empty record (position 0, every text empty) for a row
    // that does not exist.
    const AlbumEntry &entry(int row) const;
    const QList<AlbumEntry> &entries() const { return m_entries; }

    // Adds rows at the end. Each row's position becomes the row count right after it
    // was added; the other fields are kept as given.
    void append(const AlbumEntry &entry);
    void append(const QList<AlbumEntry> &entries);
    // Removes every row (check marks, selection and download states go with them).
    void clear();

    // The album download job's progress text of a row ("下载状态").
    void setDownloadState(int row, const QString &text);
    void setChecked(int row, bool checked);
    // Sets or clears every check box at once (one change notice for the whole list).
    void setAllChecked(bool checked);
    int checkedCount() const;

Q_SIGNALS:
    // At least one check box changed, by the user or from code; not sent by clear().
    void checksChanged();

private:
    bool validRow(int row) const { return row >= 0 && row < m_entries.size(); }
    QString columnText(const AlbumEntry &entry, int column) const;

    QList<AlbumEntry> m_entries;
};

} // namespace albivex
