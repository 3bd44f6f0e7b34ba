#pragma once

#include <QByteArray>

namespace albivex::standin {

// Small files in the ISO base media format (boxes of a 32-bit big-endian size and a
// four-letter type): the stand-in's videos and its HEIC originals. Structurally valid,
// made in code, always the same bytes for the same input.
class IsoMediaMaker
{
public:
    // An MP4 of a few KB: `ftyp` (major brand isom, compatible isom and mp42), a `moov`
    // with `mvhd` and one video `trak` whose sample table points into the `mdat`, and
    // the `mdat` (seeded filler, so every seed gives a distinct file).
    static QByteArray mp4(quint32 seed);
    // A HEIC file: `ftyp` (major brand heic), a `meta` (hdlr pict, pitm, iinf, iloc of
    // the one item) and an `mdat` holding `payload`. It does not decode as an image.
    static QByteArray heic(const QByteArray &payload);

    static QByteArray box(const char type[5], const QByteArray &payload);
    // A box with a version byte and 24 bits of flags before the payload.
    static QByteArray fullBox(const char type[5], int version, quint32 flags, const QByteArray &payload);
};

} // namespace albivex::standin
