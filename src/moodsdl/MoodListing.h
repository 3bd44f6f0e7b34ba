#pragma once

#include "albumdl/PartListing.h"
#include "qzone/MoodPost.h"

#include <QList>
#include <QString>

namespace albivex {

class Endpoints;

// Reads a space's 说说 list one page at a time, newest first, and asks again in full
// every post the list gives short (MoodNeedsDetail), so that a page handed on holds
// every post whole as far as the service tells.
//
// Requests are paced and turned away as every part's list is (PartListing); goOn()
// asks again, once the pause is over, what was turned away: the page, or the post
// being asked in full. A page that is empty where the space's count says posts remain
// is turned away the same way (emptyPage set): the service sheds load so, and seals
// older posts so too.
//
// A post asked in full that the service no longer has (deleted meanwhile) or refuses
// keeps what the list gave.
class MoodListing : public PartListing
{
    Q_OBJECT
public:
    MoodListing(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                const QString &gTk, const BusyRetryOptions &retry, ServicePause &pause, QObject *parent);

    // Asks the page that starts `pos` posts from the newest.
    void fetch(int pos);
    void goOn() override;

Q_SIGNALS:
    // `total` is the space's post count as this page gives it (-1 when it gives none).
    void pageReady(int pos, int total, const QList<albivex::MoodPost> &posts);

private:
    void sendPage();
    void nextDetail();
    void sendDetail();
    void onDetail(const ListAnswer &answer);

    const Endpoints &m_endpoints;
    const QString m_uin;
    const QString m_gTk;
    int m_pos = 0;
    int m_total = -1;
    QList<MoodPost> m_posts; // the page being completed
    int m_detailAt = -1; // the post asked in full, -1 while the page itself is asked
};

} // namespace albivex
