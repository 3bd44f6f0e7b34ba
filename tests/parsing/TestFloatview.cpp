#include "qzone/Endpoints.h"
#include "qzone/FloatviewParser.h"
#include "qzone/FloatviewRequest.h"
#include "standin/DataSet.h"
#include "standin/FloatviewAnswer.h"

#include <QRegularExpression>
#include <QtTest>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QString Root = QStringLiteral("http://127.0.0.1:8123");

QString StandinAnswer(const QString &albumId, int position, int postNum)
{
    const sd::DataSet data;
    const std::optional<sd::AlbumInfo> album = data.findAlbum(albumId);
    return album ? sd::FloatviewAnswer::photos(QStringLiteral("viewer_Callback"), Root, *album, data,
                                               position, 0, postNum, false)
                 : QString();
}

// A photo object as the service writes it; `video` is the video_info object or empty.
QString Photo(const QString &picKey, const QString &isVideo, const QString &video, const QString &name = "n")
{
    return QStringLiteral("{\n \"is_video\" : %1,\n \"name\" : \"%4\",\n \"picKey\" : \"%2\",\n"
                          " \"raw\" : \"http:\\/\\/h\\/r\\/%2.jpg\",\n%3 \"width\" : 10\n}")
        .arg(isVideo, picKey,
             video.isEmpty() ? QString() : QStringLiteral(" \"video_info\" : %1,\n").arg(video), name);
}

QString VideoInfo(int status, const QString &download, const QString &play)
{
    return QStringLiteral(
               "{ \"cover_url\" : \"c\", \"download_url\" : \"%1\", \"status\" : %2, \"video_url\" : "
               "\"%3\" }")
        .arg(download)
        .arg(status)
        .arg(play);
}

QString Answer(const QStringList &photos, const QString &separator = QStringLiteral(",\n"))
{
    return QStringLiteral("viewer_Callback({\n \"code\" : 0,\n \"data\" : {\n \"photos\" : [\n")
        + photos.join(separator) + QStringLiteral("\n],\n \"picTotal\" : 5\n},\n \"subcode\" : 0\n});");
}

} // namespace

