#include "storage/MoodDocument.h"
#include "storage/MoodDocumentUpdate.h"
#include "storage/MoodFiles.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

using namespace albivex;

namespace {

constexpr qint64 May1 = 1682874005; // 2023-04-30 17:00:05 UTC, 2023-05-01 01:00:05 in China

MoodPost Post(const QString &tid, qint64 time)
{
    MoodPost post;
    post.tid = tid;
    post.createdTime = time;
    return post;
}

QDateTime China(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone(8 * 3600));
}

MoodDocumentEntry Entry(const QString &id, qint64 time, const QStringList &files = {})
{
    MoodDocumentEntry e;
    e.id = id;
    e.time = China(time);
    for (const QString &file : files)
        e.files.append({file, false, QStringLiteral("http://a/") + file});
    return e;
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList Ids(const MoodDocument &document)
{
    QStringList ids;
    for (const MoodDocumentEntry &e : document.moods)
        ids.append(e.id);
    return ids;
}

} // namespace

// Where 说说 are saved: the posts' folder beside the albums, their files' names, and
// moods.json (round trip, merge over runs, damaged input).
class TestMoodDocument : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void fileNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const MoodPost a = Post(QStringLiteral("tid-a"), May1);
        MoodPost fromText = Post(QStringLiteral("tid-a"), 0);
        fromText.createText = QStringLiteral("2023-05-01 01:00:05");
        QTest::newRow("picture, China's date")
            << MoodPictureFileName(a, 1, QStringLiteral(".jpg")) << "2023-05-01_010005_ffa5a758_01.jpg";
        QTest::newRow("extension without dot")
            << MoodPictureFileName(a, 12, QStringLiteral("png")) << "2023-05-01_010005_ffa5a758_12.png";
        QTest::newRow("video") << MoodVideoFileName(a, 1, QStringLiteral(".mp4"))
                               << "2023-05-01_010005_ffa5a758_v1.mp4";
        QTest::newRow("comment") << MoodCommentPictureFileName(a, QStringLiteral("3"), {}, 1,
                                                               QStringLiteral(".gif"))
                                 << "2023-05-01_010005_ffa5a758_c3_01.gif";
        QTest::newRow("reply") << MoodCommentPictureFileName(a, QStringLiteral("3"), QStringLiteral("2"), 2,
                                                             QStringLiteral(".jpg"))
                               << "2023-05-01_010005_ffa5a758_c3r2_02.jpg";
        QTest::newRow("same second, other post")
            << MoodPictureFileName(Post(QStringLiteral("tid-b"), May1), 1, QStringLiteral(".jpg"))
            << "2023-05-01_010005_154c6e4d_01.jpg";
        QTest::newRow("time from the page's text") << MoodPictureFileName(fromText, 1, QStringLiteral(".jpg"))
                                                   << "2023-05-01_010005_ffa5a758_01.jpg";
        QTest::newRow("no time") << MoodPictureFileName(Post(QStringLiteral("tid-a"), 0), 1,
                                                        QStringLiteral(".jpg"))
                                 << "0000-00-00_000000_ffa5a758_01.jpg";
        // A second later, but the hash of its tid sorts first: the time still leads.
        QTest::newRow("a second later")
            << MoodPictureFileName(Post(QStringLiteral("t1"), May1 + 1), 1, QStringLiteral(".jpg"))
            << "2023-05-01_010006_e5353879_01.jpg";
    }
    void fileNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(name, expected);
    }

    void folder_data()
    {
        QTest::addColumn<QStringList>("albums");
        QTest::addColumn<QString>("albumFiles"); // an unlisted folder holding album.json
        QTest::addColumn<bool>("moodsThere"); // ... and moods.json
        QTest::addColumn<QString>("expected");
        QTest::newRow("no albums") << QStringList() << QString() << false << "说说";
        QTest::newRow("other albums") << QStringList {"旅行", "说说 (2)"} << QString() << false << "说说";
        QTest::newRow("an album 说说") << QStringList {"说说"} << QString() << false << "说说 (2)";
        QTest::newRow("cleaned to 说说")
            << QStringList {"说:说", "说说 (2)"} << QString() << false << "说说 (3)";
        QTest::newRow("deleted album's folder") << QStringList() << "说说" << false << "说说 (2)";
        QTest::newRow("the posts' own folder") << QStringList() << "说说" << true << "说说";
        QTest::newRow("listed album wins over moods.json")
            << QStringList {"说说"} << "说说" << true << "说说 (2)";
    }
    void folder()
    {
        QFETCH(QStringList, albums);
        QFETCH(QString, albumFiles);
        QFETCH(bool, moodsThere);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString space = dir.path() + QStringLiteral("/10001");
        if (!albumFiles.isEmpty()) {
            QVERIFY(QDir().mkpath(space + QLatin1Char('/') + albumFiles));
            QVERIFY(WriteFile(space + QLatin1Char('/') + albumFiles + QStringLiteral("/album.json"), "{}"));
            if (moodsThere)
                QVERIFY(
                    WriteFile(space + QLatin1Char('/') + albumFiles + QStringLiteral("/moods.json"), "{}"));
        } else {
            QCOMPARE(MoodFolderName(albums), expected);
        }
        QCOMPARE(MoodFolderPath(dir.path(), QStringLiteral("10001"), albums),
                 space + QLatin1Char('/') + expected);
    }

    // Every key from a post to the file and back.
    void roundTrip()
    {
        MoodPost post = Post(QStringLiteral("tid-a"), May1);
        post.content = QStringLiteral("晴 [em]e100[/em]\n第二行");
        post.sourceName = QStringLiteral("iPhone");
        post.placeName = QStringLiteral("西湖");
        post.placeX = QStringLiteral("120.1552");
        post.placeY = QStringLiteral("30.2741");
        MoodPicture picture;
        picture.url = QStringLiteral("http://p/1");
        MoodPicture unsaved;
        unsaved.url = QStringLiteral("http://p/2");
        MoodPicture video;
        video.isVideo = true;
        video.videoFile = QStringLiteral("http://v/1");
        post.pictures = {picture, unsaved};
        post.videos = {video};
        post.rtUin = QStringLiteral("20002");
        post.rtName = QStringLiteral("转发者");
        post.rtCreateText = QStringLiteral("2023年04月30日");
        post.rtContent = QStringLiteral("原文");
        MoodComment reply;
        reply.uin = QStringLiteral("40004");
        reply.content = QStringLiteral("回复");
        reply.createTime = May1 + 60;
        MoodComment comment;
        comment.tid = QStringLiteral("1");
        comment.uin = QStringLiteral("30003");
        comment.name = QStringLiteral("评论者");
        comment.content = QStringLiteral("好看");
        comment.createTime = May1 + 30;
        MoodPicture commentPicture;
        commentPicture.url = QStringLiteral("http://c/1");
        comment.pictures = {commentPicture};
        comment.replies = {reply};
        post.comments = {comment};
        post.commentTotal = 3;
        const QHash<QString, QString> saved {
            {"http://p/1", "a_01.jpg"}, {"http://v/1", "a_v1.mp4"}, {"http://c/1", "a_c1_01.jpg"}};

        const MoodDocumentEntry entry = MoodEntryOf(post, saved);
        QCOMPARE(
            entry.files,
            (QList<MoodDocumentFile> {{"a_01.jpg", false, "http://p/1"}, {"a_v1.mp4", true, "http://v/1"}}));
        QCOMPARE(entry.commentsComplete, std::optional<bool>(false));
        post.commentTotal = 1;
        QCOMPARE(MoodEntryOf(post, saved).commentsComplete, std::optional<bool>(true));

        const QByteArray text = MoodDocumentText({{entry}});
        for (const char *expected :
             {"\"time\": \"2023-05-01T01:00:05+08:00\"", "\"time\": \"2023-05-01T01:01:05+08:00\"",
              "\"text\": \"晴 [em]e100[/em]\\n第二行\"", "\"longitude\": 120.1552", "\"latitude\": 30.2741",
              "\"kind\": \"video\"", "\"from\": \"http://c/1\"", "\"author\": \"20002\"",
              "\"time\": \"2023年04月30日\"", "\"commentCount\": 3", "\"commentsComplete\": false",
              "\"replies\": [", "\"source\": \"iPhone\""})
            QVERIFY2(text.contains(expected), expected);
        const MoodDocumentRead read = ParseMoodDocument(text);
        QVERIFY(!read.damaged);
        QCOMPARE(read.document.moods.size(), 1);
        // Written entry by entry, laid out as Qt lays out the whole document.
        const QByteArray two = MoodDocumentText({{entry, entry}});
        QCOMPARE(two, QJsonDocument::fromJson(two).toJson(QJsonDocument::Indented));
        QCOMPARE(MoodDocumentText({}),
                 QJsonDocument::fromJson(MoodDocumentText({})).toJson(QJsonDocument::Indented));
        const MoodDocumentEntry &back = read.document.moods.first();
        QCOMPARE(back.placeName, entry.placeName);
        QCOMPARE(back.repostName, entry.repostName);
        QCOMPARE(back.comments, entry.comments);
        QVERIFY(back == entry);
    }

    // Over two runs: a post gone from the service stays, a post read again keeps the
    // files only the earlier run saved, newest first.
    void mergeOnDisk()
    {
        QTemporaryDir dir;
        MoodDocumentEntry kept = Entry(QStringLiteral("b"), May1 - 100, {QStringLiteral("b_01.jpg")});
        QVERIFY(!UpdateMoodDocument(dir.path(),
                                    {{Entry(QStringLiteral("a"), May1, {"a_01.jpg", "a_02.jpg"}), kept}}));
        MoodDocumentEntry again = Entry(QStringLiteral("a"), May1, {QStringLiteral("a_02.jpg")});
        again.text = QStringLiteral("edited");
        const MoodDocumentEntry sameSecond = Entry(QStringLiteral("0"), May1);
        QVERIFY(!UpdateMoodDocument(dir.path(), {{again, Entry(QStringLiteral("c"), May1 + 5), sameSecond}}));

        const MoodDocumentRead read = LoadMoodDocument(dir.path());
        QVERIFY(!read.damaged);
        QCOMPARE(Ids(read.document), (QStringList {"c", "0", "a", "b"}));
        const MoodDocumentEntry &a = read.document.moods.at(2);
        QCOMPARE(a.text, QStringLiteral("edited"));
        QCOMPARE(a.files.size(), 2);
        QCOMPARE(a.files.at(0).file, QStringLiteral("a_02.jpg"));
        QCOMPARE(a.files.at(1).file, QStringLiteral("a_01.jpg"));
        QVERIFY(read.document.moods.at(3) == kept);
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<bool>("damaged");
        const QByteArray whole
            = MoodDocumentText({{Entry(QStringLiteral("x"), May1 + 9, {QStringLiteral("x_01.jpg")}),
                                 Entry(QStringLiteral("y"), May1)}});
        QTest::newRow("whole") << whole << QStringList {"x", "y"} << false;
        QTest::newRow("empty") << QByteArray() << QStringList() << false;
        QTest::newRow("cut in the second entry")
            << whole.left(whole.lastIndexOf("\"id\"")) << QStringList {"x"} << true;
        QTest::newRow("not JSON") << QByteArray("\x89PNG garbage {[") << QStringList() << true;
        QTest::newRow("moods not an array")
            << QByteArray(R"({"moods": {"id": "x"}})") << QStringList() << true;
        QTest::newRow("an array among the entries")
            << QByteArray(R"({"moods": [{"id": "a"}, ["b"], {"id": "c"}]})") << QStringList {"a", "c"}
            << true;
        QTest::newRow("\"moods\" also as a value before the array") << QByteArray(
            R"({"about": "moods", "other": [{"id": "z"}], "moods": [{"id": "a"}, {"id": "b"}]})")
                                                                    << QStringList {"a", "b"} << false;
        QTest::newRow("entry without id, repeated id")
            << QByteArray(R"({"moods": [{"text": "t"}, {"id": "x"}, 7, {"id": "x", "text": "later"}]})")
            << QStringList {"x"} << true;
    }
    void damaged()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, ids);
        QFETCH(bool, damaged);
        const MoodDocumentRead read = ParseMoodDocument(text);
        QCOMPARE(Ids(read.document), ids);
        QCOMPARE(read.damaged, damaged);
        if (!ids.isEmpty())
            QVERIFY(read.document.moods.first().text.isEmpty()); // the first of a repeated id
        if (damaged) {
            // The run goes on, keeps the damaged file aside and writes what it read.
            QTemporaryDir dir;
            QVERIFY(WriteFile(dir.filePath(MoodDocumentFileName()), text));
            MoodDocumentEntry untimed = Entry(QStringLiteral("z"), 0);
            untimed.time = QDateTime(); // after every entry read, whatever their times
            QVERIFY(!UpdateMoodDocument(dir.path(), {{untimed}}));
            QFile aside(dir.filePath(QStringLiteral("moods.damaged.json")));
            QVERIFY(aside.open(QIODevice::ReadOnly));
            QCOMPARE(aside.readAll(), text);
            QCOMPARE(Ids(LoadMoodDocument(dir.path()).document), ids + QStringList {"z"});
        }
    }

    // Values of the wrong kind are left out, not taken.
    void wrongKinds()
    {
        const MoodDocumentRead read
            = ParseMoodDocument(R"({"moods": [{"id": "x", "time": "2023-05-01T01:00:05",
            "files": [{"file": "../up.jpg"}, {"file": "moods.json"}, {"file": "ok.jpg", "kind": "video"}],
            "commentCount": -2, "commentsComplete": "no", "place": {"longitude": "120"}}]})");
        QCOMPARE(read.document.moods.size(), 1);
        const MoodDocumentEntry &e = read.document.moods.first();
        QVERIFY(!e.time.isValid());
        QCOMPARE(e.files, (QList<MoodDocumentFile> {{"ok.jpg", true, {}}}));
        QCOMPARE(e.commentCount, -1);
        QVERIFY(!e.commentsComplete && !e.longitude);
    }
};

QTEST_GUILESS_MAIN(TestMoodDocument)
#include "TestMoodDocument.moc"
