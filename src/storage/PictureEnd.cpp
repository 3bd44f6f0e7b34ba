#include "storage/PictureEnd.h"

#include <cstring>
#include <limits>

namespace albivex {

namespace {

constexpr int PngSignatureLength = 8;
constexpr int PngChunkHeaderLength = 8; // length and type; the checksum follows the data
constexpr int PngChecksumLength = 4;
constexpr int BoxHeaderLength = 8; // size and type
constexpr int BoxLargeSizeLength = 8; // a 64-bit size after a size field of 1

quint32 bigEndian32(const char *p)
{
    const auto *u = reinterpret_cast<const quint8 *>(p);
    return (quint32(u[0]) << 24) | (quint32(u[1]) << 16) | (quint32(u[2]) << 8) | quint32(u[3]);
}

quint64 bigEndian64(const char *p)
{
    return (quint64(bigEndian32(p)) << 32) | bigEndian32(p + 4);
}

quint32 littleEndian32(const char *p)
{
    const auto *u = reinterpret_cast<const quint8 *>(p);
    return (quint32(u[3]) << 24) | (quint32(u[2]) << 16) | (quint32(u[1]) << 8) | quint32(u[0]);
}

} // namespace

void PictureEnd::start(char first)
{
    switch (static_cast<quint8>(first)) {
    case 0xFF:
        m_format = Format::Jpeg;
        m_step = Step::MarkerPrefix;
        break;
    case 0x89:
        m_format = Format::Png;
        m_step = Step::PngSignature;
        break;
    case 'G':
        m_format = Format::Gif;
        m_step = Step::Header;
        m_headerWhole = true;
        break;
    case 'B':
        m_format = Format::Bmp;
        m_step = Step::Header;
        m_headerWhole = true;
        break;
    case 'R':
        m_format = Format::WebP;
        m_step = Step::Header;
        m_headerWhole = true;
        break;
    case 0x00:
        m_format = Format::IsoMedia;
        m_step = Step::BoxHeader;
        break;
    default:
        m_format = Format::Other;
        m_step = Step::Broken;
        break;
    }
}

void PictureEnd::feed(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_format == Format::Unknown)
        start(bytes.front());
    m_fed += bytes.size();
    switch (m_format) {
    case Format::Jpeg:
        feedJpeg(bytes.data(), bytes.size());
        break;
    case Format::Png:
        feedPng(bytes.data(), bytes.size());
        break;
    case Format::Gif:
        m_reached = bytes.back() == ';';
        break;
    case Format::Bmp:
    case Format::WebP:
        feedHeader(bytes.data(), bytes.size());
        break;
    case Format::IsoMedia:
        feedIsoMedia(bytes.data(), bytes.size());
        break;
    case Format::Unknown:
    case Format::Other:
        break;
    }
}

void PictureEnd::jpegMarker(quint8 code)
{
    if (code == 0xD9) { // end of image
        m_step = Step::Done;
        m_reached = true;
    } else if (code == 0xFF) { // fill byte before a marker
        m_step = Step::MarkerCode;
    } else if (code == 0x01 || code == 0xD8 || (code >= 0xD0 && code <= 0xD7)) {
        m_step = Step::MarkerPrefix; // markers without a length
    } else if (code == 0x00) {
        m_step = Step::Broken;
    } else {
        m_marker = code;
        m_step = Step::LengthHigh;
    }
}

void PictureEnd::feedJpeg(const char *data, qsizetype size)
{
    const char *p = data;
    const char *end = data + size;
    while (p < end) {
        switch (m_step) {
        case Step::MarkerPrefix:
            // The first step too: the signature check saw FF D8 FF, and the walk starts
            // at the first marker.
            if (static_cast<quint8>(*p) != 0xFF) {
                m_step = Step::Broken;
                return;
            }
            m_step = Step::MarkerCode;
            ++p;
            break;
        case Step::MarkerCode:
            jpegMarker(static_cast<quint8>(*p++));
            break;
        case Step::LengthHigh:
            m_length = quint32(static_cast<quint8>(*p++)) << 8;
            m_step = Step::LengthLow;
            break;
        case Step::LengthLow:
            m_length |= static_cast<quint8>(*p++);
            if (m_length < 2) {
                m_step = Step::Broken;
                return;
            }
            m_skip = m_length - 2;
            m_step = Step::SkipSegment;
            break;
        case Step::SkipSegment: {
            const qint64 n = qMin<qint64>(m_skip, end - p);
            p += n;
            m_skip -= n;
            if (m_skip == 0) {
                // After a scan header: its data.
                m_step = m_marker == 0xDA ? Step::Entropy : Step::MarkerPrefix;
                m_headerWhole = m_headerWhole || m_marker == 0xDA;
            }
            break;
        }
        case Step::Entropy: {
            // Inside a scan a 0xFF byte is always followed by 0x00 or a restart marker;
            // anything else is the marker after the scan.
            const void *ff = std::memchr(p, 0xFF, static_cast<size_t>(end - p));
            if (!ff)
                return;
            p = static_cast<const char *>(ff) + 1;
            m_step = Step::EntropyPrefix;
            break;
        }
        case Step::EntropyPrefix: {
            const quint8 code = static_cast<quint8>(*p++);
            if (code == 0x00 || (code >= 0xD0 && code <= 0xD7))
                m_step = Step::Entropy;
            else if (code != 0xFF)
                jpegMarker(code);
            break;
        }
        case Step::Done:
        case Step::Broken:
        default:
            return;
        }
    }
}

