#pragma once

#include <QString>

namespace albivex {

// Name of the folder that holds every saved picture of a new run.
inline QString SaveFolderName()
{
    return QStringLiteral("QQ空间相册");
}

// The save folder a run starts with: SaveFolderName() inside the program's folder,
// created when missing; an existing folder is left as it is. An installed program's
// folder is usually not writable, and a save folder that cannot be created would make
// every download fail later; then the same folder inside the user's pictures folder is
// created and used instead. When neither can be created the program-folder path comes
// back all the same.
// A program in a system location (below /usr, /bin, /sbin, /lib, /opt or /snap) never
// saves beside itself, even when it could (run by root): it always gets the folder in
// the pictures folder (in the home folder when there is no pictures folder).
// Native separators, no trailing separator.
QString DefaultSaveFolder(const QString &programFolder, const QString &picturesFolder);

// Whether pictures can be saved into `path` as it is: an existing folder that can be written.
bool IsWritableFolder(const QString &path);

} // namespace albivex
