#include "storage/BoardDocumentUpdate.h"

#include "qzone/BoardText.h"
#include "storage/BoardFiles.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>

#include <algorithm>

namespace albivex {

BoardDocumentEntry BoardEntryOf(const BoardMessage &message, const QHash<QString, QString> &savedFiles)
{
    BoardDocumentEntry e;
    e.id = message.id;
    e.author = message.uin;
    e.name = message.nickname;
    e.time = BoardTime(message.pubtime);
    e.modified = BoardTime(message.modifytime);
    const BoardText plain = BoardPlainText(message.ubbContent);
    e.text = plain.text;
    e.isPrivate = message.secret;
    for (const QString &from : plain.pictures) {
        const QString file = savedFiles.value(from);
        const bool listed = std::any_of(e.pictures.cbegin(), e.pictures.cend(),
                                        [&from](const BoardDocumentPicture &p) { return p.from == from; });
        if (!file.isEmpty() && !listed)
            e.pictures.append({file, from});
    }
    for (const BoardReply &reply : message.replies)
        e.replies.append({reply.uin, reply.nick, BoardTime(reply.time), BoardPlainText(reply.content).text});
    return e;
}

BoardDocument MergeBoardDocuments(const BoardDocument &older, const BoardDocument &newer)
{
    QHash<QString, qsizetype> olderAt;
    for (qsizetype i = 0; i < older.messages.size(); ++i)
        olderAt.insert(older.messages.at(i).id, i);
    BoardDocument merged;
    QSet<QString> taken;
    for (const BoardDocumentEntry &entry : newer.messages) {
        if (entry.id.isEmpty() || taken.contains(entry.id))
            continue;
        taken.insert(entry.id);
        BoardDocumentEntry m = entry;
        const auto at = olderAt.constFind(entry.id);
        if (at != olderAt.cend()) {
            QSet<QString> named;
            for (const BoardDocumentPicture &picture : std::as_const(m.pictures))
                named.insert(picture.file);
            for (const BoardDocumentPicture &picture : older.messages.at(*at).pictures) {
                if (!named.contains(picture.file))
                    m.pictures.append(picture);
            }
        }
        merged.messages.append(std::move(m));
    }
    for (const BoardDocumentEntry &entry : older.messages) {
        if (!entry.id.isEmpty() && !taken.contains(entry.id)) {
            taken.insert(entry.id);
            merged.messages.append(entry);
        }
    }
    std::stable_sort(merged.messages.begin(), merged.messages.end(),
                     [](const BoardDocumentEntry &a, const BoardDocumentEntry &b) {
                         if (a.time.isValid() != b.time.isValid())
                             return a.time.isValid();
                         if (a.time != b.time)
                             return a.time > b.time;
                         return a.id < b.id;
                     });
    return merged;
}

BoardDocumentRead LoadBoardDocument(const QString &folder)
{
    QFile file(folder + QLatin1Char('/') + BoardDocumentFileName());
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {{}, true};
    return ParseBoardDocument(file.readAll());
}

std::optional<QString> UpdateBoardDocument(const QString &folder, const BoardDocument &newer)
{
    const BoardDocumentRead read = LoadBoardDocument(folder);
    const QString path = folder + QLatin1Char('/') + BoardDocumentFileName();
    if (read.damaged) {
        const QString aside = folder + QStringLiteral("/board.damaged.json");
        QFile::remove(aside);
        if (!QFile::copy(path, aside))
            return QStringLiteral("cannot keep the damaged %1 aside").arg(path);
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(BoardDocumentText(MergeBoardDocuments(read.document, newer)));
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace albivex
