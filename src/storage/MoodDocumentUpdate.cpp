#include "storage/MoodDocumentUpdate.h"

#include "storage/UploadTime.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace albivex {

namespace {

void addFile(QList<MoodDocumentFile> &files, const MoodPicture &media, const QHash<QString, QString> &saved)
{
    const QString from = media.isVideo ? media.videoAddress() : media.url;
    const QString file = from.isEmpty() ? QString() : saved.value(from);
    // A video the post lists twice (among its pictures and in its video list) is one file.
    const bool listed = std::any_of(files.cbegin(), files.cend(),
                                    [&from](const MoodDocumentFile &f) { return f.from == from; });
    if (!file.isEmpty() && !listed)
        files.append({file, media.isVideo, from});
}

QDateTime timeOf(qint64 seconds, const QString &text)
{
    if (seconds > 0)
        return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone(8 * 3600));
    return ParseUploadTime(text);
}

MoodDocumentComment commentOf(const MoodComment &comment, const QHash<QString, QString> &saved)
{
    MoodDocumentComment c;
    c.author = comment.uin;
    c.name = comment.name;
    c.time = timeOf(comment.createTime, comment.createText);
    c.text = comment.content;
    for (const MoodPicture &picture : comment.pictures)
        addFile(c.files, picture, saved);
    for (const MoodComment &reply : comment.replies)
        c.replies.append(commentOf(reply, saved));
    return c;
}

std::optional<double> coordinate(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

} // namespace

MoodDocumentEntry MoodEntryOf(const MoodPost &post, const QHash<QString, QString> &savedFiles)
{
    MoodDocumentEntry e;
    e.id = post.tid;
    e.time = timeOf(post.createdTime, post.createText);
    e.text = post.content;
    e.placeName = post.placeName;
    e.longitude = coordinate(post.placeX);
    e.latitude = coordinate(post.placeY);
    e.source = post.sourceName;
    for (const MoodPicture &picture : post.pictures)
        addFile(e.files, picture, savedFiles);
    for (const MoodPicture &video : post.videos)
        addFile(e.files, video, savedFiles);
    e.repostAuthor = post.rtUin;
    e.repostName = post.rtName;
    e.repostTime = post.rtCreateText;
    e.repostText = post.rtContent;
    e.commentCount = post.commentTotal;
    for (const MoodComment &comment : post.comments)
        e.comments.append(commentOf(comment, savedFiles));
    e.commentsComplete = post.commentTotal <= post.comments.size();
    return e;
}

MoodDocument MergeMoodDocuments(const MoodDocument &older, const MoodDocument &newer)
{
    QHash<QString, qsizetype> olderAt;
    for (qsizetype i = 0; i < older.moods.size(); ++i)
        olderAt.insert(older.moods.at(i).id, i);
    MoodDocument merged;
    QSet<QString> taken;
    for (const MoodDocumentEntry &entry : newer.moods) {
        if (entry.id.isEmpty() || taken.contains(entry.id))
            continue;
        taken.insert(entry.id);
        MoodDocumentEntry m = entry;
        const auto at = olderAt.constFind(entry.id);
        if (at != olderAt.cend()) {
            QSet<QString> named;
            for (const MoodDocumentFile &file : std::as_const(m.files))
                named.insert(file.file);
            for (const MoodDocumentFile &file : older.moods.at(*at).files) {
                if (!named.contains(file.file))
                    m.files.append(file);
            }
        }
        merged.moods.append(std::move(m));
    }
    for (const MoodDocumentEntry &entry : older.moods) {
        if (!entry.id.isEmpty() && !taken.contains(entry.id)) {
            taken.insert(entry.id);
            merged.moods.append(entry);
        }
    }
    SortMoodEntries(merged.moods);
    return merged;
}

MoodDocumentRead LoadMoodDocument(const QString &folder)
{
    QFile file(folder + QLatin1Char('/') + MoodDocumentFileName());
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, true};
    return ParseMoodDocument(file.readAll());
}

std::optional<QString> UpdateMoodDocument(const QString &folder, const MoodDocument &newer)
{
    const MoodDocumentRead read = LoadMoodDocument(folder);
    const QString path = folder + QLatin1Char('/') + MoodDocumentFileName();
    if (read.damaged) {
        const QString aside = folder + QStringLiteral("/moods.damaged.json");
        QFile::remove(aside);
        if (!QFile::copy(path, aside))
            return QStringLiteral("cannot keep the damaged %1 aside").arg(path);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (!WriteMoodDocument(file, MergeMoodDocuments(read.document, newer)))
        file.cancelWriting();
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace albivex
