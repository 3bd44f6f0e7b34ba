#pragma once

#include <QMetaType>
#include <QString>

namespace albivex {

// How one picture transfer ended.
enum class TransferOutcome {
    Saved, // the whole picture is at the final name
    BadAddress, // empty, unreadable or not an http(s) address
    HttpStatus, // the service answered with a status outside 2xx (see httpStatus)
    Truncated, // fewer bytes than the announced Content-Length
    EmptyBody,
    NotAPicture, // no JPEG, PNG, GIF, BMP, WebP or HEIF signature: an error page, most often
    TimedOut, // no data for the idle limit
    ConnectionFailed, // refused, reset, host not found, TLS failure...
    WriteFailed, // the file could not be created, written or put in place
    TooLarge, // beyond the size limit of one picture
};

struct TransferResult
{
    TransferOutcome outcome = TransferOutcome::ConnectionFailed;
    int httpStatus = 0; // last status seen, 0 when none came
    int attempts = 0; // requests sent, retries included
    qint64 bytes = 0; // bytes written at the final name (when saved)

    bool ok() const { return outcome == TransferOutcome::Saved; }
};

// A short English word for logs and test messages.
QString TransferOutcomeName(TransferOutcome outcome);

} // namespace albivex

Q_DECLARE_METATYPE(albivex::TransferResult)
