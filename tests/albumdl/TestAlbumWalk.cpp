// One album's pictures walked without the window: a recording view shows exactly what
// the job reports and in which order, for pictures the stand-in cannot describe (a
// listing whose keys ran out); and how the walk paces its transfers when the service
// turns pictures away, with a network manager that counts the requests in flight.

#include "SavedFiles.h"
#include "albumdl/AlbumJobView.h"
#include "albumdl/AlbumWalk.h"
#include "albumdl/ServicePause.h"
#include "catalogue/AlbumListModel.h"
#include "photos/FloatviewLookup.h"
#include "qzone/Endpoints.h"
#include "qzone/PhotoListParser.h"
#include "session/WindowState.h"
#include "standin/PhotoListAnswer.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"

#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;

namespace {

QByteArray TestFileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RecordingView : public AlbumJobView
{
public:
    QString folder;
    NamingMode naming = NamingMode::SequenceAndName;
    QStringList calls;

    int selectedAlbumRow() const override { return 0; }
    QString saveFolder() const override { return folder; }
    NamingMode namingMode() const override { return naming; }
    PictureQuality quality() const override { return PictureQuality::High; }
    bool onlyNewPictures = false;
    bool onlyNew() const override { return onlyNewPictures; }
    bool writeMetadata() const override { return false; }
    void setStatusText(const QString &text) override { calls << QStringLiteral("status ") + text; }
    void addLogLines(const QStringList &messages) override
    {
        calls << QStringLiteral("log ") + messages.join('|');
    }
    void setJobControlsEnabled(bool) override { }
    void setAlbumListEnabled(bool) override { }
    void setProgressRange(int minimum, int maximum) override
    {
        calls << QStringLiteral("range %1-%2").arg(minimum).arg(maximum);
    }
    void setProgressValue(int value) override { calls << QStringLiteral("value %1").arg(value); }
};

// Counts the requests in flight, and the most there ever were at once.
class CountingNetwork : public QNetworkAccessManager
{
public:
    int inFlight = 0;
    int most = 0;

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request, QIODevice *data) override
    {
        QNetworkReply *reply = QNetworkAccessManager::createRequest(op, request, data);
        most = qMax(most, ++inFlight);
        connect(reply, &QNetworkReply::finished, this, [this] { --inFlight; });
        return reply;
    }
};

} // namespace

class TestAlbumWalk : public QObject
{
    Q_OBJECT

    standin::StandinThread m_standin;

    PhotoEntry picture(int number, const QString &name, const QString &path) const
    {
        PhotoEntry entry;
        entry.number = number;
        entry.name = name;
        entry.url = path.isEmpty() ? QString() : m_standin.root() + path;
        return entry;
    }

    // The pictures of an album of the stand-in's main space, as listed (sizes too).
    QList<PhotoEntry> listed(const QString &albumId, int count)
    {
        const auto album = m_standin.knobs().data().findAlbum(albumId);
        QList<PhotoEntry> pictures;
        for (int n = 1; n <= count; ++n) {
            PhotoEntry entry = picture(n, QStringLiteral("p%1").arg(n),
                                       QStringLiteral("/photo/b/%1/%2.jpg").arg(albumId).arg(n));
            const standin::PictureRecipe recipe
                = m_standin.knobs().data().pictureRecipe(*album, standin::PictureVariant::High, n);
            entry.width = recipe.width;
            entry.height = recipe.height;
            pictures << entry;
        }
        return pictures;
    }

    // Walks the pictures into `save` with short pauses; the walk's tally. With
    // `floatview`, videos are looked up there (album V3video of the third space).
    AlbumWalk::Tally walk(QNetworkAccessManager &nam, const QString &save, const QList<PhotoEntry> &pictures,
                          int timeoutMs, bool floatview = false, bool onlyNew = false)
    {
        WindowState state;
        state.albumJobRunning = true;
        state.listedOwnerUin = QStringLiteral("42");
        AlbumListModel albums;
        AlbumEntry album;
        album.name = QStringLiteral("册");
        album.pictureCount = QString::number(pictures.size());
        albums.append(album);
        RecordingView view;
        view.folder = save;
        view.onlyNewPictures = onlyNew;
        PictureTransfer::Options options;
        options.retryPauseMs = 20;
        AlbumWalk walk(nam, state, albums, view, 0, pictures, options, nullptr);
        const Endpoints endpoints(m_standin.root());
        if (floatview) {
            FloatviewRequest album;
            album.ownerUin = QString::fromLatin1(standin::ThirdUin);
            album.albumId = QString::fromLatin1(standin::VideoAlbum.id);
            walk.setFloatview(new FloatviewLookup(nam, endpoints, album, BusyRetryOptions {{}}, nullptr));
        }
        QSignalSpy finished(&walk, &AlbumWalk::finished);
        QSignalSpy stopped(&walk, &AlbumWalk::stopped);
        walk.start();
        [&] {
            QVERIFY(QTest::qWaitFor([&] { return finished.size() + stopped.size() > 0; }, timeoutMs));
        }();
        m_sessionEnded = walk.sessionEnded();
        return walk.tally();
    }

