// Offline album benchmark: a space folder holding 10 albums of 1,000 saved pictures
// each (JPEG, 1024 x 768, with their album.json) is turned into its offline album by
// the tool's gallery job, from nothing (every thumbnail made) and then again (every
// thumbnail kept). Meanwhile a 10 ms timer ticks on this, the window's, thread; its
// longest gap, less the time the thread waited for a processor other programs held, is
// held to the stall target of the album job benchmark. Prints each figure with its
// target; exit status 1 when a target is missed, 2 when the set-up fails. Run on a quiet
// machine (`uptime`).

#include "gallery/GalleryBuild.h"
#include "gallery/GalleryJob.h"
#include "gallery/GalleryLayout.h"
#include "storage/AlbumDocument.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace albivex;

namespace {

constexpr int Albums = 10;
constexpr int PicturesPerAlbum = 1000;
constexpr int Variants = 8; // different pictures, written again and again
constexpr double TargetSeconds = 60;
constexpr double StallTargetMs = 50; // the album job benchmark's

bool Report(const char *figure, double value, const char *unit, const char *target, bool met)
{
    std::printf("%-58s %10.3f %-6s target %-10s %s\n", figure, value, unit, target, met ? "ok" : "MISSED");
    std::fflush(stdout);
    return met;
}

int Fail(const char *what)
{
    std::printf("set-up failed: %s\n", what);
    return 2;
}

double RunQueueWaitMs()
{
    QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    return stat.readAll().split(' ').value(1).toLongLong() / 1e6;
}

// A photograph-like picture: gradients and shapes, so that it neither compresses to
// nothing nor is noise.
QByteArray MakeJpeg(int variant)
{
    QImage image(1024, 768, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 1024, 768);
    sky.setColorAt(0, QColor::fromHsv((variant * 45) % 360, 120, 230));
    sky.setColorAt(1, QColor::fromHsv((variant * 45 + 120) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv((variant * 31 + i * 17) % 360, 180, 60 + (i * 37) % 190));
        painter.drawEllipse((i * 97 + variant * 13) % 1024, (i * 61 + variant * 29) % 768, 40 + i % 90,
                            30 + (i * 7) % 110);
    }
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "JPEG", 85) ? bytes : QByteArray();
}

// The saved space: album folders with their pictures and album.json.
bool MakeSpace(const QString &spaceFolder, qint64 &bytes)
{
    QList<QByteArray> jpegs;
    for (int v = 0; v < Variants; ++v) {
        jpegs << MakeJpeg(v);
        if (jpegs.last().isEmpty())
            return false;
    }
    for (int a = 0; a < Albums; ++a) {
        const QString albumFolder = spaceFolder + QStringLiteral("/相册%1").arg(a + 1);
        if (!QDir().mkpath(albumFolder))
            return false;
        AlbumDocument document;
        document.id = QStringLiteral("V1bench%1").arg(a + 1);
        document.name = QStringLiteral("相册%1").arg(a + 1);
        document.ownerUin = QStringLiteral("123456789");
        document.createTime = QDateTime::fromSecsSinceEpoch(1600000000 + a * 86400);
        document.pictureCount = PicturesPerAlbum;
        for (int p = 0; p < PicturesPerAlbum; ++p) {
            AlbumDocumentPicture picture;
            picture.lloc = QStringLiteral("lloc%1x%2").arg(a).arg(p);
            picture.file = QStringLiteral("%1.jpg").arg(p + 1);
            picture.name = QStringLiteral("照片%1").arg(p + 1);
            picture.caption = QStringLiteral("第%1张").arg(p + 1);
            picture.uploadTime = QDateTime::fromSecsSinceEpoch(1600000000 + a * 86400 + p * 60);
            QFile file(albumFolder + QLatin1Char('/') + picture.file);
            const QByteArray &jpeg = jpegs.at((a + p) % Variants);
            if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size())
                return false;
            bytes += jpeg.size();
            document.pictures << picture;
        }
        if (SaveAlbumDocument(albumFolder, document))
            return false;
    }
    return true;
}

struct BuildRun
{
    double seconds = 0;
    double longestGapMs = 0;
    double longestOwnGapMs = 0;
    GalleryBuildResult result;
    bool finished = false;
};

// Starts the job and runs the event loop until it reports, ticking a 10 ms timer.
BuildRun RunBuild(GalleryJob &job, const QString &spaceFolder)
{
    BuildRun run;
    QEventLoop loop;
    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    double waitedBefore = 0;
    QTimer ticks;
    ticks.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticks, &QTimer::timeout, &loop, [&] {
        const double gapMs = sinceTick.nsecsElapsed() / 1e6;
        sinceTick.restart();
        const double waited = RunQueueWaitMs();
        run.longestGapMs = qMax(run.longestGapMs, gapMs);
        run.longestOwnGapMs = qMax(run.longestOwnGapMs, gapMs - (waited - waitedBefore));
        waitedBefore = waited;
    });
    const auto connection
        = QObject::connect(&job, &GalleryJob::finished, &loop, [&](const GalleryBuildResult &r) {
              run.seconds = clock.nsecsElapsed() / 1e9;
              run.result = r;
              run.finished = true;
              loop.quit();
          });
    QTimer::singleShot(600000, &loop, &QEventLoop::quit);
    ticks.start(10);
    sinceTick.start();
    waitedBefore = RunQueueWaitMs();
    clock.start();
    job.start(spaceFolder);
    loop.exec();
    QObject::disconnect(connection);
    return run;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
#ifndef __OPTIMIZE__
    std::printf("note: built without optimisation; configure with -DCMAKE_BUILD_TYPE=Release\n");
#endif
    QTemporaryDir save;
    const QString spaceFolder = SpaceFolderPath(save.path(), QStringLiteral("123456789"));
    qint64 bytes = 0;
    if (!save.isValid() || !MakeSpace(spaceFolder, bytes))
        return Fail("the saved space could not be written");
    constexpr int Total = Albums * PicturesPerAlbum;
    std::printf("Offline album: %d albums of %d pictures (1024 x 768 JPEG, %.0f MB in all)\n", Albums,
                PicturesPerAlbum, bytes / 1048576.0);

    GalleryJob job;
    bool allMet = true;
    for (const bool first : {true, false}) {
        const BuildRun run = RunBuild(job, spaceFolder);
        const GalleryBuildResult &r = run.result;
        const int expectedMade = first ? Total : 0;
        if (!run.finished || r.stopped || !r.errors.isEmpty() || r.albums != Albums || r.pictures != Total
            || r.thumbnailsMade != expectedMade || r.thumbnailsKept != Total - expectedMade
            || !QFile::exists(spaceFolder + QLatin1Char('/') + GalleryPageName()))
            return Fail(first ? "the first build did not make every thumbnail and page"
                              : "the second build did not keep every thumbnail");
        std::printf("  %s: %.2f s, longest gap of the window's timer %.2f ms as the wall clock sees it\n",
                    first ? "from nothing" : "again, thumbnails kept", run.seconds, run.longestGapMs);
        allMet &= Report(first ? "  build time, every thumbnail made" : "  build time, every thumbnail kept",
                         run.seconds, "s", "< 60", run.seconds < TargetSeconds);
        allMet &= Report("  longest gap, waits for a busy processor left out", run.longestOwnGapMs, "ms",
                         "<= 50", run.longestOwnGapMs <= StallTargetMs);
    }
    return allMet ? 0 : 1;
}
