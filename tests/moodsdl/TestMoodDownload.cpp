// "下载说说" on the real main window against the stand-in over HTTP: a space's posts
// saved whole, the spaces that refuse or seal their older posts, the stop button, a
// second run with "只下载新照片", a killed run taken up again, and a throttle ridden out.

#include "../photos/StandinSignIn.h"
#include "SavedFiles.h"
#include "ScriptedPrompts.h"
#include "albumdl/ServicePause.h"
#include "app/AlbivexApp.h"
#include "moodsdl/MoodListing.h"
#include "qzone/Endpoints.h"
#include "qzone/ListFetch.h"
#include "qzone/MoodRequest.h"
#include "standin/MoodBook.h"
#include "standin/MoodRoutes.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "storage/MoodDocumentUpdate.h"
#include "storage/RunJournal.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

#include <memory>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QString MainUin = QString::fromLatin1(sd::MainUin);
const QString ListPath = QString::fromLatin1(sd::MoodRoutes::ListPath);
const QString Stopped = QStringLiteral("已停止说说下载工作");

} // namespace

class TestMoodDownload : public QObject
{
    Q_OBJECT

    sd::StandinThread m_standin;
    std::unique_ptr<QTemporaryDir> m_saveDir;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<AlbivexApp> m_app;

    MainWindow &window() { return m_app->window(); }
    WindowState &state() { return m_app->state(); }
    sd::StandinKnobs &knobs() { return m_standin.knobs(); }
    QStringList logLines() { return m_app->log().lines(); }
    QString lastLine() { return logLines().last().mid(logLines().last().indexOf(QLatin1Char(']')) + 1); }

