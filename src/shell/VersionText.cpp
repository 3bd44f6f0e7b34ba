#include "shell/VersionText.h"

namespace albivex {

QString VersionText()
{
    return QStringLiteral("V%1.%2.%3")
        .arg(ALBIVEX_VERSION_MAJOR)
        .arg(ALBIVEX_VERSION_MINOR)
        .arg(ALBIVEX_VERSION_PATCH);
}

} // namespace albivex
