#pragma once

#include <QString>

namespace albivex {

// Texts the album list, the photo listing and the album download share.

// The status text and box when a list service stays busy through every retry.
inline QString BusyServiceText()
{
    return QStringLiteral("服务繁忙，请稍后再试");
}

// The download state of an album the service does not let the viewer open.
inline QString NoAccessState()
{
    return QStringLiteral("无权访问");
}

// The box when such an album is opened or downloaded alone.
inline QString NoAccessText()
{
    return QStringLiteral("该相册无权访问");
}

} // namespace albivex
