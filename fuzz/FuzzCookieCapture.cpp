// CaptureCookieText reads skey and uin from the cookie text of the sign-in page.

#include "FuzzSupport.h"
#include "qzone/CookieCapture.h"

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

void CheckText(const QString &cookieText)
{
    const std::optional<CookieCapture> capture = CaptureCookieText(cookieText);
    const bool hasSkey = cookieText.contains(QLatin1String("skey=@"));
    const bool hasUin = cookieText.contains(QLatin1String("uin=o"));
    if (!capture) {
        if (hasSkey && hasUin) {
            // Only a uin that is not a number holds the capture back.
            const qsizetype start = cookieText.indexOf(QLatin1String("uin=o")) + 5;
            const qsizetype end = cookieText.indexOf(QLatin1Char(';'), start);
            const QString raw = cookieText.mid(start, end < 0 ? -1 : end - start);
            bool digits = !raw.isEmpty();
            for (const QChar c : raw)
                digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
            Require(!digits, "a text with skey=@ and a numeric uin=o is captured");
        }
        return;
    }
    Require(hasSkey && hasUin, "a capture needs both markers");

    const QString &skey = capture->skey;
    Require(skey.startsWith(QLatin1Char('@')), "skey begins with @", skey);
    // Ten characters, fewer only when the text ends first.
    const qsizetype at = cookieText.indexOf(QLatin1String("skey=@")) + 5;
    Require(skey.size() == qMin<qsizetype>(10, cookieText.size() - at), "skey is 10 characters", skey);
    Require(cookieText.contains(skey), "skey is taken from the text");

    Require(IsDecimalNumber(capture->uin), "uin is digits without a leading zero", capture->uin);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckText(Utf8Text(data, size));
    CheckText(Utf16Text(data, size));
    return 0;
}
