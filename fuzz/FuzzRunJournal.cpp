// ParseRunJournal reads back the journal a run keeps in the space's folder, where
// anything may have changed it: what it reads is a journal of a QQ number with
// choices in range and albums with ids, and it is written back the same.

#include "FuzzSupport.h"
#include "storage/RunJournal.h"

using namespace albivex;
using namespace albivex::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<RunJournal> journal = ParseRunJournal(text);
    if (!journal)
        return 0;
    Require(journal->ownerUin.size() >= 5 && journal->ownerUin.size() <= 11, "the owner is a QQ number",
            journal->ownerUin);
    Require(journal->quality >= 0 && journal->naming >= 0, "choices are never negative");
    for (const RunJournal::Album &album : journal->albums)
        Require(!album.id.isEmpty(), "every album has an id");
    Require(journal->remaining().size() <= journal->albums.size(), "what remains is among the albums");
    Require(ParseRunJournal(RunJournalText(*journal)) == journal, "what is read is written back the same");
    return 0;
}
