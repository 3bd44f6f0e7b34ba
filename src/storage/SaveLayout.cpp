#include "storage/SaveLayout.h"

#include "storage/RandomDigits.h"

#include <QDir>
#include <QFileInfo>

namespace albivex {

namespace {

int Utf8Bytes(char32_t codePoint)
{
    return codePoint < 0x80 ? 1 : codePoint < 0x800 ? 2 : codePoint < 0x10000 ? 3 : 4;
}

bool RefusedOnWindows(QChar c)
{
    static constexpr char16_t refused[] = u"<>:\"|?*";
    for (const char16_t r : refused) {
        if (r != 0 && c.unicode() == r)
            return true;
    }
    return false;
}

// Windows drops trailing dots and blanks from a name, so "a." and "a" would clash.
void ChopTrailingDotsAndBlanks(QString &name)
{
    while (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
}

// CON, PRN, AUX, NUL, COM1-9 and LPT1-9 name devices on Windows, with or without an
// extension and whatever their case.
bool IsWindowsDeviceName(const QString &name)
{
    QString base = name.section(QLatin1Char('.'), 0, 0).toUpper();
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    if (base == QLatin1String("CON") || base == QLatin1String("PRN") || base == QLatin1String("AUX")
        || base == QLatin1String("NUL"))
        return true;
    return base.size() == 4
        && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))
        && base.at(3) >= QLatin1Char('1') && base.at(3) <= QLatin1Char('9');
}

} // namespace

qsizetype Utf8Size(const QString &text)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            bytes += 4;
            ++i;
        } else {
            bytes += Utf8Bytes(c.unicode());
        }
    }
    return bytes;
}

QString CutToUtf8Bytes(const QString &text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair
            = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const int width = pair ? 4 : Utf8Bytes(text.at(i).unicode());
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        i += pair ? 2 : 1;
    }
    return text.left(i);
}

QString CleanFolderName(const QString &name)
{
    QString cleaned = name;
    for (const QChar c : {u'\\', u':', u'*', u'"', u'<', u'>', u'|'})
        cleaned.remove(c);
    return cleaned;
}

QString SafePathComponent(const QString &name, FileSystemRules rules)
{
    const bool windows = rules == FileSystemRules::Windows;
    QString safe;
    safe.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c.isHighSurrogate() && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            safe += c;
            safe += name.at(++i);
            continue;
        }
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            continue;
        if (windows && RefusedOnWindows(c))
            continue;
        // A lone surrogate has no file-system encoding; it would turn into some
        // replacement anyway, so make that explicit and countable.
        safe += c.isSurrogate() ? QChar(QChar::ReplacementCharacter) : c;
    }
    safe = CutToUtf8Bytes(safe, MaxNameBytes);
    if (windows) {
        ChopTrailingDotsAndBlanks(safe);
        if (IsWindowsDeviceName(safe)) {
            // The mark takes a byte of the limit; the shorter cut may end in a dot again.
            safe = QLatin1Char('_') + CutToUtf8Bytes(safe, MaxNameBytes - 1);
            ChopTrailingDotsAndBlanks(safe);
        }
    }
    if (safe.isEmpty() || safe == QLatin1String(".") || safe == QLatin1String(".."))
        return QStringLiteral("_");
    return safe;
}

QString PictureFileName(NamingMode mode, int sequence, const QString &pictureName, FileSystemRules rules)
{
    static const QString extension = QStringLiteral(".jpg");
    QString prefix;
    QString suffix;
    switch (mode) {
    case NamingMode::SequenceAndName:
        prefix = QString::number(sequence) + QLatin1Char('.');
        break;
    case NamingMode::NameOnly:
        break;
    case NamingMode::NameAndRandom:
        suffix = RandomDigits();
        break;
    }
    const qsizetype budget = MaxNameBytes - Utf8Size(prefix) - Utf8Size(suffix) - extension.size();
    const QString name = CutToUtf8Bytes(SafePathComponent(pictureName, rules), budget);
    return prefix + name + suffix + extension;
}

QString SpaceFolderPath(const QString &saveFolder, const QString &ownerUin)
{
    if (saveFolder.isEmpty() || ownerUin.isEmpty())
        return QString();
    return saveFolder + QLatin1Char('/') + SafePathComponent(ownerUin);
}

QString AlbumFolderPath(const QString &saveFolder, const QString &ownerUin, const QString &albumName,
                        bool create)
{
    const QChar separator = QLatin1Char('/');
    const QString ownerFolder = saveFolder + separator + SafePathComponent(ownerUin);
    const QString albumFolder = ownerFolder + separator + SafePathComponent(CleanFolderName(albumName));
    if (create && !saveFolder.isEmpty() && QFileInfo(saveFolder).isDir()) {
        // mkdir makes one level only, so a folder whose parent is missing stays unmade.
        QDir dir;
        if (!QFileInfo(ownerFolder).isDir())
            dir.mkdir(ownerFolder);
        if (!QFileInfo(albumFolder).isDir())
            dir.mkdir(albumFolder);
    }
    return albumFolder;
}

} // namespace albivex
