#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace albivex {

// One album's line of the backup report: what the service counts against what became
// of its pictures.
struct BackupReportAlbum
{
    QString id;
    QString name;
    int serviceCount = 0; // the service's count of the album's pictures
    int saved = 0;
    int skipped = 0; // already saved whole by an earlier run
    int failed = 0;
    QStringList failures; // this run's failed pictures, each "[name]" + why
    // What the line is of. Of the space's 说说 or 留言板 rather than an album, the counts
    // are of posts or messages (saved counts those kept whole, also by earlier runs),
    // with the files saved in `pictures`.
    enum class Part { Album, Moods, Board };
    Part part = Part::Album;
    int pictures = 0;
    // Said after the check line: why the part is not whole although nothing failed
    // (the service listed fewer posts than it counts).
    QString note;

    bool complete() const { return failed == 0 && note.isEmpty() && saved + skipped >= serviceCount; }
};

// The check line of an album, also the report's:
// "[album]核对：服务端N张，已保存S张，跳过K张，失败F张"; of the posts:
// "[说说]核对：服务端N条，已保存S条，图片P张，失败F张"; of the board:
// "[留言板]核对：服务端N条，已保存S条" (its failed pictures are listed under it).
QString AlbumCheckLine(const BackupReportAlbum &album);

// The line that names a run's albums (not the posts) that are not complete, "未完成的相册：A、B..";
// empty when every album is.
QString IncompleteAlbumsLine(const QList<BackupReportAlbum> &albums);

// The report's file name in the space's folder.
inline QString BackupReportFileName()
{
    return QStringLiteral("备份报告.txt");
}

// The report's text: a heading with the space and the time, the check line of every
// album of this run with the reason of each failed picture under it, then one line per
// album saved by earlier runs (not in this run) with the service's count and the
// pictures its album.json holds, and of the posts moods.json holds and the messages
// board.json holds.
QString BackupReportText(const QString &ownerUin, const QDateTime &at,
                         const QList<BackupReportAlbum> &thisRun, const QList<BackupReportAlbum> &earlier);

// The albums of the space folder that earlier runs saved, from each album folder's
// album.json, leaving out the albums of `thisRun` (by id, and their folders unread);
// named and ordered by their folders.
QList<BackupReportAlbum> EarlierAlbums(const QString &spaceFolder, const QList<BackupReportAlbum> &thisRun);

// Writes the report of this run into the space folder, whole or not at all; the error's
// text when it fails. Reads every album.json of the space: blocking file work, for a
// worker thread.
std::optional<QString> WriteBackupReport(const QString &spaceFolder, const QString &ownerUin,
                                         const QList<BackupReportAlbum> &thisRun);

} // namespace albivex
