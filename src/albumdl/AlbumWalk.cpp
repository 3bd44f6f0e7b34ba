#include "albumdl/AlbumWalk.h"

#include "albumdl/AlbumJobView.h"
#include "albumdl/PictureQuality.h"
#include "catalogue/AlbumListModel.h"
#include "photos/Percent.h"
#include "session/WindowState.h"
#include "storage/SaveLayout.h"
#include "storage/StaleTemporaryFiles.h"
#include "storage/UploadTime.h"

#include <QTimer>

namespace albivex {

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
    , m_saved(static_cast<size_t>(m_pictures.size()))
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
    while (!m_stopping && m_inFlight < MaxInFlight && m_next < count) {
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
        m_saved[index] = false;
        return true;
    }
    const QString folder
        = AlbumFolderPath(m_view.saveFolder(), m_state.listedOwnerUin, m_albums.entry(m_row).name);
    const QString path
        = folder + QLatin1Char('/') + PictureFileName(m_view.namingMode(), index + 1, picture.name);
    // Pictures of one name (saved without their sequence number) share a file, which
    // must end up holding the later one, as if they had been fetched one by one: a
    // picture waits until the earlier transfer to its file has ended. Case is ignored,
    // as some file systems do.
    const QString key = path.toCaseFolded();
    if (m_pathsInFlight.contains(key))
        return false;
    // The saved file carries the picture's upload time, as the selected-picture download
    // does it.
    PictureTransfer::Options options = m_options;
    options.modifiedTime = ParseUploadTime(picture.uploadTime);
    m_pathsInFlight.insert(key);
    ++m_inFlight;
    DownloadPictureFile(
        m_nam, QualityAddress(picture.url, m_view.quality()), path, this,
        [this, index, key](const TransferResult &result) { onTransferDone(index, key, result.ok()); },
        options);
    return true;
}

void AlbumWalk::onTransferDone(int index, const QString &pathKey, bool saved)
{
    --m_inFlight;
    m_pathsInFlight.remove(pathKey);
    m_saved[index] = saved;
    startMore();
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
    while (m_reported < count && m_saved[m_reported].has_value()) {
        if (lines.size() == MaxPicturesPerTurn) {
            scheduleMore();
            break;
        }
        const int index = m_reported++;
        lines << report(index, *m_saved[index]);
    }
    // One addition to the log for the lot: it scrolls to its last line once.
    if (!lines.isEmpty())
        m_view.addLogLines(lines);
}

QString AlbumWalk::report(int index, bool saved)
{
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
    return QLatin1Char('[') + m_pictures.at(index).name
        + (saved ? QStringLiteral("]下载完毕..") : QStringLiteral("]下载失败.."));
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
