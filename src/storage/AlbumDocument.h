#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMap>
#include <QString>

#include <optional>

namespace albivex {

// What album.json keeps of one picture saved whole. Every value is optional: an empty
// text, an invalid time, a count below 0 or an unset flag is one the listing did not
// give, and is left out of the file.
struct AlbumDocumentPicture
{
    QString lloc; // the picture's key for good (PictureRecordKey); never empty
    QString file; // a plain file name in the album folder
    QString name; // the whole decoded texts, not the cut ones of file names
    QString caption;
    QDateTime uploadTime;
    QDateTime shootTime;
    int width = -1;
    int height = -1;
    QString place;
    QString cameraMake;
    QString cameraModel;
    QString cameraType;
    QMap<QString, QString> exif; // the other exif values as given, none empty
    int commentCount = -1;
    std::optional<bool> original; // saved from the original upload
    std::optional<bool> video;

    friend bool operator==(const AlbumDocumentPicture &a, const AlbumDocumentPicture &b);
    friend bool operator!=(const AlbumDocumentPicture &a, const AlbumDocumentPicture &b) { return !(a == b); }
};

// The album folder's own description, album.json: the album's texts and one entry per
// picture saved whole by this run or an earlier one, in list order. Unknown values as
// in AlbumDocumentPicture.
struct AlbumDocument
{
    QString id;
    QString name;
    QString description;
    QDateTime createTime;
    QString ownerUin;
    int pictureCount = -1; // the service's count, which may differ from the entries
    QDateTime writtenAt;
    QList<AlbumDocumentPicture> pictures; // lloc unique

    friend bool operator==(const AlbumDocument &a, const AlbumDocument &b);
    friend bool operator!=(const AlbumDocument &a, const AlbumDocument &b) { return !(a == b); }
};

// The file's name in the album folder.
inline QString AlbumDocumentFileName()
{
    return QStringLiteral("album.json");
}

// album.json's text: UTF-8 JSON, indented, English keys, times ISO 8601 at +08:00
// (the services' time), whole seconds:
//   {"version": 1, "id", "name", "description", "createTime", "owner", "pictureCount",
//    "writtenAt", "pictures": [{"lloc", "file", "name", "caption", "uploadTime",
//    "shootTime", "width", "height", "place", "cameraMake", "cameraModel", "cameraType",
//    "exif": {...}, "commentCount", "original", "video"}, ...]}
QByteArray AlbumDocumentText(const AlbumDocument &document);

// Reads album.json's text back; nullopt when it is damaged: no JSON object, no
// "pictures" array, a picture that is no object or has no lloc text. Short of that it
// is tolerant, since the file is the user's to touch: a value of the wrong kind or out
// of range is left out (a file that is not a plain name, a time that is not ISO 8601
// with its offset, a count below 0), unknown keys are ignored, and of pictures with the
// same lloc the first counts. What it reads is written and read back the same.
std::optional<AlbumDocument> ParseAlbumDocument(const QByteArray &text);

// `older` (what an earlier run wrote) updated with `newer` (this run's): every value
// `newer` gives wins, the others keep `older`'s. Pictures are matched by lloc:
// `newer`'s in its order, then those only `older` has, in theirs.
AlbumDocument MergeAlbumDocuments(const AlbumDocument &older, AlbumDocument newer);

// album.json of an album folder as found: absent, damaged (unreadable or not
// ParseAlbumDocument's; rebuild it from the listing and the AlbumRecord) or read.
struct AlbumDocumentLoad
{
    enum class State { Absent, Damaged, Read };
    State state = State::Absent;
    AlbumDocument document; // empty unless Read
};
AlbumDocumentLoad LoadAlbumDocument(const QString &albumFolder);

// Writes album.json into the folder whole or not at all (QSaveFile); the error text
// when that failed, nothing when it is written.
std::optional<QString> SaveAlbumDocument(const QString &albumFolder, const AlbumDocument &document);

} // namespace albivex
