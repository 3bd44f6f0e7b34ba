// Transfer faults end to end: the whole tool in its window against the stand-in, real
// HTTP, real files. Every case breaks the second picture of the three-picture album
// and downloads the whole album with each download command; the other two pictures
// must be saved whole, the broken one saved only when a retry brought it whole, and
// the files, the marks and the log lines must agree with what happened.

#include "FaultWindow.h"
#include "session/WindowState.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "window/MainWindow.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace albivex;
namespace sd = albivex::standin;
using sd::FaultKind;
using sd::FaultRule;

Q_DECLARE_METATYPE(DownloadCommand)

namespace {

const QString Album = QString::fromLatin1(sd::SmallAlbum.id);
const QString AlbumName = QString::fromUtf8(sd::SmallAlbum.name);
const QStringList Names = {QStringLiteral("小猫"), QStringLiteral("小狗"), QStringLiteral("小鸟")};
const int Broken = 2; // the picture every case breaks
const QString BrokenPath = PicturePath(Album, Broken);

// Attempts of one picture: the first and two retries (the tool's default).
constexpr int Attempts = 3;

} // namespace

class TestTransferFaults : public QObject
{
    Q_OBJECT

    sd::StandinThread m_standin;
    std::unique_ptr<QTemporaryDir> m_save;
    std::unique_ptr<FaultWindow> m_window;

    QString folder() const { return MainAlbumFolder(m_save->path(), AlbumName); }

    // The files, marks and lines after a run in which picture `Broken` was saved or not.
    void checkOutcome(DownloadCommand command, bool brokenSaved)
    {
        QStringList expectedFiles;
        for (int n = 1; n <= 3; ++n) {
            if (n != Broken || brokenSaved)
                expectedFiles << QLatin1String(sd::MainUin) + QLatin1Char('/') + AlbumName + QLatin1Char('/')
                        + SequenceName(n, Names[n - 1]);
        }
        expectedFiles.sort();
        // Nothing else: no temporary file, no partial picture.
        QCOMPARE(AllFilesUnder(m_save->path()), expectedFiles);
        for (int n = 1; n <= 3; ++n) {
            const QString file = folder() + QLatin1Char('/') + SequenceName(n, Names[n - 1]);
            if (n != Broken || brokenSaved)
                QVERIFY2(ContentOf(file) == m_standin.pictureBytes(PicturePath(Album, n)), qPrintable(file));
        }

        const DownloadReport report = m_window->report();
        if (brokenSaved) {
            QCOMPARE(report.saved, Names);
            QCOMPARE(report.failed, QStringList());
        } else {
            QCOMPARE(report.saved, QStringList({Names[0], Names[2]}));
            QCOMPARE(report.failed, QStringList {Names[Broken - 1]});
        }
        const QStringList marks = m_window->marks(command, Album);
        if (command == DownloadCommand::SelectedPictures) {
            QCOMPARE(
                marks,
                QStringList({QStringLiteral("√"), brokenSaved ? QStringLiteral("√") : QStringLiteral("×"),
                             QStringLiteral("√")}));
            QCOMPARE(report.otherLines.last(), QStringLiteral("所选图片已完成下载.."));
        } else {
            QCOMPARE(marks, QStringList {brokenSaved ? QStringLiteral("√") : QStringLiteral("失败1张")});
            QVERIFY2(
                report.otherLines.contains(QLatin1Char('[') + AlbumName + QStringLiteral("]相册下载完成..")),
                qPrintable(report.otherLines.join(QLatin1Char('\n'))));
            QCOMPARE(report.otherLines.last(),
                     brokenSaved ? QStringLiteral("共保存3张，失败0张")
                                 : QStringLiteral("共保存2张，失败1张"));
        }
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<DownloadCommand>();
        QVERIFY(m_standin.start());
    }

    void init()
    {
        m_standin.knobs().clearFaults();
        m_standin.knobs().setLatencyMs(0);
        m_save = std::make_unique<QTemporaryDir>();
        m_window = std::make_unique<FaultWindow>(m_standin.root());
        QVERIFY(m_window->signInAndList(sd::MainUin));
        m_window->window().saveFolderEdit->setText(m_save->path());
        // Short waits: a stall is given up after 1.5 s, a retry follows 30 ms later
        // (doubled for the next), a Retry-After is honoured up to 30 s.
        PictureTransfer::Options &options = m_window->transferOptions();
        options.idleMs = 1500;
        options.retryPauseMs = 30;
        m_standin.knobs().clearRequests();
    }

    void cleanup()
    {
        m_window.reset();
        m_save.reset();
    }

