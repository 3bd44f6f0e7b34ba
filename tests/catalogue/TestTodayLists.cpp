// The whole tool against the stand-in as it plays today's service: the p_skey of the
// sign-in and the token over it, album lists in pages of 30, answers that say the
// session has ended or the service is busy, and an album the viewer may not open.

#include "SavedFiles.h"
#include "ScriptedPrompts.h"
#include "SignInThroughBrowser.h"
#include "StandinSignIn.h"
#include "app/AlbivexApp.h"
#include "catalogue/AlbumListModel.h"
#include "photos/PhotoListModel.h"
#include "signin/ui/SignInDialog.h"
#include "standin/BoardRoutes.h"
#include "standin/MoodRoutes.h"
#include "standin/ServiceRoutes.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "storage/BackupReport.h"
#include "storage/RunJournal.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QString OwnPath = QString::fromLatin1(sd::ServiceRoutes::AlbumListV3Path);
const QString OtherPath = QString::fromLatin1(sd::ServiceRoutes::AlbumListV2Path);
const QString PhotoPath = QString::fromLatin1(sd::ServiceRoutes::PhotoListOwnPath);
const QString OtherPhotoPath = QString::fromLatin1(sd::ServiceRoutes::PhotoListOtherPath);
const QString FloatviewPath = QString::fromLatin1(sd::ServiceRoutes::FloatviewPath);
const QString LandingPath = QString::fromLatin1(sd::ServiceRoutes::LandingPath);
const QString MainUin = QString::fromLatin1(sd::MainUin);
const QString ListingEnd = QStringLiteral("]相册获取完毕..");
const QString Expired = QStringLiteral("登录已失效，请重新登录..");
const QString Busy = QStringLiteral("服务繁忙，请稍后再试");

// What a test does to reach a list.
enum class Action { ListOwn, ListOther, View, Download, Moods, Board, Space };

} // namespace

Q_DECLARE_METATYPE(Action)

class TestTodayLists : public QObject
{
    Q_OBJECT

    sd::StandinThread m_standin;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;
    std::unique_ptr<QTemporaryDir> m_save;

    MainWindow &window() { return m_app->window(); }
    AlbumListModel &albums() { return m_app->albums(); }
    sd::StandinKnobs &knobs() { return m_standin.knobs(); }

    int countLines(const QString &ending) const
    {
        int count = 0;
        for (const QString &line : m_app->log().lines())
            count += line.endsWith(ending) ? 1 : 0;
        return count;
    }

    // Signs in over HTTP as the sign-in window would, the landing page's p_skey included.
    bool signInOverHttp()
    {
        m_app->state().credentials
            = SignInTodayOverHttp(m_app->network(), m_standin.root(), MainUin, knobs());
        return m_app->state().credentials.signedIn && !m_app->state().credentials.pSkey.isEmpty();
    }

