#include "spacedl/SpaceBackupJob.h"

#include "albumdl/AlbumBookkeeping.h"
#include "albumdl/AlbumDownloadJob.h"
#include "boarddl/BoardDownloadJob.h"
#include "catalogue/AlbumAnswers.h"
#include "catalogue/AlbumListModel.h"
#include "moodsdl/MoodDownloadJob.h"
#include "qzone/AlbumAnswer.h"
#include "session/WindowState.h"
#include "storage/BoardFiles.h"
#include "storage/MoodFiles.h"
#include "storage/SaveLayout.h"

#include <QFileInfo>

namespace albivex {

namespace {

const QString StoppedText = QStringLiteral("已停止整个空间备份工作");
const QString MoodsPartId = QStringLiteral("moods");
const QString BoardPartId = QStringLiteral("board");
// The progress is shown at most this often: a picture a millisecond must not retitle
// the window as often.
constexpr int ProgressEveryMs = 250;

} // namespace

SpaceBackupJob::SpaceBackupJob(QNetworkAccessManager &nam, const Endpoints &endpoints, WindowState &state,
                               AlbumListModel &albums, AlbumJobView &view, Prompts &prompts, QObject *parent)
    : QObject(parent)
    , m_nam(nam)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_albums(albums)
    , m_window(view)
    , m_prompts(prompts)
    , m_partView(view)
    , m_bookkeeping(new AlbumBookkeeping(this))
{
    m_progressTimer.setSingleShot(true);
    m_progressTimer.setInterval(ProgressEveryMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &SpaceBackupJob::showProgress);
}

SpaceBackupJob::~SpaceBackupJob()
{
    // The parts see the window through m_partView: they go before it.
    for (QObject *part : findChildren<QObject *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (qobject_cast<AlbumDownloadJob *>(part) || qobject_cast<MoodDownloadJob *>(part)
            || qobject_cast<BoardDownloadJob *>(part))
            delete part;
    }
}

bool SpaceBackupJob::start()
{
    if (m_running || m_state.listedOwnerUin.isEmpty() || !m_state.albumJobIdle
        || m_state.selectedDownloadRunning)
        return false;
    m_owner = m_state.listedOwnerUin;
    m_spaceFolder = SpaceFolderPath(m_window.saveFolder(), m_owner);
    if (m_spaceFolder.isEmpty())
        return false;
    m_running = true;
    m_ending = false;
    m_sessionEnded = false;
    m_checks.clear();
    m_unanswered.clear();
    m_albumIds.clear();
    m_progress = {};

    // The parts: every album the viewer may open, the posts and the board; or, taken
    // up again, those the journal has not marked complete.
    m_journal = m_resumed.value_or(RunJournal {});
    m_journal.ownerUin = m_owner;
    m_journal.quality = BoxIndexOfQuality(m_window.quality());
    m_journal.naming = static_cast<int>(m_window.namingMode());
    m_journal.wholeSpace = true;
    QStringList resumedAlbums;
    for (const RunJournal::Album &part : m_journal.remaining(RunJournal::Kind::Album))
        resumedAlbums << part.id;
    QStringList closed;
    for (int row = 0; row < m_albums.size(); ++row) {
        const AlbumEntry &album = m_albums.entry(row);
        if (m_resumed ? !resumedAlbums.contains(album.albumId) : false)
            continue;
        if (!album.allowAccess) {
            closed << QLatin1Char('[') + album.name + QStringLiteral("]无权访问，已跳过..");
            continue;
        }
        m_albumIds << album.albumId;
        m_progress.picturesKnown += qMax(0, album.pictureCount.trimmed().toInt());
        if (!m_resumed)
            m_journal.albums << RunJournal::Album {album.albumId, album.name, false, RunJournal::Kind::Album};
    }
    m_doMoods = !m_resumed || !m_journal.remaining(RunJournal::Kind::Moods).isEmpty();
    m_doBoard = !m_resumed || !m_journal.remaining(RunJournal::Kind::Board).isEmpty();
    if (!m_resumed) {
        m_journal.albums << RunJournal::Album {MoodsPartId, MoodFolderBaseName(), false,
                                               RunJournal::Kind::Moods};
        m_journal.albums << RunJournal::Album {BoardPartId, BoardFolderBaseName(), false,
                                               RunJournal::Kind::Board};
    }
    m_partView.setResuming(m_resumed.has_value());
    m_progress.parts = int(m_albumIds.size()) + int(m_doMoods) + int(m_doBoard);

    m_state.albumJobIdle = false;
    m_state.albumJobRunning = true;
    m_window.setJobControlsEnabled(false);
    m_window.setAlbumListEnabled(false);
    m_window.addLogLinesNow(QStringList {QStringLiteral("开始备份QQ%1的整个空间：相册%2个%3%4..")
                                             .arg(m_owner)
                                             .arg(m_albumIds.size())
                                             .arg(m_doMoods ? QStringLiteral("，说说") : QString())
                                             .arg(m_doBoard ? QStringLiteral("，留言板") : QString())}
                            + closed);

    m_pause = new ServicePause(m_pauseOptions, this);
    connect(m_pause, &ServicePause::began, this, [this](int pauseMs) {
        m_progress.pausedUntil = QDateTime::currentDateTime().addMSecs(pauseMs);
        showProgress();
    });
    connect(m_pause, &ServicePause::resumed, this, [this] {
        m_progress.pausedUntil = QDateTime();
        showProgress();
    });
    showProgress();
    m_step = Step::Answers;
    askAnswers(0);
    return true;
}

// The answers of the protected albums, one box after another, before anything is
// fetched.
void SpaceBackupJob::askAnswers(int row)
{
    for (; row < m_albums.size(); ++row) {
        const AlbumEntry album = m_albums.entry(row);
        if (!m_albumIds.contains(album.albumId) || !NeedsAnswer(album.priv))
            continue;
        m_albums.answers().obtain(m_prompts, album, this,
                                  [this, row, album](std::optional<AlbumAnswerKeys> keys) {
                                      if (!keys) {
                                          m_albumIds.removeAll(album.albumId);
                                          m_unanswered << album.name;
                                          m_window.addLogLines({QLatin1Char('[') + album.name
                                                                + QStringLiteral("]未输入答案，已跳过..")});
                                      }
                                      askAnswers(row + 1);
                                  });
        return;
    }
    beginJournal();
    next();
}

void SpaceBackupJob::beginJournal()
{
    m_bookkeeping->run(
        [folder = m_spaceFolder, journal = m_journal] { return SaveRunJournal(folder, journal); },
        [this](std::optional<QString> error) {
            if (error)
                m_window.addLogLines({QStringLiteral("下载记录无法保存：") + *error});
        });
}

// The journal with the part marked, written on the album lane; removed once every
// part is complete.
void SpaceBackupJob::markPart(RunJournal::Kind kind, const QString &id, bool complete)
{
    for (RunJournal::Album &part : m_journal.albums) {
        if (part.kind == kind && part.id == id)
            part.complete = complete;
    }
    m_bookkeeping->run([folder = m_spaceFolder, journal = m_journal]() -> std::optional<QString> {
        if (journal.remaining().isEmpty()) {
            RemoveRunJournal(folder);
            return std::nullopt;
        }
        return SaveRunJournal(folder, journal);
    });
}

void SpaceBackupJob::next()
{
    if (!m_state.albumJobRunning || m_sessionEnded) {
        finish();
        return;
    }
    if (m_step < Step::Albums) {
        m_step = Step::Albums;
        if (!m_albumIds.isEmpty())
            return runAlbums();
    }
    if (m_step < Step::Moods) {
        m_step = Step::Moods;
        if (m_doMoods)
            return runMoods();
    }
    if (m_step < Step::Board) {
        m_step = Step::Board;
        if (m_doBoard)
            return runBoard();
    }
    m_step = Step::Done;
    finish();
}

void SpaceBackupJob::runAlbums()
{
    auto *job = new AlbumDownloadJob(m_nam, m_endpoints, m_state, m_albums, m_partView, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    job->setPacing(m_pacing);
    job->joinSpaceRun(m_pause, m_albumIds);
    connect(job, &AlbumDownloadJob::albumChecked, this, [this](const BackupReportAlbum &album) {
        markPart(RunJournal::Kind::Album, album.id, album.complete());
        ++m_progress.partsDone;
        noteProgress();
    });
    connect(job, &AlbumDownloadJob::picturesReported, this, [this](int, int onDisk) {
        m_progress.picturesSaved += onDisk;
        noteProgress();
    });
    connect(job, &AlbumDownloadJob::sessionExpired, this, [this] { m_sessionEnded = true; });
    // Queued: a part sends sessionExpired() right after its ended().
    connect(
        job, &AlbumDownloadJob::ended, this, [this, job] { onPartEnded(job); }, Qt::QueuedConnection);
    m_part = job;
    job->start();
}

void SpaceBackupJob::runMoods()
{
    auto *job = new MoodDownloadJob(m_nam, m_endpoints, m_state, m_albums, m_partView, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    job->setResuming(m_resumed.has_value());
    job->joinSpaceRun(m_pause);
    connect(job, &MoodDownloadJob::filesListed, this, [this](int count) {
        m_progress.picturesKnown += count;
        noteProgress();
    });
    connect(job, &MoodDownloadJob::fileSaved, this, [this] {
        ++m_progress.picturesSaved;
        noteProgress();
    });
    connect(job, &MoodDownloadJob::sessionExpired, this, [this] { m_sessionEnded = true; });
    connect(
        job, &MoodDownloadJob::ended, this, [this, job] { onPartEnded(job); }, Qt::QueuedConnection);
    m_part = job;
    if (!job->start()) {
        delete job;
        m_step = Step::Moods;
        next();
    }
}

void SpaceBackupJob::runBoard()
{
    auto *job = new BoardDownloadJob(m_nam, m_endpoints, m_state, m_albums, m_partView, m_prompts, this);
    job->setTransferOptions(m_transferOptions);
    job->setBusyRetry(m_busyRetry);
    job->setResuming(m_resumed.has_value());
    job->joinSpaceRun(m_pause);
    connect(job, &BoardDownloadJob::filesListed, this, [this](int count) {
        m_progress.picturesKnown += count;
        noteProgress();
    });
    connect(job, &BoardDownloadJob::fileSaved, this, [this] {
        ++m_progress.picturesSaved;
        noteProgress();
    });
    connect(job, &BoardDownloadJob::sessionExpired, this, [this] { m_sessionEnded = true; });
    connect(
        job, &BoardDownloadJob::ended, this, [this, job] { onPartEnded(job); }, Qt::QueuedConnection);
    m_part = job;
    if (!job->start()) {
        delete job;
        m_step = Step::Board;
        next();
    }
}

void SpaceBackupJob::onPartEnded(QObject *job)
{
    // A stop clears the running flag, which the parts leave to the run.
    const bool stopped = !m_state.albumJobRunning || m_sessionEnded;
    if (auto *albums = qobject_cast<AlbumDownloadJob *>(job)) {
        m_checks += albums->checks();
    } else if (auto *moods = qobject_cast<MoodDownloadJob *>(job)) {
        m_checks << moods->check();
        markPart(RunJournal::Kind::Moods, MoodsPartId, !stopped && moods->check().complete());
        ++m_progress.partsDone;
    } else if (auto *board = qobject_cast<BoardDownloadJob *>(job)) {
        m_checks << board->check();
        markPart(RunJournal::Kind::Board, BoardPartId, !stopped && board->check().complete());
        ++m_progress.partsDone;
    }
    m_pause->disconnect(job);
    job->deleteLater();
    m_part = nullptr;
    showProgress();
    next();
}

void SpaceBackupJob::finish()
{
    if (std::exchange(m_ending, true))
        return;
    m_pause->cancel();
    m_progress.pausedUntil = QDateTime();
    m_progressTimer.stop();
    const bool stopped = !m_state.albumJobRunning || m_sessionEnded;

    // What is not complete: albums not whole, not answered or not reached, and the posts
    // and the board unless they ended whole.
    QStringList incomplete;
    int albums = 0, posts = 0, messages = 0, pictures = 0, failed = 0;
    bool moodsWhole = false, boardWhole = false;
    QStringList lines;
    for (const BackupReportAlbum &check : m_checks) {
        lines << AlbumCheckLine(check);
        if (!check.note.isEmpty())
            lines << check.note;
        failed += check.failed;
        switch (check.part) {
        case BackupReportAlbum::Part::Album:
            ++albums;
            pictures += check.saved;
            if (!check.complete())
                incomplete << check.name;
            break;
        case BackupReportAlbum::Part::Moods:
            posts = check.saved;
            pictures += check.pictures;
            moodsWhole = check.complete() && !stopped;
            break;
        case BackupReportAlbum::Part::Board:
            messages = check.saved;
            pictures += check.pictures;
            boardWhole = check.complete() && !stopped;
            break;
        }
    }
    for (int row = 0; row < m_albums.size(); ++row) {
        const AlbumEntry &album = m_albums.entry(row);
        const bool checked
            = std::any_of(m_checks.cbegin(), m_checks.cend(),
                          [&album](const BackupReportAlbum &c) { return c.id == album.albumId; });
        if (m_albumIds.contains(album.albumId) && !checked)
            incomplete << album.name;
    }
    incomplete << m_unanswered;
    if (m_doMoods && !moodsWhole)
        incomplete << MoodFolderBaseName();
    if (m_doBoard && !boardWhole)
        incomplete << BoardFolderBaseName();
    if (const QString line = IncompletePartsLine(incomplete); !line.isEmpty())
        lines << line;

    // The report once, on the album lane after the parts' own disk work.
    m_bookkeeping->run(
        [folder = m_spaceFolder, owner = m_owner, checks = m_checks]() -> std::optional<QString> {
            if (checks.isEmpty() || !QFileInfo(folder).isDir())
                return std::nullopt;
            return WriteBackupReport(folder, owner, checks);
        },
        [this](std::optional<QString> error) {
            if (error)
                m_window.addLogLines({QStringLiteral("备份报告无法保存：") + *error});
        });
    lines << (stopped ? StoppedText : SpaceSummaryLine(albums, posts, messages, pictures, failed));
    m_bookkeeping->whenSettled([this, lines, stopped] {
        m_running = false;
        m_state.albumJobIdle = true;
        m_state.albumJobRunning = false;
        m_window.setStatusText(stopped ? StoppedText : QStringLiteral("整个空间备份完成.."));
        m_window.addLogLines(lines);
        m_window.setAlbumListEnabled(true);
        m_window.setJobControlsEnabled(true);
        Q_EMIT ended();
        if (m_sessionEnded)
            Q_EMIT sessionExpired();
    });
}

void SpaceBackupJob::noticeStop()
{
    if (!m_running || m_state.albumJobRunning)
        return;
    if (auto *albums = qobject_cast<AlbumDownloadJob *>(m_part.data()))
        albums->noticeStop();
    else if (auto *moods = qobject_cast<MoodDownloadJob *>(m_part.data()))
        moods->noticeStop();
    else if (auto *board = qobject_cast<BoardDownloadJob *>(m_part.data()))
        board->noticeStop();
}

void SpaceBackupJob::noteProgress()
{
    if (!m_progressTimer.isActive())
        m_progressTimer.start();
}

void SpaceBackupJob::showProgress()
{
    if (m_ending)
        return;
    m_partView.setProgressText(SpaceProgressText(m_progress));
    m_window.setProgressRange(0, qMax(1, qMax(m_progress.picturesKnown, m_progress.picturesSaved)));
    m_window.setProgressValue(m_progress.picturesSaved);
    Q_EMIT progressChanged();
}

} // namespace albivex
