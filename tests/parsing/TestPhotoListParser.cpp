#include "photos/Percent.h"
#include "qzone/PhotoListParser.h"

#include <QtTest>

using namespace albivex;

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
        QCOMPARE(photos.at(0).name, QStringLiteral("\\u76F8 a")); // escapes stay, cut at the comma
        QCOMPARE(photos.at(0).uploadTime, QStringLiteral("2015-02-09 13:00:15"));
        QCOMPARE(photos.at(0).url, QStringLiteral("http://h/b/1.jpg"));
        QCOMPARE(photos.at(0).status, QString());
        QCOMPARE(photos.at(1).number, 2);
        QCOMPARE(photos.at(1).description, QString());
        QCOMPARE(photos.at(1).url, QStringLiteral("http://h/b/2.jpg"));
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
