#pragma once

#include "network/BoundedReply.h"

#include <QUrl>

#include <functional>

class QNetworkAccessManager;

namespace albivex {

class Endpoints;

// The profile service's POST for a QQ number, whose answer holds the nickname.
// Owned by the caller's context object; deletes itself after it has reported.
class ProfileRequest : public BoundedReply
{
    Q_OBJECT
public:
    static constexpr int DefaultIdleMs = 30000;
    static constexpr qint64 MaxBytes = 4LL * 1024 * 1024;

    ProfileRequest(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                   QObject *parent, int idleMs = DefaultIdleMs);

    // The form the service expects, sent as text.
    static QByteArray body(const QString &uin);

Q_SIGNALS:
    // Exactly once, unless cancelled: the answer text, empty on any failure.
    void finished(const QString &text);

private:
    void report(bool ok, const QByteArray &body, const QByteArray &contentType) override;
};

// Starts the profile POST; `done` runs once on the context's thread with the answer
// text (empty on any failure).
ProfileRequest *FetchProfileText(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &uin,
                                 QObject *context, std::function<void(const QString &)> done);

// The avatar picture address of a QQ number, naming this tool's site as requester.
QUrl AvatarAddress(const Endpoints &endpoints, const QString &uin);

// The address of QQ's web sign-in page, which goes on to the security centre after
// a successful sign-in (passed unencoded, as the page expects it).
QUrl SignInPageAddress(const Endpoints &endpoints);

} // namespace albivex
