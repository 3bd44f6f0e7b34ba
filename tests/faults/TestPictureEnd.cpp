// PictureEnd on real encoder output: a whole picture reaches its end however it is cut
// into pieces; a picture cut anywhere does not.

#include "standin/IsoMediaMaker.h"
#include "standin/PaddedJpegSource.h"
#include "storage/PictureEnd.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QtTest>

using namespace albivex;

namespace {

QImage sample()
{
    QImage image(61, 47, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x ^ y) * 5 % 256));
    }
    return image;
}

QByteArray encode(const char *format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(sample()) ? bytes : QByteArray();
}

// A GIF by hand (Qt reads GIF but does not write it): one 1x1 image and the trailer.
QByteArray smallGif()
{
    return QByteArray::fromHex(
        "4749463839610100010080000000000000ffffff21f90401000000002c000000000100010000020244"
        "01003b");
}

// A JPEG whose first segment carries a whole small JPEG, end marker included, as an
// Exif thumbnail does.
QByteArray jpegWithThumbnail()
{
    const QByteArray main = encode("jpeg");
    const QByteArray thumbnail = encode("jpeg");
    QByteArray segment = "\xFF\xE1";
    const int length = thumbnail.size() + 2;
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    segment += thumbnail;
    return main.left(2) + segment + main.mid(2);
}

bool reachedInPieces(const QByteArray &bytes, int piece)
{
    PictureEnd end;
    for (int at = 0; at < bytes.size(); at += piece)
        end.feed(QByteArrayView(bytes.constData() + at, qMin<qsizetype>(piece, bytes.size() - at)));
    return end.reached();
}

} // namespace

class TestPictureEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void wholeAndCut_data()
    {
        QTest::addColumn<QByteArray>("picture");
        QTest::addColumn<int>("checkedCuts"); // cuts before the end that must not count
        QTest::newRow("baseline JPEG") << encode("jpeg") << 0;
        QTest::newRow("progressive JPEG") << encode("jpeg", true) << 0;
        QTest::newRow("JPEG with a whole JPEG in a segment") << jpegWithThumbnail() << 0;
        albivex::standin::PaddedJpegSource padded(encode("jpeg"), 300 * 1024, 7);
        QTest::newRow("JPEG padded with filler segments") << padded.read(padded.size()) << 0;
        QTest::newRow("PNG") << encode("png") << 0;
        QTest::newRow("BMP") << encode("bmp") << 0;
        if (QImageWriter::supportedImageFormats().contains("webp"))
            QTest::newRow("WebP") << encode("webp") << 0;
        using albivex::standin::IsoMediaMaker;
        QTest::newRow("HEIC") << IsoMediaMaker::heic(QByteArray(3000, 'h')) << 0;
        QTest::newRow("MP4") << IsoMediaMaker::mp4(5) << 0;
        // Data before description, and a data box with a 64-bit size.
        const QByteArray ftyp = IsoMediaMaker::box("ftyp", QByteArray("isom\0\0\0\0", 8));
        QByteArray largeData
            = QByteArray::fromHex("00000001") + "mdat" + QByteArray::fromHex("0000000000000014");
        QTest::newRow("MP4, data first, 64-bit size")
            << ftyp + largeData + "abcd" + IsoMediaMaker::box("moov", QByteArray(30, 'm')) << 0;
        // A GIF is judged by its last byte only: no cut that ends in 0x3B is tried.
        QTest::newRow("GIF") << smallGif() << 1;
    }
    void wholeAndCut()
    {
        QFETCH(QByteArray, picture);
        QFETCH(int, checkedCuts);
        QVERIFY(!picture.isEmpty());
        for (int piece : {1, 2, 3, 7, 1000, int(picture.size())})
            QVERIFY2(reachedInPieces(picture, piece), qPrintable(QStringLiteral("pieces of %1").arg(piece)));
        if (checkedCuts == 0) // bytes after the end (a GIF is judged by its last byte)
            QVERIFY(reachedInPieces(picture + QByteArray(100, '\0'), 4096));
        const qsizetype cuts = checkedCuts > 0 ? checkedCuts : picture.size();
        for (qsizetype length = picture.size() - 1; length >= picture.size() - cuts && length >= 0;
             --length) {
            if (checkedCuts == 0 && length < picture.size() - 64 && length % 97 != 0)
                continue; // the tail byte by byte, the rest sampled
            QVERIFY2(!reachedInPieces(picture.left(length), length > picture.size() - 64 ? 5 : 4093),
                     qPrintable(QStringLiteral("cut to %1 of %2 bytes").arg(length).arg(picture.size())));
        }
    }

    void otherBytesNeverEnd()
    {
        PictureEnd html;
        html.feed("<html><body>404</body></html>");
        QVERIFY(!html.reached());
        PictureEnd broken; // a JPEG start, then no marker
        broken.feed(QByteArray::fromHex("ffd8ff00112233ffd9"));
        QVERIFY(!broken.reached());

        // ISO media without a description, with a box "to the end of the file", or
        // whose first box is not the file type box.
        using albivex::standin::IsoMediaMaker;
        const QByteArray ftyp = IsoMediaMaker::box("ftyp", QByteArray("heic\0\0\0\0", 8));
        const QByteArray data = IsoMediaMaker::box("mdat", "xyz");
        for (const QByteArray &bytes :
             {ftyp + data + IsoMediaMaker::box("free", {}),
              ftyp + IsoMediaMaker::box("meta", "m") + QByteArray::fromHex("00000000") + "mdat" + "xyz",
              IsoMediaMaker::box("moov", "m") + ftyp + data}) {
            PictureEnd end;
            end.feed(bytes);
            QVERIFY(!end.reached());
        }
    }
};

QTEST_MAIN(TestPictureEnd)
#include "TestPictureEnd.moc"
