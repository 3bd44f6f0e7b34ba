#pragma once

#include "qzone/BoardMessage.h"
#include "qzone/ListFetch.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
class ListPacer;
class ServicePause;

// Reads a space's 留言板 one page at a time, newest first, as the 说说 listing reads the
// posts: each request waits for the run's pace (ListPacer) and notes its answer in the
// ServicePause; a busy answer is asked again (BusyRetryOptions) before it is handed
// back as turnedAway(), and goOn() asks the page again once the pause is over. A page
// that lists nothing where the board's count says messages remain is turned away the
// same way (emptyPage set). A busy answer to a request sent before a pause that has
// ended since is asked again at once.
class BoardListing : public QObject
{
    Q_OBJECT
public:
    // `viewerUin` is the signed-in number, `hostUin` whose board it is.
    BoardListing(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &viewerUin,
                 const QString &hostUin, const QString &gTk, const BusyRetryOptions &retry,
                 ServicePause &pause, QObject *parent);

    // Asks the page that starts `start` messages from the newest.
    void fetch(int start);
    // Asks again the page turnedAway() said was turned away.
    void goOn();
    // Drops the request in flight; no signal follows.
    void cancel();

Q_SIGNALS:
    // `total` is the board's message count as this page gives it (-1 when it gives none).
    void pageReady(int start, int total, const QList<albivex::BoardMessage> &messages);
    void turnedAway(bool emptyPage);
    // The space does not let the viewer read its board; the service's words.
    void refused(const QString &message);
    void expired();
    // The page could not be had (no answer, or one that does not read).
    void failed();

private:
    void send();
    void onAnswer(const ListAnswer &answer);

    QNetworkAccessManager &m_nam;
    const Endpoints &m_endpoints;
    const QString m_viewerUin;
    const QString m_hostUin;
    const QString m_gTk;
    const BusyRetryOptions m_retry;
    ServicePause &m_pause;
    ListPacer *m_pacer;
    QPointer<ListFetch> m_inFlight;
    int m_generation = 0; // bumped by cancel(): late answers of earlier requests are dropped
    int m_start = 0;
};

} // namespace albivex
