#include "FinishedReplies.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTest>

FinishedReplies::FinishedReplies(QNetworkAccessManager &nam)
{
    connect(&nam, &QNetworkAccessManager::finished, this,
            [this](QNetworkReply *reply) { paths << reply->url().path(); });
}

bool SettleNetwork(QNetworkAccessManager &nam, const QString &root, int timeoutMs)
{
    QNetworkReply *reply = nam.get(QNetworkRequest(QUrl(root + SettleMarkerPath)));
    const bool done = QTest::qWaitFor([reply] { return reply->isFinished(); }, timeoutMs);
    reply->deleteLater();
    return done;
}