    // A picture that never arrives whole is reported failed after its attempts and
    // leaves nothing behind; one that arrives whole is saved.
    void brokenTransfers_data()
    {
        QTest::addColumn<DownloadCommand>("command");
        QTest::addColumn<FaultRule>("fault");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("minRequests");
        QTest::addColumn<int>("maxRequests");

        FaultRule refused = FaultRule::redirect(BrokenPath, ClosedPortAddress(BrokenPath).toLatin1());
        for (DownloadCommand command : DownloadCommands) {
            const auto row = [&](const char *name) {
                return &(QTest::addRow("%s: %s", qPrintable(CommandName(command)), name) << command);
            };
            // The network layer may send a request once more by itself when its
            // connection is closed under it: up to twice the attempts reach the stand-in.
            *row("body cut off halfway, shorter than its Content-Length")
                << FaultRule::make(BrokenPath, FaultKind::CutBody) << false << Attempts << 2 * Attempts;
            *row("body cut off once, whole on the retry")
                << FaultRule::make(BrokenPath, FaultKind::CutBody, 1) << true << 2 << 2;
            *row("chunked body cut short")
                << FaultRule::make(BrokenPath, FaultKind::ChunkedCut) << false << Attempts << 2 * Attempts;
            // The announced length is the picture; what follows it is not read.
            *row("body longer than its Content-Length")
                << FaultRule::make(BrokenPath, FaultKind::LongBody) << true << 1 << 1;
            *row("0-byte body") << FaultRule::make(BrokenPath, FaultKind::EmptyBody) << false << 1 << 1;
            *row("HTML page served as a picture with 200")
                << FaultRule::make(BrokenPath, FaultKind::HtmlAsPicture) << false << 1 << 1;
            *row("stall after the headers")
                << FaultRule::make(BrokenPath, FaultKind::StallAfterHeaders) << false << Attempts << Attempts;
            *row("connection refused at the picture's address")
                << refused << false << Attempts << 2 * Attempts;
            *row("connection closed without an answer")
                << FaultRule::make(BrokenPath, FaultKind::Close) << false << Attempts << 2 * Attempts;
        }
    }
    void brokenTransfers()
    {
        QFETCH(DownloadCommand, command);
        QFETCH(FaultRule, fault);
        QFETCH(bool, saved);
        QFETCH(int, minRequests);
        QFETCH(int, maxRequests);
        m_standin.knobs().addFault(fault);
        QVERIFY(m_window->download(command, Album));
        checkOutcome(command, saved);
        const int requests = m_standin.knobs().requestCount(BrokenPath);
        QVERIFY2(requests >= minRequests && requests <= maxRequests, qPrintable(QString::number(requests)));
    }

    // Transient statuses are tried again and the picture saved when a retry gets it;
    // a Retry-After is waited for, up to the tool's bound; 403 and 404 are final.
    void statusAnswers_data()
    {
        QTest::addColumn<DownloadCommand>("command");
        QTest::addColumn<FaultRule>("fault");
        QTest::addColumn<int>("maxRetryAfterMs");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("requests");
        QTest::addColumn<int>("minMs");
        QTest::addColumn<int>("maxMs");

        for (DownloadCommand command : DownloadCommands) {
            const auto row = [&](const char *name) {
                return &(QTest::addRow("%s: %s", qPrintable(CommandName(command)), name) << command);
            };
            for (int status : {500, 502, 503, 429}) {
                // Two failures, saved on the last attempt.
                *row(qPrintable(QStringLiteral("%1 twice").arg(status)))
                    << FaultRule::httpStatus(BrokenPath, status, 2) << 30000 << true << 3 << 0 << 10000;
            }
            *row("503 three times") << FaultRule::httpStatus(BrokenPath, 503) << 30000 << false << Attempts
                                    << 0 << 10000;
            *row("429 with Retry-After: 1, honoured")
                << FaultRule::httpStatus(BrokenPath, 429, 1, 1) << 30000 << true << 2 << 950 << 10000;
            *row("503 with Retry-After: 3600, waited for up to the bound")
                << FaultRule::httpStatus(BrokenPath, 503, 1, 3600) << 700 << true << 2 << 650 << 10000;
            *row("403") << FaultRule::httpStatus(BrokenPath, 403) << 30000 << false << 1 << 0 << 10000;
            *row("404") << FaultRule::httpStatus(BrokenPath, 404) << 30000 << false << 1 << 0 << 10000;
        }
    }
    void statusAnswers()
    {
        QFETCH(DownloadCommand, command);
        QFETCH(FaultRule, fault);
        QFETCH(int, maxRetryAfterMs);
        QFETCH(bool, saved);
        QFETCH(int, requests);
        QFETCH(int, minMs);
        QFETCH(int, maxMs);
        m_window->transferOptions().maxRetryAfterMs = maxRetryAfterMs;
        m_standin.knobs().addFault(fault);
        QVERIFY(m_window->startDownload(command, Album));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(m_window->waitForDownloadEnd(command));
        const qint64 elapsed = clock.elapsed();
        checkOutcome(command, saved);
        QCOMPARE(m_standin.knobs().requestCount(BrokenPath), requests);
        QVERIFY2(elapsed >= minMs && elapsed <= maxMs, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
    }
};

QTEST_MAIN(TestTransferFaults)
#include "TestTransferFaults.moc"
