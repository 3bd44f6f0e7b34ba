#include "photos/ui/SelectedDownloadController.h"

#include "albumdl/PictureSource.h"
#include "catalogue/AlbumListModel.h"
#include "photos/DownloadFailedText.h"
#include "photos/FloatviewLookup.h"
#include "photos/PhotoListModel.h"
#include "photos/PictureDownloadView.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "storage/AlbumDocumentBuild.h"
#include "storage/AlbumDocumentUpdate.h"
#include "storage/PictureTransfer.h"
#include "storage/SaveLayout.h"
#include "storage/StaleTemporaryFiles.h"
#include "storage/UploadTime.h"
#include "window/ActivityLog.h"

#include <QFileInfo>
#include <QTimer>

namespace albivex {

SelectedDownloadController::SelectedDownloadController(QNetworkAccessManager &network,
                                                       const Endpoints &endpoints, WindowState &state,
                                                       AlbumListModel &albums, PhotoListModel &photos,
                                                       ActivityLog &log, Prompts &prompts,
                                                       const PictureTransfer::Options &transferOptions,
                                                       const BusyRetryOptions &busyRetry,
                                                       PictureDownloadView &view, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_albums(albums)
    , m_photos(photos)
    , m_log(log)
    , m_prompts(prompts)
    , m_transferOptions(transferOptions)
    , m_busyRetry(busyRetry)
    , m_view(view)
{ }

SelectedDownloadController::~SelectedDownloadController()
{
    if (m_transfer)
        m_transfer->cancel();
}

void SelectedDownloadController::downloadSelectedPictures()
{
    // One run at a time: a second one would interleave its pictures, progress and
    // lines with the first.
    if (m_running)
        return;
    const int row = m_view.selectedPhotoRow();
    if (row < 0 || m_photos.entry(row).name.isEmpty()) {
        m_view.setStatusText(QStringLiteral("请选择图片"));
        m_prompts.inform(AppBoxTitle(), QStringLiteral("请选择图片"), Prompts::Icon::Information);
        return;
    }
    const int checkedCount = m_photos.checkedCount();
    const AlbumEntry &album = m_albums.entry(m_view.selectedAlbumRow());
    m_folder = AlbumFolderPath(m_view.saveFolder(), m_state.listedOwnerUin, album.name);
    // What an earlier run that was killed mid-transfer left in this folder goes now.
    RemoveStaleTemporaryFiles(m_folder, StaleTemporaryAgeMs(m_transferOptions.idleMs));
    m_listing = m_photos.listing();
    m_names = UniqueFileNames();
    m_albumId = album.albumId;
    m_albumName = album.name;
    m_document = AlbumDocumentOf(album, m_state.listedOwnerUin);
    m_wordsRefused = 0;
    // What floatview said belongs to the album of the last run; nothing is in flight
    // between runs.
    delete m_floatview.data();
    m_running = true;
    if (checkedCount < 2)
        downloadSingle(row);
    else
        startMulti(checkedCount);
}

void SelectedDownloadController::downloadSingle(int row)
{
    transfer(row, PictureFileName(NamingMode::NameAndRandom, row + 1, m_photos.entry(row).name), false);
}

void SelectedDownloadController::startMulti(int checkedCount)
{
    m_state.selectedDownloadRunning = true;
    m_view.setProgressValue(1);
    m_view.setProgressRange(1, checkedCount);
    m_rowCount = m_photos.size();
    m_nextRow = 0;
    m_reached = 0;
    QTimer::singleShot(0, this, &SelectedDownloadController::nextPicture);
}

void SelectedDownloadController::nextPicture()
{
    while (m_nextRow < m_rowCount) {
        const int row = m_nextRow++;
        // Another album was opened meanwhile: the rows this run meant are gone.
        if (m_photos.listing() != m_listing)
            break;
        if (!m_photos.isChecked(row))
            continue;
        if (!m_state.selectedDownloadRunning) {
            m_view.setProgressValue(1);
            m_log.add(QStringLiteral("已终止下载任务.."));
            m_view.setStatusText(QStringLiteral("已终止下载任务"));
            break;
        }
        m_view.setProgressValue(++m_reached);
        // The naming option is read per picture: a change during the run applies to
        // the pictures not yet reached.
        transfer(row, PictureFileName(m_view.namingMode(), row + 1, m_photos.entry(row).name), true);
        return;
    }
    m_state.selectedDownloadRunning = false;
    finish();
}

void SelectedDownloadController::transfer(int row, const QString &namedFile, bool multi)
{
    const PhotoEntry &picture = m_photos.entry(row);
    // The listed address is the picture itself, as the album download's high quality.
    const PictureQuality quality = PictureQuality::High;
    const FloatviewPhoto *viewed = nullptr;
    if (NeedsFloatview(picture, quality) && !picture.lloc.isEmpty()) {
        if (!m_floatview) {
            m_floatview = new FloatviewLookup(m_network, m_endpoints, AlbumFloatview(m_state, m_albumId),
                                              m_busyRetry, this);
        }
        if (!m_floatview->covered(picture.lloc)) {
            // Asked again once the page from this picture on has been answered.
            m_floatview->lookUp(picture.lloc);
            connect(
                m_floatview, &FloatviewLookup::pageDone, this,
                [this, row, namedFile, multi] { transfer(row, namedFile, multi); }, Qt::SingleShotConnection);
            return;
        }
        viewed = m_floatview->find(picture.lloc);
    }
    const PictureSource source = ChoosePictureSource(picture, quality, viewed);
    // Rows are reached in list order, so the same selection gets the same files again.
    const QString fileName
        = m_names.take(UniqueFileNames::stemOf(namedFile), ExtensionRoom(source)) + TargetExtension(source);
    const QString name = picture.name;
    PictureTransfer::Options options
        = TransferOptionsFor(source, picture, m_state.listedOwnerUin, m_transferOptions);
    if (m_view.writeMetadata() && source.kind != PictureSource::Kind::Video)
        options.words = PictureWordsOf(picture);
    if (!source.fetchable()) {
        const QString failure = source.kind == PictureSource::Kind::UntranscodedVideo
            ? NotTranscodedText()
            : DownloadFailedText(TransferOutcome::BadAddress);
        // Reported from the event loop, as a transfer's end would be.
        QTimer::singleShot(
            0, this, [this, row, name, failure, multi] { onPictureEnded(row, name, false, failure, multi); });
        return;
    }
    m_transfer = DownloadPictureFile(
        m_network, source.address, m_folder + QLatin1Char('/') + fileName, this,
        [this, row, name, multi, picture,
         original = source.kind == PictureSource::Kind::Original](const TransferResult &result) {
            m_transfer = nullptr;
            if (result.ok()) {
                m_document.pictures.append(
                    AlbumDocumentPictureOf(picture, QFileInfo(result.path).fileName(), original));
                if (result.wordsRefused)
                    ++m_wordsRefused;
            }
            onPictureEnded(row, name, result.ok(),
                           result.ok() ? QString() : DownloadFailedText(result.outcome), multi);
        },
        options);
}

void SelectedDownloadController::onPictureEnded(int row, const QString &name, bool saved,
                                                const QString &failure, bool multi)
{
    if (m_photos.listing() == m_listing)
        m_photos.setStatus(row, saved ? QStringLiteral("√") : QStringLiteral("×"));
    m_log.add(QLatin1Char('[') + name + QLatin1Char(']') + (saved ? QStringLiteral("下载完成..") : failure));
    if (multi) {
        // Let the user's input in between pictures (the stop button, ticks).
        QTimer::singleShot(0, this, &SelectedDownloadController::nextPicture);
        return;
    }
    end(QStringLiteral("所选图片已下载.."));
}

void SelectedDownloadController::finish()
{
    end(QStringLiteral("所选图片已完成下载.."));
}

void SelectedDownloadController::end(const QString &statusText)
{
    const auto ended = [this, statusText] {
        m_view.setStatusText(statusText);
        m_log.add(QStringLiteral("所选图片已完成下载.."));
        m_running = false;
        Q_EMIT runEnded();
    };
    if (m_wordsRefused > 0)
        m_log.add(QLatin1Char('[') + m_albumName
                  + QStringLiteral("]%1张照片无法写入照片信息..").arg(m_wordsRefused));
    if (m_document.pictures.isEmpty()) {
        ended();
        return;
    }
    AlbumDocumentUpdate update;
    update.folder = m_folder;
    update.document = m_document;
    // The rows the run worked on, unless another album was opened meanwhile.
    for (int row = 0; m_photos.listing() == m_listing && row < m_photos.size(); ++row)
        update.listing.append(m_photos.entry(row));
    m_document.pictures.clear();
    UpdateAlbumDocumentInBackground(
        std::move(update), this, [this, ended](const std::optional<QString> &error) {
            if (error)
                m_log.add(QLatin1Char('[') + m_albumName + QStringLiteral("]相册信息无法保存：") + *error);
            ended();
        });
}

} // namespace albivex