    bool m_sessionEnded = false;

    int refusedForRate()
    {
        int refused = 0;
        for (const standin::LoggedRequest &request : m_standin.knobs().requests())
            refused += request.fault == QLatin1String("rate") ? 1 : 0;
        return refused;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }

    void init()
    {
        m_standin.knobs().clearFaults();
        m_standin.knobs().clearRequests();
        m_standin.knobs().setRate(0);
    }

    // The pauses of a run for a service that limits it, each begun and then cancelled
    // (as a stop would), with clean answers noted before each: they grow along the
    // schedule, its last length repeats, a longer Retry-After wins, and 20 clean
    // answers in a row (not 19) start the schedule over.
    void servicePauseLengths_data()
    {
        QTest::addColumn<QList<int>>("retryAfters");
        QTest::addColumn<int>("cleanBefore");
        QTest::addColumn<QList<int>>("lengths");
        QTest::newRow("grows, the last repeats")
            << QList<int> {-1, -1, -1, -1} << 0 << QList<int> {100, 200, 500, 500};
        QTest::newRow("a longer Retry-After wins")
            << QList<int> {350, 50, -1} << 0 << QList<int> {350, 200, 500};
        QTest::newRow("20 clean answers start over") << QList<int> {-1, -1} << 20 << QList<int> {100, 100};
        QTest::newRow("19 do not") << QList<int> {-1, -1} << 19 << QList<int> {100, 200};
    }
    void servicePauseLengths()
    {
        QFETCH(QList<int>, retryAfters);
        QFETCH(int, cleanBefore);
        QFETCH(QList<int>, lengths);
        ServicePauseOptions options;
        options.scheduleMs = {100, 200, 500};
        ServicePause pause(options);
        QSignalSpy began(&pause, &ServicePause::began);
        QSignalSpy countdown(&pause, &ServicePause::countdown);
        for (const int retryAfter : retryAfters) {
            for (int i = 0; i < cleanBefore; ++i)
                pause.noteAnswer(false);
            pause.begin(retryAfter);
            QVERIFY(pause.isPaused());
            pause.begin(); // a pause in progress is not begun again
            pause.cancel();
            QVERIFY(!pause.isPaused());
        }
        QList<int> seen;
        for (const QList<QVariant> &signal : std::as_const(began))
            seen << signal.at(0).toInt();
        QCOMPARE(seen, lengths);
        QCOMPARE(countdown.size(), lengths.size());
        QCOMPARE(PauseCountdownText(61001), QStringLiteral("服务繁忙，1分2秒后继续.."));
        QCOMPARE(ServicePauseOptions::parseSchedule(QStringLiteral("1, 0.5,30")),
                 (QList<int> {1000, 500, 30000}));
        QCOMPARE(ServicePauseOptions::parseSchedule(QStringLiteral("1,,2")), QList<int> {});
    }

    // The gap between list requests after busy answers: 2 s, doubled by each further
    // busy list answer up to 60 s (busy pictures only start it), dropped after 20 clean
    // answers; and a pause that runs out resumes, never before its length is over (the
    // service's window is not: asked early, it turns the run away into a longer pause).
    void listGapAndResume()
    {
        ServicePauseOptions options;
        options.scheduleMs = {300};
        ServicePause pause(options);
        pause.noteListRequest();
        QCOMPARE(pause.listWaitMs(), 0);
        for (int i = 0; i < 30; ++i)
            pause.noteAnswer(true);
        QVERIFY(pause.listWaitMs() > 1000 && pause.listWaitMs() <= 2000);
        for (int i = 0; i < 5; ++i)
            pause.noteListAnswer(true);
        QVERIFY(pause.listWaitMs() > 59000 && pause.listWaitMs() <= 60000);
        for (int i = 0; i < 19; ++i)
            pause.noteAnswer(false);
        QVERIFY(pause.listWaitMs() > 0);
        pause.noteAnswer(false);
        QCOMPARE(pause.listWaitMs(), 0);

        QSignalSpy resumed(&pause, &ServicePause::resumed);
        for (int i = 0; i < 6; ++i) {
            QElapsedTimer paused;
            paused.start();
            pause.begin();
            QVERIFY(resumed.wait(5000));
            QVERIFY(!pause.isPaused());
            QVERIFY2(paused.elapsed() >= 300, qPrintable(QString::number(paused.elapsed())));
        }
    }

