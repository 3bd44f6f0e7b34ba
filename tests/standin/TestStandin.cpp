#include "StandinClient.h"
#include "qzone/AlbumListParser.h"
#include "qzone/CookieCapture.h"
#include "qzone/PhotoListParser.h"
#include "standin/StandinData.h"
#include "standin/StandinServer.h"
#include "standin/StandinThread.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;
using namespace albivex::standin;

// The stand-in's answers that later tests rely on: sign-in, the token check, the key
// forms and counts of the list answers, paging, and real pictures.
class TestStandin : public QObject
{
    Q_OBJECT

    std::unique_ptr<StandinServer> m_server;
    std::unique_ptr<StandinClient> m_client;

    StandinKnobs &knobs() { return m_server->knobs(); }

    // The addresses in the order the answer lists them, slashes unescaped.
    static QStringList urlsOf(const QString &text, const QString &key = QStringLiteral("url"))
    {
        QStringList urls;
        const QRegularExpression re(QStringLiteral("\"%1\" : \"([^\"]*)\",").arg(key));
        for (auto it = re.globalMatch(text); it.hasNext();)
            urls.append(it.next().captured(1).replace(QStringLiteral("\\/"), QStringLiteral("/")));
        return urls;
    }
    static int picturesOf(const char *albumId)
    {
        for (const AlbumFacts &album : MainAlbums) {
            if (qstrcmp(album.id, albumId) == 0)
                return album.pictures;
        }
        for (const AlbumFacts &album : SecondAlbums) {
            if (qstrcmp(album.id, albumId) == 0)
                return album.pictures;
        }
        return -1;
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<StandinServer>();
        QVERIFY(m_server->listen());
        m_client = std::make_unique<StandinClient>(m_server->root());
        m_client->useSignIn(knobs().signIn(QString::fromLatin1(MainUin)));
    }
    void cleanup()
    {
        m_client.reset();
        m_server.reset();
    }

    void albumListNeedsOneSignInAndItsToken_data()
    {
        QTest::addColumn<QString>("cookies"); // $UIN, $SKEY, $OTHERSKEY are replaced
        QTest::addColumn<QString>("token"); // "right", "wrong", "other"
        QTest::addColumn<bool>("v2");
        QTest::addColumn<bool>("accepted");
        const QString both = QStringLiteral("pt2gguin=$UIN; uin=$UIN; skey=$SKEY; p_uin=$UIN");
        QTest::newRow("v3 signed in") << both << "right" << false << true;
        QTest::newRow("v2 signed in") << both << "right" << true << true;
        QTest::newRow("v3 no cookies") << QString() << "right" << false << false;
        QTest::newRow("v2 no cookies") << QString() << "right" << true << false;
        QTest::newRow("v3 wrong g_tk") << both << "wrong" << false << false;
        QTest::newRow("v2 wrong g_tk") << both << "wrong" << true << false;
        QTest::newRow("skey without uin") << QStringLiteral("skey=$SKEY") << "right" << false << false;
        QTest::newRow("skey of another number")
            << QStringLiteral("uin=$UIN; skey=$OTHERSKEY") << "other" << false << false;
    }
    void albumListNeedsOneSignInAndItsToken()
    {
        QFETCH(QString, cookies);
        QFETCH(QString, token);
        QFETCH(bool, v2);
        QFETCH(bool, accepted);
        const SignIn mine = knobs().signIn(QString::fromLatin1(MainUin));
        const SignIn other = knobs().signIn(QStringLiteral("55555"));
        cookies.replace(QStringLiteral("$UIN"), mine.uinCookie())
            .replace(QStringLiteral("$SKEY"), mine.skey)
            .replace(QStringLiteral("$OTHERSKEY"), other.skey);
        const QString gtk = token == QLatin1String("right") ? knobs().tokenFor(mine)
            : token == QLatin1String("other")               ? knobs().tokenFor(other)
                                                            : QStringLiteral("5381");
        StandinClient bare(m_server->root());
        bare.useSignIn(mine); // for the query's numbers; the cookies go in by hand
        bare.nam().setCookieJar(new QNetworkCookieJar);
        QNetworkRequest request(v2 ? bare.albumListV2(QString::fromLatin1(MainUin), gtk)
                                   : bare.albumListV3(gtk));
        if (!cookies.isEmpty())
            request.setRawHeader("Cookie", cookies.toLatin1());
        const QString text = bare.send(request).decoded();
        if (accepted) {
            QCOMPARE(text.count(QStringLiteral("createtime")), MainAlbumCount);
        } else {
            QCOMPARE(text.count(QStringLiteral("createtime")), 0);
            QVERIFY(text.contains(QStringLiteral("\"code\" : -3000,")));
            QVERIFY(text.contains(QStringLiteral("\"message\" : ")));
        }
    }

