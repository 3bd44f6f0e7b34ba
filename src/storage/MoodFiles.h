#pragma once

#include "qzone/MoodPost.h"

#include <QString>
#include <QStringList>

namespace albivex {

// Where a space's 说说 (mood posts) go on disk, and the names of their pictures and
// videos.
//
// The folder. The posts share the space's folder with its albums, whose folders are
// named after the albums (AlbumFolderPath) and stay where earlier runs put them. An
// album may well be called 说说, and every name a folder can have on Windows is some
// album's possible folder name, so the albums cannot be kept off a name. The posts
// therefore yield: their folder is 说说 unless that is taken, else "说说 (2)",
// "说说 (3)", ..., the first that is free. A name is taken when an album of the space
// (as listed now) would have that folder, or when the folder exists and holds an
// album's files (album.json or its record) but no moods.json: an album since deleted
// from the service keeps its folder too. Names are compared without regard to case,
// as Windows and macOS compare them. Album folders are never moved or renamed.
//
// The files. A post's pictures and videos are named by the post's time (China's time,
// UTC+8, as the services show it) and their place in the post:
//   2023-05-01_142305_1a2b3c4d_01.jpg, ..._02.jpg, ..._v1.mp4
// and a comment's or reply's pictures add the comment's number:
//   2023-05-01_142305_1a2b3c4d_c3_01.jpg, ..._c3r2_01.jpg
// The eight hex digits are the head of the SHA-1 of the post's tid, so two posts of
// the same second never share a name and a post keeps its names from run to run.
// Names sort by time in a file manager; a post without a time starts with
// 0000-00-00_000000.

// The folder of the posts' own name when nothing else holds it.
inline QString MoodFolderBaseName()
{
    return QStringLiteral("说说");
}

// The posts' folder name in a space folder whose albums are `albumNames` (the albums'
// own names, as AlbumFolderPath takes them). Pure: only the albums count.
QString MoodFolderName(const QStringList &albumNames);

// save folder / owner / the posts' folder, where the folder is MoodFolderName of the
// albums, also passing over folders on disk that hold an album's files (see above).
// Nothing is made. Empty when the save folder or the owner is empty.
QString MoodFolderPath(const QString &saveFolder, const QString &ownerUin, const QStringList &albumNames);

// The same rule for any part of a space kept beside its albums (说说, 留言板): save
// folder / owner / the first of baseName, "baseName (2)", ... that no album of
// `albumNames` would have and that holds no album's files on disk unless it holds the
// part's own `ownDocument`. Nothing is made. Empty when the save folder or owner is.
QString PartFolderPath(const QString &saveFolder, const QString &ownerUin, const QStringList &albumNames,
                       const QString &baseName, const QString &ownDocument);

// The common head of a post's file names: "2023-05-01_142305_1a2b3c4d".
QString MoodFileStem(const MoodPost &post);

// The post's `number`th picture (from 1): stem + "_01" + extension.
QString MoodPictureFileName(const MoodPost &post, int number, const QString &extension);

// The post's `number`th video (from 1): stem + "_v1" + extension.
QString MoodVideoFileName(const MoodPost &post, int number, const QString &extension);

// The `number`th picture (from 1) of the comment `commentTid`, or of its reply
// `replyTid` when that is given: stem + "_c3_01" or "_c3r2_01" + extension.
QString MoodCommentPictureFileName(const MoodPost &post, const QString &commentTid, const QString &replyTid,
                                   int number, const QString &extension);

} // namespace albivex
