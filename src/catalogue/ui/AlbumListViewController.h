#pragma once

#include <QObject>
#include <QString>

class QAction;
class QMenu;
class QModelIndex;
class QTreeView;

namespace albivex {

struct WindowState;
class AlbumListModel;
class ActivityLog;
class Prompts;
class StatusBar;

// The user's gestures on the album list: a click previews the cover, a double click
// opens the album ("查看相册"), a right click pops up the album menu, ticks are
// counted in the status bar, and "复制信息" copies the album's information. While an
// album download runs, double and right clicks do nothing.
class AlbumListViewController : public QObject
{
    Q_OBJECT
public:
    AlbumListViewController(WindowState &state, AlbumListModel &albums, ActivityLog &log, Prompts &prompts,
                            QTreeView &albumView, QMenu &albumMenu, QAction &viewAlbumAction,
                            StatusBar &statusBar, QObject *parent = nullptr);

    void copyAlbumInfo();

Q_SIGNALS:
    // A click on a row asks for its cover in the preview box.
    void previewRequested(const QString &address);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOutColumns();
    void previewCover(const QModelIndex &index);
    void viewAlbum();
    void countChecks();

    WindowState &m_state;
    AlbumListModel &m_albums;
    ActivityLog &m_log;
    Prompts &m_prompts;
    QTreeView &m_albumView;
    QMenu &m_albumMenu;
    QAction &m_viewAlbumAction;
    StatusBar &m_statusBar;
};

} // namespace albivex