    // The stand-in's own token, against values worked out apart from any code here.
    void pageTokenKnownValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("token");
        QTest::newRow("below 2^31") << QStringLiteral("abc") << QStringLiteral("193485963");
        QTest::newRow("keeps the low 31 bits") << QStringLiteral("abcd") << QStringLiteral("2090069583");
        QTest::newRow("empty") << QString() << QStringLiteral("5381");
        QTest::newRow("p_skey shape")
            << QStringLiteral("Xk9!#$()*+-./:<>?@[]^_{|}~ab0Z12345678901234") << QStringLiteral("1829573079");
    }
    void pageTokenKnownValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, token);
        QCOMPARE(PageToken(key), token);
    }

    void albumAnswerWritesEachKeyOncePerAlbum_data()
    {
        QTest::addColumn<bool>("v2");
        QTest::addColumn<QString>("hostUin");
        QTest::addColumn<int>("albums");
        QTest::newRow("v3 own space") << false << QString::fromLatin1(MainUin) << MainAlbumCount;
        QTest::newRow("v2 own space") << true << QString::fromLatin1(MainUin) << MainAlbumCount;
        QTest::newRow("v2 second space") << true << QString::fromLatin1(SecondUin) << 2;
        QTest::newRow("v2 closed space") << true << QString::fromLatin1(ClosedUin) << 0;
        QTest::newRow("v2 stranger's space") << true << QStringLiteral("55556") << 0;
    }
    void albumAnswerWritesEachKeyOncePerAlbum()
    {
        QFETCH(bool, v2);
        QFETCH(QString, hostUin);
        QFETCH(int, albums);
        const auto answer = m_client->getUrl(v2 ? m_client->albumListV2(hostUin, m_client->gtk())
                                                : m_client->albumListV3(m_client->gtk()));
        QCOMPARE(answer.status, 200);
        QCOMPARE(answer.header("Content-Type"),
                 v2 ? QByteArray("application/x-javascript; charset=gbk")
                    : QByteArray("application/x-javascript; charset=utf-8"));
        const QString text = answer.decoded();
        QVERIFY(text.startsWith(v2 ? QStringLiteral("_Callback(") : QStringLiteral("shine0_Callback(")));
        QCOMPARE(text.count(QStringLiteral("createtime")), albums);
        for (const char *key : {"createtime", "desc", "id", "name", "pre", "total"}) {
            // Values may hold commas; every key line still ends in one.
            const QRegularExpression keyed(QStringLiteral("\"%1\" : [^\\n]*,\\n").arg(QLatin1String(key)));
            QCOMPARE(int(text.count(keyed)), albums);
        }
        const QStringList covers = urlsOf(text, QStringLiteral("pre"));
        QCOMPARE(covers.size(), albums);
        for (const QString &cover : covers) {
            QVERIFY2(cover.startsWith(m_server->root() + QStringLiteral("/photo/a/")), qPrintable(cover));
            // The tool shows covers through the "/m/" form of the address.
            const QString medium = QString(cover).replace(QStringLiteral("/a/"), QStringLiteral("/m/"));
            const auto picture = m_client->getUrl(QUrl(medium));
            QCOMPARE(picture.status, 200);
            QVERIFY(!QImage::fromData(picture.body).isNull());
        }
    }

    void albumAnswerCarriesTheEscapesTheToolMustHandle()
    {
        const QString text = m_client->getUrl(m_client->albumListV3(m_client->gtk())).decoded();
        QVERIFY(text.contains(QStringLiteral("\"name\" : \"\\u76f8\\u518c\",")));
        QVERIFY(text.contains(QStringLiteral("\"desc\" : \"第一天\\n第二天\",")));
        QVERIFY(text.contains(QStringLiteral("\"desc\" : \"路径p\\/q\",")));
        QVERIFY(text.contains(QStringLiteral("\"name\" : \"春游,2016\",")));
        QVERIFY(text.contains(QStringLiteral("\"name\" : \"a<b>|c*d:e\",")));
        QVERIFY(text.contains(QStringLiteral("\"createtime\" : 1450800000,")));
    }

    void gbkAnswerIsGbkOnTheWire()
    {
        const auto answer
            = m_client->getUrl(m_client->albumListV2(QString::fromLatin1(MainUin), m_client->gtk()));
        QVERIFY(!answer.body.contains(QStringLiteral("旅行").toUtf8()));
        QVERIFY(answer.body.contains(QByteArray("\xc2\xc3\xd0\xd0"))); // 旅行 in GBK
        QVERIFY(answer.decoded().contains(QStringLiteral("\"name\" : \"旅行2015\",")));
    }

    // The tool counts pictures by the quoted "pre" key: one more than the pictures.
    void photoAnswerHasOneMorePreThanPictures_data()
    {
        QTest::addColumn<QString>("albumId");
        QTest::addColumn<QString>("hostUin");
        QTest::addColumn<bool>("ownForm");
        for (const AlbumFacts &album : MainAlbums) {
            QTest::addRow("own form %s", album.id) << album.id << QString::fromLatin1(MainUin) << true;
            QTest::addRow("other form %s", album.id) << album.id << QString::fromLatin1(MainUin) << false;
        }
        for (const AlbumFacts &album : SecondAlbums)
            QTest::addRow("second space %s", album.id) << album.id << QString::fromLatin1(SecondUin) << false;
    }
    void photoAnswerHasOneMorePreThanPictures()
    {
        QFETCH(QString, albumId);
        QFETCH(QString, hostUin);
        QFETCH(bool, ownForm);
        const int pageSize = ownForm ? OwnFormPageSize : OtherFormPageSize;
        const auto answer
            = m_client->getUrl(ownForm ? m_client->photoListOwn(albumId, 0, pageSize)
                                       : m_client->photoListOther(hostUin, albumId, 0, pageSize));
        QCOMPARE(answer.header("Content-Type"), QByteArray("application/x-javascript; charset=utf-8"));
        const QString text = answer.text();
        QVERIFY(text.startsWith(ownForm ? QStringLiteral("shine0_Callback(")
                                        : QStringLiteral("shine6_Callback(")));
        const int total = picturesOf(albumId.toLatin1().constData());
        const int onPage = qMin(total, pageSize);
        QCOMPARE(text.count(QStringLiteral("\"pre\" : ")), onPage + 1);
        const int wordsWithPre = albumId == QLatin1String(PreWordsAlbum.id) ? 3 : 0;
        QCOMPARE(text.count(QStringLiteral("pre")), onPage + 1 + wordsWithPre);
        for (const char *key : {"url", "name", "uploadtime", "desc"}) {
            const QRegularExpression keyed(QStringLiteral("\"%1\" : [^\\n]*,\\n").arg(QLatin1String(key)));
            QCOMPARE(int(text.count(keyed)), onPage);
        }
        QVERIFY(text.contains(QStringLiteral("\"totalInAlbum\" : %1,").arg(total)));
        const QStringList urls = urlsOf(text);
        for (const QString &url : urls)
            QVERIFY2(
                url.startsWith(m_server->root() + QStringLiteral("/photo/b/") + albumId + QLatin1Char('/')),
                qPrintable(url));
    }

    void pagingWalksTheWholeAlbumInOrder_data()
    {
        QTest::addColumn<bool>("ownForm");
        QTest::addColumn<int>("pageNum");
        QTest::addColumn<int>("requests");
        QTest::newRow("other form, pages of 200") << false << 200 << 4;
        QTest::newRow("own form, pages of 500") << true << 500 << 2;
        QTest::newRow("pages above the most are cut to 500") << true << 2000 << 2;
        QTest::newRow("pages of 7") << true << 7 << 89;
    }
    void pagingWalksTheWholeAlbumInOrder()
    {
        QFETCH(bool, ownForm);
        QFETCH(int, pageNum);
        QFETCH(int, requests);
        const QString id = QString::fromLatin1(BigAlbum.id);
        QStringList urls;
        int asked = 0;
        while (urls.size() < BigAlbum.pictures && asked < 200) {
            ++asked;
            const QString text
                = m_client
                      ->getUrl(ownForm ? m_client->photoListOwn(id, urls.size(), pageNum)
                                       : m_client->photoListOther(m_client->uin(), id, urls.size(), pageNum))
                      .text();
            const QStringList page = urlsOf(text);
            QVERIFY(!page.isEmpty());
            QVERIFY(page.size() <= qMin(pageNum, MaxPageNum));
            QCOMPARE(text.count(QStringLiteral("\"pre\" : ")), page.size() + 1);
            urls += page;
        }
        QCOMPARE(asked, requests);
        QCOMPARE(urls.size(), BigAlbum.pictures);
        for (int i = 0; i < urls.size(); ++i)
            QCOMPARE(urls.at(i), m_server->root() + QStringLiteral("/photo/b/%1/%2.jpg").arg(id).arg(i + 1));
        // Past the end: an answer without pictures, still with the album's own "pre".
        const QString beyond = m_client->getUrl(m_client->photoListOwn(id, BigAlbum.pictures, 500)).text();
        QCOMPARE(beyond.count(QStringLiteral("\"pre\" : ")), 1);
        QCOMPARE(beyond.count(QStringLiteral("\"url\" : ")), 0);
    }

    void photoListOfClosedSpaceOrUnknownAlbumIsAnError_data()
    {
        QTest::addColumn<QString>("hostUin");
        QTest::addColumn<QString>("albumId");
        QTest::newRow("closed space") << QString::fromLatin1(ClosedUin) << QString::fromLatin1(BigAlbum.id);
        QTest::newRow("album of another space")
            << QString::fromLatin1(SecondUin) << QString::fromLatin1(BigAlbum.id);
        QTest::newRow("no such album") << QString::fromLatin1(MainUin) << QStringLiteral("V1nothing");
    }
    void photoListOfClosedSpaceOrUnknownAlbumIsAnError()
    {
        QFETCH(QString, hostUin);
        QFETCH(QString, albumId);
        const QString text = m_client->getUrl(m_client->photoListOther(hostUin, albumId, 0, 200)).text();
        QCOMPARE(text.count(QStringLiteral("pre")), 0);
        QVERIFY(text.contains(QStringLiteral("\"code\" : -")));
    }

    void picturesAreRealDistinctAndServedAsPromised()
    {
        struct Case
        {
            QString path;
            QByteArray type;
            qint64 minBytes, maxBytes;
        };
        const QList<Case> cases = {
            {QStringLiteral("/photo/b/V1big620/1.jpg"), "image/jpeg", 1000, 16 * 1024},
            {QStringLiteral("/photo/b/V1big620/620.jpg"), "image/jpeg", 1000, 16 * 1024},
            {QStringLiteral("/photo/c/V1big620/1.jpg"), "image/jpeg", 300, 16 * 1024},
            {QStringLiteral("/photo/b/V1three/1.jpg"), "image/jpeg", 2000, 20 * 1024},
            {QStringLiteral("/photo/b/V1three/2.jpg"), "image/jpeg", 50 * 1024, 250 * 1024},
            {QStringLiteral("/photo/b/V1three/3.jpg"), "image/jpeg", 250 * 1024, 900 * 1024},
            {QStringLiteral("/photo/c/V1three/3.jpg"), "image/jpeg", 5 * 1024, 250 * 1024},
            {QStringLiteral("/photo/b/V1large/1.jpg"), "image/jpeg", 2 * 1024 * 1024, 12 * 1024 * 1024},
            {QStringLiteral("/photo/b/V1png/1.png"), "image/png", 1000, 200 * 1024},
            {QStringLiteral("/photo/a/V1png/cover.png"), "image/png", 1000, 200 * 1024},
            {QStringLiteral("/photo/m/V1three/cover.jpg"), "image/jpeg", 1000, 64 * 1024},
            {QStringLiteral("/photo/b/V2family/2.jpg"), "image/jpeg", 1000, 64 * 1024},
        };
        QSet<QByteArray> seen;
        for (const Case &c : cases) {
            const auto answer = m_client->get(c.path);
            QCOMPARE(answer.status, 200);
            QCOMPARE(answer.header("Content-Type"), c.type);
            QVERIFY2(answer.body.size() >= c.minBytes && answer.body.size() <= c.maxBytes,
                     qPrintable(c.path + QStringLiteral(": %1 bytes").arg(answer.body.size())));
            QCOMPARE(answer.body, m_server->pictureBytes(c.path));
            QVERIFY2(!QImage::fromData(answer.body).isNull(), qPrintable(c.path));
            QVERIFY2(!seen.contains(answer.body), qPrintable(c.path));
            seen.insert(answer.body);
        }
        QCOMPARE(m_client->get(QStringLiteral("/photo/b/V1big620/621.jpg")).status, 404);
        QCOMPARE(m_client->get(QStringLiteral("/photo/b/V1big620/1.png")).status, 404);
        QCOMPARE(m_client->get(QStringLiteral("/photo/b/V1big620/cover.jpg")).status, 404);
        // Made the same way in another server: the data set does not depend on the run.
        StandinServer again;
        QCOMPARE(again.pictureBytes(QStringLiteral("/photo/b/V1three/2.jpg")),
                 m_server->pictureBytes(QStringLiteral("/photo/b/V1three/2.jpg")));
    }

    void extraAlbumServesPicturesOfTheChosenSize()
    {
        ExtraAlbum extra;
        extra.name = QStringLiteral("基准");
        extra.pictureCount = 4;
        extra.pictureBytes = 20000;
        extra.bigPictureIndex = 3;
        extra.bigPictureBytes = 3 * 1024 * 1024 + 7;
        const QString id = knobs().addExtraAlbum(extra);
        const QString list = m_client->getUrl(m_client->albumListV3(m_client->gtk())).text();
        QCOMPARE(list.count(QStringLiteral("createtime")), MainAlbumCount + 1);
        QVERIFY(list.contains(QStringLiteral("\"id\" : \"%1\",").arg(id)));
        const QStringList urls = urlsOf(m_client->getUrl(m_client->photoListOwn(id, 0, 500)).text());
        QCOMPARE(urls.size(), 4);
        for (int i = 0; i < urls.size(); ++i) {
            const auto answer = m_client->getUrl(QUrl(urls.at(i)));
            QCOMPARE(answer.body.size(), i == 2 ? extra.bigPictureBytes : extra.pictureBytes);
            QVERIFY(!QImage::fromData(answer.body).isNull());
            const QString normal = QString(urls.at(i)).replace(QStringLiteral("/b/"), QStringLiteral("/c/"));
            QVERIFY(m_client->getUrl(QUrl(normal)).body.size() < answer.body.size());
        }
    }

    void signInPageHasTheFieldsTestsFillIn()
    {
        const QString back = m_server->root() + QStringLiteral("/");
        const auto answer
            = m_client->get(QStringLiteral("/cgi-bin/xlogin?appid=8000201&style=20&s_url=") + back);
        QCOMPARE(answer.status, 200);
        QCOMPARE(answer.header("Content-Type"), QByteArray("text/html; charset=utf-8"));
        for (const char *id : {"id=\"u\"", "id=\"p\"", "id=\"go\"", "type=\"password\""})
            QVERIFY2(answer.text().contains(QLatin1String(id)), id);
        QVERIFY(answer.text().contains(QStringLiteral("value=\"%1\"").arg(back)));
    }

    void signInAnswers_data()
    {
        QTest::addColumn<QString>("uin");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("uinCookie"); // empty: no sign-in
        QTest::newRow("nine digits") << "123456789"
                                     << "secret"
                                     << "o0123456789";
        QTest::newRow("five digits") << "10001"
                                     << "x"
                                     << "o0000010001";
        QTest::newRow("eleven digits") << "12345678901"
                                       << "x"
                                       << "o12345678901";
        QTest::newRow("password wrong") << "123456789"
                                        << "wrong" << QString();
        QTest::newRow("no password") << "123456789"
                                     << "" << QString();
        QTest::newRow("not a number") << "12ab5"
                                      << "secret" << QString();
    }
    void signInAnswers()
    {
        QFETCH(QString, uin);
        QFETCH(QString, password);
        QFETCH(QString, uinCookie);
        const QString back = m_server->root() + QStringLiteral("/");
        QNetworkRequest request(QUrl(m_server->root() + QStringLiteral("/cgi-bin/login")));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        const QByteArray form
            = "u=" + uin.toLatin1() + "&p=" + password.toLatin1() + "&s_url=" + QUrl::toPercentEncoding(back);
        const auto answer = m_client->send(request, "POST", form);
        const QList<QByteArray> setCookies = answer.headerValues("Set-Cookie");
        if (uinCookie.isEmpty()) {
            QCOMPARE(answer.status, 200);
            QVERIFY(setCookies.isEmpty());
            QVERIFY(answer.text().contains(QStringLiteral("<div id=\"err\">")
                                           + (password == QLatin1String("wrong")
                                                  ? QStringLiteral("您输入的帐号或密码不正确")
                                                  : QString())));
            QVERIFY(!answer.text().contains(QStringLiteral("<div id=\"err\"></div>")));
            return;
        }
        QCOMPARE(answer.status, 302);
        QCOMPARE(answer.header("Location"), back.toUtf8());
        QList<QNetworkCookie> cookies;
        for (const QByteArray &line : setCookies)
            cookies += QNetworkCookie::parseCookies(line);
        QByteArray cookieText;
        QString skey, uinValue;
        for (const QNetworkCookie &c : cookies) {
            QCOMPARE(c.path(), QStringLiteral("/"));
            cookieText += c.name() + '=' + c.value() + "; ";
            if (c.name() == "skey")
                skey = QString::fromLatin1(c.value());
            if (c.name() == "uin")
                uinValue = QString::fromLatin1(c.value());
        }
        QCOMPARE(uinValue, uinCookie);
        QVERIFY2(QRegularExpression(QStringLiteral("^@[!-~]{9}$")).match(skey).hasMatch(), qPrintable(skey));
        QVERIFY(!skey.contains(QLatin1Char(';')) && !skey.contains(QLatin1Char('"'))
                && !skey.contains(QLatin1Char('\'')));
        QVERIFY2(cookieText.size() > 1300, QByteArray::number(cookieText.size()));
        QCOMPARE(cookieText.count("skey=@"), 1);
        QVERIFY(!cookieText.contains("p_skey=")); // the Qzone landing page sets it, and only today
        QVERIFY(knobs().issuedSkeys(uin).contains(skey));

        // The cookies as a browser keeps them open the own space with the matching token.
        StandinClient browser(m_server->root());
        SignIn signIn;
        signIn.uin = uin;
        signIn.skey = skey;
        signIn.cookies = cookies;
        browser.useSignIn(signIn);
        const QString list = browser.getUrl(browser.albumListV3(knobs().tokenFor(signIn))).text();
        QCOMPARE(list.count(QStringLiteral("createtime")), MainAlbumCount);
        const auto centre = browser.get(QStringLiteral("/"));
        QVERIFY(centre.text().contains(QStringLiteral("<title>QQ安全中心</title>")));
        QCOMPARE(centre.header("Content-Type"), QByteArray("text/html; charset=utf-8"));
    }

    void profileAnswerHoldsTheNicknameMarker_data()
    {
        QTest::addColumn<QString>("uin");
        QTest::addColumn<QString>("nickname"); // empty: no marker
        QTest::newRow("main") << QString::fromLatin1(MainUin) << QStringLiteral("Tom");
        QTest::newRow("second") << QString::fromLatin1(SecondUin) << QStringLiteral("小明");
        QTest::newRow("any other") << QStringLiteral("55555") << QStringLiteral("QQ用户55555");
        QTest::newRow("no nickname") << QString::fromLatin1(NoNicknameUin) << QString();
    }
    void profileAnswerHoldsTheNicknameMarker()
    {
        QFETCH(QString, uin);
        QFETCH(QString, nickname);
        QNetworkRequest request(QUrl(m_server->root() + QStringLiteral("/rsc/fcgi-bin/3g_profile_homepage")));
        request.setRawHeader("Content-Type", "text/html;charset=utf-8");
        const QByteArray body
            = "callback=GetCdlistCallback&cid=316&sin=0&ein=15&rettype=19&nolist=0&type=0&id="
            + uin.toLatin1();
        const QString text = m_client->send(request, "POST", body).text();
        QVERIFY(text.startsWith(QStringLiteral("GetCdlistCallback(")));
        const QString marker = QStringLiteral("name\":\"");
        if (nickname.isEmpty()) {
            QVERIFY(!text.contains(marker));
        } else {
            QCOMPARE(text.count(marker), 1);
            QVERIFY(text.contains(marker + nickname + QLatin1Char('"')));
        }
        const LoggedRequest logged
            = knobs().requestsTo(QStringLiteral("/rsc/fcgi-bin/3g_profile_homepage")).last();
        QCOMPARE(logged.method, QStringLiteral("POST"));
        QCOMPARE(logged.body, body);
    }

    void avatarIsAPng()
    {
        const auto answer = m_client->get(
            QStringLiteral("/headimg_dl?bs=qq&dst_uin=123456789&src_uin=albivex&fid=qiwomu&spec=3"));
        QCOMPARE(answer.header("Content-Type"), QByteArray("image/png"));
        QCOMPARE(QImage::fromData(answer.body, "PNG").size(), QSize(100, 100));
    }

    void requestLogKeepsQueryOrderCookieNamesAndFileLines()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("requests.log"));
        QVERIFY(knobs().setRequestLogFile(file));
        knobs().clearRequests();
        const QUrl url = m_client->albumListV3(m_client->gtk());
        m_client->getUrl(url);
        m_client->get(QStringLiteral("/version/main.txt?a=1&b=%26x&a=2"));
        const QList<LoggedRequest> all = knobs().requests();
        QCOMPARE(all.size(), 2);
        const QStringList expectedKeys = {"g_tk",
                                          "callback",
                                          "t",
                                          "hostUin",
                                          "uin",
                                          "appid",
                                          "inCharset",
                                          "outCharset",
                                          "source",
                                          "plat",
                                          "format",
                                          "notice",
                                          "filter",
                                          "handset",
                                          "pageNumModeSort",
                                          "pageNumModeClass",
                                          "needUserInfo",
                                          "idcNum",
                                          "callbackFun",
                                          "_"};
        QCOMPARE(all[0].method, QStringLiteral("GET"));
        QCOMPARE(all[0].path, QStringLiteral("/fcgi-bin/fcg_list_album_v3"));
        QCOMPARE(all[0].queryKeys(), expectedKeys);
        QCOMPARE(all[0].queryValue(QStringLiteral("hostUin")), QString::fromLatin1(MainUin));
        QVERIFY(all[0].cookieNames.contains(QStringLiteral("uin")));
        QVERIFY(all[0].cookieNames.contains(QStringLiteral("skey")));
        QCOMPARE(all[1].queryKeys(), (QStringList {"a", "b", "a"}));
        QCOMPARE(all[1].queryValue(QStringLiteral("b")), QStringLiteral("&x"));
        QVERIFY(all[1].queryValue(QStringLiteral("missing")).isNull());

        QFile lines(file);
        QVERIFY(lines.open(QIODevice::ReadOnly));
        const QList<QByteArray> logged = lines.readAll().trimmed().split('\n');
        QCOMPARE(logged.size(), 2);
        QVERIFY(logged[0].startsWith("GET /fcgi-bin/fcg_list_album_v3?g_tk="));
        QVERIFY(logged[0].contains(" cookies="));
        QVERIFY(logged[1].startsWith("GET /version/main.txt?a=1&b=%26x&a=2"));
        // Each line ends with the arrival on the stand-in's clock, in order.
        QVERIFY(all[0].arrivalMs <= all[1].arrivalMs && all[1].arrivalMs <= knobs().clockMs());
        QVERIFY(logged[1].endsWith(QStringLiteral(" at=%1ms").arg(all[1].arrivalMs).toLatin1()));
    }

    // The tool's own readers take what they need from the answers: the contract
    // between the stand-in and the parsers, end to end.
    void toolParsersReadTheAnswers()
    {
        const SignIn signIn = knobs().signIn(QStringLiteral("10001"));
        const auto capture = CaptureCookieText(QString::fromLatin1(signIn.cookieHeader()));
        QVERIFY(capture);
        QCOMPARE(capture->skey, signIn.skey);
        QCOMPARE(capture->uin, QStringLiteral("10001"));

        QNetworkRequest profile(QUrl(m_server->root() + QStringLiteral("/rsc/fcgi-bin/3g_profile_homepage")));
        QCOMPARE(NicknameFromProfile(
                     m_client->send(profile, "POST", "callback=GetCdlistCallback&id=123456789").text()),
                 QStringLiteral("Tom"));

        const QList<AlbumEntry> albums
            = ParseAlbumList(m_client->getUrl(m_client->albumListV3(m_client->gtk())).text(), QLocale::c());
        QCOMPARE(albums.size(), MainAlbumCount);
        for (int i = 0; i < MainAlbumCount; ++i) {
            const AlbumFacts &facts = MainAlbums[i];
            QCOMPARE(albums[i].albumId, QString::fromLatin1(facts.id));
            QCOMPARE(albums[i].pictureCount, QString::number(facts.pictures));
            const QString name = QString::fromUtf8(facts.name);
            QCOMPARE(albums[i].name, name.left(name.indexOf(QLatin1Char(',')))); // a comma ends the value
            QCOMPARE(m_client->getUrl(QUrl(albums[i].coverUrl)).status, 200);
        }

        const QString id = QString::fromLatin1(HostileNamesAlbum.id);
        const QString page = m_client->getUrl(m_client->photoListOwn(id, 0, 500)).text();
        QCOMPARE(CountPictures(page), HostileNamesAlbum.pictures);
        QCOMPARE(TotalInAlbum(page), HostileNamesAlbum.pictures);
        const QList<PhotoEntry> photos = ParsePhotoList(page);
        QCOMPARE(photos.size(), HostileNamesAlbum.pictures);
        for (int i = 0; i < photos.size(); ++i) {
            QCOMPARE(photos[i].name, QString::fromUtf8(HostilePictureNames[i]));
            QCOMPARE(m_client->getUrl(QUrl(photos[i].url)).body,
                     m_server->pictureBytes(QStringLiteral("/photo/b/%1/%2.jpg").arg(id).arg(i + 1)));
        }
        const QString words
            = m_client->getUrl(m_client->photoListOwn(QString::fromLatin1(PreWordsAlbum.id), 0, 500)).text();
        QCOMPARE(CountPictures(words), PreWordsAlbum.pictures);
    }

    // One connection, one small answer after another, fetched by curl as the
    // benchmarks do: each answer must leave at once, not after the client's delayed
    // acknowledgement of the headers (tens of ms), or every benchmark measures that wait.
    void smallAnswersLeaveAtOnce()
    {
        const QString curl = QStandardPaths::findExecutable(QStringLiteral("curl"));
        if (curl.isEmpty())
            QSKIP("curl is not installed");
        StandinThread standin;
        QVERIFY(standin.start());
        QTemporaryDir dir;
        QFile config(dir.filePath(QStringLiteral("urls")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        for (int n = 1; n <= 100; ++n) {
            const QString path = QStringLiteral("/photo/b/V1big620/%1.jpg").arg(n);
            standin.pictureBytes(path); // drawn before the clock runs
            config.write(QStringLiteral("url = \"%1%2\"\noutput = \"/dev/null\"\n")
                             .arg(standin.root(), path)
                             .toUtf8());
        }
        config.close();
        QProcess fetch;
        QElapsedTimer clock;
        clock.start();
        fetch.start(curl, {QStringLiteral("-s"), QStringLiteral("-K"), config.fileName()});
        QVERIFY(fetch.waitForFinished(30000));
        QCOMPARE(fetch.exitCode(), 0);
        QVERIFY2(clock.elapsed() < 1500, QByteArray::number(clock.elapsed()));
        QCOMPARE(standin.knobs().requests().size(), 100);
    }

    // Addresses in the answers name the host the client used, so cookies and pictures
    // stay on one host.
    void answersNameTheHostTheClientUsed()
    {
        StandinClient local(QStringLiteral("http://localhost:%1").arg(m_server->port()));
        local.useSignIn(knobs().signIn(QString::fromLatin1(MainUin)));
        const QStringList covers
            = urlsOf(local.getUrl(local.albumListV3(local.gtk())).text(), QStringLiteral("pre"));
        QCOMPARE(covers.size(), MainAlbumCount);
        QVERIFY2(
            covers.first().startsWith(QStringLiteral("http://localhost:%1/photo/a/").arg(m_server->port())),
            qPrintable(covers.first()));
    }
};

QTEST_GUILESS_MAIN(TestStandin)
#include "TestStandin.moc"
