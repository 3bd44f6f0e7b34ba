// CaptureCookieText reads skey, uin and p_skey from the cookie text of the sign-in, each
// cookie by its exact name.

#include "FuzzSupport.h"
#include "qzone/CookieCapture.h"

#include <QStringList>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

bool IsDecimalNumber(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return text.size() == 1 || text.front() != QLatin1Char('0');
}

// Where the value of the first cookie called `name` whose value begins with `lead`
// starts, found by splitting the text at "; " (apart from how the capture looks for
// it); -1 when no cookie matches.
qsizetype ValueStart(const QString &cookieText, const QString &name, const QString &lead)
{
    const QString start = name + QLatin1Char('=') + lead;
    qsizetype at = 0;
    for (const QString &cookie : cookieText.split(QStringLiteral("; "))) {
        if (cookie.startsWith(start))
            return at + name.size() + 1;
        at += cookie.size() + 2;
    }
    return -1;
}

QString UpToSemicolon(const QString &text, qsizetype start)
{
    const qsizetype end = text.indexOf(QLatin1Char(';'), start);
    return text.mid(start, end < 0 ? -1 : end - start);
}

void CheckText(const QString &cookieText)
{
    const std::optional<CookieCapture> capture = CaptureCookieText(cookieText);
    const qsizetype skeyAt = ValueStart(cookieText, QStringLiteral("skey"), QStringLiteral("@"));
    const qsizetype uinAt = ValueStart(cookieText, QStringLiteral("uin"), QStringLiteral("o"));
    if (!capture) {
        if (skeyAt >= 0 && uinAt >= 0) {
            // Only a uin that is not a number holds the capture back.
            const QString raw = UpToSemicolon(cookieText, uinAt + 1);
            bool digits = !raw.isEmpty();
            for (const QChar c : raw)
                digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
            Require(!digits, "a text with a skey cookie of @ and a numeric uin cookie is captured");
        }
        return;
    }
    Require(skeyAt >= 0 && uinAt >= 0, "a capture needs a cookie named skey and one named uin");

    // The skey is the one of the cookie named exactly skey (never p_skey's), ten
    // characters from its "@", fewer only when the text ends first.
    const QString &skey = capture->skey;
    Require(skey == cookieText.mid(skeyAt, 10), "skey is 10 characters of the skey cookie", skey);
    Require(skey.startsWith(QLatin1Char('@')), "skey begins with @", skey);

    Require(IsDecimalNumber(capture->uin), "uin is digits without a leading zero", capture->uin);
    Require(UpToSemicolon(cookieText, uinAt + 1).endsWith(capture->uin), "uin is the uin cookie's number",
            capture->uin);

    const qsizetype pSkeyAt = ValueStart(cookieText, QStringLiteral("p_skey"), QString());
    Require(capture->pSkey == (pSkeyAt < 0 ? QString() : UpToSemicolon(cookieText, pSkeyAt)),
            "pSkey is the value of the cookie named p_skey", capture->pSkey);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckText(Utf8Text(data, size));
    CheckText(Utf16Text(data, size));
    return 0;
}
