#include "albumdl/AlbumWalk.h"

#include "albumdl/AlbumBookkeeping.h"
#include "albumdl/AlbumJobView.h"
#include "albumdl/PictureQuality.h"
#include "albumdl/ServicePause.h"
#include "catalogue/AlbumListModel.h"
#include "network/DropInBackground.h"
#include "network/ParseInBackground.h"
#include "network/WorkerPool.h"
#include "photos/DownloadFailedText.h"
#include "photos/FloatviewLookup.h"
#include "photos/Percent.h"
#include "session/WindowState.h"
#include "storage/AlbumDocumentBuild.h"
#include "storage/AlbumDocumentUpdate.h"
#include "storage/AlbumRecord.h"
#include "storage/SaveLayout.h"
#include "storage/StaleTemporaryFiles.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace albivex {

namespace {

// The pause before a picture turned away without a Retry-After is asked again grows
// from the transfer's retry pause up to this many times it.
constexpr int MaxPauseDoublings = 2;

} // namespace

AlbumWalk::AlbumWalk(QNetworkAccessManager &nam, const WindowState &state, AlbumListModel &albums,
                     AlbumJobView &view, int albumRow, QList<PhotoEntry> pictures,
                     const PictureTransfer::Options &options, QObject *parent)
    : QObject(parent)
    , m_nam(nam)
    , m_state(state)
    , m_albums(albums)
    , m_view(view)
    , m_row(albumRow)
    , m_pictures(std::move(pictures))
    , m_options(options)
    , m_outcomes(static_cast<size_t>(m_pictures.size()))
{ }

// Every picture recorded is in the record's journal, or queued for it: nothing is pending here.
AlbumWalk::~AlbumWalk() = default;

void AlbumWalk::setFloatview(FloatviewLookup *lookup)
{
    m_floatview = lookup;
    if (!lookup)
        return;
    lookup->setParent(this);
    lookup->setBusyLeavesUncovered(m_pause != nullptr);
    connect(lookup, &FloatviewLookup::pageDone, this, [this] {
        // A sign-in that has ended serves no further picture: the walk stops as at the
        // stop button, and its owner learns why.
        if (m_floatview->ending() == AnswerState::Expired) {
            m_sessionEnded = true;
            m_stopping = true;
        }
        if (m_pause) {
            const bool busy = m_floatview->ending() == AnswerState::Busy;
            m_pause->noteListAnswer(busy);
            if (busy)
                m_pause->begin();
        }
        startMore();
    });
}

void AlbumWalk::setServicePause(ServicePause *pause)
{
    m_pause = pause;
    if (m_floatview)
        m_floatview->setBusyLeavesUncovered(pause != nullptr);
    if (pause)
        connect(pause, &ServicePause::resumed, this, &AlbumWalk::onResumed);
}

void AlbumWalk::onResumed()
{
    const QList<Flight> held = std::exchange(m_held, {});
    for (Flight flight : held) {
        flight.busyRetries = 0;
        send(flight);
    }
    startMore();
}

void AlbumWalk::dropHeld()
{
    m_stopping = true;
    for (const Flight &flight : std::as_const(m_held)) {
        --m_inFlight;
        --m_onNetwork;
        m_next = qMin(m_next, flight.index);
    }
    m_held.clear();
    reportDone();
    endIfDone();
}

void AlbumWalk::start()
{
    m_recordFolder
        = AlbumFolderPath(m_view.saveFolder(), m_state.listedOwnerUin, m_albums.entry(m_row).name, false);
    m_view.setProgressRange(1, static_cast<int>(m_pictures.size()));
    if (m_pictures.isEmpty()) {
        startMore();
        return;
    }
    // The folder's leftovers and its record grow with the album: read on a worker
    // thread, before the first picture, unless the owner began that while listing.
    if (m_readFolder != m_recordFolder || !m_recordRead.isValid())
        m_recordRead = readRecord(m_recordFolder, m_options.idleMs);
    auto *watcher = new QFutureWatcher<std::shared_ptr<AlbumRecord>>(this);
    connect(watcher, &QFutureWatcher<std::shared_ptr<AlbumRecord>>::finished, this, [this, watcher] {
        watcher->deleteLater();
        m_record = watcher->result();
        m_recordRead = {};
        // Files of pictures an earlier run saved are never given to another picture.
        for (const QString &name : m_record->fileNames())
            m_names.reserve(name);
        // The album's folder is made on a worker before the first picture: making a
        // folder can wait for the disk, which the window's thread must not.
        ParseInBackground<bool>(
            this,
            [save = m_view.saveFolder(), owner = m_state.listedOwnerUin, name = m_albums.entry(m_row).name] {
                return !AlbumFolderPath(save, owner, name, true).isEmpty();
            },
            [this](bool) { startMore(); });
    });
    watcher->setFuture(m_recordRead);
}

