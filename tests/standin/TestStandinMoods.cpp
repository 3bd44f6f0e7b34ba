#include "StandinClient.h"
#include "standin/ErrorAnswer.h"
#include "standin/MoodRoutes.h"
#include "standin/StandinData.h"
#include "standin/StandinServer.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using namespace albivex;
using namespace albivex::standin;

// The stand-in's 说说 answers over real HTTP, checked against the posts its data set
// says it holds.
class TestStandinMoods : public QObject
{
    Q_OBJECT

    std::unique_ptr<StandinServer> m_server;
    std::unique_ptr<StandinClient> m_client;

    StandinKnobs &knobs() { return m_server->knobs(); }
    const MoodBook &book() { return knobs().data().moods(); }

    // Signed in as the main number; today also landed, so g_tk goes over p_skey.
    void signIn()
    {
        m_client = std::make_unique<StandinClient>(m_server->root());
        m_client->useSignIn(knobs().signIn(QString::fromLatin1(MainUin)));
        m_client->get(QStringLiteral("/qzone/v5/loginsucc.html?para=izone"));
        if (!m_client->cookie("p_skey").isEmpty())
            m_client->useTokenKey(m_client->cookie("p_skey"));
    }
    StandinClient::Answer list(const QString &uin, int pos, int num, const QString &format = "jsonp")
    {
        return m_client->getUrl(UrlWithQuery(m_server->root() + QLatin1String(MoodRoutes::ListPath),
                                             {{"uin", uin},
                                              {"ftype", "0"},
                                              {"sort", "0"},
                                              {"pos", QString::number(pos)},
                                              {"num", QString::number(num)},
                                              {"replynum", "100"},
                                              {"g_tk", m_client->gtk()},
                                              {"callback", "_preloadCallback"},
                                              {"code_version", "1"},
                                              {"format", format},
                                              {"need_private_comment", "1"}}));
    }
    StandinClient::Answer detail(const QString &uin, const QString &tid)
    {
        return m_client->getUrl(UrlWithQuery(m_server->root() + QLatin1String(MoodRoutes::DetailPath),
                                             {{"uin", uin},
                                              {"tid", tid},
                                              {"t1_source", "1"},
                                              {"not_trunc_con", "1"},
                                              {"g_tk", m_client->gtk()},
                                              {"format", "jsonp"}}));
    }
    // The object of a JSONP or bare answer; empty when it does not parse.
    static QJsonObject objectOf(const StandinClient::Answer &answer)
    {
        QByteArray body = answer.body.trimmed();
        if (!body.startsWith('{'))
            body = body.mid(body.indexOf('(') + 1).chopped(body.size() - body.lastIndexOf(')'));
        return QJsonDocument::fromJson(body).object();
    }
    static QString mainUin() { return QString::fromLatin1(MainUin); }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<StandinServer>();
        QVERIFY(m_server->listen());
        signIn();
    }
    void cleanup()
    {
        m_client.reset();
        m_server.reset();
    }

    void listPagesThroughEveryPost_data()
    {
        QTest::addColumn<bool>("today");
        QTest::addColumn<QString>("format");
        QTest::addColumn<int>("num"); // asked; at most 20 come
        QTest::addColumn<int>("extra"); // extra posts of 3 pictures
        QTest::newRow("default, jsonp") << false << "jsonp" << 20 << 0;
        QTest::newRow("today, bare json, num clamped") << true << "json" << 50 << 0;
        QTest::newRow("extra posts") << false << "jsonp" << 20 << 100;
    }
    void listPagesThroughEveryPost()
    {
        QFETCH(bool, today);
        QFETCH(QString, format);
        QFETCH(int, num);
        QFETCH(int, extra);
        if (today) {
            knobs().setProfile(Profile::Today);
            signIn();
        }
        knobs().addExtraMoods(extra, 3);
        const QList<MoodInfo> expected = book().posts(MoodSpace::Main);
        QCOMPARE(int(expected.size()), MainMoodCount + extra);
        int pos = 0;
        for (int page = 0; page < 20; ++page) {
            const StandinClient::Answer answer = list(mainUin(), pos, num, format);
            QCOMPARE(answer.body.startsWith('{'), format == QLatin1String("json"));
            const QJsonObject object = objectOf(answer);
            QCOMPARE(object[QLatin1String("code")].toInt(-1), 0);
            QCOMPARE(object[QLatin1String("total")].toInt(), int(expected.size()));
            QCOMPARE(object[QLatin1String("usrinfo")][QLatin1String("msgnum")].toInt(), int(expected.size()));
            if (object[QLatin1String("msglist")].isNull())
                break;
            // Today every text travels as \u escapes: not one byte past ASCII.
            QCOMPARE(std::all_of(answer.body.cbegin(), answer.body.cend(), [](char c) { return c >= 0; }),
                     today);
            const QJsonArray posts = object[QLatin1String("msglist")].toArray();
            QCOMPARE(int(posts.size()), qMin(MoodRoutes::MaxPageSize, int(expected.size()) - pos));
            for (const QJsonValue &value : posts) {
                const QJsonObject post = value.toObject();
                const MoodInfo &want = expected.at(pos++);
                QCOMPARE(post[QLatin1String("tid")].toString(), want.tid);
                QCOMPARE(post[QLatin1String("content")].toString(), want.listedContent());
                QCOMPARE(post[QLatin1String("has_more_con")].toInt(), want.isCut() ? 1 : 0);
                QCOMPARE(post[QLatin1String("pictotal")].toInt(), int(want.pictures.size()));
                QCOMPARE(int(post[QLatin1String("pic")].toArray().size()), want.listedPictures());
                QCOMPARE(post[QLatin1String("cmtnum")].toInt(), want.commentCount());
                QCOMPARE(post[QLatin1String("created_time")].toInteger(), want.time);
            }
        }
        QCOMPARE(pos, int(expected.size()));
    }

    // The detail gives every picture and the whole text; the list cut both.
    void detailGivesTheWholePost()
    {
        const QList<MoodInfo> posts = book().posts(MoodSpace::Main);
        int cut = 0;
        int beyondNine = 0;
        for (const MoodInfo &want : posts) {
            const QJsonObject post = objectOf(detail(mainUin(), want.tid));
            QCOMPARE(post[QLatin1String("code")].toInt(-1), 0);
            QCOMPARE(post[QLatin1String("tid")].toString(), want.tid);
            QCOMPARE(post[QLatin1String("content")].toString(), want.content);
            QCOMPARE(post[QLatin1String("has_more_con")].toInt(), 0);
            const QJsonArray pictures = post[QLatin1String("pic")].toArray();
            QCOMPARE(pictures.size(), want.pictures.size());
            for (int i = 0; i < pictures.size(); ++i)
                QCOMPARE(pictures[i][QLatin1String("url3")].toString(),
                         m_server->root() + want.pictures[i].largePath());
            QCOMPARE(int(post[QLatin1String("commentlist")].toArray().size()), want.commentCount());
            cut += want.isCut();
            beyondNine += want.pictures.size() > MoodInfo::ListPictures;
            if (want.repost)
                QCOMPARE(post[QLatin1String("rt_con")][QLatin1String("content")].toString(), want.rtContent);
            if (want.commentCount() == 0)
                continue;
            const QJsonArray comments = post[QLatin1String("commentlist")].toArray();
            for (int i = 0; i < comments.size(); ++i) {
                QCOMPARE(comments[i][QLatin1String("content")].toString(), want.comments[i].content);
                QCOMPARE(comments[i][QLatin1String("list_3")].toArray().size(),
                         want.comments[i].replies.size());
                QCOMPARE(comments[i][QLatin1String("pic")].toArray().size(),
                         want.comments[i].pictures.size());
            }
        }
        QCOMPARE(cut, 1);
        QCOMPARE(beyondNine, 1);
        QString unknown = posts.first().tid;
        unknown[0] = QLatin1Char('0'); // no space's tids start so
        const QJsonObject missing = objectOf(detail(mainUin(), unknown));
        QCOMPARE(missing[QLatin1String("code")].toInt(), int(ErrorAnswer::MoodMissing));
    }

    void spacesAnswerAsTheyAre_data()
    {
        QTest::addColumn<QString>("uin");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("listed"); // then a page starting there is null
        QTest::newRow("not signed in") << mainUin() << false << -3000 << "请先登录空间" << 0 << 0;
        QTest::newRow("refusing") << QString::fromLatin1(ClosedUin) << true << -10031
                                  << "由于对方权限设置，您不能进行此操作" << 0 << 0;
        QTest::newRow("secret") << QString::fromLatin1(SecretMoodsUin) << true << -10033 << "主人设置保密"
                                << 0 << 0;
        QTest::newRow("sealed tail") << QString::fromLatin1(SealedMoodsUin) << true << 0 << ""
                                     << SealedMoodTotal << SealedMoodListed;
        QTest::newRow("second space")
            << QString::fromLatin1(SecondUin) << true << 0 << "" << SecondMoodCount << SecondMoodCount;
        QTest::newRow("stranger") << "10001" << true << 0 << "" << 0 << 0;
    }
    void spacesAnswerAsTheyAre()
    {
        QFETCH(QString, uin);
        QFETCH(bool, signedIn);
        QFETCH(int, code);
        QFETCH(QString, message);
        QFETCH(int, total);
        QFETCH(int, listed);
        if (!signedIn)
            m_client->useSignIn(SignIn {});
        const QJsonObject first = objectOf(list(uin, 0, 20));
        QCOMPARE(first[QLatin1String("code")].toInt(-1), code);
        QCOMPARE(first[QLatin1String("message")].toString(), message);
        const QJsonObject otherDetail = objectOf(detail(uin, book().post(MoodSpace::Main, 0).tid));
        if (code != 0) {
            QCOMPARE(otherDetail[QLatin1String("code")].toInt(), code);
            return;
        }
        QCOMPARE(first[QLatin1String("total")].toInt(-1), total);
        QCOMPARE(int(first[QLatin1String("msglist")].toArray().size()), listed);
        const QJsonObject tail = objectOf(list(uin, listed, 20));
        QVERIFY(tail[QLatin1String("msglist")].isNull());
        QCOMPARE(tail[QLatin1String("total")].toInt(-1), total);
    }

    // Every picture, comment picture and video of the posts, and the lost one's GIF.
    void picturesAndVideosAreServed()
    {
        int gifs = 0;
        int videos = 0;
        for (const MoodInfo &post : book().posts(MoodSpace::Main)) {
            QList<MoodPicture> pictures = post.pictures;
            for (const MoodComment &comment : post.comments)
                pictures += comment.pictures;
            for (const MoodPicture &picture : pictures) {
                const StandinClient::Answer answer = m_client->get(picture.path('s'));
                QCOMPARE(answer.status, 200);
                QCOMPARE(answer.body, m_server->pictureBytes(picture.path('s')));
                const QImage large = QImage::fromData(m_server->pictureBytes(picture.largePath()));
                if (picture.missing) {
                    ++gifs;
                    QCOMPARE(answer.header("Content-Type"), QByteArray("image/gif"));
                    QCOMPARE(answer.body, knobs().missingPictureBytes());
                    QVERIFY(!large.isNull() && answer.body.size() < 1000);
                    QVERIFY(answer.body != knobs().placeholderBytes());
                    continue;
                }
                QCOMPARE(answer.header("Content-Type"), QByteArray("image/jpeg"));
                QCOMPARE(large.size(), QSize(picture.width, picture.height));
                if (picture.video) {
                    ++videos;
                    const StandinClient::Answer video = m_client->get(picture.videoPath());
                    QCOMPARE(video.header("Content-Type"), QByteArray("video/mp4"));
                    QCOMPARE(video.body.mid(4, 4), QByteArray("ftyp"));
                }
            }
        }
        QCOMPARE(gifs, 1);
        QCOMPARE(videos, 1);
        MoodPicture beyond = book().post(MoodSpace::Main, 1).pictures.first();
        beyond.name = QStringLiteral("2"); // the post has one picture
        QCOMPARE(m_client->get(beyond.largePath()).status, 404);
    }

    // The throttle, the budget's hook and fault rules reach the new paths.
    void throttleAndFaultsApply()
    {
        const QString picture = book().post(MoodSpace::Main, 1).pictures.first().largePath();
        // A window far longer than the four requests take, also on a loaded machine.
        knobs().setThrottle(2, 60);
        QCOMPARE(objectOf(list(mainUin(), 0, 20))[QLatin1String("code")].toInt(-1), 0);
        QCOMPARE(m_client->get(picture).status, 200);
        const QJsonObject busy = objectOf(list(mainUin(), 0, 20));
        QCOMPARE(busy[QLatin1String("code")].toInt(), -10001);
        QCOMPARE(busy[QLatin1String("message")].toString(), QStringLiteral("使用人数过多，请稍后再试"));
        QCOMPARE(m_client->get(picture).status, 429);
        knobs().setThrottle(0, 0);
        knobs().addFault(FaultRule::serviceCode(QLatin1String(MoodRoutes::DetailPath), -10000, 1));
        knobs().addFault(FaultRule::httpStatus(QStringLiteral("/mood/b/*"), 503, 1));
        const QString tid = book().post(MoodSpace::Main, 1).tid;
        QCOMPARE(objectOf(detail(mainUin(), tid))[QLatin1String("code")].toInt(), -10000);
        QCOMPARE(objectOf(detail(mainUin(), tid))[QLatin1String("code")].toInt(-1), 0);
        QCOMPARE(m_client->get(picture).status, 503);
        QCOMPARE(m_client->get(picture).status, 200);
    }
};

QTEST_GUILESS_MAIN(TestStandinMoods)
#include "TestStandinMoods.moc"
