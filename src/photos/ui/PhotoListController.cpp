#include "photos/ui/PhotoListController.h"

#include "catalogue/AlbumAnswers.h"
#include "catalogue/AlbumListModel.h"
#include "catalogue/ListTexts.h"
#include "photos/ListingProgress.h"
#include "photos/PhotoListFetch.h"
#include "photos/PhotoListModel.h"
#include "photos/PhotoListingView.h"
#include "photos/ShownText.h"
#include "qzone/Endpoints.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"

#include <QTimer>

namespace albivex {

PhotoListController::PhotoListController(QNetworkAccessManager &network, const Endpoints &endpoints,
                                         WindowState &state, AlbumListModel &albums, PhotoListModel &photos,
                                         ActivityLog &log, Prompts &prompts,
                                         const BusyRetryOptions &busyRetry, PhotoListingView &view,
                                         QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_albums(albums)
    , m_photos(photos)
    , m_log(log)
    , m_prompts(prompts)
    , m_busyRetry(busyRetry)
    , m_view(view)
{ }

void PhotoListController::viewAlbum()
{
    const int albumRow = m_view.selectedAlbumRow();
    const AlbumEntry album = m_albums.entry(albumRow);
    if (albumRow < 0 || album.name.isEmpty()) {
        m_view.setStatusText(QStringLiteral("、请选择相册"));
        m_prompts.inform(AppBoxTitle(), QStringLiteral("请选择相册"), Prompts::Icon::Information);
        return;
    }
    if (!album.allowAccess) {
        m_view.setStatusText(NoAccessText());
        m_prompts.inform(AppBoxTitle(), NoAccessText(), Prompts::Icon::Information);
        return;
    }
    m_albums.answers().obtain(m_prompts, album, this, [this, album](std::optional<AlbumAnswerKeys> answer) {
        if (answer)
            listAlbum(album, *answer);
        else
            m_view.setStatusText(QStringLiteral("已取消查看相册"));
    });
}

void PhotoListController::listAlbum(const AlbumEntry &album, const AlbumAnswerKeys &answer)
{
    // A listing still running is replaced: its rows would mix with the new album's.
    endListing();
    m_state.photoViewOpen = true;
    switchView(album.name, album.description);
    m_log.add(QLatin1Char('[') + album.name + QStringLiteral("]正在获取相册图片.."));
    m_view.setStatusText(QStringLiteral("正在获取相册图片.."));

    m_listing = true;
    m_fetchDone = false;
    m_busy = false;
    m_total = 0;
    m_albumId = album.albumId;
    m_fetch = new PhotoListFetch(m_network, m_endpoints, FirstPhotoPage(m_state, album.albumId, answer),
                                 album.pictureCount.toInt(), this, m_busyRetry);
    connect(m_fetch, &PhotoListFetch::pageArrived, this, &PhotoListController::onPage);
    connect(m_fetch, &PhotoListFetch::finished, this, &PhotoListController::onFetchFinished);
    m_fetch->start();
}

void PhotoListController::switchView(const QString &albumName, const QString &albumDescription)
{
    m_photos.clear();
    QString bare = albumDescription;
    bare.remove(QLatin1Char(' '));
    m_view.showPhotoList(albumName,
                         bare.isEmpty() ? QStringLiteral("该相册无任何描述") : ShownText(albumDescription));
}

void PhotoListController::onPage(const QList<PhotoEntry> &entries)
{
    m_pending.append(entries);
    m_total = m_fetch ? m_fetch->expectedTotal() : m_total;
    if (m_total >= 1)
        m_view.setProgressRange(1, m_total);
    scheduleRows();
}

void PhotoListController::onFetchFinished(int received)
{
    const AnswerState ending = m_fetch ? m_fetch->ending() : AnswerState::Ok;
    const bool wrongAnswer = m_fetch && m_fetch->wrongAnswer();
    const int announced = m_fetch ? m_fetch->expectedTotal() : received;
    m_fetchDone = true;
    m_fetch = nullptr;
    if (ending == AnswerState::Expired) {
        endListing();
        Q_EMIT sessionExpired();
        return;
    }
    if (wrongAnswer) {
        // Nothing to show: the album list comes back, so that the album can be opened
        // again with another answer.
        endListing();
        m_albums.answers().forget(m_albumId);
        m_state.photoViewOpen = false;
        m_view.showAlbumList();
        m_view.setStatusText(WrongAnswerText());
        m_prompts.inform(AppBoxTitle(), WrongAnswerText(), Prompts::Icon::Exclamation);
        return;
    }
    m_busy = ending == AnswerState::Busy;
    m_announced = announced;
    // The count an album row or the answer announced may be stale; the percentages
    // end at what really arrived.
    m_total = received;
    if (m_total >= 1)
        m_view.setProgressRange(1, m_total);
    scheduleRows();
}

void PhotoListController::scheduleRows()
{
    if (m_rowsScheduled || !m_listing)
        return;
    m_rowsScheduled = true;
    QTimer::singleShot(0, this, &PhotoListController::addRows);
}

void PhotoListController::addRows()
{
    m_rowsScheduled = false;
    if (!m_listing)
        return;
    QList<PhotoEntry> batch;
    const int perTurn = qMax(RowsPerTurn, m_photos.size() / 8);
    while (m_state.photoViewOpen && m_pendingStart < m_pending.size() && batch.size() < perTurn)
        batch.append(m_pending.at(m_pendingStart++));
    if (!batch.isEmpty()) {
        // The text of the batch's last row: the window shows no other before the turn ends.
        const int i = m_photos.size() + static_cast<int>(batch.size());
        m_view.setStatusText(ListingProgressText(i, qMax(m_total, i)));
    }
    m_photos.append(batch);
    if (!m_state.photoViewOpen) {
        endListing();
        return;
    }
    if (m_pendingStart < m_pending.size()) {
        scheduleRows();
        return;
    }
    m_pending.clear();
    m_pendingStart = 0;
    if (!m_fetchDone)
        return; // the next page is on its way
    endListing();
    if (m_busy) {
        // The service stopped answering before the album's end: what is listed is not
        // the whole album, and the log says how much is missing.
        if (m_announced > m_photos.size()) {
            const AlbumEntry &album = m_albums.entry(m_view.selectedAlbumRow());
            m_log.add(QStringLiteral("[%1]图片列表不完整（服务端%2张，已获取%3张）..")
                          .arg(album.name)
                          .arg(m_announced)
                          .arg(m_photos.size()));
        }
        m_view.setStatusText(BusyServiceText());
        m_prompts.inform(AppBoxTitle(), BusyServiceText(), Prompts::Icon::Information);
        return;
    }
    const AlbumEntry &album = m_albums.entry(m_view.selectedAlbumRow());
    m_log.add(QLatin1Char('[') + album.name + QStringLiteral("]相册获取完毕.."));
    m_view.setStatusText(QStringLiteral("相册加载完毕.."));
}

void PhotoListController::checkStopped()
{
    if (m_listing && !m_state.photoViewOpen)
        endListing();
}

void PhotoListController::endListing()
{
    m_listing = false;
    if (m_fetch)
        m_fetch->cancel();
    m_fetch = nullptr;
    m_pending.clear();
    m_pendingStart = 0;
    m_fetchDone = false;
}

} // namespace albivex
