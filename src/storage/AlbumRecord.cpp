#include "storage/AlbumRecord.h"

#include "storage/SaveLayout.h"
#include "storage/SavedMedia.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

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
    return !name.isEmpty() && name == SafePathComponent(name) && name != AlbumRecord::fileName();
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

QByteArray AlbumRecordText(const RecordEntries &entries)
{
    QJsonObject pictures;
    for (auto it = entries.cbegin(); it != entries.cend(); ++it)
        pictures.insert(it.key(), QJsonObject {{FileKey, it->fileName}, {SizeKey, double(it->size)}});
    return QJsonDocument(QJsonObject {{PicturesKey, pictures}}).toJson(QJsonDocument::Compact);
}

AlbumRecord::AlbumRecord(const QString &albumFolder) : m_folder(albumFolder)
{
    QFile file(m_folder + QLatin1Char('/') + fileName());
    if (file.open(QIODevice::ReadOnly))
        m_entries = ParseAlbumRecord(file.readAll()).value_or(RecordEntries());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        m_keyOfName.insert(it->fileName.toCaseFolded(), it.key());
    m_writeTimer.setSingleShot(true);
    m_writeTimer.setInterval(WriteAfterMs);
    QObject::connect(&m_writeTimer, &QTimer::timeout, [this] { flush(); });
}

AlbumRecord::~AlbumRecord()
{
    flush();
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
    // The file now holds this picture, whichever held the name before.
    const QString name = fileName.toCaseFolded();
    const QString previousKey = m_keyOfName.value(name);
    if (!previousKey.isEmpty() && previousKey != key)
        m_entries.remove(previousKey);
    const auto previous = m_entries.constFind(key);
    if (previous != m_entries.cend())
        m_keyOfName.remove(previous->fileName.toCaseFolded());
    m_entries.insert(key, {fileName, size});
    m_keyOfName.insert(name, key);
    ++m_pending;
    if (m_pending >= WriteEvery)
        flush();
    else if (!m_writeTimer.isActive())
        m_writeTimer.start();
    return true;
}

bool AlbumRecord::flush()
{
    m_writeTimer.stop();
    if (m_pending == 0)
        return true;
    QSaveFile file(m_folder + QLatin1Char('/') + fileName());
    const QByteArray text = AlbumRecordText(m_entries);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return false;
    m_pending = 0;
    return true;
}

} // namespace albivex
