#include "albumdl/AlbumWalk.h"

#include "albumdl/AlbumJobView.h"
#include "albumdl/PictureQuality.h"
#include "catalogue/AlbumListModel.h"
#include "photos/DownloadFailedText.h"
#include "photos/Percent.h"
#include "session/WindowState.h"
#include "storage/SaveLayout.h"
#include "storage/StaleTemporaryFiles.h"
#include "storage/UploadTime.h"

#include <QTimer>

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

void AlbumWalk::start()
{
    // What an earlier run that was killed mid-transfer left in this album's folder
    // goes before the first picture.
    RemoveStaleTemporaryFiles(
        AlbumFolderPath(m_view.saveFolder(), m_state.listedOwnerUin, m_albums.entry(m_row).name, false),
        StaleTemporaryAgeMs(m_options.idleMs));
    m_view.setProgressRange(1, static_cast<int>(m_pictures.size()));
    startMore();
}

void AlbumWalk::startMore()
{
    m_moreScheduled = false;
    const int count = static_cast<int>(m_pictures.size());
    int handled = 0;
    while (!m_stopping && m_onNetwork < m_limit && m_puttingInPlace.size() < MaxPuttingInPlace
           && m_next < count) {
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
    // Nothing to fetch: never another picture's address in its place.
    if (picture.url.trimmed().isEmpty()) {
        m_outcomes[index] = TransferOutcome::BadAddress;
        return true;
    }
    Flight flight;
    flight.index = index;
    const QString folder
        = AlbumFolderPath(m_view.saveFolder(), m_state.listedOwnerUin, m_albums.entry(m_row).name);
    flight.path = folder + QLatin1Char('/') + PictureFileName(m_view.namingMode(), index + 1, picture.name);
    // Pictures of one name (saved without their sequence number) share a file, which
    // must end up holding the later one, as if they had been fetched one by one: a
    // picture waits until the earlier transfer to its file has ended. Case is ignored,
    // as some file systems do.
    flight.pathKey = flight.path.toCaseFolded();
    if (m_pathsInFlight.contains(flight.pathKey))
        return false;
    flight.address = QualityAddress(picture.url, m_view.quality());
    flight.options = m_options;
    // The saved file carries the picture's upload time, as the selected-picture download
    // does it.
    flight.options.modifiedTime = ParseUploadTime(picture.uploadTime);
    // The listed size is the listed picture's: a smaller copy asked for instead is not
    // held to it.
    if (flight.address == picture.url)
        flight.options.listedSize = QSize(picture.width, picture.height);
    // Turned-away answers come back here, to be paced with the others.
    flight.options.handBackBusy = true;
    m_pathsInFlight.insert(flight.pathKey);
    ++m_inFlight;
    ++m_onNetwork;
    send(flight);
    return true;
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
    if (result.turnedAway()) {
        slowDown();
        if (flight.busyRetries < retriesAfter(result)) {
            const int pause = result.retryAfterMs >= 0
                ? qMin(result.retryAfterMs, m_options.maxRetryAfterMs)
                : m_options.retryPauseMs << qMin(flight.busyRetries, MaxPauseDoublings);
            ++flight.busyRetries;
            QTimer::singleShot(pause, this, [this, flight] { send(flight); });
            return;
        }
    } else {
        speedUp();
    }
    // A picture turned away for good, or failed, never arrived.
    if (!m_puttingInPlace.remove(flight.index))
        --m_onNetwork;
    --m_inFlight;
    m_pathsInFlight.remove(flight.pathKey);
    m_outcomes[flight.index] = result.outcome;
    startMore();
}

int AlbumWalk::retriesAfter(const TransferResult &result) const
{
    const bool serverError = result.outcome == TransferOutcome::HttpStatus && result.httpStatus >= 500;
    return serverError ? qMax(0, m_options.attempts - 1) : BusyRetries;
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

void AlbumWalk::reportDone()
{
    const int count = static_cast<int>(m_pictures.size());
    QStringList lines;
    while (m_reported < count && m_outcomes[m_reported].has_value()) {
        if (lines.size() == MaxPicturesPerTurn) {
            scheduleMore();
            break;
        }
        const int index = m_reported++;
        lines << report(index, *m_outcomes[index]);
    }
    // One addition to the log for the lot: it scrolls to its last line once.
    if (!lines.isEmpty())
        m_view.addLogLines(lines);
}

QString AlbumWalk::report(int index, TransferOutcome outcome)
{
    const bool saved = outcome == TransferOutcome::Saved;
    const int count = static_cast<int>(m_pictures.size());
    const int number = index + 1;
    const AlbumEntry &album = m_albums.entry(m_row);
    const QString percent = QString::number(PercentText(number, count));
    m_view.setStatusText(QStringLiteral("正在下载相册[") + album.name + QStringLiteral("]（") + percent
                         + QStringLiteral("%）"));
    m_albums.setDownloadState(m_row,
                              QString::number(number) + QLatin1Char('/') + album.pictureCount
                                  + QLatin1Char('(') + percent + QStringLiteral("%)"));
    m_view.setProgressValue(number);
    if (saved)
        ++m_tally.saved;
    else
        ++m_tally.failed;
    return QLatin1Char('[') + m_pictures.at(index).name + QLatin1Char(']')
        + (saved ? QStringLiteral("下载完毕..") : DownloadFailedText(outcome));
}

void AlbumWalk::endIfDone()
{
    if (m_ended)
        return;
    const int count = static_cast<int>(m_pictures.size());
    if (m_reported == count) {
        m_ended = true;
        Q_EMIT finished();
    } else if (m_stopping && m_inFlight == 0 && m_reported == m_next) {
        m_ended = true;
        Q_EMIT stopped();
    }
}

} // namespace albivex
