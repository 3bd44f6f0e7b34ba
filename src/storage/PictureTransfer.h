#pragma once

#include "qzone/PictureAddress.h"
#include "storage/PictureEnd.h"
#include "storage/PictureMetadata.h"
#include "storage/PictureSignature.h"
#include "storage/TransferResult.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QSaveFile;
class QThreadPool;

namespace albivex {

class ReplyWatchdog;

// One picture address saved into one file, asynchronously, through the process's
// network manager (its cookie jar carries the sign-in; redirects are followed).
//
// The body is streamed into a temporary file beside the target and renamed to the
// target only when the whole picture has arrived, so a file at the final name is
// always whole: after a failure nothing at the final name has changed (an earlier
// file there stays as it was) and no temporary file is left. Whole means all the
// bytes the Content-Length announced or, for a body sent without one, a picture that
// has reached its own end (PictureEnd). A transient failure (time-out, connection
// error, cut body, 5xx, 429) is tried again after a pause; 4xx are not. A picture
// far smaller than the size the photo list gives it is the service's placeholder and
// is not saved either.
//
// The same transfer saves originals under the extension of their real format
// (Options::nameByContent) and videos (Options::video, with the Referer they need);
// the result's path tells where the file went.
//
// An http address of QQ's picture hosts is asked over https (SecurePictureAddress).
// When that connection itself fails (TLS, refused, no answer at all), the address is
// asked once more as the answer gave it, over plain http, carrying none of the jar's
// cookies but the photo key, and keeping any cookie it is sent out of the jar: nothing
// of the sign-in travels in clear text.
//
// Any number of transfers may run at once; each is independent. The whole picture is
// put in place (synced to the disk and renamed) on a worker thread; arrived() tells
// when the network is done with the transfer, before its end goes to the disk. The
// object is owned by its parent and deletes itself (deleteLater) after it has reported.
class PictureTransfer : public QObject
{
    Q_OBJECT
public:
    struct Options
    {
        int idleMs = 30000; // no data for this long: the attempt is abandoned
        int attempts = 3; // the first try and up to two more for transient failures
        int retryPauseMs = 1000; // pause before a retry, doubled for each further one
        int maxRetryAfterMs = 30000; // a Retry-After of a 429/503 is waited for up to this
        qint64 maxBytes = 256LL * 1024 * 1024; // no picture is larger
        QDateTime modifiedTime; // valid: the saved file's modification time
        // The size the photo list gives the picture, empty when it gives none: a picture
        // under a quarter of it in both directions (CheckPlaceholder) is a placeholder.
        QSize listedSize;
        // A GIF of another size than listedSize is a placeholder too (CheckPlaceholder's
        // gifStandsIn): for the posts' pictures.
        bool gifPlaceholder = false;
        // A busy answer (429, 5xx) ends the transfer at once, its Retry-After in the
        // result, instead of being tried again here: for an owner that paces the
        // retries of several transfers to one service itself.
        bool handBackBusy = false;
        // The services are redirected to a root of their own, whose scheme applies: no
        // address is changed to https.
        bool servicesRedirected = false;
        // The file takes the extension of what it holds (PictureExtension): the target's
        // extension is replaced once the leading bytes tell the format, before anything
        // is written. For originals, which keep their real format.
        bool nameByContent = false;
        // The body is a video: it must start like one (CheckVideoSignature) instead of a
        // picture, and is held to no placeholder check.
        bool video = false;
        // Sent as the Referer header when not empty (videos are given only so).
        QByteArray referer;
        // Written into the picture's metadata (WritePictureMetadata) on the worker
        // thread, before it is put in place; the result's bytes are the file's as
        // written. A picture that cannot take them is saved as it came, and the result
        // says so. Not for videos, nor for a GIF or BMP, which are saved as served
        // (TakesPictureWords).
        std::optional<PictureWords> words;
    };

    // The address as a service answer gives it.
    PictureTransfer(QNetworkAccessManager &nam, const QString &address, const QString &path,
                    const Options &options, QObject *parent);
    // The address and its plain fallback as given.
    PictureTransfer(QNetworkAccessManager &nam, const PictureAddress &address, const QString &path,
                    const Options &options, QObject *parent);
    ~PictureTransfer() override;

    // The worker threads the pictures are put in place on, a pool of their own (not
    // Qt's global one, which the window's painting waits on); tests wait on it.
    static QThreadPool &placementPool();

