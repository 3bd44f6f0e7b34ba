#include "storage/BoardFiles.h"

#include "storage/BoardDocument.h"
#include "storage/MoodFiles.h"
#include "storage/SaveLayout.h"
#include "storage/UploadTime.h"

#include <QCryptographicHash>
#include <QTimeZone>

namespace albivex {

QDateTime BoardTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    bool digits = !trimmed.isEmpty() && trimmed.size() <= 12;
    for (const QChar c : trimmed)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const QTimeZone china(8 * 3600);
    if (digits) {
        const qint64 seconds = trimmed.toLongLong();
        return seconds > 0 ? QDateTime::fromSecsSinceEpoch(seconds, china) : QDateTime();
    }
    const QDateTime parsed = ParseUploadTime(trimmed);
    return parsed.isValid() ? parsed.toTimeZone(china) : QDateTime();
}

QString BoardFolderPath(const QString &saveFolder, const QString &ownerUin, const QStringList &albumNames)
{
    return PartFolderPath(saveFolder, ownerUin, albumNames, BoardFolderBaseName(), BoardDocumentFileName());
}

QString BoardPictureFileName(const BoardMessage &message, int number, const QString &extension)
{
    const QDateTime time = BoardTime(message.pubtime);
    const QString when = time.isValid() && time.date().year() <= 9999
        ? time.toString(QStringLiteral("yyyy-MM-dd_HHmmss"))
        : QStringLiteral("0000-00-00_000000");
    const QByteArray hash = QCryptographicHash::hash(message.id.toUtf8(), QCryptographicHash::Sha1).toHex();
    QString name = when + QLatin1Char('_') + QString::fromLatin1(hash.left(8)) + QLatin1Char('_')
        + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    QString ext = extension.startsWith(QLatin1Char('.')) ? extension.mid(1) : extension;
    ext = SafePathComponent(ext).left(8);
    return ext.isEmpty() || ext == QLatin1String("_") ? name : name + QLatin1Char('.') + ext;
}

} // namespace albivex
