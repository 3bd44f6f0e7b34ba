#pragma once

#include "qzone/ListFetch.h"
#include "qzone/MoodPost.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
class ListPacer;
class ServicePause;

// Reads a space's 说说 list one page at a time, newest first, and asks again in full
// every post the list gives short (MoodNeedsDetail), so that a page handed on holds
// every post whole as far as the service tells.
//
// Each request waits for the gap the ServicePause keeps between list requests, and for
// the end of a pause, and notes its answer there; a busy answer is asked again
// (BusyRetryOptions) before it is handed back as turnedAway(). The job then pauses and
// calls goOn(), which asks again, once the pause is over, what was turned away: the
// page, or the post being asked in full. A busy answer to a request sent before a
// pause that has ended since is asked again at once instead. A page that
// is empty where the space's count says posts remain is turned away the same way
// (emptyPage set): the service sheds load so, and seals older posts so too.
//
// A post asked in full that the service no longer has (deleted meanwhile) or refuses
// keeps what the list gave.
class MoodListing : public QObject
{
    Q_OBJECT
public:
    MoodListing(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                const QString &gTk, const BusyRetryOptions &retry, ServicePause &pause, QObject *parent);

    // Asks the page that starts `pos` posts from the newest.
    void fetch(int pos);
    // Asks again what turnedAway() said was turned away.
    void goOn();
    // Drops the request in flight; no signal follows.
    void cancel();

Q_SIGNALS:
    // `total` is the space's post count as this page gives it (-1 when it gives none).
    void pageReady(int pos, int total, const QList<albivex::MoodPost> &posts);
    void turnedAway(bool emptyPage);
    // The space does not let the viewer read its posts; the service's words.
    void refused(const QString &message);
    void expired();
    // The page could not be had (no answer, or one that does not read).
    void failed();

private:
    void sendPage();
    void onPage(const ListAnswer &answer);
    void busy(bool emptyPage);
    void nextDetail();
    void sendDetail();
    void onDetail(const ListAnswer &answer);
    // Sends `send` once the pause and the gap allow (ListPacer).
    void paced(void (MoodListing::*send)());
    ListFetch *request(const QUrl &url, void (MoodListing::*done)(const ListAnswer &));

    QNetworkAccessManager &m_nam;
    const Endpoints &m_endpoints;
    const QString m_uin;
    const QString m_gTk;
    const BusyRetryOptions m_retry;
    ServicePause &m_pause;
    QPointer<ListFetch> m_inFlight;
    int m_generation = 0; // bumped by cancel(): late answers of earlier requests are dropped
    int m_pos = 0;
    int m_total = -1;
    QList<MoodPost> m_posts; // the page being completed
    int m_detailAt = -1; // the post asked in full, -1 while the page itself is asked
    ListPacer *m_pacer;
};

} // namespace albivex
