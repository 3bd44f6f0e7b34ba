#include "storage/MoodFiles.h"

#include "storage/AlbumDocument.h"
#include "storage/AlbumRecord.h"
#include "storage/MoodDocument.h"
#include "storage/SaveLayout.h"
#include "storage/UploadTime.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>
#include <QSet>
#include <QTimeZone>

#include <functional>

namespace albivex {

namespace {

constexpr int ServiceOffsetSeconds = 8 * 3600;

QSet<QString> albumFolderKeys(const QStringList &albumNames)
{
    QSet<QString> keys;
    for (const QString &name : albumNames)
        keys.insert(SafePathComponent(CleanFolderName(name)).toCaseFolded());
    return keys;
}

// The first of base, "base (2)", ... that no album has and `heldByAlbum` does not refuse.
QString firstFreeName(const QString &base, const QStringList &albumNames,
                      const std::function<bool(const QString &)> &heldByAlbum)
{
    const QSet<QString> taken = albumFolderKeys(albumNames);
    for (int n = 1;; ++n) {
        const QString name = n == 1 ? base : base + QStringLiteral(" (%1)").arg(n);
        if (!taken.contains(name.toCaseFolded()) && !heldByAlbum(name))
            return name;
    }
}

// Digits of a number from the page, or "_" when it holds anything else.
QString numberPart(const QString &text)
{
    const QString safe = SafePathComponent(text);
    for (const QChar c : safe) {
        if (!c.isLetterOrNumber())
            return QStringLiteral("_");
    }
    return safe.left(32);
}

QString withExtension(const QString &head, const QString &extension)
{
    QString ext = extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension;
    ext = SafePathComponent(ext).left(8);
    return ext.isEmpty() || ext == QLatin1String("_") ? head : head + QLatin1Char('.') + ext;
}

QString twoDigits(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

} // namespace

QString MoodFolderName(const QStringList &albumNames)
{
    return firstFreeName(MoodFolderBaseName(), albumNames, [](const QString &) { return false; });
}

QString PartFolderPath(const QString &saveFolder, const QString &ownerUin, const QStringList &albumNames,
                       const QString &baseName, const QString &ownDocument)
{
    const QString space = SpaceFolderPath(saveFolder, ownerUin);
    if (space.isEmpty())
        return QString();
    const auto heldByAlbum = [&space, &ownDocument](const QString &name) {
        const QString folder = space + QLatin1Char('/') + name + QLatin1Char('/');
        if (QFileInfo::exists(folder + ownDocument))
            return false;
        return QFileInfo::exists(folder + AlbumDocumentFileName())
            || QFileInfo::exists(folder + AlbumRecord::fileName())
            || QFileInfo::exists(folder + AlbumRecord::journalFileName());
    };
    return space + QLatin1Char('/') + firstFreeName(baseName, albumNames, heldByAlbum);
}

QString MoodFolderPath(const QString &saveFolder, const QString &ownerUin, const QStringList &albumNames)
{
    return PartFolderPath(saveFolder, ownerUin, albumNames, MoodFolderBaseName(), MoodDocumentFileName());
}

QString MoodFileStem(const MoodPost &post)
{
    QDateTime time;
    if (post.createdTime > 0)
        time = QDateTime::fromSecsSinceEpoch(post.createdTime, QTimeZone(ServiceOffsetSeconds));
    else
        time = ParseUploadTime(post.createText).toTimeZone(QTimeZone(ServiceOffsetSeconds));
    const QString when = time.isValid() && time.date().year() <= 9999
        ? time.toString(QStringLiteral("yyyy-MM-dd_HHmmss"))
        : QStringLiteral("0000-00-00_000000");
    const QByteArray hash = QCryptographicHash::hash(post.tid.toUtf8(), QCryptographicHash::Sha1).toHex();
    return when + QLatin1Char('_') + QString::fromLatin1(hash.left(8));
}

QString MoodPictureFileName(const MoodPost &post, int number, const QString &extension)
{
    return withExtension(MoodFileStem(post) + QLatin1Char('_') + twoDigits(number), extension);
}

QString MoodVideoFileName(const MoodPost &post, int number, const QString &extension)
{
    return withExtension(MoodFileStem(post) + QStringLiteral("_v") + QString::number(number), extension);
}

QString MoodCommentPictureFileName(const MoodPost &post, const QString &commentTid, const QString &replyTid,
                                   int number, const QString &extension)
{
    QString where = QStringLiteral("_c") + numberPart(commentTid);
    if (!replyTid.isEmpty())
        where += QLatin1Char('r') + numberPart(replyTid);
    return withExtension(MoodFileStem(post) + where + QLatin1Char('_') + twoDigits(number), extension);
}

} // namespace albivex
