#include "spacedl/SpaceProgress.h"

namespace albivex {

QString SpaceProgressText(const SpaceProgress &p)
{
    QString text = QStringLiteral("%1/%2项 图片%3/%4张")
                       .arg(p.partsDone)
                       .arg(p.parts)
                       .arg(p.picturesSaved)
                       .arg(qMax(p.picturesKnown, p.picturesSaved));
    if (p.pausedUntil.isValid())
        text
            += QLatin1Char(' ') + p.pausedUntil.toString(QStringLiteral("HH:mm:ss")) + QStringLiteral("继续");
    return text;
}

QString SpaceRunTitle(const SpaceProgress &progress, const QString &applicationName)
{
    return QStringLiteral("整个空间备份 ") + SpaceProgressText(progress) + QStringLiteral(" - ")
        + applicationName;
}

QString IncompletePartsLine(const QStringList &names)
{
    return names.isEmpty()
        ? QString()
        : QStringLiteral("未完成的项目：") + names.join(QStringLiteral("、")) + QStringLiteral("..");
}

QString SpaceSummaryLine(int albums, int posts, int messages, int pictures, int failed)
{
    return QStringLiteral("整个空间备份完成：相册%1个，说说%2条，留言%3条，图片%4张，失败%5张")
        .arg(albums)
        .arg(posts)
        .arg(messages)
        .arg(pictures)
        .arg(failed);
}

} // namespace albivex
