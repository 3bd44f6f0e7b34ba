#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// What a download left on disk, as the window tests check it.

// Every file and link under `root` (hidden ones too), relative to it, sorted.
// The tool's own files are left out by their exact final names (the album record and
// its journal, album.json, the space's report, the offline album's pages), and the
// offline album's thumbnail folders whole; a temporary file left behind is listed.
QStringList AllFilesUnder(const QString &root);
// The files directly in a folder, hidden ones included, by name; the tool's own files
// left out by their exact final names, as AllFilesUnder has it.
QStringList FilesIn(const QString &folder);
// The bytes of a file; empty when it cannot be read.
QByteArray ContentOf(const QString &path);
// The compressed image data of a JPEG (from the first scan on), a PNG (every IDAT
// payload) or a WebP (the VP8/VP8L chunk); empty when the structure does not hold.
QByteArray CompressedData(const QByteArray &bytes);
// What exiftool, a reader of its own, finds in the picture: group:tag -> value.
QJsonObject ExiftoolTags(const QByteArray &picture);
