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
    NotAPicture, // no JPEG, PNG, GIF, BMP, WebP or HEIF signature (for a video: no MP4's): an error page,
                 // most often
    TimedOut, // no data for the idle limit
    ConnectionFailed, // refused, reset, host not found, TLS failure...
    WriteFailed, // the file could not be created, written or put in place
    TooLarge, // beyond the size limit of one picture
    // The service's small stand-in for a picture it does not give out (today's "加密照片"
    // GIF): far smaller than the size the photo list gives the picture.
    Placeholder,
};

// A status with which the service says it is too busy for the request now: 429 (too
// many requests) and every 5xx.
inline bool IsBusyStatus(int status)
{
    return status == 429 || status >= 500;
}

struct TransferResult
{
    TransferOutcome outcome = TransferOutcome::ConnectionFailed;
    int httpStatus = 0; // last status seen, 0 when none came
    int attempts = 0; // requests sent, retries included
    qint64 bytes = 0; // bytes written at the final name (when saved)
    int retryAfterMs = -1; // the Retry-After of the last answer, -1 when it gave none
    // Where the file was saved (when saved): the target path, or with nameByContent the
    // target with the extension its content called for.
    QString path;
    // Options::words were given and the saved picture could not take them (a format
    // or a header the metadata library cannot write): it is saved as the service sent it.
    bool wordsRefused = false;

    bool ok() const { return outcome == TransferOutcome::Saved; }
    // The service turned the picture away for now, and asking again later may get it:
    // a busy status (see IsBusyStatus) or a placeholder.
    bool turnedAway() const
    {
        return outcome == TransferOutcome::Placeholder
            || (outcome == TransferOutcome::HttpStatus && IsBusyStatus(httpStatus));
    }
};

// A short English word for logs and test messages.
QString TransferOutcomeName(TransferOutcome outcome);

} // namespace albivex

Q_DECLARE_METATYPE(albivex::TransferResult)
