#include "StandinClient.h"
#include "standin/MoodRoutes.h"
#include "standin/StandinData.h"
#include "standin/StandinServer.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImage>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QUrlQuery>
#include <QtEndian>
#include <QtTest>

using namespace albivex;
using namespace albivex::standin;

// The today profile of the stand-in and the data for originals, videos, protected
// albums and growing albums, over real HTTP.
class TestStandinToday : public QObject
{
    Q_OBJECT

    std::unique_ptr<StandinServer> m_server;
    std::unique_ptr<StandinClient> m_client;

    StandinKnobs &knobs() { return m_server->knobs(); }

    // Visits the Qzone landing page; a p_skey it sets becomes the key of g_tk.
    static StandinClient::Answer land(StandinClient &client)
    {
        const auto answer = client.get(QStringLiteral("/qzone/v5/loginsucc.html?para=izone"));
        if (!client.cookie("p_skey").isEmpty())
            client.useTokenKey(client.cookie("p_skey"));
        return answer;
    }
    // A client of its own, signed in as `uin` (and landed) on the same server.
    std::unique_ptr<StandinClient> viewerClient(const QString &uin)
    {
        auto client = std::make_unique<StandinClient>(m_server->root());
        client->useSignIn(knobs().signIn(uin));
        land(*client);
        return client;
    }

    static QStringList valuesOf(const QString &text, const QString &key)
    {
        QStringList values;
        const QRegularExpression re(QStringLiteral("\"%1\" : \"?([^\",\\n]*)").arg(key));
        for (auto it = re.globalMatch(text); it.hasNext();)
            values.append(it.next().captured(1));
        return values;
    }

    // The picture object of a photo list or floatview answer with this lloc.
    static QString itemOf(const QString &text, const QString &lloc)
    {
        for (const QString &item : text.split(QStringLiteral("\n         {\n"))) {
            if (item.contains(QStringLiteral("\"lloc\" : \"%1\"").arg(lloc)))
                return item.left(item.indexOf(QStringLiteral("\n         }")));
        }
        return QString();
    }
    // A field's value as written (quotes kept), slashes unescaped; null when absent.
    static QString fieldOf(const QString &item, const QString &key)
    {
        const auto m = QRegularExpression(QStringLiteral("^ *\"%1\" : (.*?),?$").arg(key),
                                          QRegularExpression::MultilineOption)
                           .match(item);
        return m.hasMatch() ? m.captured(1).replace(QStringLiteral("\\/"), QStringLiteral("/")) : QString();
    }
    QString quotedAddress(const QString &path) const
    {
        return QLatin1Char('"') + (path.isEmpty() ? QString() : m_server->root() + path) + QLatin1Char('"');
    }
    // The boxes of an ISO-BMFF file (type, payload); empty when the sizes do not add up.
    static QList<QPair<QByteArray, QByteArray>> boxesOf(const QByteArray &data)
    {
        QList<QPair<QByteArray, QByteArray>> boxes;
        for (qsizetype at = 0; at < data.size();) {
            const quint32 size = qFromBigEndian<quint32>(data.constData() + at);
            if (size < 8 || at + size > data.size())
                return {};
            boxes.append({data.mid(at + 4, 4), data.mid(at + 8, size - 8)});
            at += size;
        }
        return boxes;
    }
    static QByteArrayList typesOf(const QList<QPair<QByteArray, QByteArray>> &boxes)
    {
        QByteArrayList types;
        for (const auto &box : boxes)
            types.append(box.first);
        return types;
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<StandinServer>();
        knobs().setProfile(Profile::Today);
        QVERIFY(m_server->listen());
        m_client = viewerClient(QString::fromLatin1(MainUin));
    }
    void cleanup()
    {
        m_client.reset();
        m_server.reset();
    }

