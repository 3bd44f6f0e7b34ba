#include "shell/VersionCheck.h"

namespace albivex {

QString ListedVersion(const QString &fileText)
{
    static const QString key = QStringLiteral("morvith:");
    const qsizetype at = fileText.indexOf(key);
    if (at < 0)
        return QString();
    const qsizetype start = at + key.size();
    const qsizetype bar = fileText.indexOf(QLatin1Char('|'), start);
    if (bar < 0)
        return QString();
    return fileText.mid(start, bar - start);
}

bool IsCurrentVersion(const QString &listed)
{
    return listed == QStringView(CurrentListedVersion);
}

} // namespace albivex
