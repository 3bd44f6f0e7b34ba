#include "storage/PictureTransfer.h"

#include "network/CookieRestriction.h"
#include "network/ReplyWatchdog.h"
#include "storage/PictureEnd.h"
#include "storage/PictureSignature.h"
#include "storage/PlaceholderCheck.h"
#include "storage/VideoSignature.h"

#include <QFutureWatcher>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QThreadPool>
#include <QTimeZone>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace albivex {

namespace {

// What the reply may hold in memory before we take it, and the pieces we take.
constexpr qint64 ReadBufferBytes = 256 * 1024;
constexpr qint64 ChunkBytes = 64 * 1024;
// A picture of at most this size (most are) is held whole and reaches the disk in one
// write, on a worker thread; a larger one is streamed to its file as it arrives, never
// held whole.
constexpr qsizetype HeldBytes = 512 * 1024;
constexpr int MaxRedirects = 10;

bool isTransientStatus(int status)
{
    return status >= 500 || status == 429 || status == 408;
}

bool isSuccessStatus(int status)
{
    return status >= 200 && status < 300;
}

// Retry-After as delta-seconds or as an HTTP date; -1 when absent or unreadable.
int retryAfterMs(const QNetworkReply &reply)
{
    const QByteArray value = reply.rawHeader("Retry-After").trimmed();
    if (value.isEmpty())
        return -1;
    bool ok = false;
    const qint64 seconds = value.toLongLong(&ok);
    if (ok)
        return seconds < 0 ? -1 : int(qMin<qint64>(seconds, 24 * 3600) * 1000);
    QDateTime when = QLocale::c().toDateTime(QString::fromLatin1(value),
                                             QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
    if (!when.isValid())
        return -1;
    when.setTimeZone(QTimeZone::utc());
    const qint64 ms = QDateTime::currentDateTimeUtc().msecsTo(when);
    return int(qBound<qint64>(0, ms, 24LL * 3600 * 1000));
}

// The body's length as the answer announces it; -1 when it announces none that counts
// the bytes received (none at all, or a content encoding).
qint64 announcedLength(const QNetworkReply &reply)
{
    const QByteArray encoding = reply.rawHeader("Content-Encoding").trimmed().toLower();
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    return (encoding.isEmpty() || encoding == "identity") && length.isValid() ? length.toLongLong() : -1;
}

// Transport errors that a later try may not see again.
bool isTransientError(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return false;
    default:
        return true;
    }
}

} // namespace

PictureTransfer::PictureTransfer(QNetworkAccessManager &nam, const QString &address, const QString &path,
                                 const Options &options, QObject *parent)
    : PictureTransfer(nam, SecurePictureAddress(address, options.servicesRedirected), path, options, parent)
{ }

PictureTransfer::PictureTransfer(QNetworkAccessManager &nam, const PictureAddress &address,
                                 const QString &path, const Options &options, QObject *parent)
    : QObject(parent)
    , m_nam(nam)
    , m_address(address.url.toString())
    , m_path(path)
    , m_options(options)
    , m_where(address)
{
    m_retryTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &PictureTransfer::sendAttempt);
}

// Not Qt's global pool: the window's paint engine splits large fills over that pool
// and waits for them, so fills queued there behind syncs that take tens of
// milliseconds on a busy disk would stall the window for as long.
QThreadPool &PictureTransfer::placementPool()
{
    // Destroyed at exit only once every picture handed in is in place.
    static QThreadPool pool;
    return pool;
}

PictureTransfer::~PictureTransfer()
{
    dropReply();
}

void PictureTransfer::start()
{
    if (m_started)
        return;
    m_started = true;
    m_url = m_where.url;
    const QString scheme = m_url.scheme().toLower();
    // Addresses come from service answers: only web addresses are fetched, never a
    // local file or another scheme the network manager would also serve.
    if (!m_url.isValid() || m_url.host().isEmpty()
        || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        QTimer::singleShot(0, this, [this] {
            if (!m_done)
                report(TransferOutcome::BadAddress);
        });
        return;
    }
    sendAttempt();
}

