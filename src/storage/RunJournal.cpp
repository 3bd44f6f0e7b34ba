#include "storage/RunJournal.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace albivex {

namespace {

// Beyond any choice the window offers; a journal naming one was not written by it.
constexpr int MaxChoice = 16;

bool IsQqNumber(const QString &text)
{
    if (text.size() < 5 || text.size() > 11)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

std::optional<int> Choice(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (!(number >= 0 && number <= MaxChoice) || number != int(number))
        return std::nullopt;
    return int(number);
}

QString KindName(RunJournal::Kind kind)
{
    return kind == RunJournal::Kind::Moods ? QStringLiteral("moods") : QStringLiteral("board");
}

// The kind a part's "kind" names; nullopt for a name no journal is written with.
std::optional<RunJournal::Kind> KindNamed(const QJsonValue &value)
{
    if (value.isUndefined())
        return RunJournal::Kind::Album;
    for (const RunJournal::Kind kind : {RunJournal::Kind::Moods, RunJournal::Kind::Board}) {
        if (value == KindName(kind))
            return kind;
    }
    return std::nullopt;
}

} // namespace

QList<RunJournal::Album> RunJournal::remaining() const
{
    QList<Album> left;
    for (const Album &album : albums) {
        if (!album.complete)
            left.append(album);
    }
    return left;
}

QList<RunJournal::Album> RunJournal::remaining(Kind kind) const
{
    QList<Album> left;
    for (const Album &album : albums) {
        if (!album.complete && album.kind == kind)
            left.append(album);
    }
    return left;
}

QString RunJournalFileName()
{
    return QStringLiteral(".albivex-run.json");
}

QByteArray RunJournalText(const RunJournal &journal)
{
    QJsonArray albums;
    for (const RunJournal::Album &album : journal.albums) {
        QJsonObject part {{"id", album.id}, {"name", album.name}, {"complete", album.complete}};
        // Albums carry no kind, as journals written before the posts were saved.
        if (album.kind != RunJournal::Kind::Album)
            part.insert(QLatin1String("kind"), KindName(album.kind));
        albums.append(part);
    }
    QJsonObject root {{"owner", journal.ownerUin},
                      {"quality", journal.quality},
                      {"naming", journal.naming},
                      {"albums", albums}};
    if (journal.wholeSpace)
        root.insert(QLatin1String("space"), true);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::optional<RunJournal> ParseRunJournal(const QByteArray &text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text);
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject root = document.object();
    RunJournal journal;
    journal.ownerUin = root.value(QLatin1String("owner")).toString();
    const std::optional<int> quality = Choice(root.value(QLatin1String("quality")));
    const std::optional<int> naming = Choice(root.value(QLatin1String("naming")));
    const QJsonValue albums = root.value(QLatin1String("albums"));
    const QJsonValue wholeSpace = root.value(QLatin1String("space"));
    if (!IsQqNumber(journal.ownerUin) || !quality || !naming || !albums.isArray()
        || !(wholeSpace.isUndefined() || wholeSpace.isBool()))
        return std::nullopt;
    journal.wholeSpace = wholeSpace.toBool();
    journal.quality = *quality;
    journal.naming = *naming;
    for (const QJsonValue &value : albums.toArray()) {
        const QJsonObject album = value.toObject();
        const QJsonValue id = album.value(QLatin1String("id"));
        const QJsonValue name = album.value(QLatin1String("name"));
        const QJsonValue complete = album.value(QLatin1String("complete"));
        const std::optional<RunJournal::Kind> kind = KindNamed(album.value(QLatin1String("kind")));
        if (!value.isObject() || !id.isString() || id.toString().isEmpty() || !name.isString()
            || !complete.isBool() || !kind)
            return std::nullopt;
        journal.albums.append({id.toString(), name.toString(), complete.toBool(), *kind});
    }
    return journal;
}

std::optional<RunJournal> LoadRunJournal(const QString &spaceFolder)
{
    QFile file(QDir(spaceFolder).filePath(RunJournalFileName()));
    // A journal is a few KB; anything far larger was not written by the tool.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 4 * 1024 * 1024)
        return std::nullopt;
    return ParseRunJournal(file.readAll());
}

std::optional<QString> SaveRunJournal(const QString &spaceFolder, const RunJournal &journal)
{
    if (!QDir().mkpath(spaceFolder))
        return QStringLiteral("cannot make the folder ") + spaceFolder;
    QSaveFile file(QDir(spaceFolder).filePath(RunJournalFileName()));
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    file.write(RunJournalText(journal));
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

bool RemoveRunJournal(const QString &spaceFolder)
{
    const QString path = QDir(spaceFolder).filePath(RunJournalFileName());
    return !QFile::exists(path) || QFile::remove(path);
}

void ForgetRunParts(const QString &spaceFolder, const QString &ownerUin, RunJournal::Kind kind)
{
    std::optional<RunJournal> journal = LoadRunJournal(spaceFolder);
    if (!journal || journal->ownerUin != ownerUin)
        return;
    journal->albums.removeIf([kind](const RunJournal::Album &part) { return part.kind == kind; });
    if (journal->remaining().isEmpty())
        RemoveRunJournal(spaceFolder);
    else
        SaveRunJournal(spaceFolder, *journal);
}

RunJournal JournalKeepingOthers(const QString &spaceFolder, const QString &ownerUin, RunJournal::Kind kind)
{
    RunJournal journal;
    journal.ownerUin = ownerUin;
    const std::optional<RunJournal> earlier = LoadRunJournal(spaceFolder);
    if (!earlier || earlier->ownerUin != ownerUin)
        return journal;
    for (const RunJournal::Album &part : earlier->remaining()) {
        if (part.kind != kind)
            journal.albums << part;
    }
    return journal;
}

} // namespace albivex
