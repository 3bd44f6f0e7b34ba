#pragma once

#include <QString>

namespace albivex::standin {

// An album added for benchmarks and hostile tests: N pictures of a chosen size,
// optionally one of them much larger (a 200 MB one is streamed, never held whole).
struct ExtraAlbum
{
    QString name = QStringLiteral("基准相册");
    int pictureCount = 300;
    // Each "/b/" picture is exactly this long from 4 KB up (a smaller size gives the
    // plain image, about 3 KB); its "/c/" form is the plain image.
    qint64 pictureBytes = 150 * 1024;
    int bigPictureIndex = 0; // 1-based picture that gets bigPictureBytes; 0: none
    qint64 bigPictureBytes = 0;
};

} // namespace albivex::standin
