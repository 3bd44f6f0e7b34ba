#pragma once

#include <QString>

namespace albivex::standin {

// What the photo list says of one picture (texts as written between the quotes).
struct PictureMeta
{
    QString name;
    QString uploadTime; // "yyyy-MM-dd hh:mm:ss", China time
    QString wireDesc;
};

} // namespace albivex::standin
