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

// Where the first cookie called `name` whose value begins with `valueStart` has its
// value; -1 when there is none.
qsizetype ValueAt(QStringView text, QStringView name, QStringView valueStart = {})
{
    QString marker = name.toString();
    marker += QLatin1Char('=');
    marker += valueStart;
    for (qsizetype at = text.indexOf(marker); at >= 0; at = text.indexOf(marker, at + 1)) {
        if (at == 0 || text.sliced(0, at).endsWith(QLatin1String("; ")))
            return at + name.size() + 1;
    }
    return -1;
}

QString ValueFrom(QStringView text, qsizetype start)
{
    const qsizetype semicolon = text.indexOf(QLatin1Char(';'), start);
    return text.sliced(start, (semicolon < 0 ? text.size() : semicolon) - start).toString();
}

} // namespace

QString CookieValue(QStringView cookieText, QStringView name)
{
    const qsizetype at = ValueAt(cookieText, name);
    return at < 0 ? QString() : ValueFrom(cookieText, at);
}

std::optional<CookieCapture> CaptureCookieText(const QString &cookieText)
{
    const qsizetype skeyAt = ValueAt(cookieText, u"skey", u"@");
    if (skeyAt < 0)
        return std::nullopt;
    const qsizetype uinAt = ValueAt(cookieText, u"uin", u"o");
    if (uinAt < 0)
        return std::nullopt;

    QString uin = ValueFrom(cookieText, uinAt + 1);
    if (!IsAsciiDigits(uin))
        return std::nullopt;
    // The cookie pads the number with zeros to ten digits; the number itself has none.
    qsizetype zeros = 0;
    while (zeros + 1 < uin.size() && uin.at(zeros) == QLatin1Char('0'))
        ++zeros;
    uin.remove(0, zeros);

    return CookieCapture {cookieText.mid(skeyAt, 10), uin, CookieValue(cookieText, u"p_skey")};
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
