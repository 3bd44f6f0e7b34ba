#include "StandinSignIn.h"
#include "photos/PhotoListFetch.h"
#include "qzone/AlbumAnswer.h"
#include "qzone/Endpoints.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"

#include <QtTest>

#include <memory>

using namespace albivex;
using standin::FaultKind;
using standin::FaultRule;

namespace {

const QString OwnPath = QStringLiteral("/fcgi-bin/cgi_list_photo");
const QString OtherPath = QStringLiteral("/p/shplist.photo/fcgi-bin/cgi_list_photo");

struct Listing
{
    QList<PhotoEntry> entries;
    QList<int> pageSizes;
    int finished = -1;
};

} // namespace

// The photo-list request forms and the paging, against the stand-in's photo lists.
class TestPhotoListFetch : public QObject
{
    Q_OBJECT
private:
    standin::StandinThread m_standin;
    QNetworkAccessManager m_nam;
    QzoneCredentials m_account;
    std::unique_ptr<Endpoints> m_endpoints;

    PhotoListRequest own(const char *albumId) const
    {
        PhotoListRequest request;
        request.uin = m_account.uin;
        request.gTk = m_account.gTk;
        request.albumId = QString::fromLatin1(albumId);
        return request;
    }
    PhotoListRequest other(const char *owner, const char *albumId) const
    {
        PhotoListRequest request = own(albumId);
        request.otherSpace = true;
        request.ownerUin = QString::fromLatin1(owner);
        return request;
    }

