// The floatview lookup against the stand-in: an album walked in list order costs one
// request per hundred pictures, each from the first picture not covered yet; a failed
// answer covers the picture asked for with nothing known of it.

#include "StandinSignIn.h"
#include "photos/FloatviewLookup.h"
#include "qzone/Endpoints.h"
#include "standin/ServiceRoutes.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"

#include <QtTest>

#include <memory>

using namespace albivex;
namespace sd = albivex::standin;

class TestFloatviewLookup : public QObject
{
    Q_OBJECT
    sd::StandinThread m_standin;
    QNetworkAccessManager m_nam;
    QzoneCredentials m_account;
    std::unique_ptr<Endpoints> m_endpoints;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_standin.start());
        m_endpoints = std::make_unique<Endpoints>(m_standin.root());
        m_account = SignInOverHttp(m_nam, m_standin.root(), QString::fromLatin1(sd::MainUin));
        QVERIFY(m_account.signedIn);
    }

    void walkInPages_data()
    {
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<int>("pictures");
        QTest::addColumn<QStringList>("asked"); // picKeys of the requests, in order
        QTest::addColumn<bool>("known");
        QStringList pages;
        for (int first = 1; first <= sd::BigAlbum.pictures; first += 100)
            pages << QStringLiteral("V1big620_%1").arg(first);
        QTest::newRow("620 pictures")
            << QString::fromLatin1(sd::BigAlbum.id) << sd::BigAlbum.pictures << pages << true;
        QTest::newRow("no such album")
            << QStringLiteral("V1none") << 2 << QStringList({"V1none_1", "V1none_2"}) << false;
    }

    void walkInPages()
    {
        QFETCH(QString, albumId);
        QFETCH(int, pictures);
        QFETCH(QStringList, asked);
        QFETCH(bool, known);
        m_standin.knobs().clearRequests();
        FloatviewRequest album;
        album.uin = m_account.uin;
        album.ownerUin = m_account.uin;
        album.gTk = m_account.gTk;
        album.albumId = albumId;
        FloatviewLookup lookup(m_nam, *m_endpoints, album, BusyRetryOptions {{}}, nullptr);
        int pages = 0;
        connect(&lookup, &FloatviewLookup::pageDone, this, [&] { ++pages; });
        for (int n = 1; n <= pictures; ++n) {
            const QString key = albumId + QStringLiteral("_%1").arg(n);
            if (!lookup.covered(key)) {
                const int before = pages;
                QVERIFY(lookup.lookUp(key));
                QVERIFY(!lookup.lookUp(key)); // one page at a time
                QTRY_VERIFY_WITH_TIMEOUT(pages > before, 20000);
                QVERIFY(lookup.covered(key));
            }
            const FloatviewPhoto *photo = lookup.find(key);
            QCOMPARE(photo != nullptr, known);
            if (photo)
                QVERIFY(photo->raw.endsWith(QStringLiteral("/photo/r/%1/%2.jpg").arg(albumId).arg(n)));
        }
        QStringList sent;
        for (const sd::LoggedRequest &request :
             m_standin.knobs().requestsTo(QString::fromLatin1(sd::ServiceRoutes::FloatviewPath))) {
            sent << request.queryValue(QStringLiteral("picKey"));
            QCOMPARE(request.queryValue(QStringLiteral("topicId")), albumId);
            QCOMPARE(request.queryValue(QStringLiteral("postNum")), QStringLiteral("99"));
        }
        QCOMPARE(sent, asked);
    }
};

QTEST_MAIN(TestFloatviewLookup)
#include "TestFloatviewLookup.moc"
