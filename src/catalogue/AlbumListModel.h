#pragma once

#include "catalogue/AlbumAnswers.h"
#include "catalogue/CheckableTableModel.h"
#include "qzone/AlbumEntry.h"

#include <QList>

namespace albivex {

// The albums of the current listing, one AlbumEntry per row, behind the album list
// view. It is the only store of the listed albums: the cover preview, the photo
// listing, the information copy and the album download job read the records from
// here, never the column texts. Each row has a user-checkable box in its first column.
class AlbumListModel : public CheckableTableModel
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

    // The record of a row; an empty record (position 0, every text empty) for a row
    // that does not exist.
    const AlbumEntry &entry(int row) const;
    const QList<AlbumEntry> &entries() const { return m_entries; }

    // Adds rows at the end. Each row's position becomes the row count right after it
    // was added; the other fields are kept as given.
    void append(const AlbumEntry &entry);
    void append(const QList<AlbumEntry> &entries);
    // Removes every row (check marks, selection, download states and answers go with them).
    void clear();

    // The answers given for the listing's protected albums.
    AlbumAnswers &answers() { return m_answers; }

    // The album download job's progress text of a row ("下载状态").
    void setDownloadState(int row, const QString &text);

private:
    int rowTotal() const override { return static_cast<int>(m_entries.size()); }
    QString cellText(int row, int column) const override;
    bool checkedAt(int row) const override { return m_entries.at(row).isChecked; }
    void storeChecked(int row, bool checked) override { m_entries[row].isChecked = checked; }

    QList<AlbumEntry> m_entries;
    AlbumAnswers m_answers;
};

} // namespace albivex
