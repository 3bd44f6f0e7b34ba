#include "moodsdl/MoodDownloadJob.h"

#include "albumdl/AlbumBookkeeping.h"
#include "albumdl/AlbumJobView.h"
#include "albumdl/PartRun.h"
#include "catalogue/AlbumListModel.h"
#include "moodsdl/MoodListing.h"
#include "moodsdl/MoodMedia.h"
#include "qzone/Endpoints.h"
#include "qzone/MoodRequest.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "storage/AlbumRecord.h"
#include "storage/MoodDocumentUpdate.h"
#include "storage/MoodFiles.h"
#include "storage/RunJournal.h"
#include "storage/SaveLayout.h"
#include "storage/StaleTemporaryFiles.h"

#include <QDir>
#include <QFileInfo>

namespace albivex {

namespace {

const QString LogHead = QStringLiteral("[说说]");
const QString StoppedText = QStringLiteral("已停止说说下载工作");
const QString JournalPartId = QStringLiteral("moods");

QString CutShortLine(int total, int listed)
{
    return QStringLiteral("说说列表不完整：服务端%1条，已取得%2条").arg(total).arg(listed);
}

} // namespace

MoodDownloadJob::MoodDownloadJob(QNetworkAccessManager &nam, const Endpoints &endpoints, WindowState &state,
                                 const AlbumListModel &albums, AlbumJobView &view, Prompts &prompts,
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

MoodDownloadJob::~MoodDownloadJob()
{
    if (m_listing)
        m_listing->cancel();
    delete m_saver.data();
}

bool MoodDownloadJob::start()
{
    if (m_running || m_state.listedOwnerUin.isEmpty())
        return false;
    m_owner = m_state.listedOwnerUin;
    m_spaceFolder = SpaceFolderPath(m_view.saveFolder(), m_owner);
    m_folder = MoodFolderPath(m_view.saveFolder(), m_owner, ListedAlbumNames(m_albums));
    if (m_folder.isEmpty())
        return false;
    m_running = true;
    m_ending = false;
    m_onlyNew = m_view.onlyNew() && !m_resuming;
    m_pos = 0;
    m_nextPos = -1;
    m_total = 0;
    m_emptyPausedAt = -1;
    m_listingDone = false;
    m_cutShort = false;
    m_assumed = m_keptWhole = m_postsEnded = m_nextNumber = 0;
    m_open.clear();
    m_entries.clear();
    m_entriesWritten = 0;
    m_check = {};
    m_check.id = MoodFolderBaseName();
    m_check.name = MoodFolderBaseName();
    m_check.part = BackupReportAlbum::Part::Moods;
    m_journalBegun = false;
    BeginPartRun(m_state, m_view, m_spacePause != nullptr, QStringLiteral("说说下载任务开始.."),
                 LogHead + QStringLiteral("开始下载QQ%1的说说..").arg(m_owner));

    if (!m_spacePause)
        delete m_pause.data();
    m_pause = AdoptPause(this, m_spacePause, m_pauseOptions, m_view, LogHead, [this] {
        showProgress();
        if (m_saver)
            m_saver->resume();
    });

    // With the record, the posts moods.json knows.
    PreparePartFolder(
        this, m_folder, StaleTemporaryAgeMs(m_transferOptions.idleMs),
        [](const QString &folder) {
            QHash<QString, QStringList> known;
            for (const MoodDocumentEntry &entry : LoadMoodDocument(folder).document.moods)
                known.insert(entry.id, entry.lost);
            return known;
        },
        [this](std::shared_ptr<AlbumRecord> record, QHash<QString, QStringList> known) {
            if (!m_ending)
                onPrepared(std::move(record), std::move(known));
        });
    return true;
}

void MoodDownloadJob::onPrepared(std::shared_ptr<AlbumRecord> record, QHash<QString, QStringList> known)
{
    m_record = std::move(record);
    m_known = std::move(known);
    m_saver = new MoodSaver(m_nam, m_record, m_folder, m_transferOptions, m_pause, this);
    m_saver->setSkipRecorded(m_onlyNew || m_resuming);
    m_saver->setWriteMetadata([view = &m_view] { return view->writeMetadata(); });
    connect(m_saver, &MoodSaver::postEnded, this, &MoodDownloadJob::onPostEnded);
    connect(m_saver, &MoodSaver::fileSaved, this, [this] {
        ++m_check.pictures;
        showProgress();
        Q_EMIT fileSaved();
    });
    m_listing = new MoodListing(m_nam, m_endpoints, m_owner, m_state.credentials.tokenFor(Endpoint::MoodList),
                                m_busyRetry, *m_pause, this);
    connect(m_listing, &MoodListing::pageReady, this, &MoodDownloadJob::onPage);
    connect(m_listing, &MoodListing::turnedAway, this, &MoodDownloadJob::onTurnedAway);
    connect(m_listing, &MoodListing::refused, this, &MoodDownloadJob::onRefused);
    connect(m_listing, &MoodListing::expired, this, [this] { stop(true); });
    connect(m_listing, &MoodListing::failed, this, [this] { endListing(true); });
    m_listing->fetch(0);
}

void MoodDownloadJob::onPage(int pos, int total, const QList<MoodPost> &posts)
{
    if (!m_state.albumJobRunning) {
        stop();
        return;
    }
    if (!m_journalBegun) {
        // The journal once the space is known to let its posts be read.
        m_journalBegun = true;
        // Read and written on the album lane: the window's thread never waits for the disk.
        // A whole-space run keeps the journal itself.
        if (!m_spacePause)
            m_bookkeeping->run([folder = m_spaceFolder, owner = m_owner,
                                quality = BoxIndexOfQuality(m_view.quality()),
                                naming = static_cast<int>(m_view.namingMode())] {
                RunJournal journal = JournalKeepingOthers(folder, owner, RunJournal::Kind::Moods);
                journal.quality = quality;
                journal.naming = naming;
                journal.albums << RunJournal::Album {JournalPartId, MoodFolderBaseName(), false,
                                                     RunJournal::Kind::Moods};
                return SaveRunJournal(folder, journal);
            });
        // moods.json at once, so that a run killed before its end leaves a folder
        // known as the posts' (an album folder holds a record too).
        m_bookkeeping->run(
            [folder = m_folder]() -> std::optional<QString> {
                if (QFileInfo::exists(QDir(folder).filePath(MoodDocumentFileName())))
                    return std::nullopt;
                QDir().mkpath(folder);
                return UpdateMoodDocument(folder, MoodDocument {});
            },
            LogFailure(m_view, LogHead + QStringLiteral("说说信息无法保存：")));
    }
    m_emptyPausedAt = -1;
    m_total = qMax(m_total, total);
    m_pos = pos + int(posts.size());
    m_total = qMax(m_total, m_pos);
    bool allKept = !posts.isEmpty();
    for (const MoodPost &post : posts)
        allKept = allKept && m_known.contains(post.tid) && m_saver->holdsWhole(post, m_known.value(post.tid));
    if (m_onlyNew && allKept) {
        // Posts come newest first: the ones past this page are an earlier run's too.
        m_keptWhole += int(posts.size());
        m_postsEnded += int(posts.size());
        m_assumed = qMax(0, m_total - m_pos);
        endListing(false);
        return;
    }
    for (const MoodPost &post : posts) {
        if ((m_onlyNew || m_resuming) && m_known.contains(post.tid)
            && m_saver->holdsWhole(post, m_known.value(post.tid))) {
            ++m_keptWhole;
            ++m_postsEnded;
            continue;
        }
        const int number = m_nextNumber++;
        if (const int without = MoodMediaWithoutAddress(post); without > 0) {
            m_check.failed += without;
            m_check.failures << QLatin1Char('[') + MoodFileStem(post)
                    + QStringLiteral("]%1个文件没有地址..").arg(without);
        }
        m_open.insert(number, post);
        if (const int toFetch = m_saver->add(number, post, m_known.value(post.tid)); toFetch > 0)
            Q_EMIT filesListed(toFetch);
    }
    showProgress();
    if (posts.isEmpty() || (total >= 0 && m_pos >= total)) {
        endListing(posts.isEmpty() && total >= 0 && m_pos < total);
        return;
    }
    m_nextPos = m_pos;
    listNext();
}

// The next page once no more than a page of posts waits for its files: the listing
// stays at most two pages ahead of the saving.
void MoodDownloadJob::listNext()
{
    if (m_nextPos < 0 || m_listingDone || m_saver->openPosts() > 2 * MoodPageSize)
        return;
    const int pos = std::exchange(m_nextPos, -1);
    m_listing->fetch(pos);
}

void MoodDownloadJob::onTurnedAway(bool emptyPage)
{
    if (!m_state.albumJobRunning) {
        stop();
        return;
    }
    if (!PauseForTurnedAway(m_view, *m_pause, LogHead, emptyPage, m_pos, m_emptyPausedAt)) {
        endListing(true); // still nothing after a pause: the older posts are kept from us
        return;
    }
    m_listing->goOn(); // held until the pause is over
}

void MoodDownloadJob::onRefused(const QString &message)
{
    if (m_pos > 0 || m_journalBegun) {
        endListing(true);
        return;
    }
    const QString text = SayRefused(m_view, m_prompts, message, m_spacePause != nullptr);
    if (std::exchange(m_ending, true))
        return;
    m_pause->cancel();
    delete m_saver.data();
    endRun({LogHead + text}, false);
}

void MoodDownloadJob::onPostEnded(int number, const MoodSaver::PostEnd &end)
{
    const MoodPost post = m_open.take(number);
    m_entries << MoodEntryOf(post, end.files);
    m_entries.last().lost = end.lost;
    if (m_entries.size() >= EntriesPerWrite)
        writeEntries();
    m_check.failed += end.failed;
    m_check.failures << end.failures;
    ++m_postsEnded;
    for (const QString &failure : end.failures)
        m_view.addLogLines({LogHead + failure});
    showProgress();
    listNext();
    finishIfDone();
}

void MoodDownloadJob::endListing(bool cutShort)
{
    m_listingDone = true;
    m_cutShort = cutShort;
    if (cutShort)
        m_check.note = CutShortLine(m_total, m_pos);
    finishIfDone();
}

void MoodDownloadJob::showProgress()
{
    if (m_ending)
        return;
    m_view.setProgressRange(0, qMax(1, m_total));
    m_view.setProgressValue(qMin(m_postsEnded, qMax(1, m_total)));
    m_view.setStatusText(QStringLiteral("说说：已列出%1/%2条，已保存%3条，图片%4张")
                             .arg(m_pos)
                             .arg(m_total)
                             .arg(m_postsEnded)
                             .arg(m_check.pictures));
}

void MoodDownloadJob::finishIfDone()
{
    if (m_listingDone && m_saver && m_saver->openPosts() == 0 && m_open.isEmpty())
        finish();
}

// The posts ended since the last write go into moods.json on the album lane, so that
// neither the window's memory nor what a kill loses grows with the space.
void MoodDownloadJob::writeEntries()
{
    if (m_entries.isEmpty())
        return;
    m_entriesWritten += int(m_entries.size());
    m_bookkeeping->run(
        [folder = m_folder, entries = std::exchange(m_entries, {})]() -> std::optional<QString> {
            return UpdateMoodDocument(folder, MoodDocument {entries});
        },
        [view = &m_view](std::optional<QString> error) {
            if (error)
                view->addLogLines({LogHead + QStringLiteral("说说信息无法保存：") + *error});
        });
}

void MoodDownloadJob::writeDown(bool complete)
{
    m_check.serviceCount = m_total;
    m_check.saved = m_entriesWritten + int(m_entries.size()) + m_keptWhole + m_assumed;
    const bool whole = complete && m_check.complete();
    writeEntries();
    // The record before the journal: a part marked complete has its files recorded.
    WritePartRecordAndReport(*m_bookkeeping, m_view, m_record, m_spacePause != nullptr, m_spaceFolder,
                             m_owner, m_check);
    if (m_journalBegun && !m_spacePause) {
        m_bookkeeping->run(
            [folder = m_spaceFolder, owner = m_owner, whole]() -> std::optional<QString> {
                std::optional<RunJournal> journal = LoadRunJournal(folder);
                if (!journal || journal->ownerUin != owner)
                    return std::nullopt;
                for (RunJournal::Album &part : journal->albums) {
                    if (part.kind == RunJournal::Kind::Moods)
                        part.complete = whole;
                }
                if (journal->remaining().isEmpty()) {
                    RemoveRunJournal(folder);
                    return std::nullopt;
                }
                return SaveRunJournal(folder, *journal);
            },
            LogFailure(m_view, QStringLiteral("下载记录无法保存：")));
    }
}

void MoodDownloadJob::finish()
{
    if (std::exchange(m_ending, true))
        return;
    m_pause->cancel();
    writeDown(true);
    m_view.setProgressValue(qMax(1, m_total));
    m_view.setStatusText(QStringLiteral("说说下载完成.."));
    endRun(PartEndLines(m_check,
                        QStringLiteral("说说下载完成：共保存%1条，图片%2张，失败%3张")
                            .arg(m_entriesWritten)
                            .arg(m_check.pictures)
                            .arg(m_check.failed)),
           false);
}

void MoodDownloadJob::noticeStop()
{
    if (m_running && !m_state.albumJobRunning)
        stop();
}

void MoodDownloadJob::stop(bool sessionEnded)
{
    if (std::exchange(m_ending, true))
        return;
    if (m_pause)
        m_pause->cancel();
    if (m_listing)
        m_listing->cancel();
    if (m_saver) {
        // What the posts cut off saved so far is written down with them.
        const QHash<int, MoodSaver::PostEnd> open = m_saver->stop();
        for (auto it = open.cbegin(); it != open.cend(); ++it) {
            m_entries << MoodEntryOf(m_open.value(it.key()), it.value().files);
            m_entries.last().lost = it.value().lost;
            m_check.failures << it.value().failures;
            m_check.failed += it.value().failed;
        }
        m_open.clear();
        writeDown(false);
    }
    m_view.setStatusText(StoppedText);
    endRun({LogHead + StoppedText}, sessionEnded);
}

// Once what the run handed to the album lane is written: the run's last lines, the
// window back to idle, ended().
void MoodDownloadJob::endRun(const QStringList &lastLines, bool sessionEnded)
{
    EndPartRun(*m_bookkeeping, m_state, m_view, m_spacePause != nullptr, lastLines, [this, sessionEnded] {
        m_running = false;
        m_resuming = false;
        Q_EMIT ended();
        if (sessionEnded)
            Q_EMIT sessionExpired();
    });
}

} // namespace albivex
