#include "FaultWindow.h"

#include "SignInThroughBrowser.h"
#include "StandinSignIn.h"
#include "catalogue/AlbumListModel.h"
#include "photos/PhotoListModel.h"
#include "session/WindowState.h"
#include "standin/StandinData.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QAction>
#include <QDir>
#include <QEventLoop>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QTreeView>

using namespace albivex;

namespace {

const QString SelectedEnd = QStringLiteral("]所选图片已完成下载..");
const QString ListingEnd = QStringLiteral("]相册获取完毕..");

void selectRow(QTreeView *view, int row)
{
    view->selectionModel()->select(view->model()->index(row, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// "[name]下载完成.." -> "name" when the line ends in `ending`.
bool nameBefore(const QString &line, const QString &ending, QString *name)
{
    if (!line.startsWith(QLatin1Char('[')) || !line.endsWith(ending))
        return false;
    *name = line.mid(1, line.size() - 1 - ending.size());
    return true;
}

} // namespace

bool RunEventsUntil(const std::function<bool()> &done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start();
    deadline.start(timeoutMs);
    loop.exec();
    return done();
}

QString CommandName(DownloadCommand command)
{
    return command == DownloadCommand::Album ? QStringLiteral("album") : QStringLiteral("selected pictures");
}

FaultWindow::FaultWindow(const QString &serviceRoot)
    : serviceRoot(serviceRoot), app(Endpoints(serviceRoot), &prompts, &prompts, &prompts)
{ }

MainWindow &FaultWindow::window()
{
    return app.window();
}

PictureTransfer::Options &FaultWindow::transferOptions()
{
    return app.transferOptions();
}

bool FaultWindow::signInAndList(const char *uin, bool browser, int timeoutMs)
{
    app.start(settingsFile);
    if (!RunEventsUntil([&] { return window().listOwnAlbumsButton->isEnabled(); }, timeoutMs)) {
        qWarning("FaultWindow: the version check did not pass");
        return false;
    }
    if (browser) {
        if (!SignInThroughBrowser(app, QString::fromLatin1(uin), QStringLiteral("secret"), timeoutMs))
            return false;
    } else {
        app.state().credentials = SignInOverHttp(app.network(), serviceRoot, QString::fromLatin1(uin));
    }
    if (!app.state().credentials.signedIn) {
        qWarning("FaultWindow: no sign-in");
        return false;
    }
    if (!saveFolder.isEmpty())
        window().saveFolderEdit->setText(saveFolder);
    const int before = countLines(ListingEnd);
    if (otherQq.isEmpty()) {
        window().listOwnAlbumsButton->click();
    } else {
        window().otherQqEdit->setText(otherQq);
        window().listOtherAlbumsButton->click();
    }
    if (!RunEventsUntil([&] { return countLines(ListingEnd) > before; }, timeoutMs)) {
        qWarning("FaultWindow: the album listing did not end");
        return false;
    }
    return !app.albums().isEmpty();
}

bool FaultWindow::signOut(int timeoutMs)
{
    const int before = countLines(QStringLiteral("]注销成功.."));
    if (window().signInButton->text() != QStringLiteral("注销登录"))
        return false;
    window().signInButton->click();
    return RunEventsUntil([&] { return countLines(QStringLiteral("]注销成功..")) > before; }, timeoutMs);
}

int FaultWindow::albumRow(const QString &albumId)
{
    const AlbumListModel &albums = app.albums();
    for (int row = 0; row < albums.size(); ++row) {
        if (albums.entry(row).albumId == albumId)
            return row;
    }
    return -1;
}

bool FaultWindow::selectAlbum(const QString &albumId)
{
    const int row = albumRow(albumId);
    if (row < 0)
        return false;
    selectRow(window().albumView, row);
    return true;
}

bool FaultWindow::viewAlbum(const QString &albumId, int timeoutMs)
{
    if (!selectAlbum(albumId))
        return false;
    makeRoomInLog();
    const int before = countLines(ListingEnd);
    window().viewAlbumAction->trigger();
    return RunEventsUntil([&] { return countLines(ListingEnd) > before; }, timeoutMs);
}

bool FaultWindow::startDownload(DownloadCommand command, const QString &albumId, int timeoutMs)
{
    if (command == DownloadCommand::SelectedPictures) {
        if (!viewAlbum(albumId, timeoutMs) || app.photos().size() < 2) {
            qWarning("FaultWindow: the album did not open with two pictures or more");
            return false;
        }
        app.photos().setAllChecked(true);
        selectRow(window().photoView, 0);
        m_linesAtStart = static_cast<int>(lines().size());
        m_endsAtStart = countLines(SelectedEnd);
        window().downloadPicturesAction->trigger();
        return true;
    }
    if (window().photoView->isVisible())
        window().backButton->click();
    if (!selectAlbum(albumId))
        return false;
    makeRoomInLog();
    m_linesAtStart = static_cast<int>(lines().size());
    window().downloadAlbumAction->trigger();
    // The job takes the album at once; the flag stays down until it has ended.
    return !app.state().albumJobIdle;
}

bool FaultWindow::waitForDownloadEnd(DownloadCommand command, int timeoutMs)
{
    if (command == DownloadCommand::SelectedPictures)
        return RunEventsUntil([&] { return countLines(SelectedEnd) > m_endsAtStart; }, timeoutMs);
    return RunEventsUntil([&] { return app.state().albumJobIdle; }, timeoutMs);
}

bool FaultWindow::download(DownloadCommand command, const QString &albumId, int timeoutMs)
{
    return startDownload(command, albumId) && waitForDownloadEnd(command, timeoutMs);
}

DownloadReport FaultWindow::report()
{
    DownloadReport result;
    const QStringList all = lines();
    for (int i = m_linesAtStart; i < all.size(); ++i) {
        const QString line = withoutTime(all.at(i));
        QString name;
        if (nameBefore(line, QStringLiteral("]下载完成.."), &name)
            || nameBefore(line, QStringLiteral("]下载完毕.."), &name))
            result.saved << name;
        else if (nameBefore(line, QStringLiteral("]下载失败.."), &name))
            result.failed << name;
        else
            result.otherLines << line;
    }
    return result;
}

QStringList FaultWindow::marks(DownloadCommand command, const QString &albumId)
{
    if (command == DownloadCommand::Album) {
        const int row = albumRow(albumId);
        return {app.albums().entry(row).downloadState};
    }
    QStringList result;
    for (int row = 0; row < app.photos().size(); ++row)
        result << app.photos().entry(row).status;
    return result;
}

void FaultWindow::makeRoomInLog()
{
    // The log lets its oldest lines go once it is full, which would move the lines
    // counted from the start of a run; a run starts on a log with room for it.
    if (lines().size() > 2500)
        app.log().clear();
}

QStringList FaultWindow::lines()
{
    return app.log().lines();
}

QString FaultWindow::withoutTime(const QString &line)
{
    static const QRegularExpression time(QStringLiteral("^\\[[^\\]]*\\]"));
    return QString(line).remove(time);
}

int FaultWindow::countLines(const QString &ending)
{
    int count = 0;
    for (const QString &line : lines())
        count += line.endsWith(ending) ? 1 : 0;
    return count;
}

QString MainAlbumFolder(const QString &saveFolder, const QString &albumName)
{
    return saveFolder + QLatin1Char('/') + QLatin1String(standin::MainUin) + QLatin1Char('/') + albumName;
}

QString PicturePath(const QString &albumId, int n)
{
    return QStringLiteral("/photo/b/%1/%2.jpg").arg(albumId).arg(n);
}

QString SequenceName(int n, const QString &pictureName)
{
    return QString::number(n) + QLatin1Char('.') + pictureName + QStringLiteral(".jpg");
}

QString ClosedPortAddress(const QString &path)
{
    // A port that was free a moment ago and is closed again.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(path);
}
