#pragma once

#include <QObject>
#include <QString>

class QModelIndex;
class QMenu;
class QRadioButton;
class QTreeView;

namespace albivex {

class AlbumListModel;
class PhotoListModel;
class Prompts;
class StatusBar;

// The user's gestures on the photo list: ticks are counted in the status bar, a click
// previews the picture, a right click pops up the picture menu. "全选" and "取消" tick
// or clear every row of whichever list is shown, then reset themselves so that they
// can be clicked again at once.
class PhotoListViewController : public QObject
{
    Q_OBJECT
public:
    // `albumView` tells which list is shown; `checkAll` and `uncheckAll` are "全选" and "取消".
    PhotoListViewController(AlbumListModel &albums, PhotoListModel &photos, Prompts &prompts,
                            QTreeView &photoView, QMenu &photoMenu, QTreeView &albumView,
                            QRadioButton &checkAll, QRadioButton &uncheckAll, StatusBar &statusBar,
                            QObject *parent = nullptr);

Q_SIGNALS:
    // A click on a row asks for its picture in the preview box.
    void previewRequested(const QString &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOutColumns();
    void countChecks();
    void preview(const QModelIndex &index);
    void checkAll(QRadioButton *option, bool checked);

    AlbumListModel &m_albums;
    PhotoListModel &m_photos;
    Prompts &m_prompts;
    QTreeView &m_photoView;
    QMenu &m_photoMenu;
    QTreeView &m_albumView;
    StatusBar &m_statusBar;
};

} // namespace albivex
