#include "storage/PictureMetadata.h"

#include "storage/PictureSignature.h"

#include <QTimeZone>

#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>
#include <mutex>

namespace albivex {

namespace {

// The XMP toolkit keeps shared state; the library takes this lock around it when
// pictures are written on several threads at once.
void lockXmp(void *mutex, bool lock)
{
    auto *m = static_cast<std::recursive_mutex *>(mutex);
    if (lock)
        m->lock();
    else
        m->unlock();
}

void initialiseOnce()
{
    static std::once_flag once;
    static std::recursive_mutex xmpMutex;
    std::call_once(once, [] {
        // Its messages would go to stderr for every odd picture off the network;
        // the caller logs what matters.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize(lockXmp, &xmpMutex);
    });
}

std::string utf8(const QString &text)
{
    return text.toStdString();
}

// A text as an XMP language alternative; the explicit language keeps a caption that
// starts with "lang=" from being read as one.
void setLangAlt(Exiv2::XmpData &xmp, const char *key, const QString &text)
{
    Exiv2::LangAltValue value;
    value.value_[std::string("x-default")] = utf8(text);
    xmp[key].setValue(&value); // replaces what the picture had under the key
}

bool writable(int type)
{
    return type == Exiv2::ImageType::jpeg || type == Exiv2::ImageType::png || type == Exiv2::ImageType::webp;
}

MetadataWrite writeWith(const QByteArray &picture, const PictureWords &words)
{
    auto image = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte *>(picture.constData()),
                                           static_cast<long>(picture.size()));
    if (!image.get() || !image->good())
        return {{}, QStringLiteral("not a picture")};
    if (!writable(image->imageType()))
        return {{}, QStringLiteral("no metadata for this kind of picture")};
    image->readMetadata();

    Exiv2::ExifData &exif = image->exifData();
    const Exiv2::ExifKey taken("Exif.Photo.DateTimeOriginal");
    if (words.shootTime.isValid() && exif.findKey(taken) == exif.end()) {
        const QDateTime china = words.shootTime.toTimeZone(QTimeZone(8 * 3600));
        exif[taken.key()] = utf8(china.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")));
        exif["Exif.Photo.OffsetTimeOriginal"] = std::string("+08:00");
    }
    if (!words.caption.isEmpty()) {
        exif["Exif.Image.ImageDescription"] = utf8(words.caption);
        setLangAlt(image->xmpData(), "Xmp.dc.description", words.caption);
    }
    if (!words.name.isEmpty())
        setLangAlt(image->xmpData(), "Xmp.dc.title", words.name);
    image->writeMetadata();

    Exiv2::BasicIo &io = image->io();
    if (io.seek(0, Exiv2::BasicIo::beg) != 0)
        return {{}, QStringLiteral("the written picture cannot be read back")};
    const Exiv2::DataBuf written = io.read(static_cast<long>(io.size()));
    if (written.size_ <= 0 || written.size_ != static_cast<long>(io.size()))
        return {{}, QStringLiteral("the written picture cannot be read back")};
    // Some damaged pictures (a PNG without its header chunk) take the words but come
    // out as something the library no longer reads: such a picture is kept as it came.
    auto check = Exiv2::ImageFactory::open(written.pData_, written.size_);
    if (!check.get() || check->imageType() != image->imageType())
        return {{}, QStringLiteral("the written picture cannot be read back")};
    check->readMetadata();
    return {QByteArray(reinterpret_cast<const char *>(written.pData_), written.size_), QString()};
}

} // namespace

MetadataWrite WritePictureMetadata(const QByteArray &picture, const PictureWords &words)
{
    if (!words.shootTime.isValid() && words.caption.isEmpty() && words.name.isEmpty())
        return {picture, QString()};
    initialiseOnce();
    // The library reports what it cannot read or write by throwing; none of that may
    // leave this function.
    try {
        return writeWith(picture, words);
    } catch (const Exiv2::AnyError &error) {
        return {{}, QString::fromStdString(error.what())};
    } catch (const std::exception &error) {
        return {{}, QString::fromStdString(error.what())};
    } catch (...) {
        return {{}, QStringLiteral("the metadata library failed")};
    }
}

bool TakesPictureWords(const QByteArray &head)
{
    const QString extension = PictureExtension(head);
    return extension == QLatin1String(".jpg") || extension == QLatin1String(".png")
        || extension == QLatin1String(".webp") || extension == QLatin1String(".heic");
}

} // namespace albivex
