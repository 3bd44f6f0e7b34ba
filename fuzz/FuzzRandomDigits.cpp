// RandomDigitsFromValue turns a drawn number into the digits of a file name.

#include "FuzzSupport.h"
#include "storage/RandomDigits.h"

#include <cmath>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

void CheckDigits(const QString &digits, const QString &about)
{
    Require(digits.size() <= 5, "at most 5 characters", about + QLatin1String(" -> ") + digits);
    Require(!digits.contains(QLatin1Char('.')), "no dot", about + QLatin1String(" -> ") + digits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Any bit pattern: NaN, infinities, negatives and subnormals too.
    float r = 0;
    std::memcpy(&r, data, qMin(size, sizeof r));
    const QString digits = RandomDigitsFromValue(r);
    const QString about = QString::number(static_cast<double>(r), 'g', 9);
    CheckDigits(digits, about);
    // Every draw of the generator lies in [0, 1); from 0.0001 on it gives four decimals,
    // unless seven significant digits round it up to "1".
    if (r >= 0.0001f && r < 0.9999995f) {
        Require(digits.size() == 4, "four characters for a usual draw",
                about + QLatin1String(" -> ") + digits);
        for (const QChar c : digits)
            Require(c.isDigit() && c.unicode() < 128, "decimal digits for a usual draw",
                    about + QLatin1String(" -> ") + digits);
    }
    CheckDigits(RandomDigits(), QStringLiteral("a fresh draw"));
    return 0;
}
