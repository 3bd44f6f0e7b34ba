#pragma once

#include "qzone/ListFetch.h"
#include "storage/AlbumDocument.h"
#include "storage/PictureTransfer.h"
#include "storage/UniqueFileNames.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QNetworkAccessManager;

namespace albivex {

struct WindowState;
class AlbumListModel;
class Endpoints;
class FloatviewLookup;
class PhotoListModel;
class ActivityLog;
class Prompts;
class PictureDownloadView;
class PictureTransfer;
struct TransferResult;

// "下载图片": saves pictures of the photo list into the album's folder. With two or more
// rows ticked, every ticked row is saved, top to bottom, named by the naming option
// and counted on the progress bar; "终止任务" ends that run before its next picture.
// Otherwise the selected row is saved under its name and random digits. A saved row
// shows "√" in 状态, a failed one "×" (a placeholder sent in a picture's place is not
// saved and fails). One picture is transferred at a time, without blocking the
// window; a second start while a run is in progress is refused.
// Within a run no file name is given twice: a later picture of the same name gets
// " (2)", " (3)"... before its extension (UniqueFileNames). A video is saved as its
// ".mp4" file, which floatview names (the listed address is only its cover); one the
// service has not made playable yet fails.
// With "写入照片信息" every picture saved gets the listing's words in its metadata, as
// the album download does; those that could not take them are counted in one log line.
// The pictures saved are added to the album folder's album.json on a worker thread
// (UpdateAlbumDocument) before the run's last line.
class SelectedDownloadController : public QObject
{
    Q_OBJECT
public:
    SelectedDownloadController(QNetworkAccessManager &network, const Endpoints &endpoints, WindowState &state,
                               AlbumListModel &albums, PhotoListModel &photos, ActivityLog &log,
                               Prompts &prompts, const PictureTransfer::Options &transferOptions,
                               const BusyRetryOptions &busyRetry, PictureDownloadView &view,
                               QObject *parent = nullptr);
    ~SelectedDownloadController() override;

    void downloadSelectedPictures();

    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // A run has ended, whole or stopped; what it saved is on disk.
    void runEnded();

private:
    void downloadSingle(int row);
    void startMulti(int checkedCount);
    void nextPicture();
    // Saves the row under `namedFile` (PictureFileName), made unique within the run;
    // a video once floatview has said where its file is.
    void transfer(int row, const QString &namedFile, bool multi);
    // Reports the row saved or failed (`failure`: the end of its log line).
    void onPictureEnded(int row, const QString &name, bool saved, const QString &failure, bool multi);
    void finish();
    // Brings album.json up to date, then shows `statusText` and ends the run.
    void end(const QString &statusText);

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    AlbumListModel &m_albums;
    PhotoListModel &m_photos;
    ActivityLog &m_log;
    Prompts &m_prompts;
    const PictureTransfer::Options &m_transferOptions;
    const BusyRetryOptions &m_busyRetry;
    PictureDownloadView &m_view;
    bool m_running = false;
    QString m_folder; // the album folder, fixed at the start
    UniqueFileNames m_names; // the file names given in this run
    quint64 m_listing = 0; // the photo listing the run works on
    int m_rowCount = 0; // rows of the list at the start
    int m_nextRow = 0;
    int m_reached = 0; // ticked rows reached so far
    QPointer<PictureTransfer> m_transfer;
    QString m_albumId; // the album of the run
    QString m_albumName;
    AlbumDocument m_document; // the album and the pictures saved by the run
    int m_wordsRefused = 0; // pictures saved without the words they were to take
    QPointer<FloatviewLookup> m_floatview; // made for the run's first video
};

} // namespace albivex
