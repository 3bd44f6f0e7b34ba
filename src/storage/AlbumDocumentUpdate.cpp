#include "storage/AlbumDocumentUpdate.h"

#include "network/ParseInBackground.h"
#include "storage/AlbumDocumentBuild.h"
#include "storage/AlbumRecord.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <memory>

namespace albivex {

std::optional<QString> UpdateAlbumDocument(const AlbumDocumentUpdate &update, const QDateTime &now)
{
    // An album that saved nothing, and was given no folder before, has nothing to
    // describe: no folder is made for album.json alone.
    if (update.listedSaves.isEmpty() && !QFileInfo(update.folder).isDir())
        return std::nullopt;
    AlbumDocumentLoad load = LoadAlbumDocument(update.folder);
    // The folder's record is read once, for its compaction and for a rebuilt document.
    std::unique_ptr<AlbumRecord> record;
    if (update.compactRecord || load.state != AlbumDocumentLoad::State::Read)
        record = std::make_unique<AlbumRecord>(update.folder);
    // A record that cannot be written whole keeps its journal, which the next read takes.
    if (update.compactRecord)
        record->flush();
    AlbumDocument newer = update.document;
    newer.writtenAt = now;
    if (!update.listedSaves.isEmpty()) {
        QList<ListedSave> saves = update.listedSaves;
        std::sort(saves.begin(), saves.end(),
                  [](const ListedSave &a, const ListedSave &b) { return a.index < b.index; });
        newer.pictures.reserve(newer.pictures.size() + saves.size());
        for (const ListedSave &save : std::as_const(saves)) {
            if (save.index >= 0 && save.index < update.listing.size())
                newer.pictures.append(
                    AlbumDocumentPictureOf(update.listing.at(save.index), save.file, save.original));
        }
    }
    AlbumDocument older;
    if (load.state == AlbumDocumentLoad::State::Read) {
        older = std::move(load.document);
    } else {
        // Pictures saved before album.json was kept, or before it was damaged; this
        // run's own come with `newer`.
        QSet<QString> fresh;
        fresh.reserve(newer.pictures.size());
        for (const AlbumDocumentPicture &picture : std::as_const(newer.pictures))
            fresh.insert(picture.lloc);
        older.pictures = AlbumDocumentPicturesFromRecord(update.listing, *record, fresh);
        // Those the listing does not bring (cut short, or gone from the album) keep at
        // least their key and file.
        QSet<QString> listed = fresh;
        for (const AlbumDocumentPicture &picture : std::as_const(older.pictures))
            listed.insert(picture.lloc);
        for (auto it = record->entries().cbegin(); it != record->entries().cend(); ++it) {
            if (listed.contains(it.key()) || !record->isSaved(it.key()))
                continue;
            AlbumDocumentPicture picture;
            picture.lloc = it.key();
            picture.file = it->fileName;
            older.pictures.append(picture);
        }
    }
    AlbumDocument merged = MergeAlbumDocuments(older, std::move(newer));

    // An incremental run brings the new pictures only; the listing puts them back
    // among the older ones.
    QHash<QString, int> position;
    position.reserve(update.listing.size());
    for (int i = 0; i < update.listing.size(); ++i)
        position.insert(PictureRecordKey(update.listing.at(i)), i);
    const int unlisted = static_cast<int>(update.listing.size());
    const auto before = [&position, unlisted](const AlbumDocumentPicture &a, const AlbumDocumentPicture &b) {
        return position.value(a.lloc, unlisted) < position.value(b.lloc, unlisted);
    };
    // A whole album saved in one run is in order already.
    if (!std::is_sorted(merged.pictures.cbegin(), merged.pictures.cend(), before))
        std::stable_sort(merged.pictures.begin(), merged.pictures.end(), before);
    return SaveAlbumDocument(update.folder, merged);
}

void UpdateAlbumDocumentInBackground(AlbumDocumentUpdate update, QObject *context,
                                     std::function<void(std::optional<QString>)> done)
{
    ParseInBackground<std::optional<QString>>(
        context, [update = std::move(update)] { return UpdateAlbumDocument(update); }, std::move(done));
}

} // namespace albivex
