#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QTime>

namespace albivex {

// The locale's long time format with every time-zone token ('t' runs outside
// quotes) dropped, together with brackets left empty by that and the blanks around
// it. Times shown by the tool are wall-clock texts whose zone is implied.
QString TimeFormatWithoutZone(const QLocale &locale = QLocale());

// Hours, minutes and seconds as the locale writes its long time format, without any
// time-zone name ("13:00:15" for a Chinese locale). The activity log's time stamp.
QString TimeOfDayText(const QTime &time, const QLocale &locale = QLocale());

// The locale's short date, a blank and TimeOfDayText; the date alone when the time
// of day is exactly 00:00:00. The date and time are taken as `dateTime` holds them,
// without converting to another zone ("2015/2/9 13:00:15", "2015/12/23").
QString DateTimeText(const QDateTime &dateTime, const QLocale &locale = QLocale());

} // namespace albivex
