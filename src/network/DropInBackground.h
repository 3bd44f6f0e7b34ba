#pragma once

#include "network/WorkerPool.h"

#include <QRunnable>
#include <QThreadPool>

#include <optional>

namespace albivex {

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
    WorkerPool().start(new Drop(std::move(value)));
}

} // namespace albivex
