// Whole-space benchmark: the tool (this process, the real main window offscreen) saves
// the stand-in's main space whole with "备份整个空间", from the stand-in services run as a
// separate process. Prints each figure with its target; exit status 1 when a target is
// missed, 2 when the set-up fails.
//
// The space: its own 12 albums, 25 说说 and 27 留言 plus 20 albums of 500 pictures of 8 KB,
// 2,000 posts of two pictures and 1,000 messages (every tenth with a picture); 20 ms
// latency on every answer, the stand-in throttling (--throttle 3000:3), the run's pauses
// shortened to 3 s (the throttle's window) and the gaps between list requests to a
// sixtieth. From the click on "备份整个空间" to "整个空间备份完成：..":
// - the run's time against the floor the album benchmark defines: the throttle's windows
//   (one after every 3,000 requests served) plus the files' requests x 20 ms / 4;
// - the failed pictures beyond the data set's lost one (the 说说 picture that answers
//   "图片不存在", which the tool counts failed, as it should): 0; the albums, posts,
//   messages and pictures the summary counts are held to the data set's;
// - the window's longest stall, waits for a processor other programs held left out.
// Also printed: the pauses taken, the requests served, the parts done as the window's
// title last showed them, the boxes the run asked and the summary line.
//
// The boxes are answered by AnsweringPrompts: a protected album's question or password
// with the data set's answer, any Yes/No with No (the main space has no protected album,
// so a run that asks anything is printed as such).
//
// Also printed: how much processor time the host (the hypervisor) took meanwhile, which
// counts as the window's stall and which no figure here can leave out; over 1% the run
// says the host was busy. With BENCH_GAPS=1 every gap over 14 ms is printed with what ran
// in it (see GapMeter).
//
// Argument "quick": everything a tenth (2 albums, 200 posts, 100 messages, --throttle
// 300:3) for a try of well under a minute. The longest event handlers of the window's
// thread are printed after the run.

#include "AnsweringPrompts.h"
#include "BenchSupport.h"
#include "GapMeter.h"
#include "StandinProcess.h"
#include "TimedApplication.h"
#include "albumdl/ServicePause.h"
#include "app/AlbivexApp.h"
#include "app/ProcessHeap.h"
#include "gallery/GalleryJob.h"
#include "standin/DataSet.h"
#include "standin/ExtraAlbum.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

using namespace albivex;
using namespace albivex::bench;

