#include "photos/DownloadFailedText.h"

namespace albivex {

QString DownloadFailedText(TransferOutcome outcome)
{
    return outcome == TransferOutcome::Placeholder ? QStringLiteral("下载失败（加密照片）..")
                                                   : QStringLiteral("下载失败..");
}

} // namespace albivex
