// The offline album in the real browser engine, loaded from file:// with every request
// that is not for a local file refused and counted: nothing leaves, every thumbnail of a
// readable picture loads (names holding '#' and '%' too), the texts are album.json's,
// moods.json's and board.json's, and text that looks like markup stays text.

#include "GalleryFixture.h"
#include "gallery/GalleryBuild.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>
#include <QtTest>

#include <memory>

using namespace albivex;
using namespace galleryfixture;

namespace {

class OfflineOnly : public QWebEngineUrlRequestInterceptor
{
public:
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (info.requestUrl().scheme() != QLatin1String("file")) {
            refused << info.requestUrl();
            info.block(true);
        }
    }
    QList<QUrl> refused;
};

} // namespace

class TestGalleryBrowser : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_space;
    OfflineOnly m_interceptor;
    std::unique_ptr<QWebEngineProfile> m_profile;
    std::unique_ptr<QWebEnginePage> m_page;

    QVariant run(const QString &script)
    {
        QVariant result;
        bool done = false;
        m_page->runJavaScript(script, [&](const QVariant &value) {
            result = value;
            done = true;
        });
        return QTest::qWaitFor([&] { return done; }, 10000) ? result : QVariant();
    }
    // Loads the page and waits until its pictures have loaded or failed.
    bool load(const QString &path)
    {
        QSignalSpy loaded(m_page.get(), &QWebEnginePage::loadFinished);
        m_page->load(QUrl::fromLocalFile(path));
        if (!loaded.wait(20000) || !loaded.first().first().toBool())
            return false;
        return QTest::qWaitFor(
            [&] {
                return run(QStringLiteral("Array.from(document.images).every(i => i.complete)")).toBool();
            },
            10000);
    }
    QStringList texts(const char *script) { return run(QString::fromLatin1(script)).toStringList(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_space = m_dir.filePath(QStringLiteral("123456789"));
        QVERIFY(writeSpace(m_space));
        const std::atomic_bool stop = false;
        QCOMPARE(BuildGallery(m_space, stop).albums, 2);
        m_profile = std::make_unique<QWebEngineProfile>(); // off the record
        m_profile->setUrlRequestInterceptor(&m_interceptor);
        m_page = std::make_unique<QWebEnginePage>(m_profile.get());
    }
    void cleanupTestCase()
    {
        m_page.reset();
        m_profile.reset();
    }

    void albumPage()
    {
        QVERIFY(load(m_space + QLatin1Char('/') + AlbumFolder + QStringLiteral("/index.html")));
        QCOMPARE(m_interceptor.refused, QList<QUrl>());
        // No text ran: the title is the album's and no global was set.
        QCOMPARE(run(QStringLiteral("document.title")).toString(), QStringLiteral("春游 #1 <b>"));
        QCOMPARE(run(QStringLiteral("typeof window.pwned")).toString(), QStringLiteral("undefined"));

        const AlbumDocument album = LoadAlbumDocument(m_space + QLatin1Char('/') + AlbumFolder).document;
        QStringList names;
        QStringList captions;
        for (const AlbumDocumentPicture &picture : album.pictures.mid(0, 4)) { // the fifth is gone
            names << picture.name;
            captions << picture.caption;
        }
        QCOMPARE(texts("Array.from(document.querySelectorAll('figure.tile')).map(f => "
                       "f.querySelector('.name').textContent)"),
                 names);
        QCOMPARE(texts("Array.from(document.querySelectorAll('figure.tile')).map(f => "
                       "(f.querySelector('.caption') || {textContent: ''}).textContent)"),
                 captions);
        QCOMPARE(
            texts("Array.from(document.querySelectorAll('figure.tile a')).map(a => a.href.split('/').pop())"),
            QStringList({QStringLiteral("a%23b%25c%20%3Fd.jpg"), QStringLiteral("%E5%AE%BD.png"),
                         QStringLiteral("iphone.heic"), QStringLiteral("clip%20%232.mp4")}));
        // Both readable pictures have a thumbnail that loaded; the others have none.
        QCOMPARE(
            texts("Array.from(document.images).map(i => decodeURIComponent(i.src.split('/').pop()) + ' ' + "
                  "(i.naturalWidth > 0))"),
            QStringList({OddFile + QStringLiteral(".jpg true"), QStringLiteral("宽.png.jpg true")}));
        QCOMPARE(run(QStringLiteral("document.querySelectorAll('video[controls]').length")).toInt(), 1);
    }

    void spacePage()
    {
        QVERIFY(load(m_space + QStringLiteral("/index.html")));
        QCOMPARE(m_interceptor.refused, QList<QUrl>());
        QCOMPARE(texts("Array.from(document.querySelectorAll('figure.album .name')).map(e => e.textContent)"),
                 QStringList({QStringLiteral("手机%相册"), QStringLiteral("春游 #1 <b>")}));
        QCOMPARE(texts("Array.from(document.querySelectorAll('.description')).map(e => e.textContent)"),
                 QStringList {QStringLiteral("第一天\n第二天 & more")});
        QCOMPARE(texts("Array.from(document.images).map(i => i.naturalWidth > 0 ? 'loaded' : i.src)"),
                 QStringList({QStringLiteral("loaded"), QStringLiteral("loaded"),
                              QStringLiteral("loaded")})); // posts', board's and album's
        // A card leads to its album's page.
        QSignalSpy loaded(m_page.get(), &QWebEnginePage::loadFinished);
        run(QStringLiteral("document.querySelectorAll('figure.album a.name')[1].click()"));
        QVERIFY(loaded.wait(20000));
        QCOMPARE(
            m_page->url(),
            QUrl::fromLocalFile(m_space + QLatin1Char('/') + AlbumFolder + QStringLiteral("/index.html")));
        // The posts' card leads to their first page.
        QVERIFY(load(m_space + QStringLiteral("/index.html")));
        run(QStringLiteral("document.querySelector('figure.moods a.name').click()"));
        QVERIFY(loaded.wait(20000));
        QCOMPARE(m_page->url().toLocalFile(), m_space + QLatin1Char('/') + MoodsFolder + "/moods.html");
    }

    void moodPage()
    {
        const QString folder = m_space + QLatin1Char('/') + MoodsFolder;
        QVERIFY(load(folder + QStringLiteral("/moods.html")));
        QCOMPARE(m_interceptor.refused, QList<QUrl>());
        QCOMPARE(run(QStringLiteral("document.title")).toString(), QStringLiteral("说说"));
        QCOMPARE(run(QStringLiteral("typeof window.pwned")).toString(), QStringLiteral("undefined"));
        QCOMPARE(run(QStringLiteral("document.querySelectorAll('article.mood').length")).toInt(), 200);
        // The newest post's texts as moods.json has them, the comment's and reply's too.
        QCOMPARE(texts("Array.from(document.querySelector('article.mood').querySelectorAll('.body'))"
                       ".map(e => e.textContent)"),
                 QStringList({MoodText, QStringLiteral("转发的 <i>原文</i>"),
                              QStringLiteral("好看 [em]e120[/em]"), QStringLiteral("谢谢 & 再见")}));
        QCOMPARE(run(QStringLiteral("document.querySelector('.repost .who').textContent")).toString(),
                 HostileName);
        // Both pictures' thumbnails loaded; the video is the post's.
        QCOMPARE(
            texts("Array.from(document.images).map(i => decodeURIComponent(i.src.split('/').pop()) + ' ' + "
                  "(i.naturalWidth > 0))"),
            QStringList(
                {MoodPicture + QStringLiteral(".jpg true"), CommentPicture + QStringLiteral(".jpg true")}));
        QCOMPARE(run(QStringLiteral("document.querySelectorAll('video[controls]').length")).toInt(), 1);
        // A thumbnail opens its picture.
        QSignalSpy loaded(m_page.get(), &QWebEnginePage::loadFinished);
        run(QStringLiteral("document.querySelector('a.thumb').click()"));
        QVERIFY(loaded.wait(20000));
        QCOMPARE(m_page->url().toLocalFile(), folder + QLatin1Char('/') + MoodPicture);
        QCOMPARE(m_interceptor.refused, QList<QUrl>());
    }

    void boardPage()
    {
        const QString folder = m_space + QLatin1Char('/') + BoardFolder;
        QVERIFY(load(folder + QStringLiteral("/board.html")));
        QCOMPARE(m_interceptor.refused, QList<QUrl>());
        QCOMPARE(run(QStringLiteral("document.title")).toString(), QStringLiteral("留言板"));
        QCOMPARE(run(QStringLiteral("typeof window.pwned")).toString(), QStringLiteral("undefined"));
        QCOMPARE(run(QStringLiteral("document.querySelectorAll('article.message').length")).toInt(), 200);
        // The newest message's writer and texts as board.json has them, its reply's too.
        QCOMPARE(run(QStringLiteral("document.querySelector('article.message .who').textContent")).toString(),
                 HostileName);
        QCOMPARE(texts("Array.from(document.querySelector('article.message').querySelectorAll('.body'))"
                       ".map(e => e.textContent)"),
                 QStringList({MoodText, QStringLiteral("谢谢 & 再见")}));
        QCOMPARE(
            texts("Array.from(document.images).map(i => decodeURIComponent(i.src.split('/').pop()) + ' ' + "
                  "(i.naturalWidth > 0))"),
            QStringList({BoardPicture + QStringLiteral(".jpg true")}));
        // A thumbnail opens its picture.
        QSignalSpy loaded(m_page.get(), &QWebEnginePage::loadFinished);
        run(QStringLiteral("document.querySelector('a.thumb').click()"));
        QVERIFY(loaded.wait(20000));
        QCOMPARE(m_page->url().toLocalFile(), folder + QLatin1Char('/') + BoardPicture);
        QCOMPARE(m_interceptor.refused, QList<QUrl>());
    }
};

QTEST_MAIN(TestGalleryBrowser)
#include "TestGalleryBrowser.moc"
