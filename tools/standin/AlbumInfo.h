#pragma once

#include "standin/ExtraAlbum.h"

#include <QList>
#include <QString>

namespace albivex::standin {

// One album as the stand-in keeps it.
struct AlbumInfo
{
    QString id;
    QString wireName; // as written between the quotes of the album list answers
    QString wireDesc;
    qint64 createTime = 0; // seconds since 1970 (UTC)
    int total = 0; // pictures in the album now
    int baseTotal = 0; // pictures it had from the start: keys 1..baseTotal
    // Keys of the pictures in list order once pictures were added; empty: 1..total.
    // A picture's key names it for good (its lloc and addresses); its position in the
    // list moves when pictures are added in front.
    QList<int> keys;
    QString ownerUin; // the space's number; empty for the main space (owned by the viewer)
    int kind = 0; // which picture rules apply (DataSet's own)
    ExtraAlbum extra; // for extra albums only
    bool png = false;
    bool allowAccess = true;
    int priv = 1; // 1 open, 2 password, 4 private, 5 question
    QString question; // priv 5: the question as written in the album list

    QString extension() const { return png ? QStringLiteral("png") : QStringLiteral("jpg"); }
    int keyAt(int position) const { return keys.isEmpty() ? position + 1 : keys.value(position); }
    bool hasKey(int key) const { return keys.isEmpty() ? key >= 1 && key <= total : keys.contains(key); }
    int positionOf(int key) const
    {
        if (!hasKey(key))
            return -1;
        return keys.isEmpty() ? key - 1 : int(keys.indexOf(key));
    }
};

} // namespace albivex::standin
