#pragma once

#include <QByteArrayView>
#include <QtGlobal>

namespace albivex {

// Follows a picture's bytes as they arrive and tells whether the picture's own
// structure says it has ended:
// - JPEG: the end-of-image marker, reached by walking the segments by their lengths
//   and the entropy-coded data of every scan (bytes after that marker are ignored);
// - PNG: the IEND chunk, with its checksum;
// - BMP and WebP: the file size their header announces;
// - GIF: the trailer byte 0x3B as the last byte so far (a cut GIF ends so by chance
//   once in 256 times; its blocks are not walked).
// - ISO media files (HEIC pictures, MP4 videos; the first byte is 0, the high byte of
//   the file type box's size): the top-level boxes are walked by their sizes, the
//   first being "ftyp". The file has ended at the first box boundary where both its
//   description (a "meta" box, HEIF, or a "moov" box, MP4) and its data (an "mdat"
//   box) have been passed whole, in either order. A body cut inside any box, or
//   before one of the two, never ends. A box whose size says "to the end of the file"
//   (0) has no end of its own, nor has a size below its header: such a body never
//   ends here. A file with several data boxes counts as ended after the first one;
//   those the service gives carry one.
// A picture sent without a length the transport vouches for (a chunked body, or one
// ended by closing the connection) is whole only when this says so: the network
// layer may report such a body as complete when the connection was merely cut.
// Feeding is linear in the bytes and keeps a few bytes of state.
//
// It also tells when the bytes hold the whole header an image reader needs for the
// picture's size: a JPEG's segments up to and with its first scan header, a PNG's
// chunks before its first IDAT. (Both readers complain in the log for every look at
// fewer bytes; the GIF, BMP and WebP readers take what there is quietly, so for them
// it holds from the first byte.)
class PictureEnd
{
public:
    void feed(QByteArrayView bytes);
    bool reached() const { return m_reached; }
    bool headerWhole() const { return m_headerWhole; }
    qint64 fed() const { return m_fed; }

private:
    enum class Format { Unknown, Jpeg, Png, Gif, Bmp, WebP, IsoMedia, Other };
    enum class Step {
        // JPEG
        MarkerPrefix,
        MarkerCode,
        LengthHigh,
        LengthLow,
        SkipSegment,
        Entropy,
        EntropyPrefix,
        // PNG
        PngSignature,
        PngChunkHeader,
        PngSkipChunk,
        // ISO media
        BoxHeader,
        BoxLargeSize,
        BoxSkip,
        // BMP, WebP, GIF: only a header or the last byte matters
        Header,
        Done,
        Broken,
    };

    void start(char first);
    void feedJpeg(const char *data, qsizetype size);
    void feedPng(const char *data, qsizetype size);
    void feedHeader(const char *data, qsizetype size);
    void feedIsoMedia(const char *data, qsizetype size);
    // The header of a top-level box has been read: its size and type, or its size.
    void boxHeaderRead();
    void boxLargeSizeRead();
    // The bytes of the box being passed over are all in: what comes next.
    void boxPassed();
    // A JPEG marker code after 0xFF, outside a segment: what follows it.
    void jpegMarker(quint8 code);

    Format m_format = Format::Unknown;
    Step m_step = Step::MarkerPrefix;
    bool m_reached = false;
    bool m_headerWhole = false;
    qint64 m_fed = 0;
    qint64 m_skip = 0; // bytes of a segment or chunk still to pass over
    quint8 m_marker = 0; // the JPEG marker whose length is being read
    quint32 m_length = 0;
    bool m_lastChunk = false; // the PNG chunk being passed over is IEND
    char m_header[12] = {}; // the first bytes (BMP, WebP), a PNG chunk or ISO box header
    int m_headerBytes = 0;
    qint64 m_announced = -1; // BMP, WebP: the whole size
    // ISO media: boxes seen, the kind of the box being passed over, what was passed whole.
    int m_boxes = 0;
    bool m_inDescription = false;
    bool m_inData = false;
    bool m_passedDescription = false;
    bool m_passedData = false;
};

} // namespace albivex
