#include "qzone/CookieCapture.h"

namespace albivex {

namespace {

bool IsAsciiDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

std::optional<CookieCapture> CaptureCookieText(const QString &cookieText)
{
    static const QString skeyMarker = QStringLiteral("skey=@");
    static const QString uinMarker = QStringLiteral("uin=o");

    const qsizetype skeyAt = cookieText.indexOf(skeyMarker);
    if (skeyAt < 0)
        return std::nullopt;
    const qsizetype uinAt = cookieText.indexOf(uinMarker);
    if (uinAt < 0)
        return std::nullopt;

    const qsizetype uinStart = uinAt + uinMarker.size();
    const qsizetype semicolon = cookieText.indexOf(QLatin1Char(';'), uinStart);
    QString uin = cookieText.mid(uinStart, semicolon < 0 ? -1 : semicolon - uinStart);
    if (!IsAsciiDigits(uin))
        return std::nullopt;
    // The cookie pads the number with zeros to ten digits; the number itself has none.
    qsizetype zeros = 0;
    while (zeros + 1 < uin.size() && uin.at(zeros) == QLatin1Char('0'))
        ++zeros;
    uin.remove(0, zeros);

    // The "@" starts the skey value: it sits one character before the marker's end.
    return CookieCapture {cookieText.mid(skeyAt + skeyMarker.size() - 1, 10), uin};
}

QString NicknameFromProfile(const QString &answer)
{
    static const QString marker = QStringLiteral("name\":\"");
    const qsizetype at = answer.indexOf(marker);
    if (at < 0)
        return QString();
    const qsizetype start = at + marker.size();
    const qsizetype quote = answer.indexOf(QLatin1Char('"'), start);
    return answer.mid(start, quote < 0 ? -1 : quote - start);
}

} // namespace albivex