    // Ten requests a second for thirty pictures: the budget runs out in every window,
    // and still every picture is saved, never more than four asked at once.
    void paceUnderARequestBudget()
    {
        standin::ExtraAlbum extra;
        extra.pictureCount = 30;
        extra.pictureBytes = 4096;
        const QString id = m_standin.knobs().addExtraAlbum(extra);
        m_standin.knobs().setRate(10);
        QTemporaryDir save;
        CountingNetwork nam;
        const AlbumWalk::Tally tally = walk(nam, save.path(), listed(id, 30), 30000);
        m_standin.knobs().setRate(0);
        QCOMPARE(tally.saved, 30);
        QCOMPARE(tally.failed, 0);
        QVERIFY2(nam.most <= AlbumWalk::MaxInFlight, qPrintable(QString::number(nam.most)));
        QVERIFY(refusedForRate() > 0);
        QCOMPARE(FilesIn(save.path() + QStringLiteral("/42/册")).size(), 30);
    }

    // Floatview answers a request without a sign-in with -3000: the walk stops before the
    // video, after the picture before it, and says the sign-in has ended.
    void floatviewSessionEnded()
    {
        QList<PhotoEntry> pictures = listed(QString::fromLatin1(standin::VideoAlbum.id), 2);
        pictures[1].isVideo = true;
        pictures[1].lloc = QStringLiteral("V3video_2");
        QTemporaryDir save;
        QNetworkAccessManager nam;
        const AlbumWalk::Tally tally = walk(nam, save.path(), pictures, 20000, true);
        QVERIFY(m_sessionEnded);
        QCOMPARE(tally.saved + tally.failed, 1);
        QCOMPARE(m_standin.knobs().requestCount(QStringLiteral("/video/V3video/2.mp4")), 0);
    }

    // A storm of answers that turn pictures away: after a 429 or a placeholder a picture
    // is asked again beyond the transfer's own three attempts and saved, after a 5xx
    // within them; a storm that outlasts the retries fails the pictures.
    void turnedAwayPicturesAreAskedAgain_data()
    {
        QTest::addColumn<standin::FaultRule>("fault");
        QTest::addColumn<int>("saved");
        QTest::addColumn<int>("asked");
        const QString all = QStringLiteral("/photo/b/V1three/*");
        const int storm = 3 * 3; // three for each of the three pictures
        QTest::newRow("429") << standin::FaultRule::httpStatus(all, 429, storm) << 3 << storm + 3;
        QTest::newRow("429 with Retry-After 0")
            << standin::FaultRule::httpStatus(all, 429, storm, 0) << 3 << storm + 3;
        QTest::newRow("503, twice each") << standin::FaultRule::httpStatus(all, 503, 2 * 3) << 3 << 2 * 3 + 3;
        // The placeholder is told apart only from a picture listed four times its size:
        // the third one.
        QTest::newRow("placeholder, four times") << standin::FaultRule::make(
            QStringLiteral("/photo/b/V1three/3.jpg"), standin::FaultKind::Placeholder, 4)
                                                 << 3 << 2 + 5;
        QTest::newRow("429 without end")
            << standin::FaultRule::httpStatus(all, 429) << 0 << 3 * (1 + AlbumWalk::BusyRetries);
        QTest::newRow("503 without end") << standin::FaultRule::httpStatus(all, 503) << 0 << 3 * 3;
    }
    void turnedAwayPicturesAreAskedAgain()
    {
        QFETCH(standin::FaultRule, fault);
        QFETCH(int, saved);
        QFETCH(int, asked);
        m_standin.knobs().addFault(fault);
        QTemporaryDir save;
        CountingNetwork nam;
        const AlbumWalk::Tally tally = walk(nam, save.path(), listed(QStringLiteral("V1three"), 3), 30000);
        QCOMPARE(tally.saved, saved);
        QCOMPARE(tally.failed, 3 - saved);
        QCOMPARE(m_standin.knobs().requests().size(), asked);
        QVERIFY(nam.most <= AlbumWalk::MaxInFlight);
        for (int n = 1; n <= saved; ++n) {
            const QString file = save.path() + QStringLiteral("/42/册/%1.p%1.jpg").arg(n);
            QVERIFY(TestFileBytes(file)
                    == m_standin.pictureBytes(QStringLiteral("/photo/b/V1three/%1.jpg").arg(n)));
        }
        QCOMPARE(FilesIn(save.path() + QStringLiteral("/42/册")).size(), saved);
    }

