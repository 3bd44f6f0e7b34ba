#include "PrivateMounts.h"
#include "network/QueryString.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "storage/PictureTransfer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QScopeGuard>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

using namespace albivex;
using standin::FaultKind;
using standin::FaultRule;

Q_DECLARE_METATYPE(albivex::TransferOutcome)

namespace {

const QString SmallPicture = QStringLiteral("/photo/b/V1three/1.jpg");
const QString MediumPicture = QStringLiteral("/photo/b/V1three/2.jpg");
const QByteArray EarlierFile = QByteArrayLiteral("\xFF\xD8\xFF an earlier, good picture");

// Peak resident memory of this process in KiB (Linux), 0 when unknown.
qint64 peakResidentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ContentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

} // namespace

// One picture address into one file, against the stand-in's pictures and faults.
class TestPictureTransfer : public QObject
{
    Q_OBJECT
private:
    standin::StandinThread m_standin;
    QNetworkAccessManager *m_nam = nullptr;
    PictureTransfer::Options m_fast;

    QString address(const QString &path) const { return m_standin.root() + path; }

    TransferResult transfer(const QString &address, const QString &path,
                            const PictureTransfer::Options &options, int timeoutMs = 20000)
    {
        bool done = false;
        TransferResult result;
        DownloadPictureFile(
            *m_nam, address, path, this,
            [&](const TransferResult &r) {
                result = r;
                done = true;
            },
            options);
        [&] {
            QTRY_VERIFY_WITH_TIMEOUT(done, timeoutMs);
        }();
        return result;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_standin.start());
        m_fast.idleMs = 1000; // short for the stalls, long enough for a busy machine
        m_fast.retryPauseMs = 30;
        m_fast.maxRetryAfterMs = 3000;
    }

    void init()
    {
        // A fresh manager per case: no connection or cookie of one case helps the next.
        delete m_nam;
        m_nam = new QNetworkAccessManager(this);
        m_standin.knobs().clearFaults();
        m_standin.knobs().clearRequests();
    }

    void savesTheWholePictureWithItsUploadTime()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("2.风景.jpg"));
        PictureTransfer::Options options = m_fast;
        options.modifiedTime = QDateTime(QDate(2015, 12, 23), QTime(10, 5, 26), Qt::UTC);
        const TransferResult result = transfer(address(MediumPicture), path, options);
        QVERIFY2(result.ok(), qPrintable(TransferOutcomeName(result.outcome)));
        QCOMPARE(result.attempts, 1);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray expected = m_standin.pictureBytes(MediumPicture);
        QVERIFY(expected.size() > 50 * 1024);
        QVERIFY(saved.readAll() == expected);
        QCOMPARE(result.bytes, qint64(expected.size()));
        QCOMPARE(QFileInfo(path).lastModified().toSecsSinceEpoch(), options.modifiedTime.toSecsSinceEpoch());
        QCOMPARE(filesIn(dir.path()), QStringList {QFileInfo(path).fileName()});
    }

    // The window's painting waits on Qt's global pool (large fills are split over it):
    // a picture is put in place on threads of its own, so it lands while that pool is
    // taken up by other work.
    void putInPlaceWhileQtsOwnPoolIsBusy()
    {
        QThreadPool &shared = *QThreadPool::globalInstance();
        const int taken = shared.maxThreadCount();
        QSemaphore hold;
        for (int i = 0; i < taken; ++i)
            shared.start([&hold] { hold.acquire(); });
        const auto freeShared = qScopeGuard([&] {
            hold.release(taken);
            shared.waitForDone();
        });
        QTemporaryDir dir;
        const TransferResult result
            = transfer(address(SmallPicture), dir.filePath(QStringLiteral("1.jpg")), m_fast, 5000);
        QVERIFY2(result.ok(), qPrintable(TransferOutcomeName(result.outcome)));
    }

    void replacesAnEarlierFileWhenComplete()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("1.abc.jpg"));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write(EarlierFile);
        earlier.close();
        QVERIFY(transfer(address(SmallPicture), path, m_fast).ok());
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == m_standin.pictureBytes(SmallPicture));
        QCOMPARE(filesIn(dir.path()).size(), 1);
    }

    void failuresLeaveTheFinalNameAlone_data()
    {
        QTest::addColumn<FaultRule>("fault");
        QTest::addColumn<TransferOutcome>("outcome");
        QTest::addColumn<int>("attempts");
        const QString p = MediumPicture;
        QTest::newRow("500 every time") << FaultRule::httpStatus(p, 500) << TransferOutcome::HttpStatus << 3;
        QTest::newRow("404") << FaultRule::httpStatus(p, 404) << TransferOutcome::HttpStatus << 1;
        QTest::newRow("403") << FaultRule::httpStatus(p, 403) << TransferOutcome::HttpStatus << 1;
        QTest::newRow("body cut off halfway")
            << FaultRule::make(p, FaultKind::CutBody) << TransferOutcome::Truncated << 3;
        QTest::newRow("empty body") << FaultRule::make(p, FaultKind::EmptyBody) << TransferOutcome::EmptyBody
                                    << 1;
        QTest::newRow("html page as picture")
            << FaultRule::make(p, FaultKind::HtmlAsPicture) << TransferOutcome::NotAPicture << 1;
        QTest::newRow("stall after headers")
            << FaultRule::make(p, FaultKind::StallAfterHeaders) << TransferOutcome::TimedOut << 3;
        QTest::newRow("stall before answer")
            << FaultRule::make(p, FaultKind::StallBeforeAnswer) << TransferOutcome::TimedOut << 3;
        QTest::newRow("connection closed")
            << FaultRule::make(p, FaultKind::Close) << TransferOutcome::ConnectionFailed << 3;
    }
    void failuresLeaveTheFinalNameAlone()
    {
        QFETCH(FaultRule, fault);
        QFETCH(TransferOutcome, outcome);
        QFETCH(int, attempts);
        m_standin.knobs().addFault(fault);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("7.abc.jpg"));
        QFile earlier(path);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write(EarlierFile);
        earlier.close();
        const QDateTime earlierTime = QFileInfo(path).lastModified();

        const TransferResult result = transfer(address(MediumPicture), path, m_fast);
        QCOMPARE(TransferOutcomeName(result.outcome), TransferOutcomeName(outcome));
        QCOMPARE(result.attempts, attempts);
        // The network stack itself resends a request once when the connection closes
        // before any answer, so a closed connection may be asked for more often.
        if (fault.kind == FaultKind::Close)
            QVERIFY(m_standin.knobs().requestCount(MediumPicture) >= attempts);
        else
            QCOMPARE(m_standin.knobs().requestCount(MediumPicture), attempts);
        QCOMPARE(filesIn(dir.path()), QStringList {QStringLiteral("7.abc.jpg")});
        QFile after(path);
        QVERIFY(after.open(QIODevice::ReadOnly));
        QCOMPARE(after.readAll(), EarlierFile);
        QCOMPARE(QFileInfo(path).lastModified(), earlierTime);
    }

    void transientFailuresAreTriedAgain_data()
    {
        QTest::addColumn<FaultRule>("fault");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<int>("minimumMs");
        const QString p = SmallPicture;
        QTest::newRow("503 once") << FaultRule::httpStatus(p, 503, 1) << 2 << 0;
        QTest::newRow("500 twice") << FaultRule::httpStatus(p, 500, 2) << 3 << 0;
        QTest::newRow("cut off once") << FaultRule::make(p, FaultKind::CutBody, 1) << 2 << 0;
        // Resent by the network stack or by the transfer: either way it is saved.
        QTest::newRow("closed twice") << FaultRule::make(p, FaultKind::Close, 2) << -1 << 0;
        QTest::newRow("stalled once") << FaultRule::make(p, FaultKind::StallAfterHeaders, 1) << 2 << 0;
        QTest::newRow("429 with Retry-After 1 s") << FaultRule::httpStatus(p, 429, 1, 1) << 2 << 900;
    }
    void transientFailuresAreTriedAgain()
    {
        QFETCH(FaultRule, fault);
        QFETCH(int, attempts);
        QFETCH(int, minimumMs);
        m_standin.knobs().addFault(fault);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.jpg"));
        QElapsedTimer clock;
        clock.start();
        const TransferResult result = transfer(address(SmallPicture), path, m_fast);
        QVERIFY2(result.ok(), qPrintable(TransferOutcomeName(result.outcome)));
        if (attempts > 0)
            QCOMPARE(result.attempts, attempts);
        QVERIFY(clock.elapsed() >= minimumMs);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == m_standin.pictureBytes(SmallPicture));
        QCOMPARE(filesIn(dir.path()).size(), 1);
    }

    void aLongRetryAfterIsWaitedOnlyUpToTheBound()
    {
        m_standin.knobs().addFault(FaultRule::httpStatus(SmallPicture, 429, 1, 3600));
        QTemporaryDir dir;
        PictureTransfer::Options options = m_fast;
        options.maxRetryAfterMs = 200;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(transfer(address(SmallPicture), dir.filePath(QStringLiteral("p.jpg")), options).ok());
        QVERIFY(clock.elapsed() >= 190);
        QVERIFY(clock.elapsed() < 5000);
    }

    void aFileThatCannotBeWrittenFails_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder missing") << QStringLiteral("missing");
        QTest::newRow("folder is a file") << QStringLiteral("file");
        QTest::newRow("read-only folder") << QStringLiteral("readonly");
    }
    void aFileThatCannotBeWrittenFails()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString folder = dir.filePath(QStringLiteral("album"));
        if (kind == QLatin1String("file")) {
            QFile blocker(folder);
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else if (kind == QLatin1String("readonly")) {
            QVERIFY(QDir().mkpath(folder));
            QString error;
            QVERIFY2(MakeFolderReadOnly(folder, &error), qPrintable(error));
        }
        const TransferResult result
            = transfer(address(SmallPicture), folder + QStringLiteral("/1.x.jpg"), m_fast);
        QCOMPARE(TransferOutcomeName(result.outcome), TransferOutcomeName(TransferOutcome::WriteFailed));
        QCOMPARE(result.attempts, 1);
        if (kind == QLatin1String("readonly")) {
            QVERIFY(filesIn(folder).isEmpty());
            QVERIFY(MakeFolderWritableAgain(folder));
        }
        QCOMPARE(filesIn(dir.path()), kind == QLatin1String("file") ? QStringList {"album"} : QStringList());
    }

    void onlyWebAddressesAreFetched_data()
    {
        QTest::addColumn<QString>("address");
        QTest::newRow("empty") << QString();
        QTest::newRow("blank") << QStringLiteral("   ");
        QTest::newRow("no scheme") << QStringLiteral("photo/b/V1three/1.jpg");
        QTest::newRow("local file") << QStringLiteral("file:///etc/hostname");
        QTest::newRow("other scheme") << QStringLiteral("ftp://127.0.0.1/p.jpg");
    }
    void onlyWebAddressesAreFetched()
    {
        QFETCH(QString, address);
        QTemporaryDir dir;
        const TransferResult result = transfer(address, dir.filePath(QStringLiteral("p.jpg")), m_fast);
        QCOMPARE(TransferOutcomeName(result.outcome), TransferOutcomeName(TransferOutcome::BadAddress));
        QVERIFY(filesIn(dir.path()).isEmpty());
    }

    void cancelEndsSilentlyAndLeavesNothing()
    {
        m_standin.knobs().addFault(FaultRule::make(MediumPicture, FaultKind::StallAfterHeaders));
        QTemporaryDir dir;
        auto *t = new PictureTransfer(*m_nam, address(MediumPicture), dir.filePath(QStringLiteral("p.jpg")),
                                      PictureTransfer::Options(), this);
        QSignalSpy finished(t, &PictureTransfer::finished);
        QPointer<PictureTransfer> alive(t);
        t->start();
        QTRY_COMPARE(m_standin.knobs().requestCount(MediumPicture), 1);
        t->cancel();
        QTRY_VERIFY(alive.isNull());
        QTest::qWait(100);
        QCOMPARE(finished.count(), 0);
        QVERIFY(filesIn(dir.path()).isEmpty());
    }

    // The placeholder GIF (100 x 100) in place of a picture listed far larger is not
    // saved and the earlier file stays; without a listed size it is a picture like any
    // other.
    void placeholderIsNotSaved_data()
    {
        QTest::addColumn<QSize>("listed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("listed 640 x 480") << QSize(640, 480) << false;
        QTest::newRow("no listed size") << QSize() << true;
    }
    void placeholderIsNotSaved()
    {
        QFETCH(QSize, listed);
        QFETCH(bool, saved);
        m_standin.knobs().addFault(FaultRule::make(MediumPicture, FaultKind::Placeholder));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("2.abc.jpg"));
        QVERIFY(WriteFile(path, EarlierFile));
        PictureTransfer::Options options = m_fast;
        options.listedSize = listed;
        const TransferResult result = transfer(address(MediumPicture), path, options);
        QCOMPARE(TransferOutcomeName(result.outcome),
                 TransferOutcomeName(saved ? TransferOutcome::Saved : TransferOutcome::Placeholder));
        QCOMPARE(result.attempts, 1);
        QCOMPARE(result.turnedAway(), !saved);
        QCOMPARE(filesIn(dir.path()), QStringList {QStringLiteral("2.abc.jpg")});
        QCOMPARE(ContentOf(path), saved ? m_standin.knobs().placeholderBytes() : EarlierFile);
    }

    // For an owner that paces its own retries: a busy answer comes back at once with
    // its Retry-After; other transient failures are still tried again here.
    void busyAnswersHandedBack_data()
    {
        QTest::addColumn<FaultRule>("fault");
        QTest::addColumn<bool>("turnedAway");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<int>("retryAfterMs");
        const QString p = SmallPicture;
        QTest::newRow("429 with Retry-After") << FaultRule::httpStatus(p, 429, 1, 2) << true << 1 << 2000;
        QTest::newRow("503") << FaultRule::httpStatus(p, 503, 1) << true << 1 << -1;
        QTest::newRow("cut off once") << FaultRule::make(p, FaultKind::CutBody, 1) << false << 2 << -1;
    }
    void busyAnswersHandedBack()
    {
        QFETCH(FaultRule, fault);
        QFETCH(bool, turnedAway);
        QFETCH(int, attempts);
        QFETCH(int, retryAfterMs);
        m_standin.knobs().addFault(fault);
        QTemporaryDir dir;
        PictureTransfer::Options options = m_fast;
        options.handBackBusy = true;
        const TransferResult result
            = transfer(address(SmallPicture), dir.filePath(QStringLiteral("p.jpg")), options);
        QCOMPARE(result.turnedAway(), turnedAway);
        QCOMPARE(result.ok(), !turnedAway);
        QCOMPARE(result.attempts, attempts);
        QCOMPARE(result.retryAfterMs, retryAfterMs);
        QCOMPARE(m_standin.knobs().requestCount(SmallPicture), attempts);
    }

    // The https address cannot be reached: its plain fallback is asked once, carrying
    // the photo key and no other cookie of the jar.
    void plainFallbackCarriesOnlyThePhotoKey_data()
    {
        QTest::addColumn<QString>("secure");
        QTest::newRow("connection refused") << QStringLiteral("https://127.0.0.1:1") + SmallPicture;
        QTest::newRow("no TLS server there")
            << QUrl(m_standin.root()).toString().replace("http:", "https:") + SmallPicture;
    }
    void plainFallbackCarriesOnlyThePhotoKey()
    {
        QFETCH(QString, secure);
        const standin::SignIn signIn = m_standin.knobs().signIn(QString::fromLatin1(standin::MainUin));
        const QString host = QUrl(m_standin.root()).host();
        QList<QNetworkCookie> cookies = signIn.cookies;
        cookies << QNetworkCookie("qq_photo_key", "k3y");
        for (QNetworkCookie cookie : cookies) {
            cookie.setDomain(host);
            cookie.setPath(QStringLiteral("/"));
            m_nam->cookieJar()->insertCookie(cookie);
        }
        PictureAddress where;
        where.url = QUrl(secure);
        where.plainFallback = QUrl(address(SmallPicture));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.jpg"));
        bool done = false;
        TransferResult result;
        auto *t = new PictureTransfer(*m_nam, where, path, m_fast, this);
        connect(t, &PictureTransfer::finished, this, [&](const TransferResult &r) {
            result = r;
            done = true;
        });
        t->start();
        QTRY_VERIFY_WITH_TIMEOUT(done, 20000);
        QVERIFY2(result.ok(), qPrintable(TransferOutcomeName(result.outcome)));
        const QList<standin::LoggedRequest> sent = m_standin.knobs().requestsTo(SmallPicture);
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.first().cookieNames, QStringList {QStringLiteral("qq_photo_key")});
        QCOMPARE(sent.first().header("Cookie"), QByteArray("qq_photo_key=k3y"));
        QVERIFY(ContentOf(path) == m_standin.pictureBytes(SmallPicture));
    }

    void carriesTheSignInCookies()
    {
        const standin::SignIn signIn = m_standin.knobs().signIn(QString::fromLatin1(standin::MainUin));
        const QUrl root(m_standin.root());
        for (QNetworkCookie cookie : signIn.cookies) {
            cookie.setDomain(root.host());
            m_nam->cookieJar()->insertCookie(cookie);
        }
        QTemporaryDir dir;
        QVERIFY(transfer(address(SmallPicture), dir.filePath(QStringLiteral("p.jpg")), m_fast).ok());
        const QList<standin::LoggedRequest> sent = m_standin.knobs().requestsTo(SmallPicture);
        QCOMPARE(sent.size(), 1);
        QVERIFY2(sent.first().cookieNames.contains(QStringLiteral("skey")),
                 qPrintable(sent.first().cookieNames.join(',')));
    }

    void followsRedirects()
    {
        // The stand-in's sign-in answers with a redirect to the address it is given.
        const QUrl redirecting = UrlWithQuery(m_standin.root() + QStringLiteral("/cgi-bin/login"),
                                              {{QStringLiteral("u"), QString::fromLatin1(standin::MainUin)},
                                               {QStringLiteral("p"), QStringLiteral("secret")},
                                               {QStringLiteral("s_url"), address(SmallPicture)}});
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("p.jpg"));
        QVERIFY(transfer(redirecting.toString(QUrl::FullyEncoded), path, m_fast).ok());
        QCOMPARE(m_standin.knobs().requestCount(SmallPicture), 1);
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll() == m_standin.pictureBytes(SmallPicture));
    }

    void severalTransfersRunAtOnce()
    {
        QTemporaryDir dir;
        const QStringList paths
            = {QStringLiteral("/photo/b/V1three/1.jpg"), QStringLiteral("/photo/b/V1three/2.jpg"),
               QStringLiteral("/photo/b/V1three/3.jpg"), QStringLiteral("/photo/b/V1large/1.jpg")};
        m_standin.knobs().setLatencyMs(100);
        int done = 0;
        QList<TransferResult> results;
        for (int i = 0; i < paths.size(); ++i) {
            DownloadPictureFile(
                *m_nam, address(paths.at(i)), dir.filePath(QString::number(i) + ".jpg"), this,
                [&](const TransferResult &r) {
                    results << r;
                    ++done;
                },
                m_fast);
        }
        QTRY_COMPARE_WITH_TIMEOUT(done, paths.size(), 30000);
        m_standin.knobs().setLatencyMs(0);
        for (int i = 0; i < paths.size(); ++i) {
            QFile saved(dir.filePath(QString::number(i) + ".jpg"));
            QVERIFY(saved.open(QIODevice::ReadOnly));
            QVERIFY2(saved.readAll() == m_standin.pictureBytes(paths.at(i)), qPrintable(paths.at(i)));
        }
        QCOMPARE(filesIn(dir.path()).size(), paths.size());
    }

    // The body goes to disk piece by piece: a picture far larger than the read buffer
    // does not raise the peak memory of the process by anything like its size.
    void aLargePictureIsStreamed()
    {
        constexpr qint64 size = 96LL * 1024 * 1024;
        const QString path
            = QStringLiteral("/photo/sized/7/") + QString::number(size) + QStringLiteral(".jpg");
        QTemporaryDir dir;
        const qint64 before = peakResidentKib();
        const TransferResult result = transfer(address(path), dir.filePath(QStringLiteral("big.jpg")),
                                               PictureTransfer::Options(), 120000);
        const qint64 after = peakResidentKib();
        QVERIFY2(result.ok(), qPrintable(TransferOutcomeName(result.outcome)));
        QCOMPARE(QFileInfo(dir.filePath(QStringLiteral("big.jpg"))).size(), size);
        qInfo("peak resident memory %lld KiB before, %lld KiB after a %lld MiB picture", before, after,
              size / (1024 * 1024));
#ifndef __SANITIZE_ADDRESS__ // the sanitizer keeps freed memory in quarantine
        if (before > 0)
            QVERIFY2(after - before < 40 * 1024, "the picture was held in memory");
#endif
    }
};

int main(int argc, char **argv)
{
    EnterPrivateMounts(); // before any thread starts
    QCoreApplication app(argc, argv);
    TestPictureTransfer test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "TestPictureTransfer.moc"
