#include "storage/MoodDocument.h"

#include "storage/AlbumRecord.h"
#include "storage/DocumentFields.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <cmath>
#include <limits>

namespace albivex {

bool operator==(const MoodDocumentComment &a, const MoodDocumentComment &b)
{
    return a.author == b.author && a.name == b.name && a.time == b.time && a.text == b.text
        && a.files == b.files && a.replies == b.replies;
}

bool operator==(const MoodDocumentEntry &a, const MoodDocumentEntry &b)
{
    return a.id == b.id && a.time == b.time && a.text == b.text && a.placeName == b.placeName
        && a.longitude == b.longitude && a.latitude == b.latitude && a.source == b.source
        && a.files == b.files && a.lost == b.lost && a.repostAuthor == b.repostAuthor
        && a.repostName == b.repostName && a.repostTime == b.repostTime && a.repostText == b.repostText
        && a.commentCount == b.commentCount && a.commentsComplete == b.commentsComplete
        && a.comments == b.comments;
}

namespace {

void putNumber(QJsonObject &o, const char *key, std::optional<double> value)
{
    if (value && std::isfinite(*value))
        o.insert(QLatin1String(key), *value);
}

std::optional<double> numberOf(const QJsonObject &o, const char *key)
{
    const QJsonValue value = o.value(QLatin1String(key));
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

QJsonArray filesArray(const QList<MoodDocumentFile> &files)
{
    QJsonArray array;
    for (const MoodDocumentFile &f : files) {
        if (f.file.isEmpty())
            continue;
        QJsonObject o;
        PutText(o, "file", f.file);
        o.insert(QLatin1String("kind"), f.video ? QStringLiteral("video") : QStringLiteral("picture"));
        PutText(o, "from", f.from);
        array.append(o);
    }
    return array;
}

QList<MoodDocumentFile> filesOf(const QJsonObject &o)
{
    QList<MoodDocumentFile> files;
    for (const QJsonValue &value : o.value(QLatin1String("files")).toArray()) {
        const QJsonObject f = value.toObject();
        MoodDocumentFile file;
        file.file = TextOf(f, "file");
        if (!IsPlainFileName(file.file) || file.file == MoodDocumentFileName())
            continue;
        file.video = TextOf(f, "kind") == QLatin1String("video");
        file.from = TextOf(f, "from");
        files.append(file);
    }
    return files;
}

QJsonObject commentObject(const MoodDocumentComment &c, bool withReplies)
{
    QJsonObject o;
    PutText(o, "author", c.author);
    PutText(o, "name", c.name);
    PutTime(o, "time", c.time);
    PutText(o, "text", c.text);
    const QJsonArray files = filesArray(c.files);
    if (!files.isEmpty())
        o.insert(QLatin1String("files"), files);
    QJsonArray replies;
    for (const MoodDocumentComment &reply : c.replies)
        replies.append(commentObject(reply, false));
    if (withReplies && !replies.isEmpty())
        o.insert(QLatin1String("replies"), replies);
    return o;
}

MoodDocumentComment commentOf(const QJsonObject &o, bool withReplies)
{
    MoodDocumentComment c;
    c.author = TextOf(o, "author");
    c.name = TextOf(o, "name");
    c.time = TimeOf(o, "time");
    c.text = TextOf(o, "text");
    c.files = filesOf(o);
    if (withReplies) {
        for (const QJsonValue &value : o.value(QLatin1String("replies")).toArray()) {
            if (value.isObject())
                c.replies.append(commentOf(value.toObject(), false));
        }
    }
    return c;
}

QJsonObject entryObject(const MoodDocumentEntry &e)
{
    QJsonObject o;
    PutText(o, "id", e.id);
    PutTime(o, "time", e.time);
    PutText(o, "text", e.text);
    QJsonObject place;
    PutText(place, "name", e.placeName);
    putNumber(place, "longitude", e.longitude);
    putNumber(place, "latitude", e.latitude);
    if (!place.isEmpty())
        o.insert(QLatin1String("place"), place);
    PutText(o, "source", e.source);
    const QJsonArray files = filesArray(e.files);
    if (!files.isEmpty())
        o.insert(QLatin1String("files"), files);
    if (!e.lost.isEmpty())
        o.insert(QLatin1String("lost"), QJsonArray::fromStringList(e.lost));
    QJsonObject repost;
    PutText(repost, "author", e.repostAuthor);
    PutText(repost, "name", e.repostName);
    PutText(repost, "time", e.repostTime);
    PutText(repost, "text", e.repostText);
    if (!repost.isEmpty())
        o.insert(QLatin1String("repost"), repost);
    if (e.commentCount >= 0)
        o.insert(QLatin1String("commentCount"), e.commentCount);
    if (e.commentsComplete)
        o.insert(QLatin1String("commentsComplete"), *e.commentsComplete);
    QJsonArray comments;
    for (const MoodDocumentComment &c : e.comments)
        comments.append(commentObject(c, true));
    if (!comments.isEmpty())
        o.insert(QLatin1String("comments"), comments);
    return o;
}

MoodDocumentEntry entryOf(const QJsonObject &o)
{
    MoodDocumentEntry e;
    e.id = TextOf(o, "id");
    e.time = TimeOf(o, "time");
    e.text = TextOf(o, "text");
    const QJsonObject place = o.value(QLatin1String("place")).toObject();
    e.placeName = TextOf(place, "name");
    e.longitude = numberOf(place, "longitude");
    e.latitude = numberOf(place, "latitude");
    e.source = TextOf(o, "source");
    e.files = filesOf(o);
    for (const QJsonValue &value : o.value(QLatin1String("lost")).toArray()) {
        if (value.isString() && !value.toString().isEmpty())
            e.lost << value.toString();
    }
    const QJsonObject repost = o.value(QLatin1String("repost")).toObject();
    e.repostAuthor = TextOf(repost, "author");
    e.repostName = TextOf(repost, "name");
    e.repostTime = TextOf(repost, "time");
    e.repostText = TextOf(repost, "text");
    const std::optional<double> count = numberOf(o, "commentCount");
    if (count && *count >= 0 && *count <= std::numeric_limits<int>::max() && std::floor(*count) == *count)
        e.commentCount = int(*count);
    const QJsonValue complete = o.value(QLatin1String("commentsComplete"));
    if (complete.isBool())
        e.commentsComplete = complete.toBool();
    for (const QJsonValue &value : o.value(QLatin1String("comments")).toArray()) {
        if (value.isObject())
            e.comments.append(commentOf(value.toObject(), true));
    }
    return e;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t';
}

// Where the top-level "moods" array opens (the index of its '['), -1 when the text has
// none: the first key "moods" of the outermost object, when its value is an array.
qsizetype MoodsArrayAt(const QByteArray &text)
{
    int depth = 0;
    bool inString = false;
    qsizetype stringStart = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
                if (depth != 1 || i - stringStart != 6 || !text.sliced(stringStart, 7).startsWith("\"moods"))
                    continue;
                qsizetype j = i + 1;
                while (j < text.size() && IsSpace(text.at(j)))
                    ++j;
                if (j >= text.size() || text.at(j) != ':')
                    continue; // a value of that text, not the key
                for (++j; j < text.size() && IsSpace(text.at(j)); ++j) { }
                return j < text.size() && text.at(j) == '[' ? j : -1;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
            stringStart = i;
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return -1;
}

// Hands each whole object of the "moods" array to `take`, read on its own: one entry's
// values at a time, never the whole document's. Reading stops at the first element
// that does not read (a text cut short). True when the array was read to its end and
// held only objects.
template<typename Take> bool EachEntryObject(const QByteArray &text, Take take)
{
    qsizetype i = MoodsArrayAt(text);
    if (i < 0)
        return false;
    bool whole = true;
    int depth = 0;
    bool inString = false;
    qsizetype start = -1;
    for (++i; i < text.size(); ++i) {
        const char c = text.at(i);
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            whole = whole && depth > 0; // a string is no entry
        } else if (c == '{' || c == '[') {
            if (depth++ == 0)
                start = i;
        } else if (c == '}' || c == ']') {
            if (depth == 0)
                return whole; // the array's end
            if (--depth == 0) {
                const QJsonDocument one = QJsonDocument::fromJson(text.mid(start, i - start + 1));
                if (one.isArray()) {
                    whole = false; // whole, but no entry
                    continue;
                }
                if (!one.isObject())
                    return false;
                take(one.object());
            }
        } else if (depth == 0 && c != ',' && !IsSpace(c)) {
            whole = false; // a number or a word, no entry
        }
    }
    return false; // cut before the array's end
}

} // namespace

bool WriteMoodDocument(QIODevice &out, const MoodDocument &document)
{
    // Entry by entry, laid out as QJsonDocument lays out the whole: a space of ten
    // thousand posts never stands in memory as one tree of JSON values, nor as one text.
    bool ok = out.write("{\n    \"moods\": [") >= 0;
    bool first = true;
    for (const MoodDocumentEntry &entry : document.moods) {
        if (entry.id.isEmpty()) // the reader would drop it
            continue;
        QByteArray one = QJsonDocument(entryObject(entry)).toJson(QJsonDocument::Indented);
        one.chop(1); // its closing newline
        one.replace('\n', QByteArrayLiteral("\n        "));
        ok = ok && out.write(first ? "\n        " : ",\n        ") >= 0 && out.write(one) >= 0;
        first = false;
    }
    return ok && out.write("\n    ],\n    \"version\": 1\n}\n") >= 0;
}

QByteArray MoodDocumentText(const MoodDocument &document)
{
    QByteArray text;
    QBuffer buffer(&text);
    buffer.open(QIODevice::WriteOnly);
    WriteMoodDocument(buffer, document);
    return text;
}

MoodDocumentRead ParseMoodDocument(const QByteArray &text)
{
    MoodDocumentRead read;
    QSet<QString> seen;
    const bool whole = EachEntryObject(text, [&read, &seen](const QJsonObject &object) {
        MoodDocumentEntry entry = entryOf(object);
        if (entry.id.isEmpty()) {
            read.damaged = true;
            return;
        }
        if (!seen.contains(entry.id)) {
            seen.insert(entry.id);
            read.document.moods.append(std::move(entry));
        }
    });
    read.damaged = read.damaged || (!whole && !text.trimmed().isEmpty());
    return read;
}

void SortMoodEntries(QList<MoodDocumentEntry> &entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const MoodDocumentEntry &a, const MoodDocumentEntry &b) {
                         if (a.time.isValid() != b.time.isValid())
                             return a.time.isValid();
                         if (a.time != b.time)
                             return a.time > b.time;
                         return a.id < b.id;
                     });
}

} // namespace albivex
