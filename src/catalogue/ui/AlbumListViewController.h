#pragma once

#include <QObject>

class QModelIndex;

namespace albivex {

struct AppContext;

// The user's gestures on the album list: a click previews the cover, a double click
// opens the album ("查看相册"), a right click pops up the album menu, ticks are
// counted in the status bar, and "复制信息" copies the album's information. While an
// album download runs, double and right clicks do nothing.
class AlbumListViewController : public QObject
{
    Q_OBJECT
public:
    explicit AlbumListViewController(AppContext &ctx, QObject *parent = nullptr);

    void copyAlbumInfo();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOutColumns();
    void previewCover(const QModelIndex &index);
    void viewAlbum();
    void countChecks();

    AppContext &m_ctx;
};

} // namespace albivex
