#include "photos/Percent.h"

#include <cstdlib>

namespace albivex {

int PercentText(int i, int n)
{
    if (n <= 0)
        return 0;
    // round(100 * |i| / n) with halves up, then the sign back: halves away from zero.
    const long long magnitude = (200LL * std::llabs(i) + n) / (2LL * n);
    return static_cast<int>(i < 0 ? -magnitude : magnitude);
}

} // namespace albivex
