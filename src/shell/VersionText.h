#pragma once

#include <QString>

namespace albivex {

// "V" + major + "." + minor + "." + revision of the program ("V1.0.0").
QString VersionText();

} // namespace albivex
