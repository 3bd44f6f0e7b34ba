#include "boarddl/BoardDownloadJob.h"

#include "albumdl/AlbumBookkeeping.h"
#include "albumdl/AlbumJobView.h"
#include "albumdl/PartRun.h"
#include "boarddl/BoardListing.h"
#include "catalogue/AlbumListModel.h"
#include "qzone/BoardRequest.h"
#include "qzone/BoardText.h"
#include "qzone/Endpoints.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "storage/AlbumRecord.h"
#include "storage/BoardDocumentUpdate.h"
#include "storage/BoardFiles.h"
#include "storage/SaveLayout.h"
#include "storage/StaleTemporaryFiles.h"

#include <QDir>

namespace albivex {

namespace {

const QString LogHead = QStringLiteral("[留言板]");
const QString StoppedText = QStringLiteral("已停止留言板下载工作");

// The pictures a message shows, each once, keyed by the message's id and their place
// in it: a new address for the same picture does not fetch it again.
QList<MoodMediaItem> PicturesOf(const BoardMessage &message)
{
    QList<MoodMediaItem> items;
    QStringList seen;
    for (const QString &address : BoardPlainText(message.ubbContent).pictures) {
        if (seen.contains(address))
            continue;
        seen << address;
        const int number = int(seen.size());
        items.append({message.id + QStringLiteral("/p") + QString::number(number), address,
                      BoardPictureFileName(message, number, QStringLiteral(".jpg")), false, QSize()});
    }
    return items;
}

} // namespace

BoardDownloadJob::BoardDownloadJob(QNetworkAccessManager &nam, const Endpoints &endpoints, WindowState &state,
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

BoardDownloadJob::~BoardDownloadJob()
{
    if (m_listing)
        m_listing->cancel();
    delete m_saver.data();
}

bool BoardDownloadJob::start()
{
    if (m_running || m_state.listedOwnerUin.isEmpty())
        return false;
    m_owner = m_state.listedOwnerUin;
    m_spaceFolder = SpaceFolderPath(m_view.saveFolder(), m_owner);
    m_folder = BoardFolderPath(m_view.saveFolder(), m_owner, ListedAlbumNames(m_albums));
    if (m_folder.isEmpty())
        return false;
    m_running = true;
    m_ending = false;
    m_listed = m_total = m_nextNumber = 0;
    m_emptyPausedAt = -1;
    m_listingDone = false;
    m_open.clear();
    m_entries.clear();
    m_check = {};
    m_check.id = BoardFolderBaseName();
    m_check.name = BoardFolderBaseName();
    m_check.part = BackupReportAlbum::Part::Board;
    BeginPartRun(m_state, m_view, m_spacePause != nullptr, QStringLiteral("留言板下载任务开始.."),
                 LogHead + QStringLiteral("开始下载QQ%1的留言板..").arg(m_owner));

    if (!m_spacePause)
        delete m_pause.data();
    m_pause = AdoptPause(this, m_spacePause, m_pauseOptions, m_view, LogHead, [this] {
        showProgress();
        if (m_saver)
            m_saver->resume();
    });
    PreparePartFolder(this, m_folder, StaleTemporaryAgeMs(m_transferOptions.idleMs),
                      [this](std::shared_ptr<AlbumRecord> record) {
                          if (!m_ending)
                              onPrepared(std::move(record));
                      });
    return true;
}

void BoardDownloadJob::onPrepared(std::shared_ptr<AlbumRecord> record)
{
    m_record = std::move(record);
    m_saver = new MoodSaver(m_nam, m_record, m_folder, m_transferOptions, m_pause, this);
    m_saver->setSkipRecorded(m_view.onlyNew() || m_resuming);
    m_saver->setWriteMetadata([view = &m_view] { return view->writeMetadata(); });
    connect(m_saver, &MoodSaver::postEnded, this, &BoardDownloadJob::onMessageEnded);
    connect(m_saver, &MoodSaver::fileSaved, this, [this] {
        ++m_check.pictures;
        showProgress();
        Q_EMIT fileSaved();
    });
    m_listing = new BoardListing(m_nam, m_endpoints, m_state.credentials.uin, m_owner,
                                 m_state.credentials.tokenFor(Endpoint::Board), m_busyRetry, *m_pause, this);
    connect(m_listing, &BoardListing::pageReady, this, &BoardDownloadJob::onPage);
    connect(m_listing, &BoardListing::turnedAway, this, &BoardDownloadJob::onTurnedAway);
    connect(m_listing, &BoardListing::refused, this, &BoardDownloadJob::onRefused);
    connect(m_listing, &BoardListing::expired, this, [this] { stop(true); });
    connect(m_listing, &BoardListing::failed, this, [this] { endListing(true); });
    m_listing->fetch(0);
}

void BoardDownloadJob::onPage(int start, int total, const QList<BoardMessage> &messages)
{
    if (!m_state.albumJobRunning) {
        stop();
        return;
    }
    m_emptyPausedAt = -1;
    m_listed = start + int(messages.size());
    m_total = qMax(qMax(m_total, total), m_listed);
    for (const BoardMessage &message : messages) {
        if (message.id.isEmpty())
            continue; // board.json keeps messages by their id
        const int number = m_nextNumber++;
        m_open.insert(number, message);
        const QDateTime time = BoardTime(message.pubtime);
        const PictureWords words {time, BoardPlainText(message.ubbContent).text, QString()};
        if (const int toFetch = m_saver->addFiles(number, PicturesOf(message), words, time); toFetch > 0)
            Q_EMIT filesListed(toFetch);
    }
    showProgress();
    if (messages.isEmpty() || (total >= 0 && m_listed >= total)) {
        endListing(messages.isEmpty() && total >= 0 && m_listed < total);
        return;
    }
    m_listing->fetch(m_listed);
}

void BoardDownloadJob::onTurnedAway(bool emptyPage)
{
    if (!m_state.albumJobRunning) {
        stop();
        return;
    }
    if (!PauseForTurnedAway(m_view, *m_pause, LogHead, emptyPage, m_listed, m_emptyPausedAt)) {
        endListing(true); // still nothing after a pause: the older messages are kept from us
        return;
    }
    m_listing->goOn(); // held until the pause is over
}

void BoardDownloadJob::onRefused(const QString &message)
{
    if (m_listed > 0) {
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

void BoardDownloadJob::onMessageEnded(int number, const MoodSaver::PostEnd &end)
{
    m_entries << BoardEntryOf(m_open.take(number), end.files);
    m_check.failed += end.failed;
    m_check.failures << end.failures;
    for (const QString &failure : end.failures)
        m_view.addLogLines({LogHead + failure});
    showProgress();
    finishIfDone();
}

void BoardDownloadJob::endListing(bool cutShort)
{
    m_listingDone = true;
    if (cutShort)
        m_check.note = QStringLiteral("留言板列表不完整：服务端%1条，已取得%2条").arg(m_total).arg(m_listed);
    finishIfDone();
}

void BoardDownloadJob::showProgress()
{
    if (m_ending)
        return;
    m_view.setProgressRange(0, qMax(1, m_total));
    m_view.setProgressValue(qMin(int(m_entries.size()), qMax(1, m_total)));
    m_view.setStatusText(QStringLiteral("留言板：已列出%1/%2条，已保存%3条，图片%4张")
                             .arg(m_listed)
                             .arg(m_total)
                             .arg(m_entries.size())
                             .arg(m_check.pictures));
}

void BoardDownloadJob::finishIfDone()
{
    if (m_listingDone && m_saver && m_saver->openPosts() == 0 && m_open.isEmpty())
        finish();
}

// board.json, the record and (alone) the report, on the album lane.
void BoardDownloadJob::writeDown()
{
    m_check.serviceCount = m_total;
    m_check.saved = int(m_entries.size());
    if (!m_entries.isEmpty()) {
        m_bookkeeping->run(
            [folder = m_folder, entries = m_entries]() -> std::optional<QString> {
                // A board without pictures has had no file to make its folder.
                if (!QDir().mkpath(folder))
                    return QStringLiteral("cannot make the folder ") + folder;
                return UpdateBoardDocument(folder, BoardDocument {entries});
            },
            LogFailure(m_view, LogHead + QStringLiteral("留言信息无法保存：")));
    }
    WritePartRecordAndReport(*m_bookkeeping, m_view, m_record, m_spacePause != nullptr, m_spaceFolder,
                             m_owner, m_check);
}

void BoardDownloadJob::finish()
{
    if (std::exchange(m_ending, true))
        return;
    m_pause->cancel();
    writeDown();
    m_view.setProgressValue(qMax(1, m_total));
    m_view.setStatusText(QStringLiteral("留言板下载完成.."));
    endRun(PartEndLines(m_check, QStringLiteral("留言板下载完成：共保存%1条").arg(m_entries.size())), false);
}

void BoardDownloadJob::noticeStop()
{
    if (m_running && !m_state.albumJobRunning)
        stop();
}

void BoardDownloadJob::stop(bool sessionEnded)
{
    if (std::exchange(m_ending, true))
        return;
    if (m_pause)
        m_pause->cancel();
    if (m_listing)
        m_listing->cancel();
    if (m_saver) {
        // The messages cut off keep what their pictures saved so far.
        const QHash<int, MoodSaver::PostEnd> open = m_saver->stop();
        for (auto it = open.cbegin(); it != open.cend(); ++it) {
            m_entries << BoardEntryOf(m_open.value(it.key()), it.value().files);
            m_check.failures << it.value().failures;
            m_check.failed += it.value().failed;
        }
        m_open.clear();
        m_check.note = StoppedText;
        writeDown();
    }
    m_view.setStatusText(StoppedText);
    endRun({LogHead + StoppedText}, sessionEnded);
}

// Once what the run handed to the album lane is written: the run's last lines, the
// window back to idle, ended().
void BoardDownloadJob::endRun(const QStringList &lastLines, bool sessionEnded)
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
