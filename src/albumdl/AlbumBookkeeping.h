#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace albivex {

// Disk work whose answer is the text of a failure, or none.
using BookkeepingWork = std::function<std::optional<QString>()>;
using BookkeepingDone = std::function<void(std::optional<QString>)>;

// Runs `work` on the album lane: one worker thread that every album download shares,
// taking the work in the order it was handed in, so that what a later work reads (the
// space's report reads every album.json) an earlier one has written, and two works on
// one file never meet. `done` gets the answer on the context's thread; when the context
// goes first the work still runs and its answer is dropped.
void RunOnAlbumLane(QObject *context, BookkeepingWork work, BookkeepingDone done);

// The disk work of a run's albums' ends (each album's record written whole and its
// album.json, the run's journal), kept off the way from one album to the next: an
// album is done once its last picture is saved, and its bookkeeping runs on the album
// lane while the next album is listed and fetched. The run learns when all it handed in
// has answered (whenSettled), so that it says its end only once its files are whole.
class AlbumBookkeeping : public QObject
{
    Q_OBJECT
public:
    explicit AlbumBookkeeping(QObject *parent = nullptr) : QObject(parent) { }

    // RunOnAlbumLane with this object as the context, counted until it answers.
    void run(BookkeepingWork work, BookkeepingDone done = {});
    bool settled() const { return m_pending == 0; }
    // `then` once every work handed in has answered (also work handed in meanwhile); at
    // once when none is pending.
    void whenSettled(std::function<void()> then);

private:
    int m_pending = 0;
    QList<std::function<void()>> m_waiting;
};

} // namespace albivex