void PictureTransfer::cancel()
{
    if (m_done)
        return;
    m_done = true;
    m_retryTimer.stop();
    dropReply();
    m_file.reset();
    deleteLater();
}

void PictureTransfer::sendAttempt()
{
    if (m_done)
        return;
    ++m_result.attempts;
    m_head.clear();
    m_received = 0;
    m_status = 0;
    m_end = PictureEnd();
    m_rejected = false;
    m_sizeChecked
        = m_options.video || m_options.listedSize.width() <= 0 || m_options.listedSize.height() <= 0;
    m_nextSizeCheck = 0;

    QNetworkRequest request(m_url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    if (!m_options.referer.isEmpty())
        request.setRawHeader("Referer", m_options.referer);
    // In clear text: the photo key alone goes along.
    if (m_onFallback)
        RestrictCookies(request, m_nam.cookieJar(), PhotoKeyCookie);
    m_reply = m_nam.get(request);
    m_reply->setReadBufferSize(ReadBufferBytes);
    m_watchdog = new ReplyWatchdog(m_reply, m_options.idleMs);
    connect(m_reply, &QNetworkReply::readyRead, this, &PictureTransfer::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &PictureTransfer::onFinished);
}

PictureSignature PictureTransfer::checkHead(bool complete) const
{
    if (!m_options.video)
        return CheckPictureSignature(m_head, complete);
    switch (CheckVideoSignature(m_head, complete)) {
    case VideoSignature::NeedMoreBytes:
        return PictureSignature::NeedMoreBytes;
    case VideoSignature::Video:
        return PictureSignature::Picture;
    case VideoSignature::NotVideo:
        break;
    }
    return PictureSignature::NotPicture;
}

void PictureTransfer::chooseSavedPath()
{
    m_savedPath = m_path;
    if (m_options.nameByContent) {
        // Chosen only once the head is known, so the temporary file carries the final
        // extension as well (RemoveStaleTemporaryFiles knows those names).
        const QString extension = PictureExtension(m_head);
        const qsizetype slash = m_path.lastIndexOf(QLatin1Char('/'));
        const qsizetype dot = m_path.lastIndexOf(QLatin1Char('.'));
        if (!extension.isEmpty() && dot > slash + 1)
            m_savedPath = m_path.left(dot) + extension;
    }
}

bool PictureTransfer::openTarget()
{
    chooseSavedPath();
    m_file = OpenTemporary(m_savedPath);
    return m_file != nullptr;
}

std::unique_ptr<QSaveFile> PictureTransfer::OpenTemporary(const QString &path)
{
    auto file = std::make_unique<QSaveFile>(path);
    // Never write the final name directly, even where a rename is impossible.
    file->setDirectWriteFallback(false);
    // Unbuffered: every piece that arrives reaches the file at once, so a temporary
    // file that has not changed for longer than the idle limit belongs to no live
    // transfer (RemoveStaleTemporaryFiles relies on it).
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return nullptr;
    return file;
}

// Takes the next piece of the body: holds the first bytes until they show a picture,
// then writes through. False when the attempt must end; m_rejectReason says why.
bool PictureTransfer::consume(const QByteArray &chunk)
{
    m_received += chunk.size();
    m_end.feed(chunk);
    if (m_received > m_options.maxBytes) {
        m_rejectReason = TransferOutcome::TooLarge;
        return false;
    }
    if (!m_file) {
        m_head += chunk;
        if (!m_headAccepted) {
            switch (checkHead(false)) {
            case PictureSignature::NeedMoreBytes:
                return true;
            case PictureSignature::NotPicture:
                m_rejectReason = TransferOutcome::NotAPicture;
                return false;
            case PictureSignature::Picture:
                break;
            }
            switch (checkSize()) {
            case HeadCheck::Hold:
                return true;
            case HeadCheck::Reject:
                m_rejectReason = TransferOutcome::Placeholder;
                return false;
            case HeadCheck::Write:
                break;
            }
            m_headAccepted = true;
        }
        // A small picture is held whole and written by the worker that puts it in
        // place: creating a file takes milliseconds on a busy disk, and the window's
        // thread must not wait for it. A larger one goes to its file as it arrives.
        if (m_head.size() <= HeldBytes)
            return true;
        if (!openTarget() || m_file->write(m_head) != m_head.size()) {
            m_rejectReason = TransferOutcome::WriteFailed;
            return false;
        }
        // The words go only into formats made for them: the body is kept for the
        // writer then alone.
        m_keepBody = wordsWanted() && TakesPictureWords(m_head);
        if (m_keepBody)
            m_body = m_head;
        m_head.clear();
        return true;
    }
    if (m_keepBody)
        m_body += chunk;
    if (m_file->write(chunk) != chunk.size()) {
        m_rejectReason = TransferOutcome::WriteFailed;
        return false;
    }
    return true;
}

PictureTransfer::HeadCheck PictureTransfer::checkSize()
{
    if (m_sizeChecked)
        return HeadCheck::Write;
    const bool atLimit = m_head.size() >= PlaceholderHeadBytes;
    // Looked for as the head doubles, so a reader that needs more than the header
    // costs a few looks, not one per piece.
    if (m_end.headerWhole() && m_head.size() >= m_nextSizeCheck) {
        switch (CheckPlaceholder(m_head, m_options.listedSize, atLimit, m_options.gifPlaceholder)) {
        case PlaceholderVerdict::Placeholder:
            return HeadCheck::Reject;
        case PlaceholderVerdict::Picture:
            m_sizeChecked = true;
            return HeadCheck::Write;
        case PlaceholderVerdict::NeedMoreBytes:
            m_nextSizeCheck = m_head.size() * 2;
            break;
        }
    }
    if (!atLimit)
        return HeadCheck::Hold;
    // A header too long to wait for: the picture is taken as it is.
    m_sizeChecked = true;
    return HeadCheck::Write;
}

void PictureTransfer::rejectAttempt(TransferOutcome outcome)
{
    m_rejected = true;
    m_rejectReason = outcome;
    // abort() reports finished at once; onFinished ends the attempt.
    if (m_reply)
        m_reply->abort();
}

void PictureTransfer::onReadyRead()
{
    if (!m_reply || m_rejected)
        return;
    const int status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status != 0 && !isSuccessStatus(status)) {
        // The error page of a failed status is of no use; stop receiving it.
        rejectAttempt(TransferOutcome::HttpStatus);
        return;
    }
    // The last piece of a body of known length waits for finished(), which follows at
    // once: there the network is released first, and then it goes to the disk.
    const qint64 announced = announcedLength(*m_reply);
    if (announced >= 0 && m_received + m_reply->bytesAvailable() >= announced)
        return;
    while (m_reply && !m_rejected && m_reply->bytesAvailable() > 0) {
        if (!consume(m_reply->read(ChunkBytes))) {
            rejectAttempt(m_rejectReason);
            return;
        }
    }
}

