#pragma once

#include <QByteArray>

namespace albivex::standin {

// The picture the service puts in place of a protected one: a 100 x 100 GIF of about
// 2 KB that reads "加密照片" (dark text on a grey, slightly noisy ground). Qt writes no
// GIF and the stand-in draws without fonts, so the glyphs and the LZW coder are here.
class PlaceholderGif
{
public:
    static constexpr int Width = 100;
    static constexpr int Height = 100;

    // Always the same bytes.
    static QByteArray make();
    // GIF image data of 8-bit colour indices (each below 2^minCodeSize), LZW-coded and
    // cut into sub-blocks, with the closing empty block.
    static QByteArray lzwBlocks(const QByteArray &indices, int minCodeSize);
};

} // namespace albivex::standin
