#pragma once

#include "standin/DataSet.h"

namespace albivex::standin {

// The album list answers of both services (the caller encodes the text). Every album
// object writes createtime, desc, id, name, pre and total as `"key" : value,`, and the
// word createtime appears nowhere else.
class AlbumListAnswer
{
public:
    static QString list(const QString &callback, const QString &root, const QList<AlbumInfo> &albums);
    // One album object, as the list writes it (with a trailing comma and newline).
    static QString albumObject(const QString &root, const AlbumInfo &album);
    static QString coverPath(const AlbumInfo &album);

    // Shorthands for ErrorAnswer::of with NotSignedIn and ClosedSpace.
    static QString notSignedIn(const QString &callback);
    static QString closedSpace(const QString &callback);
};

} // namespace albivex::standin
