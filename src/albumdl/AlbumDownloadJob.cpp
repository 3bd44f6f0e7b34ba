#include "albumdl/AlbumDownloadJob.h"

#include "albumdl/AlbumBookkeeping.h"
#include "albumdl/AlbumJobView.h"
#include "catalogue/AlbumAnswers.h"
#include "catalogue/AlbumListModel.h"
#include "catalogue/ListTexts.h"
#include "photos/FloatviewLookup.h"
#include "photos/PhotoListFetch.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "storage/SaveLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace albivex {

namespace {

const QString StoppedText = QStringLiteral("已停止相册下载工作");

QString ReportFailedText(const QString &error)
{
    return QStringLiteral("备份报告无法保存：") + error;
}

} // namespace

AlbumDownloadJob::AlbumDownloadJob(QNetworkAccessManager &nam, const Endpoints &endpoints, WindowState &state,
                                   AlbumListModel &albums, AlbumJobView &view, Prompts &prompts,
                                   QObject *parent)
    : QObject(parent)
    , m_nam(nam)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_albums(albums)
    , m_view(view)
    , m_prompts(prompts)
    , m_bookkeeping(new AlbumBookkeeping(this))
{ }

AlbumDownloadJob::~AlbumDownloadJob()
{
    // Work in flight goes with the job, without reporting into a window that may be
    // going too.
    if (m_fetch)
        m_fetch->cancel();
    delete m_walk.data();
}

void AlbumDownloadJob::joinSpaceRun(ServicePause *pause, const QStringList &albumIds)
{
    m_spacePause = pause;
    m_spaceAlbums = albumIds;
}

bool AlbumDownloadJob::start()
{
    if (m_running)
        return false;
    if (m_spacePause) {
        m_running = true;
        m_ending = false;
        m_total = {};
        m_skipped = 0;
        m_report.clear();
        startPause();
        m_onlyNew = m_view.onlyNew();
        m_mode = Mode::MultiAlbum;
        m_rowCount = m_albums.size();
        m_row = -1;
        nextRow();
        return true;
    }
    const int selected = m_view.selectedAlbumRow();
    if (selected < 0 || m_albums.entry(selected).name.isEmpty()) {
        m_view.setStatusText(QStringLiteral("、请选择相册"));
        m_prompts.inform(AppBoxTitle(), QStringLiteral("请选择相册"), Prompts::Icon::Information);
        return false;
    }
    // A single tick that is not on the selected row does not make a multi-album run.
    const bool single = m_albums.checkedCount() < 2;
    if (single && !m_albums.entry(selected).allowAccess) {
        m_view.setStatusText(NoAccessText());
        m_prompts.inform(AppBoxTitle(), NoAccessText(), Prompts::Icon::Information);
        return false;
    }
    m_running = true;
    m_ending = false;
    m_total = {};
    m_skipped = 0;
    m_report.clear();
    startPause();
    m_onlyNew = m_view.onlyNew();
    m_view.setJobControlsEnabled(false);
    m_state.albumJobIdle = false;
    m_state.albumJobRunning = true;
    m_view.setStatusText(QStringLiteral("相册下载任务开始.."));

    m_journal.reset();
    if (!single || m_resuming)
        beginJournal();
    if (single) {
        m_mode = Mode::SingleAlbum;
        m_row = selected;
        fetchAlbum(m_row);
        m_view.setAlbumListEnabled(false);
        return true;
    }
    m_mode = Mode::MultiAlbum;
    m_rowCount = m_albums.size();
    m_row = -1;
    nextRow();
    return true;
}