    void startApp()
    {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), m_prompts.get(), m_prompts.get(),
                                             m_prompts.get());
        for (QWidget *control : {window().listOwnAlbumsButton, window().listOtherAlbumsButton})
            control->setEnabled(true);
        window().qualityCombo->addItems(
            {QStringLiteral("普通"), QStringLiteral("高清"), QStringLiteral("原图")});
        window().saveFolderEdit->setText(m_saveDir->path());
        m_app->transferOptions().retryPauseMs = 20;
        m_app->busyRetryOptions().waitsMs = {20};
        m_app->servicePauseOptions().scheduleMs = {300};
        m_app->servicePauseOptions().firstGapMs = 20;
        m_app->servicePauseOptions().maxGapMs = 40;
        state().credentials = SignInOverHttp(m_app->network(), m_standin.root(), MainUin);
    }

    // Lists `owner`'s space and waits for the listing to end.
    bool list(const QString &owner = MainUin)
    {
        const auto ended = [this] {
            return logLines().filter(QStringLiteral("相册获取完毕")).size();
        };
        const int before = ended();
        if (owner == MainUin) {
            window().listOwnAlbumsButton->click();
        } else {
            window().otherQqEdit->setText(owner);
            window().listOtherAlbumsButton->click();
        }
        return QTest::qWaitFor([&] { return ended() > before || state().listedOwnerUin == owner; }, 20000)
            && QTest::qWaitFor([this] { return window().downloadMoodsButton->isEnabled(); }, 20000);
    }

    bool waitForEnd(int timeoutMs = 60000)
    {
        return QTest::qWaitFor(
            [this] {
                return state().albumJobIdle && !logLines().isEmpty()
                    && (lastLine().startsWith(QStringLiteral("说说下载完成"))
                        || lastLine().startsWith(QStringLiteral("[说说]")));
            },
            timeoutMs);
    }

    QString folder(const QString &owner = MainUin)
    {
        return m_saveDir->path() + QLatin1Char('/') + owner + QStringLiteral("/说说");
    }

    int requestsUnder(const QString &prefix)
    {
        int count = 0;
        for (const sd::LoggedRequest &request : knobs().requests())
            count += request.path.startsWith(prefix) ? 1 : 0;
        return count;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        knobs().clearFaults();
        knobs().clearExtraMoods();
        knobs().setThrottle(0, 0);
        m_saveDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_saveDir->isValid());
        startApp();
        QVERIFY(state().credentials.signedIn);
    }

    void cleanup()
    {
        m_app.reset();
        m_prompts.reset();
        m_saveDir.reset();
    }

    // Every post of the own space against the stand-in's data: the whole text (also the
    // one the list cut), every picture (also those only the detail gives) at its largest,
    // the video, comments and replies with their pictures, the file times; the dead
    // link counted failed; the post's words in a picture's metadata; the check line and the
    // summary last.
    void savesTheSpaceWhole()
    {
        window().writeMetadataCheck->setChecked(true);
        QVERIFY(list());
        knobs().clearRequests();
        window().downloadMoodsButton->click();
        QVERIFY(!window().downloadMoodsButton->isEnabled());
        QVERIFY(waitForEnd());

        const QList<sd::MoodInfo> posts = knobs().data().moods().posts(sd::MoodSpace::Main);
        const MoodDocument saved = LoadMoodDocument(folder()).document;
        QCOMPARE(saved.moods.size(), posts.size());
        int pictures = 0;
        int missing = 0;
        for (const sd::MoodInfo &post : posts) {
            const auto entry = std::find_if(saved.moods.cbegin(), saved.moods.cend(),
                                            [&](const MoodDocumentEntry &e) { return e.id == post.tid; });
            QVERIFY2(entry != saved.moods.cend(), qPrintable(post.tid));
            QCOMPARE(entry->text, post.content);
            QCOMPARE(entry->time, QDateTime::fromSecsSinceEpoch(post.time, QTimeZone(8 * 3600)));
            QCOMPARE(entry->placeName, post.placeName);
            QCOMPARE(entry->comments.size(), post.comments.size());
            for (int c = 0; c < post.comments.size(); ++c) {
                QCOMPARE(entry->comments.at(c).text, post.comments.at(c).content);
                QCOMPARE(entry->comments.at(c).replies.size(), post.comments.at(c).replies.size());
                QCOMPARE(entry->comments.at(c).files.size(), post.comments.at(c).pictures.size());
                pictures += int(post.comments.at(c).pictures.size());
            }
            int expected = 0;
            for (const sd::MoodPicture &picture : post.pictures)
                expected += picture.missing ? 0 : 1;
            missing += int(post.pictures.size()) - expected;
            QCOMPARE(entry->files.size(), expected);
            pictures += expected;
            QList<sd::MoodPicture> kept;
            for (const sd::MoodPicture &picture : post.pictures) {
                if (!picture.missing)
                    kept << picture;
            }
            QCOMPARE(entry->lost.size(), post.pictures.size() - kept.size());
            for (int i = 0; i < entry->files.size(); ++i) {
                const QString path = folder() + QLatin1Char('/') + entry->files.at(i).file;
                QCOMPARE(QFileInfo(path).lastModified().toSecsSinceEpoch(), post.time);
                const sd::MoodPicture &picture = kept.at(i);
                if (picture.video) {
                    QVERIFY(entry->files.at(i).file.endsWith(QLatin1String(".mp4")));
                } else {
                    QCOMPARE(QImageReader(path).size(), QSize(picture.width, picture.height));
                }
            }
        }
        QVERIFY(missing > 0);
        // "写入照片信息": the post's text as the caption, its time as when it was taken.
        const auto withWords = std::find_if(posts.cbegin(), posts.cend(), [](const sd::MoodInfo &p) {
            return !p.content.isEmpty() && !p.pictures.isEmpty() && !p.pictures.first().video
                && !p.pictures.first().missing;
        });
        QVERIFY(withWords != posts.cend());
        const auto entry = std::find_if(saved.moods.cbegin(), saved.moods.cend(),
                                        [&](const MoodDocumentEntry &e) { return e.id == withWords->tid; });
        QFile picture(folder() + QLatin1Char('/') + entry->files.first().file);
        QVERIFY(picture.open(QIODevice::ReadOnly));
        const QJsonObject tags = ExiftoolTags(picture.readAll());
        QCOMPARE(tags.value(QLatin1String("IFD0:ImageDescription")).toString(), withWords->content);
        QCOMPARE(tags.value(QLatin1String("ExifIFD:DateTimeOriginal")).toString(),
                 QDateTime::fromSecsSinceEpoch(withWords->time, QTimeZone(8 * 3600))
                     .toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")));
        QCOMPARE(logLines().filter(QStringLiteral("下载失败（图片不存在）")).size(), missing);
        const QStringList lines = logLines();
        QVERIFY(lines.at(lines.size() - 2)
                    .endsWith(QStringLiteral("[说说]核对：服务端%1条，已保存%1条，图片%2张，失败%3张")
                                  .arg(posts.size())
                                  .arg(pictures)
                                  .arg(missing)));
        QCOMPARE(lastLine(),
                 QStringLiteral("说说下载完成：共保存%1条，图片%2张，失败%3张")
                     .arg(posts.size())
                     .arg(pictures)
                     .arg(missing));
        // Not complete (a dead link): the journal keeps the part for the next listing.
        QVERIFY(LoadRunJournal(m_saveDir->path() + QLatin1Char('/') + MainUin));
        QVERIFY(window().downloadMoodsButton->isEnabled());
        QVERIFY(
            QFile::exists(m_saveDir->path() + QLatin1Char('/') + MainUin + QStringLiteral("/备份报告.txt")));
    }

    void refusingSpaces_data()
    {
        QTest::addColumn<QString>("owner");
        QTest::addColumn<QString>("message");
        QTest::newRow("closed by its settings")
            << QString::fromLatin1(sd::ClosedUin) << QStringLiteral("由于对方权限设置，您不能进行此操作");
        QTest::newRow("kept secret") << QString::fromLatin1(sd::SecretMoodsUin)
                                     << QStringLiteral("主人设置保密");
    }

    // A box says so; nothing saved, no journal.
    void refusingSpaces()
    {
        QFETCH(QString, owner);
        QFETCH(QString, message);
        QVERIFY(list(owner));
        window().downloadMoodsButton->click();
        QVERIFY(waitForEnd());
        // The album listing of such a space may have said its own box first.
        QVERIFY(!m_prompts->boxes.isEmpty());
        QCOMPARE(m_prompts->boxes.last().text, message);
        QVERIFY(!QFileInfo::exists(folder(owner)));
        QVERIFY(!LoadRunJournal(m_saveDir->path() + QLatin1Char('/') + owner));
    }

    // The older posts are sealed: the listing ends where the service stops listing, and
    // says so before the summary and in the report.
    void sealedTail()
    {
        const QString owner = QString::fromLatin1(sd::SealedMoodsUin);
        QVERIFY(list(owner));
        window().downloadMoodsButton->click();
        QVERIFY(waitForEnd());
        const QString cut = QStringLiteral("说说列表不完整：服务端%1条，已取得%2条")
                                .arg(sd::SealedMoodTotal)
                                .arg(sd::SealedMoodListed);
        QVERIFY(logLines().at(logLines().size() - 2).endsWith(cut));
        QVERIFY(lastLine().startsWith(QStringLiteral("说说下载完成：共保存%1条").arg(sd::SealedMoodListed)));
        QFile report(m_saveDir->path() + QLatin1Char('/') + owner + QStringLiteral("/备份报告.txt"));
        QVERIFY(report.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(report.readAll()).contains(cut));
    }

    // A second run with "只下载新照片" asks one list page and no picture; the stop button
    // ends a run at once and keeps its journal.
    void secondRunAndStop()
    {
        QVERIFY(list());
        window().downloadMoodsButton->click();
        QVERIFY(waitForEnd());
        window().onlyNewCheck->setChecked(true);
        knobs().clearRequests();
        window().downloadMoodsButton->click();
        QVERIFY(waitForEnd());
        QCOMPARE(knobs().requestsTo(ListPath).size(), 1);
        QCOMPARE(requestsUnder(QStringLiteral("/mood/")), 0);
        QVERIFY(lastLine().startsWith(QStringLiteral("说说下载完成：共保存0条，图片0张")));

        window().onlyNewCheck->setChecked(false);
        knobs().addFault(sd::FaultRule::latency(QStringLiteral("/mood/*"), 3000));
        window().downloadMoodsButton->click();
        QVERIFY(QTest::qWaitFor([this] { return requestsUnder(QStringLiteral("/mood/")) > 0; }, 20000));
        window().stopButton->click();
        QVERIFY(QTest::qWaitFor([this] { return state().albumJobIdle; }, 2000));
        QCOMPARE(window().statusText(), Stopped);
        QCOMPARE(lastLine(), QStringLiteral("[说说]") + Stopped);
        const std::optional<RunJournal> journal
            = LoadRunJournal(m_saveDir->path() + QLatin1Char('/') + MainUin);
        QVERIFY(journal);
        QCOMPARE(journal->remaining(RunJournal::Kind::Moods).size(), 1);
    }

    // Killed mid-run (the window gone without a stop), then taken up: every file
    // recorded whole is not asked again.
    void killedThenTakenUp()
    {
        QVERIFY(list());
        knobs().addFault(sd::FaultRule::latency(QStringLiteral("/mood/b/*"), 200));
        window().downloadMoodsButton->click();
        QVERIFY(QTest::qWaitFor([this] { return requestsUnder(QStringLiteral("/mood/b/")) >= 12; }, 20000));
        QTest::qWait(300);
        m_app.reset();
        knobs().clearFaults();
        QStringList before;
        for (const sd::LoggedRequest &request : knobs().requests())
            before << request.path;
        knobs().clearRequests();

        startApp();
        m_prompts->answerNextQuestion(true);
        QVERIFY(list());
        QVERIFY(QTest::qWaitFor([this] { return !m_prompts->boxes.isEmpty(); }, 10000));
        QCOMPARE(m_prompts->boxes.last().text, QStringLiteral("上次的说说下载还没有完成，是否继续？"));
        QVERIFY(waitForEnd());
        const MoodDocument saved = LoadMoodDocument(folder()).document;
        QCOMPARE(saved.moods.size(), knobs().data().moods().posts(sd::MoodSpace::Main).size());
        // What the first run saved whole is on disk under the record's names, and none
        // of it was asked again.
        int askedAgain = 0;
        for (const sd::LoggedRequest &request : knobs().requests()) {
            if (request.path.startsWith(QLatin1String("/mood/b/")) && before.count(request.path) > 0)
                ++askedAgain;
        }
        QVERIFY(askedAgain <= 4); // at most the transfers the kill cut off
    }

    // No list request goes out while the run is paused; the one asked meanwhile goes
    // once the pause is over.
    void listingWaitsOutThePause()
    {
        ServicePause pause(ServicePauseOptions {{400}, 20, 0, 0});
        MoodListing listing(m_app->network(), m_app->endpoints(), MainUin,
                            state().credentials.tokenFor(Endpoint::MoodList), {}, pause, nullptr);
        QSignalSpy pages(&listing, &MoodListing::pageReady);
        QSignalSpy resumed(&pause, &ServicePause::resumed);
        knobs().clearRequests();
        pause.begin();
        listing.fetch(0);
        QVERIFY(resumed.wait(5000));
        QCOMPARE(knobs().requestsTo(ListPath).size(), 0);
        QVERIFY(pages.wait(5000));
        QCOMPARE(knobs().requestsTo(ListPath).size(), 1);
    }

    // A busy answer whose retries outlasted a pause says nothing of the service now: the
    // page is asked again at once (three more requests), and only a busy answer to that
    // is turned away, so that one throttle does not cost two pauses.
    void busyAnswerOutlastingAPause()
    {
        ServicePause pause(ServicePauseOptions {{50}, 20, 0, 0});
        const QString token = state().credentials.tokenFor(Endpoint::MoodList);
        MoodListing listing(m_app->network(), m_app->endpoints(), MainUin, token,
                            BusyRetryOptions {{300, 300}}, pause, nullptr);
        QSignalSpy turnedAway(&listing, &MoodListing::turnedAway);
        knobs().setThrottle(1, 10);
        bool served = false; // the throttle's window begins with the next request
        FetchList(m_app->network(), MoodListUrl(m_app->endpoints(), {MainUin, token, 0, MoodPageSize}), {},
                  &listing, [&served](const ListAnswer &) { served = true; });
        QTRY_VERIFY(served);
        knobs().clearRequests();
        listing.fetch(0);
        pause.begin(); // over long before the request's last retry answers
        QVERIFY(turnedAway.wait(10000));
        knobs().setThrottle(0, 0);
        QCOMPARE(knobs().requestsTo(ListPath).size(), 6);
        QCOMPARE(turnedAway.size(), 1);
    }

    // The service throttles list and picture requests: the run pauses and goes on,
    // with nothing failed for it.
    void throttleRiddenOut()
    {
        QVERIFY(list());
        knobs().setThrottle(15, 1);
        window().downloadMoodsButton->click();
        QVERIFY(waitForEnd(120000));
        knobs().setThrottle(0, 0);
        QVERIFY(!logLines().filter(QStringLiteral("服务繁忙，暂停下载")).isEmpty());
        const int posts = int(knobs().data().moods().posts(sd::MoodSpace::Main).size());
        QCOMPARE(LoadMoodDocument(folder()).document.moods.size(), posts);
        QVERIFY2(lastLine().endsWith(QStringLiteral("失败1张")), qPrintable(logLines().join("\n")));
    }
};

QTEST_MAIN(TestMoodDownload)
#include "TestMoodDownload.moc"
