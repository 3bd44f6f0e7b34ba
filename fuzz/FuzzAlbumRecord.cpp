// ParseAlbumRecord reads the per-album record back from the album folder, where
// anything may have changed it. Whatever it holds, no entry may name a file outside
// the folder, and what is read is written back the same.

#include "FuzzSupport.h"
#include "storage/AlbumRecord.h"

using namespace albivex;
using namespace albivex::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<RecordEntries> entries = ParseAlbumRecord(text);
    if (!entries)
        return 0;
    for (auto it = entries->cbegin(); it != entries->cend(); ++it) {
        const QString &name = it->fileName;
        Require(!it.key().isEmpty(), "every entry has a key");
        Require(!name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
                    && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')),
                "no entry names a file outside the folder", name);
        for (const QChar c : name)
            Require(c.unicode() >= 0x20, "no control character in a name", name);
        Require(name != AlbumRecord::fileName(), "the record never lists itself");
        Require(it->size >= 0, "sizes are never negative");
    }
    Require(ParseAlbumRecord(AlbumRecordText(*entries)) == entries, "what is read is written back the same");
    return 0;
}
