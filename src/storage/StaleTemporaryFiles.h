#pragma once

#include <QDateTime>
#include <QString>

namespace albivex {

// A picture transfer writes into a temporary file beside its target and renames it
// only when the picture is whole (PictureTransfer). Where the file system gives no
// unnamed temporary files, that file is named as the target plus "." and six letters
// or digits ("12.abc.jpg.k3Zq9A"), and a program that is killed, or a machine that
// loses power, in the middle of a transfer leaves it behind.

// True for a file name of that form. Targets end in ".jpg", in the extension of an
// original's real format (".png", ".gif", ".webp", ".bmp", ".heic"), or in ".mp4".
bool IsTransferTemporaryName(const QString &fileName);

// Removes the transfer temporary files directly inside `folder`: files with such a
// name that begin with a picture's or a video's signature (a transfer writes nothing
// before it) and that nobody has written to for at least `minimumAgeMs` before `now`.
// A transfer that is still running, in this program or another, writes to its file
// whenever data arrives and gives up after its idle limit, so with that limit as the
// age no live transfer loses its file. Other files, folders and links are never touched (a
// user's own copy of a picture named exactly so would be taken for one). Returns how
// many were removed.
int RemoveStaleTemporaryFiles(const QString &folder, qint64 minimumAgeMs,
                              const QDateTime &now = QDateTime::currentDateTimeUtc());

// The age for RemoveStaleTemporaryFiles with transfers of this idle limit: twice the
// limit, so that a transfer's own clean-up after its last write is never overtaken.
inline qint64 StaleTemporaryAgeMs(int transferIdleMs)
{
    return 2LL * transferIdleMs;
}

} // namespace albivex