    Listing list(const PhotoListRequest &request, int albumCount,
                 std::function<void(const Listing &)> afterPage = {})
    {
        Listing listing;
        auto *fetch = new PhotoListFetch(m_nam, *m_endpoints, request, albumCount, this);
        connect(fetch, &PhotoListFetch::pageArrived, this, [&](const QList<PhotoEntry> &page) {
            listing.entries += page;
            listing.pageSizes << int(page.size());
            if (afterPage)
                afterPage(listing);
        });
        connect(fetch, &PhotoListFetch::finished, this, [&](int received) { listing.finished = received; });
        fetch->start();
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(listing.finished >= 0, 20000);
        }();
        return listing;
    }

    QList<int> pageStartsSent(const QString &path)
    {
        QList<int> starts;
        for (const standin::LoggedRequest &r : m_standin.knobs().requestsTo(path))
            starts << r.queryValue(QStringLiteral("pageStart")).toInt();
        return starts;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_standin.start());
        m_endpoints = std::make_unique<Endpoints>(m_standin.root());
        m_account = SignInOverHttp(m_nam, m_standin.root(), QString::fromLatin1(standin::MainUin));
        QCOMPARE(m_account.uin, QString::fromLatin1(standin::MainUin));
        QVERIFY(!m_account.gTk.isEmpty());
    }

    void init()
    {
        m_standin.knobs().clearFaults();
        m_standin.knobs().clearRequests();
        m_standin.knobs().setLatencyMs(0);
    }

    void ownSpaceFormIsSentExactly()
    {
        QCOMPARE(list(own(standin::SmallAlbum.id), 3).finished, 3);
        const auto sent = m_standin.knobs().requestsTo(OwnPath);
        QCOMPARE(sent.size(), 1);
        const QString uin = m_account.uin;
        const QList<QPair<QString, QString>> expected = {{"g_tk", m_account.gTk},
                                                         {"callback", "shine0_Callback"},
                                                         {"t", "637184888"},
                                                         {"mode", "0"},
                                                         {"idcNum", "4"},
                                                         {"hostUin", uin},
                                                         {"topicId", "V1three"},
                                                         {"noTopic", "0"},
                                                         {"uin", uin},
                                                         {"pageStart", "0"},
                                                         {"pageNum", "500"},
                                                         {"skipCmtCount", "0"},
                                                         {"singleurl", "1"},
                                                         {"batchId", ""},
                                                         {"notice", "0"},
                                                         {"appid", "4"},
                                                         {"inCharset", "utf-8"},
                                                         {"outCharset", "utf-8"},
                                                         {"source", "qzone"},
                                                         {"plat", "qzone"},
                                                         {"outstyle", "json"},
                                                         {"format", "jsonp"},
                                                         {"json_esc", "1"},
                                                         {"question", ""},
                                                         {"answer", ""},
                                                         {"callbackFun", "shine0"},
                                                         {"_", "1450879526742"}};
        QCOMPARE(sent.first().query, expected);
        QCOMPARE(m_standin.knobs().requestCount(OtherPath), 0);
    }

    void otherSpaceFormIsSentExactly()
    {
        QCOMPARE(list(other(standin::SecondUin, "V2scenery"), 4).finished, 4);
        const auto sent = m_standin.knobs().requestsTo(OtherPath);
        QCOMPARE(sent.size(), 1);
        const QList<QPair<QString, QString>> expected
            = {{"t", "751739517"},       {"mode", "0"},
               {"idcNum", "4"},          {"hostUin", standin::SecondUin},
               {"topicId", "V2scenery"}, {"noTopic", "0"},
               {"uin", m_account.uin},   {"pageStart", "0"},
               {"pageNum", "200"},       {"skipCmtCount", "0"},
               {"singleurl", "1"},       {"batchId", ""},
               {"notice", "0"},          {"appid", "4"},
               {"inCharset", "utf-8"},   {"outCharset", "utf-8"},
               {"source", "qzone"},      {"plat", "qzone"},
               {"outstyle", "json"},     {"format", "jsonp"},
               {"json_esc", "1"},        {"callbackFun", "shine6"},
               {"g_tk", m_account.gTk}};
        QCOMPARE(sent.first().query, expected);
        QCOMPARE(m_standin.knobs().requestCount(OwnPath), 0);
    }

    // Albums behind a question or a password open with the keys of the right answer;
    // the user-space form carries them after its usual keys, the own-space form in the
    // places it always had for them.
    void protectedAlbumsOpenWithTheRightAnswer_data()
    {
        QTest::addColumn<int>("priv");
        QTest::addColumn<QString>("userAnswer");
        QTest::addColumn<int>("pictures");
        QTest::newRow("question") << PrivQuestion << QString::fromUtf8(standin::AlbumQuestionAnswer) << 3;
        QTest::newRow("password") << PrivPassword << QString::fromLatin1(standin::AlbumPassword) << 2;
        QTest::newRow("wrong answer") << PrivQuestion << QStringLiteral("中心小学") << 0;
        QTest::newRow("wrong password") << PrivPassword << QStringLiteral("ABC123") << 0;
    }
    void protectedAlbumsOpenWithTheRightAnswer()
    {
        QFETCH(int, priv);
        QFETCH(QString, userAnswer);
        QFETCH(int, pictures);
        AlbumEntry album;
        album.priv = priv;
        album.question = QString::fromUtf8(standin::AlbumQuestion);
        const char *id = priv == PrivQuestion ? standin::QuestionAlbum.id : standin::PasswordAlbum.id;
        PhotoListRequest request = other(standin::ThirdUin, id);
        const AlbumAnswerKeys keys = AnswerKeys(album, userAnswer);
        request.question = keys.question;
        request.answer = keys.answer;
        QCOMPARE(list(request, pictures).finished, pictures);
        const auto sent = m_standin.knobs().requestsTo(OtherPath);
        QCOMPARE(sent.size(), 1);
        using Pairs = QList<QPair<QString, QString>>;
        const Pairs answerKeys {{"question", keys.question}, {"answer", keys.answer}};
        const Pairs &query = sent.first().query;
        QCOMPARE(query.mid(query.size() - 2), answerKeys);
        QCOMPARE(query.at(query.size() - 3).first, QStringLiteral("g_tk"));

        request.otherSpace = false;
        const Pairs ownForm = QUrlQuery(PhotoListUrl(*m_endpoints, request)).queryItems(QUrl::FullyDecoded);
        QCOMPARE(ownForm.mid(ownForm.size() - 4, 2), answerKeys);
    }

    void aBigAlbumIsListedWholeAcrossPages_data()
    {
        QTest::addColumn<bool>("otherForm");
        QTest::addColumn<int>("albumCount");
        QTest::addColumn<QList<int>>("pageStarts");
        QTest::newRow("own space, pages of 500") << false << 620 << QList<int> {0, 500};
        QTest::newRow("other space, pages of 200") << true << 620 << QList<int> {0, 200, 400, 600};
        QTest::newRow("album count unknown: the answer's total") << false << 0 << QList<int> {0, 500};
        // An album row whose count is out of date costs one empty page, no more.
        QTest::newRow("album count too high") << false << 700 << QList<int> {0, 500, 620};
    }
    void aBigAlbumIsListedWholeAcrossPages()
    {
        QFETCH(bool, otherForm);
        QFETCH(int, albumCount);
        QFETCH(QList<int>, pageStarts);
        const PhotoListRequest request
            = otherForm ? other(standin::MainUin, standin::BigAlbum.id) : own(standin::BigAlbum.id);
        const Listing listing = list(request, albumCount);
        QCOMPARE(listing.finished, 620);
        QCOMPARE(listing.entries.size(), 620);
        QCOMPARE(pageStartsSent(otherForm ? OtherPath : OwnPath), pageStarts);
        for (int i = 0; i < 620; ++i) {
            const PhotoEntry &entry = listing.entries.at(i);
            QCOMPARE(entry.number, i + 1);
            QCOMPARE(entry.url, m_standin.root() + QStringLiteral("/photo/b/V1big620/%1.jpg").arg(i + 1));
            QCOMPARE(entry.name, QStringLiteral("IMG_%1").arg(i + 1, 4, 10, QLatin1Char('0')));
        }
    }

    void aFailedRequestIsAnEmptyAnswer()
    {
        m_standin.knobs().addFault(FaultRule::make(OwnPath, FaultKind::Close));
        const Listing listing = list(own(standin::SmallAlbum.id), 3);
        QCOMPARE(listing.finished, 0);
        QVERIFY(listing.pageSizes.isEmpty());
    }

    void aFailedLaterPageEndsTheListing()
    {
        const Listing listing = list(own(standin::BigAlbum.id), 620, [this](const Listing &) {
            m_standin.knobs().addFault(FaultRule::make(OwnPath, FaultKind::Close));
        });
        QCOMPARE(listing.finished, 500);
        QCOMPARE(listing.pageSizes, QList<int> {500});
    }

    void servicesTextsAreCutAsTheyStand()
    {
        const Listing comma = list(own(standin::CommaAlbum.id), 3);
        QCOMPARE(comma.entries.size(), 3);
        QCOMPARE(comma.entries.at(0).name, QStringLiteral("a"));
        QCOMPARE(comma.entries.at(1).name, QStringLiteral("c"));
        QCOMPARE(comma.entries.at(2).name, QStringLiteral("plain"));
        QCOMPARE(comma.entries.at(0).description, QStringLiteral("x"));

        const Listing words = list(own(standin::PreWordsAlbum.id), 3);
        QCOMPARE(words.entries.size(), 3);
        QCOMPARE(words.entries.at(2).name, QStringLiteral("cypress"));

        const Listing escaped = list(own(standin::EscapedAlbum.id), 2);
        QCOMPARE(escaped.entries.size(), 2);
        QCOMPARE(escaped.entries.at(0).name, QStringLiteral("照片")); // escapes decoded
        QCOMPARE(escaped.entries.at(1).description, QStringLiteral("cd"));
        QCOMPARE(escaped.entries.at(1).url, m_standin.root() + QStringLiteral("/photo/b/V1escaped/2.jpg"));
        QVERIFY(!escaped.entries.at(0).uploadTime.isEmpty());

        const Listing hostile = list(own(standin::HostileNamesAlbum.id), 7);
        QStringList names;
        for (const PhotoEntry &entry : hostile.entries)
            names << entry.name;
        QStringList expected;
        for (const char *name : standin::HostilePictureNames)
            expected << QString::fromUtf8(name);
        QCOMPARE(names, expected);
    }

    // An answer with fewer "url" keys than pictures, and "pre" inside a name and an
    // address: the count follows the quoted keys, missing fields stay empty.
    void aBrokenAnswerGivesEmptyFieldsNotOthersValues()
    {
        const QByteArray answer
            = "shine0_Callback({\"data\" : {\"topic\" : {\"pre\" : \"http:\\/\\/h\\/cover.jpg\"},"
              "\"photoList\" : [\n"
              "{\"name\" : \"prelude\", \"pre\" : \"http:\\/\\/h\\/pre1.jpg\", "
              "\"url\" : \"http:\\/\\/h\\/express\\/1.jpg\", \"desc\" : \"d1\"},\n"
              "{\"name\" : \"second\", \"pre\" : \"http:\\/\\/h\\/pre2.jpg\", \"desc\" : \"d2\"},\n"
              "{\"name\" : \"third\", \"pre\" : \"http:\\/\\/h\\/pre3.jpg\"}\n]}});";
        FaultRule crafted = FaultRule::httpStatus(OwnPath, 200);
        crafted.body = answer;
        m_standin.knobs().addFault(crafted);
        const Listing listing = list(own(standin::SmallAlbum.id), 0);
        QCOMPARE(listing.entries.size(), 3);
        QCOMPARE(listing.entries.at(0).url, QStringLiteral("http://h/express/1.jpg"));
        QCOMPARE(listing.entries.at(1).url, QString());
        QCOMPARE(listing.entries.at(2).url, QString());
        QCOMPARE(listing.entries.at(2).description, QString());
        QCOMPARE(listing.entries.at(1).name, QStringLiteral("second"));
        // No total in the answer and no album count: one page only.
        QCOMPARE(m_standin.knobs().requestCount(OwnPath), 1);
    }

    void cancelEndsWithoutSignals()
    {
        m_standin.knobs().setLatencyMs(300);
        auto *fetch = new PhotoListFetch(m_nam, *m_endpoints, own(standin::SmallAlbum.id), 3, this);
        QPointer<PhotoListFetch> alive(fetch);
        QSignalSpy pages(fetch, &PhotoListFetch::pageArrived);
        QSignalSpy finished(fetch, &PhotoListFetch::finished);
        fetch->start();
        fetch->cancel();
        QTRY_VERIFY(alive.isNull());
        QTest::qWait(500);
        QCOMPARE(pages.count(), 0);
        QCOMPARE(finished.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestPhotoListFetch)
#include "TestPhotoListFetch.moc"
