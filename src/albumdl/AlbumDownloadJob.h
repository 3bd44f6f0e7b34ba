#pragma once

#include "albumdl/AlbumWalk.h"
#include "albumdl/ServicePause.h"
#include "qzone/AlbumAnswer.h"
#include "qzone/ListFetch.h"
#include "qzone/PhotoEntry.h"
#include "storage/BackupReport.h"
#include "storage/PictureTransfer.h"
#include "storage/RunJournal.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <optional>

class QNetworkAccessManager;

namespace albivex {

class AlbumBookkeeping;
class AlbumJobView;
class AlbumListModel;
class Endpoints;
class PhotoListFetch;
class Prompts;
struct WindowState;

// The album download job: saves the selected album, or every ticked album when two or
// more are ticked, picture by picture into the save layout, and reports in the status
// text, the progress bar, the albums' download state and the activity log.
//
// Asynchronous throughout: start() returns at once and the job runs on reply signals
// and queued calls; the window stays responsive. The stop button clears
// albumJobRunning; the job looks at it before every album (multi-album mode) and
// before every picture, finishes what it has in flight and then ends on one of three
// stop paths. ended() follows every run that start() accepted.
//
// With "只下载新照片" the pictures an earlier run saved whole are passed over and the
// summary counts them ("共保存N张，跳过M张，失败K张").
//
// A service that limits the tool pauses the whole run (ServicePause): a listing page
// or floatview page that stays busy through its retries, or pictures turned away past
// theirs (AlbumWalk). The status text counts the pause down, the log says when it
// began and when the run goes on, and the run goes on where it stopped; nothing is
// counted failed for it. The stop button ends a pause at once (noticeStop()). After a
// busy answer the run's list requests keep the pause's gap between them.
//
// A run of several albums, or one that takes up an earlier run's journal
// (setResuming), keeps a RunJournal in the space's folder: written when the run starts
// and whenever an album ends, with the albums not reached or not complete yet. A run
// whose albums all end complete deletes it; a stop or an album that ends incomplete
// keeps it, for the offer of the next listing. Albums the run passes over (no access,
// no answer, unticked before they were reached) leave it.
//
// Every album walked ends with a check line in the log that sets the service's count
// against what was saved, passed over and failed (AlbumCheckLine); a run with albums
// not complete names them just before its summary; and every run, whole or stopped,
// rewrites the space's 备份报告.txt on a worker thread (WriteBackupReport).
//
// An album is done when its last picture is saved: its check line is said then, and
// the next album is listed at once (or, for the last, "相册下载完成.." said), while the
// album's bookkeeping (its record written whole, its album.json, the journal) runs on
// the album lane (AlbumBookkeeping). The run ends (its summary, ended()) once all of it
// and the report are written; a stopped run once its albums' ends are, the report
// following.
//
// An album the service does not let the viewer open is refused with a box when it is
// downloaded alone, and skipped (and counted in the summary) by a multi-album run. A
// listing that says the sign-in has ended stops the run, which then sends
// sessionExpired().
//
// An album behind a password or a question asks for its answer (AlbumAnswers) before
// its listing. Cancelled, or refused by the service ("回答错误"), the album is saved
// nothing: a multi-album run logs why and counts it with the skipped albums; a single
// album run ends, with a box for a refused answer.
class AlbumDownloadJob : public QObject
{
    Q_OBJECT
public:
    AlbumDownloadJob(QNetworkAccessManager &nam, const Endpoints &endpoints, WindowState &state,
                     AlbumListModel &albums, AlbumJobView &view, Prompts &prompts, QObject *parent = nullptr);
    ~AlbumDownloadJob() override;

    // How every picture transfer is made (time-out, retries).
    void setTransferOptions(const PictureTransfer::Options &options) { m_transferOptions = options; }
    // How busy list answers are retried.
    void setBusyRetry(const BusyRetryOptions &options) { m_busyRetry = options; }
    // How many pictures travel at once (AlbumWalk).
    void setPacing(AlbumWalk::Pacing pacing) { m_pacing = pacing; }
    // How long the run pauses for a service that limits it.
    void setServicePause(const ServicePauseOptions &options) { m_pauseOptions = options; }

