#pragma once

#include "network/WorkerPool.h"

#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <functional>

namespace albivex {

// Cuts a service answer on a worker thread and hands the result back on the
// context's thread. A hostile or huge answer (tens of MB, 100,000 items) then never
// stalls the window (WorkerPool). Other work that may block (a folder made while the
// disk is busy) goes the same way. `work` must only touch what it captured by value. When the
// context is destroyed first, the result is dropped.
template<typename Result, typename Work>
void ParseInBackground(QObject *context, Work work, std::function<void(Result)> done)
{
    auto *watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcher<Result>::finished, context, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(&WorkerPool(), std::move(work)));
}

} // namespace albivex
