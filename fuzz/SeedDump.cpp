// albivex-fuzz-seeds DIR: writes what the stand-in services answer, in the forms the
// harnesses read, as seed files "standin-*" under DIR/<harness>/ (normally
// fuzz/corpus). The stand-in's answers are the closest thing to the real services'
// we have, so the fuzzers start from every form the parsers are known to meet.

#include "standin/AlbumListAnswer.h"
#include "standin/DataSet.h"
#include "standin/ErrorAnswer.h"
#include "standin/FloatviewAnswer.h"
#include "standin/HostileAnswers.h"
#include "standin/IsoMediaMaker.h"
#include "standin/PhotoListAnswer.h"
#include "standin/PictureMaker.h"
#include "standin/SignInBook.h"
#include "standin/StandinData.h"
#include "standin/StandinKnobs.h"
#include "standin/WebPages.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <utility>

using namespace albivex::standin;

namespace {

const QString Root = QStringLiteral("http://127.0.0.1:8123");
const QString ListCallback = QStringLiteral("shine0_Callback");

class SeedWriter
{
public:
    explicit SeedWriter(const QString &dir) : m_dir(dir) { }

    bool write(const QString &harness, const QString &name, const QByteArray &bytes)
    {
        const QString folder = m_dir + QLatin1Char('/') + harness;
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/standin-") + name);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            m_ok = false;
            return false;
        }
        ++m_count;
        return true;
    }
    bool write(const QString &harness, const QString &name, const QString &text)
    {
        return write(harness, name, text.toUtf8());
    }
    bool ok() const { return m_ok; }
    int count() const { return m_count; }

private:
    QString m_dir;
    bool m_ok = true;
    int m_count = 0;
};