    void selectAlbum(const QString &albumId)
    {
        for (int row = 0; row < albums().size(); ++row) {
            if (albums().entry(row).albumId == albumId)
                window().albumView->selectionModel()->select(
                    albums().index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }

    bool list(Action action, const QString &number = QString())
    {
        const int before = countLines(ListingEnd);
        start(action, number);
        return QTest::qWaitFor([&] { return countLines(ListingEnd) > before; }, 30000);
    }

    // Starts the action: a listing, or "查看相册" or "下载相册" on the album.
    void start(Action action, const QString &what)
    {
        switch (action) {
        case Action::ListOwn:
            window().listOwnAlbumsButton->click();
            break;
        case Action::ListOther:
            window().otherQqEdit->setText(what);
            window().listOtherAlbumsButton->click();
            break;
        case Action::View:
            selectAlbum(what);
            window().viewAlbumAction->trigger();
            break;
        case Action::Download:
            selectAlbum(what);
            window().downloadAlbumAction->trigger();
            break;
        case Action::Moods:
            window().downloadMoodsButton->click();
            break;
        case Action::Board:
            window().downloadBoardButton->click();
            break;
        case Action::Space:
            window().backupSpaceButton->click();
            break;
        }
    }

    QStringList requestedTopics()
    {
        QStringList topics;
        for (const QString &path : {PhotoPath, OtherPhotoPath}) {
            for (const sd::LoggedRequest &request : m_standin.knobs().requestsTo(path))
                topics << request.queryValue(QStringLiteral("topicId"));
        }
        return topics;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        knobs().setProfile(sd::Profile::Today);
        knobs().clearFaults();
        knobs().clearExtraAlbums();
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
        // The real waits are 2, 4 and 8 s; their number is what matters here. So are
        // the pauses of a minute and more for a service that limits the tool.
        m_app->busyRetryOptions().waitsMs = {20, 40, 80};
        m_app->servicePauseOptions().scheduleMs = {300, 600};
        knobs().setThrottle(0, 0);
        m_save = std::make_unique<QTemporaryDir>();
        m_app->start();
        window().saveFolderEdit->setText(m_save->path());
        QTRY_VERIFY_WITH_TIMEOUT(window().listOwnAlbumsButton->isEnabled(), 20000);
        knobs().clearRequests();
    }

    void cleanup()
    {
        // The quality is remembered for the next start; a test that changes it puts it back.
        if (m_app)
            window().qualityCombo->setCurrentIndex(1);
        m_app.reset();
        m_prompts.reset();
        knobs().clearExtraAlbums();
    }

    // Through the real sign-in window: the landing page's p_skey is taken, and every
    // request to a Qzone list carries the token over it.
    void pSkeySignsEveryQzoneRequest()
    {
        QVERIFY(SignInThroughBrowser(*m_app, MainUin));
        const sd::SignIn issued = knobs().issuedSignIns().last();
        const QzoneCredentials &credentials = m_app->state().credentials;
        QVERIFY(!issued.pSkey.isEmpty());
        QCOMPARE(credentials.skey, issued.skey);
        QCOMPARE(credentials.pSkey, issued.pSkey);
        QCOMPARE(knobs().requestsTo(LandingPath).first().rawQuery, QStringLiteral("para=izone"));

        QVERIFY(list(Action::ListOwn));
        QCOMPARE(albums().size(), sd::MainAlbumCount);
        QVERIFY(list(Action::ListOther, QString::fromLatin1(sd::SecondUin)));
        QCOMPARE(albums().size(), 3);
        QVERIFY(list(Action::View, QStringLiteral("V2scenery")));
        QCOMPARE(m_app->photos().size(), 4);

        int signedRequests = 0;
        for (const QString &path : {OwnPath, OtherPath, PhotoPath, OtherPhotoPath}) {
            for (const sd::LoggedRequest &request : knobs().requestsTo(path)) {
                QCOMPARE(request.queryValue(QStringLiteral("g_tk")), knobs().tokenFor(issued));
                ++signedRequests;
            }
        }
        QCOMPARE(signedRequests, 3);
    }

    // A service that gives no p_skey is not waited for.
    void noPSkeyNoWait()
    {
        knobs().setProfile(sd::Profile::Default);
        window().signInButton->click();
        SignInDialog *form = SignInWindow(*m_app);
        QVERIFY(form);
        QVERIFY(WaitForSignInPage(*form));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(SubmitSignInPage(*form, MainUin, QStringLiteral("secret")));
        QTRY_VERIFY_WITH_TIMEOUT(m_app->state().credentials.signedIn, 30000);
        qInfo("signed in %lld ms after the submit", static_cast<long long>(clock.elapsed()));
        QVERIFY(clock.elapsed() < 15000);
        QCOMPARE(knobs().requestCount(LandingPath), 1);
        QVERIFY(m_app->state().credentials.pSkey.isEmpty());
        const QList<sd::SignIn> issued = knobs().issuedSignIns();
        const auto held = std::find_if(issued.cbegin(), issued.cend(), [this](const sd::SignIn &signIn) {
            return signIn.skey == m_app->state().credentials.skey;
        });
        QVERIFY(held != issued.cend());
        QCOMPARE(m_app->state().credentials.gTk, knobs().tokenFor(*held));
        QVERIFY(list(Action::ListOwn));
        QCOMPARE(albums().size(), sd::MainAlbumCount);
    }

    void everyAlbumPageByPage_data()
    {
        QTest::addColumn<bool>("own");
        QTest::newRow("own space") << true;
        QTest::newRow("number typed") << false;
    }
    void everyAlbumPageByPage()
    {
        QFETCH(bool, own);
        sd::ExtraAlbum extra;
        extra.pictureCount = 2;
        knobs().addExtraAlbums(extra, 100);
        QVERIFY(signInOverHttp());
        QVERIFY(list(own ? Action::ListOwn : Action::ListOther, MainUin));

        const QList<sd::AlbumInfo> served = knobs().data().albums(sd::Space::Main, sd::Profile::Today);
        QCOMPARE(served.size(), sd::MainAlbumCount + 100);
        QCOMPARE(albums().size(), served.size());
        for (int row = 0; row < albums().size(); ++row) {
            QCOMPARE(albums().entry(row).albumId, served.at(row).id);
            QCOMPARE(albums().entry(row).position, row + 1);
        }

        const QString gTk = m_app->state().credentials.gTk;
        const QString first = own
            ? QStringLiteral("g_tk=") + gTk
                + QStringLiteral("&callback=shine0_Callback&t=391761988&hostUin=123456789&uin=123456789"
                                 "&appid=4&inCharset=utf-8&outCharset=utf-8&source=qzone&plat=qzone"
                                 "&format=jsonp&notice=0&filter=1&handset=4&pageNumModeSort=40"
                                 "&pageNumModeClass=15&needUserInfo=1&idcNum=4&callbackFun=shine0"
                                 "&_=1450879334407")
            : QStringLiteral("inCharset=gbk&outCharset=gbk&hostUin=123456789&notice=0&callbackFun="
                             "&format=jsonp&plat=qzone&source=qzone&appid=4&uin=123456789&g_tk=")
                + gTk;
        const QList<sd::LoggedRequest> requests = knobs().requestsTo(own ? OwnPath : OtherPath);
        QCOMPARE(requests.size(), 4);
        QCOMPARE(requests.first().rawQuery, first);
        for (int page = 1; page < requests.size(); ++page) {
            QCOMPARE(requests.at(page).rawQuery,
                     first + QStringLiteral("&mode=2&pageStart=%1&pageNum=30").arg(30 * page));
        }
        QCOMPARE(countLines(ListingEnd), 1);
        QVERIFY(m_prompts->boxes.isEmpty());
    }

    void expiredSession_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<sd::FaultRule>("fault");
        QTest::newRow("album list, -3000") << Action::ListOwn << sd::FaultRule::serviceCode(OwnPath, -3000);
        QTest::newRow("album list, 403") << Action::ListOwn << sd::FaultRule::httpStatus(OwnPath, 403);
        QTest::newRow("photo listing") << Action::View << sd::FaultRule::serviceCode(PhotoPath, -3000);
        QTest::newRow("album job") << Action::Download << sd::FaultRule::serviceCode(PhotoPath, -3000);
        QTest::newRow("说说 job") << Action::Moods
                                  << sd::FaultRule::serviceCode(QString::fromLatin1(sd::MoodRoutes::ListPath),
                                                                -3000);
        QTest::newRow("留言板 job") << Action::Board
                                    << sd::FaultRule::serviceCode(
                                           QString::fromLatin1(sd::BoardRoutes::ListPath), -3000);
        QTest::newRow("whole-space run") << Action::Space << sd::FaultRule::serviceCode(PhotoPath, -3000);
    }
    void expiredSession()
    {
        QFETCH(Action, action);
        QFETCH(sd::FaultRule, fault);
        QVERIFY(signInOverHttp());
        if (action != Action::ListOwn)
            QVERIFY(list(Action::ListOwn));
        knobs().addFault(fault);
        start(action, QString::fromLatin1(sd::SmallAlbum.id));

        QTRY_COMPARE_WITH_TIMEOUT(window().statusText(), Expired, 20000);
        QCOMPARE(countLines(QStringLiteral("]") + Expired), 1);
        QCOMPARE(window().signInButton->text(), QStringLiteral("登录QQ"));
        QCOMPARE(window().qqNumberLabel->text(), QStringLiteral("未登录"));
        QCOMPARE(window().nicknameLabel->text(), QStringLiteral("QQ昵称"));
        QCOMPARE(window().avatarLabel->pixmap().toImage(), window().defaultAvatarLabel->pixmap().toImage());
        const QzoneCredentials &credentials = m_app->state().credentials;
        QVERIFY(!credentials.signedIn);
        QVERIFY(credentials.skey.isEmpty() && credentials.pSkey.isEmpty() && credentials.gTk.isEmpty());
        QTRY_VERIFY(SignInWindow(*m_app) && SignInWindow(*m_app)->isVisible());
        QVERIFY(m_prompts->boxes.isEmpty()); // no "no albums"
        QVERIFY(m_app->state().albumJobIdle);
        QCOMPARE(countLines(QStringLiteral("相册下载完成..")), 0);
    }

    void busyAnswers_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<sd::FaultRule>("fault");
        QTest::addColumn<int>("requests");
        QTest::addColumn<bool>("persists");
        QTest::newRow("album list, clears after two retries")
            << Action::ListOwn << sd::FaultRule::serviceCode(OwnPath, -10049, 2) << 3 << false;
        QTest::newRow("album list, stays busy")
            << Action::ListOwn << sd::FaultRule::serviceCode(OwnPath, -10001) << 4 << true;
        QTest::newRow("photo listing, stays busy")
            << Action::View << sd::FaultRule::httpStatus(PhotoPath, 429) << 4 << true;
        QTest::newRow("album list, throttled empty twice")
            << Action::ListOwn << sd::FaultRule::make(OwnPath, sd::FaultKind::ThrottledEmpty, 2) << 3
            << false;
        QTest::newRow("album list, stays throttled empty")
            << Action::ListOwn << sd::FaultRule::make(OwnPath, sd::FaultKind::ThrottledEmpty) << 4 << true;
        QTest::newRow("photo listing, stays throttled empty")
            << Action::View << sd::FaultRule::make(PhotoPath, sd::FaultKind::ThrottledEmpty) << 4 << true;
    }
    void busyAnswers()
    {
        QFETCH(Action, action);
        QFETCH(sd::FaultRule, fault);
        QFETCH(int, requests);
        QFETCH(bool, persists);
        QVERIFY(signInOverHttp());
        if (action == Action::View)
            QVERIFY(list(Action::ListOwn));
        knobs().clearRequests();
        knobs().addFault(fault);
        start(action, QString::fromLatin1(sd::SmallAlbum.id));

        if (persists) {
            QTRY_COMPARE_WITH_TIMEOUT(m_prompts->texts(), QStringList {Busy}, 20000);
            QCOMPARE(m_prompts->boxes.first().title, AppBoxTitle());
            QCOMPARE(window().statusText(), Busy);
            // An empty page is never taken for the album's end.
            if (action == Action::View) {
                QCOMPARE(countLines(QStringLiteral("[三张]图片列表不完整（服务端3张，已获取0张）..")), 1);
                QCOMPARE(countLines(QStringLiteral("[三张]相册获取完毕..")), 0);
            }
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(countLines(ListingEnd), 1, 20000);
            QCOMPARE(albums().size(), sd::MainAlbumCount);
            QVERIFY(m_prompts->boxes.isEmpty());
        }
        QCOMPARE(knobs().requestCount(fault.path), requests);
        QVERIFY(m_app->state().credentials.signedIn);
    }

