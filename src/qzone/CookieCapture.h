#pragma once

#include <QString>

#include <optional>

namespace albivex {

// What the sign-in takes from QQ's cookies.
struct CookieCapture
{
    QString skey;
    QString uin;
};

// Reads a cookie text ("name=value; name=value"):
// - skey: the 10 characters from the "@" of the first "skey=@" (fewer when the text
//   ends sooner);
// - uin: the text after the first "uin=o" up to the next ";" or the end, with all
//   leading zeros removed but one digit kept ("o0000012345" -> "12345", "o0" -> "0").
// No capture yet (nullopt) when the text holds no "skey=@", no "uin=o", or a uin that
// is not made of decimal digits; a later page of the sign-in may bring them.
std::optional<CookieCapture> CaptureCookieText(const QString &cookieText);

// The nickname in a profile answer: the text after the first name":" up to, not
// including, the next double quote (to the end when none follows), unchanged; empty
// when the marker is missing.
QString NicknameFromProfile(const QString &answer);

} // namespace albivex
