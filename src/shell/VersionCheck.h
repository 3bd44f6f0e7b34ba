#pragma once

#include <QString>

namespace albivex {

// The tool's own version as the vendor's version file lists it. Compared as text; it
// is not derived from the build's version numbers.
inline constexpr char16_t CurrentListedVersion[] = u"V1.0";

// The version the vendor's file lists for this tool: the text after the first
// "morvith:" and before the first "|" after it. Empty when the key or the "|" is
// missing, which counts as another version.
QString ListedVersion(const QString &fileText);

// True only for exactly "V1.0" (case-sensitive).
bool IsCurrentVersion(const QString &listed);

} // namespace albivex
