#pragma once

#include "storage/TransferResult.h"

#include <QString>

namespace albivex {

// The end of a picture's log line when it was not saved, after "[name]": it names a
// placeholder the service sent in the picture's place ("下载失败（加密照片）..").
QString DownloadFailedText(TransferOutcome outcome);

// The end of a video's log line when the service has not made it playable yet.
QString NotTranscodedText();

} // namespace albivex
