#include "photos/ShownText.h"

namespace albivex {

QString ShownText(const QString &text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    qsizetype cut = qMax(0, maxChars);
    if (cut > 0 && text.at(cut - 1).isHighSurrogate())
        --cut;
    return text.left(cut) + QChar(0x2026);
}

} // namespace albivex
