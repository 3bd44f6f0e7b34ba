#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace albivex {

// How far a whole-space run is: its parts (each album, the 说说, the 留言板) done and in
// all, the pictures on disk of those known so far (the albums' counts from the start,
// the posts' and messages' files as they are listed), and, during a pause, when it
// ends.
struct SpaceProgress
{
    int partsDone = 0;
    int parts = 0;
    int picturesSaved = 0;
    int picturesKnown = 0;
    QDateTime pausedUntil; // invalid while no pause lasts

    friend bool operator==(const SpaceProgress &a, const SpaceProgress &b)
    {
        return a.partsDone == b.partsDone && a.parts == b.parts && a.picturesSaved == b.picturesSaved
            && a.picturesKnown == b.picturesKnown && a.pausedUntil == b.pausedUntil;
    }
};

// "3/24项 图片1200/10000张", and during a pause " 03:12:05继续" after it: what the
// status bar's text starts with, in brackets, and the window's title shows.
QString SpaceProgressText(const SpaceProgress &progress);

// The window's title during the run, so that the task bar tells how far it is:
// "整个空间备份 " + SpaceProgressText + " - " + the application's name.
QString SpaceRunTitle(const SpaceProgress &progress, const QString &applicationName);

// The line that names the parts of a whole-space run that are not complete,
// "未完成的项目：A、说说、留言板.."; empty when there are none.
QString IncompletePartsLine(const QStringList &names);

// The run's last line: "整个空间备份完成：相册N个，说说N条，留言N条，图片P张，失败F张".
QString SpaceSummaryLine(int albums, int posts, int messages, int pictures, int failed);

} // namespace albivex