void AlbumDownloadJob::startPause()
{
    if (m_spacePause) {
        m_pause = m_spacePause;
    } else {
        delete m_pause.data();
        m_pause = new ServicePause(m_pauseOptions, this);
    }
    m_pausedListing = -1;
    connect(m_pause, &ServicePause::began, this,
            [this](int pauseMs) { m_view.addLogLines({PauseBeganText(pauseMs)}); });
    connect(m_pause, &ServicePause::countdown, this,
            [this](int remainingMs) { m_view.setStatusText(PauseCountdownText(remainingMs)); });
    connect(m_pause, &ServicePause::resumed, this, [this] {
        m_view.addLogLines({QStringLiteral("继续下载..")});
        m_view.setStatusText(QStringLiteral("相册下载任务继续.."));
        const int row = std::exchange(m_pausedListing, -1);
        if (row < 0)
            return; // the walk goes on by itself
        if (!m_state.albumJobRunning)
            stop();
        else
            continueListing(row);
    });
}

void AlbumDownloadJob::beginJournal()
{
    m_journalFolder = SpaceFolderPath(m_view.saveFolder(), m_state.listedOwnerUin);
    if (m_journalFolder.isEmpty())
        return;
    RunJournal journal
        = JournalKeepingOthers(m_journalFolder, m_state.listedOwnerUin, RunJournal::Kind::Album);
    journal.quality = BoxIndexOfQuality(m_view.quality());
    journal.naming = static_cast<int>(m_view.namingMode());
    const int selected = m_view.selectedAlbumRow();
    const bool single = m_albums.checkedCount() < 2;
    for (int row = 0; row < m_albums.size(); ++row) {
        const AlbumEntry &album = m_albums.entry(row);
        if ((single ? row == selected : album.isChecked) && album.allowAccess)
            journal.albums << RunJournal::Album {album.albumId, album.name, false, RunJournal::Kind::Album};
    }
    m_journal = journal;
    endJournal();
}

// Marks the album complete or not, or with nullopt takes it out; then writes the journal.
void AlbumDownloadJob::journalAlbum(const QString &albumId, std::optional<bool> complete)
{
    if (!m_journal)
        return;
    for (int i = 0; i < m_journal->albums.size(); ++i) {
        if (m_journal->albums.at(i).id != albumId)
            continue;
        if (complete)
            m_journal->albums[i].complete = *complete;
        else
            m_journal->albums.removeAt(i);
        break;
    }
    endJournal();
}

// Writes the journal, or deletes it once every album in it is complete: on the album
// lane, in turn with the albums' ends, so the window never waits for the disk.
void AlbumDownloadJob::endJournal()
{
    if (!m_journal)
        return;
    m_bookkeeping->run(
        [folder = m_journalFolder, journal = *m_journal]() -> std::optional<QString> {
            if (journal.remaining().isEmpty()) {
                RemoveRunJournal(folder);
                return std::nullopt;
            }
            QDir().mkpath(folder);
            return SaveRunJournal(folder, journal);
        },
        [this](std::optional<QString> error) {
            if (!error || !m_journal)
                return;
            m_view.addLogLines({QStringLiteral("下载记录无法保存：") + *error});
            m_journal.reset(); // said once; the run goes on without it
        });
}

// On the album lane, after every album's end handed in before: it reads the album.json
// of every album of the space. `written` gets the error's text when the report could
// not be written; it is dropped with `context`.
void AlbumDownloadJob::writeReport(QObject *context, std::function<void(std::optional<QString>)> written)
{
    const QString spaceFolder = SpaceFolderPath(m_view.saveFolder(), m_state.listedOwnerUin);
    // A whole-space run writes the report once, at its end.
    if (spaceFolder.isEmpty() || m_report.isEmpty() || m_spacePause) {
        written(std::nullopt);
        return;
    }
    BookkeepingWork work
        = [spaceFolder, owner = m_state.listedOwnerUin, report = m_report]() -> std::optional<QString> {
        if (!QFileInfo(spaceFolder).isDir())
            return std::nullopt;
        return WriteBackupReport(spaceFolder, owner, report);
    };
    if (context == this)
        m_bookkeeping->run(std::move(work), std::move(written));
    else
        RunOnAlbumLane(context, std::move(work), std::move(written));
}

