#include "moodsdl/MoodSaver.h"

#include "albumdl/ServicePause.h"
#include "network/ParseInBackground.h"
#include "photos/DownloadFailedText.h"
#include "storage/AlbumRecord.h"
#include "storage/UploadTime.h"

#include <QDir>
#include <QFileInfo>
#include <QTimeZone>
#include <QTimer>

namespace albivex {

namespace {

QDateTime PostTime(const MoodPost &post)
{
    if (post.createdTime > 0)
        return QDateTime::fromSecsSinceEpoch(post.createdTime, QTimeZone(8 * 3600));
    return ParseUploadTime(post.createText);
}

QString FailedText(TransferOutcome outcome)
{
    // A dead link of a post answers with the small "图片不存在" picture.
    return outcome == TransferOutcome::Placeholder ? QStringLiteral("下载失败（图片不存在）..")
                                                   : DownloadFailedText(outcome);
}

} // namespace

MoodSaver::MoodSaver(QNetworkAccessManager &nam, std::shared_ptr<AlbumRecord> record, const QString &folder,
                     const PictureTransfer::Options &options, ServicePause *pause, QObject *parent)
    : QObject(parent)
    , m_nam(nam)
    , m_record(std::move(record))
    , m_folder(folder)
    , m_options(options)
    , m_pause(pause)
{ }

MoodSaver::~MoodSaver()
{
    stop();
}

bool MoodSaver::holdsWhole(const MoodPost &post, const QStringList &lost) const
{
    for (const MoodMediaItem &item : MoodMediaOf(post)) {
        if (!lost.contains(item.address) && !m_record->isSaved(item.key))
            return false;
    }
    return true;
}

int MoodSaver::add(int number, const MoodPost &post, const QStringList &lost)
{
    const QDateTime time = PostTime(post);
    return addFiles(number, MoodMediaOf(post), PictureWords {time, post.content, QString()}, time, lost);
}

int MoodSaver::addFiles(int number, const QList<MoodMediaItem> &items, const PictureWords &words,
                        const QDateTime &time, const QStringList &lost)
{
    Open open;
    for (const MoodMediaItem &item : items) {
        if (m_skipRecorded && lost.contains(item.address)) {
            open.end.lost << item.address;
            continue;
        }
        if (m_skipRecorded && m_record->isSaved(item.key)) {
            ++open.end.skipped;
            open.end.files.insert(item.address, m_record->fileNameOf(item.key));
            continue;
        }
        // A file the record knows keeps its name, also when saved again.
        MoodMediaItem named = item;
        if (const QString recorded = m_record->fileNameOf(item.key); !recorded.isEmpty())
            named.fileName = recorded;
        m_queue.append({number, named, words, time, 0});
        ++open.remaining;
    }
    const int toFetch = open.remaining;
    if (toFetch == 0) {
        Q_EMIT postEnded(number, open.end);
        return 0;
    }
    m_posts.insert(number, open);
    startMore();
    return toFetch;
}

QHash<int, MoodSaver::PostEnd> MoodSaver::stop()
{
    const QList<QPointer<PictureTransfer>> inFlight = std::exchange(m_inFlight, {});
    for (const QPointer<PictureTransfer> &transfer : inFlight) {
        if (transfer)
            transfer->cancel();
    }
    m_queue.clear();
    m_held.clear();
    QHash<int, PostEnd> open;
    for (auto it = m_posts.cbegin(); it != m_posts.cend(); ++it)
        open.insert(it.key(), it.value().end);
    m_posts.clear();
    return open;
}

void MoodSaver::resume()
{
    m_queue = m_held + m_queue;
    m_held.clear();
    startMore();
}

void MoodSaver::startMore()
{
    // The folder is made on a worker before the first file: making a folder can wait
    // for the disk, which the window's thread must not.
    if (!m_folderMade && !m_queue.isEmpty()) {
        if (std::exchange(m_folderMaking, true))
            return;
        // A folder that could not be made fails the transfers, which say so.
        ParseInBackground<bool>(
            this, [folder = m_folder] { return QDir().mkpath(folder); },
            [this](bool) {
                m_folderMade = true;
                startMore();
            });
        return;
    }
    while (!m_queue.isEmpty() && m_inFlight.size() < MaxInFlight && !(m_pause && m_pause->isPaused()))
        send(m_queue.takeFirst());
}

void MoodSaver::send(const Job &job)
{
    PictureTransfer::Options options = m_options;
    options.modifiedTime = job.time;
    options.listedSize = job.item.listedSize;
    options.gifPlaceholder = true;
    options.handBackBusy = true;
    options.video = job.item.video;
    options.nameByContent = !job.item.video;
    if (!job.item.video && m_writeMetadata && m_writeMetadata())
        options.words = job.words;
    auto *transfer = new PictureTransfer(m_nam, job.item.address, QDir(m_folder).filePath(job.item.fileName),
                                         options, this);
    m_inFlight.append(transfer);
    connect(transfer, &PictureTransfer::finished, this, [this, transfer, job](const TransferResult &result) {
        m_inFlight.removeAll(transfer);
        transfer->deleteLater();
        onDone(job, result);
    });
    transfer->start();
}

void MoodSaver::onDone(const Job &job, const TransferResult &result)
{
    const bool busy = result.outcome == TransferOutcome::HttpStatus && IsBusyStatus(result.httpStatus);
    if (m_pause)
        m_pause->noteAnswer(busy);
    if (busy && result.httpStatus == 429 && m_pause) {
        // The service limits the tool: the whole run waits, this file with it.
        m_held.append(job);
        m_pause->begin(result.retryAfterMs);
        return;
    }
    if (busy && job.serverErrors < ServerErrorRetries) {
        Job again = job;
        ++again.serverErrors;
        QTimer::singleShot(m_options.retryPauseMs << job.serverErrors, this, [this, again] {
            if (!m_posts.contains(again.post))
                return; // stopped meanwhile
            m_queue.prepend(again);
            startMore();
        });
        startMore();
        return;
    }
    Open &open = m_posts[job.post];
    const QString name = result.ok() ? QFileInfo(result.path).fileName() : job.item.fileName;
    if (result.ok()) {
        ++open.end.saved;
        open.end.files.insert(job.item.address, name);
        m_record->add(job.item.key, name, result.bytes);
        Q_EMIT fileSaved();
    } else {
        ++open.end.failed;
        open.end.failures << QLatin1Char('[') + name + QLatin1Char(']') + FailedText(result.outcome);
        if (result.outcome == TransferOutcome::Placeholder)
            open.end.lost << job.item.address;
    }
    endItem(job.post);
    startMore();
}

void MoodSaver::endItem(int post)
{
    auto it = m_posts.find(post);
    if (it == m_posts.end() || --it->remaining > 0)
        return;
    const PostEnd end = it->end;
    m_posts.erase(it);
    Q_EMIT postEnded(post, end);
}

} // namespace albivex
