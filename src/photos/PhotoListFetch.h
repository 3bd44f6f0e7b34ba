#pragma once

#include "qzone/AlbumAnswer.h"
#include "qzone/AnswerVerdict.h"
#include "qzone/ListFetch.h"
#include "qzone/PhotoEntry.h"
#include "qzone/PhotoListRequest.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
struct WindowState;

// Lists every picture of one album, page after page. One page holds at most
// PhotoListRequest::pageSize() pictures; while fewer pictures have arrived than the
// album holds (the larger of the count the album list gave and the answer's
// totalInAlbum) and the last page brought some, the next page is asked with
// pageStart advanced by the pictures received. A failed request is an empty page,
// which ends the listing. A busy service is asked again (BusyRetryOptions), and so is
// a page of code 0 that lists nothing while the answer's totalInAlbum says pictures
// remain (the service shedding load); an answer that stays busy, or says the sign-in
// has ended, ends the listing too, and ending() tells which: a listing that ended Busy
// is incomplete, never an album's end.
//
// Owned by its parent; deletes itself (deleteLater) after finished or cancel().
class PhotoListFetch : public QObject
{
    Q_OBJECT
public:
    // `first` is the request of the first page (its pageStart is normally 0);
    // `albumPictureCount` is the album row's picture count, 0 or less when unknown.
    PhotoListFetch(QNetworkAccessManager &nam, const Endpoints &endpoints, const PhotoListRequest &first,
                   int albumPictureCount, QObject *parent, const BusyRetryOptions &busyRetry = {});

    // Before start(): a job's pacing of its list requests. waitMs is asked before every
    // page (milliseconds to wait first, 0 to go now), sent is told when one goes, and
    // answered of every answer, busy or not.
    struct Pacing
    {
        std::function<int()> waitMs;
        std::function<void()> sent;
        std::function<void(bool busy)> answered;
    };
    void setPacing(Pacing pacing) { m_pacing = std::move(pacing); }
    // Before start(): the listing goes on after the `received` pictures an earlier
    // listing of the album brought; its pages start there and number on from them.
    void resumeFrom(int received)
    {
        m_received = received;
        m_request.pageStart = received;
    }
    // Sends the first request. Call once.
    void start();
    // Ends the listing at once: the request in flight is dropped, no signal follows.
    void cancel();

    int received() const { return m_received; }
    // The best known number of pictures in the album (never below received()).
    int expectedTotal() const;
    // What the last answer said: Ok for a listing that ended normally or on a failed
    // request, Busy or Expired for one those answers ended.
    AnswerState ending() const { return m_ending; }
    // The album wants an answer and the request's keys were not the right one: the
    // listing ended without pictures.
    bool wrongAnswer() const { return m_wrongAnswer; }

Q_SIGNALS:
    // One page's pictures in list order, numbered on from the pages before it
    // (the first picture of the album is number 1). Not sent for an empty page.
    void pageArrived(const QList<albivex::PhotoEntry> &entries);
    // Once, after the last page (unless cancelled): all pictures have been delivered.
    void finished(int received);

private:
    void requestPage();
    struct ParsedPage
    {
        QList<PhotoEntry> entries;
        int total = -1;
    };
    void onAnswer(const ListAnswer &answer);
    void onPage(const QList<PhotoEntry> &page, int answerTotal);
    void end();

    QNetworkAccessManager &m_nam;
    const Endpoints &m_endpoints;
    PhotoListRequest m_request;
    int m_albumCount;
    const BusyRetryOptions m_busyRetry;
    Pacing m_pacing;
    AnswerState m_ending = AnswerState::Ok;
    bool m_wrongAnswer = false;
    int m_answerTotal = -1;
    int m_received = 0;
    QString m_lastFirstUrl;
    QPointer<ListFetch> m_inFlight;
    bool m_started = false;
    bool m_done = false;
};

// The request of the first page of an album of the album list, for the signed-in
// account and the space the list shows, with the keys of a protected album's answer.
PhotoListRequest FirstPhotoPage(const WindowState &state, const QString &albumId,
                                const AlbumAnswerKeys &answer = {});

} // namespace albivex
