#pragma once

#include <QString>

namespace albivex {

// One picture of an album listing, one row of the photo list.
struct PhotoEntry
{
    int number = 0; // 1-based position in the album's list
    QString name; // as cut from the answer; escapes left as they stand
    QString uploadTime; // as cut from the answer
    QString description;
    QString url; // as the service gives it (no quality rewrite)
    int width = 0; // of the url picture, as listed; 0 when not given
    int height = 0;
    QString status; // empty when listed; "√" or "×" once downloaded
};

} // namespace albivex
