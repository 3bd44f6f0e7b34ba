#include "photos/Percent.h"
#include "qzone/OriginalAddress.h"
#include "qzone/PhotoListParser.h"
#include "standin/DataSet.h"
#include "standin/PhotoListAnswer.h"
#include "standin/StandinData.h"

#include <QRegularExpression>
#include <QtTest>

#include <functional>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

struct RawPhoto
{
    QString desc, name, uploadtime, url;
};

// A photo-list page: the album's own topic (it carries "pre" too), then the pictures.
QString Answer(const QList<RawPhoto> &photos, const QString &tail = QString())
{
    QString answer = QStringLiteral("shine0_Callback({\"code\" : 0,\"data\" : {\"topic\" : {\"pre\" : "
                                    "\"http:\\/\\/h\\/cover\",},\"photoList\" : [");
    for (const RawPhoto &p : photos) {
        answer += QStringLiteral("{\"desc\" : \"%1\",\"name\" : \"%2\",\"pre\" : \"http:\\/\\/h\\/pre\","
                                 "\"uploadtime\" : \"%3\",\"url\" : \"%4\",},")
                      .arg(p.desc, p.name, p.uploadtime, p.url);
    }
    return answer + QStringLiteral("],") + tail + QStringLiteral("}});");
}

// Every field a listing fills, for comparing pictures whole.
QString Dump(const PhotoEntry &p)
{
    QStringList exif;
    for (const auto &value : p.exif)
        exif << value.first + QLatin1Char('=') + value.second;
    return QStringList({QString::number(p.number),
                        p.name,
                        p.uploadTime,
                        p.description,
                        p.url,
                        QString::number(p.width),
                        QString::number(p.height),
                        p.lloc,
                        p.raw,
                        QString::number(p.rawUpload),
                        p.originUrl,
                        QString::number(p.originUpload),
                        QString::number(p.isVideo),
                        p.fullName,
                        p.fullDescription,
                        p.shootTime,
                        p.place,
                        p.cameraType,
                        exif.join(u';'),
                        QString::number(p.commentCount)})
        .join(u'|');
}

// A picture object in the service's own layout, one key a line; `drop` leaves a key out.
QString PictureObject(int n, const QString &drop = QString())
{
    const QList<QPair<QString, QString>> fields {
        {"cmtTotal", QString::number(n)},
        {"desc", QStringLiteral("\"d%1 a\\/b\"").arg(n)},
        {"exif", QStringLiteral("{\n \"make\" : \"M%1\",\n \"originalTime\" : \"\"\n }").arg(n)},
        {"height", QString::number(100 + n)},
        {"is_video", n == 2 ? "true" : "false"},
        {"lloc", QStringLiteral("\"A_%1\"").arg(n)},
        {"name", QStringLiteral("\"n%1\"").arg(n)},
        {"origin_upload", "1"},
        {"origin_url", QStringLiteral("\"http:\\/\\/h\\/o%1\"").arg(n)},
        {"poiName", QStringLiteral("\"p%1\"").arg(n)},
        {"pre", QStringLiteral("\"http:\\/\\/h\\/c%1\"").arg(n)},
        {"raw", QStringLiteral("\"http:\\/\\/h\\/r%1\"").arg(n)},
        {"raw_upload", n == 3 ? "0" : "1"},
        {"rawshoottime", QStringLiteral("\"2019-01-0%1 10:00:00\"").arg(n)},
        {"uploadtime", QStringLiteral("\"2020-01-0%1 10:00:00\"").arg(n)},
        {"url", QStringLiteral("\"http:\\/\\/h\\/b%1\"").arg(n)},
        {"width", QString::number(200 + n)},
    };
    QStringList lines;
    for (const auto &field : fields) {
        if (field.first != drop)
            lines << QStringLiteral("            \"%1\" : %2").arg(field.first, field.second);
    }
    return QStringLiteral("         {\n") + lines.join(QStringLiteral(",\n"))
        + QStringLiteral("\n         }");
}

QString Page(const QStringList &objects)
{
    return QStringLiteral("shine0_Callback({\n   \"code\" : 0,\n   \"data\" : {\n      \"photoList\" : [\n")
        + objects.join(QStringLiteral(",\n"))
        + QStringLiteral(
               "\n      ],\n      \"topic\" : {\n         \"pre\" : \"c\",\n         \"total\" : 3\n"
               "      },\n      \"totalInAlbum\" : 3\n   }\n});\n");
}

} // namespace

