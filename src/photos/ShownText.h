#pragma once

#include <QString>

namespace albivex {

// Most characters a list cell or label shows of one text. Service answers may carry
// texts of many megabytes (a description is up to the service); laying such a text out
// would hold the window for seconds and take hundreds of MB. The record keeps the
// whole text; only what is shown is cut.
inline constexpr int MaxShownChars = 1024;

// The text as shown: unchanged up to MaxShownChars characters, otherwise its start
// (never half a surrogate pair) followed by "…".
QString ShownText(const QString &text, int maxChars = MaxShownChars);

} // namespace albivex
