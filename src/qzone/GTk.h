#pragma once

#include <QString>

namespace albivex {

// The g_tk request token of the Qzone services, from the skey cookie value:
// h = 5381, then h = h * 33 + code(c) for every character, keeping the low 31 bits.
// Returned as decimal text ("5381" for an empty skey).
QString ComputeGTk(const QString &skey);

} // namespace albivex
