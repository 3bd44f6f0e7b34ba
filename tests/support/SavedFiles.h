#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a download left on disk, as the window tests check it.

// Every file and link under `root` (hidden ones too), relative to it, sorted.
QStringList AllFilesUnder(const QString &root);
// The bytes of a file; empty when it cannot be read.
QByteArray ContentOf(const QString &path);
