#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace albivex {

// A file saved for a post or a comment: its name in the posts' folder, whether it is
// a video, and the address it was saved from.
struct MoodDocumentFile
{
    QString file; // a plain file name; never empty
    bool video = false;
    QString from;

    friend bool operator==(const MoodDocumentFile &a, const MoodDocumentFile &b)
    {
        return a.file == b.file && a.video == b.video && a.from == b.from;
    }
};

// A comment under a post, or a reply to one (which has no replies of its own).
struct MoodDocumentComment
{
    QString author; // QQ number
    QString name;
    QDateTime time;
    QString text;
    QList<MoodDocumentFile> files;
    QList<MoodDocumentComment> replies;

    friend bool operator==(const MoodDocumentComment &a, const MoodDocumentComment &b);
};

// What moods.json keeps of one post. Empty texts, invalid times, unset places and
// counts below 0 are ones the service did not give, and are left out of the file.
struct MoodDocumentEntry
{
    QString id; // the post's tid; never empty
    QDateTime time;
    QString text; // whole, emoji codes such as [em]e100[/em] kept
    QString placeName;
    std::optional<double> longitude;
    std::optional<double> latitude;
    QString source;
    QList<MoodDocumentFile> files;
    // The addresses of the post's pictures the service answered with its "图片不存在"
    // picture: lost for good, not asked for again.
    QStringList lost;
    // The post passed on, when this one is a repost.
    QString repostAuthor;
    QString repostName;
    QString repostTime; // as the page shows it
    QString repostText;
    int commentCount = -1;
    std::optional<bool> commentsComplete; // false when the service holds more comments
    QList<MoodDocumentComment> comments;

    friend bool operator==(const MoodDocumentEntry &a, const MoodDocumentEntry &b);
};

// The posts' folder's description: one entry per post, newest first.
struct MoodDocument
{
    QList<MoodDocumentEntry> moods; // id unique

    friend bool operator==(const MoodDocument &a, const MoodDocument &b) { return a.moods == b.moods; }
};

inline QString MoodDocumentFileName()
{
    return QStringLiteral("moods.json");
}

// moods.json's text: UTF-8 JSON, indented, English keys, times ISO 8601 at +08:00:
//   {"version": 1, "moods": [{"id", "time", "text", "place": {"name", "longitude",
//    "latitude"}, "source", "files": [{"file", "kind": "picture"|"video", "from"}],
//    "lost": ["<address>", ...],
//    "repost": {"author", "name", "time", "text"}, "commentCount", "commentsComplete",
//    "comments": [{"author", "name", "time", "text", "files", "replies": [...]}]}]}
QByteArray MoodDocumentText(const MoodDocument &document);
// The same text written to `out` entry by entry; false when a write failed.
bool WriteMoodDocument(QIODevice &out, const MoodDocument &document);

// What a read of moods.json found: the entries it could read, and whether anything
// was damaged on the way (the file then deserves keeping aside before it is replaced).
struct MoodDocumentRead
{
    MoodDocument document;
    bool damaged = false;
};

// Reads moods.json's text; never fails. A value of the wrong kind is left out (a file
// that is not a plain name, a time without its offset), unknown keys are ignored, an
// entry without an id is dropped, and of entries with the same id the first counts.
// Text that is no JSON (cut short, say) still gives every whole entry of its "moods"
// array that stands before the damage. What is read is written and read back the same.
MoodDocumentRead ParseMoodDocument(const QByteArray &text);

// Entries newest first: by time, later first, then by id; entries without a time last.
void SortMoodEntries(QList<MoodDocumentEntry> &entries);

} // namespace albivex
