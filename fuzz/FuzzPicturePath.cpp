// PictureFileName and AlbumFolderPath form the path of a saved picture from the QQ
// number, the album name and the picture name, all of them from the service.

#include "FuzzSupport.h"
#include "storage/SaveLayout.h"

#include <QDir>

#include <fuzzer/FuzzedDataProvider.h>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

QString TakeText(FuzzedDataProvider &input, bool utf16)
{
    const std::string bytes = input.ConsumeRandomLengthString(600);
    const auto *data = reinterpret_cast<const uint8_t *>(bytes.data());
    return utf16 ? Utf16Text(data, bytes.size()) : Utf8Text(data, bytes.size());
}

void CheckFileName(const QString &file, NamingMode mode, int sequence)
{
    Require(file.endsWith(QLatin1String(".jpg")), "a picture file ends in .jpg", file);
    Require(!file.contains(QLatin1Char('/')) && !file.contains(QLatin1Char('\\')),
            "a picture file name holds no separator", file);
    Require(file.toUtf8().size() <= MaxNameBytes, "a picture file name fits the file system's length", file);
    if (mode == NamingMode::SequenceAndName)
        Require(file.startsWith(QString::number(sequence) + QLatin1Char('.')), "the sequence leads", file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool utf16 = input.ConsumeBool();
    const auto mode = static_cast<NamingMode>(input.ConsumeIntegralInRange(0, 2));
    const int sequence = input.ConsumeIntegralInRange(1, std::numeric_limits<int>::max());
    static const QStringList saveFolders
        = {QStringLiteral("/save"), QStringLiteral("/save/"), QStringLiteral("relative/save"),
           QStringLiteral("C:/Users/me/QQ空间相册"), QStringLiteral("/")};
    const QString saveFolder
        = saveFolders.at(input.ConsumeIntegralInRange<qsizetype>(0, saveFolders.size() - 1));
    const QString owner = TakeText(input, utf16);
    const QString album = TakeText(input, utf16);
    const QString picture = TakeText(input, utf16);

    const QString albumFolder = AlbumFolderPath(saveFolder, owner, album, false);
    const QString cleanSave = QDir::cleanPath(saveFolder);
    const QString cleanAlbum = QDir::cleanPath(albumFolder);
    const QString saveRoot = cleanSave.endsWith(QLatin1Char('/')) ? cleanSave : cleanSave + QLatin1Char('/');
    // Owner folder and album folder: exactly two levels below the save folder.
    Require(cleanAlbum.startsWith(saveRoot), "the album folder lies inside the save folder", cleanAlbum);
    Require(cleanAlbum.sliced(saveRoot.size()).count(QLatin1Char('/')) == 1,
            "the album folder lies two levels below the save folder", cleanAlbum);

    for (const FileSystemRules rules : {FileSystemRules::Posix, FileSystemRules::Windows}) {
        const QString file = PictureFileName(mode, sequence, picture, rules);
        CheckFileName(file, mode, sequence);
        const QString path = QDir::cleanPath(albumFolder + QLatin1Char('/') + file);
        Require(path.startsWith(cleanAlbum + QLatin1Char('/')), "the picture lies inside the album folder",
                path);
        Require(path.sliced(cleanAlbum.size() + 1) == file, "the picture lies directly in the album folder",
                path);
    }
    return 0;
}
