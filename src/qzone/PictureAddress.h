#pragma once

#include <QString>
#include <QUrl>

namespace albivex {

// The cookie that ties today's picture addresses of other spaces to the photo list
// that gave them out (without it they answer a small "加密照片" picture). It is the
// only cookie a picture fetched over plain http carries.
inline constexpr char PhotoKeyCookie[] = "qq_photo_key";

// Where a picture that a service answer names is fetched from.
struct PictureAddress
{
    QUrl url; // asked first
    // The answer's own http address when `url` is its https form, else empty: asked
    // once, without the sign-in cookies, when the https connection itself fails.
    QUrl plainFallback;
};

// An http address on qq.com or qpic.cn (the host itself or any subdomain) is asked
// over https instead: Qzone's pages are served over https and browsers have upgraded
// their http pictures for years, while over plain http the sign-in cookies would
// travel in clear text. An explicit port other than 80 is kept as given (an https
// server there is unlikely). Every other address, and every address when the
// services are redirected to a root of their own (whose scheme then applies), is
// asked as given. The address is read as the picture transfer reads it (trimmed,
// tolerant).
PictureAddress SecurePictureAddress(const QString &address, bool redirected);

} // namespace albivex
