#pragma once

#include "network/ParseInBackground.h"
#include "storage/AlbumRecord.h"
#include "storage/StaleTemporaryFiles.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>

class QObject;

namespace albivex {

class AlbumBookkeeping;
class AlbumJobView;
class AlbumListModel;
class Prompts;
class ServicePause;
struct BackupReportAlbum;
struct ServicePauseOptions;
struct WindowState;

// What the run of one part of a space (its 说说, its 留言板) does on the window as every
// other such run does: its pause, its refusal and its end. A part run alone owns its
// pause and the window's job flags; within a whole-space run (`inSpaceRun`) the run
// owns them, and a refusal is a log line, not a box the night's run would wait on.

// The window as the part begins: alone, the job flags say a run goes; the controls
// off, the progress empty, `status` in the status text and `firstLine` in the log.
void BeginPartRun(WindowState &state, AlbumJobView &view, bool inSpaceRun, const QString &status,
                  const QString &firstLine);

// The names of the listed albums, which the part's folder must not take.
QStringList ListedAlbumNames(const AlbumListModel &albums);

// Off the window's thread: the part's folder rid of what a killed run left half
// written (older than `staleAgeMs`), its record read and `more(folder)` done; then
// `prepared(record, more's result)` on the context's thread, unless it went first.
template<typename More, typename Prepared>
void PreparePartFolder(QObject *context, const QString &folder, qint64 staleAgeMs, More more,
                       Prepared prepared)
{
    using Extra = decltype(more(folder));
    using Result = std::pair<std::shared_ptr<AlbumRecord>, Extra>;
    ParseInBackground<Result>(
        context,
        [folder, staleAgeMs, more = std::move(more)] {
            Extra extra = more(folder);
            RemoveStaleTemporaryFiles(folder, staleAgeMs);
            return Result(std::make_shared<AlbumRecord>(folder), std::move(extra));
        },
        [prepared = std::move(prepared)](Result result) {
            prepared(std::move(result.first), std::move(result.second));
        });
}

// The same with nothing more to read.
void PreparePartFolder(QObject *context, const QString &folder, qint64 staleAgeMs,
                       std::function<void(std::shared_ptr<AlbumRecord>)> prepared);

// The part's pause: `shared` (a whole-space run's) or, without one, a new one of
// `options` owned by `owner`. Its beginning is said in the log after `logHead`, its
// countdown in the status text, its end in the log, after which `resumed` runs. The
// connections go with `owner`.
ServicePause *AdoptPause(QObject *owner, ServicePause *shared, const ServicePauseOptions &options,
                         AlbumJobView &view, const QString &logHead, std::function<void()> resumed);

// The service keeps the part from the viewer: its words (the usual ones when it gave
// none) in the status text and, alone, in a box. Returns them.
QString SayRefused(AlbumJobView &view, Prompts &prompts, const QString &message, bool inSpaceRun);

// The service turned the part's list away at `listed` (`emptyPage`: an empty page short
// of its count). False when it is the second empty page there, the first having been
// waited out (`emptyPausedAt` keeps where): the service keeps the rest to itself and
// the listing ends cut short. Otherwise the busy service is said in the log after
// `logHead` and the pause begins: true.
bool PauseForTurnedAway(AlbumJobView &view, ServicePause &pause, const QString &logHead, bool emptyPage,
                        int listed, int &emptyPausedAt);

// A failure of the album lane's work said in the log after `head`.
std::function<void(std::optional<QString>)> LogFailure(AlbumJobView &view, const QString &head);

// The part's record flushed and, alone, the space's report of its `check` written, on
// the album lane (a whole-space run writes the report once, at its end).
void WritePartRecordAndReport(AlbumBookkeeping &bookkeeping, AlbumJobView &view,
                              std::shared_ptr<AlbumRecord> record, bool inSpaceRun,
                              const QString &spaceFolder, const QString &owner,
                              const BackupReportAlbum &check);

// The lines a part's run ends with: its check line, its note if any, then `summary`.
QStringList PartEndLines(const BackupReportAlbum &check, const QString &summary);

// The part's end once what it handed to `bookkeeping` is written: alone, the window's
// job flags back to idle; the last lines; the controls back; then `ended`.
void EndPartRun(AlbumBookkeeping &bookkeeping, WindowState &state, AlbumJobView &view, bool inSpaceRun,
                const QStringList &lastLines, std::function<void()> ended);

} // namespace albivex
