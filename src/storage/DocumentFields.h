#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

namespace albivex {

// What album.json, moods.json and board.json share in writing their entries: times as China's
// service shows them, and keys left out when they have nothing to say.

// The time at +08:00 in whole seconds; an invalid one for a time the ISO text cannot
// hold (years outside 1 to 9999).
QDateTime DocumentTime(const QDateTime &time);
// Puts the text under the key unless it is empty.
void PutText(QJsonObject &object, const char *key, const QString &value);
// Puts the time (DocumentTime, ISO 8601 with its offset) under the key unless it is none.
void PutTime(QJsonObject &object, const char *key, const QDateTime &time);

// The text under the key; empty when it holds none.
QString TextOf(const QJsonObject &object, const char *key);
// The time under the key (DocumentTime): only an ISO 8601 text with its offset says
// which moment it is; invalid otherwise.
QDateTime TimeOf(const QJsonObject &object, const char *key);
// The whole objects of the array under `arrayKey` of a text that is no JSON as a whole
// (cut short, say): each read on its own, up to the first that is not whole.
QList<QJsonObject> SalvageArrayObjects(const QByteArray &text, const QByteArray &arrayKey);

} // namespace albivex