    // Before start(): the run takes up an earlier run's journal, which it keeps up even
    // for a single album.
    void setResuming(bool resuming) { m_resuming = resuming; }
    // Before start(): the run is the albums' part of a whole-space run, which owns the
    // pause, the window's job flags and controls, the journal and the report. It saves
    // the albums of `albumIds` (those the viewer may open), in the list's order,
    // whatever is ticked or selected.
    void joinSpaceRun(ServicePause *pause, const QStringList &albumIds);
    // The check of every album walked so far (their lines of the report).
    const QList<BackupReportAlbum> &checks() const { return m_report; }

    // The stop button was pressed: a pause in progress ends now, and the run with it.
    // Without a pause the run ends at its next stop point as before.
    void noticeStop();

    // Checks that an album is selected; when none is, says so and returns false with
    // nothing else changed. Otherwise starts the job and returns true.
    bool start();

    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // The job has ended, normally or on a stop path; the window is back to idle.
    void ended();
    // A listing said the sign-in is no longer taken; sent right after the run's ended().
    void sessionExpired();
    // For a whole-space run's progress: an album was walked (its check), and pictures
    // were reported (AlbumWalk::picturesReported).
    void albumChecked(const albivex::BackupReportAlbum &album);
    void picturesReported(int count, int onDisk);

private:
    enum class Mode { SingleAlbum, MultiAlbum };

    void nextRow();
    void visitRow();
    void fetchAlbum(int row);
    void listAlbum(int row, const AlbumAnswerKeys &answer);
    // Lists the album's pictures on from those m_pictures holds.
    void continueListing(int row);
    void startPause();
    // The run's journal: begun at the start, an album taken out or marked, written.
    void beginJournal();
    void journalAlbum(const QString &albumId, std::optional<bool> complete);
    void endJournal();
    void writeReport(QObject *context, std::function<void(std::optional<QString>)> written);
    void passOver(const QString &albumName, const QString &why);
    void walkAlbum(int row);
    void onAlbumWalked();
    void finish();
    // With `sessionEnded`, sessionExpired() follows the run's ended().
    void stop(bool sessionEnded = false);

    QNetworkAccessManager &m_nam;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    AlbumListModel &m_albums;
    AlbumJobView &m_view;
    Prompts &m_prompts;
    PictureTransfer::Options m_transferOptions;
    BusyRetryOptions m_busyRetry;
    AlbumWalk::Pacing m_pacing = AlbumWalk::Pacing::Adaptive;
    ServicePauseOptions m_pauseOptions;
    QPointer<ServicePause> m_pause; // the run's
    QPointer<ServicePause> m_spacePause; // a whole-space run's, when this is a part of one
    QStringList m_spaceAlbums; // the albums of a whole-space run
    AlbumBookkeeping *m_bookkeeping; // the albums' ends, the journal and the report

    Mode m_mode = Mode::SingleAlbum;
    bool m_running = false;
    bool m_ending = false; // finish() or stop() was taken
    int m_row = -1; // the album row being worked on
    int m_rowCount = 0; // rows the multi-album loop visits
    // The pictures listed for the current album, and how many of the pictures the
    // album row announced did not come with the listing.
    QList<PhotoEntry> m_pictures;
    int m_missing = 0;
    AlbumAnswerKeys m_answer; // of the album being listed
    // The record of the album being listed, read meanwhile (AlbumWalk::readRecord).
    QString m_readFolder;
    AlbumWalk::RecordRead m_recordRead;
    int m_pausedListing = -1; // the row whose listing goes on after the pause
    bool m_resuming = false;
    int m_serviceCount = 0; // the service's count of the album being walked
    QList<BackupReportAlbum> m_report; // the albums walked so far
    std::optional<RunJournal> m_journal; // kept by this run
    QString m_journalFolder;
    QPointer<PhotoListFetch> m_fetch;
    QPointer<AlbumWalk> m_walk;
    AlbumWalk::Tally m_total;
    bool m_onlyNew = false; // "只下载新照片" as the run started
    int m_skipped = 0; // albums the viewer may not open, passed over
};

} // namespace albivex