    // Lists as the real service answers them today: the second space in the class view
    // (a block without albums among them), an album of the own space without a cover.
    // Every album keeps its own cover; the coverless one borrows none.
    void classViewAndCovers()
    {
        QVERIFY(signInOverHttp());
        QVERIFY(list(Action::ListOther, QString::fromLatin1(sd::SecondUin)));
        QStringList ids, covers;
        for (int row = 0; row < albums().size(); ++row) {
            ids << albums().entry(row).albumId;
            covers << albums().entry(row).coverUrl;
        }
        QCOMPARE(ids, (QStringList {"V2scenery", "V2family", "V2private"}));
        for (int row = 0; row < ids.size(); ++row)
            QVERIFY2(covers.at(row).endsWith(QStringLiteral("/photo/m/%1/cover.jpg").arg(ids.at(row))),
                     qPrintable(covers.at(row)));

        QVERIFY(list(Action::ListOwn));
        QCOMPARE(albums().size(), sd::MainAlbumCount);
        for (int row = 0; row < albums().size(); ++row) {
            const AlbumEntry &album = albums().entry(row);
            if (album.albumId == QLatin1String(sd::DotsAlbum.id))
                QCOMPARE(album.coverUrl, QString());
            else
                QVERIFY2(album.coverUrl.contains(QStringLiteral("/photo/m/%1/cover.").arg(album.albumId)),
                         qPrintable(album.coverUrl));
        }
        QVERIFY(m_prompts->boxes.isEmpty());
    }

