#include "storage/BackupReport.h"

#include "storage/AlbumDocument.h"
#include "storage/BoardDocumentUpdate.h"
#include "storage/BoardFiles.h"
#include "storage/MoodDocument.h"
#include "storage/MoodDocumentUpdate.h"
#include "storage/MoodFiles.h"
#include "storage/SaveLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace albivex {

QString AlbumCheckLine(const BackupReportAlbum &album)
{
    if (album.part == BackupReportAlbum::Part::Board)
        return QStringLiteral("[%1]核对：服务端%2条，已保存%3条")
            .arg(BoardFolderBaseName())
            .arg(album.serviceCount)
            .arg(album.saved);
    if (album.part == BackupReportAlbum::Part::Moods)
        return QStringLiteral("[%1]核对：服务端%2条，已保存%3条，图片%4张，失败%5张")
            .arg(MoodFolderBaseName())
            .arg(album.serviceCount)
            .arg(album.saved)
            .arg(album.pictures)
            .arg(album.failed);
    return QStringLiteral("[%1]核对：服务端%2张，已保存%3张，跳过%4张，失败%5张")
        .arg(album.name)
        .arg(album.serviceCount)
        .arg(album.saved)
        .arg(album.skipped)
        .arg(album.failed);
}

QString IncompleteAlbumsLine(const QList<BackupReportAlbum> &albums)
{
    QStringList names;
    for (const BackupReportAlbum &album : albums) {
        if (!album.complete() && album.part == BackupReportAlbum::Part::Album)
            names << album.name;
    }
    return names.isEmpty()
        ? QString()
        : QStringLiteral("未完成的相册：") + names.join(QStringLiteral("、")) + QStringLiteral("..");
}

QString BackupReportText(const QString &ownerUin, const QDateTime &at,
                         const QList<BackupReportAlbum> &thisRun, const QList<BackupReportAlbum> &earlier)
{
    QStringList lines;
    lines << QStringLiteral("备份报告 QQ:%1 %2")
                 .arg(ownerUin, at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    lines << QString() << QStringLiteral("本次下载：");
    for (const BackupReportAlbum &album : thisRun) {
        lines << AlbumCheckLine(album);
        for (const QString &failure : album.failures)
            lines << QStringLiteral("  ") + failure;
        if (!album.note.isEmpty())
            lines << album.note;
    }
    const QString incomplete = IncompleteAlbumsLine(thisRun);
    if (!incomplete.isEmpty())
        lines << incomplete;
    if (!earlier.isEmpty()) {
        lines << QString() << QStringLiteral("以前的下载：");
        for (const BackupReportAlbum &album : earlier) {
            if (album.part == BackupReportAlbum::Part::Moods)
                lines << QStringLiteral("[%1]已保存%2条").arg(MoodFolderBaseName()).arg(album.saved);
            else if (album.part == BackupReportAlbum::Part::Board)
                lines << QStringLiteral("[%1]已保存%2条").arg(BoardFolderBaseName()).arg(album.saved);
            else
                lines << QStringLiteral("[%1]服务端%2张，已保存%3张")
                             .arg(album.name)
                             .arg(album.serviceCount)
                             .arg(album.saved);
        }
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QList<BackupReportAlbum> EarlierAlbums(const QString &spaceFolder, const QList<BackupReportAlbum> &thisRun)
{
    QStringList except;
    QSet<QString> thisRunsFolders;
    bool thisRunHasMoods = false;
    bool thisRunHasBoard = false;
    for (const BackupReportAlbum &album : thisRun) {
        thisRunHasMoods = thisRunHasMoods || album.part == BackupReportAlbum::Part::Moods;
        thisRunHasBoard = thisRunHasBoard || album.part == BackupReportAlbum::Part::Board;
        except << album.id;
        if (album.part == BackupReportAlbum::Part::Album)
            thisRunsFolders.insert(SafePathComponent(CleanFolderName(album.name)));
    }
    QList<BackupReportAlbum> albums;
    const QDir space(spaceFolder);
    for (const QString &folderName : space.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        // This run's album.json files hold as many pictures as its albums: not read
        // again for figures the run has.
        if (thisRunsFolders.contains(folderName))
            continue;
        if (QFileInfo::exists(space.filePath(folderName + QLatin1Char('/') + MoodDocumentFileName()))) {
            if (!thisRunHasMoods) {
                BackupReportAlbum moods;
                moods.id = MoodFolderBaseName();
                moods.name = folderName;
                moods.part = BackupReportAlbum::Part::Moods;
                moods.saved = int(LoadMoodDocument(space.filePath(folderName)).document.moods.size());
                albums << moods;
            }
            continue;
        }
        if (QFileInfo::exists(space.filePath(folderName + QLatin1Char('/') + BoardDocumentFileName()))) {
            if (!thisRunHasBoard) {
                BackupReportAlbum board;
                board.id = BoardFolderBaseName();
                board.name = folderName;
                board.part = BackupReportAlbum::Part::Board;
                board.saved = int(LoadBoardDocument(space.filePath(folderName)).document.messages.size());
                albums << board;
            }
            continue;
        }
        const AlbumDocumentLoad load = LoadAlbumDocument(space.filePath(folderName));
        if (load.state != AlbumDocumentLoad::State::Read || except.contains(load.document.id))
            continue;
        BackupReportAlbum album;
        album.id = load.document.id;
        album.name = folderName; // as the user finds it on the disk

        album.saved = static_cast<int>(load.document.pictures.size());
        album.serviceCount = qMax(load.document.pictureCount, 0);
        albums << album;
    }
    return albums;
}

std::optional<QString> WriteBackupReport(const QString &spaceFolder, const QString &ownerUin,
                                         const QList<BackupReportAlbum> &thisRun)
{
    const QString text = BackupReportText(ownerUin, QDateTime::currentDateTime(), thisRun,
                                          EarlierAlbums(spaceFolder, thisRun));
    QSaveFile file(QDir(spaceFolder).filePath(BackupReportFileName()));
    if (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit())
        return std::nullopt;
    return file.errorString();
}

} // namespace albivex
