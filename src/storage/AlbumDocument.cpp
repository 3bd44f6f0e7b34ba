#include "storage/AlbumDocument.h"

#include "storage/AlbumRecord.h"
#include "storage/DocumentFields.h"

#include <QBuffer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>

#include <cmath>
#include <limits>

namespace albivex {

namespace {

void putCount(QJsonObject &object, const char *key, int value)
{
    if (value >= 0)
        object.insert(QLatin1String(key), value);
}

void putFlag(QJsonObject &object, const char *key, std::optional<bool> value)
{
    if (value)
        object.insert(QLatin1String(key), *value);
}

QString textOf(const QJsonObject &object, const char *key)
{
    return object.value(QLatin1String(key)).toString();
}

// Only a time with its offset says which moment it is.
QDateTime timeOf(const QJsonObject &object, const char *key)
{
    const QString text = textOf(object, key);
    const QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    if (!time.isValid() || time.timeSpec() == Qt::LocalTime)
        return QDateTime();
    return DocumentTime(time);
}

int countOf(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isDouble())
        return -1;
    const double number = value.toDouble();
    if (!(number >= 0 && number <= std::numeric_limits<int>::max() && std::floor(number) == number))
        return -1;
    return int(number);
}

std::optional<bool> flagOf(const QJsonObject &object, const char *key)
{
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isBool() ? std::optional<bool>(value.toBool()) : std::nullopt;
}

QJsonObject pictureObject(const AlbumDocumentPicture &p)
{
    QJsonObject o;
    PutText(o, "lloc", p.lloc);
    PutText(o, "file", p.file);
    PutText(o, "name", p.name);
    PutText(o, "caption", p.caption);
    PutTime(o, "uploadTime", p.uploadTime);
    PutTime(o, "shootTime", p.shootTime);
    putCount(o, "width", p.width);
    putCount(o, "height", p.height);
    PutText(o, "place", p.place);
    PutText(o, "cameraMake", p.cameraMake);
    PutText(o, "cameraModel", p.cameraModel);
    PutText(o, "cameraType", p.cameraType);
    QJsonObject exif;
    for (auto it = p.exif.cbegin(); it != p.exif.cend(); ++it) {
        if (!it.key().isEmpty() && !it.value().isEmpty())
            exif.insert(it.key(), it.value());
    }
    if (!exif.isEmpty())
        o.insert(QLatin1String("exif"), exif);
    putCount(o, "commentCount", p.commentCount);
    putFlag(o, "original", p.original);
    putFlag(o, "video", p.video);
    return o;
}

AlbumDocumentPicture pictureOf(const QJsonObject &o)
{
    AlbumDocumentPicture p;
    p.lloc = textOf(o, "lloc");
    p.file = textOf(o, "file");
    if (!IsPlainFileName(p.file) || p.file == AlbumDocumentFileName())
        p.file.clear();
    p.name = textOf(o, "name");
    p.caption = textOf(o, "caption");
    p.uploadTime = timeOf(o, "uploadTime");
    p.shootTime = timeOf(o, "shootTime");
    p.width = countOf(o, "width");
    p.height = countOf(o, "height");
    p.place = textOf(o, "place");
    p.cameraMake = textOf(o, "cameraMake");
    p.cameraModel = textOf(o, "cameraModel");
    p.cameraType = textOf(o, "cameraType");
    const QJsonObject exif = o.value(QLatin1String("exif")).toObject();
    for (auto it = exif.begin(); it != exif.end(); ++it) {
        if (!it.key().isEmpty() && !it.value().toString().isEmpty())
            p.exif.insert(it.key(), it.value().toString());
    }
    p.commentCount = countOf(o, "commentCount");
    p.original = flagOf(o, "original");
    p.video = flagOf(o, "video");
    return p;
}

// `newer`'s value where it gives one, else `older`'s.
template<typename T> void keepGiven(T &merged, const T &newer, bool given)
{
    if (given)
        merged = newer;
}

AlbumDocumentPicture mergePicture(const AlbumDocumentPicture &older, const AlbumDocumentPicture &newer)
{
    AlbumDocumentPicture m = older;
    keepGiven(m.file, newer.file, !newer.file.isEmpty());
    keepGiven(m.name, newer.name, !newer.name.isEmpty());
    keepGiven(m.caption, newer.caption, !newer.caption.isEmpty());
    keepGiven(m.uploadTime, newer.uploadTime, newer.uploadTime.isValid());
    keepGiven(m.shootTime, newer.shootTime, newer.shootTime.isValid());
    keepGiven(m.width, newer.width, newer.width >= 0);
    keepGiven(m.height, newer.height, newer.height >= 0);
    keepGiven(m.place, newer.place, !newer.place.isEmpty());
    keepGiven(m.cameraMake, newer.cameraMake, !newer.cameraMake.isEmpty());
    keepGiven(m.cameraModel, newer.cameraModel, !newer.cameraModel.isEmpty());
    keepGiven(m.cameraType, newer.cameraType, !newer.cameraType.isEmpty());
    m.exif.insert(newer.exif);
    keepGiven(m.commentCount, newer.commentCount, newer.commentCount >= 0);
    keepGiven(m.original, newer.original, newer.original.has_value());
    keepGiven(m.video, newer.video, newer.video.has_value());
    return m;
}

} // namespace