// The byte form FuzzedDataProvider reads for fuzz_picture_path: three strings from the
// front (a backslash doubled; a backslash and another byte end a string), then from
// the back one byte each for the UTF-16 flag, the naming mode, four for the sequence
// and one for the save folder.
QByteArray PicturePathInput(const QString &owner, const QString &album, const QString &picture, int sequence)
{
    QByteArray bytes;
    for (const QString &text : {owner, album, picture})
        bytes += text.toUtf8().replace('\\', "\\\\") + "\\ ";
    bytes += char(sequence % 5);
    for (int shift = 0; shift < 32; shift += 8)
        bytes += char((sequence >> shift) & 0xFF);
    bytes += char(sequence % 3);
    bytes += char(0); // UTF-8
    return bytes;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: albivex-fuzz-seeds DIR\n");
        return 2;
    }
    SeedWriter seeds(QString::fromLocal8Bit(argv[1]));
    const DataSet data;

    // Album lists of every space, the error answers and the broken one.
    seeds.write(QStringLiteral("fuzz_album_list"), QStringLiteral("main.txt"),
                AlbumListAnswer::list(ListCallback, Root, data.albums(Space::Main)));
    seeds.write(QStringLiteral("fuzz_album_list"), QStringLiteral("second.txt"),
                AlbumListAnswer::list(ListCallback, Root, data.albums(Space::Second)));
    seeds.write(QStringLiteral("fuzz_album_list"), QStringLiteral("third.txt"),
                AlbumListAnswer::list(ListCallback, Root, data.albums(Space::Third)));
    seeds.write(QStringLiteral("fuzz_album_list"), QStringLiteral("empty.txt"),
                AlbumListAnswer::list(ListCallback, Root, {}));
    seeds.write(QStringLiteral("fuzz_album_list"), QStringLiteral("not-signed-in.txt"),
                AlbumListAnswer::notSignedIn(ListCallback));
    seeds.write(QStringLiteral("fuzz_album_list"), QStringLiteral("closed.txt"),
                AlbumListAnswer::closedSpace(ListCallback));
    seeds.write(QStringLiteral("fuzz_album_list"), QStringLiteral("unbalanced-quotes.txt"),
                HostileAnswers::unbalancedQuotes(ListCallback, Root));
    seeds.write(QStringLiteral("fuzz_album_list"), QStringLiteral("many.txt"),
                HostileAnswers::manyAlbums(ListCallback, 20));

    // The error answers and a page of albums, each behind the status byte of "200" (the
    // answer verdict's first input byte picks the HTTP status).
    for (const int code : {ErrorAnswer::NotSignedIn, ErrorAnswer::ClosedSpace, ErrorAnswer::ServerBusy,
                           ErrorAnswer::ServerBusyToo, ErrorAnswer::TooFrequent, ErrorAnswer::NoAccess}) {
        seeds.write(QStringLiteral("fuzz_answer_verdict"), QStringLiteral("code%1.txt").arg(code),
                    QByteArray(1, '\0') + ErrorAnswer::of(ListCallback, code).toUtf8());
    }
    seeds.write(QStringLiteral("fuzz_answer_verdict"), QStringLiteral("page.txt"),
                QByteArray(1, '\0')
                    + AlbumListAnswer::list(ListCallback, Root, data.albums(Space::Main).mid(0, 2)).toUtf8());

    // A first page of every album (at most 20 pictures), names and descriptions.
    QList<AlbumInfo> albums = data.albums(Space::Main) + data.albums(Space::Second);
    for (const AlbumInfo &album : albums) {
        const QString owner = QString::fromLatin1(MainUin);
        seeds.write(QStringLiteral("fuzz_photo_list"), album.id + QStringLiteral(".txt"),
                    PhotoListAnswer::page(ListCallback, Root, owner, album, data, 0, 20));
        seeds.write(QStringLiteral("fuzz_unescape_unicode"), album.id + QStringLiteral("-name.txt"),
                    album.wireName);
        if (album.wireDesc.contains(QLatin1Char('\\')))
            seeds.write(QStringLiteral("fuzz_unescape_unicode"), album.id + QStringLiteral("-desc.txt"),
                        album.wireDesc);
        seeds.write(QStringLiteral("fuzz_folder_name"), album.id + QStringLiteral(".txt"), album.wireName);
        for (int n = 1; n <= qMin(album.total, 8); ++n) {
            const QString picture = data.pictureMeta(album, n).name;
            seeds.write(QStringLiteral("fuzz_folder_name"), QStringLiteral("%1-%2.txt").arg(album.id).arg(n),
                        picture);
            seeds.write(QStringLiteral("fuzz_picture_path"), QStringLiteral("%1-%2.bin").arg(album.id).arg(n),
                        PicturePathInput(owner, album.wireName, picture, n));
        }
    }
    seeds.write(QStringLiteral("fuzz_photo_list"), QStringLiteral("album-missing.txt"),
                PhotoListAnswer::albumMissing(ListCallback));

    // Floatview around the first picture of albums with videos, originals of every
    // format and another space's originals; the third space's photo lists too.
    for (const AlbumInfo &album : data.albums(Space::Third)) {
        seeds.write(QStringLiteral("fuzz_photo_list"), album.id + QStringLiteral(".txt"),
                    PhotoListAnswer::page(ListCallback, Root, album.ownerUin, album, data, 0, 20, true));
    }
    for (const char *id : {"V3video", "V1dots", "V1three", "V2scenery"}) {
        const std::optional<AlbumInfo> album = data.findAlbum(QString::fromLatin1(id));
        if (album) {
            seeds.write(QStringLiteral("fuzz_floatview"), QString::fromLatin1(id) + QStringLiteral(".txt"),
                        FloatviewAnswer::photos(QStringLiteral("viewer_Callback"), Root, *album, data, 0, 0,
                                                99, false));
        }
    }
    seeds.write(QStringLiteral("fuzz_floatview"), QStringLiteral("album-missing.txt"),
                PhotoListAnswer::albumMissing(QStringLiteral("viewer_Callback")));

    // Cookie texts of sign-ins (the skey is random on every run).
    SignInBook book;
    for (const char *uin : {MainUin, SecondUin, "10001", "1234567890"}) {
        seeds.write(QStringLiteral("fuzz_cookie_capture"), QString::fromLatin1(uin) + QStringLiteral(".txt"),
                    book.issue(QString::fromLatin1(uin)).cookieHeader());
    }

    // Profile answers, with and without a nickname.
    for (const char *uin : {MainUin, SecondUin, NoNicknameUin, "10001"}) {
        const QString number = QString::fromLatin1(uin);
        seeds.write(
            QStringLiteral("fuzz_nickname"), number + QStringLiteral(".txt"),
            WebPages::profile(QStringLiteral("GetCdlistCallback"), number, DataSet::nickname(number)));
    }

    seeds.write(QStringLiteral("fuzz_version_file"), QStringLiteral("version.txt"),
                StandinKnobs().versionText());

    // Small pictures of every format whose end is followed, whole and cut.
    PictureRecipe recipe;
    recipe.width = 16;
    recipe.height = 12;
    const QByteArray jpeg = PictureMaker::encode(recipe);
    recipe.format = PictureRecipe::Format::Png;
    const QByteArray png = PictureMaker::encode(recipe);
    QByteArray bmp;
    QBuffer bmpBuffer(&bmp);
    bmpBuffer.open(QIODevice::WriteOnly);
    PictureMaker::draw(recipe).save(&bmpBuffer, "BMP");
    // A 1x1 GIF and the start of a WebP: their ends are only a trailer byte and a size.
    static const char gifBytes[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0,   0, 0, ',', 0,
                                    0,   0,   0,   1,   0,   1,   0, 0, 2, 2, 'D', 1, 0, ';'};
    static const char webpBytes[] = {'R', 'I', 'F', 'F', 12, 0, 0, 0, 'W', 'E', 'B', 'P', 'V', 'P', '8', ' '};
    const QByteArray gif(gifBytes, sizeof gifBytes);
    const QByteArray webp(webpBytes, sizeof webpBytes);
    const QByteArray heic = IsoMediaMaker::heic(QByteArray(40, 'h'));
    const QByteArray mp4 = IsoMediaMaker::mp4(7);
    const QString end = QStringLiteral("fuzz_picture_end");
    for (const auto &[name, bytes] :
         {std::pair {"jpeg", jpeg}, std::pair {"png", png}, std::pair {"bmp", bmp}, std::pair {"gif", gif},
          std::pair {"webp", webp}, std::pair {"heic", heic}, std::pair {"mp4", mp4}}) {
        seeds.write(end, QString::fromLatin1(name) + QStringLiteral(".bin"), bytes);
        seeds.write(end, QString::fromLatin1(name) + QStringLiteral("-cut.bin"),
                    bytes.left(bytes.size() / 2));
    }

    std::printf("%d seed files written\n", seeds.count());
    return seeds.ok() ? 0 : 1;
}
