#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;

// The replies a network manager has finished (answered, failed or aborted), by path,
// in order. Once the tool's reply is finished nothing of its request can reach the
// tool any more: a test that checks that something did not happen waits for that
// first, instead of for a fixed time.
class FinishedReplies : public QObject
{
public:
    explicit FinishedReplies(QNetworkAccessManager &nam);
    int count(const QString &path) const { return int(paths.count(path)); }
    QStringList paths;
};

// The path of the request SettleNetwork sends; the stand-in answers it 404.
inline const QString SettleMarkerPath = QStringLiteral("/albivex-test/settled");

// Sends a request of the test's own through the tool's network manager to the
// stand-in at `root` and waits until it is answered. Whatever the tool asked before
// was queued ahead of it on the same manager and reached the stand-in first, so a
// request still missing from the stand-in's log afterwards was never made.
bool SettleNetwork(QNetworkAccessManager &nam, const QString &root, int timeoutMs = 10000);