void PictureTransfer::onFinished()
{
    QNetworkReply *reply = m_reply;
    if (!reply || m_done)
        return;
    reply->disconnect(this);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_status = status;
    if (status != 0)
        m_result.httpStatus = status;

    if (m_rejected) {
        const bool transient = m_rejectReason == TransferOutcome::HttpStatus && isTransientStatus(status);
        endAttempt(m_rejectReason, transient, transient ? retryAfterMs(*reply) : -1);
        return;
    }
    if (m_watchdog && m_watchdog->fired()) {
        endAttempt(TransferOutcome::TimedOut, true);
        return;
    }
    // A redirect that was to be followed but could not be: the failure is the one at
    // its target (refused, reset...), not the redirect's status.
    if (status >= 300 && status < 400 && reply->error() != QNetworkReply::NoError) {
        endAttempt(TransferOutcome::ConnectionFailed, isTransientError(reply->error()));
        return;
    }
    if (status != 0 && !isSuccessStatus(status)) {
        endAttempt(TransferOutcome::HttpStatus, isTransientStatus(status), retryAfterMs(*reply));
        return;
    }

    // Every announced byte is in and the transport is fine: whatever follows is decided
    // here, with no further attempt, so the network is free for the next picture while
    // this one is checked and written. Unless it may yet prove the service's
    // placeholder, which its owner asks for again: that is ruled out first.
    const qint64 announced = announcedLength(*reply);
    if (reply->error() == QNetworkReply::NoError && announced > 0
        && m_received + reply->bytesAvailable() == announced) {
        if (!m_sizeChecked
            && CheckPlaceholder(m_head + reply->peek(PlaceholderHeadBytes), m_options.listedSize, true,
                                m_options.gifPlaceholder)
                != PlaceholderVerdict::Placeholder)
            m_sizeChecked = true; // the same verdict the pieces would reach, once
        if (m_sizeChecked)
            releaseNetwork();
    }
    // Whatever is still buffered belongs to the body, also after a transport error
    // (it decides whether the body was cut short or never started).
    while (reply->bytesAvailable() > 0) {
        if (!consume(reply->read(ChunkBytes))) {
            endAttempt(m_rejectReason, false);
            return;
        }
    }
    const bool cutShort = announced >= 0 && m_received < announced;

    if (reply->error() != QNetworkReply::NoError) {
        if (cutShort && m_received > 0)
            endAttempt(TransferOutcome::Truncated, true);
        else
            endAttempt(TransferOutcome::ConnectionFailed, isTransientError(reply->error()));
        return;
    }
    if (cutShort) {
        endAttempt(TransferOutcome::Truncated, true);
        return;
    }
    if (m_received == 0) {
        endAttempt(TransferOutcome::EmptyBody, false);
        return;
    }
    // Without a length to hold it to (chunked, or ended by a close), the body is whole
    // only when the picture itself has ended: a chunked body whose connection was cut
    // before its last chunk is at times reported as complete by the network layer.
    if (announced < 0 && !m_end.reached()) {
        endAttempt(TransferOutcome::Truncated, true);
        return;
    }
    if (!m_file) {
        // A body shorter than the longest signature, or one whose size was still
        // looked for: decide on what there is.
        if (!m_headAccepted && checkHead(true) != PictureSignature::Picture) {
            endAttempt(TransferOutcome::NotAPicture, false);
            return;
        }
        if (!m_sizeChecked
            && CheckPlaceholder(m_head, m_options.listedSize, true, m_options.gifPlaceholder)
                == PlaceholderVerdict::Placeholder) {
            endAttempt(TransferOutcome::Placeholder, false);
            return;
        }
        // The whole picture is held: the worker writes it (putInPlace).
        chooseSavedPath();
    }
    putInPlace();
}

