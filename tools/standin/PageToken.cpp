#include "standin/PageToken.h"

#include <cstdint>

namespace albivex::standin {

QString PageToken(const QString &key)
{
    // A page script's number: 64 bits hold every value it reaches for keys of any
    // realistic length, and its shift reads only the low 32 bits, as a signed number.
    std::int64_t hash = 5381;
    for (const QChar unit : key) {
        const auto low = static_cast<std::int32_t>(static_cast<std::uint32_t>(hash));
        const auto shifted = static_cast<std::int32_t>(static_cast<std::uint32_t>(low) << 5);
        hash += std::int64_t(shifted) + unit.unicode();
    }
    return QString::number(hash & 0x7fffffff);
}

} // namespace albivex::standin
