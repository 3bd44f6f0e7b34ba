#pragma once

#include "qzone/AlbumEntry.h"

#include <QString>

namespace albivex {

// The text "复制信息" puts on the clipboard: name, creation time, picture count and
// description on four lines joined by CR LF, no line break after the last. An album
// without description keeps the label of the last line.
QString AlbumInfoText(const AlbumEntry &album);

} // namespace albivex