AlbumWalk::RecordRead AlbumWalk::readRecord(const QString &folder, int idleMs)
{
    return QtConcurrent::run(&WorkerPool(), [folder, staleAgeMs = StaleTemporaryAgeMs(idleMs)] {
        // What an earlier run that was killed mid-transfer left in this album's folder.
        RemoveStaleTemporaryFiles(folder, staleAgeMs);
        return std::make_shared<AlbumRecord>(folder);
    });
}

void AlbumWalk::setRecordRead(const QString &folder, RecordRead read)
{
    m_readFolder = folder;
    m_recordRead = std::move(read);
}

void AlbumWalk::startMore()
{
    m_moreScheduled = false;
    const int count = static_cast<int>(m_pictures.size());
    int handled = 0;
    const bool paused = m_pause && m_pause->isPaused();
    while (m_record && !m_stopping && !paused && m_onNetwork < m_limit
           && m_puttingInPlace.size() < MaxPuttingInPlace && m_next < count) {
        if (handled == MaxPicturesPerTurn) {
            scheduleMore();
            break;
        }
        ++handled;
        // The stop is looked at before each picture only: a transfer that has begun
        // is always completed.
        if (!m_state.albumJobRunning) {
            m_stopping = true;
            break;
        }
        if (!startPicture(m_next))
            break;
        ++m_next;
    }
    // Pictures skipped without a transfer may have made more of the list reportable.
    reportDone();
    endIfDone();
}

bool AlbumWalk::startPicture(int index)
{
    const PhotoEntry &picture = m_pictures.at(index);
    const QString key = PictureRecordKey(picture);
    if (m_view.onlyNew() && m_record->isSaved(key)) {
        m_outcomes[index] = Ended {TransferOutcome::Saved, Ended::Note::AlreadySaved, false};
        return true;
    }
    // Nothing to fetch: never another picture's address in its place.
    if (!picture.isVideo && picture.url.trimmed().isEmpty()) {
        m_outcomes[index] = Ended {TransferOutcome::BadAddress, Ended::Note::None, false};
        return true;
    }
    const PictureQuality quality = m_view.quality();
    const FloatviewPhoto *viewed = nullptr;
    if (m_floatview && NeedsFloatview(picture, quality) && !picture.lloc.isEmpty()) {
        // The page from this picture on; this one and those after it wait for it.
        if (!m_floatview->covered(picture.lloc)) {
            if (m_pause && !m_floatview->isBusy()) {
                if (const int wait = m_pause->listWaitMs(); wait > 0) {
                    scheduleMoreIn(wait);
                    return false;
                }
                m_pause->noteListRequest();
            }
            m_floatview->lookUp(picture.lloc);
            return false;
        }
        viewed = m_floatview->find(picture.lloc);
    }
    const PictureSource source = ChoosePictureSource(picture, quality, viewed);
    // Taken whatever becomes of the picture, so the names of the pictures after it do
    // not depend on whether it could be fetched.
    const QString stem = stemFor(index, key, ExtensionRoom(source));
    if (!source.fetchable()) {
        const bool notTranscoded = source.kind == PictureSource::Kind::UntranscodedVideo;
        m_outcomes[index] = Ended {TransferOutcome::BadAddress,
                                   notTranscoded ? Ended::Note::NotTranscoded : Ended::Note::None, false};
        return true;
    }
    Flight flight;
    flight.index = index;
    flight.key = key;
    flight.fellBack = source.fellBack;
    flight.original = source.kind == PictureSource::Kind::Original;
    flight.folder = AlbumFolderPath(m_view.saveFolder(), m_state.listedOwnerUin, m_albums.entry(m_row).name);
    flight.path = flight.folder + QLatin1Char('/') + stem + TargetExtension(source);
    flight.address = source.address;
    // The saved file carries the picture's upload time, as the selected-picture download
    // does it.
    flight.options = TransferOptionsFor(source, picture, m_state.listedOwnerUin, m_options);
    if (m_view.writeMetadata() && source.kind != PictureSource::Kind::Video)
        flight.options.words = PictureWordsOf(picture);
    // Turned-away answers come back here, to be paced with the others.
    flight.options.handBackBusy = true;
    ++m_inFlight;
    ++m_onNetwork;
    send(flight);
    return true;
}

