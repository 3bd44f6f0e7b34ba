#pragma once

#include "qzone/AlbumEntry.h"

#include <QList>
#include <QObject>
#include <QString>

class QUrl;

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
struct WindowState;
class AlbumListModel;
class ActivityLog;
class Prompts;
class AlbumListingView;

// Lists the albums of a space into the album list: "获取相册" the signed-in
// user's own space, "获取" the space of the number typed for another space. One
// listing at a time; a start while one runs is ignored until it has ended.
class AlbumCatalogueController : public QObject
{
    Q_OBJECT
public:
    // Rows added per turn of the event loop, so that a long list never freezes the window.
    static constexpr int RowsPerTurn = 100;

    AlbumCatalogueController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                             AlbumListModel &albums, ActivityLog &log, Prompts &prompts,
                             AlbumListingView &view, QObject *parent = nullptr);

    void listOwnAlbums();
    void listOtherAlbums();

    bool isListing() const { return m_listing; }

Q_SIGNALS:
    // A listing has added its last row and written its closing line.
    void listingFinished();

private:
    void askToSignIn();
    void start(bool otherSpace, const QString &ownerUin, const QUrl &address);
    void onAnswer(const QString &answer);
    void addNextRows();
    void finish();

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    AlbumListModel &m_albums;
    ActivityLog &m_log;
    Prompts &m_prompts;
    AlbumListingView &m_view;
    bool m_listing = false;
    bool m_otherSpace = false;
    QString m_ownerUin;
    QList<AlbumEntry> m_pending;
    qsizetype m_next = 0;
};

} // namespace albivex
