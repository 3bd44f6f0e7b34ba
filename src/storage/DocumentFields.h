#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

namespace albivex {

// What album.json and moods.json share in writing their entries: times as China's
// service shows them, and keys left out when they have nothing to say.

// The time at +08:00 in whole seconds; an invalid one for a time the ISO text cannot
// hold (years outside 1 to 9999).
QDateTime DocumentTime(const QDateTime &time);
// Puts the text under the key unless it is empty.
void PutText(QJsonObject &object, const char *key, const QString &value);
// Puts the time (DocumentTime, ISO 8601 with its offset) under the key unless it is none.
void PutTime(QJsonObject &object, const char *key, const QDateTime &time);

} // namespace albivex
