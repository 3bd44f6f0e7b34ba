#pragma once

#include <QString>

namespace albivex {

// One album of a listing, one row of the album list.
struct AlbumEntry
{
    int position = 0; // 1-based row number, in answer order
    QString name;
    QString createdText; // creation date and time as shown; empty when unknown
    QString pictureCount; // the answer's "total" text, shown and quoted as it came
    QString albumId;
    QString coverUrl;
    QString description;
    QString downloadState; // empty when listed; progress text of the album download job
    bool allowAccess = true; // false: the service does not let the viewer open the album
    bool isChecked = false;
};

} // namespace albivex