    void landingPageSetsPSkeyOnlyTodayAndOnlyForASignIn_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("today, signed in") << true << true;
        QTest::newRow("today, not signed in") << true << false;
        QTest::newRow("default, signed in") << false << true;
    }
    void landingPageSetsPSkeyOnlyTodayAndOnlyForASignIn()
    {
        QFETCH(bool, today);
        QFETCH(bool, signedIn);
        knobs().setProfile(today ? Profile::Today : Profile::Default);
        StandinClient client(m_server->root());
        const SignIn signIn = knobs().signIn(QString::fromLatin1(MainUin));
        QVERIFY(!signIn.cookieHeader().contains("p_skey="));
        if (signedIn)
            client.useSignIn(signIn);
        const auto answer = land(client);
        QCOMPARE(answer.status, 200);
        QVERIFY(answer.text().contains(QStringLiteral("<title>QQ空间</title>")));
        const QString recorded = knobs().issuedSignIns().last().pSkey;
        if (!today || !signedIn) {
            QVERIFY(answer.headerValues("Set-Cookie").isEmpty());
            QVERIFY(recorded.isEmpty());
            return;
        }
        const QList<QNetworkCookie> set = QNetworkCookie::parseCookies(answer.header("Set-Cookie"));
        QCOMPARE(set.size(), 1);
        QCOMPARE(set[0].name(), QByteArray("p_skey"));
        QCOMPARE(set[0].path(), QStringLiteral("/"));
        QVERIFY2(QRegularExpression(QStringLiteral("^[!-~]{44}$")).match(recorded).hasMatch(),
                 qPrintable(recorded));
        QCOMPARE(QString::fromLatin1(set[0].value()), recorded);
        QCOMPARE(land(client).headerValues("Set-Cookie").size(), 1); // a second visit: the same key
        QCOMPARE(client.cookie("p_skey"), recorded);
    }

    void tokenFollowsTheProfile_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<QString>("key"); // what g_tk hashes: skey, pskey, otherpskey
        QTest::addColumn<QString>("pSkeyCookie"); // mine, other, none
        QTest::addColumn<bool>("accepted");
        QTest::newRow("default: skey") << false << "skey"
                                       << "none" << true;
        QTest::newRow("default: p_skey") << false << "pskey"
                                         << "mine" << false;
        QTest::newRow("today: p_skey") << true << "pskey"
                                       << "mine" << true;
        QTest::newRow("today: skey") << true << "skey"
                                     << "mine" << false;
        QTest::newRow("today: no p_skey cookie") << true << "pskey"
                                                 << "none" << false;
        QTest::newRow("today: p_skey of another sign-in") << true << "otherpskey"
                                                          << "other" << false;
    }
    void tokenFollowsTheProfile()
    {
        QFETCH(bool, today);
        QFETCH(QString, key);
        QFETCH(QString, pSkeyCookie);
        QFETCH(bool, accepted);
        const SignIn mine = knobs().signIn(QString::fromLatin1(MainUin));
        const SignIn other = knobs().signIn(QString::fromLatin1(MainUin));
        const QString myPSkey = knobs().signIns().grantPSkey(mine.uinCookie(), mine.skey);
        const QString otherPSkey = knobs().signIns().grantPSkey(other.uinCookie(), other.skey);
        knobs().setProfile(today ? Profile::Today : Profile::Default);
        StandinClient client(m_server->root());
        client.useSignIn(mine);
        if (pSkeyCookie != QLatin1String("none")) {
            QNetworkCookie cookie("p_skey",
                                  (pSkeyCookie == QLatin1String("mine") ? myPSkey : otherPSkey).toLatin1());
            client.nam().cookieJar()->setCookiesFromUrl({cookie},
                                                        QUrl(m_server->root() + QStringLiteral("/")));
        }
        client.useTokenKey(key == QLatin1String("skey")        ? mine.skey
                               : key == QLatin1String("pskey") ? myPSkey
                                                               : otherPSkey);
        for (const QUrl &url : {client.albumListV3(client.gtk()),
                                client.photoListOwn(QString::fromLatin1(SmallAlbum.id), 0, 500)}) {
            const QString text = client.getUrl(url).text();
            if (accepted) {
                QVERIFY2(text.contains(QStringLiteral("\"code\" : 0,")), qPrintable(text.left(300)));
            } else {
                QVERIFY(text.contains(
                    QStringLiteral("({\n   \"code\" : -3000,\n   \"message\" : \"请先登录空间\",\n")));
                QVERIFY(text.contains(QStringLiteral("\"subcode\" : -4001\n});")));
            }
        }
    }

    void albumListsComeInPagesOf30_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<bool>("v2");
        QTest::addColumn<QString>("paging"); // query keys added to the tool's request
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("count");
        const int all = MainAlbumCount + 100;
        QTest::newRow("no paging keys") << true << false << QString() << 0 << 30;
        QTest::newRow("second page") << true << false << "&mode=2&pageStart=30&pageNum=30" << 30 << 30;
        QTest::newRow("more than 30 asked")
            << true << false << "&mode=2&pageStart=60&pageNum=100" << 60 << 30;
        QTest::newRow("fewer asked, gbk form") << true << true << "&mode=2&pageStart=5&pageNum=7" << 5 << 7;
        QTest::newRow("last page") << true << false << "&mode=2&pageStart=90&pageNum=30" << 90 << all - 90;
        QTest::newRow("past the end") << true << false << "&mode=2&pageStart=200&pageNum=30" << all << 0;
        QTest::newRow("default: everything at once")
            << false << false << "&mode=2&pageStart=30&pageNum=30" << 0 << all;
    }
    void albumListsComeInPagesOf30()
    {
        QFETCH(bool, today);
        QFETCH(bool, v2);
        QFETCH(QString, paging);
        QFETCH(int, first);
        QFETCH(int, count);
        ExtraAlbum small;
        small.pictureCount = 1;
        small.pictureBytes = 0;
        QCOMPARE(knobs().addExtraAlbums(small, 100).size(), 100);
        const QList<AlbumInfo> all = knobs().data().albums(Space::Main);
        knobs().setProfile(today ? Profile::Today : Profile::Default);
        if (!today)
            m_client->useTokenKey(QString());
        const QUrl url = v2 ? m_client->albumListV2(m_client->uin(), m_client->gtk())
                            : m_client->albumListV3(m_client->gtk());
        const QString text = m_client->getUrl(QUrl(url.toString() + paging)).decoded();
        QCOMPARE(text.count(QStringLiteral("createtime")), count);
        QStringList expected;
        for (const AlbumInfo &album : all.mid(first, count))
            expected.append(album.id);
        QCOMPARE(valuesOf(text, QStringLiteral("id")), expected);
        QVERIFY(text.contains(QStringLiteral("\"albumsInUser\" : %1,").arg(all.size())));
        QCOMPARE(text.contains(QStringLiteral("\"nextPageStartModeSort\" : %1,").arg(first + count)), today);
        QCOMPARE(text.contains(QStringLiteral("\"totalInPageModeSort\" : %1\n").arg(count)), today);
    }

    void otherSpacesPicturesNeedThePhotoKey_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<QString>("viewer");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("photoKey"); // listed (after a photo listing), forged, none
        QTest::addColumn<bool>("placeholder");
        const QString second = QStringLiteral("/photo/b/V2scenery/2.jpg");
        const QString main = QString::fromLatin1(MainUin);
        QTest::newRow("other space, no key") << true << main << second << "none" << true;
        QTest::newRow("other space, normal size") << true << main << "/photo/c/V2family/1.jpg"
                                                  << "none" << true;
        QTest::newRow("other space, forged key") << true << main << second << "forged" << true;
        QTest::newRow("other space, after a listing") << true << main << second << "listed" << false;
        QTest::newRow("other space's cover") << true << main << "/photo/m/V2scenery/cover.jpg"
                                             << "none" << false;
        QTest::newRow("own space") << true << main << "/photo/b/V1three/2.jpg"
                                   << "none" << false;
        QTest::newRow("owner of the space")
            << true << QString::fromLatin1(SecondUin) << second << "none" << false;
        QTest::newRow("default profile") << false << main << second << "none" << false;
    }
    void otherSpacesPicturesNeedThePhotoKey()
    {
        QFETCH(bool, today);
        QFETCH(QString, viewer);
        QFETCH(QString, path);
        QFETCH(QString, photoKey);
        QFETCH(bool, placeholder);
        const auto client = viewerClient(viewer);
        if (photoKey == QLatin1String("listed")) {
            for (int i = 0; i < 2; ++i) {
                const auto listing = client->getUrl(client->photoListOther(
                    QString::fromLatin1(SecondUin), QStringLiteral("V2scenery"), 0, 200));
                const auto set = QNetworkCookie::parseCookies(listing.header("Set-Cookie"));
                QCOMPARE(set.size(), 1);
                QCOMPARE(set[0].name(), QByteArray("qq_photo_key"));
                QCOMPARE(set[0].path(), QStringLiteral("/"));
                QCOMPARE(QString::fromLatin1(set[0].value()), knobs().issuedSignIns().last().photoKey);
            }
        } else if (photoKey == QLatin1String("forged")) {
            client->nam().cookieJar()->setCookiesFromUrl({QNetworkCookie("qq_photo_key", "0123456789abcdef")},
                                                         QUrl(m_server->root() + QStringLiteral("/")));
        }
        knobs().setProfile(today ? Profile::Today : Profile::Default);
        const auto answer = client->get(path);
        QCOMPARE(answer.status, 200);
        if (!placeholder) {
            QCOMPARE(answer.body, m_server->pictureBytes(path));
            return;
        }
        QCOMPARE(answer.header("Content-Type"), QByteArray("image/gif"));
        QCOMPARE(answer.body, knobs().placeholderBytes());
        const QImage gif = QImage::fromData(answer.body, "GIF");
        QVERIFY(!gif.isNull() && gif.width() <= 100 && gif.height() <= 100);
        QVERIFY2(answer.body.size() > 1500 && answer.body.size() < 3000,
                 QByteArray::number(answer.body.size()));
    }

    // After COUNT requests served the service turns every list and picture away busy
    // for SECONDS, logs the window, then serves the next COUNT.
    void throttleTurnsAwayAfterItsCount()
    {
        const QString picture = QStringLiteral("/photo/b/V1three/1.jpg");
        knobs().setThrottle(3, 2);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m_client->get(picture).status, 200);
        QCOMPARE(m_client->get(QStringLiteral("/version/main.txt")).status, 200); // not counted
        const StandinClient::Answer list = m_client->getUrl(m_client->albumListV3(m_client->gtk()));
        QVERIFY2(list.decoded().contains(QStringLiteral("\"code\" : -10001,")), qPrintable(list.decoded()));
        const StandinClient::Answer refused = m_client->get(picture);
        QCOMPARE(refused.status, 429);
        QCOMPARE(refused.header("Retry-After"), QByteArray("2"));
        QCOMPARE(knobs().requestsTo(picture).last().fault, QStringLiteral("throttle"));
        QCOMPARE(knobs().throttle().windows().size(), 1);
        QVERIFY(knobs().throttle().busy());
        QTRY_VERIFY_WITH_TIMEOUT(!knobs().throttle().busy(), 5000);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m_client->get(picture).status, 200);
        QCOMPARE(knobs().throttle().windows().size(), 1);
        QCOMPARE(m_client->get(picture).status, 429);
        QCOMPARE(knobs().throttle().windows().size(), 2);
        knobs().setThrottle(0, 0);
    }

    void rateBudgetRefusesBeyondItsWindow()
    {
        knobs().setRate(3);
        RateBudget &rate = knobs().rate();
        const QString picture = QStringLiteral("/photo/b/V1three/1.jpg");
        m_server->pictureBytes(picture); // drawn before the clock matters
        qint64 window = -1;
        // Five requests inside one window; on a loaded machine that may take a few tries.
        for (int attempt = 0; attempt < 5 && window < 0; ++attempt) {
            QTRY_VERIFY_WITH_TIMEOUT(rate.msIntoWindow() < 300, 2000);
            const qint64 started = rate.window();
            knobs().clearRequests();
            QList<StandinClient::Answer> answers;
            answers << m_client->getUrl(m_client->albumListV3(m_client->gtk())) << m_client->get(picture)
                    << m_client->getUrl(m_client->photoListOwn(QString::fromLatin1(SmallAlbum.id), 0, 500))
                    << m_client->get(QStringLiteral("/version/main.txt")) // not counted
                    << m_client->getUrl(m_client->albumListV2(m_client->uin(), m_client->gtk()))
                    << m_client->get(picture);
            if (rate.window() != started)
                continue;
            window = started;
            for (int i : {0, 2})
                QVERIFY(answers[i].text().contains(QStringLiteral("\"code\" : 0,")));
            QCOMPARE(answers[1].status, 200);
            QCOMPARE(answers[3].status, 200);
            QVERIFY(answers[4].decoded().contains(
                QStringLiteral("\"code\" : -10049,\n   \"message\" : \"操作过于频繁，请稍后再试\",")));
            QCOMPARE(answers[5].status, 429);
            QCOMPARE(answers[5].header("Retry-After"), QByteArray("1"));
            QCOMPARE(knobs().requestsTo(picture).last().fault, QStringLiteral("rate"));
        }
        QVERIFY(window >= 0);
        QTRY_VERIFY_WITH_TIMEOUT(rate.window() > window, 3000);
        QCOMPARE(m_client->get(picture).status, 200);
        knobs().setRate(0);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(m_client->get(picture).status, 200);
    }

    void serviceCodeAndPlaceholderFaults_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("request"); // v3, v2, photos or a picture path
        QTest::addColumn<int>("code"); // 0: the placeholder GIF
        QTest::addColumn<int>("subcode");
        QTest::addColumn<QString>("message");
        const QString busy = QStringLiteral("服务器繁忙，请稍后再试");
        QTest::newRow("too frequent") << "/fcgi-bin/fcg_list_album_v3=code:-10049@2"
                                      << "v3" << -10049 << -10049 << "操作过于频繁，请稍后再试";
        QTest::newRow("not signed in") << "/fcgi-bin/cgi_list_photo=code:-3000@2"
                                       << "photos" << -3000 << -4001 << "请先登录空间";
        QTest::newRow("busy, gbk list") << "/p/shalist.photo/fcgi-bin/fcg_list_album_v2=code:-10000@2"
                                        << "v2" << -10000 << -10000 << busy;
        QTest::newRow("busy too") << "/fcgi-bin/fcg_list_album_v3=code:-10001@2"
                                  << "v3" << -10001 << -10001 << busy;
        QTest::newRow("placeholder") << "/photo/b/V1three/*=placeholder@2"
                                     << "/photo/b/V1three/3.jpg" << 0 << 0 << QString();
    }
    void serviceCodeAndPlaceholderFaults()
    {
        QFETCH(QString, rule);
        QFETCH(QString, request);
        QFETCH(int, code);
        QFETCH(int, subcode);
        QFETCH(QString, message);
        for (const char *bad : {"/x=code", "/x=code:busy", "/x=placeholder:1"})
            QVERIFY2(!FaultRule::parse(QLatin1String(bad)), bad);
        const auto parsed = FaultRule::parse(rule);
        QVERIFY(parsed);
        knobs().addFault(*parsed);
        const auto send = [&] {
            if (request == QLatin1String("v3"))
                return m_client->getUrl(m_client->albumListV3(m_client->gtk()));
            if (request == QLatin1String("v2"))
                return m_client->getUrl(m_client->albumListV2(m_client->uin(), m_client->gtk()));
            if (request == QLatin1String("photos"))
                return m_client->getUrl(m_client->photoListOwn(QString::fromLatin1(SmallAlbum.id), 0, 500));
            return m_client->get(request);
        };
        for (int i = 0; i < 2; ++i) {
            const auto answer = send();
            QCOMPARE(answer.status, 200);
            if (code == 0) {
                QCOMPARE(answer.header("Content-Type"), QByteArray("image/gif"));
                QCOMPARE(answer.body, knobs().placeholderBytes());
                continue;
            }
            const QString text = answer.decoded();
            QVERIFY2(text.endsWith(
                         QStringLiteral("({\n   \"code\" : %1,\n   \"message\" : \"%2\",\n   \"notice\" : "
                                        "0,\n   \"subcode\" : %3\n});\n")
                             .arg(code)
                             .arg(message)
                             .arg(subcode)),
                     qPrintable(text));
        }
        const auto healed = send();
        QVERIFY(healed.body.contains("\"code\" : 0,") || healed.body == m_server->pictureBytes(request));
    }

    void addedPicturesKeepTheOldKeysAndBytes_data()
    {
        QTest::addColumn<QString>("hostUin");
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<bool>("atFront");
        QTest::newRow("own space, in front") << QString::fromLatin1(MainUin) << "V1three" << true;
        QTest::newRow("own space, at the end") << QString::fromLatin1(MainUin) << "V1three" << false;
        QTest::newRow("other space, in front") << QString::fromLatin1(SecondUin) << "V2family" << true;
    }
    void addedPicturesKeepTheOldKeysAndBytes()
    {
        QFETCH(QString, hostUin);
        QFETCH(QString, albumId);
        QFETCH(bool, atFront);
        const auto listing = [&] {
            return m_client->getUrl(m_client->photoListOther(hostUin, albumId, 0, 200)).text();
        };
        const auto picturesOf = [](const QString &text) {
            QHash<QString, QString> urlOfLloc;
            const QStringList llocs = valuesOf(text, QStringLiteral("lloc"));
            const QStringList urls = valuesOf(text, QStringLiteral("url"));
            for (int i = 0; i < llocs.size(); ++i)
                urlOfLloc.insert(llocs[i],
                                 QString(urls.value(i)).replace(QStringLiteral("\\/"), QStringLiteral("/")));
            return urlOfLloc;
        };
        const QString before = listing();
        const QStringList oldLlocs = valuesOf(before, QStringLiteral("lloc"));
        const QHash<QString, QString> oldUrls = picturesOf(before);
        QHash<QString, QByteArray> oldBytes;
        for (const QString &lloc : oldLlocs)
            oldBytes.insert(lloc, m_client->getUrl(QUrl(oldUrls[lloc])).body);

        const QList<int> keys = knobs().addPictures(albumId, 2, atFront);
        QCOMPARE(keys.size(), 2);
        QVERIFY(knobs().addPictures(QStringLiteral("V9none"), 1, true).isEmpty());
        const QString after = listing();
        QVERIFY(after.contains(QStringLiteral("\"totalInAlbum\" : %1,").arg(oldLlocs.size() + 2)));
        QStringList newLlocs;
        for (int key : keys)
            newLlocs.append(albumId + QLatin1Char('_') + QString::number(key));
        QCOMPARE(valuesOf(after, QStringLiteral("lloc")),
                 atFront ? newLlocs + oldLlocs : oldLlocs + newLlocs);
        const QHash<QString, QString> urls = picturesOf(after);
        for (const QString &lloc : oldLlocs) {
            QCOMPARE(urls[lloc], oldUrls[lloc]);
            QCOMPARE(m_client->getUrl(QUrl(urls[lloc])).body, oldBytes[lloc]);
        }
        const QStringList oldNames = valuesOf(before, QStringLiteral("name"));
        const QStringList names = valuesOf(after, QStringLiteral("name"));
        for (const QString &lloc : newLlocs) {
            QVERIFY(!oldNames.contains(names.at(valuesOf(after, QStringLiteral("lloc")).indexOf(lloc))));
            const auto added = m_client->getUrl(QUrl(urls[lloc]));
            QCOMPARE(added.status, 200);
            QVERIFY(!QImage::fromData(added.body).isNull());
        }
    }

    void originalsKeepTheirFormatAndAreLarger_data()
    {
        QTest::addColumn<QString>("hostUin");
        QTest::addColumn<QString>("lloc");
        QTest::addColumn<QString>("rawPath"); // the raw_upload original
        QTest::addColumn<QString>("originPath"); // the origin_upload original
        QTest::addColumn<QByteArray>("type");
        const QString main = QString::fromLatin1(MainUin);
        QTest::newRow("jpeg") << main << "V1three_1"
                              << "/photo/r/V1three/1.jpg" << QString() << QByteArray("image/jpeg");
        QTest::newRow("origin instead")
            << main << "V1three_2" << QString() << "/photo/o/V1three/2.jpg" << QByteArray("image/jpeg");
        QTest::newRow("no original") << main << "V1three_3" << QString() << QString() << QByteArray();
        QTest::newRow("png") << main << "V1dots_1"
                             << "/photo/r/V1dots/1.png" << QString() << QByteArray("image/png");
        QTest::newRow("webp") << main << "V1dots_2"
                              << "/photo/r/V1dots/2.webp" << QString() << QByteArray("image/webp");
        QTest::newRow("heic") << main << "V1dots_3"
                              << "/photo/r/V1dots/3.heic" << QString() << QByteArray("image/heic");
        QTest::newRow("png album") << main << "V1png_2"
                                   << "/photo/r/V1png/2.png" << QString() << QByteArray("image/png");
        QTest::newRow("other space") << QString::fromLatin1(SecondUin) << "V2scenery_3"
                                     << "/photo/r/V2scenery/3.jpg" << QString() << QByteArray("image/jpeg");
    }
    void originalsKeepTheirFormatAndAreLarger()
    {
        QFETCH(QString, hostUin);
        QFETCH(QString, lloc);
        QFETCH(QString, rawPath);
        QFETCH(QString, originPath);
        QFETCH(QByteArray, type);
        const QString albumId = lloc.left(lloc.indexOf(QLatin1Char('_')));
        const bool own = hostUin == QLatin1String(MainUin);
        const QString listed
            = itemOf(m_client->getUrl(m_client->photoListOther(hostUin, albumId, 0, 200)).text(), lloc);
        const QString viewed
            = itemOf(m_client->getUrl(m_client->floatview(hostUin, albumId, lloc, 0, 0)).text(), lloc);
        for (const QString &item : {listed, viewed}) {
            const bool withRaw = own || item == viewed; // other spaces: the address only in floatview
            QCOMPARE(fieldOf(item, QStringLiteral("raw_upload")), rawPath.isEmpty() ? "0" : "1");
            QCOMPARE(fieldOf(item, QStringLiteral("raw")), quotedAddress(withRaw ? rawPath : QString()));
            QCOMPARE(fieldOf(item, QStringLiteral("origin_upload")), originPath.isEmpty() ? "0" : "1");
            QCOMPARE(fieldOf(item, QStringLiteral("origin_url")), quotedAddress(originPath));
            QCOMPARE(fieldOf(item, QStringLiteral("is_video")), QStringLiteral("0"));
        }
        const QString key = lloc.mid(albumId.size() + 1);
        if (type.isEmpty()) {
            for (const char *kind : {"r", "o"})
                QCOMPARE(m_client->get(QStringLiteral("/photo/%1/%2/%3.jpg").arg(kind, albumId, key)).status,
                         404);
            return;
        }
        const QString path = rawPath + originPath;
        QCOMPARE(m_client->get(QString(path).replace(4 + 2 + 1, 1, rawPath.isEmpty() ? "r" : "o")).status,
                 404);
        const auto original = m_client->get(path);
        QCOMPARE(original.status, 200);
        QCOMPARE(original.header("Content-Type"), type);
        QCOMPARE(original.body, m_server->pictureBytes(path));
        const QString url = fieldOf(listed, QStringLiteral("url")).mid(1).chopped(1);
        QVERIFY(original.body.size() > m_client->getUrl(QUrl(url)).body.size());
        if (type != "image/heic") {
            QBuffer buffer(const_cast<QByteArray *>(&original.body));
            QImageReader reader(&buffer);
            QCOMPARE(QByteArray("image/") + reader.format(), type);
            QVERIFY(!reader.read().isNull());
            return;
        }
        const auto boxes = boxesOf(original.body);
        QCOMPARE(typesOf(boxes), (QByteArrayList {"ftyp", "meta", "mdat"}));
        QVERIFY(original.body.mid(4, 8) == "ftypheic");
        QVERIFY(boxes[1].second.contains("pict") && boxes[1].second.contains("iloc"));
        QVERIFY(boxes[2].second.size() > 1000);
    }

    void floatviewGivesTheWindowAroundAPicture_data()
    {
        QTest::addColumn<QString>("hostUin");
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<QString>("picKey");
        QTest::addColumn<int>("prevNum"); // -1: left out
        QTest::addColumn<int>("postNum");
        QTest::addColumn<int>("firstKey"); // 0: the error answer of `count`
        QTest::addColumn<int>("count");
        const QString main = QString::fromLatin1(MainUin);
        const QString big = QString::fromLatin1(BigAlbum.id);
        QTest::newRow("middle") << main << big << "V1big620_300" << 10 << 10 << 290 << 21;
        QTest::newRow("start") << main << big << "V1big620_1" << 5 << 2 << 1 << 3;
        QTest::newRow("end") << main << big << "V1big620_620" << 2 << 5 << 618 << 3;
        QTest::newRow("at most 100") << main << big << "V1big620_300" << 150 << 150 << 201 << 100;
        QTest::newRow("keys left out") << main << big << "V1big620_7" << -1 << -1 << 7 << 1;
        QTest::newRow("question album needs no answer") << QString::fromLatin1(ThirdUin) << "V3question"
                                                        << "V3question_2" << 1 << 1 << 1 << 3;
        QTest::newRow("unknown picture") << main << big << "V1big620_621" << 0 << 0 << 0 << -10802;
        QTest::newRow("picture of another album") << main << big << "V1three_1" << 0 << 0 << 0 << -10802;
        QTest::newRow("unknown album") << main << "V1nothing"
                                       << "V1nothing_1" << 0 << 0 << 0 << -10801;
        QTest::newRow("private album") << QString::fromLatin1(SecondUin) << "V2private"
                                       << "V2private_1" << 0 << 0 << 0 << -10815;
    }
    void floatviewGivesTheWindowAroundAPicture()
    {
        QFETCH(QString, hostUin);
        QFETCH(QString, albumId);
        QFETCH(QString, picKey);
        QFETCH(int, prevNum);
        QFETCH(int, postNum);
        QFETCH(int, firstKey);
        QFETCH(int, count);
        const auto answer = m_client->getUrl(m_client->floatview(hostUin, albumId, picKey, prevNum, postNum));
        const QString text = answer.text();
        QVERIFY(text.startsWith(QStringLiteral("viewer_Callback({\n   \"code\" : ")));
        if (firstKey == 0) {
            QVERIFY2(text.contains(QStringLiteral("\"code\" : %1,").arg(count)), qPrintable(text));
            QVERIFY(!text.contains(QStringLiteral("\"lloc\"")));
            return;
        }
        QStringList expected;
        for (int key = firstKey; key < firstKey + count; ++key)
            expected.append(albumId + QLatin1Char('_') + QString::number(key));
        QCOMPARE(valuesOf(text, QStringLiteral("picKey")), expected);
        QCOMPARE(valuesOf(text, QStringLiteral("lloc")), expected);
        QVERIFY(text.contains(
            QStringLiteral(
                "\"picPosInPage\" : %1,\n      \"picTotal\" : %2\n   },\n   \"message\" : \"\",\n   "
                "\"subcode\" : 0\n});")
                .arg(expected.indexOf(picKey))
                .arg(albumId == QLatin1String(BigAlbum.id) ? BigAlbum.pictures : QuestionAlbum.pictures)));
        QCOMPARE(valuesOf(text, QStringLiteral("url")).size(), count);
    }

    // The three forms of is_video, the video addresses, the MP4 files and who gets them.
    void videosAreListedAndServedToTheirSpaceOnly()
    {
        const QString third = QString::fromLatin1(ThirdUin);
        const QString id = QString::fromLatin1(VideoAlbum.id);
        const QString listing = m_client->getUrl(m_client->photoListOther(third, id, 0, 200)).text();
        const QString floatview
            = m_client->getUrl(m_client->floatview(third, id, id + QStringLiteral("_1"), 0, 9)).text();
        QCOMPARE(valuesOf(floatview, QStringLiteral("lloc")).size(), VideoAlbum.pictures);
        QVERIFY(!listing.contains(QStringLiteral("video_info")));
        QSet<QString> formsSeen;
        for (int key = 1; key <= VideoAlbum.pictures; ++key) {
            const QString lloc = id + QLatin1Char('_') + QString::number(key);
            const QString listed = fieldOf(itemOf(listing, lloc), QStringLiteral("is_video"));
            const QString item = itemOf(floatview, lloc);
            const QString viewed = fieldOf(item, QStringLiteral("is_video"));
            const QString info = fieldOf(item, QStringLiteral("video_info"));
            const QString url = fieldOf(item, QStringLiteral("url"));
            QVERIFY(!QImage::fromData(m_client->getUrl(QUrl(url.mid(1).chopped(1))).body, "JPEG").isNull());
            if (key == 1 || key == 5) {
                QCOMPARE(listed, QStringLiteral("0"));
                QCOMPARE(viewed, QStringLiteral("0"));
                QVERIFY(info.isNull());
                continue;
            }
            QVERIFY(listed != viewed);
            formsSeen << listed << viewed;
            const QString video = quotedAddress(QStringLiteral("/video/%1/%2.mp4").arg(id).arg(key));
            const QString expected
                = QStringLiteral(
                      "{ \"cover_url\" : %1, \"download_url\" : %2, \"status\" : %3, \"video_url\" : %4 }")
                      .arg(url, key == 2 ? video : QStringLiteral("\"\""), key == 4 ? "1" : "2",
                           key == 4 ? QStringLiteral("\"\"") : video);
            QCOMPARE(info, expected);
        }
        QCOMPARE(formsSeen, (QSet<QString> {"true", "1", "\"1\""}));

        const auto fetch = [this](const QString &path, const QByteArray &referer) {
            QNetworkRequest request(QUrl(m_server->root() + path));
            if (!referer.isEmpty())
                request.setRawHeader("Referer", referer);
            return m_client->send(request);
        };
        const QByteArray referer = "https://user.qzone.qq.com/" + third.toLatin1() + "/infocenter";
        QByteArrayList seen;
        for (const char *path : {"/video/V3video/2.mp4", "/video/V3video/3.mp4"}) {
            const auto answer = fetch(QLatin1String(path), referer);
            QCOMPARE(answer.status, 200);
            QCOMPARE(answer.header("Content-Type"), QByteArray("video/mp4"));
            QCOMPARE(answer.body, m_server->pictureBytes(QLatin1String(path)));
            QVERIFY2(answer.body.size() > 1000 && answer.body.size() < 16 * 1024,
                     QByteArray::number(answer.body.size()));
            QVERIFY(!seen.contains(answer.body));
            seen.append(answer.body);
            const auto boxes = boxesOf(answer.body);
            QCOMPARE(typesOf(boxes), (QByteArrayList {"ftyp", "moov", "mdat"}));
            QCOMPARE(answer.body.mid(4, 8), QByteArray("ftypisom"));
            QVERIFY(boxes[0].second.mid(8).contains("mp42"));
            const auto movie = boxesOf(boxes[1].second);
            QCOMPARE(typesOf(movie), (QByteArrayList {"mvhd", "trak"}));
            QCOMPARE(typesOf(boxesOf(movie[1].second)), (QByteArrayList {"tkhd", "mdia"}));
            QVERIFY(movie[1].second.contains("vide") && movie[1].second.contains("stco"));
            QCOMPARE(fetch(QLatin1String(path), QByteArray()).status, 403);
            QCOMPARE(
                fetch(QLatin1String(path), "https://user.qzone.qq.com/" + QByteArray(MainUin) + "/infocenter")
                    .status,
                403);
        }
        QCOMPARE(fetch(QStringLiteral("/video/V3video/4.mp4"), referer).status, 404); // not transcoded
        QCOMPARE(fetch(QStringLiteral("/video/V3video/1.mp4"), referer).status, 404); // a picture
    }

    void protectedAlbumsWantTheAnswer_data()
    {
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<bool>("ownForm");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("accepted");
        const QString question = QString::fromUtf8(AlbumQuestion);
        const auto md5 = [](const QByteArray &text) {
            return QString::fromLatin1(QCryptographicHash::hash(text, QCryptographicHash::Md5).toHex());
        };
        const QString answer = md5(QUrl::toPercentEncoding(QString::fromUtf8(AlbumQuestionAnswer))).toUpper();
        const QString password = md5(AlbumPassword);
        QTest::newRow("question, right") << "V3question" << false << question << answer << true;
        QTest::newRow("question, right, own form") << "V3question" << true << question << answer << true;
        QTest::newRow("question, lower-case hash")
            << "V3question" << false << question << answer.toLower() << false;
        QTest::newRow("question, not sent") << "V3question" << false << QString() << answer << false;
        QTest::newRow("question, wrong answer")
            << "V3question" << false << question << md5("x").toUpper() << false;
        QTest::newRow("password, right") << "V3password" << false << QString() << password << true;
        QTest::newRow("password, right, own form") << "V3password" << true << QString() << password << true;
        QTest::newRow("password, upper-case hash")
            << "V3password" << false << QString() << password.toUpper() << false;
        QTest::newRow("password, none") << "V3password" << true << QString() << QString() << false;
        QTest::newRow("open album") << "V3video" << true << QString() << QString() << true;
    }
    void protectedAlbumsWantTheAnswer()
    {
        QFETCH(QString, albumId);
        QFETCH(bool, ownForm);
        QFETCH(QString, question);
        QFETCH(QString, answer);
        QFETCH(bool, accepted);
        QUrl url = ownForm ? m_client->photoListOwn(albumId, 0, 500)
                           : m_client->photoListOther(QString::fromLatin1(ThirdUin), albumId, 0, 200);
        QUrlQuery query(url);
        for (const char *key : {"hostUin", "question", "answer"})
            query.removeAllQueryItems(QLatin1String(key));
        query.addQueryItem(QStringLiteral("hostUin"), QString::fromLatin1(ThirdUin));
        query.addQueryItem(QStringLiteral("question"),
                           QString::fromLatin1(QUrl::toPercentEncoding(question)));
        query.addQueryItem(QStringLiteral("answer"), answer);
        url.setQuery(query);
        const QString text = m_client->getUrl(url).text();
        if (accepted) {
            QVERIFY(text.contains(QStringLiteral("\"code\" : 0,")));
            QCOMPARE(text.count(QStringLiteral("\"pre\" : ")),
                     knobs().data().album(Space::Third, albumId)->total + 1);
        } else {
            QVERIFY2(
                text.contains(QStringLiteral("({\n   \"code\" : -10805,\n   \"message\" : \"回答错误\",")),
                qPrintable(text));
            QCOMPARE(text.count(QStringLiteral("pre")), 0);
        }
    }

    void albumObjectsCarryAccessAndPrivacy()
    {
        const auto albumsOf = [this](const char *uin) {
            return m_client->getUrl(m_client->albumListV2(QLatin1String(uin), m_client->gtk())).decoded();
        };
        const QString second = albumsOf(SecondUin);
        QCOMPARE(second.count(QStringLiteral("createtime")), 3);
        QCOMPARE(valuesOf(second, QStringLiteral("allowAccess")), (QStringList {"1", "1", "0"}));
        QCOMPARE(valuesOf(second, QStringLiteral("priv")), (QStringList {"1", "1", "4"}));
        QCOMPARE(valuesOf(second, QStringLiteral("id")).last(), QString::fromLatin1(PrivateAlbum.id));
        const QString third = albumsOf(ThirdUin);
        QCOMPARE(valuesOf(third, QStringLiteral("id")),
                 (QStringList {"V3video", "V3question", "V3password"}));
        QCOMPARE(valuesOf(third, QStringLiteral("priv")), (QStringList {"1", "5", "2"}));
        QCOMPARE(valuesOf(third, QStringLiteral("question")), QStringList {QString::fromUtf8(AlbumQuestion)});
        const QString denied
            = m_client
                  ->getUrl(m_client->photoListOther(QString::fromLatin1(SecondUin),
                                                    QString::fromLatin1(PrivateAlbum.id), 0, 200))
                  .text();
        QVERIFY(denied.contains(
            QStringLiteral("\"code\" : -10815,\n   \"message\" : \"对不起，您没有权限访问该相册\",")));
        QCOMPARE(denied.count(QStringLiteral("pre")), 0);

        knobs().setProfile(Profile::Default);
        m_client->useTokenKey(QString());
        const QString before = albumsOf(SecondUin);
        QCOMPARE(before.count(QStringLiteral("createtime")), 2);
        QVERIFY(!before.contains(QLatin1String(PrivateAlbum.id)));
    }

    void todayEscapesPictureTexts_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<bool>("floatview");
        QTest::addColumn<QString>("lloc");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("desc");
        QTest::newRow("today, list") << true << false << "V1three_1"
                                     << "\"\\u5c0f\\u732b\""
                                     << "\"\\u7b2c1\\u5f20\"";
        QTest::newRow("today, floatview") << true << true << "V1three_1"
                                          << "\"\\u5c0f\\u732b\""
                                          << "\"\\u7b2c1\\u5f20\"";
        QTest::newRow("today, ASCII as it was") << true << false << "V1hostile_2"
                                                << "\"c\\d\""
                                                << "\"\"";
        QTest::newRow("today, escapes kept") << true << true << "V1escaped_1"
                                             << "\"\\u7167\\u7247\""
                                             << "\"a\\nb\"";
        QTest::newRow("default, list") << false << false << "V1three_1"
                                       << "\"小猫\""
                                       << "\"第1张\"";
        QTest::newRow("default, floatview") << false << true << "V1three_1"
                                            << "\"小猫\""
                                            << "\"第1张\"";
    }
    void todayEscapesPictureTexts()
    {
        QFETCH(bool, today);
        QFETCH(bool, floatview);
        QFETCH(QString, lloc);
        QFETCH(QString, name);
        QFETCH(QString, desc);
        if (!today) {
            knobs().setProfile(Profile::Default);
            m_client->useTokenKey(QString());
        }
        const QString albumId = lloc.left(lloc.indexOf(QLatin1Char('_')));
        const QString text
            = m_client
                  ->getUrl(floatview ? m_client->floatview(m_client->uin(), albumId, lloc, 0, 0)
                                     : m_client->photoListOwn(albumId, 0, 500))
                  .text();
        const QString item = itemOf(text, lloc);
        QCOMPARE(fieldOf(item, QStringLiteral("name")), name);
        QCOMPARE(fieldOf(item, QStringLiteral("desc")), desc);
    }

    // The photo list's shot keys are well-formed JSON in both profiles, decode to the
    // same texts, and each is missing on some pictures: 1 has all, 3 has "0" and the
    // exif's time, 4 no camera, 6 no rawshoottime, 12 no time and no camera.
    void photoListSaysWhenAndWhere_data()
    {
        QTest::addColumn<bool>("today");
        QTest::newRow("today") << true;
        QTest::newRow("default") << false;
    }
    void photoListSaysWhenAndWhere()
    {
        QFETCH(bool, today);
        if (!today) {
            knobs().setProfile(Profile::Default);
            m_client->useTokenKey(QString());
        }
        const QString text
            = m_client->getUrl(m_client->photoListOwn(QString::fromLatin1(BigAlbum.id), 0, 12)).text();
        QCOMPARE(text.contains(QStringLiteral("\\u676d\\u5dde")), today); // 杭州, picture 1's place
        QJsonParseError error;
        const QJsonDocument json = QJsonDocument::fromJson(
            text.mid(text.indexOf(QLatin1Char('(')) + 1).chopped(3).toUtf8(), &error); // ");\n"
        QVERIFY2(json.isObject(), qPrintable(error.errorString()));
        const QJsonArray list = json[QLatin1String("data")][QLatin1String("photoList")].toArray();
        QCOMPARE(list.size(), 12);
        const auto picture = [&list](int n) {
            return list.at(n - 1).toObject();
        };
        const auto exifTime = [&](int n) {
            return picture(n)[QLatin1String("exif")][QLatin1String("originalTime")].toString();
        };
        QCOMPARE(picture(1)[QLatin1String("poiName")].toString(), QStringLiteral("杭州市西湖区"));
        QVERIFY(picture(1)[QLatin1String("rawshoottime")].toString()
                < picture(1)[QLatin1String("uploadtime")].toString());
        QCOMPARE(exifTime(1).left(4), picture(1)[QLatin1String("rawshoottime")].toString().left(4));
        QCOMPARE(picture(1)[QLatin1String("exif")][QLatin1String("make")].toString(),
                 QStringLiteral("Apple"));
        QCOMPARE(picture(1)[QLatin1String("exif")][QLatin1String("lensModel")].toString(), QString());
        QCOMPARE(picture(1)[QLatin1String("cmtTotal")].toInt(-1), 1);
        QCOMPARE(picture(3)[QLatin1String("rawshoottime")].toString(), QStringLiteral("0"));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}:\\d\\d:\\d\\d \\d\\d:\\d\\d:\\d\\d$"))
                    .match(exifTime(3))
                    .hasMatch());
        for (const char *key : {"exif", "cameratype", "cmtTotal"})
            QVERIFY2(!picture(4).contains(QLatin1String(key)), key);
        QVERIFY(!picture(6).contains(QLatin1String("rawshoottime")));
        QVERIFY(!exifTime(6).isEmpty());
        QCOMPARE(picture(9)[QLatin1String("rawshoottime")].toString(), QStringLiteral("0"));
        QCOMPARE(exifTime(9), QString());
        QVERIFY(!picture(12).contains(QLatin1String("rawshoottime"))
                && !picture(12).contains(QLatin1String("exif")));
        QCOMPARE(picture(3)[QLatin1String("desc")].toString(), QStringLiteral("和朋友们,在湖边,第3张"));
    }

    // The program: today's profile, a hundred extra albums from one option, a sign-in
    // through the form, the landing page and a first page of albums.
    void programTakesTodaysOptions()
    {
        QProcess program;
        program.start(QStringLiteral(ALBIVEX_STANDIN_EXE),
                      {QStringLiteral("--profile"), QStringLiteral("today"), QStringLiteral("--extra-album"),
                       QStringLiteral("1:0x100"), QStringLiteral("--rate"), QStringLiteral("1000"),
                       QStringLiteral("--extra-moods"), QStringLiteral("30:2")});
        QVERIFY(program.waitForStarted());
        QStringList lines;
        QTRY_VERIFY_WITH_TIMEOUT(
            (lines += QString::fromUtf8(program.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
             lines.size() >= 101),
            10000);
        const auto m = QRegularExpression(QStringLiteral("^listening on (http://127\\.0\\.0\\.1:[0-9]+)$"))
                           .match(lines.first());
        QVERIFY2(m.hasMatch(), qPrintable(lines.first()));
        QCOMPARE(lines.at(100), QStringLiteral("extra album V1extra100"));
        StandinClient client(m.captured(1));
        QNetworkRequest form(QUrl(client.root() + QStringLiteral("/cgi-bin/login")));
        form.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        const auto signedIn = client.send(form, "POST", "u=123456789&p=secret&s_url=%2F");
        QCOMPARE(signedIn.status, 302);
        SignIn signIn;
        signIn.uin = QString::fromLatin1(MainUin);
        for (const QByteArray &line : signedIn.headerValues("Set-Cookie"))
            signIn.cookies += QNetworkCookie::parseCookies(line);
        client.useSignIn(signIn);
        QVERIFY(client.cookie("p_skey").isEmpty());
        land(client);
        QVERIFY(!client.cookie("p_skey").isEmpty());
        const QString text = client.getUrl(client.albumListV3(client.gtk())).text();
        QCOMPARE(text.count(QStringLiteral("createtime")), 30);
        QVERIFY(text.contains(QStringLiteral("\"albumsInUser\" : %1,").arg(MainAlbumCount + 100)));
        const QString moods = client
                                  .getUrl(UrlWithQuery(client.root() + QLatin1String(MoodRoutes::ListPath),
                                                       {{"uin", client.uin()}, {"g_tk", client.gtk()}}))
                                  .text();
        QVERIFY2(moods.contains(QStringLiteral("\"total\" : %1,").arg(MainMoodCount + 30)),
                 qPrintable(moods));
        program.kill();
        program.waitForFinished();

        for (const QStringList &bad : {QStringList {QStringLiteral("--profile"), QStringLiteral("tomorrow")},
                                       QStringList {QStringLiteral("--extra-album"), QStringLiteral("1:0x0")},
                                       QStringList {QStringLiteral("--extra-moods"), QStringLiteral("30")},
                                       QStringList {QStringLiteral("--rate"), QStringLiteral("-1")}}) {
            QProcess refused;
            refused.start(QStringLiteral(ALBIVEX_STANDIN_EXE), bad);
            QVERIFY(refused.waitForFinished(10000));
            QCOMPARE(refused.exitCode(), 2);
        }
    }
};

QTEST_GUILESS_MAIN(TestStandinToday)
#include "TestStandinToday.moc"