class TestPhotoListParser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fields()
    {
        const QList<PhotoEntry> photos = ParsePhotoList(
            Answer({{"p\\/q", "\\u76F8 a,b", "2015-02-09 13:00:15", "http:\\/\\/h\\/b\\/1.jpg"},
                    {"", "plain", "2015-02-10 08:00:00", "http://h/b/2.jpg"}}),
            1);
        QCOMPARE(photos.size(), 2);
        QCOMPARE(photos.at(0).number, 1);
        QCOMPARE(photos.at(0).description, QStringLiteral("pq"));
        QCOMPARE(photos.at(0).name, QStringLiteral("相 a")); // escapes decoded, cut at the comma
        QCOMPARE(photos.at(0).uploadTime, QStringLiteral("2015-02-09 13:00:15"));
        QCOMPARE(photos.at(0).url, QStringLiteral("http://h/b/1.jpg"));
        QCOMPARE(photos.at(0).status, QString());
        QCOMPARE(photos.at(1).number, 2);
        QCOMPARE(photos.at(1).description, QString());
        QCOMPARE(photos.at(1).url, QStringLiteral("http://h/b/2.jpg"));
    }

    // The stand-in's own answers: originals of both kinds, none, other spaces' empty
    // raw, every form of is_video, and escaped names in the today profile.
    void standinPictures_data()
    {
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<bool>("today");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("isVideo");
        QTest::addColumn<QString>("original"); // path below the root; empty for none
        QTest::newRow("raw original")
            << "V1three" << false << 0 << "小猫" << false << "/photo/r/V1three/1.jpg";
        QTest::newRow("origin original")
            << "V1three" << false << 1 << "小狗" << false << "/photo/o/V1three/2.jpg";
        QTest::newRow("no original") << "V1three" << false << 2 << "小鸟" << false << "";
        QTest::newRow("heic raw original")
            << "V1dots" << false << 2 << "照片3" << false << "/photo/r/V1dots/3.heic";
        QTest::newRow("wire escapes decoded")
            << "V1escaped" << false << 0 << "照片" << false << "/photo/r/V1escaped/1.jpg";
        QTest::newRow("other space: raw only in floatview")
            << "V3video" << false << 0 << "照片1" << false << "";
        QTest::newRow("video, is_video true") << "V3video" << false << 1 << "视频2" << true << "";
        QTest::newRow("video, is_video 1") << "V3video" << true << 2 << "视频3" << true << "";
        QTest::newRow("video, is_video \"1\"") << "V3video" << false << 3 << "视频4" << true << "";
        QTest::newRow("today: escaped name") << "V2scenery" << true << 1 << "山2" << false << "";
    }
    void standinPictures()
    {
        QFETCH(QString, albumId);
        QFETCH(bool, today);
        QFETCH(int, index);
        QFETCH(QString, name);
        QFETCH(bool, isVideo);
        QFETCH(QString, original);
        const QString root = QStringLiteral("http://127.0.0.1:8123");
        const sd::DataSet data;
        const std::optional<sd::AlbumInfo> album = data.findAlbum(albumId);
        QVERIFY(album);
        const QString answer = sd::PhotoListAnswer::page(QStringLiteral("shine0_Callback"), root,
                                                         QString::fromLatin1(sd::MainUin), *album, data, 0,
                                                         album->total, today);
        QVERIFY(today == answer.contains(QLatin1String("\\u")) || albumId == QLatin1String("V1escaped"));
        const QList<PhotoEntry> photos = ParsePhotoList(answer);
        QCOMPARE(photos.size(), album->total);
        const PhotoEntry &photo = photos.at(index);
        QCOMPARE(photo.name, name);
        QCOMPARE(photo.lloc, albumId + QStringLiteral("_%1").arg(index + 1));
        QCOMPARE(photo.isVideo, isVideo);
        QCOMPARE(OriginalAddress(photo), original.isEmpty() ? QString() : root + original);
        QVERIFY(photo.url.startsWith(root + QStringLiteral("/photo/b/")));
    }

    void flagsAndOriginals_data()
    {
        QTest::addColumn<QString>("fields");
        QTest::addColumn<bool>("isVideo");
        QTest::addColumn<QString>("original");
        const QString raw = QStringLiteral("\"raw\" : \"http:\\/\\/h\\/r.jpg\",");
        const QString origin = QStringLiteral("\"origin_url\" : \"http:\\/\\/h\\/o.jpg\",");
        QTest::newRow("raw wins over origin")
            << raw + origin + "\"raw_upload\" : 1,\"origin_upload\" : 1," << false << "http://h/r.jpg";
        QTest::newRow("raw without its flag")
            << raw + origin + "\"raw_upload\" : 0,\"origin_upload\" : \"1\"," << false << "http://h/o.jpg";
        QTest::newRow("flag without address") << "\"raw\" : \"\",\"raw_upload\" : true," << false << "";
        QTest::newRow("is_video false") << "\"is_video\" : false," << false << "";
        QTest::newRow("is_video 2") << "\"is_video\" : 2," << false << "";
        QTest::newRow("is_video \"true\"") << "\"is_video\" : \"true\"," << false << "";
        QTest::newRow("is_video true, last of its object") << "\"is_video\" : true\n}" << true << "";
        QTest::newRow("is_video absent") << "" << false << "";
    }
    void flagsAndOriginals()
    {
        QFETCH(QString, fields);
        QFETCH(bool, isVideo);
        QFETCH(QString, original);
        QString answer = Answer({{"d", "n", "t", "u"}});
        answer.replace(QStringLiteral("{\"desc\""), QLatin1Char('{') + fields + QStringLiteral("\"desc\""));
        const QList<PhotoEntry> photos = ParsePhotoList(answer);
        QCOMPARE(photos.size(), 1);
        QCOMPARE(photos.at(0).isVideo, isVideo);
        QCOMPARE(OriginalAddress(photos.at(0)), original);
    }

    void pictureCount_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("count");
        QTest::newRow("topic only") << Answer({}) << 0;
        QTest::newRow("three pictures") << Answer({{}, {}, {}}) << 3;
        QTest::newRow("pre in names, addresses, other keys")
            << Answer({{"prepare", "present", "pre", "http://pre.h/pre.jpg"}},
                      QStringLiteral("\"preview\" : 1,\"prefix\" : \"pre\","))
            << 1;
        QTest::newRow("no pre at all") << QStringLiteral("{\"code\" : -1,}") << 0;
        QTest::newRow("empty answer") << QString() << 0;
    }
    void pictureCount()
    {
        QFETCH(QString, answer);
        QFETCH(int, count);
        QCOMPARE(CountPictures(answer), count);
        QCOMPARE(ParsePhotoList(answer).size(), count);
    }

    void fewerKeysThanPicturesLeaveFieldsEmpty()
    {
        // Three pictures, but the last one has no "url" and no "name".
        QString answer = Answer({{"d1", "n1", "t1", "u1"}, {"d2", "n2", "t2", "u2"}});
        answer.replace(QStringLiteral("],"), QStringLiteral("{\"desc\" : \"d3\",\"pre\" : \"x\",},],"));
        const QList<PhotoEntry> photos = ParsePhotoList(answer, 501);
        QCOMPARE(photos.size(), 3);
        QCOMPARE(photos.at(2).number, 503);
        QCOMPARE(photos.at(2).description, QStringLiteral("d3"));
        QCOMPARE(photos.at(2).url, QString());
        QCOMPARE(photos.at(2).name, QString());
        QCOMPARE(photos.at(1).url, QStringLiteral("u2"));
    }

    // Picture 2 lacks one key in turn: pictures 1 and 3 keep every value, and picture
    // 2 loses only what that key gives, left empty rather than taken from elsewhere.
    void missingKeyKeepsNeighbours_data()
    {
        QTest::addColumn<QString>("drop");
        QTest::addColumn<QString>("expected"); // Dump of picture 2 without the key
        const PhotoEntry whole
            = ParsePhotoList(Page({PictureObject(1), PictureObject(2), PictureObject(3)})).value(1);
        const auto row = [&whole](const char *key, const std::function<void(PhotoEntry &)> &clear) {
            PhotoEntry expected = whole;
            clear(expected);
            QTest::newRow(key) << QString::fromLatin1(key) << Dump(expected);
        };
        row("url", [](PhotoEntry &p) { p.url.clear(); });
        row("name", [](PhotoEntry &p) { p.name = p.fullName = QString(); });
        row("raw", [](PhotoEntry &p) { p.raw.clear(); });
        row("origin_url", [](PhotoEntry &p) { p.originUrl.clear(); });
        row("origin_upload", [](PhotoEntry &p) { p.originUpload = false; });
        row("lloc", [](PhotoEntry &p) { p.lloc.clear(); });
        row("is_video", [](PhotoEntry &p) { p.isVideo = false; });
        row("width", [](PhotoEntry &p) { p.width = 0; });
        row("height", [](PhotoEntry &p) { p.height = 0; });
        row("uploadtime", [](PhotoEntry &p) { p.uploadTime.clear(); });
        row("desc", [](PhotoEntry &p) { p.description = p.fullDescription = QString(); });
        row("raw_upload", [](PhotoEntry &p) { p.rawUpload = false; });
        row("rawshoottime", [](PhotoEntry &p) { p.shootTime.clear(); });
        row("poiName", [](PhotoEntry &p) { p.place.clear(); });
        row("exif", [](PhotoEntry &p) { p.exif.clear(); });
        row("cmtTotal", [](PhotoEntry &p) { p.commentCount = -1; });
    }
    void missingKeyKeepsNeighbours()
    {
        QFETCH(QString, drop);
        QFETCH(QString, expected);
        const QList<PhotoEntry> whole
            = ParsePhotoList(Page({PictureObject(1), PictureObject(2), PictureObject(3)}));
        const QList<PhotoEntry> photos
            = ParsePhotoList(Page({PictureObject(1), PictureObject(2, drop), PictureObject(3)}));
        QCOMPARE(photos.size(), 3);
        QCOMPARE(Dump(photos.at(0)), Dump(whole.at(0)));
        QCOMPARE(Dump(photos.at(2)), Dump(whole.at(2)));
        QVERIFY(Dump(photos.at(1)) != Dump(whole.at(1)));
        // Everything but the dropped key's fields is picture 2's own.
        QCOMPARE(Dump(photos.at(1)), expected);
        QCOMPARE(whole.at(1).lloc, QStringLiteral("A_2"));
        QCOMPARE(whole.at(1).url, QStringLiteral("http://h/b2"));
        QCOMPARE(whole.at(1).name, QStringLiteral("n2"));
        QCOMPARE(whole.at(1).description, QStringLiteral("d2 ab"));
        QCOMPARE(whole.at(1).fullDescription, QStringLiteral("d2 a/b"));
        QCOMPARE(whole.at(1).exif, (QList<QPair<QString, QString>> {{"make", "M2"}}));
        QCOMPARE(whole.at(1).commentCount, 2);
        QCOMPARE(whole.at(1).place, QStringLiteral("p2"));
        QCOMPARE(whole.at(1).shootTime, QStringLiteral("2019-01-02 10:00:00"));
    }

    // Shapes reported of the real service; each picture keeps its own name, key and
    // address.
    void reportedShapes_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("pictures"); // name@lloc@url
        QString page2022 = Page({PictureObject(1), PictureObject(2), PictureObject(3)});
        page2022.replace(QStringLiteral("\"height\" : 102,"),
                         QStringLiteral("\"height\" : 102,\n            \"shootGeo\" : undefined,"));
        page2022.replace(
            QStringLiteral("\"exif\" : {\n \"make\" : \"M1\","),
            QStringLiteral("\"exif\" : {\n \"name\" : \"exif\", \"url\" : \"x\", \"make\" : \"M1\","));
        const QStringList three {"n1@A_1@http://h/b1", "n2@A_2@http://h/b2", "n3@A_3@http://h/b3"};
        QTest::newRow("2022: exif blocks, undefined, topic after the list") << page2022 << three;
        QString damaged = Page({PictureObject(1), PictureObject(2), PictureObject(3)});
        damaged.replace(QStringLiteral("\"d2 a\\/b\""), QStringLiteral("\"d2 \\\""));
        QTest::newRow("damaged desc, pretty") << damaged << three;
        QString last = Page({PictureObject(1), PictureObject(2), PictureObject(3)});
        last.replace(QStringLiteral("\"width\" : 202"),
                     QStringLiteral("\"width\" : 202,\n \"desc2\" : \"tail\\"));
        QTest::newRow("damaged last value of its picture") << last << three;
        QString compact = Page({PictureObject(1), PictureObject(2), PictureObject(3)});
        compact.remove(QRegularExpression(QStringLiteral("\\n *")));
        compact.replace(QStringLiteral("\"d2 a\\/b\""), QStringLiteral("\"d2 }, {\\\""));
        QTest::newRow("damaged desc, one line, braces inside") << compact << three;
        QString lastCaption = Page({PictureObject(1), PictureObject(2), PictureObject(3)});
        lastCaption = lastCaption.left(lastCaption.indexOf(QStringLiteral("\n      ],")))
            + QStringLiteral("\n      ]\n   }\n});\n");
        lastCaption.replace(QStringLiteral("\"d3 a\\/b\""), QStringLiteral("\"d3 \\\""));
        QTest::newRow("damaged caption of the last picture, nothing quoted after it") << lastCaption << three;
        QString duplicate = Page({PictureObject(1), PictureObject(2), PictureObject(3)});
        duplicate.replace(QStringLiteral("\"name\" : \"n1\""),
                          QStringLiteral("\"name\" : \"n1\",\"name\" : \"again\""));
        QTest::newRow("a key twice: its first value") << duplicate << three;
    }
    void reportedShapes()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, pictures);
        QStringList actual;
        for (const PhotoEntry &photo : ParsePhotoList(answer))
            actual << photo.name + QLatin1Char('@') + photo.lloc + QLatin1Char('@') + photo.url;
        QCOMPARE(actual, pictures);
    }

    // The listed size of each picture, however its number is written; the last key of
    // the last picture is followed by no comma at all.
    void listedSize()
    {
        const QString answer
            = QStringLiteral("_Callback({\"data\" : {\"topic\" : {\"pre\" : \"c\",},\"photoList\" : [\n"
                             "{\"height\" : 480,\"pre\" : \"p\",\"width\" : 640\n},\n"
                             "{\"height\" : \"75\",\"pre\" : \"p\",\"width\" : \"100\",},\n"
                             "{\"height\" : -1,\"pre\" : \"p\",\"width\" : 99999999999,},\n"
                             "{\"height\" : 300,\"pre\" : \"p\",\"width\" : 400}]}});");
        QList<QPair<int, int>> sizes;
        for (const PhotoEntry &photo : ParsePhotoList(answer))
            sizes << qMakePair(photo.width, photo.height);
        QCOMPARE(sizes, (QList<QPair<int, int>> {{640, 480}, {100, 75}, {0, 0}, {400, 300}}));
        // Fewer keys than pictures: the pictures without one are not sized.
        QCOMPARE(ParsePhotoList(Answer({{}, {}})).value(1).width, 0);
    }

    void totalInAlbum_data()
    {
        QTest::addColumn<QString>("tail");
        QTest::addColumn<int>("total");
        QTest::newRow("present") << QStringLiteral("\"totalInAlbum\" : 620,\"totalInPage\" : 500,") << 620;
        QTest::newRow("absent") << QString() << -1;
        QTest::newRow("not a number") << QStringLiteral("\"totalInAlbum\" : \"many\",") << -1;
        QTest::newRow("last key of its object") << QStringLiteral("\"totalInAlbum\" : 620\n}") << 620;
        QTest::newRow("too large") << QStringLiteral("\"totalInAlbum\" : 99999999999,") << -1;
    }
    void totalInAlbum()
    {
        QFETCH(QString, tail);
        QFETCH(int, total);
        QCOMPARE(TotalInAlbum(Answer({{}}, tail)), total);
    }

    void percent_data()
    {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("percent");
        QTest::newRow("1 of 3") << 1 << 3 << 33;
        QTest::newRow("2 of 3") << 2 << 3 << 67;
        QTest::newRow("1 of 8 half up") << 1 << 8 << 13;
        QTest::newRow("5 of 8 half up") << 5 << 8 << 63;
        // 0.005 has no exact binary form; the text rule still rounds it up.
        QTest::newRow("1 of 200 half up") << 1 << 200 << 1;
        QTest::newRow("1 of 400 rounds down") << 1 << 400 << 0;
        QTest::newRow("199 of 200") << 199 << 200 << 100;
        QTest::newRow("n of n") << 620 << 620 << 100;
        QTest::newRow("no items") << 1 << 0 << 0;
        QTest::newRow("large n") << 1000000000 << 2000000000 << 50;
    }
    void percent()
    {
        QFETCH(int, i);
        QFETCH(int, n);
        QFETCH(int, percent);
        QCOMPARE(PercentText(i, n), percent);
    }
};

QTEST_GUILESS_MAIN(TestPhotoListParser)
#include "TestPhotoListParser.moc"
