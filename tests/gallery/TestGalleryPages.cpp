// The offline album as built on disk from album.json files: what the pages say and
// link to, and when thumbnails are made. The pages in a browser engine are checked
// in TestGalleryBrowser.

#include "GalleryFixture.h"
#include "gallery/GalleryJob.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;
using namespace galleryfixture;

Q_DECLARE_METATYPE(albivex::GalleryBuildResult)

namespace {

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestGalleryPages : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_space;

    // Builds through the job, as the window has it done, and waits for its end.
    GalleryBuildResult build()
    {
        GalleryJob job;
        GalleryBuildResult result;
        connect(&job, &GalleryJob::finished, this, [&](const GalleryBuildResult &r) { result = r; });
        QSignalSpy finished(&job, &GalleryJob::finished);
        job.start(m_space);
        finished.wait(30000);
        return result;
    }
    QString thumb(const QString &file)
    {
        return m_space + QLatin1Char('/') + AlbumFolder + "/.thumbs/" + file + ".jpg";
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_space = m_dir.filePath(QStringLiteral("123456789"));
        QVERIFY(writeSpace(m_space));
        const GalleryBuildResult first = build();
        QCOMPARE(first.albums, 2);
        QCOMPARE(first.pictures, 5); // the gone picture is left out
        QCOMPARE(first.thumbnailsMade, 2);
        QCOMPARE(first.undecodable, 2);
        QVERIFY(first.errors.isEmpty());
    }

    void pages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("present");
        const QString album = QStringLiteral("春游 #1/index.html");
        const QString space = QStringLiteral("index.html");
        QTest::newRow("charset") << album << "<meta charset=\"utf-8\">" << true;
        QTest::newRow("caption escaped")
            << album << "&lt;script&gt;document.title=&#39;pwned&#39;;window.pwned=1&lt;/script&gt;" << true;
        QTest::newRow("no script element") << album << "<script" << false;
        QTest::newRow("name escaped in an attribute")
            << album << "alt=\"&quot;&gt;&lt;img src=x onerror=&quot;window.pwned=2&quot;&gt;&#39;\"" << true;
        QTest::newRow("album name escaped") << album << "<h1>春游 #1 &lt;b&gt;</h1>" << true;
        QTest::newRow("picture link encoded") << album << "href=\"a%23b%25c%20%3Fd.jpg\"" << true;
        QTest::newRow("thumbnail encoded") << album << "src=\".thumbs/a%23b%25c%20%3Fd.jpg.jpg\"" << true;
        QTest::newRow("shooting time and place") << album << "拍摄于 2016-03-31 09:30 · 杭州市西湖区" << true;
        QTest::newRow("undecodable tile")
            << album << "<a class=\"frame plain\" href=\"iphone.heic\">iphone.heic<br>" << true;
        QTest::newRow("video plays in the page")
            << album << "<video controls preload=\"metadata\" src=\"clip%20%232.mp4\"></video>" << true;
        QTest::newRow("gone file left out") << album << "gone.jpg" << false;
        QTest::newRow("album: no remote address") << album << "//" << false;
        QTest::newRow("back to the space") << album << "href=\"../index.html\"" << true;
        QTest::newRow("album card")
            << space
            << "href=\"%E6%98%A5%E6%B8%B8%20%231/index.html\"><img src=\"%E6%98%A5%E6%B8%B8%20%231/"
               ".thumbs/a%23b%25c%20%3Fd.jpg.jpg\""
            << true;
        QTest::newRow("coverless card")
            << space << "href=\"%E6%89%8B%E6%9C%BA%25%E7%9B%B8%E5%86%8C/index.html\"><span class=\"plain\">"
            << true;
        QTest::newRow("description escaped") << space << "第一天\n第二天 &amp; more" << true;
        QTest::newRow("saved of listed") << space << "已保存 4 张，共 6 张" << true;
        QTest::newRow("folder without album.json") << space << "旧的" << false;
        QTest::newRow("space: no remote address") << space << "//" << false;
    }

    void pages()
    {
        QFETCH(QString, page);
        QFETCH(QString, text);
        QFETCH(bool, present);
        const QString html = readText(m_space + QLatin1Char('/') + page);
        QVERIFY(!html.isEmpty());
        QCOMPARE(html.contains(text), present);
    }

    void newestAlbumFirst()
    {
        const QString html = readText(m_space + QStringLiteral("/index.html"));
        const qsizetype newer = html.indexOf(QStringLiteral("手机%相册"));
        QVERIFY(newer >= 0);
        QVERIFY(newer < html.indexOf(QStringLiteral("春游")));
    }

    void thumbnailsMadeOnlyWhenThePictureChanged()
    {
        QCOMPARE(QImageReader(thumb(OddFile)).size(), QSize(320, 240));
        QCOMPARE(QImageReader(thumb(QStringLiteral("宽.png"))).size(), QSize(320, 32));
        const QDateTime made = QFileInfo(thumb(OddFile)).lastModified();

        GalleryBuildResult again = build();
        QCOMPARE(again.thumbnailsMade, 0);
        QCOMPARE(again.thumbnailsKept, 2);
        QCOMPARE(QFileInfo(thumb(OddFile)).lastModified(), made);

        // Saved again in other bytes, with the same time (a picture's time is when it
        // was taken): made afresh.
        const QString picture = m_space + QLatin1Char('/') + AlbumFolder + QLatin1Char('/') + OddFile;
        const QDateTime taken = QFileInfo(picture).lastModified();
        QVERIFY(writeImage(picture, 300, 400, Qt::yellow, "JPEG"));
        QFile file(picture);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(taken, QFileDevice::FileModificationTime));
        file.close();
        again = build();
        QCOMPARE(again.thumbnailsMade, 1);
        QCOMPARE(again.thumbnailsKept, 1);
        QCOMPARE(QImageReader(thumb(OddFile)).size(), QSize(240, 320));
    }
};

QTEST_GUILESS_MAIN(TestGalleryPages)
#include "TestGalleryPages.moc"
