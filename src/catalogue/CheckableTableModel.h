#pragma once

#include <QAbstractTableModel>

namespace albivex {

// The table behind the album list and the photo list: fixed columns with their
// captions, widths and alignment, and a user-checkable box in the first column of
// every row. A subclass keeps the records and says how many rows there are, what a
// cell shows and where a row's tick is stored.
class CheckableTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct ColumnLook
    {
        const char16_t *caption;
        int widthTwips; // as the list is laid out; 0 for a hidden column, which still holds its field
        Qt::Alignment alignment;
    };

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Accepts Qt::CheckStateRole on the first column only (the user's tick).
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    int size() const { return rowTotal(); }
    bool isEmpty() const { return rowTotal() == 0; }

    bool isChecked(int row) const { return validRow(row) && checkedAt(row); }
    void setChecked(int row, bool checked);
    // Sets or clears every check box at once: one change notice for the whole list,
    // sent even when no box changed, so that the count is shown again.
    void setAllChecked(bool checked);
    int checkedCount() const;

Q_SIGNALS:
    // At least one check box changed, by the user or from code, or every box was set
    // at once; not sent when the rows are cleared.
    void checksChanged();

protected:
    // `columns` lists the `count` columns and outlives the model (a static table).
    CheckableTableModel(const ColumnLook *columns, int count, QObject *parent);
    bool validRow(int row) const { return row >= 0 && row < rowTotal(); }

    virtual int rowTotal() const = 0;
    // The text of a cell of an existing row; the view shows it as it comes.
    virtual QString cellText(int row, int column) const = 0;
    virtual bool checkedAt(int row) const = 0;
    virtual void storeChecked(int row, bool checked) = 0;

private:
    bool validColumn(int column) const { return column >= 0 && column < m_columnCount; }

    const ColumnLook *m_columns;
    int m_columnCount;
};

} // namespace albivex