void PictureEnd::feedPng(const char *data, qsizetype size)
{
    const char *p = data;
    const char *end = data + size;
    while (p < end) {
        switch (m_step) {
        case Step::PngSignature: {
            const qint64 n = qMin<qint64>(PngSignatureLength - m_headerBytes, end - p);
            p += n;
            m_headerBytes += int(n);
            if (m_headerBytes == PngSignatureLength) {
                m_headerBytes = 0;
                m_step = Step::PngChunkHeader;
            }
            break;
        }
        case Step::PngChunkHeader: {
            const qint64 n = qMin<qint64>(PngChunkHeaderLength - m_headerBytes, end - p);
            std::memcpy(m_header + m_headerBytes, p, static_cast<size_t>(n));
            p += n;
            m_headerBytes += int(n);
            if (m_headerBytes == PngChunkHeaderLength) {
                m_headerBytes = 0;
                m_skip = qint64(bigEndian32(m_header)) + PngChecksumLength;
                m_lastChunk = std::memcmp(m_header + 4, "IEND", 4) == 0;
                m_headerWhole = m_headerWhole || std::memcmp(m_header + 4, "IDAT", 4) == 0;
                m_step = Step::PngSkipChunk;
            }
            break;
        }
        case Step::PngSkipChunk: {
            const qint64 n = qMin<qint64>(m_skip, end - p);
            p += n;
            m_skip -= n;
            if (m_skip == 0) {
                if (m_lastChunk) {
                    m_step = Step::Done;
                    m_reached = true;
                    return;
                }
                m_step = Step::PngChunkHeader;
            }
            break;
        }
        default:
            return;
        }
    }
}

void PictureEnd::feedHeader(const char *data, qsizetype size)
{
    constexpr int needed = 8; // BMP: size at offset 2; WebP: RIFF size at offset 4
    if (m_headerBytes < needed) {
        const int n = int(qMin<qsizetype>(needed - m_headerBytes, size));
        std::memcpy(m_header + m_headerBytes, data, static_cast<size_t>(n));
        m_headerBytes += n;
        if (m_headerBytes == needed) {
            m_announced = m_format == Format::Bmp ? qint64(littleEndian32(m_header + 2))
                                                  : qint64(littleEndian32(m_header + 4)) + 8;
        }
    }
    m_reached = m_announced >= 0 && m_fed >= m_announced;
}

void PictureEnd::feedIsoMedia(const char *data, qsizetype size)
{
    const char *p = data;
    const char *end = data + size;
    while (p < end) {
        switch (m_step) {
        case Step::BoxHeader:
        case Step::BoxLargeSize: {
            const int needed = m_step == Step::BoxHeader ? BoxHeaderLength : BoxLargeSizeLength;
            const int n = int(qMin<qint64>(needed - m_headerBytes, end - p));
            std::memcpy(m_header + m_headerBytes, p, static_cast<size_t>(n));
            p += n;
            m_headerBytes += n;
            if (m_headerBytes == needed) {
                m_headerBytes = 0;
                if (m_step == Step::BoxHeader)
                    boxHeaderRead();
                else
                    boxLargeSizeRead();
            }
            break;
        }
        case Step::BoxSkip: {
            const qint64 n = qMin<qint64>(m_skip, end - p);
            p += n;
            m_skip -= n;
            if (m_skip == 0)
                boxPassed();
            break;
        }
        default:
            return;
        }
    }
}

void PictureEnd::boxHeaderRead()
{
    const quint32 size = bigEndian32(m_header);
    const char *type = m_header + 4;
    if ((m_boxes == 0 && std::memcmp(type, "ftyp", 4) != 0) || size == 0 || (size > 1 && size < 8)) {
        m_step = Step::Broken;
        return;
    }
    ++m_boxes;
    m_inDescription = std::memcmp(type, "meta", 4) == 0 || std::memcmp(type, "moov", 4) == 0;
    m_inData = std::memcmp(type, "mdat", 4) == 0;
    if (size == 1) {
        m_step = Step::BoxLargeSize;
        return;
    }
    m_skip = qint64(size) - BoxHeaderLength;
    m_step = Step::BoxSkip;
    if (m_skip == 0)
        boxPassed();
}

void PictureEnd::boxLargeSizeRead()
{
    const quint64 size = bigEndian64(m_header);
    constexpr quint64 headers = BoxHeaderLength + BoxLargeSizeLength;
    if (size < headers || size > quint64(std::numeric_limits<qint64>::max())) {
        m_step = Step::Broken;
        return;
    }
    m_skip = qint64(size - headers);
    m_step = Step::BoxSkip;
    if (m_skip == 0)
        boxPassed();
}

void PictureEnd::boxPassed()
{
    m_passedDescription = m_passedDescription || m_inDescription;
    m_passedData = m_passedData || m_inData;
    if (m_passedDescription && m_passedData) {
        m_step = Step::Done;
        m_reached = true;
        return;
    }
    m_step = Step::BoxHeader;
}

} // namespace albivex
