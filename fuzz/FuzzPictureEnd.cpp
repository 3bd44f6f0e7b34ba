// PictureEnd reads a picture's bytes as the network hands them over, in pieces of any
// size, and decides whether a body without a trusted length is whole. A wrong "whole"
// keeps a cut picture; a wrong "cut" throws a good one away and retries it for ever.

#include "FuzzSupport.h"
#include "storage/PictureEnd.h"

#include <QByteArray>
#include <QByteArrayView>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

struct Outcome
{
    bool reached = false;
    qint64 fed = 0;
};

// Feeds the bytes in pieces whose sizes come from a small generator seeded by the
// input, so that every input is also tried with splits inside markers, lengths and
// chunk headers.
Outcome FeedInPieces(QByteArrayView bytes, quint32 seed)
{
    PictureEnd end;
    qsizetype at = 0;
    while (at < bytes.size()) {
        seed = seed * 1103515245u + 12345u;
        const qsizetype piece = qMin<qsizetype>(1 + (seed >> 16) % 17, bytes.size() - at);
        end.feed(bytes.sliced(at, piece));
        at += piece;
    }
    return {end.reached(), end.fed()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const bool gif = !bytes.isEmpty() && bytes.front() == 'G';

    PictureEnd whole;
    whole.feed(bytes);
    Require(whole.fed() == bytes.size(), "every byte fed is counted");

    // Byte by byte: the same verdict, and (GIF aside, whose end is only its last byte)
    // once the end is reached no later byte takes it back.
    PictureEnd single;
    bool seenEnd = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        single.feed(bytes.sliced(i, 1));
        if (!gif) {
            Require(!seenEnd || single.reached(), "an end once reached stays reached");
            seenEnd = single.reached();
        }
    }
    Require(single.reached() == whole.reached(), "the verdict does not depend on one byte per piece");
    Require(single.fed() == whole.fed(), "byte-by-byte feeding counts every byte");

    const Outcome pieces = FeedInPieces(bytes, static_cast<quint32>(size) ^ (size ? data[0] : 0u));
    Require(pieces.reached == whole.reached(), "the verdict does not depend on where pieces are cut");
    Require(pieces.fed == whole.fed(), "feeding in pieces counts every byte");

    // An end is only ever found where the format has one.
    if (whole.reached() && !bytes.isEmpty()) {
        switch (static_cast<quint8>(bytes.front())) {
        case 0xFF:
            Require(bytes.size() >= 2 && QByteArrayView(bytes).indexOf(QByteArrayView("\xFF\xD9", 2)) >= 0,
                    "a JPEG ends only at an end-of-image marker");
            break;
        case 0x89:
            Require(QByteArrayView(bytes).indexOf(QByteArrayView("IEND")) >= 0, "a PNG ends only at IEND");
            break;
        case 'G':
            Require(bytes.back() == ';', "a GIF ends only at its trailer");
            break;
        case 'B':
        case 'R':
            Require(bytes.size() >= 8, "a BMP or WebP end needs the size in its header");
            break;
        case 0x00:
            Require(bytes.size() >= 24 && bytes.sliced(4, 4) == QByteArrayView("ftyp")
                        && QByteArrayView(bytes).indexOf(QByteArrayView("mdat")) >= 0
                        && (QByteArrayView(bytes).indexOf(QByteArrayView("meta")) >= 0
                            || QByteArrayView(bytes).indexOf(QByteArrayView("moov")) >= 0),
                    "an ISO media file ends only after its file type, description and data boxes");
            break;
        default:
            Require(false, "bytes of no known picture format never end");
        }
    }
    return 0;
}