void AlbumDownloadJob::noticeStop()
{
    if (!m_running || !m_pause || !m_pause->isPaused() || m_state.albumJobRunning)
        return;
    m_pause->cancel();
    m_pausedListing = -1;
    if (m_walk)
        m_walk->dropHeld(); // its stopped() ends the run
    else
        stop();
}

void AlbumDownloadJob::nextRow()
{
    if (++m_row >= m_rowCount) {
        finish();
        return;
    }
    // Input is handled between albums, so a stop or a changed tick counts from here on.
    QTimer::singleShot(0, this, &AlbumDownloadJob::visitRow);
}

void AlbumDownloadJob::visitRow()
{
    if (!m_state.albumJobRunning) {
        stop();
        return;
    }
    // The tick is read now: rows not reached yet follow the user's latest choice.
    const AlbumEntry &album = m_albums.entry(m_row);
    if (m_spacePause ? !m_spaceAlbums.contains(album.albumId) : !album.isChecked) {
        journalAlbum(album.albumId, std::nullopt);
        nextRow();
        return;
    }
    if (!album.allowAccess) {
        journalAlbum(album.albumId, std::nullopt);
        ++m_skipped;
        m_view.addLogLines({QLatin1Char('[') + album.name + QStringLiteral("]无权访问，已跳过..")});
        nextRow();
        return;
    }
    fetchAlbum(m_row);
}

void AlbumDownloadJob::fetchAlbum(int row)
{
    const AlbumEntry album = m_albums.entry(row);
    m_albums.answers().obtain(m_prompts, album, this,
                              [this, row, album](std::optional<AlbumAnswerKeys> answer) {
                                  if (!m_state.albumJobRunning) {
                                      stop();
                                  } else if (answer) {
                                      listAlbum(row, *answer);
                                  } else if (m_mode == Mode::SingleAlbum) {
                                      stop();
                                  } else {
                                      passOver(album.name, QStringLiteral("未输入答案，已跳过.."));
                                  }
                              });
}

// A protected album without its answer, in a multi-album run: counted with the albums
// the viewer may not open.
void AlbumDownloadJob::passOver(const QString &albumName, const QString &why)
{
    journalAlbum(m_albums.entry(m_row).albumId, std::nullopt);
    ++m_skipped;
    m_view.addLogLines({QLatin1Char('[') + albumName + QLatin1Char(']') + why});
    nextRow();
}

void AlbumDownloadJob::listAlbum(int row, const AlbumAnswerKeys &answer)
{
    // Every album starts from an empty list: a listing that fails leaves it empty
    // rather than showing another album's pictures.
    m_pictures.clear();
    m_missing = 0;
    m_answer = answer;
    // The album folder's record is read while the album is listed, not after it.
    m_readFolder
        = AlbumFolderPath(m_view.saveFolder(), m_state.listedOwnerUin, m_albums.entry(row).name, false);
    m_recordRead = AlbumWalk::readRecord(m_readFolder, m_transferOptions.idleMs);
    continueListing(row);
}

