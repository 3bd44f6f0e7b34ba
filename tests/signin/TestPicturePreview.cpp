#include "FinishedReplies.h"
#include "ScriptedPrompts.h"
#include "app/AlbivexApp.h"
#include "network/PictureLoader.h"
#include "standin/StandinData.h"
#include "standin/StandinThread.h"
#include "window/MainWindow.h"

#include <QLabel>
#include <QNetworkCookieJar>
#include <QtTest>

#include <memory>

using namespace albivex;
using namespace albivex::standin;

namespace {

const QString JpegCover = QStringLiteral("/photo/a/V1three/cover.jpg");
const QString PngCover = QStringLiteral("/photo/a/V1png/cover.png");
const QString JpegPicture = QStringLiteral("/photo/b/V1three/1.jpg");

} // namespace

class TestPicturePreview : public QObject
{
    Q_OBJECT
private:
    StandinThread m_standin;
    ScriptedPrompts m_prompts;
    std::unique_ptr<AlbivexApp> m_app;

    QLabel *box() { return m_app->window().previewLabel; }
    QString address(const QString &path) const { return m_standin.root() + path; }
    void show(const QString &path) { Q_EMIT m_app->previewRequested(address(path)); }
    // The box as it must look for the stand-in's picture at `path`.
    QImage expected(const QString &path)
    {
        return StretchOnWhite(DecodePicture(m_standin.knobs().pictureBytes(path)), QSize(75, 75));
    }
    QImage shown() { return box()->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_standin.start()); }
    void init()
    {
        m_standin.knobs().clearFaults();
        m_standin.knobs().clearRequests();
        m_app = std::make_unique<AlbivexApp>(Endpoints(m_standin.root()), &m_prompts, &m_prompts, &m_prompts);
        m_app->start();
    }
    void cleanup() { m_app.reset(); }

    void showsJpegAndPng_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("jpeg cover") << JpegCover;
        QTest::newRow("png cover") << PngCover;
        QTest::newRow("jpeg picture") << JpegPicture;
    }
    void showsJpegAndPng()
    {
        QFETCH(QString, path);
        const QImage picture = expected(path);
        QVERIFY(!picture.isNull());
        QCOMPARE(box()->size(), QSize(75, 75));
        show(path);
        QTRY_COMPARE(shown(), picture);
    }

    void brokenAddressLeavesTheBoxEmpty_data()
    {
        QTest::addColumn<QString>("broken");
        QTest::newRow("not found page") << address(QStringLiteral("/photo/b/V1three/999.jpg"));
        QTest::newRow("refused connection") << QStringLiteral("http://127.0.0.1:1/x.jpg");
        QTest::newRow("not an address") << QStringLiteral("no picture here");
    }
    void brokenAddressLeavesTheBoxEmpty()
    {
        QFETCH(QString, broken);
        show(PngCover);
        QTRY_COMPARE(shown(), expected(PngCover));
        Q_EMIT m_app->previewRequested(broken);
        QTRY_VERIFY(box()->pixmap().isNull());
    }

    void latestOfQuickPreviewsWins()
    {
        // The first answer comes late; it must not replace the second picture.
        m_standin.knobs().addFault(FaultRule::latency(JpegCover, 800, 1));
        FinishedReplies finished(m_app->network());
        show(JpegCover);
        show(PngCover);
        QTRY_COMPARE(shown(), expected(PngCover));
        // Once the late request is over, given up or answered, nothing more can come of it.
        QTRY_COMPARE(finished.count(JpegCover), 1);
        QCOMPARE(shown(), expected(PngCover));
    }

    void previewCarriesTheCookies()
    {
        const SignIn signIn = m_standin.knobs().signIn(QString::fromLatin1(MainUin));
        m_app->network().cookieJar()->setCookiesFromUrl(signIn.cookies, QUrl(address(QStringLiteral("/"))));
        show(JpegPicture);
        QTRY_VERIFY(!box()->pixmap().isNull());
        const QList<LoggedRequest> requests = m_standin.knobs().requestsTo(JpegPicture);
        QCOMPARE(requests.size(), 1);
        QVERIFY(requests.first().cookieNames.contains(QStringLiteral("skey")));
    }
};

QTEST_MAIN(TestPicturePreview)
#include "TestPicturePreview.moc"
