#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

class QThreadPool;

namespace albivex {

// Longest side of a thumbnail, in pixels.
inline constexpr int ThumbnailSide = 320;

// What became of a picture's thumbnail.
enum class ThumbnailOutcome {
    Made, // written afresh
    Kept, // the one on disk was made from the picture as it is now
    Undecodable, // Qt cannot read the picture (HEIC without a plugin, damaged bytes)
    Missing, // the picture file is not there
    Failed, // the thumbnail could not be written
};

// Makes `thumbPath`, the thumbnail of the picture at `picturePath`, unless the one there
// was made from the picture at its present size and modification time (the thumbnail
// carries both in a text field). Reads with QImageReader at the scaled size, longest
// side ThumbnailSide (never enlarged), turned as the picture's EXIF says; transparent
// parts on white; JPEG. The thumbnail's folder must exist. Blocking file work: for a
// worker thread.
ThumbnailOutcome UpdateThumbnail(const QString &picturePath, const QString &thumbPath);

// The thumbnails (UpdateThumbnail) of the pictures `files`, plain names in `folder`, in
// the folder's hidden thumbnail folder, made when missing. On `pool`'s threads, the
// calling one helping, or one after another on the calling thread without a pool.
// `stop` is looked at before each picture; one not reached reads Missing. The outcomes
// go in the order of `files`. Blocking file work: for a worker thread.
std::vector<ThumbnailOutcome> UpdateThumbnails(const QString &folder, const QStringList &files,
                                               const std::atomic_bool &stop, QThreadPool *pool);

} // namespace albivex
