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

    // Who may open the album: 1 everyone, 2 with a password, 4 only the owner, 5 with
    // the answer to `question` (see AlbumAnswer.h); 0 when the answer does not say.
    int priv = 0;
    QString question; // the question of a priv 5 album, as the service wants it back

    // The whole decoded texts (no cut at a comma, escapes decoded), for what keeps
    // the user's words; name and description above stay as the list shows them.
    QString fullName;
    QString fullDescription;
    qint64 createTime = -1; // "createtime" in seconds since 1970; -1 when not given
};

} // namespace albivex
