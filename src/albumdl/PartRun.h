#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace albivex {

class AlbumBookkeeping;
class AlbumJobView;
class Prompts;
class ServicePause;
struct ServicePauseOptions;
struct WindowState;

// What the run of one part of a space (its 说说, its 留言板) does on the window as every
// other such run does: its pause, its refusal and its end. A part run alone owns its
// pause and the window's job flags; within a whole-space run (`inSpaceRun`) the run
// owns them, and a refusal is a log line, not a box the night's run would wait on.

// The part's pause: `shared` (a whole-space run's) or, without one, a new one of
// `options` owned by `owner`. Its beginning is said in the log after `logHead`, its
// countdown in the status text, its end in the log, after which `resumed` runs. The
// connections go with `owner`.
ServicePause *AdoptPause(QObject *owner, ServicePause *shared, const ServicePauseOptions &options,
                         AlbumJobView &view, const QString &logHead, std::function<void()> resumed);

// The service keeps the part from the viewer: its words (the usual ones when it gave
// none) in the status text and, alone, in a box. Returns them.
QString SayRefused(AlbumJobView &view, Prompts &prompts, const QString &message, bool inSpaceRun);

// The part's end once what it handed to `bookkeeping` is written: alone, the window's
// job flags back to idle; the last lines; the controls back; then `ended`.
void EndPartRun(AlbumBookkeeping &bookkeeping, WindowState &state, AlbumJobView &view, bool inSpaceRun,
                const QStringList &lastLines, std::function<void()> ended);

} // namespace albivex
