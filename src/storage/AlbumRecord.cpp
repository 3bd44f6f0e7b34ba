#include "storage/AlbumRecord.h"

#include "storage/SaveLayout.h"
#include "storage/SavedMedia.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QSaveFile>
#include <QThreadPool>

#include <cmath>

namespace albivex {

namespace {

const QString PicturesKey = QStringLiteral("pictures");
const QString FileKey = QStringLiteral("file");
const QString SizeKey = QStringLiteral("size");

constexpr double MaxExactSize = 9007199254740992.0; // 2^53: whole numbers a double holds

} // namespace

QString PictureRecordKey(const PhotoEntry &photo)
{
    return photo.lloc.isEmpty() ? photo.url : photo.lloc;
}

bool IsPlainFileName(const QString &name)
{
    return !name.isEmpty() && name == SafePathComponent(name) && name != AlbumRecord::fileName()
        && name != AlbumRecord::journalFileName();
}

std::optional<RecordEntries> ParseAlbumRecord(const QByteArray &text)
{
    const QJsonDocument document = QJsonDocument::fromJson(text);
    if (!document.isObject())
        return std::nullopt;
    const QJsonValue pictures = document.object().value(PicturesKey);
    if (!pictures.isObject())
        return std::nullopt;
    RecordEntries entries;
    const QJsonObject all = pictures.toObject();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (!it.value().isObject())
            return std::nullopt;
        const QJsonObject entry = it.value().toObject();
        const QJsonValue file = entry.value(FileKey);
        const QJsonValue size = entry.value(SizeKey);
        if (!file.isString() || !size.isDouble())
            return std::nullopt;
        const double bytes = size.toDouble();
        if (!(bytes >= 0 && bytes <= MaxExactSize && std::floor(bytes) == bytes))
            return std::nullopt;
        if (it.key().isEmpty() || !IsPlainFileName(file.toString()))
            continue;
        entries.insert(it.key(), {file.toString(), qint64(bytes)});
    }
    // A file holds one picture: a name claimed by several keys is nobody's for sure.
    QHash<QString, int> claims;
    for (const RecordEntry &entry : std::as_const(entries))
        ++claims[entry.fileName.toCaseFolded()];
    entries.removeIf([&claims](const RecordEntries::iterator &it) {
        return claims.value(it->fileName.toCaseFolded()) > 1;
    });
    return entries;
}

namespace {

// Writes the record's text an entry at a time, keys in order: a record of 10,000
// pictures never sits in memory as a tree. False when a write failed.
bool WriteRecord(QIODevice &out, const RecordEntries &entries)
{
    QStringList keys = entries.keys();
    keys.sort();
    if (out.write("{\"pictures\":{") < 0)
        return false;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const RecordEntry &entry = entries[keys.at(i)];
        QByteArray text
            = QJsonDocument(
                  QJsonObject {
                      {keys.at(i), QJsonObject {{FileKey, entry.fileName}, {SizeKey, double(entry.size)}}}})
                  .toJson(QJsonDocument::Compact);
        // Without the braces of the one-entry object around it.
        if ((i > 0 && out.write(",") < 0) || out.write(text.constData() + 1, text.size() - 2) < 0)
            return false;
    }
    return out.write("}}") >= 0;
}

} // namespace

QByteArray AlbumRecordText(const RecordEntries &entries)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteRecord(buffer, entries);
    return buffer.data();
}

