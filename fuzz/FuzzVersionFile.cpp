// ListedVersion reads the tool's version from the vendor's version file.

#include "FuzzSupport.h"
#include "shell/VersionCheck.h"

using namespace albivex;
using namespace albivex::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString fileText = Utf8Text(data, size);
    const QString listed = ListedVersion(fileText);
    Require(!listed.contains(QLatin1Char('|')), "the version stops before the first bar", listed);
    const qsizetype at = fileText.indexOf(QLatin1String("morvith:"));
    if (at < 0)
        Require(listed.isEmpty(), "no key, no version", listed);
    if (!listed.isEmpty()) {
        const QStringView rest = QStringView(fileText).sliced(at + 8);
        Require(rest.startsWith(listed) && rest.size() > listed.size()
                    && rest.at(listed.size()) == QLatin1Char('|'),
                "the version stands between the first key and a bar", listed);
    }
    Require(IsCurrentVersion(listed) == (listed == QLatin1String("V1.0")), "only V1.0 is current", listed);
    return 0;
}