void PictureTransfer::putInPlace()
{
    dropReply();
    releaseNetwork();
    // Syncing the file to the disk takes milliseconds on many disks, and writing words
    // into a picture reads it whole: both are done on a worker thread, so neither the
    // window nor the other transfers wait for them. The file belongs to no thread
    // meanwhile; the task alone touches it.
    std::shared_ptr<QSaveFile> file(m_file.release());
    if (file)
        file->moveToThread(nullptr);
    // Without a file the picture is held whole, and the worker writes it first.
    QByteArray held = std::exchange(m_head, QByteArray());
    const QString path = m_savedPath;
    const QDateTime modified = m_options.modifiedTime;
    // A picture held whole is looked at here; a written one as its file was opened.
    const bool withWords = file ? m_keepBody : wordsWanted() && TakesPictureWords(held);
    const std::optional<PictureWords> words = withWords ? m_options.words : std::nullopt;
    QByteArray body = std::exchange(m_body, QByteArray());
    if (!file && words)
        body = held;
    auto *watcher = new QFutureWatcher<Placed>(this);
    connect(watcher, &QFutureWatcher<Placed>::finished, this, [this, watcher] {
        const Placed placed = watcher->result();
        watcher->deleteLater();
        if (m_done) // cancelled meanwhile: nothing is reported
            return;
        if (placed.saved) {
            m_result.bytes = placed.bytes;
            m_result.path = m_savedPath;
            m_result.wordsRefused = placed.wordsRefused;
        }
        endAttempt(placed.saved ? TransferOutcome::Saved : TransferOutcome::WriteFailed, false);
    });
    watcher->setFuture(QtConcurrent::run(
        &placementPool(),
        [file, held = std::move(held), path, modified, words, body = std::move(body)]() -> Placed {
            if (file)
                return place(*file, modified, words, body);
            const std::unique_ptr<QSaveFile> fresh = OpenTemporary(path);
            if (!fresh || fresh->write(held) != held.size())
                return {};
            return place(*fresh, modified, words, body);
        }));
}

