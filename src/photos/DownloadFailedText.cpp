#include "photos/DownloadFailedText.h"

namespace albivex {

QString DownloadFailedText(TransferOutcome outcome)
{
    return outcome == TransferOutcome::Placeholder ? QStringLiteral("下载失败（加密照片）..")
                                                   : QStringLiteral("下载失败..");
}

QString NotTranscodedText()
{
    return QStringLiteral("下载失败（视频未转码）..");
}

} // namespace albivex
