#pragma once

#include "albumdl/ServicePause.h"
#include "moodsdl/MoodSaver.h"
#include "qzone/ListFetch.h"
#include "qzone/MoodPost.h"
#include "storage/BackupReport.h"
#include "storage/MoodDocument.h"
#include "storage/PictureTransfer.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <memory>

class QNetworkAccessManager;

namespace albivex {

class AlbumBookkeeping;
class AlbumJobView;
class AlbumListModel;
class AlbumRecord;
class Endpoints;
class MoodListing;
class Prompts;
struct WindowState;

// "下载说说": saves the listed space's 说说 (posts, their pictures, videos and
// comments) into the space's posts' folder (MoodFolderPath), with moods.json
// describing them.
//
// The run goes as an album run does and shares its machinery: the window's job flags
// and controls, the pause while the service limits the tool (ServicePause: its
// schedule, countdown and gap between list requests), the record of the files saved
// whole (AlbumRecord in the posts' folder), the space's journal (a part of kind Moods)
// and 备份报告.txt, all disk work on the album lane (AlbumBookkeeping).
//
// The list is read newest first (MoodListing) while the files of the pages read
// before are saved (MoodSaver), at most two pages ahead. With "只下载新照片" a post
// moods.json knows whose files are all recorded whole is not asked again, and the
// listing ends at the first page made only of such posts; a run taken up again
// (setResuming) passes over every file recorded whole but lists the whole space.
//
// A page that stays empty short of the space's count after a pause ends the listing:
// "说说列表不完整：服务端N条，已取得M条" is said before the summary and written in the
// report. A space whose posts the viewer may not read is said in a box; nothing is
// saved and no journal kept. A list that says the sign-in has ended stops the run,
// then sessionExpired(). The stop button ends the run at once (noticeStop): the
// transfers in flight are dropped and what was saved is written down.
//
// Every run that start() took ends with ended(); a whole one says its check line and,
// last, "说说下载完成：共保存N条，图片P张，失败F张", once moods.json, the record, the
// journal and the report are written.
class MoodDownloadJob : public QObject
{
    Q_OBJECT
public:
    MoodDownloadJob(QNetworkAccessManager &nam, const Endpoints &endpoints, WindowState &state,
                    const AlbumListModel &albums, AlbumJobView &view, Prompts &prompts,
                    QObject *parent = nullptr);
    ~MoodDownloadJob() override;

    void setTransferOptions(const PictureTransfer::Options &options) { m_transferOptions = options; }
    void setBusyRetry(const BusyRetryOptions &options) { m_busyRetry = options; }
    void setServicePause(const ServicePauseOptions &options) { m_pauseOptions = options; }
    // Before start(): the run takes up the journal's posts' part.
    void setResuming(bool resuming) { m_resuming = resuming; }
    // Before start(): the run is a part of a whole-space run, which owns the pause, the
    // window's job flags and controls, the journal and the report.
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
    // For a whole-space run's progress: files listed to be fetched, and one saved.
    void filesListed(int count);
    void fileSaved();

private:
    void onPrepared(std::shared_ptr<AlbumRecord> record, QHash<QString, QStringList> known);
    void onPage(int pos, int total, const QList<MoodPost> &posts);
    void onTurnedAway(bool emptyPage);
    void onRefused(const QString &message);
    void onPostEnded(int number, const MoodSaver::PostEnd &end);
    void listNext();
    // The listing is over; cut short when the service listed fewer posts than it counts.
    void endListing(bool cutShort);
    void showProgress();
    void finishIfDone();
    void writeEntries();
    // Hands moods.json, the record, the journal and the report to the album lane.
    void writeDown(bool complete);
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
    QPointer<MoodListing> m_listing;
    QPointer<MoodSaver> m_saver;
    std::shared_ptr<AlbumRecord> m_record;

    bool m_running = false;
    bool m_ending = false;
    bool m_resuming = false;
    bool m_onlyNew = false;
    QString m_owner;
    QString m_spaceFolder;
    QString m_folder; // the posts'
    QHash<QString, QStringList> m_known; // posts moods.json holds, with their lost addresses
    int m_pos = 0; // posts listed so far
    int m_nextPos = -1; // the page to list once the files catch up; -1 when none waits
    int m_total = 0; // the service's count
    int m_emptyPausedAt = -1; // the page found empty before the pause
    bool m_listingDone = false;
    bool m_cutShort = false;
    int m_assumed = 0; // posts past the listing's early end, kept by earlier runs
    int m_keptWhole = 0; // posts passed over as kept whole
    int m_postsEnded = 0;
    int m_nextNumber = 0;
    QHash<int, MoodPost> m_open; // posts whose files are being saved, by number
    QList<MoodDocumentEntry> m_entries; // this run's, not handed to moods.json yet
    int m_entriesWritten = 0; // this run's handed to moods.json
    static constexpr int EntriesPerWrite = 2000;
    BackupReportAlbum m_check;
    bool m_journalBegun = false;
};

} // namespace albivex
