#pragma once

#include "qzone/PhotoEntry.h"
#include "storage/AlbumDocument.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace albivex {

// A picture of the listing that a run saved whole: its index in the listing, its file.
struct ListedSave
{
    int index = -1;
    QString file;
    std::optional<bool> original;
};

// What one run has to say of an album folder's album.json: the album's own values and
// the entries of the pictures it saved whole, and the listing it worked from.
struct AlbumDocumentUpdate
{
    QString folder;
    AlbumDocument document; // writtenAt is set when it is written
    QList<PhotoEntry> listing;
    // Pictures of the listing saved whole, in any order: their entries
    // (AlbumDocumentPictureOf) join document.pictures in the listing's order, made
    // where the update is written rather than on the window's thread.
    QList<ListedSave> listedSaves;
    // Write the folder's AlbumRecord whole first (AlbumRecord::flush), at an album's end.
    bool compactRecord = false;
};

// Brings the folder's album.json up to date with `update`, read, merged and written
// whole (MergeAlbumDocuments, SaveAlbumDocument): what an earlier run wrote stays unless
// this run says otherwise. A missing or damaged file is first rebuilt from the listing
// and the folder's AlbumRecord, so no picture saved whole before goes missing from it.
// The entries come in the listing's order; those it no longer lists follow, in the
// file's. A folder that does not exist, for an update that saved nothing, is left
// so: nothing is written and nothing has failed. Disk work that grows with the album:
// for a worker thread. The error text when the file could not be written.
std::optional<QString> UpdateAlbumDocument(const AlbumDocumentUpdate &update,
                                           const QDateTime &now = QDateTime::currentDateTimeUtc());

// UpdateAlbumDocument on a worker thread; `done` gets its answer on the context's
// thread, and is dropped when the context goes first.
void UpdateAlbumDocumentInBackground(AlbumDocumentUpdate update, QObject *context,
                                     std::function<void(std::optional<QString>)> done);

} // namespace albivex
