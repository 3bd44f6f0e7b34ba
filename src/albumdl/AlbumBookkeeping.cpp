#include "albumdl/AlbumBookkeeping.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace albivex {

namespace {

QThreadPool &AlbumLane()
{
    struct Lane : QThreadPool
    {
        Lane() { setMaxThreadCount(1); }
    };
    // Destroyed at exit only once every work handed in is done.
    static Lane lane;
    return lane;
}

} // namespace

void RunOnAlbumLane(QObject *context, BookkeepingWork work, BookkeepingDone done)
{
    auto *watcher = new QFutureWatcher<std::optional<QString>>(context);
    QObject::connect(watcher, &QFutureWatcher<std::optional<QString>>::finished, context,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         if (done)
                             done(watcher->result());
                     });
    watcher->setFuture(QtConcurrent::run(&AlbumLane(), std::move(work)));
}

void AlbumBookkeeping::run(BookkeepingWork work, BookkeepingDone done)
{
    ++m_pending;
    RunOnAlbumLane(this, std::move(work), [this, done = std::move(done)](std::optional<QString> answer) {
        --m_pending;
        if (done)
            done(std::move(answer));
        if (m_pending > 0)
            return;
        const QList<std::function<void()>> waiting = std::exchange(m_waiting, {});
        for (const std::function<void()> &then : waiting)
            then();
    });
}

void AlbumBookkeeping::whenSettled(std::function<void()> then)
{
    if (m_pending == 0)
        then();
    else
        m_waiting << std::move(then);
}

} // namespace albivex
