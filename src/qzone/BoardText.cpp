#include "qzone/BoardText.h"

namespace albivex {

namespace {

// Whether the code between the brackets only formats its text.
bool IsFormatting(QStringView code)
{
    static const QLatin1String plain[]
        = {QLatin1String("/ft"), QLatin1String("b"), QLatin1String("/b"), QLatin1String("i"),
           QLatin1String("/i"),  QLatin1String("u"), QLatin1String("/u"), QLatin1String("/url")};
    for (const QLatin1String &p : plain) {
        if (code.compare(p, Qt::CaseInsensitive) == 0)
            return true;
    }
    return code.startsWith(QLatin1String("ffg,"), Qt::CaseInsensitive)
        || code.startsWith(QLatin1String("ft="), Qt::CaseInsensitive)
        || code.startsWith(QLatin1String("url="), Qt::CaseInsensitive);
}

} // namespace

BoardText BoardPlainText(const QString &ubb)
{
    static const QLatin1String imgOpen("[img]");
    static const QLatin1String imgClose("[/img]");
    BoardText out;
    qsizetype at = 0;
    while (at < ubb.size()) {
        const qsizetype open = ubb.indexOf(QLatin1Char('['), at);
        if (open < 0) {
            out.text += QStringView(ubb).sliced(at);
            break;
        }
        out.text += QStringView(ubb).sliced(at, open - at);
        if (QStringView(ubb).sliced(open).startsWith(imgOpen, Qt::CaseInsensitive)) {
            const qsizetype close = ubb.indexOf(imgClose, open + imgOpen.size(), Qt::CaseInsensitive);
            if (close >= 0) {
                const QString address
                    = ubb.mid(open + imgOpen.size(), close - open - imgOpen.size()).trimmed();
                if (!address.isEmpty())
                    out.pictures.append(address);
                at = close + imgClose.size();
                continue;
            }
        }
        const qsizetype end = ubb.indexOf(QLatin1Char(']'), open + 1);
        const qsizetype nextOpen = ubb.indexOf(QLatin1Char('['), open + 1);
        if (end >= 0 && (nextOpen < 0 || end < nextOpen)
            && IsFormatting(QStringView(ubb).sliced(open + 1, end - open - 1))) {
            at = end + 1;
            continue;
        }
        out.text += QLatin1Char('[');
        at = open + 1;
    }
    return out;
}

} // namespace albivex
