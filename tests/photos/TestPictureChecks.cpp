#include "SavedFiles.h"
#include "photos/ListingProgress.h"
#include "standin/IsoMediaMaker.h"
#include "standin/PictureMaker.h"
#include "standin/PlaceholderGif.h"
#include "storage/PictureEnd.h"
#include "storage/PictureMetadata.h"
#include "storage/PictureSignature.h"
#include "storage/PictureTime.h"
#include "storage/PlaceholderCheck.h"
#include "storage/UploadTime.h"
#include "storage/VideoSignature.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtEndian>
#include <QtTest>

using namespace albivex;

Q_DECLARE_METATYPE(albivex::PictureSignature)
Q_DECLARE_METATYPE(albivex::PlaceholderVerdict)

namespace {

QByteArray Encoded(int width, int height, const char *format)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

namespace {

// A file type box with these brands, as the start of an ISO media file.
QByteArray FileType(const char *major, const QList<QByteArray> &compatible = {})
{
    QByteArray box = QByteArray(major, 4) + QByteArray("\0\0\0\0", 4);
    for (const QByteArray &brand : compatible)
        box += brand;
    const int size = int(box.size()) + 8;
    return QByteArray(1, '\0') + char(size >> 16) + char(size >> 8) + char(size) + "ftyp" + box;
}

} // namespace

// The checks a downloaded body and the times a listing gives go through before a picture
// is kept: pure functions on plain bytes and text.
class TestPictureChecks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void signature_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<PictureSignature>("expected");
        const auto picture = PictureSignature::Picture;
        const auto notPicture = PictureSignature::NotPicture;
        const auto needMore = PictureSignature::NeedMoreBytes;
        QTest::newRow("jpeg") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10) << false << picture;
        QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16) << false << picture;
        QTest::newRow("gif87a") << QByteArray("GIF87a\x01\x00") << false << picture;
        QTest::newRow("gif89a") << QByteArray("GIF89a") << true << picture;
        QTest::newRow("bmp") << QByteArray("BM\x36\x00\x0C\x00") << false << picture;
        QTest::newRow("webp") << QByteArray("RIFF\x24\x00\x00\x00WEBPVP8 ", 16) << false << picture;
        QTest::newRow("riff but wave")
            << QByteArray("RIFF\x24\x00\x00\x00WAVEfmt ", 16) << false << notPicture;
        QTest::newRow("html page") << QByteArray("<!DOCTYPE html><html>") << false << notPicture;
        QTest::newRow("json error") << QByteArray("{\"code\":-3000}") << false << notPicture;
        QTest::newRow("leading blank before jpeg") << QByteArray(" \xFF\xD8\xFF") << false << notPicture;
        QTest::newRow("one jpeg byte, more to come") << QByteArray("\xFF") << false << needMore;
        QTest::newRow("one jpeg byte, body ended") << QByteArray("\xFF") << true << notPicture;
        QTest::newRow("half a webp header") << QByteArray("RIFF\x01\x02", 6) << false << needMore;
        QTest::newRow("half a webp header, ended") << QByteArray("RIFF\x01\x02", 6) << true << notPicture;
        QTest::newRow("gif prefix") << QByteArray("GIF8") << false << needMore;
        QTest::newRow("gif wrong version") << QByteArray("GIF88a") << false << notPicture;
        QTest::newRow("heic") << albivex::standin::IsoMediaMaker::heic("x") << false << picture;
        QTest::newRow("mif1 major") << FileType("mif1") << true << picture;
        QTest::newRow("heif brand among compatible") << FileType("isom", {"mp41", "msf1"}) << true << picture;
        QTest::newRow("mp4 video") << albivex::standin::IsoMediaMaker::mp4(1) << false << notPicture;
        QTest::newRow("file type box, brands still to come")
            << FileType("isom", {"mp41", "heic"}).left(20) << false << needMore;
        QTest::newRow("file type box cut short") << FileType("isom", {"mp41"}).left(18) << true << notPicture;
        QTest::newRow("file type box too large")
            << FileType("heic").replace(1, 1, "\x01") << false << notPicture;
        QTest::newRow("box that is not ftyp") << QByteArray("\0\0\0\x18moovheic", 12) << false << notPicture;
        QTest::newRow("four bytes, could be a box size") << QByteArray("\0\0\0\x18", 4) << false << needMore;
        QTest::newRow("nothing yet") << QByteArray() << false << needMore;
        QTest::newRow("empty body") << QByteArray() << true << notPicture;
    }
    void signature()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, complete);
        QFETCH(PictureSignature, expected);
        QCOMPARE(CheckPictureSignature(head, complete), expected);
    }

    void videoAndExtension_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("video");
        QTest::addColumn<QString>("extension");
        using albivex::standin::IsoMediaMaker;
        QTest::newRow("mp4") << IsoMediaMaker::mp4(3) << true << "";
        QTest::newRow("quicktime") << FileType("qt  ", {"qt  "}) << true << "";
        QTest::newRow("m4v, brands past the looked-at bytes")
            << FileType("M4V ", QList<QByteArray>(20, "M4V ") << "heic") << true << "";
        QTest::newRow("heic") << IsoMediaMaker::heic("x") << false << ".heic";
        QTest::newRow("jpeg") << QByteArray("\xFF\xD8\xFF\xE0", 4) << false << ".jpg";
        QTest::newRow("png") << QByteArray("\x89PNG\r\n\x1A\n", 8) << false << ".png";
        QTest::newRow("gif") << QByteArray("GIF87a") << false << ".gif";
        QTest::newRow("bmp") << QByteArray("BM\x36\x00") << false << ".bmp";
        QTest::newRow("webp") << QByteArray("RIFF\x24\x00\x00\x00WEBPVP8L", 16) << false << ".webp";
        QTest::newRow("html") << QByteArray("<html>") << false << "";
        QTest::newRow("webp cut short") << QByteArray("RIFF\x24\x00") << false << "";
    }
    void videoAndExtension()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, video);
        QFETCH(QString, extension);
        QCOMPARE(CheckVideoSignature(head, true) == VideoSignature::Video, video);
        QCOMPARE(PictureExtension(head), extension);
        QCOMPARE(!extension.isEmpty(), CheckPictureSignature(head, true) == PictureSignature::Picture);
    }

    void placeholder_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QSize>("listed");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<PlaceholderVerdict>("expected");
        const QByteArray jpeg = Encoded(100, 100, "JPG");
        const QSize large(1024, 768);
        QTest::newRow("jpeg under a quarter") << jpeg << large << true << PlaceholderVerdict::Placeholder;
        QTest::newRow("jpeg cut before its size, ended")
            << jpeg.left(jpeg.indexOf("\xFF\xC0")) << large << true << PlaceholderVerdict::Picture;
        QTest::newRow("gif cut before its size, more to come")
            << QByteArray("GIF89a\x64\x00\x64\x00", 10) << large << false
            << PlaceholderVerdict::NeedMoreBytes;
        QTest::newRow("png under a quarter")
            << Encoded(10, 10, "PNG") << QSize(41, 41) << false << PlaceholderVerdict::Placeholder;
        QTest::newRow("a quarter exactly")
            << Encoded(10, 10, "PNG") << QSize(40, 40) << false << PlaceholderVerdict::Picture;
        QTest::newRow("small in one direction only")
            << Encoded(10, 100, "PNG") << QSize(41, 41) << false << PlaceholderVerdict::Picture;
        QTest::newRow("listed without height")
            << jpeg << QSize(1024, 0) << true << PlaceholderVerdict::Picture;
        // The posts' "图片不存在" GIF is 100 x 100 whatever the picture it stands for.
        const QByteArray gif = albivex::standin::PlaceholderGif::missing();
        QTest::newRow("posts: gif of another size")
            << gif << QSize(160, 120) << true << PlaceholderVerdict::Placeholder;
        QTest::newRow("posts: gif of its listed size")
            << gif << QSize(100, 100) << true << PlaceholderVerdict::Picture;
        QTest::newRow("posts: png of another size")
            << Encoded(100, 100, "PNG") << QSize(160, 120) << true << PlaceholderVerdict::Picture;
    }
    void placeholder()
    {
        QFETCH(QByteArray, head);
        QFETCH(QSize, listed);
        QFETCH(bool, complete);
        QFETCH(PlaceholderVerdict, expected);
        const bool posts = QByteArray(QTest::currentDataTag()).startsWith("posts:");
        QCOMPARE(CheckPlaceholder(head, listed, complete, posts), expected);
        // Albums' pictures are held to the quarter rule alone.
        if (posts && head.startsWith("GIF8"))
            QCOMPARE(CheckPlaceholder(head, listed, complete), PlaceholderVerdict::Picture);
    }

    // When the bytes hold the header a reader needs for the size: the readers of JPEG
    // and PNG complain about fewer bytes; a marker inside a segment is not one.
    void headerWhole_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("whole");
        const QByteArray jpeg = Encoded(100, 100, "JPG");
        const qsizetype scanHeaderEnd = jpeg.indexOf("\xFF\xDA") + 2 + 12; // three components
        const QByteArray png = Encoded(10, 10, "PNG");
        const qsizetype data = png.indexOf("IDAT");
        // An APP15 segment whose contents look like a scan header.
        const QByteArray filler
            = QByteArray("\xFF\xEF\x00\x10", 4) + QByteArray("\xFF\xDA\x00\x0C", 4) + QByteArray(8, 'x');
        QTest::newRow("jpeg up to its first scan header") << jpeg.left(scanHeaderEnd) << true;
        QTest::newRow("jpeg short of it by a byte") << jpeg.left(scanHeaderEnd - 1) << false;
        QTest::newRow("jpeg with a scan header inside a segment")
            << QByteArray("\xFF\xD8", 2) + filler + jpeg.mid(2, 20) << false;
        QTest::newRow("png up to its first data chunk") << png.left(data + 4) << true;
        QTest::newRow("png short of it") << png.left(data + 3) << false;
        QTest::newRow("gif") << QByteArray("GIF89a") << true;
    }
    void headerWhole()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, whole);
        PictureEnd end;
        for (qsizetype at = 0; at < head.size(); at += 7)
            end.feed(QByteArrayView(head).sliced(at, qMin<qsizetype>(7, head.size() - at)));
        QCOMPARE(end.headerWhole(), whole);
    }

    void uploadTime_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected");
        QTest::newRow("service time is UTC+8") << QStringLiteral("2015-12-23 18:05:26")
                                               << QDateTime(QDate(2015, 12, 23), QTime(10, 5, 26), Qt::UTC);
        QTest::newRow("crosses midnight back to UTC")
            << QStringLiteral("2016-01-01 03:00:00") << QDateTime(QDate(2015, 12, 31), QTime(19, 0), Qt::UTC);
        QTest::newRow("no seconds") << QStringLiteral("2015-12-23 18:05")
                                    << QDateTime(QDate(2015, 12, 23), QTime(10, 5), Qt::UTC);
        QTest::newRow("date alone") << QStringLiteral("2015-12-23")
                                    << QDateTime(QDate(2015, 12, 22), QTime(16, 0), Qt::UTC);
        QTest::newRow("blanks around") << QStringLiteral(" 2015-12-23 18:05:26 ")
                                       << QDateTime(QDate(2015, 12, 23), QTime(10, 5, 26), Qt::UTC);
        QTest::newRow("epoch seconds")
            << QStringLiteral("1450879526") << QDateTime::fromSecsSinceEpoch(1450879526, Qt::UTC);
        QTest::newRow("epoch milliseconds")
            << QStringLiteral("1450879526742") << QDateTime::fromSecsSinceEpoch(1450879526, Qt::UTC);
        QTest::newRow("empty") << QString() << QDateTime();
        QTest::newRow("garbage") << QStringLiteral("yesterday") << QDateTime();
        QTest::newRow("impossible date") << QStringLiteral("2015-13-40 10:00:00") << QDateTime();
        QTest::newRow("small number") << QStringLiteral("42") << QDateTime();
        QTest::newRow("far future") << QStringLiteral("2999-01-01 00:00:00") << QDateTime();
        QTest::newRow("before 1970") << QStringLiteral("1960-01-01 00:00:00") << QDateTime();
    }
    void uploadTime()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const QDateTime now(QDate(2024, 6, 1), QTime(0, 0), Qt::UTC);
        const QDateTime parsed = ParseUploadTime(text, now);
        QCOMPARE(parsed.isValid(), expected.isValid());
        if (expected.isValid())
            QCOMPARE(parsed.toSecsSinceEpoch(), expected.toSecsSinceEpoch());
    }

    // The file's time: a plausible shooting time (rawshoottime, else the exif's), else
    // the upload time. Times are China time; `now` is 2024-06-01 08:00 there.
    void fileTime_data()
    {
        QTest::addColumn<QString>("shootTime");
        QTest::addColumn<QString>("exifTime");
        QTest::addColumn<QDateTime>("expected");
        const QDateTime upload(QDate(2015, 12, 23), QTime(10, 5, 26), Qt::UTC);
        const QDateTime shot(QDate(2015, 2, 9), QTime(5, 0, 15), Qt::UTC);
        QTest::newRow("plausible") << QStringLiteral("2015-02-09 13:00:15") << QString() << shot;
        QTest::newRow("seconds") << QStringLiteral("1423458015") << QString() << shot;
        QTest::newRow("wins over exif")
            << QStringLiteral("2015-02-09 13:00:15") << QStringLiteral("2014:01:01 00:00:00") << shot;
        QTest::newRow("exif fallback")
            << QStringLiteral("0") << QStringLiteral("2015:02:09 13:00:15") << shot;
        QTest::newRow("missing") << QString() << QString() << upload;
        QTest::newRow("zero") << QStringLiteral("0") << QStringLiteral("0000:00:00 00:00:00") << upload;
        QTest::newRow("future") << QStringLiteral("2024-06-01 08:00:01") << QString() << upload;
        QTest::newRow("last second") << QStringLiteral("2024-06-01 08:00:00") << QString()
                                     << QDateTime(QDate(2024, 6, 1), QTime(0, 0), Qt::UTC);
        QTest::newRow("before 1990") << QStringLiteral("1989-12-31 23:59:59") << QString() << upload;
        QTest::newRow("1990 itself") << QStringLiteral("1990-01-01 00:00:00") << QString()
                                     << QDateTime(QDate(1989, 12, 31), QTime(16, 0), Qt::UTC);
        QTest::newRow("bad format") << QStringLiteral("09/02/2015 13:00") << QString() << upload;
        QTest::newRow("bad exif") << QString() << QStringLiteral("2015:13:40 25:00:00") << upload;
    }
    void fileTime()
    {
        QFETCH(QString, shootTime);
        QFETCH(QString, exifTime);
        QFETCH(QDateTime, expected);
        PhotoEntry photo;
        photo.uploadTime = QStringLiteral("2015-12-23 18:05:26");
        photo.shootTime = shootTime;
        photo.exif = {{QStringLiteral("make"), QStringLiteral("Canon")}};
        if (!exifTime.isEmpty())
            photo.exif.append({QStringLiteral("originalTime"), exifTime});
        const QDateTime chosen = PictureFileTime(photo, QDateTime(QDate(2024, 6, 1), QTime(0, 0), Qt::UTC));
        QCOMPARE(chosen.toSecsSinceEpoch(), expected.toSecsSinceEpoch());
    }

    // The words go into a JPEG, PNG and WebP where an independent reader finds them,
    // with the compressed image data unchanged; a picture's own shooting time stays;
    // what the library cannot write is an error value, never a throw.
    void metadataWriter_data()
    {
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<QString>("error"); // empty: written
        using standin::PictureRecipe;
        const auto made = [](PictureRecipe::Format format) {
            PictureRecipe recipe;
            recipe.format = format;
            recipe.quality = format == PictureRecipe::Format::Webp ? 100 : 85;
            return standin::PictureMaker::encode(recipe);
        };
        const QByteArray jpeg = made(PictureRecipe::Format::Jpeg);
        QTest::newRow("jpeg") << jpeg << QString();
        QTest::newRow("png") << made(PictureRecipe::Format::Png) << QString();
        QTest::newRow("webp") << made(PictureRecipe::Format::Webp) << QString();
        PictureWords own;
        own.shootTime = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6), QTimeZone(8 * 3600));
        QTest::newRow("jpeg with its own time") << WritePictureMetadata(jpeg, own).bytes << QString();
        QTest::newRow("heic") << standin::IsoMediaMaker::heic(jpeg) << QStringLiteral("kind");
        // An APP1 segment announcing far more bytes than follow, holding half a TIFF header.
        const QByteArray damaged = jpeg.left(2) + QByteArray::fromHex("ffe1fff045786966000049492a00");
        QTest::newRow("damaged header") << damaged << QStringLiteral("any");
        QTest::newRow("gif") << QByteArray("GIF89a\x01\0\x01\0\0\0\0;", 14) << QStringLiteral("any");
        QTest::newRow("nothing") << QByteArray() << QStringLiteral("any");
    }
    void metadataWriter()
    {
        QFETCH(QByteArray, picture);
        QFETCH(QString, error);
        PictureWords words;
        words.shootTime = QDateTime(QDate(2015, 2, 9), QTime(5, 0, 15), Qt::UTC);
        words.caption = QStringLiteral("第1张\n很好 <b>&</b>");
        words.name = QStringLiteral("lang=x-default 小猫,a");
        const MetadataWrite written = WritePictureMetadata(picture, words);
        if (!error.isEmpty()) {
            QVERIFY(!written.ok());
            QVERIFY(written.bytes.isEmpty());
            if (error == QLatin1String("kind"))
                QCOMPARE(written.error, QStringLiteral("no metadata for this kind of picture"));
            return;
        }
        QVERIFY2(written.ok(), qPrintable(written.error));
        QVERIFY(!CompressedData(picture).isEmpty());
        QCOMPARE(CompressedData(written.bytes), CompressedData(picture));
        const QJsonObject tags = ExiftoolTags(written.bytes);
        QVERIFY2(!tags.isEmpty(), "exiftool reads the written picture");
        const bool ownTime = QTest::currentDataTag() == QLatin1String("jpeg with its own time");
        QCOMPARE(tags.value(QLatin1String("ExifIFD:DateTimeOriginal")).toString(),
                 ownTime ? QStringLiteral("2001:02:03 04:05:06") : QStringLiteral("2015:02:09 13:00:15"));
        QCOMPARE(tags.value(QLatin1String("IFD0:ImageDescription")).toString(), words.caption);
        QCOMPARE(tags.value(QLatin1String("XMP-dc:Description")).toString(), words.caption);
        QCOMPARE(tags.value(QLatin1String("XMP-dc:Title")).toString(), words.name);
        QCOMPARE(WritePictureMetadata(picture, PictureWords()).bytes, picture); // nothing to write
    }

    void listingProgress_data()
    {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1 of 3") << 1 << 3 << QStringLiteral("正在获取相册图片..（33%）");
        QTest::newRow("2 of 3") << 2 << 3 << QStringLiteral("正在获取相册图片..（67%）");
        QTest::newRow("1 of 8") << 1 << 8 << QStringLiteral("正在获取相册图片..（13%）");
        QTest::newRow("last of 620") << 620 << 620 << QStringLiteral("正在获取相册图片..（100%）");
        QTest::newRow("1 of 620") << 1 << 620 << QStringLiteral("正在获取相册图片..（0%）");
    }
    void listingProgress()
    {
        QFETCH(int, i);
        QFETCH(int, n);
        QFETCH(QString, expected);
        QCOMPARE(ListingProgressText(i, n), expected);
    }
};

QTEST_GUILESS_MAIN(TestPictureChecks)
#include "TestPictureChecks.moc"
