#pragma once

#include <QString>

namespace albivex {

// The status text while row i of n is added to the photo list:
// "正在获取相册图片..（" + whole percentage + "%）", with full-width brackets.
QString ListingProgressText(int i, int n);

} // namespace albivex
