#include "network/WorkerPool.h"

#include <QThreadPool>

namespace albivex {

QThreadPool &WorkerPool()
{
    // Destroyed at exit, once the work handed in has run.
    static QThreadPool pool;
    return pool;
}

} // namespace albivex
