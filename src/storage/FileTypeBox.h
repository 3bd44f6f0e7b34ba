#pragma once

#include <QByteArrayView>

namespace albivex {

// Files of the ISO base media format (HEIF/HEIC pictures, MP4 videos) are a run of
// boxes, each a 32-bit big-endian size, a four-letter type and its content. Such a file
// starts with its file type box: size, "ftyp", a major brand, a minor version and
// compatible brands up to the box's end. The brands tell a HEIF picture (heic, heix,
// hevc, hevx, heim, heis, mif1, msf1, as the major brand or a compatible one) from
// every other kind, which is taken for a video.
enum class FileTypeBox {
    NeedMoreBytes, // the bytes so far could still start a file type box
    None, // no file type box at the start
    Heif, // a HEIF picture
    OtherMedia, // any other brand: MP4 and QuickTime videos among them
};

// Only this many leading bytes are ever looked at: brands past them are ignored.
constexpr int FileTypeBoxLength = 64;

// The box must stand at offset 0 with a size between 16 and 4096 bytes that is a
// multiple of four (so the first byte is 0), and "ftyp" at offset 4. `complete` tells
// that no more bytes will come: a head that ends inside the box then counts as none.
FileTypeBox CheckFileTypeBox(QByteArrayView head, bool complete);

} // namespace albivex
