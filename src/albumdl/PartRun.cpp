#include "albumdl/PartRun.h"

#include "albumdl/AlbumBookkeeping.h"
#include "albumdl/AlbumJobView.h"
#include "albumdl/ServicePause.h"
#include "session/Prompts.h"
#include "session/WindowState.h"

namespace albivex {

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