void AlbumDownloadJob::continueListing(int row)
{
    const AlbumEntry &album = m_albums.entry(row);
    const int announced = album.pictureCount.trimmed().toInt();
    m_fetch = new PhotoListFetch(m_nam, m_endpoints, FirstPhotoPage(m_state, album.albumId, m_answer),
                                 announced, this, m_busyRetry);
    m_fetch->resumeFrom(static_cast<int>(m_pictures.size()));
    // Room for the announced pictures at once: growing a list of 10,000 entries page by
    // page copies it on the window's thread. A hostile count gets no more than a cap.
    constexpr int MaxReserved = 100000;
    m_pictures.reserve(qBound(0, announced, MaxReserved));
    ServicePause *pause = m_pause;
    m_fetch->setPacing({[pause] { return pause->listWaitMs(); }, [pause] { pause->noteListRequest(); },
                        [pause](bool busy) {
                            pause->noteListAnswer(busy);
                        }});
    connect(m_fetch, &PhotoListFetch::pageArrived, this,
            [this](const QList<PhotoEntry> &page) { m_pictures += page; });
    connect(m_fetch, &PhotoListFetch::finished, this,
            [this, fetch = m_fetch.data(), row, announced](int received) {
                const AnswerState ending = fetch->ending();
                m_fetch = nullptr;
                if (ending == AnswerState::Expired) {
                    m_pictures.clear();
                    stop(true);
                    return;
                }
                if (fetch->wrongAnswer()) {
                    const AlbumEntry &refused = m_albums.entry(row);
                    m_albums.answers().forget(refused.albumId);
                    if (m_mode == Mode::MultiAlbum) {
                        passOver(refused.name, WrongAnswerText() + QStringLiteral(".."));
                        return;
                    }
                    stop();
                    m_view.setStatusText(WrongAnswerText());
                    m_prompts.inform(AppBoxTitle(), WrongAnswerText(), Prompts::Icon::Exclamation);
                    return;
                }
                if (ending == AnswerState::Busy) {
                    // The service limits the tool: the listing goes on after the pause,
                    // from the page it stopped at.
                    m_view.addLogLines({QLatin1Char('[') + m_albums.entry(row).name + QLatin1Char(']')
                                        + BusyServiceText() + QStringLiteral("..")});
                    m_pausedListing = row;
                    m_recordRead = {}; // read afresh after the pause
                    m_pause->begin();
                    return;
                }
                // Pictures the album holds but the listing did not bring (a page that
                // failed) were not saved either.
                m_missing = qMax(0, announced - received);
                m_serviceCount = qMax(announced, fetch->expectedTotal());
                walkAlbum(row);
            });
    m_fetch->start();
}

void AlbumDownloadJob::walkAlbum(int row)
{
    m_walk = new AlbumWalk(m_nam, m_state, m_albums, m_view, row, std::move(m_pictures), m_transferOptions,
                           this);
    m_pictures.clear();
    m_walk->setPacing(m_pacing);
    m_walk->setServicePause(m_pause);
    m_walk->setBookkeeping(m_bookkeeping);
    m_walk->setRecordRead(m_readFolder, std::exchange(m_recordRead, {}));
    connect(m_walk, &AlbumWalk::picturesReported, this, &AlbumDownloadJob::picturesReported);
    m_walk->setFloatview(new FloatviewLookup(
        m_nam, m_endpoints, AlbumFloatview(m_state, m_albums.entry(row).albumId), m_busyRetry, m_walk));
    connect(m_walk, &AlbumWalk::finished, this, &AlbumDownloadJob::onAlbumWalked);
    connect(m_walk, &AlbumWalk::stopped, this, [this] { stop(m_walk->sessionEnded()); });
    m_walk->start();
}

void AlbumDownloadJob::onAlbumWalked()
{
    const AlbumWalk::Tally tally = m_walk->tally();
    const QStringList failures = m_walk->failures();
    m_walk->deleteLater();
    m_walk = nullptr;
    const int failed = tally.failed + m_missing;
    const AlbumEntry &album = m_albums.entry(m_row);
    BackupReportAlbum checked;
    checked.id = album.albumId;
    checked.name = album.name;
    checked.serviceCount = m_serviceCount;
    checked.saved = tally.saved;
    checked.skipped = tally.skipped;
    checked.failed = failed;
    checked.failures = failures;
    if (m_missing > 0)
        checked.failures << QStringLiteral("%1张照片没有列出..").arg(m_missing);
    m_report << checked;
    m_view.addLogLines({AlbumCheckLine(checked)});
    Q_EMIT albumChecked(checked);
    m_total.saved += tally.saved;
    m_total.skipped += tally.skipped;
    m_total.failed += failed;
    journalAlbum(album.albumId, checked.complete());
    // The tick only when every picture of the album is on disk (saved now or before).
    m_albums.setDownloadState(m_row,
                              failed == 0
                                  ? QStringLiteral("√")
                                  : QStringLiteral("失败") + QString::number(failed) + QStringLiteral("张"));
    if (m_mode == Mode::SingleAlbum)
        finish();
    else
        nextRow();
}

