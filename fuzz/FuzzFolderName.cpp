// CleanFolderName and SafePathComponent make album names, picture names and QQ
// numbers from the service into file and folder names.

#include "FuzzSupport.h"
#include "storage/SaveLayout.h"

#include <QStringList>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

bool IsWindowsDeviceName(const QString &name)
{
    QString base = name.section(QLatin1Char('.'), 0, 0).toUpper();
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);
    static const QStringList devices
        = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL")};
    if (devices.contains(base))
        return true;
    return base.size() == 4
        && (base.startsWith(QLatin1String("COM")) || base.startsWith(QLatin1String("LPT")))
        && base.at(3) >= QLatin1Char('1') && base.at(3) <= QLatin1Char('9');
}

void CheckComponent(const QString &name, FileSystemRules rules)
{
    const QString safe = SafePathComponent(name, rules);
    Require(!safe.isEmpty() && safe != QLatin1String(".") && safe != QLatin1String(".."),
            "a safe name is never empty, . or ..", safe);
    Require(!safe.contains(QLatin1Char('/')) && !safe.contains(QLatin1Char('\\')),
            "a safe name holds no separator", safe);
    Require(safe.toUtf8().size() <= MaxNameBytes, "a safe name fits the file system's length", safe);
    for (qsizetype i = 0; i < safe.size(); ++i) {
        const QChar c = safe.at(i);
        Require(c.category() != QChar::Other_Control, "a safe name holds no control character", safe);
        if (c.isHighSurrogate()) {
            Require(i + 1 < safe.size() && safe.at(i + 1).isLowSurrogate(), "no lone surrogate", safe);
            ++i;
        } else {
            Require(!c.isLowSurrogate(), "no lone surrogate", safe);
        }
    }
    if (rules == FileSystemRules::Windows) {
        for (const QChar c : QStringLiteral("<>:\"|?*"))
            Require(!safe.contains(c), "no character Windows refuses", safe);
        Require(!safe.endsWith(QLatin1Char('.')) && !safe.endsWith(QLatin1Char(' ')),
                "no trailing dot or blank on Windows", safe);
        Require(!IsWindowsDeviceName(safe), "no device name on Windows", safe);
    }
    Require(SafePathComponent(safe, rules) == safe, "a safe name stays as it is", safe);
}

void CheckName(const QString &name)
{
    const QString cleaned = CleanFolderName(name);
    for (const QChar c : QStringLiteral("\\:*\"<>|"))
        Require(!cleaned.contains(c), "a cleaned folder name holds none of the seven characters", cleaned);
    Require(cleaned.size() <= name.size(), "cleaning only removes");
    Require(CleanFolderName(cleaned) == cleaned, "cleaning twice changes nothing", cleaned);

    CheckComponent(name, FileSystemRules::Posix);
    CheckComponent(name, FileSystemRules::Windows);
    CheckComponent(cleaned, FileSystemRules::Posix);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckName(Utf8Text(data, size));
    CheckName(Utf16Text(data, size));
    return 0;
}
