#include "storage/RandomDigits.h"

#include <QRandomGenerator>

namespace albivex {

QString RandomDigits()
{
    // 24 random bits make every single-precision value in [0, 1) at the float's
    // resolution reachable, and r can never round up to 1.
    constexpr quint32 Steps = 1u << 24;
    const float r
        = static_cast<float>(QRandomGenerator::global()->bounded(Steps)) / static_cast<float>(Steps);
    return RandomDigitsFromValue(r);
}

QString RandomDigitsFromValue(float r)
{
    // 'G' switches to the exponent form below 1E-4 (and for 1E+7 and above) and
    // drops trailing zeros, as the general format does.
    QString text = QString::number(static_cast<double>(r), 'G', 7);
    text += QLatin1String("1234567890");
    QString digits = text.mid(1, 5);
    digits.remove(QLatin1Char('.'));
    return digits;
}

} // namespace albivex
