#include "photos/ListingProgress.h"

#include "photos/Percent.h"

namespace albivex {

QString ListingProgressText(int i, int n)
{
    return QStringLiteral("正在获取相册图片..（") + QString::number(PercentText(i, n))
        + QStringLiteral("%）");
}

} // namespace albivex
