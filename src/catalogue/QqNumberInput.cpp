#include "catalogue/QqNumberInput.h"

namespace albivex {

QqNumberInput QqNumberInput::fromText(const QString &text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty())
        return {Verdict::Empty, QString()};
    if (digits.size() < 5 || digits.size() > 11)
        return {Verdict::Malformed, QString()};
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {Verdict::Malformed, QString()};
    }
    return {Verdict::Valid, digits};
}

} // namespace albivex
