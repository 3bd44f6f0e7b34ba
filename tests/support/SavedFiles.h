#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a download left on disk, as the window tests check it.

// Every file and link under `root` (hidden ones too), relative to it, sorted.
// The album record each album folder keeps (AlbumRecord) and the offline album's pages
// and thumbnails are left out.
QStringList AllFilesUnder(const QString &root);
// The files directly in a folder, hidden ones included, by name; the album record and
// the offline album's page left out.
QStringList FilesIn(const QString &folder);
// The bytes of a file; empty when it cannot be read.
QByteArray ContentOf(const QString &path);
