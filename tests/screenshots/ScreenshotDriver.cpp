// albivex-screenshot-driver: shows the real main window against an in-process stand-in
// in the three states the documentation pictures, one after the other, for
// scripts/screenshots.sh to photograph. For each state it prints
//   ready NAME WIDTHxHEIGHT+X+Y
// (the window's place on the screen) and waits for a line on standard input before it
// goes on; "done" ends the run. Exit code 3 names on standard error the step that did
// not happen.
//   albums:   signed in through the sign-in window, the album list filled;
//   photos:   an album opened, one picture selected and shown in the preview box;
//   download: that album being saved, the progress bar part-way, the log running.
// Named on the command line, states for a look by eye follow, in this order:
//   checked:  back on the album list, two albums ticked, the first one's cover shown;
//   marks:    pictures of another album saved with "下载图片", one of them missing on
//             the server: the rows' "√" and "×";
//   moods:    the space's 说说 being saved with "下载说说", part-way.
//   space:    the whole space being saved with "备份整个空间", part-way.

#include "FaultWindow.h"
#include "catalogue/AlbumListModel.h"
#include "photos/PhotoListModel.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "window/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <cstdio>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

constexpr int StepTimeoutMs = 60000;

// Lines from standard input, counted as they come in.
class InputLines : public QObject
{
public:
    InputLines() : m_notifier(0, QSocketNotifier::Read)
    {
        m_stdin.open(stdin, QIODevice::ReadOnly);
        connect(&m_notifier, &QSocketNotifier::activated, this, [this] {
            const QByteArray line = m_stdin.readLine();
            if (line.isEmpty())
                m_notifier.setEnabled(false); // end of input: nothing more will come
            ++count;
        });
    }
    int count = 0;

private:
    QFile m_stdin;
    QSocketNotifier m_notifier;
};

// Tells the script the window is ready to be photographed, and waits until it is done.
bool announce(const char *name, QWidget &window, InputLines &input)
{
    // The X server gets a moment to show what was just drawn (a photograph, not a check).
    window.repaint();
    RunEventsUntil([] { return false; }, 300);
    const QRect frame = window.frameGeometry();
    std::printf("ready %s %dx%d+%d+%d\n", name, frame.width(), frame.height(), frame.x(), frame.y());
    std::fflush(stdout);
    const int before = input.count;
    return RunEventsUntil([&] { return input.count > before; }, 10 * StepTimeoutMs);
}

int failed(const char *step)
{
    std::fprintf(stderr, "screenshots: %s did not happen\n", step);
    return 3;
}

void tick(QTreeView *view, int row)
{
    view->model()->setData(view->model()->index(row, 0), Qt::Checked, Qt::CheckStateRole);
}

