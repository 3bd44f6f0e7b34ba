#pragma once

#include "catalogue/CheckableTableModel.h"
#include "qzone/PhotoEntry.h"

#include <QList>

namespace albivex {

// The pictures of the album being viewed, one PhotoEntry per row, behind the photo
// list view. It is the only store of the listed pictures: the preview, the picture
// menu and the selected-picture download read the records from here. Each row has a
// user-checkable box in its first column.
class PhotoListModel : public CheckableTableModel
{
    Q_OBJECT
public:
    enum Column {
        NumberColumn, // "ID"
        NameColumn, // "图片名称"
        UploadTimeColumn, // "上传时间"
        DescriptionColumn, // "描述"
        UrlColumn, // "pic", hidden
        SpareColumn, // no caption, hidden, never filled
        StatusColumn, // "状态", centred
        ColumnCount
    };

    // Width of a column in twips as the list is laid out; 0 for the hidden columns.
    static int columnWidthTwips(int column);
    static bool isHiddenColumn(int column) { return columnWidthTwips(column) == 0; }

    explicit PhotoListModel(QObject *parent = nullptr);

    // The record of a row; an empty record (number 0, every text empty) for a row
    // that does not exist.
    const PhotoEntry &entry(int row) const;

    // Adds rows at the end, in the order given. Each row's number becomes the row
    // count right after it was added (the list is never sorted).
    void append(const QList<PhotoEntry> &entries);
    // Removes every row with its check mark; starts a new listing (see listing()).
    void clear();
    // Changes with every clear(): work that started on one listing can tell that the
    // rows it meant are gone.
    quint64 listing() const { return m_listing; }

    // The "状态" text of a row: "√" or "×" once the picture was downloaded. Until then
    // the cell shows "视频" for a video and nothing for a picture.
    void setStatus(int row, const QString &status);

private:
    struct Row
    {
        PhotoEntry entry;
        bool checked = false;
    };

    int rowTotal() const override { return static_cast<int>(m_rows.size()); }
    QString cellText(int row, int column) const override;
    bool checkedAt(int row) const override { return m_rows.at(row).checked; }
    void storeChecked(int row, bool checked) override { m_rows[row].checked = checked; }

    QList<Row> m_rows;
    quint64 m_listing = 0;
};

} // namespace albivex
