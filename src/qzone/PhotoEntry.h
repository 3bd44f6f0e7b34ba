#pragma once

#include <QString>

namespace albivex {

// One picture of an album listing, one row of the photo list.
struct PhotoEntry
{
    int Number = 0; // 1-based position in the album's list
    QString Name; // as cut from the answer; escapes left as they stand
    QString UploadTime; // as cut from the answer
    QString Description;
    QString Url; // as the service gives it (no quality rewrite)
    QString Status; // empty when listed; "√" or "×" once downloaded
};

} // namespace albivex
