// WritePictureMetadata runs the metadata library on picture bytes straight from the
// network. Whatever they are, it returns a value and never throws or crashes; a picture
// it wrote is one it can write again.

#include "FuzzSupport.h"
#include "storage/PictureMetadata.h"

#include <QTimeZone>

using namespace albivex;
using namespace albivex::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray picture(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    PictureWords words;
    words.shootTime = QDateTime(QDate(2015, 2, 9), QTime(13, 0, 15), QTimeZone(8 * 3600));
    words.caption = QStringLiteral("第1张\n很好");
    words.name = QStringLiteral("小猫");
    const MetadataWrite written = WritePictureMetadata(picture, words);
    Require(written.ok() != written.bytes.isEmpty(), "either new bytes or an error");
    if (written.ok())
        Require(WritePictureMetadata(written.bytes, words).ok(), "a written picture can be written again");
    Require(WritePictureMetadata(picture, PictureWords()).bytes == picture,
            "nothing to write changes nothing");
    return 0;
}