QString AlbumWalk::stemFor(int index, const QString &key, int extensionBytes)
{
    // The record decides: a picture saved before keeps its file, wherever the list
    // has moved it since.
    const QString recorded = m_record->fileNameOf(key);
    if (!recorded.isEmpty())
        return UniqueFileNames::stemOf(recorded);
    const QString name = PictureFileName(m_view.namingMode(), index + 1, m_pictures.at(index).name);
    return m_names.take(UniqueFileNames::stemOf(name), extensionBytes);
}

void AlbumWalk::send(const Flight &flight)
{
    const PictureTransfer *transfer = DownloadPictureFile(
        m_nam, flight.address, flight.path, this,
        [this, flight](const TransferResult &result) { onTransferDone(flight, result); }, flight.options);
    connect(transfer, &PictureTransfer::arrived, this, [this, index = flight.index] {
        m_puttingInPlace.insert(index);
        --m_onNetwork;
        startMore();
    });
}

void AlbumWalk::onTransferDone(Flight flight, const TransferResult &result)
{
    if (m_pause)
        m_pause->noteAnswer(result.turnedAway());
    if (result.turnedAway()) {
        slowDown();
        m_busyRun.insert(flight.index);
        if (flight.busyRetries < retriesAfter(result)) {
            const int pause = result.retryAfterMs >= 0
                ? qMin(result.retryAfterMs, m_options.maxRetryAfterMs)
                : m_options.retryPauseMs << qMin(flight.busyRetries, MaxPauseDoublings);
            ++flight.busyRetries;
            QTimer::singleShot(pause, this, [this, flight] {
                if (m_pause && m_pause->isPaused())
                    m_held << flight;
                else
                    send(flight);
            });
            return;
        }
        if (m_pause && limitsTheTool(result)) {
            m_held << flight;
            m_pause->begin(result.retryAfterMs);
            return;
        }
    } else {
        speedUp();
        m_busyRun.clear();
    }
    // A picture turned away for good, or failed, never arrived.
    if (!m_puttingInPlace.remove(flight.index))
        --m_onNetwork;
    --m_inFlight;
    if (result.ok() && flight.folder == m_recordFolder) {
        const QString fileName = QFileInfo(result.path).fileName();
        m_record->add(flight.key, fileName, result.bytes);
        m_saved.append({flight.index, fileName, flight.original});
    }
    if (result.ok() && result.wordsRefused)
        ++m_wordsRefused;
    m_outcomes[flight.index] = Ended {result.outcome, Ended::Note::None, flight.fellBack};
    startMore();
}

int AlbumWalk::retriesAfter(const TransferResult &result) const
{
    const bool serverError = result.outcome == TransferOutcome::HttpStatus && result.httpStatus >= 500;
    return serverError ? qMax(0, m_options.attempts - 1) : BusyRetries;
}

bool AlbumWalk::limitsTheTool(const TransferResult &result) const
{
    if (result.outcome == TransferOutcome::Placeholder)
        return false;
    return result.httpStatus == 429 || m_busyRun.size() > 1;
}

void AlbumWalk::slowDown()
{
    if (m_pacing == Pacing::Fixed)
        return;
    m_limit = qMax(1, m_limit / 2);
    m_clean = 0;
}

void AlbumWalk::speedUp()
{
    if (m_pacing == Pacing::Fixed || ++m_clean < CleanToGrow)
        return;
    m_limit = qMin(MaxInFlight, m_limit + 1);
    m_clean = 0;
}

void AlbumWalk::scheduleMore()
{
    if (m_moreScheduled)
        return;
    m_moreScheduled = true;
    QTimer::singleShot(0, this, &AlbumWalk::startMore);
}

void AlbumWalk::scheduleMoreIn(int ms)
{
    if (m_gapWaiting)
        return;
    m_gapWaiting = true;
    QTimer::singleShot(ms, this, [this] {
        m_gapWaiting = false;
        startMore();
    });
}

