#include "standin/PaddedJpegSource.h"

#include <QtEndian>

#include <cstring>

namespace albivex::standin {

namespace {

constexpr qint64 MaxSegment = 2 + 65535; // marker + the largest length field value

quint64 splitMix(quint64 x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// Length of the JFIF header that must stay right after the start marker.
int headLength(const QByteArray &jpeg)
{
    if (jpeg.size() >= 6 && quint8(jpeg[2]) == 0xFF && quint8(jpeg[3]) == 0xE0) {
        const int length = (quint8(jpeg[4]) << 8) | quint8(jpeg[5]);
        if (4 + length <= jpeg.size())
            return 4 + length;
    }
    return qMin(2, int(jpeg.size()));
}

} // namespace

char PaddedJpegSource::fillerByte(qint64 fillerOffset) const
{
    return char(splitMix(m_seed ^ quint64(fillerOffset / 8)) >> (8 * (fillerOffset % 8)));
}

PaddedJpegSource::PaddedJpegSource(const QByteArray &jpeg, qint64 total, quint64 seed) : m_seed(seed)
{
    const int head = headLength(jpeg);
    m_head = jpeg.left(head);
    m_tail = jpeg.mid(head);
    const qint64 filler = total - jpeg.size();
    m_fillerSize = filler <= 0 ? 0 : qMax<qint64>(filler, 4);
}

void PaddedJpegSource::appendFiller(QByteArray &out, qint64 count)
{
    qint64 offset = m_pos - m_head.size();
    while (count > 0) {
        if (offset >= m_segmentStart + m_segmentLength) {
            // Start the next segment; never leave a remainder of 1 to 3 bytes.
            m_segmentStart = offset;
            const qint64 left = m_fillerSize - offset;
            m_segmentLength = qMin(left, MaxSegment);
            const qint64 after = left - m_segmentLength;
            if (after > 0 && after < 4)
                m_segmentLength -= 4;
        }
        const qint64 inSegment = offset - m_segmentStart;
        const qint64 n = qMin(count, m_segmentStart + m_segmentLength - offset);
        const qint64 base = out.size();
        out.resize(base + n);
        char *dst = out.data() + base;
        const qint64 length = m_segmentLength - 2;
        const char header[4] = {char(0xFF), char(0xEF), char(length >> 8), char(length & 0xFF)};
        qint64 i = 0;
        for (; i < n && inSegment + i < 4; ++i)
            dst[i] = header[inSegment + i];
        // Byte k of the filler is byte k % 8 (little-endian) of the word for k / 8: whole
        // words are stored at once, since a picture of hundreds of kilobytes is made anew
        // for every request and byte by byte it cost the server more than the sending.
        for (; i < n && (offset + i) % 8 != 0; ++i)
            dst[i] = fillerByte(offset + i);
        for (; i + 8 <= n; i += 8) {
            const quint64 word = qToLittleEndian(splitMix(m_seed ^ quint64((offset + i) / 8)));
            std::memcpy(dst + i, &word, 8);
        }
        for (; i < n; ++i)
            dst[i] = fillerByte(offset + i);
        offset += n;
        count -= n;
        m_pos += n;
    }
}

QByteArray PaddedJpegSource::read(qint64 maxBytes)
{
    QByteArray out;
    const qint64 want = qMin(maxBytes, size() - m_pos);
    out.reserve(int(qMax<qint64>(want, 0)));
    while (out.size() < want) {
        const qint64 need = want - out.size();
        if (m_pos < m_head.size()) {
            const QByteArray piece = m_head.mid(m_pos, need);
            out += piece;
            m_pos += piece.size();
        } else if (m_pos < m_head.size() + m_fillerSize) {
            appendFiller(out, qMin(need, m_head.size() + m_fillerSize - m_pos));
        } else {
            const QByteArray piece = m_tail.mid(m_pos - m_head.size() - m_fillerSize, need);
            out += piece;
            m_pos += piece.size();
        }
    }
    return out;
}

} // namespace albivex::standin
