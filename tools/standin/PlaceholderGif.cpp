#include "standin/PlaceholderGif.h"

#include <QHash>

namespace albivex::standin {

namespace {

// 16 x 16 bitmaps, one row per value, the leftmost pixel in the top bit.
using Glyph = quint16[16];
// 加, 密, 照, 片
const Glyph lockedGlyphs[4] = {
    {0x0000, 0x1000, 0x1000, 0x107E, 0x1046, 0x7F46, 0x1146, 0x1346, 0x1346, 0x1346, 0x1346, 0x3346, 0x3346,
     0x2346, 0x637E, 0xCE46},
    {0x0000, 0x0100, 0x0180, 0x7FFE, 0x6206, 0x63B6, 0x14E8, 0x34CC, 0x6796, 0x4E12, 0x7FF0, 0x6180, 0x318C,
     0x318C, 0x318C, 0x3FFC},
    {0x0000, 0x0000, 0x7DFE, 0x6466, 0x6466, 0x64C6, 0x7F9C, 0x6400, 0x65FC, 0x6584, 0x6584, 0x7DFC, 0x6000,
     0x364C, 0x2666, 0x6266},
    {0x0000, 0x0040, 0x1040, 0x1040, 0x1040, 0x1040, 0x1FFE, 0x1000, 0x1000, 0x1000, 0x1FF0, 0x3010, 0x3010,
     0x2010, 0x6010, 0x6010},
};
// 图, 片, 不, 存, 在
const Glyph missingGlyphs[5] = {
    {0x0000, 0x7FFE, 0x4002, 0x4602, 0x4FE2, 0x5842, 0x46C2, 0x4382, 0x4C72, 0x530A, 0x40C2, 0x4602, 0x41C2,
     0x4002, 0x7FFE, 0x4002},
    {0x0000, 0x0040, 0x1040, 0x1040, 0x1040, 0x1040, 0x1FFE, 0x1000, 0x1000, 0x1000, 0x1FF0, 0x3010, 0x3010,
     0x2010, 0x6010, 0x6010},
    {0x0000, 0x7FFE, 0x0180, 0x0300, 0x06C0, 0x0CB0, 0x1898, 0x308C, 0x6086, 0x0080, 0x0080, 0x0080, 0x0080,
     0x0080, 0x0080, 0x0000},
    {0x0200, 0x0200, 0x7FFE, 0x0800, 0x0BF8, 0x1010, 0x1020, 0x3020, 0x53FF, 0x1020, 0x1020, 0x1020, 0x1020,
     0x10E0, 0x1000, 0x0000},
    {0x0200, 0x0200, 0x7FFE, 0x0800, 0x0820, 0x1020, 0x1020, 0x33FE, 0x5020, 0x1020, 0x1020, 0x1020, 0x1020,
     0x17FE, 0x1000, 0x0000},
};

// Which glyphs, how many to a row, how large, and whether the ground is noisy.
struct Layout
{
    const Glyph *glyphs;
    int count;
    int perRow;
    int scale; // each glyph pixel drawn as scale x scale
    bool noisy;
};
const Layout lockedLayout {lockedGlyphs, 4, 2, 2, true};
const Layout missingLayout {missingGlyphs, 5, 5, 1, false};

constexpr int MinCodeSize = 4; // 16 colours
constexpr int TextColour = 15;

void appendLe16(QByteArray &out, int value)
{
    out.append(char(value & 0xFF));
    out.append(char((value >> 8) & 0xFF));
}

// Writes codes of varying width least significant bit first.
class BitWriter
{
public:
    void write(int code, int width)
    {
        m_bits |= quint32(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_bytes.append(char(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_count > 0)
            m_bytes.append(char(m_bits & 0xFF));
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_bits = 0;
    int m_count = 0;
};

QByteArray indices(const Layout &layout)
{
    QByteArray pixels(PlaceholderGif::Width * PlaceholderGif::Height, 0);
    quint32 state = 0x2545F491U;
    for (int i = 0; layout.noisy && i < pixels.size(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        // Mostly the ground colour, one pixel in five a shade off it.
        pixels[i] = char((state % 5) == 0 ? 1 + (state >> 8) % 6 : 0);
    }
    const int side = 16 * layout.scale;
    const int rows = (layout.count + layout.perRow - 1) / layout.perRow;
    const int left = (PlaceholderGif::Width - layout.perRow * side) / 2;
    const int top = (PlaceholderGif::Height - rows * side) / 2;
    for (int g = 0; g < layout.count; ++g) {
        const int x0 = left + (g % layout.perRow) * side;
        const int y0 = top + (g / layout.perRow) * side;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                if (layout.glyphs[g][y / layout.scale] & (0x8000 >> (x / layout.scale)))
                    pixels[(y0 + y) * PlaceholderGif::Width + x0 + x] = char(TextColour);
            }
        }
    }
    return pixels;
}

QByteArray gifOf(const Layout &layout)
{
    QByteArray gif("GIF89a");
    appendLe16(gif, PlaceholderGif::Width);
    appendLe16(gif, PlaceholderGif::Height);
    gif.append(char(0x80 | ((MinCodeSize - 1) << 4) | (MinCodeSize - 1))); // global table of 16
    gif.append('\0'); // background colour
    gif.append('\0'); // square pixels
    for (int i = 0; i < (1 << MinCodeSize); ++i) {
        const int shade = i == TextColour ? 0x40 : i < 7 ? 0xE0 - i * 6 : 0x80;
        gif.append(char(shade));
        gif.append(char(shade));
        gif.append(char(i == TextColour ? 0x60 : shade));
    }
    gif.append(',');
    appendLe16(gif, 0);
    appendLe16(gif, 0);
    appendLe16(gif, PlaceholderGif::Width);
    appendLe16(gif, PlaceholderGif::Height);
    gif.append('\0'); // no local table, not interlaced
    gif.append(PlaceholderGif::lzwBlocks(indices(layout), MinCodeSize));
    gif.append(';');
    return gif;
}

} // namespace

QByteArray PlaceholderGif::lzwBlocks(const QByteArray &pixels, int minCodeSize)
{
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    BitWriter bits;
    QHash<quint32, int> table; // (prefix code << 8 | next index) -> code
    int codeSize = minCodeSize + 1;
    int lastCode = endCode; // the highest code in use
    bits.write(clearCode, codeSize);
    int prefix = pixels.isEmpty() ? -1 : quint8(pixels[0]);
    for (int i = 1; i < pixels.size(); ++i) {
        const quint8 next = quint8(pixels[i]);
        const quint32 key = (quint32(prefix) << 8) | next;
        const auto found = table.constFind(key);
        if (found != table.constEnd()) {
            prefix = *found;
            continue;
        }
        bits.write(prefix, codeSize);
        table.insert(key, ++lastCode);
        if (lastCode >= (1 << codeSize))
            ++codeSize;
        if (lastCode == 4095) { // the table is full: start afresh
            bits.write(clearCode, codeSize);
            table.clear();
            codeSize = minCodeSize + 1;
            lastCode = endCode;
        }
        prefix = next;
    }
    if (prefix >= 0)
        bits.write(prefix, codeSize);
    bits.write(endCode, codeSize);
    const QByteArray coded = bits.finish();

    QByteArray out;
    out.append(char(minCodeSize));
    for (int at = 0; at < coded.size(); at += 255) {
        const QByteArray block = coded.mid(at, 255);
        out.append(char(block.size()));
        out.append(block);
    }
    out.append('\0');
    return out;
}

QByteArray PlaceholderGif::make()
{
    return gifOf(lockedLayout);
}

QByteArray PlaceholderGif::missing()
{
    return gifOf(missingLayout);
}

} // namespace albivex::standin
