#include "standin/IsoMediaMaker.h"

#include <QList>
#include <QtEndian>

namespace albivex::standin {

namespace {

constexpr int VideoWidth = 320;
constexpr int VideoHeight = 240;
constexpr int Timescale = 1000;
constexpr int SampleCount = 6;
constexpr int SampleDelta = 40; // 25 frames a second

QByteArray be16(quint16 value)
{
    QByteArray out(2, '\0');
    qToBigEndian(value, out.data());
    return out;
}

QByteArray be32(quint32 value)
{
    QByteArray out(4, '\0');
    qToBigEndian(value, out.data());
    return out;
}

QByteArray zeros(int count)
{
    return QByteArray(count, '\0');
}

// The unity transformation matrix of mvhd and tkhd.
QByteArray unityMatrix()
{
    return be32(0x00010000) + be32(0) + be32(0) + be32(0) + be32(0x00010000) + be32(0) + be32(0) + be32(0)
        + be32(0x40000000);
}

QByteArray sampleBytes(quint32 seed, int index, int size)
{
    QByteArray out(size, '\0');
    quint32 state = seed * 2654435761U + quint32(index) * 40503U + 1;
    for (int i = 0; i < size; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        out[i] = char(state >> 24);
    }
    return out;
}

QByteArray sampleTable(const QList<int> &sizes, quint32 chunkOffset)
{
    QByteArray avc1 = zeros(6) + be16(1) // reserved, data reference index
        + zeros(16) + be16(VideoWidth) + be16(VideoHeight) + be32(0x00480000) + be32(0x00480000) + be32(0)
        + be16(1) + zeros(32) + be16(0x0018) + be16(0xFFFF);
    QByteArray stsz = be32(0) + be32(quint32(sizes.size()));
    for (int size : sizes)
        stsz += be32(quint32(size));
    using M = IsoMediaMaker;
    return M::box("stbl",
                  M::fullBox("stsd", 0, 0, be32(1) + M::box("avc1", avc1))
                      + M::fullBox("stts", 0, 0, be32(1) + be32(quint32(sizes.size())) + be32(SampleDelta))
                      + M::fullBox("stsc", 0, 0, be32(1) + be32(1) + be32(quint32(sizes.size())) + be32(1))
                      + M::fullBox("stsz", 0, 0, stsz)
                      + M::fullBox("stco", 0, 0, be32(1) + be32(chunkOffset)));
}

QByteArray movie(const QList<int> &sizes, quint32 chunkOffset)
{
    using M = IsoMediaMaker;
    const quint32 duration = quint32(sizes.size() * SampleDelta);
    const QByteArray mvhd = M::fullBox("mvhd", 0, 0,
                                       be32(0) + be32(0) + be32(Timescale) + be32(duration) + be32(0x00010000)
                                           + be16(0x0100) + zeros(10) + unityMatrix() + zeros(24) + be32(2));
    const QByteArray tkhd = M::fullBox("tkhd", 0, 3,
                                       be32(0) + be32(0) + be32(1) + be32(0) + be32(duration) + zeros(8)
                                           + be16(0) + be16(0) + be16(0) + be16(0) + unityMatrix()
                                           + be32(VideoWidth << 16) + be32(VideoHeight << 16));
    const QByteArray mdhd
        = M::fullBox("mdhd", 0, 0,
                     be32(0) + be32(0) + be32(Timescale) + be32(duration) + be16(0x55C4) // und
                         + be16(0));
    const QByteArray hdlr
        = M::fullBox("hdlr", 0, 0, be32(0) + "vide" + zeros(12) + QByteArray("VideoHandler", 13));
    const QByteArray minf
        = M::box("minf",
                 M::fullBox("vmhd", 0, 1, zeros(8))
                     + M::box("dinf", M::fullBox("dref", 0, 0, be32(1) + M::fullBox("url ", 0, 1, {})))
                     + sampleTable(sizes, chunkOffset));
    return M::box("moov", mvhd + M::box("trak", tkhd + M::box("mdia", mdhd + hdlr + minf)));
}

} // namespace

QByteArray IsoMediaMaker::box(const char type[5], const QByteArray &payload)
{
    return be32(quint32(8 + payload.size())) + QByteArray(type, 4) + payload;
}

QByteArray IsoMediaMaker::fullBox(const char type[5], int version, quint32 flags, const QByteArray &payload)
{
    return box(type, be32((quint32(version) << 24) | (flags & 0xFFFFFF)) + payload);
}

QByteArray IsoMediaMaker::mp4(quint32 seed)
{
    const QByteArray ftyp = box("ftyp", QByteArray("isom") + be32(0x200) + "isom" + "mp42");
    QList<int> sizes;
    QByteArray samples;
    for (int i = 0; i < SampleCount; ++i) {
        sizes.append(300 + int((seed >> (i * 3)) % 400));
        samples += sampleBytes(seed, i, sizes.last());
    }
    // The chunk offset does not change the size of moov, so one pass finds it.
    const int moovSize = int(movie(sizes, 0).size());
    const quint32 chunkOffset = quint32(ftyp.size() + moovSize + 8);
    return ftyp + movie(sizes, chunkOffset) + box("mdat", samples);
}

QByteArray IsoMediaMaker::heic(const QByteArray &payload)
{
    const QByteArray ftyp = box("ftyp", QByteArray("heic") + be32(0) + "mif1" + "heic");
    const QByteArray hdlr = fullBox("hdlr", 0, 0, be32(0) + "pict" + zeros(12) + QByteArray(1, '\0'));
    const QByteArray pitm = fullBox("pitm", 0, 0, be16(1));
    const QByteArray infe = fullBox("infe", 2, 0, be16(1) + be16(0) + "hvc1" + QByteArray(1, '\0'));
    const QByteArray iinf = fullBox("iinf", 0, 0, be16(1) + infe);
    const auto iloc = [&payload](quint32 offset) {
        // offset_size 4, length_size 4, base_offset_size 0; one item, one extent.
        return fullBox("iloc", 0, 0,
                       QByteArray("\x44\x00", 2) + be16(1) + be16(1) + be16(0) + be16(1) + be32(offset)
                           + be32(quint32(payload.size())));
    };
    const int metaSize = int(fullBox("meta", 0, 0, hdlr + pitm + iinf + iloc(0)).size());
    const quint32 dataOffset = quint32(ftyp.size() + metaSize + 8);
    return ftyp + fullBox("meta", 0, 0, hdlr + pitm + iinf + iloc(dataOffset)) + box("mdat", payload);
}

} // namespace albivex::standin
