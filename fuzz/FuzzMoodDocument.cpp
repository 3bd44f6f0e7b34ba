// ParseMoodDocument reads moods.json back from the posts' folder, where the user or a
// cut-short write may have changed it. It never fails: whatever it holds, every entry
// has its id and no other entry that id, no file names anything outside the folder,
// every time is one the writer can write, what is read is written back the same, and
// a merge with itself changes nothing but the order.

#include "FuzzSupport.h"
#include "storage/MoodDocument.h"
#include "storage/MoodDocumentUpdate.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void RequirePlainFiles(const QList<MoodDocumentFile> &files)
{
    for (const MoodDocumentFile &f : files) {
        Require(!f.file.isEmpty() && f.file != QLatin1String(".") && f.file != QLatin1String("..")
                    && !f.file.contains(QLatin1Char('/')) && !f.file.contains(QLatin1Char('\\'))
                    && f.file != MoodDocumentFileName(),
                "no file lies outside the folder", f.file);
    }
}

void RequireComment(const MoodDocumentComment &c, bool reply)
{
    RequirePlainFiles(c.files);
    Require(!c.time.isValid() || c.time.offsetFromUtc() == 8 * 3600, "times are read in the services' time");
    Require(!reply || c.replies.isEmpty(), "a reply holds no replies");
    for (const MoodDocumentComment &r : c.replies)
        RequireComment(r, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const MoodDocumentRead read = ParseMoodDocument(text);
    QSet<QString> ids;
    for (const MoodDocumentEntry &e : read.document.moods) {
        Require(!e.id.isEmpty(), "every entry has an id");
        Require(!ids.contains(e.id), "no two entries share an id", e.id);
        ids.insert(e.id);
        Require(!e.time.isValid() || e.time.offsetFromUtc() == 8 * 3600,
                "times are read in the services' time");
        Require(e.commentCount >= -1, "counts are never below unknown");
        RequirePlainFiles(e.files);
        for (const MoodDocumentComment &c : e.comments)
            RequireComment(c, false);
    }
    // Read entry by entry, the entries are those of the whole document as Qt reads it
    // (where the key is written plainly, once).
    const QJsonDocument json = QJsonDocument::fromJson(text);
    if (json.isObject() && json.object().value(QLatin1String("moods")).isArray()
        && text.count("\"moods\"") == 1 && !text.contains("\\u")) {
        QStringList whole;
        for (const QJsonValue &value : json.object().value(QLatin1String("moods")).toArray()) {
            const QString id = value.toObject().value(QLatin1String("id")).toString();
            if (value.isObject() && !id.isEmpty() && !whole.contains(id))
                whole << id;
        }
        QStringList read1;
        for (const MoodDocumentEntry &e : read.document.moods)
            read1 << e.id;
        Require(read1 == whole, "the entries are the whole document's", QString::fromUtf8(text.left(200)));
    }
    const MoodDocumentRead again = ParseMoodDocument(MoodDocumentText(read.document));
    Require(!again.damaged && again.document == read.document, "what is read is written back the same");
    MoodDocument sorted = read.document;
    SortMoodEntries(sorted.moods);
    Require(MergeMoodDocuments(read.document, read.document) == sorted, "a merge with itself only sorts");
    return 0;
}
