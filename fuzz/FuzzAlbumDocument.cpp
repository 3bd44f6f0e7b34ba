// ParseAlbumDocument reads album.json back from the album folder, where the user or
// anything else may have changed it. Whatever it holds, every entry has its key, no
// entry names a file outside the folder, every time is one the writer can write, and
// what is read is written back the same; a merge with itself changes nothing.

#include "FuzzSupport.h"
#include "storage/AlbumDocument.h"

using namespace albivex;
using namespace albivex::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<AlbumDocument> document = ParseAlbumDocument(text);
    if (!document)
        return 0;
    for (const AlbumDocumentPicture &picture : document->pictures) {
        const QString &name = picture.file;
        Require(!picture.lloc.isEmpty(), "every entry has a key");
        Require(name.isEmpty()
                    || (name != QLatin1String(".") && name != QLatin1String("..")
                        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
                        && name != AlbumDocumentFileName()),
                "no entry names a file outside the folder", name);
        Require(!picture.shootTime.isValid() || picture.shootTime.offsetFromUtc() == 8 * 3600,
                "times are read in the services' time");
        Require(picture.width >= -1 && picture.commentCount >= -1, "counts are never below unknown");
    }
    Require(ParseAlbumDocument(AlbumDocumentText(*document)) == document,
            "what is read is written back the same");
    Require(MergeAlbumDocuments(*document, *document) == *document, "a merge with itself changes nothing");
    return 0;
}
