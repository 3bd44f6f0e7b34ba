#pragma once

#include "SavedFiles.h"
#include "ScriptedPrompts.h"
#include "app/AlbivexApp.h"

#include <QString>
#include <QStringList>

#include <functional>

// The whole tool in its real window, driven as a user drives it, against a stand-in.

// The two commands that save pictures: "下载图片" on every ticked picture of an opened
// album, and "下载相册" on the selected album.
enum class DownloadCommand { SelectedPictures, Album };
inline const QList<DownloadCommand> DownloadCommands
    = {DownloadCommand::SelectedPictures, DownloadCommand::Album};

QString CommandName(DownloadCommand command);

// What a download run reported, read from the log lines it added.
struct DownloadReport
{
    QStringList saved; // picture names with a completion line, in order
    QStringList failed; // picture names with "下载失败..", in order
    QStringList otherLines; // every other line of the run (without time)
};

class FaultWindow
{
public:
    // The tool with every service address under `serviceRoot` (the stand-in's).
    explicit FaultWindow(const QString &serviceRoot);

    const QString serviceRoot;
    ScriptedPrompts prompts;
    albivex::AlbivexApp app;
    // Where the tool keeps its choices between runs; empty (the default): nowhere.
    QString settingsFile;
    // The number whose albums signInAndList lists; empty (the default): the own space.
    QString otherQq;
    // The save folder signInAndList sets just before listing, where the listing looks
    // for an unfinished run; empty (the default): left as it is.
    QString saveFolder;

    albivex::MainWindow &window();
    // How the tool makes its picture transfers; tests shorten the waits.
    albivex::PictureTransfer::Options &transferOptions();

    // Runs the start-up (version check against the stand-in), signs in as `uin` and
    // lists the albums with "获取相册" (of otherQq when set). The sign-in goes over HTTP with the tool's
    // network manager, or through the sign-in window and its browser when `browser` is set.
    bool signInAndList(const char *uin, bool browser = false, int timeoutMs = 60000);
    // "注销登录", until its log line.
    bool signOut(int timeoutMs = 10000);
    // Selects the album's row in the album list; false when it is not listed.
    bool selectAlbum(const QString &albumId);
    int albumRow(const QString &albumId);

    // Saves every picture of the album with the command, into the save folder, as a
    // user does it: for "下载图片" the album is opened ("查看相册"), every row ticked and
    // the first one selected; for "下载相册" its row is selected. Waits for the end of
    // the run within the time-out.
    bool download(DownloadCommand command, const QString &albumId, int timeoutMs = 30000);
    // The same without waiting: false when the run could not be started.
    bool startDownload(DownloadCommand command, const QString &albumId, int timeoutMs = 20000);
    bool waitForDownloadEnd(DownloadCommand command, int timeoutMs = 30000);

    // The lines added since the last start, split by what they report.
    DownloadReport report();
    // The marks the window shows for the run: for "下载图片" the "状态" text of every
    // picture row, for "下载相册" the album row's "下载状态".
    QStringList marks(DownloadCommand command, const QString &albumId);

    QStringList lines();
    static QString withoutTime(const QString &line);
    int countLines(const QString &ending);

private:
    bool viewAlbum(const QString &albumId, int timeoutMs);

    void makeRoomInLog();

    int m_linesAtStart = 0;
    int m_endsAtStart = 0;
};

// Runs the event loop until `done` holds or the time is up; true when it holds. Unlike
// QTest::qWaitFor it never sleeps between events, so transfers and timers run at the
// pace they have in the program.
bool RunEventsUntil(const std::function<bool()> &done, int timeoutMs);

// The album folder of `albumName` in the main space under `saveFolder`.
QString MainAlbumFolder(const QString &saveFolder, const QString &albumName);
// The address of picture n of an album on the stand-in ("/photo/b/V1three/2.jpg").
QString PicturePath(const QString &albumId, int n);
// The file name the sequence-and-name option gives picture n: "2.小狗.jpg".
QString SequenceName(int n, const QString &pictureName);
// An address on 127.0.0.1 where nothing listens.
QString ClosedPortAddress(const QString &path);
