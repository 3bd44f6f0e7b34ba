#include "albumdl/PartRun.h"

#include "albumdl/AlbumBookkeeping.h"
#include "albumdl/AlbumJobView.h"
#include "albumdl/ServicePause.h"
#include "catalogue/AlbumListModel.h"
#include "catalogue/ListTexts.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "storage/BackupReport.h"

#include <QFileInfo>

namespace albivex {

void BeginPartRun(WindowState &state, AlbumJobView &view, bool inSpaceRun, const QString &status,
                  const QString &firstLine)
{
    if (!inSpaceRun) {
        state.albumJobIdle = false;
        state.albumJobRunning = true;
    }
    view.setJobControlsEnabled(false);
    view.setAlbumListEnabled(false);
    view.setProgressRange(0, 1);
    view.setProgressValue(0);
    view.setStatusText(status);
    view.addLogLinesNow({firstLine});
}

QStringList ListedAlbumNames(const AlbumListModel &albums)
{
    QStringList names;
    for (int row = 0; row < albums.size(); ++row)
        names << albums.entry(row).name;
    return names;
}

ServicePause *AdoptPause(QObject *owner, ServicePause *shared, const ServicePauseOptions &options,
                         AlbumJobView &view, const QString &logHead, std::function<void()> resumed)
{
    ServicePause *pause = shared ? shared : new ServicePause(options, owner);
    QObject::connect(pause, &ServicePause::began, owner, [&view, logHead](int pauseMs) {
        view.addLogLines({logHead + PauseBeganText(pauseMs)});
    });
    QObject::connect(pause, &ServicePause::countdown, owner,
                     [&view](int remainingMs) { view.setStatusText(PauseCountdownText(remainingMs)); });
    QObject::connect(pause, &ServicePause::resumed, owner, [&view, logHead, resumed = std::move(resumed)] {
        view.addLogLines({logHead + QStringLiteral("继续下载..")});
        resumed();
    });
    return pause;
}

QString SayRefused(AlbumJobView &view, Prompts &prompts, const QString &message, bool inSpaceRun)
{
    const QString text = message.isEmpty() ? QStringLiteral("由于对方权限设置，您不能进行此操作") : message;
    view.setStatusText(text);
    if (!inSpaceRun)
        prompts.inform(AppBoxTitle(), text, Prompts::Icon::Information);
    return text;
}

void PreparePartFolder(QObject *context, const QString &folder, qint64 staleAgeMs,
                       std::function<void(std::shared_ptr<AlbumRecord>)> prepared)
{
    PreparePartFolder(
        context, folder, staleAgeMs, [](const QString &) { return true; },
        [prepared = std::move(prepared)](std::shared_ptr<AlbumRecord> record, bool) {
            prepared(std::move(record));
        });
}

bool PauseForTurnedAway(AlbumJobView &view, ServicePause &pause, const QString &logHead, bool emptyPage,
                        int listed, int &emptyPausedAt)
{
    if (emptyPage && emptyPausedAt == listed)
        return false;
    if (emptyPage)
        emptyPausedAt = listed;
    view.addLogLines({logHead + BusyServiceText() + QStringLiteral("..")});
    pause.begin();
    return true;
}

std::function<void(std::optional<QString>)> LogFailure(AlbumJobView &view, const QString &head)
{
    return [&view, head](std::optional<QString> error) {
        if (error)
            view.addLogLines({head + *error});
    };
}

void WritePartRecordAndReport(AlbumBookkeeping &bookkeeping, AlbumJobView &view,
                              std::shared_ptr<AlbumRecord> record, bool inSpaceRun,
                              const QString &spaceFolder, const QString &owner,
                              const BackupReportAlbum &check)
{
    bookkeeping.run([record = std::move(record)]() -> std::optional<QString> {
        if (record)
            record->flush();
        return std::nullopt;
    });
    if (inSpaceRun)
        return;
    bookkeeping.run(
        [spaceFolder, owner, check]() -> std::optional<QString> {
            if (!QFileInfo(spaceFolder).isDir())
                return std::nullopt;
            return WriteBackupReport(spaceFolder, owner, {check});
        },
        LogFailure(view, QStringLiteral("备份报告无法保存：")));
}

QStringList PartEndLines(const BackupReportAlbum &check, const QString &summary)
{
    QStringList lines {AlbumCheckLine(check)};
    if (!check.note.isEmpty())
        lines << check.note;
    return lines << summary;
}

void EndPartRun(AlbumBookkeeping &bookkeeping, WindowState &state, AlbumJobView &view, bool inSpaceRun,
                const QStringList &lastLines, std::function<void()> ended)
{
    bookkeeping.whenSettled([&state, &view, inSpaceRun, lastLines, ended = std::move(ended)] {
        if (!inSpaceRun) {
            state.albumJobIdle = true;
            state.albumJobRunning = false;
        }
        view.addLogLines(lastLines);
        view.setAlbumListEnabled(true);
        view.setJobControlsEnabled(true);
        ended();
    });
}

} // namespace albivex
