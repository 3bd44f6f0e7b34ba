#pragma once

#include <QDateTime>
#include <QLocale>
#include <QTime>

namespace albivex {

// The time of day as the locale writes its long time format, without any time-zone name.
QString TimeOfDayText(const QTime &time, const QLocale &locale = QLocale::system());

} // namespace albivex
