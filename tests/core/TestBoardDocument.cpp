#include "storage/BoardDocumentUpdate.h"
#include "storage/BoardFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

using namespace albivex;

// board.json: what a message becomes, the file's round trip, the merge over earlier
// runs and a damaged file kept aside.
class TestBoardDocument : public QObject
{
    Q_OBJECT

    static BoardMessage message(const QString &id, const QString &time, const QString &ubb)
    {
        BoardMessage m;
        m.id = id;
        m.uin = QStringLiteral("700");
        m.nickname = QStringLiteral("访客");
        m.pubtime = time;
        m.ubbContent = ubb;
        return m;
    }

private Q_SLOTS:
    void entryFromMessage()
    {
        BoardMessage m = message("1", "1600000000",
                                 "[ffg,#f00]红[/ft][img]http://p/1.jpg[/img][img]http://p/2.jpg[/img]");
        m.secret = true;
        m.modifytime = QStringLiteral("2020-09-13 20:30:00");
        m.replies = {{"8", "主人", "1600000060", "[b]谢[/b]"}};
        const BoardDocumentEntry e = BoardEntryOf(m, {{"http://p/1.jpg", "a_01.jpg"}});
        QCOMPARE(e.text, QStringLiteral("红"));
        QVERIFY(e.isPrivate);
        QCOMPARE(e.time, QDateTime::fromSecsSinceEpoch(1600000000, QTimeZone(8 * 3600)));
        QCOMPARE(e.modified.toString(Qt::ISODate), QStringLiteral("2020-09-13T20:30:00+08:00"));
        QCOMPARE(e.pictures, (QList<BoardDocumentPicture> {{"a_01.jpg", "http://p/1.jpg"}})); // 2 not saved
        QCOMPARE(e.replies.first().text, QStringLiteral("谢"));
        QCOMPARE(e.replies.first().time.toSecsSinceEpoch(), 1600000060);
        QVERIFY(BoardPictureFileName(m, 1, ".jpg").startsWith(QStringLiteral("2020-09-13_202640_")));
    }

    // Written and read back the same; a message deleted since stays; new pictures
    // join the old ones; newest first.
    void roundTripAndMerge()
    {
        BoardDocument older {{BoardEntryOf(message("1", "1600000000", "old"), {}),
                              BoardEntryOf(message("2", "1500000000", "[img]u[/img]"), {{"u", "x.jpg"}})}};
        const BoardDocumentRead read = ParseBoardDocument(BoardDocumentText(older));
        QVERIFY(!read.damaged);
        QCOMPARE(read.document, older);
        const BoardDocument newer {
            {BoardEntryOf(message("2", "1500000000", "[img]v[/img]"), {{"v", "y.jpg"}}),
             BoardEntryOf(message("3", "1700000000", "new"), {})}};
        const BoardDocument merged = MergeBoardDocuments(older, newer);
        QStringList ids;
        for (const BoardDocumentEntry &e : merged.messages)
            ids << e.id;
        QCOMPARE(ids, (QStringList {"3", "1", "2"}));
        QCOMPARE(merged.messages.last().pictures.size(), qsizetype(2));
    }

    void damagedFileKeptAside()
    {
        QTemporaryDir dir;
        const BoardDocument first {{BoardEntryOf(message("1", "1600000000", "a"), {}),
                                    BoardEntryOf(message("2", "1500000000", "b"), {})}};
        QVERIFY(!UpdateBoardDocument(dir.path(), first));
        QFile file(dir.filePath("board.json"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray whole = file.readAll();
        file.resize(whole.indexOf("\"2\"")); // cut inside the second message
        file.close();
        QVERIFY(!UpdateBoardDocument(dir.path(), {{BoardEntryOf(message("3", "1700000000", "c"), {})}}));
        QVERIFY(QFile::exists(dir.filePath("board.damaged.json")));
        const BoardDocumentRead now = LoadBoardDocument(dir.path());
        QVERIFY(!now.damaged);
        QCOMPARE(now.document.messages.size(), qsizetype(2)); // 3, and 1 salvaged
    }

    void folderYieldsToAnAlbum()
    {
        QCOMPARE(BoardFolderPath("/s", "1", {"风景"}), QStringLiteral("/s/1/留言板"));
        QCOMPARE(BoardFolderPath("/s", "1", {"留言板"}), QStringLiteral("/s/1/留言板 (2)"));
    }
};

QTEST_GUILESS_MAIN(TestBoardDocument)
#include "TestBoardDocument.moc"
