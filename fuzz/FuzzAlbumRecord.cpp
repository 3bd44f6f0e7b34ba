// ParseAlbumRecord and ApplyRecordJournal read the per-album record and its journal
// back from the album folder, where anything may have changed them. Whatever they
// hold, no entry may name a file outside the folder or one another entry names, and
// what is read is written back the same.

#include "FuzzSupport.h"
#include "storage/AlbumRecord.h"

#include <QSet>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void CheckEntries(const RecordEntries &entries)
{
    QSet<QString> names;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        const QString &name = it->fileName;
        Require(!it.key().isEmpty(), "every entry has a key");
        Require(!name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
                    && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')),
                "no entry names a file outside the folder", name);
        for (const QChar c : name)
            Require(c.unicode() >= 0x20, "no control character in a name", name);
        Require(name != AlbumRecord::fileName() && name != AlbumRecord::journalFileName(),
                "the record never lists its own files");
        Require(it->size >= 0, "sizes are never negative");
        Require(!names.contains(name.toCaseFolded()), "a file holds one picture", name);
        names.insert(name.toCaseFolded());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    // The same bytes as a journal, on top of a record of one picture: each line that
    // reads is recorded as a new picture would be, whatever the others hold.
    RecordEntries journaled {{QStringLiteral("k"), {QStringLiteral("a.jpg"), 1}}};
    ApplyRecordJournal(journaled, text);
    CheckEntries(journaled);
    RecordEntries twice = journaled;
    ApplyRecordJournal(twice, text);
    Require(twice == journaled, "a journal read again changes nothing");

    const std::optional<RecordEntries> entries = ParseAlbumRecord(text);
    if (!entries)
        return 0;
    CheckEntries(*entries);
    Require(ParseAlbumRecord(AlbumRecordText(*entries)) == entries, "what is read is written back the same");
    return 0;
}
