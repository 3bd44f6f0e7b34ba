#pragma once

#include "qzone/AlbumAnswer.h"
#include "qzone/AlbumEntry.h"
#include "qzone/PhotoEntry.h"

#include <QList>
#include <QObject>
#include <QPointer>

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
struct WindowState;
class AlbumListModel;
class PhotoListModel;
class ActivityLog;
class Prompts;
class PhotoListingView;
class PhotoListFetch;
struct BusyRetryOptions;

// "查看相册": lists the pictures of the album selected in the album list into the
// photo list, which takes the album list's place. Pages arrive from the network and
// their rows are added a batch per turn of the event loop, so the window stays
// responsive; clearing photoViewOpen ("<=" or "终止任务") ends the listing before its
// next row, keeping the rows added so far. An album the service does not let the
// viewer open is refused with a box, without a request. An album behind a password or
// a question asks for its answer first (AlbumAnswers): cancelled, nothing is listed;
// refused by the service, the album list comes back with "回答错误". A listing that a busy service
// ends (after the retries) says so instead of its closing texts; one that an ended
// sign-in stops sends sessionExpired().
class PhotoListController : public QObject
{
    Q_OBJECT
public:
    // Rows added in one turn of the event loop before the flag is looked at again
    // by the user's input; a long list takes an eighth of its rows so far instead,
    // since every turn that adds rows lays the whole list out again.
    static constexpr int RowsPerTurn = 50;

    PhotoListController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                        AlbumListModel &albums, PhotoListModel &photos, ActivityLog &log, Prompts &prompts,
                        const BusyRetryOptions &busyRetry, PhotoListingView &view, QObject *parent = nullptr);

    void viewAlbum();
    // Ends the listing when its flag was cleared (by "<=" or "终止任务"): called right
    // after those buttons, it drops a page request still in flight instead of waiting
    // for its answer.
    void checkStopped();

Q_SIGNALS:
    // An answer said the sign-in is no longer taken; the listing has ended.
    void sessionExpired();

private:
    void listAlbum(const AlbumEntry &album, const AlbumAnswerKeys &answer);
    void switchView(const QString &albumName, const QString &albumDescription);
    void onPage(const QList<PhotoEntry> &entries);
    void onFetchFinished(int received);
    void scheduleRows();
    void addRows();
    void endListing();

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    AlbumListModel &m_albums;
    PhotoListModel &m_photos;
    ActivityLog &m_log;
    Prompts &m_prompts;
    const BusyRetryOptions &m_busyRetry;
    PhotoListingView &m_view;
    QPointer<PhotoListFetch> m_fetch;
    QString m_albumId; // the album being listed
    QList<PhotoEntry> m_pending; // arrived, not yet shown
    qsizetype m_pendingStart = 0;
    int m_total = 0; // the picture count the percentages refer to
    bool m_listing = false;
    bool m_fetchDone = false;
    bool m_busy = false; // the listing ended on a busy service
    int m_announced = 0; // pictures the album holds, as best known when the listing ended
    bool m_rowsScheduled = false;
};

} // namespace albivex
