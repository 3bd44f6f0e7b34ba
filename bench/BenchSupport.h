#pragma once

// What the benchmarks that drive the real window against the stand-in share: the
// printed figures, the event loop waits, the process's memory and scheduling figures
// from /proc, and the tool's sign-in and listing on a stand-in.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace albivex {
class AlbivexApp;
}

namespace albivex::bench {

// The number the benchmarks sign in with; it owns the stand-in's main space.
inline const QString SignInUin = QStringLiteral("123456789");

// Prints the figure beside its target with "ok" or "MISSED"; returns `met`.
bool Report(const char *figure, double value, const char *unit, const char *target, bool met);
// Prints "set-up failed: what" and the lines; returns 2, the exit status of a failed set-up.
int Fail(const char *what, const QStringList &lastLines = {});

// The calling thread's processor time, in milliseconds.
double ThreadCpuMs();
// Runs the event loop until done() holds (checked every 5 ms) or the time is up.
bool WaitUntil(const std::function<bool()> &done, int timeoutMs);
// A figure of /proc/self/status in KiB ("VmRSS:", "VmHWM:"); -1 when it cannot be read:
// a 0 would pass any memory target.
qint64 StatusKib(const char *key);
// How long the calling thread has waited, ready to run, for a processor (Linux
// schedstat); 0 where unknown.
double RunQueueWaitMs();
// The processor time the host (the hypervisor) took from this machine's processors so
// far, in milliseconds (/proc/stat's steal): a thread the host stops looks to this
// machine as if it ran, so a stall measured while the host was busy says little of the tool.
double HostStealMs();
// Resets VmHWM to the current resident size; false where the kernel does not allow it.
bool ResetPeakResident();
double Median(QList<double> values);
// The lines of a file holding the text; -1 when it cannot be read (the difference of two
// failed reads would look like "none").
int LinesContaining(const QString &path, const QByteArray &text);

// Signs in on the stand-in's sign-in service through the tool's network manager and
// fills the account as the sign-in window's cookie capture does.
bool SignIn(AlbivexApp &app, const QString &root);
// A fresh tool on the stand-in, signed in and its own space listed; false when that
// fails.
bool OpenSpace(AlbivexApp &app, const QString &root, const QString &saveFolder);

// The requests of a stand-in's request log that the throttle counts and that were
// served (not turned away); -1 when the log cannot be read.
int ServedThrottledKinds(const QString &requestLog);
// What a throttled run cannot beat: a window of `seconds` after every `count` requests
// served, plus the files' requests at `latencyMs` each, four at a time.
double ThrottleFloorMs(int served, int count, int seconds, int files, int latencyMs);

} // namespace albivex::bench