void clickRow(QTreeView *view, int row)
{
    const QModelIndex index = view->model()->index(row, 1);
    view->scrollTo(index);
    const QRect cell = view->visualRect(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Albivex"));
    QCoreApplication::setApplicationName(QStringLiteral("albivex"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QStringList extras = application.arguments().mid(1);
    for (const QString &extra : extras) {
        if (extra != QLatin1String("checked") && extra != QLatin1String("marks")
            && extra != QLatin1String("moods") && extra != QLatin1String("space")) {
            std::fprintf(stderr, "screenshots: no state named %s (checked, marks, moods, space)\n",
                         qPrintable(extra));
            return 2;
        }
    }
    InputLines input;

    sd::StandinThread standin;
    if (!standin.start())
        return failed("the stand-in's start");
    // An album of a camera's pictures, newer than the rest of the space.
    sd::ExtraAlbum trip;
    trip.name = QStringLiteral("毕业旅行");
    trip.pictureCount = 36;
    trip.pictureBytes = 60 * 1024;
    const QString tripId = standin.knobs().addExtraAlbum(trip);

    QTemporaryDir pictures;
    FaultWindow tool(standin.root());
    MainWindow &window = tool.window();
    if (!tool.signInAndList(sd::MainUin, true, StepTimeoutMs))
        return failed("sign-in and album listing");
    // A folder of the user's, as the program makes it at start.
    const QString saveFolder = pictures.filePath(QStringLiteral("QQ空间相册"));
    if (!QDir().mkpath(saveFolder))
        return failed("the save folder's creation");
    window.saveFolderEdit->setText(saveFolder);
    const int tripRow = tool.albumRow(tripId);
    if (tripRow < 0)
        return failed("the trip album's listing");
    clickRow(window.albumView, tripRow);
    if (!RunEventsUntil([&] { return !window.previewLabel->pixmap().isNull(); }, StepTimeoutMs))
        return failed("the album cover's preview");
    if (!announce("albums", window, input))
        return failed("the albums photograph");

    const int listed = tool.countLines(QStringLiteral("]相册获取完毕.."));
    window.viewAlbumAction->trigger();
    if (!RunEventsUntil([&] { return tool.countLines(QStringLiteral("]相册获取完毕..")) > listed; },
                        StepTimeoutMs)
        || tool.app.photos().size() != trip.pictureCount)
        return failed("the trip album's photo list");
    window.previewLabel->clear();
    clickRow(window.photoView, 4);
    if (!RunEventsUntil([&] { return !window.previewLabel->pixmap().isNull(); }, StepTimeoutMs))
        return failed("the picture's preview");
    if (!announce("photos", window, input))
        return failed("the photos photograph");

    // Pictures arrive slowly enough for the run to be photographed on its way.
    standin.knobs().addFault(sd::FaultRule::latency(QStringLiteral("/photo/*"), 250));
    if (!tool.startDownload(DownloadCommand::Album, tripId))
        return failed("the album download's start");
    QProgressBar &progress = *window.progressBar;
    if (!RunEventsUntil([&] { return progress.value() * 5 >= progress.maximum() * 2; }, StepTimeoutMs))
        return failed("the album download's progress");
    if (!announce("download", window, input))
        return failed("the download photograph");
    window.stopButton->click();
    if (!extras.isEmpty() && !RunEventsUntil([&] { return tool.app.state().albumJobIdle; }, StepTimeoutMs))
        return failed("the album download's stop");

    if (extras.contains(QLatin1String("checked"))) {
        window.backButton->click();
        tick(window.albumView, 0);
        tick(window.albumView, 2);
        window.previewLabel->clear();
        clickRow(window.albumView, 0);
        if (!RunEventsUntil([&] { return !window.previewLabel->pixmap().isNull(); }, StepTimeoutMs))
            return failed("the first album cover's preview");
        if (!announce("checked", window, input))
            return failed("the checked photograph");
    }

    if (extras.contains(QLatin1String("marks"))) {
        standin.knobs().clearFaults();
        standin.knobs().addFault(
            sd::FaultRule::httpStatus(PicturePath(QLatin1String(sd::BigAlbum.id), 3), 404));
        window.backButton->click();
        const int bigRow = tool.albumRow(QLatin1String(sd::BigAlbum.id));
        if (bigRow < 0)
            return failed("the big album's listing");
        window.albumView->setCurrentIndex(window.albumView->model()->index(bigRow, 1));
        const int albumsListed = tool.countLines(QStringLiteral("]相册获取完毕.."));
        window.viewAlbumAction->trigger();
        if (!RunEventsUntil([&] { return tool.countLines(QStringLiteral("]相册获取完毕..")) > albumsListed; },
                            StepTimeoutMs))
            return failed("the big album's photo list");
        for (int row : {0, 1, 2, 3, 5})
            tool.app.photos().setChecked(row, true);
        window.photoView->setCurrentIndex(window.photoView->model()->index(5, 1));
        const int saved = tool.countLines(QStringLiteral("]所选图片已完成下载.."));
        window.downloadPicturesAction->trigger();
        if (!RunEventsUntil([&] { return tool.countLines(QStringLiteral("]所选图片已完成下载..")) > saved; },
                            StepTimeoutMs))
            return failed("the ticked pictures' download");
        if (!announce("marks", window, input))
            return failed("the marks photograph");
    }

    if (extras.contains(QLatin1String("moods"))) {
        standin.knobs().clearFaults();
        standin.knobs().addFault(sd::FaultRule::latency(QStringLiteral("/mood/b/*"), 400));
        if (window.photoView->isVisible())
            window.backButton->click();
        if (!RunEventsUntil([&] { return window.downloadMoodsButton->isEnabled(); }, StepTimeoutMs))
            return failed("the posts' button");
        window.downloadMoodsButton->click();
        QProgressBar &bar = *window.progressBar;
        if (!RunEventsUntil([&] { return bar.maximum() > 1 && bar.value() * 3 >= bar.maximum(); },
                            StepTimeoutMs))
            return failed("the posts' download's progress");
        if (!announce("moods", window, input))
            return failed("the moods photograph");
        window.stopButton->click();
    }

    if (extras.contains(QLatin1String("space"))) {
        standin.knobs().clearFaults();
        for (const char *path : {"/photo/b/*", "/photo/c/*"})
            standin.knobs().addFault(sd::FaultRule::latency(QString::fromLatin1(path), 200));
        if (window.photoView->isVisible())
            window.backButton->click();
        if (!RunEventsUntil([&] { return window.backupSpaceButton->isEnabled(); }, StepTimeoutMs))
            return failed("the whole-space button");
        window.backupSpaceButton->click();
        if (!RunEventsUntil([&] { return window.progressBar->value() >= 20; }, StepTimeoutMs))
            return failed("the whole-space run's progress");
        // The title is the task bar's, outside the window's own drawing: said here.
        std::fprintf(stderr, "screenshots: title %s\n", qPrintable(window.windowTitle()));
        if (!announce("space", window, input))
            return failed("the space photograph");
        window.stopButton->click();
    }

    std::printf("done\n");
    std::fflush(stdout);
    return 0;
}