void AlbumWalk::reportDone()
{
    const int count = static_cast<int>(m_pictures.size());
    int ready = 0;
    while (m_reported + ready < count && ready < MaxPicturesPerTurn
           && m_outcomes[m_reported + ready].has_value())
        ++ready;
    if (ready == 0)
        return;
    if (ready == MaxPicturesPerTurn)
        scheduleMore();
    // A long run of pictures ended at once shows its progress at the last of them only:
    // the steps between would never be painted, and cost the window's thread 10,000
    // times over in a large album.
    const bool everyStep = ready <= MaxProgressStepsPerTurn;
    const int onDiskBefore = m_tally.saved + m_tally.skipped;
    QStringList lines;
    for (int i = 0; i < ready; ++i) {
        const int index = m_reported++;
        if (everyStep || i == ready - 1)
            showProgress(index + 1);
        lines += report(index, *m_outcomes[index]);
    }
    // One addition to the log for the lot: it scrolls to its last line once.
    m_view.addLogLines(lines);
    Q_EMIT picturesReported(ready, m_tally.saved + m_tally.skipped - onDiskBefore);
}

void AlbumWalk::showProgress(int number)
{
    const int count = static_cast<int>(m_pictures.size());
    const AlbumEntry &album = m_albums.entry(m_row);
    const QString percent = QString::number(PercentText(number, count));
    m_view.setStatusText(QStringLiteral("正在下载相册[") + album.name + QStringLiteral("]（") + percent
                         + QStringLiteral("%）"));
    m_albums.setDownloadState(m_row,
                              QString::number(number) + QLatin1Char('/') + album.pictureCount
                                  + QLatin1Char('(') + percent + QStringLiteral("%)"));
    m_view.setProgressValue(number);
}

QStringList AlbumWalk::report(int index, const Ended &ended)
{
    const AlbumEntry &album = m_albums.entry(m_row);
    QStringList lines;
    if (ended.fellBack && !m_fallBackLogged) {
        m_fallBackLogged = true;
        lines << QLatin1Char('[') + album.name + QStringLiteral("]部分照片没有原图，已保存普通大图..");
    }
    const QString head = QLatin1Char('[') + m_pictures.at(index).name + QLatin1Char(']');
    if (ended.note == Ended::Note::AlreadySaved) {
        ++m_tally.skipped;
        lines << head + QStringLiteral("已存在..");
    } else if (ended.note == Ended::Note::NotTranscoded) {
        ++m_tally.failed;
        lines << head + NotTranscodedText();
        m_failures << lines.last();
    } else if (ended.outcome == TransferOutcome::Saved) {
        ++m_tally.saved;
        lines << head + QStringLiteral("下载完毕..");
    } else {
        ++m_tally.failed;
        lines << head + DownloadFailedText(ended.outcome);
        m_failures << lines.last();
    }
    return lines;
}

void AlbumWalk::endIfDone()
{
    if (m_ended)
        return;
    const int count = static_cast<int>(m_pictures.size());
    if (m_reported == count)
        end(false);
    else if (m_stopping && m_inFlight == 0 && m_reported == m_next)
        end(true);
}

void AlbumWalk::end(bool stopped)
{
    m_ended = true;
    const AlbumEntry &album = m_albums.entry(m_row);
    if (m_wordsRefused > 0)
        m_view.addLogLines({QLatin1Char('[') + album.name
                            + QStringLiteral("]%1张照片无法写入照片信息..").arg(m_wordsRefused)});
    // An album listed empty has nothing to describe.
    if (!m_pictures.isEmpty()) {
        AlbumDocumentUpdate update;
        update.folder = m_recordFolder;
        update.document = AlbumDocumentOf(album, m_state.listedOwnerUin);
        // What grows with the album is let go on worker threads from here on: the
        // listing and the saves with the update, the record and the names taken after it.
        update.listing = std::exchange(m_pictures, {});
        update.listedSaves = std::exchange(m_saved, {});
        DropInBackground(std::make_tuple(std::exchange(m_record, {}), std::exchange(m_names, {}),
                                         std::exchange(m_outcomes, {})));
        // The record, kept up by its journal during the album, is written whole there.
        update.compactRecord = true;
        if (!m_bookkeeping)
            m_bookkeeping = new AlbumBookkeeping(this);
        AlbumJobView *view = &m_view;
        m_bookkeeping->run([update = std::move(update)] { return UpdateAlbumDocument(update); },
                           [view, albumName = album.name](std::optional<QString> error) {
                               if (error)
                                   view->addLogLines({QLatin1Char('[') + albumName
                                                      + QStringLiteral("]相册信息无法保存：") + *error});
                           });
    }
    if (stopped)
        Q_EMIT this->stopped();
    else
        Q_EMIT finished();
}

} // namespace albivex
