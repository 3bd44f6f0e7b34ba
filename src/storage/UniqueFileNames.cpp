#include "storage/UniqueFileNames.h"

#include "storage/SaveLayout.h"

namespace albivex {

QString UniqueFileNames::stemOf(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 ? fileName.left(dot) : fileName;
}

void UniqueFileNames::reserve(const QString &fileName)
{
    m_given.insert(stemOf(fileName).toCaseFolded());
}

QString UniqueFileNames::take(const QString &stem, int extensionBytes)
{
    const qsizetype room = MaxNameBytes - qMax(0, extensionBytes);
    const QString first = CutToUtf8Bytes(stem, room);
    const QString firstKey = first.toCaseFolded();
    if (!m_given.contains(firstKey)) {
        m_given.insert(firstKey);
        return first;
    }
    // Numbers below the one stored were all taken when last tried; every name of this
    // stem starts its search there instead of at 2 again.
    int &next = m_nextNumber[firstKey];
    for (int n = qMax(2, next);; ++n) {
        const QString suffix = QStringLiteral(" (%1)").arg(n);
        const QString candidate = CutToUtf8Bytes(stem, room - Utf8Size(suffix)) + suffix;
        const QString key = candidate.toCaseFolded();
        if (!m_given.contains(key)) {
            m_given.insert(key);
            next = n + 1;
            return candidate;
        }
    }
}

QString UniqueFileNames::takeFileName(const QString &fileName)
{
    const QString stem = stemOf(fileName);
    const QString extension = fileName.mid(stem.size());
    return take(stem, int(Utf8Size(extension))) + extension;
}

} // namespace albivex
