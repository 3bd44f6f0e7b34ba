#include "storage/FileTypeBox.h"

#include <QtEndian>

#include <cstring>

namespace albivex {

namespace {

constexpr quint32 MinBoxSize = 16; // size, type, major brand, minor version
constexpr quint32 MaxBoxSize = 4096; // real ones hold a handful of brands

bool IsHeifBrand(const char *brand)
{
    static const char *const brands[] = {"heic", "heix", "hevc", "hevx", "heim", "heis", "mif1", "msf1"};
    for (const char *heif : brands) {
        if (std::memcmp(brand, heif, 4) == 0)
            return true;
    }
    return false;
}

} // namespace

FileTypeBox CheckFileTypeBox(QByteArrayView head, bool complete)
{
    const qsizetype n = qMin<qsizetype>(head.size(), FileTypeBoxLength);
    const char *bytes = head.data();
    if (n >= 1 && bytes[0] != 0)
        return FileTypeBox::None;
    quint32 size = 0;
    if (n >= 4) {
        size = qFromBigEndian<quint32>(bytes);
        if (size < MinBoxSize || size > MaxBoxSize || size % 4 != 0)
            return FileTypeBox::None;
    }
    static const char type[] = "ftyp";
    for (qsizetype i = 4; i < qMin<qsizetype>(n, 8); ++i) {
        if (bytes[i] != type[i - 4])
            return FileTypeBox::None;
    }
    if (n >= 12 && IsHeifBrand(bytes + 8))
        return FileTypeBox::Heif;
    // Compatible brands from offset 16 to the box's end, as far as the looked-at bytes go.
    const qsizetype brandsEnd = qMin<qsizetype>(size, FileTypeBoxLength);
    for (qsizetype at = 16; at + 4 <= qMin(n, brandsEnd); at += 4) {
        if (IsHeifBrand(bytes + at))
            return FileTypeBox::Heif;
    }
    if (n >= 4 && n >= brandsEnd)
        return FileTypeBox::OtherMedia;
    return complete ? FileTypeBox::None : FileTypeBox::NeedMoreBytes;
}

} // namespace albivex
