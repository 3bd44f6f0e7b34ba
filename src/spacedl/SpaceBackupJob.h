#pragma once

#include "albumdl/AlbumWalk.h"
#include "albumdl/ServicePause.h"
#include "qzone/ListFetch.h"
#include "spacedl/SpaceProgress.h"
#include "spacedl/SpaceRunView.h"
#include "storage/BackupReport.h"
#include "storage/PictureTransfer.h"
#include "storage/RunJournal.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <optional>

class QNetworkAccessManager;

namespace albivex {

class AlbumBookkeeping;
class AlbumDownloadJob;
class AlbumListModel;
class BoardDownloadJob;
class Endpoints;
class MoodDownloadJob;
class Prompts;
struct WindowState;

// "备份整个空间": one run that saves the listed space whole: every album of the list the
// viewer may open (AlbumDownloadJob), then the 说说 (MoodDownloadJob), then the 留言板
// (BoardDownloadJob), one after another, each with the quality, naming, "只下载新照片" and
// "写入照片信息" as set. The answers of protected albums are asked for at the start,
// while the user is there, so that the night's run never waits on a box; an album left
// unanswered is passed over and named as not complete.
//
// The parts share one ServicePause: a throttle pauses the run as a whole, and its
// schedule and gap carry from one part to the next. The run keeps one journal in the
// space's folder (RunJournal with wholeSpace set) that lists every part and marks each
// complete as it ends whole; a killed run is taken up again as one (setResuming), doing
// only the parts not complete, and passing over every file recorded whole. The parts
// write neither journal nor report: the run writes 备份报告.txt once, at its end.
//
// Progress (progressChanged, at most a few times a second): parts done and in all,
// pictures on disk of those known, and during a pause when it ends; the parts' status
// texts are shown after it (SpaceRunView), and the progress bar counts the pictures.
//
// The run ends with every part's check line, the line naming the parts not complete
// (IncompletePartsLine) and, last, the summary (SpaceSummaryLine); a stopped run with
// "已停止整个空间备份工作" last instead. A part that finds the sign-in ended stops the
// run, then sessionExpired(). Every run that start() took ends with ended().
class SpaceBackupJob : public QObject
{
    Q_OBJECT
public:
    SpaceBackupJob(QNetworkAccessManager &nam, const Endpoints &endpoints, WindowState &state,
                   AlbumListModel &albums, AlbumJobView &view, Prompts &prompts, QObject *parent = nullptr);
    ~SpaceBackupJob() override;

    void setTransferOptions(const PictureTransfer::Options &options) { m_transferOptions = options; }
    void setBusyRetry(const BusyRetryOptions &options) { m_busyRetry = options; }
    void setPacing(AlbumWalk::Pacing pacing) { m_pacing = pacing; }
    void setServicePause(const ServicePauseOptions &options) { m_pauseOptions = options; }
    // Before start(): takes up the parts of an earlier whole-space run's journal that
    // are not complete.
    void setResuming(const RunJournal &journal) { m_resumed = journal; }

    // Starts the run for the listed space; false, with nothing changed, when no space
    // is listed or a job runs.
    bool start();
    // The stop button was pressed (the running flag is cleared): the part going on ends
    // now, and the run with it.
    void noticeStop();
    bool isRunning() const { return m_running; }
    SpaceProgress progress() const { return m_progress; }

Q_SIGNALS:
    void ended();
    void sessionExpired();
    void progressChanged();

private:
    enum class Step { Answers, Albums, Moods, Board, Done };

    void askAnswers(int row);
    void beginJournal();
    void markPart(RunJournal::Kind kind, const QString &id, bool complete);
    void next();
    void runAlbums();
    void runMoods();
    void runBoard();
    // The part's job has ended: the run goes on with the next part, or ends.
    void onPartEnded(QObject *job);
    void finish();
    void noteProgress();
    void showProgress();

    QNetworkAccessManager &m_nam;
    const Endpoints &m_endpoints;
    WindowState &m_state;
    AlbumListModel &m_albums;
    AlbumJobView &m_window;
    Prompts &m_prompts;
    SpaceRunView m_partView;
    PictureTransfer::Options m_transferOptions;
    BusyRetryOptions m_busyRetry;
    AlbumWalk::Pacing m_pacing = AlbumWalk::Pacing::Adaptive;
    ServicePauseOptions m_pauseOptions;
    std::optional<RunJournal> m_resumed;
    AlbumBookkeeping *m_bookkeeping; // the journal and the report
    ServicePause *m_pause = nullptr;
    QPointer<QObject> m_part; // the part's job going on
    QTimer m_progressTimer;

    bool m_running = false;
    bool m_ending = false;
    bool m_sessionEnded = false;
    Step m_step = Step::Done;
    QString m_owner;
    QString m_spaceFolder;
    QStringList m_albumIds; // the albums to save, in the list's order
    QStringList m_unanswered; // names of the albums passed over for want of an answer
    bool m_doMoods = false;
    bool m_doBoard = false;
    RunJournal m_journal;
    QList<BackupReportAlbum> m_checks; // of the parts ended, in the run's order
    QStringList m_notReached; // parts the run did not come to (stopped)
    SpaceProgress m_progress;
};

} // namespace albivex