// The floatview service: its request form and the cut of its answer into photos.
class TestFloatview : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void requestForm()
    {
        FloatviewRequest request;
        request.uin = QStringLiteral("123456789");
        request.ownerUin = QStringLiteral("4455667788");
        request.gTk = QStringLiteral("5381");
        request.albumId = QStringLiteral("V3video");
        request.picKey = QStringLiteral("V3video_1");
        QCOMPARE(
            FloatviewUrl(Endpoints(), request).toString(),
            QStringLiteral("https://h5.qzone.qq.com/proxy/domain/photo.qzone.qq.com/fcgi-bin/"
                           "cgi_floatview_photo_list_v2?g_tk=5381&callback=viewer_Callback&topicId=V3video"
                           "&picKey=V3video_1&cmtNum=0&uin=123456789&hostUin=4455667788&appid=4&isFirst=1"
                           "&prevNum=0&postNum=99&inCharset=utf-8&outCharset=utf-8&plat=qzone&source=qzone"
                           "&format=jsonp"));
        request.postNum = 3;
        QVERIFY(FloatviewUrl(Endpoints(Root), request)
                    .toString()
                    .startsWith(Root
                                + QStringLiteral("/proxy/domain/photo.qzone.qq.com/fcgi-bin/"
                                                 "cgi_floatview_photo_list_v2?g_tk=5381&")));
        QVERIFY(FloatviewUrl(Endpoints(), request).toString().contains(QLatin1String("&postNum=3&")));
    }

    // The stand-in's answers: pictures and videos of every kind side by side, so that
    // a photo taking its neighbour's video_info or is_video shows.
    void standinAnswers_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("picKey");
        QTest::addColumn<QString>("raw"); // path below the root
        QTest::addColumn<bool>("isVideo");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("download");
        QTest::addColumn<QString>("play");
        const QString video = StandinAnswer(QStringLiteral("V3video"), 0, 99);
        QTest::newRow("picture before videos") << video << 0 << "V3video_1"
                                               << "/photo/r/V3video/1.jpg" << false << 0 << ""
                                               << "";
        QTest::newRow("video, both addresses")
            << video << 1 << "V3video_2"
            << "/photo/r/V3video/2.jpg" << true << 2 << "/video/V3video/2.mp4"
            << "/video/V3video/2.mp4";
        QTest::newRow("video, play address only") << video << 2 << "V3video_3"
                                                  << "/photo/r/V3video/3.jpg" << true << 2 << ""
                                                  << "/video/V3video/3.mp4";
        QTest::newRow("video not transcoded") << video << 3 << "V3video_4"
                                              << "/photo/r/V3video/4.jpg" << true << 1 << ""
                                              << "";
        QTest::newRow("picture after videos") << video << 4 << "V3video_5"
                                              << "/photo/r/V3video/5.jpg" << false << 0 << ""
                                              << "";
        const QString scenery = StandinAnswer(QStringLiteral("V2scenery"), 1, 1);
        QTest::newRow("other space's original") << scenery << 1 << "V2scenery_3"
                                                << "/photo/r/V2scenery/3.jpg" << false << 0 << ""
                                                << "";
        QTest::newRow("no original") << StandinAnswer(QStringLiteral("V1three"), 1, 99) << 1 << "V1three_3"
                                     << "" << false << 0 << ""
                                     << "";
        QTest::newRow("heic original") << StandinAnswer(QStringLiteral("V1dots"), 2, 99) << 0 << "V1dots_3"
                                       << "/photo/r/V1dots/3.heic" << false << 0 << ""
                                       << "";
    }
    void standinAnswers()
    {
        QFETCH(QString, answer);
        QFETCH(int, index);
        QFETCH(QString, picKey);
        QFETCH(QString, raw);
        QFETCH(bool, isVideo);
        QFETCH(int, status);
        QFETCH(QString, download);
        QFETCH(QString, play);
        const QList<FloatviewPhoto> photos = ParseFloatview(answer);
        QCOMPARE(photos.size(), answer.count(QLatin1String("\"picKey\" : ")));
        QVERIFY(index < photos.size());
        const FloatviewPhoto &photo = photos.at(index);
        const auto rooted = [](const QString &path) {
            return path.isEmpty() ? path : Root + path;
        };
        QCOMPARE(photo.picKey, picKey);
        QCOMPARE(photo.raw, rooted(raw));
        QCOMPARE(photo.isVideo, isVideo);
        QCOMPARE(photo.videoStatus, status);
        QCOMPARE(photo.downloadUrl, rooted(download));
        QCOMPARE(photo.videoUrl, rooted(play));
        QCOMPARE(photo.videoAddress(), rooted(download.isEmpty() ? play : download));
    }

    void layouts_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("summary"); // picKey/isVideo/status/videoUrl|raw per photo
        const QString info = VideoInfo(2, "", "http:\\/\\/h\\/v.mp4");
        QTest::newRow("video between pictures")
            << Answer({Photo("a", "0", ""), Photo("b", "\"1\"", info), Photo("c", "0", "")})
            << QStringList {"a/0/0/|http://h/r/a.jpg", "b/1/2/http://h/v.mp4|http://h/r/b.jpg",
                            "c/0/0/|http://h/r/c.jpg"};
        // A photo without the keys its neighbour has: none of them is taken from it.
        QString bare = Photo("a", "1", "");
        bare.remove(QRegularExpression(QStringLiteral(" \"(is_video|raw)\" : [^\n]*\n")));
        QTest::newRow("keys only the next photo has")
            << Answer({bare, Photo("b", "1", info)})
            << QStringList {"a/0/0/|", "b/1/2/http://h/v.mp4|http://h/r/b.jpg"};
        QTest::newRow("objects on one line")
            << Answer({Photo("a", "true", info), Photo("b", "0", "")}, QStringLiteral("},{"))
                   .replace('\n', ' ')
            << QStringList {"a/1/2/http://h/v.mp4|http://h/r/a.jpg", "b/0/0/|http://h/r/b.jpg"};
        // No boundary between the objects: nobody's fields can be trusted.
        QTest::newRow("objects not separated")
            << Answer({Photo("a", "1", info), Photo("b", "0", "")}, QStringLiteral(" "))
            << QStringList {"a/0/0/|", "b/0/0/|"};
        // A name that holds the boundary text cuts only its own photo.
        QTest::newRow("boundary inside a name")
            << Answer({Photo("a", "1", info, "x}, {y"), Photo("b", "1", info)})
            << QStringList {"a/0/2/http://h/v.mp4|http://h/r/a.jpg", "b/1/2/http://h/v.mp4|http://h/r/b.jpg"};
        QTest::newRow("video_info not an object")
            << Answer({Photo("a", "1", "null")}) << QStringList {"a/1/0/|http://h/r/a.jpg"};
        QTest::newRow("error answer")
            << QStringLiteral("viewer_Callback({\"code\" : -10802,\"subcode\" : -10802});") << QStringList {};
    }
    void layouts()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, summary);
        QStringList actual;
        for (const FloatviewPhoto &p : ParseFloatview(answer))
            actual << QStringLiteral("%1/%2/%3/%4|%5")
                          .arg(p.picKey)
                          .arg(int(p.isVideo))
                          .arg(p.videoStatus)
                          .arg(p.videoUrl, p.raw);
        QCOMPARE(actual, summary);
    }
};

QTEST_GUILESS_MAIN(TestFloatview)
#include "TestFloatview.moc"
