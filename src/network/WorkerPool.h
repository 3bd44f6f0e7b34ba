#pragma once

class QThreadPool;

namespace albivex {

// The pool the tool's own blocking work runs on (answers parsed, records read, folders
// swept, large values freed). Not Qt's global pool: the window's paint engine splits
// large fills over that one and waits for them, so a fill queued there behind our work
// would stall the window for as long as the work takes.
QThreadPool &WorkerPool();

} // namespace albivex
