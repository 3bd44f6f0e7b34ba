// The offline album as built on disk from album.json, moods.json and board.json files: what the
// pages say and link to, how the posts are split into pages, and when thumbnails are
// made. The pages in a browser engine are checked
// in TestGalleryBrowser.

#include "GalleryFixture.h"
#include "gallery/GalleryBuild.h"
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
        // A page past the end, from a build when there were more posts.
        QVERIFY(writeBytes(m_space + QLatin1Char('/') + MoodsFolder + "/moods-3.html", "old"));
        const GalleryBuildResult first = build();
        QCOMPARE(first.albums, 2);
        QCOMPARE(first.pictures, 5); // the gone picture is left out
        QCOMPARE(first.thumbnailsMade, 5); // two of the albums', two of the posts', the board's
        QCOMPARE(first.undecodable, 2);
        QCOMPARE(first.moods, 201);
        QCOMPARE(first.moodPages, 2);
        QCOMPARE(first.boardMessages, 203);
        QCOMPARE(first.boardPages, 2);
        QVERIFY(first.errors.isEmpty());
    }

    void pages_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("present");
        const QString album = QStringLiteral("春游 #1/index.html");
        const QString space = QStringLiteral("index.html");
        const QString moods = MoodsFolder + QStringLiteral("/moods.html");
        const QString moods2 = MoodsFolder + QStringLiteral("/moods-2.html");
        const QString board = BoardFolder + QStringLiteral("/board.html");
        const QString board2 = BoardFolder + QStringLiteral("/board-2.html");
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
        QTest::newRow("posts card")
            << space
            << "href=\"%E8%AF%B4%E8%AF%B4%20%282%29/moods.html\"><img src=\"%E8%AF%B4%E8%AF%B4%20%282%29/"
               ".thumbs/m%231%20%25.jpg.jpg\""
            << true;
        QTest::newRow("posts counted") << space << "<div class=\"meta\">201 条</div>" << true;
        QTest::newRow("board card")
            << space
            << "href=\"%E7%95%99%E8%A8%80%E6%9D%BF%20%282%29/board.html\"><img "
               "src=\"%E7%95%99%E8%A8%80%E6%9D%BF%20%282%29/.thumbs/b%231%20%25.jpg.jpg\""
            << true;
        QTest::newRow("board counted") << space << "留言板</a><div class=\"meta\">203 条</div>" << true;
        QTest::newRow("post text escaped, emoji code kept")
            << moods << "&lt;/script&gt; [em]e100[/em]\n第二行</div>" << true;
        QTest::newRow("posts: no script element") << moods << "<script" << false;
        QTest::newRow("source and place") << moods << "2024-05-01 12:30 · 来自 iPhone &lt;15&gt;" << true;
        QTest::newRow("place escaped") << moods << "位置：西湖 &amp; 断桥" << true;
        QTest::newRow("post picture encoded")
            << moods << "<a class=\"thumb\" href=\"m%231%20%25.jpg\"><img src=\".thumbs/m%231%20%25.jpg.jpg\""
            << true;
        QTest::newRow("post video") << moods
                                    << "<video controls preload=\"metadata\" src=\"v%201.mp4\"></video>"
                                    << true;
        QTest::newRow("post's gone file left out") << moods << "gone.jpg" << false;
        QTest::newRow("repost author escaped") << moods
                                               << "转发 <span class=\"who\">&quot;&gt;&lt;img src=x "
                                                  "onerror=&quot;window.pwned=2&quot;&gt;&#39;</span>"
                                               << true;
        QTest::newRow("repost text escaped") << moods << "转发的 &lt;i&gt;原文&lt;/i&gt;" << true;
        QTest::newRow("comments saved of counted") << moods << "已保存 1 条，共 3 条评论" << true;
        QTest::newRow("comment picture")
            << moods << "href=\"c%201.png\"><img src=\".thumbs/c%201.png.jpg\"" << true;
        QTest::newRow("reply by its number")
            << moods << "<div class=\"replies\"><div class=\"comment\"><div><span class=\"who\">10000</span>"
            << true;
        QTest::newRow("posts: no remote address") << moods << "//" << false;
        QTest::newRow("posts: back to the space") << moods << "href=\"../index.html\"" << true;
        QTest::newRow("first page: next") << moods << "<a href=\"moods-2.html\">下一页</a>" << true;
        QTest::newRow("first page: no previous") << moods << "上一页" << false;
        QTest::newRow("last page: previous")
            << moods2
            << "<a href=\"moods.html\">上一页</a><a href=\"moods.html\">1</a><span "
               "class=\"current\">2</span></nav>"
            << true;
        QTest::newRow("last page: no remote address") << moods2 << "//" << false;
        QTest::newRow("board: newest first, name escaped, number beside it")
            << board
            << "<main class=\"board\">\n<article class=\"message\"><div><span "
               "class=\"who\">&quot;&gt;&lt;img "
               "src=x onerror=&quot;window.pwned=2&quot;&gt;&#39;</span> <span "
               "class=\"meta\">20002</span></div>"
            << true;
        QTest::newRow("board: modified") << board << "2024-06-01 10:00 · 修改于 2024-06-02 08:15" << true;
        QTest::newRow("board: text escaped, line break and emoji code kept")
            << board
            << "<div class=\"body\">&lt;script&gt;document.title=&#39;pwned&#39;;window.pwned=1&lt;/"
               "script&gt; [em]e100[/em]\n第二行</div>"
            << true;
        QTest::newRow("board: no script element") << board << "<script" << false;
        QTest::newRow("board: picture encoded")
            << board << "<a class=\"thumb\" href=\"b%231%20%25.jpg\"><img src=\".thumbs/b%231%20%25.jpg.jpg\""
            << true;
        QTest::newRow("board: gone picture left out") << board << "gone.jpg" << false;
        QTest::newRow("board: picture's source address left out") << board << "b.example" << false;
        QTest::newRow("board: no remote address") << board << "//" << false;
        QTest::newRow("board: reply")
            << board
            << "<div class=\"comment\"><div><span class=\"who\">主人 &lt;i&gt;</span> <span "
               "class=\"meta\">10000</span> <span class=\"meta\">2024-06-01 11:00</span></div><div "
               "class=\"body\">谢谢 &amp; 再见</div></div>"
            << true;
        QTest::newRow("board: private marked, no text made up")
            << board
            << "<article class=\"message\"><div><span class=\"who\">悄悄</span> <span "
               "class=\"meta\">30003</span>"
               "<span class=\"private\">（私密留言）</span></div><div class=\"meta\">2024-05-31 "
               "09:00</div></article>"
            << true;
        QTest::newRow("board: back to the space") << board << "href=\"../index.html\"" << true;
        QTest::newRow("board: next page") << board << "<a href=\"board-2.html\">下一页</a>" << true;
        QTest::newRow("board: oldest not on the first page") << board << ">留言 3<" << false;
        QTest::newRow("board: oldest on the last page")
            << board2 << "<div class=\"body\">留言 1</div>" << true;
        QTest::newRow("board: last page, previous")
            << board2 << "<a href=\"board.html\">上一页</a><a href=\"board.html\">1</a>" << true;
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

    // 201 posts: the newest 200 on the first page, newest first, the oldest alone on
    // the second; the page of an earlier build past the end is gone.
    void postsSplitAt200()
    {
        const QString folder = m_space + QLatin1Char('/') + MoodsFolder;
        const QString first = readText(folder + QStringLiteral("/moods.html"));
        const QString second = readText(folder + QStringLiteral("/moods-2.html"));
        const QString post = QStringLiteral("<article class=\"mood\">");
        QCOMPARE(first.count(post), 200);
        QCOMPARE(second.count(post), 1);
        QVERIFY(second.contains(QStringLiteral("第 1 条")));
        QVERIFY(!first.contains(QStringLiteral("第 1 条<")));
        QVERIFY(first.indexOf(QStringLiteral("[em]e100")) < first.indexOf(QStringLiteral("第 200 条")));
        QVERIFY(first.indexOf(QStringLiteral("第 200 条")) < first.indexOf(QStringLiteral("第 199 条")));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/moods-3.html")));
    }

    // Posts or a board but no album: the space page is written all the same; neither:
    // none.
    void withoutAlbums_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("card");
        MoodDocument moods;
        moods.moods = {MoodDocumentEntry {}};
        moods.moods[0].id = QStringLiteral("only");
        moods.moods[0].text = QStringLiteral("只有这一条");
        QTest::newRow("posts") << "moods.json" << MoodDocumentText(moods) << "moods.html"
                               << "说说";
        BoardDocument board;
        board.messages = {BoardDocumentEntry {}};
        board.messages[0].id = QStringLiteral("only");
        board.messages[0].text = QStringLiteral("只有这一条");
        QTest::newRow("board") << "board.json" << BoardDocumentText(board) << "board.html"
                               << "留言板";
    }
    void withoutAlbums()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, page);
        QFETCH(QString, card);
        QTemporaryDir dir;
        const QString space = dir.filePath(QStringLiteral("987654321"));
        QVERIFY(QDir().mkpath(space + QStringLiteral("/随便")));
        const std::atomic_bool stop = false;
        QCOMPARE(BuildGallery(space, stop).moodPages, 0);
        QVERIFY(!QFileInfo::exists(space + QStringLiteral("/index.html")));

        QVERIFY(writeBytes(space + QStringLiteral("/随便/") + file, bytes));
        const GalleryBuildResult result = BuildGallery(space, stop);
        QCOMPARE(result.albums, 0);
        QCOMPARE(result.moodPages + result.boardPages, 1);
        const QString html = readText(space + QStringLiteral("/index.html"));
        QVERIFY(html.contains(QStringLiteral("href=\"%E9%9A%8F%E4%BE%BF/") + page
                              + QStringLiteral("\"><span class=\"plain\">") + card));
        QVERIFY(readText(space + QStringLiteral("/随便/") + page).contains(QStringLiteral("只有这一条")));
    }

    void thumbnailsMadeOnlyWhenThePictureChanged()
    {
        QCOMPARE(QImageReader(thumb(OddFile)).size(), QSize(320, 240));
        QCOMPARE(QImageReader(thumb(QStringLiteral("宽.png"))).size(), QSize(320, 32));
        const QDateTime made = QFileInfo(thumb(OddFile)).lastModified();

        GalleryBuildResult again = build();
        QCOMPARE(again.thumbnailsMade, 0);
        QCOMPARE(again.thumbnailsKept, 5);
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
        QCOMPARE(again.thumbnailsKept, 4);
        QCOMPARE(QImageReader(thumb(OddFile)).size(), QSize(240, 320));
    }
};

QTEST_GUILESS_MAIN(TestGalleryPages)
#include "TestGalleryPages.moc"
