#pragma once

#include <QString>

namespace albivex::standin {

// An album added for benchmarks and hostile tests: N pictures of a chosen size,
// optionally one of them much larger (a 200 MB one is streamed, never held whole).
struct ExtraAlbum
{
    QString name = QStringLiteral("基准相册");
    int pictureCount = 300;
    qint64 pictureBytes = 150 * 1024; // each "/b/" picture is exactly this long (>= 4 KB)
    int bigPictureIndex = 0; // 1-based picture that gets bigPictureBytes; 0: none
    qint64 bigPictureBytes = 0;
};

} // namespace albivex::standin
