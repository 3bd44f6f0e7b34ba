#pragma once

#include <QString>

namespace albivex {

// The suffix of NamingMode::NameAndRandom for one fresh draw r (0 <= r < 1) of the
// system's random generator; every call draws anew.
QString RandomDigits();

// The text rule for a drawn r: r written in general format with at most 7
// significant digits and its leading "0" (exponent form such as "9.9E-05" below
// 0.0001), then "1234567890" appended, the 5 characters from the second taken and
// every "." removed. Normally the first four decimals: 0.7055475 -> "7055",
// 0.5 -> "5123"; 9.9E-05 -> "9E-0"; 0 -> "12345".
QString RandomDigitsFromValue(float r);

} // namespace albivex
