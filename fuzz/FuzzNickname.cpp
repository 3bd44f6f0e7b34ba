// NicknameFromProfile reads the nickname from the profile answer.

#include "FuzzSupport.h"
#include "qzone/CookieCapture.h"

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void CheckAnswer(const QString &answer)
{
    static const QString marker = QStringLiteral("name\":\"");
    const QString nickname = NicknameFromProfile(answer);
    Require(!nickname.contains(QLatin1Char('"')), "the nickname stops before a quote", nickname);
    Require(nickname.size() <= answer.size(), "the nickname is part of the answer");
    const qsizetype at = answer.indexOf(marker);
    if (at < 0) {
        Require(nickname.isEmpty(), "no marker, no nickname", nickname);
        return;
    }
    // The whole text from the first marker to the next quote or the end.
    const QStringView rest = QStringView(answer).sliced(at + marker.size());
    Require(rest.startsWith(nickname), "the nickname follows the first marker", nickname);
    Require(rest.size() == nickname.size() || rest.at(nickname.size()) == QLatin1Char('"'),
            "the nickname runs up to a quote or the end", nickname);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckAnswer(Utf8Text(data, size));
    CheckAnswer(Utf16Text(data, size));
    return 0;
}
