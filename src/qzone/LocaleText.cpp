#include "qzone/LocaleText.h"

namespace albivex {

namespace {

bool IsOpeningBracket(QChar c)
{
    return c == QLatin1Char('(') || c == QLatin1Char('[') || c == QChar(0xFF08);
}

bool IsClosingBracket(QChar c)
{
    return c == QLatin1Char(')') || c == QLatin1Char(']') || c == QChar(0xFF09);
}

// Drops blanks (and a bracket pair that enclosed only the zone) on both sides of the
// spot where a zone token stood: `out` holds the format before it, `rest` after it.
void CloseGap(QString &out, QStringView &rest)
{
    while (!out.isEmpty() && out.back().isSpace())
        out.chop(1);
    while (!rest.isEmpty() && rest.front().isSpace())
        rest = rest.sliced(1);
    if (!out.isEmpty() && !rest.isEmpty() && IsOpeningBracket(out.back()) && IsClosingBracket(rest.front())) {
        out.chop(1);
        rest = rest.sliced(1);
        CloseGap(out, rest);
        return;
    }
    // Keep one blank between two parts of the format that the zone separated.
    if (!out.isEmpty() && !rest.isEmpty())
        out += QLatin1Char(' ');
}

} // namespace

QString TimeFormatWithoutZone(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    out.reserve(format.size());
    QStringView rest(format);
    bool quoted = false;
    while (!rest.isEmpty()) {
        const QChar c = rest.front();
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
            out += c;
            rest = rest.sliced(1);
        } else if (!quoted && c == QLatin1Char('t')) {
            while (!rest.isEmpty() && rest.front() == QLatin1Char('t'))
                rest = rest.sliced(1);
            CloseGap(out, rest);
        } else {
            out += c;
            rest = rest.sliced(1);
        }
    }
    return out;
}

QString TimeOfDayText(const QTime &time, const QLocale &locale)
{
    return locale.toString(time, TimeFormatWithoutZone(locale));
}

QString DateTimeText(const QDateTime &dateTime, const QLocale &locale)
{
    const QString date = locale.toString(dateTime.date(), QLocale::ShortFormat);
    const QTime time = dateTime.time();
    if (time == QTime(0, 0))
        return date;
    return date + QLatin1Char(' ') + TimeOfDayText(time, locale);
}

} // namespace albivex