    // A transfer gives the network back as soon as its body is in, but a placeholder
    // must not: the picture asked again would come on top of the one started in its
    // place, one more on the network for every placeholder.
    void placeholdersKeepTheLimit()
    {
        const int count = 12;
        QList<PhotoEntry> pictures;
        const PhotoEntry large = listed(QStringLiteral("V1three"), 3).at(2); // the only one told apart
        for (int n = 1; n <= count; ++n) {
            PhotoEntry entry = large;
            entry.number = n;
            entry.name = QStringLiteral("p%1").arg(n);
            pictures << entry;
        }
        m_standin.knobs().addFault(standin::FaultRule::make(QStringLiteral("/photo/b/V1three/3.jpg"),
                                                            standin::FaultKind::Placeholder, count));
        QTemporaryDir save;
        CountingNetwork nam;
        const AlbumWalk::Tally tally = walk(nam, save.path(), pictures, 30000);
        QCOMPARE(tally.saved, count);
        QVERIFY2(nam.most <= AlbumWalk::MaxInFlight, qPrintable(QString::number(nam.most)));
    }

    // Pictures 2 and 3 were saved; then a picture without an lloc comes first in the
    // listing. It is fetched: it never takes picture 2's lloc, the record's key, and
    // so is never passed over as saved.
    void pictureWithoutLlocIsNeverTakenForSaved()
    {
        const auto album = m_standin.knobs().data().findAlbum(QString::fromLatin1(standin::SmallAlbum.id));
        QVERIFY(album);
        QString page = standin::PhotoListAnswer::page(QStringLiteral("cb"), m_standin.root(),
                                                      QString::fromLatin1(standin::MainUin), *album,
                                                      m_standin.knobs().data(), 0, album->total, false);
        const QList<PhotoEntry> all = ParsePhotoList(page);
        QCOMPARE(all.size(), 3);
        QTemporaryDir save;
        QNetworkAccessManager nam;
        QCOMPARE(walk(nam, save.path(), all.mid(1), 10000).saved, 2);

        page.remove(QStringLiteral("\"lloc\" : \"V1three_1\",\n"));
        const QList<PhotoEntry> again = ParsePhotoList(page);
        QVERIFY(again.first().lloc.isEmpty());
        QCOMPARE(again.at(1).lloc, QStringLiteral("V1three_2"));
        m_standin.knobs().clearRequests();
        const AlbumWalk::Tally tally = walk(nam, save.path(), again, 10000, false, true);
        QCOMPARE(tally.saved, 1);
        QCOMPARE(tally.skipped, 2);
        QCOMPARE(m_standin.knobs().requestCount(QStringLiteral("/photo/b/V1three/1.jpg")), 1);
    }

    // Picture 2 came without an address (its keys ran out in the answer): it is neither
    // fetched nor saved under any name, it is reported as failed in its place, and the
    // pictures around it are saved under their own names.
    void pictureWithoutAddress()
    {
        QTemporaryDir save;
        QNetworkAccessManager nam;
        WindowState state;
        state.albumJobRunning = true;
        state.listedOwnerUin = QStringLiteral("42");
        AlbumListModel albums;
        AlbumEntry album;
        album.name = QStringLiteral("册");
        album.pictureCount = QStringLiteral("3");
        albums.append(album);
        RecordingView view;
        view.folder = save.path();
        // Picture 1 arrives last, so that the missing picture is ready long before it.
        m_standin.knobs().addFault(
            standin::FaultRule::latency(QStringLiteral("/photo/b/V1three/1.jpg"), 300));
        m_standin.knobs().clearRequests();

        AlbumWalk walk(nam, state, albums, view, 0,
                       {picture(1, QStringLiteral("a"), QStringLiteral("/photo/b/V1three/1.jpg")),
                        picture(2, QStringLiteral("b"), QString()),
                        picture(3, QStringLiteral("c"), QStringLiteral("/photo/b/V1three/3.jpg"))},
                       {}, nullptr);
        QSignalSpy finished(&walk, &AlbumWalk::finished);
        walk.start();
        QVERIFY(finished.wait(10000));

        // All three become reportable together when picture 1 arrives: they are shown
        // in list order, and their lines go to the log as one addition.
        QCOMPARE(view.calls,
                 QStringList({"range 1-3", "status 正在下载相册[册]（33%）", "value 1",
                              "status 正在下载相册[册]（67%）", "value 2", "status 正在下载相册[册]（100%）",
                              "value 3", "log [a]下载完毕..|[b]下载失败..|[c]下载完毕.."}));
        QCOMPARE(albums.entry(0).downloadState, QStringLiteral("3/3(100%)"));
        QCOMPARE(walk.tally().saved, 2);
        QCOMPARE(walk.tally().failed, 1);
        QCOMPARE(m_standin.knobs().requests().size(), 2);
        QCOMPARE(FilesIn(save.path() + QStringLiteral("/42/册")), QStringList({"1.a.jpg", "3.c.jpg"}));
    }
};

QTEST_MAIN(TestAlbumWalk)
#include "TestAlbumWalk.moc"
