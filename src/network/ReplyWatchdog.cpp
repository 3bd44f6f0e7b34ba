#include "network/ReplyWatchdog.h"

#include <QNetworkReply>

namespace albivex {

ReplyWatchdog::ReplyWatchdog(QNetworkReply *reply, int idleMs) : QObject(reply)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(idleMs);
    connect(&m_timer, &QTimer::timeout, reply, [this, reply] {
        m_fired = true;
        reply->abort();
    });
    const auto restart = [this] {
        m_timer.start();
    };
    connect(reply, &QNetworkReply::downloadProgress, this, restart);
    connect(reply, &QNetworkReply::uploadProgress, this, restart);
    connect(reply, &QNetworkReply::metaDataChanged, this, restart);
    connect(reply, &QNetworkReply::finished, &m_timer, &QTimer::stop);
    m_timer.start();
}

} // namespace albivex
