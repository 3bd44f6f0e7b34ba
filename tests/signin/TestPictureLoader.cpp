#include "network/CookieRestriction.h"
#include "network/PictureLoader.h"

#include <QBuffer>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace albivex;

namespace {

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Left half red, right half blue: survives lossy coding and tells the sides apart.
QImage twoColours(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int y = 0; y < height; ++y) {
        for (int x = width / 2; x < width; ++x)
            image.setPixel(x, y, qRgb(0, 0, 255));
    }
    return image;
}

// A 2 x 1 GIF, red then blue (Qt reads GIF but does not write it).
QByteArray redBlueGif()
{
    static const unsigned char bytes[]
        = {'G',  'I',  'F',  '8',  '9',  'a',  0x02, 0x00, 0x01, 0x00, 0x80, 0x00,
           0x00, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x2C, 0x00, 0x00, 0x00, 0x00,
           0x02, 0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x0A, 0x00, 0x3B};
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes);
}

bool near(QRgb pixel, QRgb expected)
{
    return qAbs(qRed(pixel) - qRed(expected)) < 40 && qAbs(qGreen(pixel) - qGreen(expected)) < 40
        && qAbs(qBlue(pixel) - qBlue(expected)) < 40;
}

} // namespace

class TestPictureLoader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("picture");
        QTest::newRow("jpeg") << encoded(twoColours(40, 20), "JPEG") << true;
        QTest::newRow("png") << encoded(twoColours(40, 20), "PNG") << true;
        QTest::newRow("bmp") << encoded(twoColours(40, 20), "BMP") << true;
        QTest::newRow("gif") << redBlueGif() << true;
        QTest::newRow("html error page") << QByteArray("<html><body>404 Not Found</body></html>") << false;
        QTest::newRow("cut-off png") << encoded(twoColours(40, 20), "PNG").left(30) << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, picture);
        const QImage image = DecodePicture(bytes);
        QCOMPARE(!image.isNull(), picture);
        if (picture) {
            QVERIFY(near(image.pixel(0, 0), qRgb(255, 0, 0)));
            QVERIFY(near(image.pixel(image.width() - 1, 0), qRgb(0, 0, 255)));
        }
    }

    void stretchFillsTheBoxAndWhitensTransparency()
    {
        // 300 x 200, left half transparent, right half blue.
        QImage picture(300, 200, QImage::Format_ARGB32);
        picture.fill(Qt::transparent);
        for (int y = 0; y < 200; ++y) {
            for (int x = 150; x < 300; ++x)
                picture.setPixel(x, y, qRgba(0, 0, 255, 255));
        }
        const QImage shown = StretchOnWhite(picture, QSize(75, 75));
        QCOMPARE(shown.size(), QSize(75, 75));
        QVERIFY(!shown.hasAlphaChannel());
        QVERIFY(near(shown.pixel(2, 2), qRgb(255, 255, 255)));
        QVERIFY(near(shown.pixel(2, 72), qRgb(255, 255, 255)));
        // Stretched, not letter-boxed: the blue half reaches the bottom right corner.
        QVERIFY(near(shown.pixel(74, 74), qRgb(0, 0, 255)));
        QVERIFY(StretchOnWhite(QImage(), QSize(75, 75)).isNull());
    }

    void silentServerTimesOutToNoPicture()
    {
        // Accepts the connection, then never answers.
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QList<QTcpSocket *> held;
        connect(&server, &QTcpServer::newConnection, this,
                [&] { held.append(server.nextPendingConnection()); });

        QNetworkAccessManager nam;
        QObject context;
        bool reported = false;
        QImage result(1, 1, QImage::Format_RGB32);
        QElapsedTimer clock;
        clock.start();
        LoadPictureFromUrl(
            nam, QUrl(QStringLiteral("http://127.0.0.1:%1/a.jpg").arg(server.serverPort())), &context,
            [&](const QImage &picture) {
                reported = true;
                result = picture;
            },
            300);
        QTRY_VERIFY_WITH_TIMEOUT(reported, 5000);
        QVERIFY(result.isNull());
        QVERIFY(clock.elapsed() < 4000);
    }

    // The address cannot be reached: the fallback is asked once instead, with only the
    // cookie it was restricted to.
    void fallbackAfterAFailedConnection()
    {
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost));
        QByteArray request;
        connect(&server, &QTcpServer::newConnection, this, [&] {
            QTcpSocket *socket = server.nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [&, socket] {
                request += socket->readAll();
                if (!request.contains("\r\n\r\n"))
                    return;
                const QByteArray body = encoded(twoColours(40, 20), "PNG");
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: "
                              + QByteArray::number(body.size()) + "\r\n\r\n" + body);
            });
        });
        QNetworkAccessManager nam;
        const QUrl plain(QStringLiteral("http://127.0.0.1:%1/x.png").arg(server.serverPort()));
        nam.cookieJar()->setCookiesFromUrl(
            {QNetworkCookie("skey", "secret"), QNetworkCookie("qq_photo_key", "k")}, plain);
        QObject context;
        QImage result;
        bool reported = false;
        PictureLoader *loader = LoadPictureFromUrl(nam, QUrl(QStringLiteral("http://127.0.0.1:1/x.png")),
                                                   &context, [&](const QImage &picture) {
                                                       reported = true;
                                                       result = picture;
                                                   });
        QNetworkRequest fallback(plain);
        RestrictCookies(fallback, nam.cookieJar(), "qq_photo_key");
        loader->setFallback(fallback);
        QTRY_VERIFY_WITH_TIMEOUT(reported, 10000);
        QVERIFY(!result.isNull());
        QVERIFY2(request.contains("\r\nCookie: qq_photo_key=k\r\n"), request.constData());
        QVERIFY(!request.contains("secret"));
    }

    void cancelledLoaderNeverReports()
    {
        QNetworkAccessManager nam;
        QObject context;
        bool reported = false;
        PictureLoader *loader = LoadPictureFromUrl(nam, QUrl(QStringLiteral("http://127.0.0.1:1/x.png")),
                                                   &context, [&](const QImage &) { reported = true; });
        QSignalSpy replyEnded(&nam, &QNetworkAccessManager::finished);
        QSignalSpy gone(loader, &QObject::destroyed);
        loader->cancel();
        // The reply has ended and the loader is gone: nothing can report any more.
        QTRY_COMPARE(replyEnded.count(), 1);
        QTRY_COMPARE(gone.count(), 1);
        QVERIFY(!reported);
    }
};

QTEST_MAIN(TestPictureLoader)
#include "TestPictureLoader.moc"
