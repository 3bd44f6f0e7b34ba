#pragma once

#include "albumdl/ServicePause.h"
#include "moodsdl/MoodSaver.h"
#include "qzone/BoardMessage.h"
#include "qzone/ListFetch.h"
#include "storage/BackupReport.h"
#include "storage/BoardDocument.h"
#include "storage/PictureTransfer.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <memory>

class QNetworkAccessManager;

namespace albivex {

class AlbumBookkeeping;
class AlbumJobView;
class AlbumListModel;
class AlbumRecord;
class BoardListing;
class Endpoints;
class Prompts;
struct WindowState;

// "下载留言": saves the listed space's 留言板 (message board) into the space's board
// folder (BoardFolderPath): board.json with every message and reply, merged over
// earlier runs, and the pictures the messages show beside it.
//
// It runs on the 说说 run's machinery: the list is read page by page (BoardListing,
// paced by the run's ServicePause), the pictures are saved by a MoodSaver (a message
// standing for a post: checked, recorded whole in the folder's AlbumRecord, 429s
// pausing the run), and all disk work goes on the album lane. With "只下载新照片", or
// when a whole-space run takes it up again, a picture recorded whole is not fetched.
//
// Busy answers pause the run and the page is asked again after the pause; a page that
// stays empty short of the board's count after a pause ends the listing, and
// "留言板列表不完整：服务端N条，已取得M条" is said before the summary and written in the
// report. A board the viewer may not read is said in a box (a log line within a
// whole-space run); nothing is saved. A list that says the sign-in has ended stops the
// run, then sessionExpired(). The stop button ends the run at once; what was read so
// far is written to board.json.
//
// Every run that start() took ends with ended(); a whole one says
// "[留言板]核对：服务端N条，已保存S条" and, last, "留言板下载完成：共保存N条", once
// board.json, the record and the report are written.
class BoardDownloadJob : public QObject
{
    Q_OBJECT
public:
    BoardDownloadJob(QNetworkAccessManager &nam, const Endpoints &endpoints, WindowState &state,
                     const AlbumListModel &albums, AlbumJobView &view, Prompts &prompts,
                     QObject *parent = nullptr);
    ~BoardDownloadJob() override;

    void setTransferOptions(const PictureTransfer::Options &options) { m_transferOptions = options; }
    void setBusyRetry(const BusyRetryOptions &options) { m_busyRetry = options; }
    void setServicePause(const ServicePauseOptions &options) { m_pauseOptions = options; }
    // Before start(): a run taken up again passes over every picture recorded whole.
    void setResuming(bool resuming) { m_resuming = resuming; }
    // Before start(): the run is a part of a whole-space run, which owns the pause, the
    // window's job flags and controls, and the report.
    void joinSpaceRun(ServicePause *pause) { m_spacePause = pause; }
    // The run's check (its line of the report), once it has ended.
    const BackupReportAlbum &check() const { return m_check; }

    // Starts the run for the listed space; false, with nothing changed, when no space
    // is listed or a run is going.
    bool start();
    // The stop button was pressed (the running flag is cleared): the run ends now.
    void noticeStop();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void ended();
    void sessionExpired();
    // For a whole-space run's progress: pictures listed to be fetched, and one saved.
    void filesListed(int count);
    void fileSaved();

private:
    void onPrepared(std::shared_ptr<AlbumRecord> record);
    void onPage(int start, int total, const QList<BoardMessage> &messages);
    void onTurnedAway(bool emptyPage);
    void onRefused(const QString &message);
    void onMessageEnded(int number, const MoodSaver::PostEnd &end);
    void endListing(bool cutShort);
    void showProgress();
    void finishIfDone();
    void writeDown();
    void finish();
    void stop(bool sessionEnded = false);
    void endRun(const QStringList &lastLines, bool sessionEnded);

    QNetworkAccessManager &m_nam;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    const AlbumListModel &m_albums;
    AlbumJobView &m_view;
    Prompts &m_prompts;
    PictureTransfer::Options m_transferOptions;
    BusyRetryOptions m_busyRetry;
    ServicePauseOptions m_pauseOptions;
    AlbumBookkeeping *m_bookkeeping;
    QPointer<ServicePause> m_pause;
    QPointer<ServicePause> m_spacePause; // a whole-space run's, when this is a part of one
    QPointer<BoardListing> m_listing;
    QPointer<MoodSaver> m_saver;
    std::shared_ptr<AlbumRecord> m_record;

    bool m_running = false;
    bool m_ending = false;
    bool m_resuming = false;
    QString m_owner;
    QString m_spaceFolder;
    QString m_folder; // the board's
    int m_listed = 0; // messages listed so far
    int m_total = 0; // the service's count
    int m_emptyPausedAt = -1; // the page found empty before the pause
    bool m_listingDone = false;
    int m_nextNumber = 0;
    QHash<int, BoardMessage> m_open; // messages whose pictures are being saved, by number
    QList<BoardDocumentEntry> m_entries;
    BackupReportAlbum m_check;
};

} // namespace albivex
