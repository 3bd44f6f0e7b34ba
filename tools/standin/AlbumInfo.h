#pragma once

#include "standin/ExtraAlbum.h"

#include <QString>

namespace albivex::standin {

// One album as the stand-in keeps it.
struct AlbumInfo
{
    QString id;
    QString wireName; // as written between the quotes of the album list answers
    QString wireDesc;
    qint64 createTime = 0; // seconds since 1970 (UTC)
    int total = 0;
    QString ownerUin; // the space's number; empty for the main space (owned by the viewer)
    int kind = 0; // which picture rules apply (DataSet's own)
    ExtraAlbum extra; // for extra albums only
    bool png = false;

    QString extension() const { return png ? QStringLiteral("png") : QStringLiteral("jpg"); }
};

} // namespace albivex::standin