    // A service that limits the tool pauses the album run as a whole, counting down,
    // and the run goes on where it stopped: nothing is failed for it. Rows: a listing
    // that stays busy through its retries; the stand-in's throttle (after every 150
    // requests served, 5 s of 429 and -10001) against a run of four albums of 40
    // pictures whose own retries are short, every picture saved whole; and, stopped during a pause that would
    // last a minute, a run that ends at once with the usual stop texts. Another space's
    // two albums in 原图, whose originals need floatview: from the stand-in's request
    // times, nothing of the job arrives during the pause, and after the busy answer its
    // list and floatview requests keep the gap between them.
    void busyServicePausesTheAlbumJob_data()
    {
        QTest::addColumn<bool>("throttle");
        QTest::addColumn<bool>("stopDuringPause");
        QTest::addColumn<bool>("otherSpace");
        QTest::newRow("listing stays busy") << false << false << false;
        QTest::newRow("throttled service") << true << false << false;
        QTest::newRow("stopped during the pause") << false << true << false;
        QTest::newRow("another space in 原图, paced") << false << false << true;
    }
    void busyServicePausesTheAlbumJob()
    {
        QFETCH(bool, throttle);
        QFETCH(bool, stopDuringPause);
        QFETCH(bool, otherSpace);
        // A pause longer than the gap, so that each shows in the request times on its own.
        // On a loaded machine a request can reach the stand-in well after the tool sent
        // it, which shortens the time to the next one as logged: each wait is held to half
        // its length, where a job that skips it shows a few milliseconds.
        constexpr int PauseMs = 1200, GapMs = 600;
        // Four albums of 40 pictures: more requests than a throttle window lets through.
        QStringList extraIds;
        for (int i = 0; throttle && i < 4; ++i) {
            sd::ExtraAlbum extra;
            extra.name = QStringLiteral("限流%1").arg(i + 1);
            extra.pictureCount = 40;
            extra.pictureBytes = 8 * 1024;
            extraIds << knobs().addExtraAlbum(extra);
        }
        QVERIFY(signInOverHttp());
        QVERIFY(list(otherSpace ? Action::ListOther : Action::ListOwn, QString::fromLatin1(sd::SecondUin)));
        const int first = otherSpace ? 0 : 3, second = otherSpace ? 1 : 8;
        albums().setChecked(first, true); // V1comma, listed first; or V2scenery
        albums().setChecked(second, true); // V1three; or V2family
        QCOMPARE(albums().entry(first).albumId,
                 otherSpace ? QStringLiteral("V2scenery") : QString::fromLatin1(sd::CommaAlbum.id));
        if (otherSpace) {
            m_app->servicePauseOptions().scheduleMs = {PauseMs};
            m_app->servicePauseOptions().firstGapMs = GapMs;
            window().qualityCombo->setCurrentIndex(2);
        }
        if (stopDuringPause)
            m_app->servicePauseOptions().scheduleMs = {60000};
        if (throttle) {
            albums().setAllChecked(false);
            for (int row = 0; row < albums().size(); ++row)
                albums().setChecked(row, extraIds.contains(albums().entry(row).albumId));
            m_app->transferOptions().maxRetryAfterMs = 20;
            m_app->transferOptions().retryPauseMs = 20;
            knobs().setThrottle(150, 5);
        } else {
            knobs().addFault(sd::FaultRule::serviceCode(otherSpace ? OtherPhotoPath : PhotoPath, -10049,
                                                        stopDuringPause ? -1 : 4));
        }
        // The status text as the user would see it, looked at every 10 ms.
        QStringList countdown;
        QTimer look;
        connect(&look, &QTimer::timeout, [&] {
            const QString text = window().statusText();
            if (text.startsWith(QStringLiteral("服务繁忙，")) && text.endsWith(QStringLiteral("秒后继续.."))
                && !countdown.contains(text))
                countdown << text;
        });
        look.start(10);
        start(Action::Download, throttle ? extraIds.first() : albums().entry(first).albumId);
        if (stopDuringPause) {
            QTRY_VERIFY_WITH_TIMEOUT(!countdown.isEmpty(), 20000);
            QCOMPARE(countdown.first(), QStringLiteral("服务繁忙，1分0秒后继续.."));
            window().stopButton->click();
            QTRY_VERIFY_WITH_TIMEOUT(m_app->state().albumJobIdle, 5000);
            QCOMPARE(window().statusText(), QStringLiteral("已停止相册下载工作"));
            QCOMPARE(countLines(QStringLiteral("继续下载..")), 0);
            QVERIFY(!m_app->log().lines().join('\n').contains(QStringLiteral("失败")));
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(m_app->state().albumJobIdle, 60000);

        QVERIFY(!countdown.isEmpty());
        if (throttle) {
            int refused = 0;
            for (int i = 0; i < extraIds.size(); ++i) {
                const QString folder
                    = m_save->path() + QLatin1Char('/') + MainUin + QStringLiteral("/限流%1").arg(i + 1);
                for (int row = 0; row < albums().size(); ++row) {
                    if (albums().entry(row).albumId == extraIds.at(i))
                        QCOMPARE(albums().entry(row).downloadState, QStringLiteral("√"));
                }
                const QStringList files = FilesIn(folder);
                QCOMPARE(files.size(), 40);
                for (const QString &file : files) {
                    const QString path = QStringLiteral("/photo/b/%1/%2.jpg")
                                             .arg(extraIds.at(i), file.section(QLatin1Char('.'), 0, 0));
                    QVERIFY2(ContentOf(folder + QLatin1Char('/') + file) == m_standin.pictureBytes(path),
                             qPrintable(file));
                    for (const sd::LoggedRequest &request : knobs().requestsTo(path))
                        refused += request.fault == QLatin1String("throttle") ? 1 : 0;
                }
            }
            QVERIFY(refused > 0); // the run met a throttle window
            QVERIFY2(m_app->log().lines().last().endsWith(QStringLiteral("]共保存160张，失败0张")),
                     qPrintable(m_app->log().lines().last()));
        } else {
            QCOMPARE(albums().entry(first).downloadState, QStringLiteral("√"));
            QCOMPARE(albums().entry(second).downloadState, QStringLiteral("√"));
        }
        const int pauses = int(m_app->log().lines().filter(QStringLiteral("服务繁忙，暂停下载")).size());
        QVERIFY(pauses >= 1);
        QCOMPARE(countLines(QStringLiteral("继续下载..")), pauses);
        if (!throttle) {
            QCOMPARE(countLines((otherSpace ? QStringLiteral("[风景]") : QStringLiteral("[春游]")) + Busy
                                + QStringLiteral("..")),
                     1);
            QVERIFY2(m_app->log().lines().last().endsWith(QStringLiteral("]共保存6张，失败0张")),
                     qPrintable(m_app->log().lines().last()));
        }
        if (!otherSpace)
            return;
        const QList<sd::LoggedRequest> requests = knobs().requests();
        qsizetype busy = -1; // the last try of the listing, whose busy answer began the pause
        for (qsizetype i = 0; i < requests.size(); ++i)
            busy = requests.at(i).path == OtherPhotoPath && !requests.at(i).fault.isEmpty() ? i : busy;
        QVERIFY(busy >= 0);
        qint64 previous = requests.at(busy).arrivalMs;
        QStringList paced; // the job's requests after the pause, with the ms since the one before
        for (qsizetype i = busy + 1; i < requests.size(); ++i) {
            const sd::LoggedRequest &request = requests.at(i);
            const bool list = request.path == OtherPhotoPath || request.path == FloatviewPath;
            // Covers belong to the album list, not to the job.
            if (!list && !request.path.startsWith(QLatin1String("/photo/b/"))
                && !request.path.startsWith(QLatin1String("/photo/r/")))
                continue;
            if (paced.isEmpty())
                QVERIFY2(
                    request.arrivalMs - previous >= PauseMs / 2,
                    qPrintable(QStringLiteral("%1 ms into the pause").arg(request.arrivalMs - previous)));
            else if (list)
                QVERIFY2(request.arrivalMs - previous >= GapMs / 2,
                         qPrintable(paced.join(QLatin1Char(' '))
                                    + QStringLiteral(", then %1 ms").arg(request.arrivalMs - previous)));
            if (list) {
                paced << QStringLiteral("%1 ms").arg(request.arrivalMs - previous);
                previous = request.arrivalMs;
            }
        }
        QCOMPARE(paced.size(), 4); // each album's listing and floatview
    }

    // A run of two albums whose second album fails leaves a journal; listing the space
    // again offers the rest. Yes saves the failed album's pictures and nothing of the
    // complete one, and the journal goes; No deletes it and starts nothing.
    void anUnfinishedRunIsOfferedAgain_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("是") << true;
        QTest::newRow("否") << false;
    }
    void anUnfinishedRunIsOfferedAgain()
    {
        QFETCH(bool, yes);
        QVERIFY(signInOverHttp());
        QVERIFY(list(Action::ListOwn));
        albums().setChecked(3, true); // V1comma
        albums().setChecked(8, true); // V1three
        knobs().addFault(sd::FaultRule::httpStatus(QStringLiteral("/photo/b/V1three/*"), 404));
        start(Action::Download, QString::fromLatin1(sd::CommaAlbum.id));
        QTRY_VERIFY_WITH_TIMEOUT(m_app->state().albumJobIdle, 30000);
        QVERIFY(m_app->log().lines().last().endsWith(QStringLiteral("]共保存3张，失败3张")));
        const QString space = m_save->path() + QLatin1Char('/') + MainUin;
        const std::optional<RunJournal> journal = LoadRunJournal(space);
        QVERIFY(journal);
        QCOMPARE(journal->remaining().size(), 1);
        QCOMPARE(journal->remaining().first().id, QStringLiteral("V1three"));
        // The check lines in the log and in the space's report agree with the folders.
        const QString comma = QStringLiteral("[春游]核对：服务端3张，已保存3张，跳过0张，失败0张");
        const QString three = QStringLiteral("[三张]核对：服务端3张，已保存0张，跳过0张，失败3张");
        QCOMPARE(countLines(comma) + countLines(three) + countLines(QStringLiteral("]未完成的相册：三张..")),
                 3);
        QCOMPARE(AllFilesUnder(space + QStringLiteral("/春游")).size(), 3);
        QCOMPARE(AllFilesUnder(space + QStringLiteral("/三张")).size(), 0);
        const QString report = space + QLatin1Char('/') + BackupReportFileName();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(report), 5000);
        QStringList reported = QString::fromUtf8(ContentOf(report)).split(QLatin1Char('\n'));
        QVERIFY(reported.contains(comma) && reported.contains(three));
        QCOMPARE(reported.filter(QStringLiteral("  [")).size(), 3); // each failed picture and why

