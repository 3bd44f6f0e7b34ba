#pragma once

#include <QByteArray>
#include <QSize>

namespace albivex {

// What the first bytes of a picture say about whether it is the service's small
// stand-in for a picture it will not give out (today's "加密照片" GIF of about 100 x 100
// pixels) rather than the picture the photo list describes.
enum class PlaceholderVerdict {
    NeedMoreBytes, // the header does not tell the size yet
    Placeholder, // under a quarter of the listed size in both directions
    Picture, // the listed size or more, or nothing to compare with
};

// How many leading bytes are held at most for the size: past them (a JPEG with a long
// metadata block) the picture is taken as it is.
constexpr qsizetype PlaceholderHeadBytes = 256 * 1024;

// `listed` is the size the photo list gives (empty or zero in either direction: no
// check). The picture's own size is read from its header (QImageReader::size(), no
// decoding); `complete` tells that no more bytes will come. A size that cannot be read
// from the whole head (or from PlaceholderHeadBytes of it) gives Picture: the picture
// is then checked as any other.
PlaceholderVerdict CheckPlaceholder(const QByteArray &head, const QSize &listed, bool complete);

} // namespace albivex