bool operator==(const AlbumDocumentPicture &a, const AlbumDocumentPicture &b)
{
    return a.lloc == b.lloc && a.file == b.file && a.name == b.name && a.caption == b.caption
        && a.uploadTime == b.uploadTime && a.shootTime == b.shootTime && a.width == b.width
        && a.height == b.height && a.place == b.place && a.cameraMake == b.cameraMake
        && a.cameraModel == b.cameraModel && a.cameraType == b.cameraType && a.exif == b.exif
        && a.commentCount == b.commentCount && a.original == b.original && a.video == b.video;
}

bool operator==(const AlbumDocument &a, const AlbumDocument &b)
{
    return a.id == b.id && a.name == b.name && a.description == b.description && a.createTime == b.createTime
        && a.ownerUin == b.ownerUin && a.pictureCount == b.pictureCount && a.writtenAt == b.writtenAt
        && a.pictures == b.pictures;
}

namespace {

// The text of the album's own values, with `"pictures": 0` where the pictures go.
QByteArray DocumentHead(const AlbumDocument &d)
{
    QJsonObject o;
    o.insert(QLatin1String("version"), 1);
    PutText(o, "id", d.id);
    PutText(o, "name", d.name);
    PutText(o, "description", d.description);
    PutTime(o, "createTime", d.createTime);
    PutText(o, "owner", d.ownerUin);
    putCount(o, "pictureCount", d.pictureCount);
    PutTime(o, "writtenAt", d.writtenAt);
    o.insert(QLatin1String("pictures"), 0);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

// Writes the document as QJsonDocument would indent it whole, one picture at a time:
// 10,000 pictures' tree and text never sit in memory at once. False when a write failed.
bool WriteDocument(QIODevice &out, const AlbumDocument &d)
{
    // Keys come sorted, one a line, and texts keep no raw line break: the placeholder's
    // line is the only one of its kind.
    const QByteArray head = DocumentHead(d);
    const QByteArray placeholder = "\n    \"pictures\": 0";
    const qsizetype at = head.indexOf(placeholder);
    if (at < 0)
        return false;
    if (out.write(head.constData(), at + placeholder.size() - 1) < 0)
        return false;
    bool first = true;
    for (const AlbumDocumentPicture &picture : d.pictures) {
        if (picture.lloc.isEmpty()) // the reader would take the file for damaged
            continue;
        QByteArray text = QJsonDocument(pictureObject(picture)).toJson(QJsonDocument::Indented);
        text.chop(1); // its closing line's break
        text.replace("\n", "\n        ");
        if (out.write(first ? "[\n        " : ",\n        ") < 0 || out.write(text) < 0)
            return false;
        first = false;
    }
    return out.write(first ? "[\n    ]" : "\n    ]") >= 0
        && out.write(head.constData() + at + placeholder.size()) >= 0;
}

} // namespace

QByteArray AlbumDocumentText(const AlbumDocument &d)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteDocument(buffer, d);
    return buffer.data();
}

