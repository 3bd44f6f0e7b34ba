#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace albivex {

// What the sign-in takes from QQ's cookies.
struct CookieCapture
{
    QString skey;
    QString uin;
    QString pSkey; // empty when the text holds no p_skey cookie (yet)
};

// The value of the first cookie called exactly `name` in a cookie text ("name=value;
// name=value"): a cookie's name starts the text or follows "; ", so "p_skey" is never
// taken for "skey" nor "p_uin" for "uin". The value runs to the next ";" or the end.
// A null string when no cookie has that name.
QString CookieValue(QStringView cookieText, QStringView name);

// Reads a cookie text, every cookie found by its exact name as CookieValue does:
// - skey: the 10 characters from the "@" of the first skey cookie whose value begins
//   with "@" (fewer when the text ends sooner);
// - uin: the value of the first uin cookie after its "o", with all leading zeros
//   removed but one digit kept ("o0000012345" -> "12345", "o0" -> "0");
// - pSkey: the value of the first p_skey cookie, as it stands; empty when none.
// No capture yet (nullopt) when the text holds no skey with "@", no uin with "o", or a
// uin that is not made of decimal digits; a later page of the sign-in may bring them.
std::optional<CookieCapture> CaptureCookieText(const QString &cookieText);

// The nickname in a profile answer: the text after the first name":" up to, not
// including, the next double quote (to the end when none follows), unchanged; empty
// when the marker is missing.
QString NicknameFromProfile(const QString &answer);

} // namespace albivex
