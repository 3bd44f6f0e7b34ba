#pragma once

#include <QString>

namespace albivex {

// Whether the file at `path` begins as a picture or a video does (CheckPictureSignature,
// CheckVideoSignature on its first bytes): true of every file a transfer has written,
// whole or not, and false of files it never wrote. False when the file cannot be read.
bool BeginsLikeSavedMedia(const QString &path);

} // namespace albivex
