#pragma once

#include "network/BoundedReply.h"

#include <QUrl>

#include <functional>

class QNetworkAccessManager;

namespace albivex {

// What one GET brought back.
struct TextAnswer
{
    QString text; // the body decoded by its declared charset; empty on any failure
    int httpStatus = 0; // the answer's status; 0 for a transport failure or an answer over the cap
};

// One GET whose body is wanted as text. Owned by the caller's context object;
// deletes itself after it has reported.
class TextRequest : public BoundedReply
{
    Q_OBJECT
public:
    static constexpr int DefaultIdleMs = 30000;
    // Answers beyond this are hostile or broken; they count as a failed request so
    // that one answer cannot exhaust the memory of the tool.
    static constexpr qint64 DefaultMaxBytes = 32LL * 1024 * 1024;

    TextRequest(QNetworkAccessManager &nam, const QUrl &url, QObject *parent, int idleMs = DefaultIdleMs,
                qint64 maxBytes = DefaultMaxBytes);

Q_SIGNALS:
    // Exactly once, unless cancelled: the body decoded by its declared charset
    // (UTF-8 when none), or empty text for any failure.
    void finished(const QString &text);
    // Right before finished: the same text with the answer's HTTP status.
    void answered(const albivex::TextAnswer &answer);

private:
    void report(bool ok, const QByteArray &body, const QByteArray &contentType) override;
};

// Starts one GET through the process's network manager. `done` runs once, on the
// context's thread, with the body text (empty on any failure). No nested event loop:
// the caller goes on and hears back through `done`.
TextRequest *FetchText(QNetworkAccessManager &nam, const QUrl &url, QObject *context,
                       std::function<void(const QString &)> done, int idleMs = TextRequest::DefaultIdleMs);

// The same, for a caller that needs the HTTP status as well as the body.
TextRequest *FetchTextAnswer(QNetworkAccessManager &nam, const QUrl &url, QObject *context,
                             std::function<void(const TextAnswer &)> done,
                             int idleMs = TextRequest::DefaultIdleMs);

// Decodes a response body by the charset of its Content-Type header value; UTF-8
// when the header names none or one the platform does not know.
QString DecodeBody(const QByteArray &body, const QByteArray &contentType);

} // namespace albivex