    // Sends the first request. Call once.
    void start();
    // Ends the transfer at once without reporting: no retry follows, the partial
    // temporary file is removed, the final name is untouched (a whole picture already
    // being put in place still lands there). Safe after finished.
    void cancel();

    QString address() const { return m_address; }
    // The target as given; the result's path tells where a saved file went.
    QString path() const { return m_path; }

Q_SIGNALS:
    // Exactly once, unless cancelled. Do not delete the object from a slot of it.
    void finished(const albivex::TransferResult &result);
    // The network is done with the transfer: the whole body is in, no further attempt
    // follows and it is not a placeholder. Sent at most once, before the last pieces are
    // checked and written, so the picture may still end unsaved; finished() follows.
    void arrived();

private:
    void sendAttempt();
    void onReadyRead();
    void onFinished();
    bool consume(const QByteArray &chunk);
    // Whether the head held so far may be written: Hold while the picture's size is
    // still to be read, Reject for a placeholder.
    enum class HeadCheck { Hold, Write, Reject };
    HeadCheck checkSize();
    // The head's signature: a picture's, or with Options::video a video's (Picture then
    // stands for a video).
    PictureSignature checkHead(bool complete) const;
    // m_savedPath, once the head is known.
    void chooseSavedPath();
    bool openTarget();
    // A temporary file for `path`, open for writing; nullptr when it cannot be made.
    static std::unique_ptr<QSaveFile> OpenTemporary(const QString &path);
    void rejectAttempt(TransferOutcome outcome);
    // Writes a picture held whole to its temporary file, the words in (Options::words),
    // syncs and renames the file, all away from this thread, then ends the attempt.
    void putInPlace();
    struct Placed
    {
        bool saved = false;
        qint64 bytes = 0; // the file's size as put in place
        bool wordsRefused = false;
    };
    // The worker's part of putInPlace().
    // `received` is the whole body when words are to be written.
    static Placed place(QSaveFile &file, const QDateTime &modified, const std::optional<PictureWords> &words,
                        const QByteArray &received);
    bool wordsWanted() const;
    // Sends arrived(), once.
    void releaseNetwork();
    void endAttempt(TransferOutcome outcome, bool transient, int retryAfterMs = -1);
    // After a failed https connection: the next attempt goes to the plain fallback.
    bool takeFallback(TransferOutcome outcome);
    void report(TransferOutcome outcome);
    void dropReply();

    QNetworkAccessManager &m_nam;
    const QString m_address;
    const QString m_path;
    QString m_savedPath; // m_path, or with nameByContent its name by the content
    const Options m_options;
    const PictureAddress m_where;
    QUrl m_url; // what the attempts ask: m_where.url, or its fallback once taken
    bool m_onFallback = false;

    QPointer<QNetworkReply> m_reply;
    QPointer<ReplyWatchdog> m_watchdog;
    std::unique_ptr<QSaveFile> m_file;
    // Leading bytes held until the signature is decided; a picture of at most
    // HeldBytes is held whole.
    QByteArray m_head;
    bool m_headAccepted = false; // the head was found to be a picture worth writing
    QByteArray m_body; // with words to write, every byte written so far
    bool m_keepBody = false; // the file being written is to take the words
    qint64 m_received = 0;
    int m_status = 0; // the HTTP status of this attempt, 0 before any
    PictureEnd m_end; // whether the bytes so far make a whole picture
    bool m_sizeChecked = false; // no size to hold it to, or found no placeholder's
    qsizetype m_nextSizeCheck = 0; // head bytes before the size is looked for again
    bool m_rejected = false; // this attempt was abandoned by us, m_rejectReason says why
    TransferOutcome m_rejectReason = TransferOutcome::ConnectionFailed;

    QTimer m_retryTimer;
    TransferResult m_result;
    bool m_started = false;
    bool m_done = false;
    bool m_released = false; // arrived() was sent
};

// Starts a transfer of `address` into `path`; `done` runs once on the context's thread
// with the result (not when the transfer is cancelled).
PictureTransfer *DownloadPictureFile(QNetworkAccessManager &nam, const QString &address, const QString &path,
                                     QObject *context, std::function<void(const TransferResult &)> done,
                                     const PictureTransfer::Options &options = {});

} // namespace albivex