void AlbumDownloadJob::finish()
{
    if (std::exchange(m_ending, true))
        return;
    m_pause->cancel();
    // The albums are done once their last pictures are saved: said at once. What is
    // left is bookkeeping.
    m_view.setStatusText(QStringLiteral("相册下载完成.."));
    // The selected row's album names the run, whichever albums were saved; a
    // whole-space run names none.
    if (m_spacePause) {
        m_view.addLogLinesNow({QStringLiteral("相册下载完成..")});
    } else {
        const QString selectedName = m_albums.entry(m_view.selectedAlbumRow()).name;
        m_view.addLogLinesNow({QLatin1Char('[') + selectedName + QStringLiteral("]相册下载完成..")});
    }
    // The report after every album's end, and the summary after both, so that it stays
    // the log's last line: a report that could not be written is said before it. The
    // run is over once its files are whole.
    auto reportError = std::make_shared<std::optional<QString>>();
    writeReport(this, [reportError](std::optional<QString> error) { *reportError = std::move(error); });
    m_bookkeeping->whenSettled([this, reportError] {
        m_running = false;
        if (!m_spacePause)
            m_state.albumJobIdle = true;
        m_view.setAlbumListEnabled(true);
        m_view.setJobControlsEnabled(true);
        // Pictures passed over as already saved are counted when the run looked for them.
        const QString passedOver = m_onlyNew || m_total.skipped > 0
            ? QStringLiteral("，跳过") + QString::number(m_total.skipped) + QStringLiteral("张")
            : QString();
        QStringList lines;
        if (*reportError)
            lines << ReportFailedText(**reportError);
        // The albums not complete are named just before the summary, which stays last.
        if (const QString incomplete = IncompleteAlbumsLine(m_report); !incomplete.isEmpty())
            lines << incomplete;
        lines << QStringLiteral("共保存") + QString::number(m_total.saved) + QStringLiteral("张") + passedOver
                + QStringLiteral("，失败") + QString::number(m_total.failed) + QStringLiteral("张")
                + (m_skipped > 0 ? QStringLiteral("，跳过%1个相册").arg(m_skipped) : QString());
        m_view.addLogLines(lines);
        // The progress bar keeps its last value.
        Q_EMIT ended();
    });
}

// Taken before an album (multi-album mode) or, once the pictures in flight are
// reported, before a picture. The album being walked keeps its last progress text.
void AlbumDownloadJob::stop(bool sessionEnded)
{
    if (std::exchange(m_ending, true))
        return;
    if (m_pause)
        m_pause->cancel();
    m_pausedListing = -1;
    const bool beforePicture = m_walk != nullptr;
    if (m_walk) {
        m_walk->deleteLater();
        m_walk = nullptr;
    }
    m_view.setProgressValue(1);
    m_view.setStatusText(StoppedText);
    if (m_mode == Mode::MultiAlbum && beforePicture)
        m_view.addLogLines({StoppedText});
    // A stop takes effect at once; the report follows, said by the view, which
    // outlives the job.
    AlbumJobView *view = &m_view;
    writeReport(&m_albums, [view](std::optional<QString> error) {
        if (error)
            view->addLogLines({ReportFailedText(*error)});
    });
    // The albums' ends handed in before (the album stopped among them) are whole when
    // the run ends.
    m_bookkeeping->whenSettled([this, sessionEnded] {
        m_running = false;
        if (!m_spacePause)
            m_state.albumJobIdle = true;
        if (m_mode == Mode::SingleAlbum)
            m_view.setAlbumListEnabled(true);
        m_view.setJobControlsEnabled(true);
        Q_EMIT ended();
        if (sessionEnded)
            Q_EMIT sessionExpired();
    });
}

} // namespace albivex
