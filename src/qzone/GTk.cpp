#include "qzone/GTk.h"

#include <cstdint>

namespace albivex {

QString ComputeGTk(const QString &skey)
{
    // Unsigned wrap-around keeps every bit below 2^32 exact, and the result only
    // needs the bits below 2^31.
    std::uint32_t h = 5381;
    for (const QChar c : skey)
        h = h * 33u + c.unicode();
    return QString::number(h & 0x7FFFFFFFu);
}

} // namespace albivex
