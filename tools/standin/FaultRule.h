#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace albivex::standin {

enum class FaultKind {
    Latency, // delayMs more before the answer; combines with one other rule
    Status, // the status code, with `body` (empty by default) and Retry-After when set
    CutBody, // the full Content-Length announced, half the body sent, connection closed
    ChunkedCut, // chunked transfer: one chunk announced for the whole body, half of it sent, closed
    LongBody, // more bytes sent than the Content-Length says, then the connection closed
    EmptyBody, // 200 with Content-Length 0
    HtmlAsPicture, // 200, Content-Type text/html, an HTML error page
    StallAfterHeaders, // status line and headers sent, then nothing; the connection stays open
    StallBeforeAnswer, // nothing at all; the connection stays open
    Close, // the connection closed without any answer (Qt's network access resends such a
           // request once, so a rule for a single request goes unseen by it)
    HugeAlbumList, // an album list of `bytes` bytes: one album's description fills it
    ManyCreatetime, // an album list with `keys` small albums
    UnbalancedQuotes, // an album list whose quotes do not pair up, cut off inside a value
    UnexpectedCharset, // the normal answer encoded in `charset`, and declared so
    ServiceCode, // status 200 with the JSONP error answer of `code` (busy, not signed in...)
    Placeholder, // status 200 with the placeholder GIF of a protected picture
    // A throttled list: code 0, an empty list, and the count the space or album really
    // has (albumsInUser, totalInAlbum), as the service answers when it sheds load
    ThrottledEmpty,
};

// One fault: which requests it hits, what it does, and how often.
struct FaultRule
{
    // Exact path, or a prefix when it ends with '*' ("*" alone: every path). The query
    // is not part of the path.
    QString path;
    FaultKind kind = FaultKind::Status;
    int status = 500;
    int retryAfterSeconds = -1; // Retry-After header value on Status answers; -1: none
    QByteArray body; // Status: body of the answer
    QByteArray location; // Status: Location header when set (a redirect elsewhere)
    int delayMs = 0; // Latency
    int times = -1; // the first N matching requests, then normal again; -1: every one
    qint64 bytes = 20LL * 1024 * 1024; // HugeAlbumList: answer size
    int keys = 100000; // ManyCreatetime: album count
    QByteArray charset = QByteArrayLiteral("UTF-16LE"); // UnexpectedCharset
    int code = -10049; // ServiceCode

    bool matches(const QString &requestPath) const;

    static FaultRule make(const QString &path, FaultKind kind, int times = -1);
    static FaultRule httpStatus(const QString &path, int status, int times = -1, int retryAfterSeconds = -1);
    static FaultRule latency(const QString &path, int delayMs, int times = -1);
    // The service's error answer of `code`: -3000 (not signed in; subcode -4001) or a
    // busy one such as -10000, -10001, -10049.
    static FaultRule serviceCode(const QString &path, int code, int times = -1);
    // 302 to `location`, e.g. an address where nothing listens.
    static FaultRule redirect(const QString &path, const QByteArray &location, int times = -1);

    // "PATH=KIND[:ARG][@TIMES]", KIND one of: a status code (ARG: Retry-After seconds),
    // latency (ARG: ms), cut, chunked-cut, long, empty, html, stall-headers, stall, close,
    // huge-list (ARG: bytes), many-createtime (ARG: count), unbalanced, charset (ARG: name),
    // code (ARG: the service's code, required), placeholder, throttled-empty.
    static std::optional<FaultRule> parse(const QString &text);
    static QString kindName(FaultKind kind);
};

} // namespace albivex::standin
