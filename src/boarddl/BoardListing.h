#pragma once

#include "albumdl/PartListing.h"
#include "qzone/BoardMessage.h"

#include <QList>
#include <QString>

namespace albivex {

class Endpoints;

// Reads a space's 留言板 one page at a time, newest first, paced and turned away as
// every part's list is (PartListing). A page that lists nothing where the board's count
// says messages remain is turned away the same way (emptyPage set).
class BoardListing : public PartListing
{
    Q_OBJECT
public:
    // `viewerUin` is the signed-in number, `hostUin` whose board it is.
    BoardListing(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &viewerUin,
                 const QString &hostUin, const QString &gTk, const BusyRetryOptions &retry,
                 ServicePause &pause, QObject *parent);

    // Asks the page that starts `start` messages from the newest.
    void fetch(int start);
    void goOn() override;

Q_SIGNALS:
    // `total` is the board's message count as this page gives it (-1 when it gives none).
    void pageReady(int start, int total, const QList<albivex::BoardMessage> &messages);

private:
    void send();

    const Endpoints &m_endpoints;
    const QString m_viewerUin;
    const QString m_hostUin;
    const QString m_gTk;
    int m_start = 0;
};

} // namespace albivex
