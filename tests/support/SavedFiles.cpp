#include "SavedFiles.h"

#include "gallery/GalleryLayout.h"
#include "storage/AlbumDocument.h"
#include "storage/AlbumRecord.h"
#include "storage/BackupReport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

// The files the tool keeps beside the pictures, by their final names only: a
// temporary or partial one left behind (a page, a report, a record being written)
// counts like any other file, so a run that leaves one shows.
bool IsToolsOwnFile(const QString &name)
{
    return name == albivex::AlbumRecord::fileName() || name == albivex::AlbumRecord::journalFileName()
        || name == albivex::AlbumDocumentFileName() || name == albivex::GalleryPageName()
        || name == albivex::BackupReportFileName();
}

} // namespace

QStringList AllFilesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        // The offline album's thumbnails come and go while it is built in the
        // background after a run: their folder is left out whole.
        if (!IsToolsOwnFile(it.fileName())
            && !path.contains(QLatin1Char('/') + albivex::ThumbFolderName() + QLatin1Char('/')))
            files << QDir(root).relativeFilePath(path);
    }
    files.sort();
    return files;
}

QStringList FilesIn(const QString &folder)
{
    QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    files.removeIf(IsToolsOwnFile);
    return files;
}

QByteArray ContentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The compressed image data of a JPEG (from the first scan on), a PNG (every IDAT
// payload) or a WebP (the VP8/VP8L chunk), walked segment by segment; empty when the
// structure does not hold.
QByteArray CompressedData(const QByteArray &bytes)
{
    const auto u8 = [&bytes](qsizetype at) {
        return quint8(bytes.at(at));
    };
    if (bytes.startsWith("\xFF\xD8")) {
        for (qsizetype at = 2; at + 4 <= bytes.size(); at += 2 + (u8(at + 2) << 8 | u8(at + 3))) {
            if (u8(at) != 0xFF)
                return {};
            if (u8(at + 1) == 0xDA)
                return bytes.mid(at);
        }
    } else if (bytes.startsWith("\x89PNG")) {
        QByteArray idat;
        for (qsizetype at = 8; at + 12 <= bytes.size();) {
            const qsizetype length = qFromBigEndian<quint32>(bytes.constData() + at);
            if (bytes.mid(at + 4, 4) == "IDAT")
                idat += bytes.mid(at + 8, length);
            at += 12 + length;
        }
        return idat;
    } else if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP") {
        for (qsizetype at = 12; at + 8 <= bytes.size();) {
            const qsizetype length = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
            if (bytes.mid(at, 4) == "VP8 " || bytes.mid(at, 4) == "VP8L")
                return bytes.mid(at, 8 + length);
            at += 8 + length + (length & 1);
        }
    }
    return {};
}

// What exiftool, a reader of its own, finds in the picture: group:tag -> value.
QJsonObject ExiftoolTags(const QByteArray &picture)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("p")));
    if (!file.open(QIODevice::WriteOnly) || file.write(picture) != picture.size())
        return {};
    file.close();
    QProcess exiftool;
    exiftool.start(QStringLiteral("exiftool"),
                   {QStringLiteral("-json"), QStringLiteral("-G1"), QStringLiteral("-charset"),
                    QStringLiteral("exif=UTF8"), file.fileName()});
    if (!exiftool.waitForFinished(30000))
        return {};
    return QJsonDocument::fromJson(exiftool.readAllStandardOutput()).array().at(0).toObject();
}
