#pragma once

#include "qzone/PhotoEntry.h"

#include <QString>

namespace albivex {

// The address of a listed picture's original, as the photo list gives it: `raw` when
// rawUpload is set and raw is not empty, else `originUrl` when originUpload is set and
// originUrl is not empty, else empty. Empty does not mean there is no original: other
// spaces list `raw` empty and give it only through floatview; the caller asks that,
// or keeps to the listed url.
QString OriginalAddress(const PhotoEntry &photo);

} // namespace albivex
