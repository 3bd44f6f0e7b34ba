#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QRunnable>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>
#include <optional>

namespace albivex {

// Cuts a service answer on a worker thread and hands the result back on the
// context's thread. A hostile or huge answer (tens of MB, 100,000 items) then never
// stalls the window. `work` must only touch what it captured by value. When the
// context is destroyed first, the result is dropped.
template<typename Result, typename Work>
void ParseInBackground(QObject *context, Work work, std::function<void(Result)> done)
{
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcher<Result>::finished, context, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(std::move(work)));
}

// Lets go of `value` on a worker thread: what an album's end drops (10,000 pictures'
// entries and names) costs tens of milliseconds to free, which the window's thread
// must not spend. `value` must be the last holder of what it shares.
template<typename T> void DropInBackground(T value)
{
    class Drop : public QRunnable
    {
    public:
        explicit Drop(T &&held) : m_held(std::move(held)) { }
        void run() override { m_held.reset(); }

    private:
        std::optional<T> m_held;
    };
    QThreadPool::globalInstance()->start(new Drop(std::move(value)));
}

} // namespace albivex
