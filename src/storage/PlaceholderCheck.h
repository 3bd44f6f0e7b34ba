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

// How many leading bytes a transfer holds at most for the size: past them (a picture
// with a long metadata block) the picture is taken as it is.
constexpr qsizetype PlaceholderHeadBytes = 256 * 1024;

// `listed` is the size the photo list gives (empty or zero in either direction: no
// check). The picture's own size is read from its header (QImageReader::size(), no
// decoding), so ask once the head holds the whole header (PictureEnd::headerWhole):
// the JPEG and PNG readers complain in the log about fewer bytes. `complete` tells
// that no more bytes will come: a size that cannot be read then gives Picture, and the
// picture is checked as any other.
//
// With `gifStandsIn`, also a GIF of any other size than the listed one: the posts'
// service answers a lost picture with a small "图片不存在" GIF (100 x 100), which is not
// always under a quarter of the listed size, while a GIF it really holds keeps its size.
PlaceholderVerdict CheckPlaceholder(const QByteArray &head, const QSize &listed, bool complete,
                                    bool gifStandsIn = false);

} // namespace albivex