namespace {

const QString KeyKey = QStringLiteral("key");

// The files of every album folder are read and written under this lock: a record
// written whole on a worker thread reads the journal again and deletes it in one go,
// never between another record's appending a line and closing the file.
QMutex &FilesLock()
{
    static QMutex lock;
    return lock;
}

// Appends the journals' lines on one thread of its own, in the order they were
// recorded: recording a picture never waits for the disk on the caller's thread (the
// window's), where a busy disk would stall it for milliseconds at a time.
QThreadPool &JournalWriter()
{
    struct Writer : QThreadPool
    {
        Writer() { setMaxThreadCount(1); }
    };
    // Destroyed at exit only once every queued line is written.
    static Writer pool;
    return pool;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Records into `entries` as AlbumRecord::add does, with `keyOfName` kept alongside.
void Record(RecordEntries &entries, QHash<QString, QString> &keyOfName, const QString &key,
            const QString &fileName, qint64 size)
{
    // The file now holds this picture, whichever held the name before.
    const QString name = fileName.toCaseFolded();
    const QString previousKey = keyOfName.value(name);
    if (!previousKey.isEmpty() && previousKey != key)
        entries.remove(previousKey);
    const auto previous = entries.constFind(key);
    if (previous != entries.cend())
        keyOfName.remove(previous->fileName.toCaseFolded());
    entries.insert(key, {fileName, size});
    keyOfName.insert(name, key);
}

QHash<QString, QString> KeysOfNames(const RecordEntries &entries)
{
    QHash<QString, QString> keyOfName;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        keyOfName.insert(it->fileName.toCaseFolded(), it.key());
    return keyOfName;
}

} // namespace

QByteArray RecordJournalLine(const QString &key, const RecordEntry &entry)
{
    return QJsonDocument(
               QJsonObject {{KeyKey, key}, {FileKey, entry.fileName}, {SizeKey, double(entry.size)}})
               .toJson(QJsonDocument::Compact)
        + '\n';
}

void ApplyRecordJournal(RecordEntries &entries, const QByteArray &journal)
{
    QHash<QString, QString> keyOfName = KeysOfNames(entries);
    for (const QByteArray &line : journal.split('\n')) {
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (!document.isObject())
            continue;
        const QJsonObject object = document.object();
        const QString key = object.value(KeyKey).toString();
        const QString file = object.value(FileKey).toString();
        const double bytes = object.value(SizeKey).toDouble(-1);
        if (key.isEmpty() || !IsPlainFileName(file) || !(bytes >= 0 && bytes <= MaxExactSize)
            || std::floor(bytes) != bytes)
            continue;
        Record(entries, keyOfName, key, file, qint64(bytes));
    }
}

AlbumRecord::AlbumRecord(const QString &albumFolder) : m_folder(albumFolder)
{
    settle();
    QMutexLocker lock(&FilesLock());
    m_entries = ParseAlbumRecord(ReadAll(m_folder + QLatin1Char('/') + fileName())).value_or(RecordEntries());
    const QByteArray journal = ReadAll(m_folder + QLatin1Char('/') + journalFileName());
    m_unwritten = !journal.isEmpty();
    ApplyRecordJournal(m_entries, journal);
    m_keyOfName = KeysOfNames(m_entries);
}

bool AlbumRecord::isSaved(const QString &key) const
{
    const auto it = m_entries.constFind(key);
    if (it == m_entries.cend())
        return false;
    const QString path = m_folder + QLatin1Char('/') + it->fileName;
    const QFileInfo info(path);
    if (!info.isFile() || info.isSymLink() || info.size() != it->size)
        return false;
    return BeginsLikeSavedMedia(path);
}

QString AlbumRecord::fileNameOf(const QString &key) const
{
    return m_entries.value(key).fileName;
}

QStringList AlbumRecord::fileNames() const
{
    QStringList names;
    names.reserve(m_entries.size());
    for (const RecordEntry &entry : m_entries)
        names.append(entry.fileName);
    return names;
}

bool AlbumRecord::add(const QString &key, const QString &fileName, qint64 size)
{
    if (key.isEmpty() || !IsPlainFileName(fileName))
        return false;
    record(key, fileName, size);
    m_unwritten = true;
    JournalWriter().start([path = m_folder + QLatin1Char('/') + journalFileName(),
                           line = RecordJournalLine(key, {fileName, size})]() mutable {
        // Opened and closed for every line: a flush() elsewhere may have deleted the file.
        QMutexLocker lock(&FilesLock());
        QFile journal(path);
        if (!journal.open(QIODevice::ReadWrite | QIODevice::Append))
            return;
        // A line a kill cut off ends here first, or this one would be lost with it.
        char last = '\n';
        if (journal.size() > 0 && (!journal.seek(journal.size() - 1) || !journal.getChar(&last)))
            last = 0;
        if (last != '\n')
            line.prepend('\n');
        journal.write(line);
    });
    return true;
}

void AlbumRecord::settle()
{
    JournalWriter().waitForDone();
}

void AlbumRecord::record(const QString &key, const QString &fileName, qint64 size)
{
    Record(m_entries, m_keyOfName, key, fileName, size);
}

bool AlbumRecord::flush()
{
    settle();
    QMutexLocker lock(&FilesLock());
    const QString journalPath = m_folder + QLatin1Char('/') + journalFileName();
    // Lines another record appended since this one was read.
    const QByteArray journal = ReadAll(journalPath);
    if (!m_unwritten && journal.isEmpty())
        return true;
    ApplyRecordJournal(m_entries, journal);
    m_keyOfName = KeysOfNames(m_entries);
    QSaveFile file(m_folder + QLatin1Char('/') + fileName());
    if (!file.open(QIODevice::WriteOnly) || !WriteRecord(file, m_entries) || !file.commit())
        return false;
    QFile::remove(journalPath);
    m_unwritten = false;
    return true;
}

} // namespace albivex