        const QString commaPicture = QStringLiteral("/photo/b/V1comma/1.jpg");
        QCOMPARE(knobs().requestsTo(commaPicture).size(), 1);
        knobs().clearFaults();
        knobs().clearRequests();
        m_prompts->answerNextQuestion(yes);
        QVERIFY(list(Action::ListOwn));
        QTRY_COMPARE_WITH_TIMEOUT(m_prompts->texts().filter(QStringLiteral("是否继续")).size(), 1, 10000);
        QVERIFY(
            m_prompts->texts().contains(QStringLiteral("上次的下载还没有完成（剩余1个相册），是否继续？")));
        if (!yes) {
            QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(space + QLatin1Char('/') + RunJournalFileName()), 5000);
            QVERIFY(m_app->state().albumJobIdle);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m_app->state().albumJobIdle, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(m_app->state().albumJobIdle, 30000);
        QVERIFY2(m_app->log().lines().last().endsWith(QStringLiteral("]共保存3张，跳过0张，失败0张")),
                 qPrintable(m_app->log().lines().last()));
        QCOMPARE(albums().entry(8).downloadState, QStringLiteral("√"));
        QCOMPARE(knobs().requestsTo(commaPicture).size(), 0);
        QVERIFY(!QFile::exists(space + QLatin1Char('/') + RunJournalFileName()));
        QTRY_VERIFY_WITH_TIMEOUT(
            QString::fromUtf8(ContentOf(report))
                .contains(QStringLiteral("[三张]核对：服务端3张，已保存3张，跳过0张，失败0张")),
            5000);
        reported = QString::fromUtf8(ContentOf(report)).split(QLatin1Char('\n'));
        QVERIFY(reported.contains(QStringLiteral("[春游]服务端3张，已保存3张"))); // an earlier run's album
    }

    // The second space's private album: shown as such, skipped by a multi-album run,
    // refused alone, and never asked for.
    void albumWithoutAccess()
    {
        QVERIFY(signInOverHttp());
        QVERIFY(list(Action::ListOther, QString::fromLatin1(sd::SecondUin)));
        QCOMPARE(albums().size(), 3);
        QCOMPARE(albums().entry(2).albumId, QString::fromLatin1(sd::PrivateAlbum.id));
        QCOMPARE(albums().entry(2).downloadState, QStringLiteral("无权访问"));
        QVERIFY(albums().entry(0).downloadState.isEmpty());

        for (Action alone : {Action::View, Action::Download})
            start(alone, QString::fromLatin1(sd::PrivateAlbum.id));
        QCOMPARE(m_prompts->texts(), QStringList(2, QStringLiteral("该相册无权访问")));
        QVERIFY(m_app->state().albumJobIdle);

        albums().setAllChecked(true);
        start(Action::Download, QStringLiteral("V2scenery"));
        QTRY_VERIFY_WITH_TIMEOUT(m_app->state().albumJobIdle, 30000);
        QCOMPARE(countLines(QStringLiteral("[私密]无权访问，已跳过..")), 1);
        QVERIFY(m_app->log().lines().last().endsWith(QStringLiteral("]共保存6张，失败0张，跳过1个相册")));
        QCOMPARE(albums().entry(2).downloadState, QStringLiteral("无权访问"));
        QCOMPARE(requestedTopics(), (QStringList {"V2scenery", "V2family"}));
    }
};

QTEST_MAIN(TestTodayLists)
#include "TestTodayLists.moc"
