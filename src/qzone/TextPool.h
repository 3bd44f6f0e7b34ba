#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

namespace albivex {

// Holds each distinct short text once, for the texts the items of an answer repeat
// (exif keys and cameras on pictures; a space's name, commenters, devices and places on posts):
// every item that gives one shares the pooled copy. A text is looked up before it is
// copied out of the answer, so a repeated one costs no allocation either. Texts
// longer than MaxShared are copied as they come.
class TextPool
{
public:
    static constexpr qsizetype MaxShared = 64;

    QString of(QStringView text);
    QString of(QString text);

private:
    QString add(QString text);
    QHash<QStringView, QString> m_texts;
};

} // namespace albivex
