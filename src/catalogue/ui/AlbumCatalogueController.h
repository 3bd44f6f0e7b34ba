#pragma once

#include "qzone/AlbumEntry.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <optional>

class QUrl;

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
struct WindowState;
class AlbumListModel;
class ActivityLog;
class Prompts;
class AlbumListingView;
struct BusyRetryOptions;
struct ListAnswer;

// Lists the albums of a space into the album list: "获取相册" the signed-in
// user's own space, "获取" the space of the number typed for another space. One
// listing at a time; a start while one runs is ignored until it has ended.
//
// The service may hand the albums out a page at a time: while fewer albums are listed
// than the first answer's albumsInUser, the next page is asked from the count listed
// so far, up to albumsInUser / AlbumPageSize + 2 pages, and no further once a page
// adds nothing. Rows keep the service's order; an album id met again is not listed
// again. A busy service is asked again (BusyRetryOptions); an answer that says the
// sign-in has ended ends the listing with sessionExpired().
class AlbumCatalogueController : public QObject
{
    Q_OBJECT
public:
    // Rows added per turn of the event loop, so that a long list never freezes the window.
    static constexpr int RowsPerTurn = 100;

    AlbumCatalogueController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                             AlbumListModel &albums, ActivityLog &log, Prompts &prompts,
                             const BusyRetryOptions &busyRetry, AlbumListingView &view,
                             QObject *parent = nullptr);

    void listOwnAlbums();
    void listOtherAlbums();

    bool isListing() const { return m_listing; }
    // The last listing brought the whole album list (not cut short by a busy service
    // or an ended sign-in).
    bool listedWhole() const { return m_listedWhole; }

Q_SIGNALS:
    // A listing has added its last row and written its closing line.
    void listingFinished();
    // An answer said the sign-in is no longer taken; the listing has ended without its
    // closing texts.
    void sessionExpired();

private:
    enum class Ending { Listed, Busy, Expired };
    struct Page
    {
        QList<AlbumEntry> albums;
        int albumsInUser = -1;
    };

    void askToSignIn();
    void start(bool otherSpace, const QString &ownerUin);
    void requestPage(std::optional<int> pageStart);
    void onAnswer(const ListAnswer &answer);
    void onPage(const Page &page);
    void addNextRows();
    void finish(Ending ending);

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    AlbumListModel &m_albums;
    ActivityLog &m_log;
    Prompts &m_prompts;
    AlbumListingView &m_view;
    const BusyRetryOptions &m_busyRetry;
    bool m_listing = false;
    bool m_listedWhole = false;
    bool m_otherSpace = false;
    QString m_ownerUin;
    QList<AlbumEntry> m_pending; // the new albums of the page being shown
    qsizetype m_next = 0;
    QSet<QString> m_listedIds;
    int m_albumsInUser = -1; // as the first page announced it
    int m_pagesAsked = 0;
};

} // namespace albivex
