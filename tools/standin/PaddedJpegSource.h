#pragma once

#include "standin/BodySource.h"

namespace albivex::standin {

// A real JPEG stretched to a chosen size: filler segments (APP15, which every decoder
// skips by their length) go between the JFIF header and the rest of the image. The
// filler is a counter-based pseudo-random stream, so any size is produced in pieces,
// always the same bytes for the same seed, and the picture still decodes.
class PaddedJpegSource : public BodySource
{
public:
    // The result is exactly `total` bytes when total >= PaddedJpegSource::minimumSize(jpeg);
    // smaller requests give the JPEG unchanged. A filler that would be 1 to 3 bytes
    // (too short for a segment) is made 4 bytes long.
    PaddedJpegSource(const QByteArray &jpeg, qint64 total, quint64 seed);

    static qint64 minimumSize(const QByteArray &jpeg) { return jpeg.size() + 4; }

    qint64 size() const override { return m_head.size() + m_fillerSize + m_tail.size(); }
    QByteArray read(qint64 maxBytes) override;

private:
    void appendFiller(QByteArray &out, qint64 count);
    char fillerByte(qint64 fillerOffset) const;

    QByteArray m_head; // start marker and JFIF header
    QByteArray m_tail; // everything after them
    qint64 m_fillerSize = 0;
    quint64 m_seed;
    qint64 m_pos = 0;
    // The filler segment being written: its first offset and its length with header.
    qint64 m_segmentStart = 0;
    qint64 m_segmentLength = 0;
};

} // namespace albivex::standin
