#pragma once

#include "standin/PictureRecipe.h"

#include <QByteArray>
#include <QImage>

namespace albivex::standin {

// Draws and encodes the stand-in's pictures: a seeded pattern (gradients, a checker and
// a coloured disc) with seeded noise, so every picture is distinct, decodes, and comes
// out byte for byte the same in every run.
class PictureMaker
{
public:
    static QImage draw(const PictureRecipe &recipe);
    // The encoded image, without padding (a WebP of quality 100 is lossless).
    static QByteArray encode(const PictureRecipe &recipe);
    // A stable 32-bit hash of a text (qHash is seeded per process).
    static quint32 stableHash(const QString &text, quint32 salt = 0);
};

} // namespace albivex::standin