std::optional<AlbumDocument> ParseAlbumDocument(const QByteArray &text)
{
    const QJsonDocument json = QJsonDocument::fromJson(text);
    const QJsonValue pictures = json.object().value(QLatin1String("pictures"));
    if (!json.isObject() || !pictures.isArray())
        return std::nullopt;
    const QJsonObject o = json.object();
    AlbumDocument d;
    d.id = textOf(o, "id");
    d.name = textOf(o, "name");
    d.description = textOf(o, "description");
    d.createTime = timeOf(o, "createTime");
    d.ownerUin = textOf(o, "owner");
    d.pictureCount = countOf(o, "pictureCount");
    d.writtenAt = timeOf(o, "writtenAt");
    QSet<QString> seen;
    for (const QJsonValue &value : pictures.toArray()) {
        if (!value.isObject() || textOf(value.toObject(), "lloc").isEmpty())
            return std::nullopt;
        AlbumDocumentPicture picture = pictureOf(value.toObject());
        if (!seen.contains(picture.lloc)) {
            seen.insert(picture.lloc);
            d.pictures.append(std::move(picture));
        }
    }
    return d;
}

AlbumDocument MergeAlbumDocuments(const AlbumDocument &older, AlbumDocument newer)
{
    AlbumDocument m = older;
    keepGiven(m.id, newer.id, !newer.id.isEmpty());
    keepGiven(m.name, newer.name, !newer.name.isEmpty());
    keepGiven(m.description, newer.description, !newer.description.isEmpty());
    keepGiven(m.createTime, newer.createTime, newer.createTime.isValid());
    keepGiven(m.ownerUin, newer.ownerUin, !newer.ownerUin.isEmpty());
    keepGiven(m.pictureCount, newer.pictureCount, newer.pictureCount >= 0);
    keepGiven(m.writtenAt, newer.writtenAt, newer.writtenAt.isValid());
    if (older.pictures.isEmpty()) {
        // A first run's document: its pictures as they are, the later of a repeated lloc
        // left out; no second list of them.
        QSet<QString> taken;
        newer.pictures.removeIf([&taken](const AlbumDocumentPicture &picture) {
            if (taken.contains(picture.lloc))
                return true;
            taken.insert(picture.lloc);
            return false;
        });
        m.pictures = std::move(newer.pictures);
        return m;
    }
    QHash<QString, qsizetype> olderAt;
    for (qsizetype i = 0; i < older.pictures.size(); ++i)
        olderAt.insert(older.pictures.at(i).lloc, i);
    m.pictures.clear();
    m.pictures.reserve(older.pictures.size() + newer.pictures.size());
    QSet<QString> taken;
    // Taken over rather than copied: an album's end hands in 10,000 of them.
    for (AlbumDocumentPicture &picture : newer.pictures) {
        if (taken.contains(picture.lloc))
            continue;
        taken.insert(picture.lloc);
        const auto at = olderAt.constFind(picture.lloc);
        m.pictures.append(at == olderAt.cend() ? std::move(picture)
                                               : mergePicture(older.pictures.at(*at), picture));
    }
    for (const AlbumDocumentPicture &picture : older.pictures) {
        if (!taken.contains(picture.lloc)) {
            taken.insert(picture.lloc);
            m.pictures.append(picture);
        }
    }
    return m;
}

AlbumDocumentLoad LoadAlbumDocument(const QString &albumFolder)
{
    using State = AlbumDocumentLoad::State;
    QFile file(albumFolder + QLatin1Char('/') + AlbumDocumentFileName());
    if (!file.exists())
        return {State::Absent, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {State::Damaged, {}};
    std::optional<AlbumDocument> document = ParseAlbumDocument(file.readAll());
    if (!document)
        return {State::Damaged, {}};
    return {State::Read, std::move(*document)};
}

std::optional<QString> SaveAlbumDocument(const QString &albumFolder, const AlbumDocument &document)
{
    QSaveFile file(albumFolder + QLatin1Char('/') + AlbumDocumentFileName());
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!WriteDocument(file, document) || !file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace albivex
