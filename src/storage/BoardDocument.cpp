#include "storage/BoardDocument.h"

#include "storage/AlbumRecord.h"
#include "storage/DocumentFields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace albivex {

bool operator==(const BoardDocumentEntry &a, const BoardDocumentEntry &b)
{
    return a.id == b.id && a.author == b.author && a.name == b.name && a.time == b.time
        && a.modified == b.modified && a.text == b.text && a.isPrivate == b.isPrivate
        && a.pictures == b.pictures && a.replies == b.replies;
}

namespace {

QJsonObject entryObject(const BoardDocumentEntry &e)
{
    QJsonObject o;
    PutText(o, "id", e.id);
    PutText(o, "author", e.author);
    PutText(o, "name", e.name);
    PutTime(o, "time", e.time);
    PutTime(o, "modified", e.modified);
    PutText(o, "text", e.text);
    if (e.isPrivate)
        o.insert(QLatin1String("private"), true);
    QJsonArray pictures;
    for (const BoardDocumentPicture &p : e.pictures) {
        if (p.file.isEmpty())
            continue;
        QJsonObject picture;
        PutText(picture, "file", p.file);
        PutText(picture, "from", p.from);
        pictures.append(picture);
    }
    if (!pictures.isEmpty())
        o.insert(QLatin1String("pictures"), pictures);
    QJsonArray replies;
    for (const BoardDocumentReply &r : e.replies) {
        QJsonObject reply;
        PutText(reply, "author", r.author);
        PutText(reply, "name", r.name);
        PutTime(reply, "time", r.time);
        PutText(reply, "text", r.text);
        replies.append(reply);
    }
    if (!replies.isEmpty())
        o.insert(QLatin1String("replies"), replies);
    return o;
}

BoardDocumentEntry entryOf(const QJsonObject &o)
{
    BoardDocumentEntry e;
    e.id = TextOf(o, "id");
    e.author = TextOf(o, "author");
    e.name = TextOf(o, "name");
    e.time = TimeOf(o, "time");
    e.modified = TimeOf(o, "modified");
    e.text = TextOf(o, "text");
    e.isPrivate = o.value(QLatin1String("private")).toBool();
    for (const QJsonValue &value : o.value(QLatin1String("pictures")).toArray()) {
        const QJsonObject p = value.toObject();
        const BoardDocumentPicture picture {TextOf(p, "file"), TextOf(p, "from")};
        if (IsPlainFileName(picture.file) && picture.file != BoardDocumentFileName())
            e.pictures.append(picture);
    }
    for (const QJsonValue &value : o.value(QLatin1String("replies")).toArray()) {
        if (!value.isObject())
            continue;
        const QJsonObject r = value.toObject();
        e.replies.append({TextOf(r, "author"), TextOf(r, "name"), TimeOf(r, "time"), TextOf(r, "text")});
    }
    return e;
}

} // namespace

QByteArray BoardDocumentText(const BoardDocument &document)
{
    QJsonArray messages;
    for (const BoardDocumentEntry &entry : document.messages) {
        if (!entry.id.isEmpty()) // the reader would drop it
            messages.append(entryObject(entry));
    }
    QJsonObject o;
    o.insert(QLatin1String("version"), 1);
    o.insert(QLatin1String("messages"), messages);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

BoardDocumentRead ParseBoardDocument(const QByteArray &text)
{
    BoardDocumentRead read;
    const QJsonDocument json = QJsonDocument::fromJson(text);
    QList<QJsonObject> objects;
    if (json.isObject() && json.object().value(QLatin1String("messages")).isArray()) {
        for (const QJsonValue &value : json.object().value(QLatin1String("messages")).toArray()) {
            if (value.isObject())
                objects.append(value.toObject());
            else
                read.damaged = true;
        }
    } else {
        read.damaged = !text.trimmed().isEmpty();
        objects = SalvageArrayObjects(text, "messages");
    }
    QSet<QString> seen;
    for (const QJsonObject &object : std::as_const(objects)) {
        BoardDocumentEntry entry = entryOf(object);
        if (entry.id.isEmpty()) {
            read.damaged = true;
            continue;
        }
        if (!seen.contains(entry.id)) {
            seen.insert(entry.id);
            read.document.messages.append(std::move(entry));
        }
    }
    return read;
}

} // namespace albivex