namespace {

constexpr int PictureBytes = 8 * 1024; // each extra album's pictures
constexpr int MoodPictures = 2; // each extra post's
constexpr int LatencyMs = 20;
constexpr int ThrottleSeconds = 3;

struct Scale
{
    int albums = 20;
    int perAlbum = 500;
    int posts = 2000;
    int messages = 1000;
    int throttleCount = 3000;
};

// What the summary of the whole main space should say, from the stand-in's own data set
// with the same extras: every album the viewer may open with its pictures, every post
// with its pictures and videos and its comments' pictures, every message with its
// picture; the lost ones fail.
struct Expected
{
    int albums = 0;
    int posts = 0;
    int messages = 0;
    int pictures = 0;
    int lost = 0;
};

Expected ExpectedWith(const Scale &scale)
{
    standin::DataSet data;
    for (int i = 0; i < scale.albums; ++i) {
        standin::ExtraAlbum extra;
        extra.pictureCount = scale.perAlbum;
        extra.pictureBytes = PictureBytes;
        data.addExtraAlbum(extra);
    }
    data.moods().addExtra(scale.posts, MoodPictures);
    data.board().addExtra(scale.messages);
    Expected expected;
    for (const standin::AlbumInfo &album : data.albums(standin::Space::Main)) {
        if (!album.allowAccess)
            continue;
        ++expected.albums;
        expected.pictures += album.total;
    }
    for (const standin::MoodInfo &post : data.moods().posts(standin::MoodSpace::Main)) {
        ++expected.posts;
        for (const standin::MoodPicture &picture : post.pictures)
            (picture.missing ? expected.lost : expected.pictures) += 1;
        for (const standin::MoodComment &comment : post.comments)
            expected.pictures += int(comment.pictures.size());
    }
    for (const standin::BoardInfo &message : data.board().messages(standin::MoodSpace::Main)) {
        ++expected.messages;
        expected.pictures += int(message.picture);
    }
    return expected;
}

struct SpaceRun
{
    bool completed = false;
    double ms = 0;
    double longestGapMs = 0;
    double longestOwnGapMs = 0;
    double stolenMs = 0; // by the host, over all processors
    int albums = -1; // as the summary says
    int posts = -1;
    int messages = -1;
    int pictures = -1;
    int failed = -1;
    QString summary;
    QString lastProgressTitle; // the window's last title with the run's progress
    int titles = 0; // how often the title changed
    QStringList lastLines;
};

// Clicks "备份整个空间" and runs the event loop until the log says "整个空间备份完成：.."
// (or the run stopped), measuring the time and the window's longest gap meanwhile.
SpaceRun RunSpace(AlbivexApp &app, int timeoutMs)
{
    SpaceRun run;
    QPushButton *button = app.window().backupSpaceButton;
    if (!WaitUntil([button] { return button->isEnabled(); }, 20000))
        return run;
    static const QRegularExpression summary(QStringLiteral(
        "整个空间备份完成：相册(\\d+)个，说说(\\d+)条，留言(\\d+)条，图片(\\d+)张，失败(\\d+)张$"));
    QEventLoop loop;
    QElapsedTimer clock;
    QListWidget *log = app.window().activityLogList;
    GapMeter meter(log);
    QObject::connect(log->model(), &QAbstractItemModel::rowsInserted, &loop, [&] {
        const QString last = log->item(log->count() - 1)->text();
        if (last.endsWith(QStringLiteral("已停止整个空间备份工作"))) {
            run.summary = last;
            loop.quit();
            return;
        }
        const auto match = summary.match(last);
        if (!match.hasMatch())
            return;
        run.ms = clock.nsecsElapsed() / 1e6;
        run.completed = true;
        run.summary = last;
        run.albums = match.captured(1).toInt();
        run.posts = match.captured(2).toInt();
        run.messages = match.captured(3).toInt();
        run.pictures = match.captured(4).toInt();
        run.failed = match.captured(5).toInt();
        loop.quit();
    });
    QObject::connect(&app.window(), &QWidget::windowTitleChanged, &loop, [&run](const QString &title) {
        ++run.titles;
        if (title.contains(QStringLiteral("项 图片")))
            run.lastProgressTitle = title;
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    meter.start();
    clock.start();
    button->click();
    loop.exec();
    meter.stop();
    run.longestGapMs = meter.longestGapMs();
    run.stolenMs = meter.stolenMs();
    run.longestOwnGapMs = meter.longestOwnGapMs();
    const QStringList lines = app.log().lines();
    run.lastLines = lines.mid(qMax(0, int(lines.size()) - 8));
    return run;
}

// The offline album the run's end starts building, left to finish before the folder goes.
bool GalleryIdle(AlbivexApp &app)
{
    QEventLoop settle;
    QTimer::singleShot(100, &settle, &QEventLoop::quit);
    settle.exec();
    return WaitUntil([&] { return !app.galleryJob().isRunning(); }, 600000);
}

int RunWholeSpace(const Scale &scale, bool &allMet)
{
    const Expected expected = ExpectedWith(scale);
    QTemporaryDir logs;
    const QString requestLog = logs.filePath(QStringLiteral("requests.log"));
    StandinProcess standin;
    if (!standin.start({QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--latency-ms"),
                        QString::number(LatencyMs), QStringLiteral("--throttle"),
                        QStringLiteral("%1:%2").arg(scale.throttleCount).arg(ThrottleSeconds),
                        QStringLiteral("--request-log"), requestLog, QStringLiteral("--extra-album"),
                        QStringLiteral("%1:%2x%3").arg(scale.perAlbum).arg(PictureBytes).arg(scale.albums),
                        QStringLiteral("--extra-moods"),
                        QStringLiteral("%1:%2").arg(scale.posts).arg(MoodPictures),
                        QStringLiteral("--extra-board"), QString::number(scale.messages)},
                       scale.albums))
        return Fail("the throttling stand-in did not start");
    QTemporaryDir save;
    AnsweringPrompts prompts;
    AlbivexApp app {Endpoints(standin.root), &prompts};
    // One pause as long as the throttle's window; the gaps between list requests a
    // sixtieth of the tool's.
    ServicePauseOptions &pause = app.servicePauseOptions();
    pause.scheduleMs = {ThrottleSeconds * 1000};
    pause.firstGapMs /= 60;
    pause.maxGapMs /= 60;
    if (!OpenSpace(app, standin.root, save.path()))
        return Fail("sign-in and album list of the throttled space");
    TimedApp()->forgetLongest();
    const SpaceRun run = RunSpace(app, 1800000);
    if (!run.completed)
        return Fail("the whole-space run did not end with its summary", run.lastLines);
    const int served = ServedThrottledKinds(requestLog);
    if (served < 0)
        return Fail("the throttling stand-in's request log could not be read");
    const double floorMs = ThrottleFloorMs(served, scale.throttleCount, ThrottleSeconds,
                                           expected.pictures + expected.lost, LatencyMs);
    const int pauses = int(app.log().lines().filter(QStringLiteral("服务繁忙，暂停下载")).size());
    static const QRegularExpression parts(QStringLiteral("(\\d+)/(\\d+)项"));
    const auto partsShown = parts.match(run.lastProgressTitle);
    std::printf(
        "Whole space: %d albums (%d of %d pictures of %d KB), %d posts, %d messages; %d files (%d lost);"
        " %d ms latency, --throttle %d:%d\n",
        expected.albums, scale.albums, scale.perAlbum, PictureBytes / 1024, expected.posts, expected.messages,
        expected.pictures, expected.lost, LatencyMs, scale.throttleCount, ThrottleSeconds);
    std::printf("  %d requests served, %d throttle windows, %d pauses; %.0f ms against a floor of %.0f ms\n",
                served, served / scale.throttleCount, pauses, run.ms, floorMs);
    std::printf(
        "  parts done as the title last showed them: %s of %s (%d title changes); boxes asked: %d%s\n",
        qPrintable(partsShown.captured(1)), qPrintable(partsShown.captured(2)), run.titles,
        int(prompts.asked.size()),
        prompts.asked.isEmpty()
            ? ""
            : qPrintable(QStringLiteral(" (") + prompts.asked.join(QStringLiteral("; ")) + ')'));
    std::printf("  summary: %s\n", qPrintable(run.summary));
    std::printf("  expected: 相册%d个，说说%d条，留言%d条，图片%d张，失败%d张\n", expected.albums,
                expected.posts, expected.messages, expected.pictures, expected.lost);
    allMet &= Report("  run time / floor", run.ms / floorMs, "x", "<= 1.3", run.ms / floorMs <= 1.3);
    allMet &= Report("  failed files beyond the data set's lost ones", run.failed - expected.lost, "", "0",
                     run.failed == expected.lost);
    const int differing = int(run.albums != expected.albums) + int(run.posts != expected.posts)
        + int(run.messages != expected.messages) + int(run.pictures != expected.pictures);
    allMet &= Report("  summary counts differing from the data set's", differing, "", "0", differing == 0);
    allMet &= Report("  longest gap, waits for a busy processor left out", run.longestOwnGapMs, "ms", "<= 16",
                     run.longestOwnGapMs <= 16);
    std::printf("  (longest gap as the wall clock sees it %.1f ms)\n", run.longestGapMs);
    // A processor the host takes away looks to this machine as if our thread ran on it:
    // the stall figure cannot leave that out, so the run says how busy the host was.
    const double stolenShare = run.stolenMs / (run.ms * QThread::idealThreadCount());
    std::printf("  the host took %.0f ms of the processors during the run (%.1f%% of their time)%s\n",
                run.stolenMs, 100 * stolenShare,
                stolenShare > 0.01
                    ? ": a busy host, whose pauses count as the window's stalls; run again when "
                      "it is quiet"
                    : "");
    TimedApp()->printLongest();
    if (!GalleryIdle(app))
        return Fail("an offline album build did not end");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    ShareOneHeap(); // as the tool's main does
    TimedApplication application(argc, argv);
#ifndef __OPTIMIZE__
    std::printf("note: built without optimisation; configure with -DCMAKE_BUILD_TYPE=Release\n");
#endif
    Scale scale;
    if (application.arguments().contains(QStringLiteral("quick")))
        scale = Scale {2, 500, 200, 100, 300};
    bool allMet = true;
    if (const int status = RunWholeSpace(scale, allMet); status != 0)
        return status;
    return allMet ? 0 : 1;
}