PictureTransfer::Placed PictureTransfer::place(QSaveFile &file, const QDateTime &modified,
                                               const std::optional<PictureWords> &words,
                                               const QByteArray &received)
{
    Placed placed;
    if (!file.flush())
        return placed;
    placed.bytes = file.size();
    if (words) {
        const MetadataWrite written = WritePictureMetadata(received, *words);
        placed.wordsRefused = !written.ok();
        if (written.ok() && written.bytes != received) {
            if (!file.seek(0) || file.write(written.bytes) != written.bytes.size()
                || !file.resize(written.bytes.size()) || !file.flush())
                return placed;
            placed.bytes = written.bytes.size();
        }
    }
    // Set on the temporary file, so the rename brings the time along and a failed
    // commit leaves nothing behind.
    if (modified.isValid())
        file.setFileTime(modified, QFileDevice::FileModificationTime);
    placed.saved = file.commit();
    return placed;
}

bool PictureTransfer::wordsWanted() const
{
    return m_options.words.has_value() && !m_options.video;
}

void PictureTransfer::releaseNetwork()
{
    if (m_released)
        return;
    m_released = true;
    Q_EMIT arrived();
}

bool PictureTransfer::takeFallback(TransferOutcome outcome)
{
    const bool connectionFailed
        = outcome == TransferOutcome::ConnectionFailed || outcome == TransferOutcome::TimedOut;
    if (m_onFallback || m_where.plainFallback.isEmpty() || !connectionFailed || m_status != 0
        || m_received > 0)
        return false;
    m_onFallback = true;
    m_url = m_where.plainFallback;
    return true;
}

void PictureTransfer::endAttempt(TransferOutcome outcome, bool transient, int retryAfter)
{
    dropReply();
    m_file.reset(); // an uncommitted temporary file is removed here
    m_head.clear();
    m_headAccepted = false;
    m_body.clear();
    m_keepBody = false;
    m_rejected = false;
    if (takeFallback(outcome)) {
        sendAttempt();
        return;
    }
    m_result.retryAfterMs = retryAfter;
    const bool handedBack
        = m_options.handBackBusy && outcome == TransferOutcome::HttpStatus && IsBusyStatus(m_status);
    if (outcome != TransferOutcome::Saved && transient && !handedBack
        && m_result.attempts < m_options.attempts) {
        const int pause = retryAfter >= 0 ? qMin(retryAfter, m_options.maxRetryAfterMs)
                                          : m_options.retryPauseMs << (m_result.attempts - 1);
        m_retryTimer.start(pause);
        return;
    }
    report(outcome);
}

void PictureTransfer::report(TransferOutcome outcome)
{
    m_done = true;
    m_result.outcome = outcome;
    Q_EMIT finished(m_result);
    deleteLater();
}

void PictureTransfer::dropReply()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->disconnect(this);
    if (reply->isRunning())
        reply->abort();
    reply->deleteLater();
}

PictureTransfer *DownloadPictureFile(QNetworkAccessManager &nam, const QString &address, const QString &path,
                                     QObject *context, std::function<void(const TransferResult &)> done,
                                     const PictureTransfer::Options &options)
{
    auto *transfer = new PictureTransfer(nam, address, path, options, context);
    QObject::connect(transfer, &PictureTransfer::finished, context,
                     [done = std::move(done)](const TransferResult &result) {
                         if (done)
                             done(result);
                     });
    transfer->start();
    return transfer;
}

} // namespace albivex
