#pragma once

#include <QByteArray>

namespace albivex::standin {

// The pictures the service puts in place of one it will not or cannot give: a protected
// one (a 100 x 100 GIF of about 2 KB that reads "加密照片", dark text on a grey, slightly
// noisy ground) and a lost one (100 x 100, "图片不存在" on a plain ground, a few hundred
// bytes). Qt writes no GIF and the stand-in draws without fonts, so the glyphs and the
// LZW coder are here.
class PlaceholderGif
{
public:
    static constexpr int Width = 100;
    static constexpr int Height = 100;

    // Always the same bytes: "加密照片".
    static QByteArray make();
    // Always the same bytes: "图片不存在".
    static QByteArray missing();
    // GIF image data of 8-bit colour indices (each below 2^minCodeSize), LZW-coded and
    // cut into sub-blocks, with the closing empty block.
    static QByteArray lzwBlocks(const QByteArray &indices, int minCodeSize);
};

} // namespace albivex::standin
