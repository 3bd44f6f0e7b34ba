#include "standin/IsoMediaMaker.h"
#include "storage/AlbumDocument.h"
#include "storage/AlbumDocumentBuild.h"
#include "storage/AlbumRecord.h"
#include "storage/RunJournal.h"

#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;

namespace {

const QByteArray Jpeg("\xFF\xD8\xFF\xE0 a small picture", 20);

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The per-album record (what it reads, what counts as saved, and when it is written)
// and album.json (round trip, merge, damaged input, rebuilding).
class TestAlbumRecord : public QObject
{
    Q_OBJECT
private:
    QString recordPath(const QTemporaryDir &dir) const { return dir.filePath(AlbumRecord::fileName()); }

private Q_SLOTS:
    void reading_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("entries"); // -1: damaged, ignored whole
        const auto record = [](const QByteArray &pictures) {
            return "{\"pictures\": {" + pictures + "}}";
        };
        const QByteArray good = "\"k1\": {\"file\": \"1.a.jpg\", \"size\": 20}";
        QTest::newRow("one entry") << record(good) << 1;
        QTest::newRow("unknown fields ignored") << QByteArray(
            "{\"v\": 7, \"pictures\": {\"k1\": {\"file\": \"1.a.jpg\", \"size\": 20, \"x\": 1}}}")
                                                << 1;
        QTest::newRow("empty") << record("") << 0;
        QTest::newRow("not JSON") << QByteArray("{\"pictures\": {\"k1\": {") << -1;
        QTest::newRow("nothing") << QByteArray() << -1;
        QTest::newRow("an array") << QByteArray("[1, 2]") << -1;
        QTest::newRow("no pictures") << QByteArray("{\"files\": {}}") << -1;
        QTest::newRow("pictures not an object") << QByteArray("{\"pictures\": []}") << -1;
        QTest::newRow("entry not an object") << record(good + ", \"k2\": \"2.b.jpg\"") << -1;
        QTest::newRow("file not a string") << record(good + ", \"k2\": {\"file\": 2, \"size\": 1}") << -1;
        QTest::newRow("size a string") << record(good + ", \"k2\": {\"file\": \"b\", \"size\": \"1\"}") << -1;
        QTest::newRow("size negative") << record(good + ", \"k2\": {\"file\": \"b\", \"size\": -1}") << -1;
        QTest::newRow("size a fraction") << record(good + ", \"k2\": {\"file\": \"b\", \"size\": 1.5}") << -1;
        QTest::newRow("size missing") << record(good + ", \"k2\": {\"file\": \"b\"}") << -1;
        for (const char *name : {"../x.jpg", "a/b.jpg", "a\\\\b.jpg", "..", ".", "", ".albivex-record.json",
                                 ".albivex-record.log", "a\\u0001b.jpg"}) {
            QTest::newRow(qPrintable(QStringLiteral("name ignored: %1").arg(QLatin1String(name))))
                << record(good + ", \"k2\": {\"file\": \"" + name + "\", \"size\": 1}") << 1;
        }
        QTest::newRow("empty key ignored")
            << record(good + ", \"\": {\"file\": \"b.jpg\", \"size\": 1}") << 1;
        QTest::newRow("a name claimed twice is nobody's") << record(
            good + ", \"k2\": {\"file\": \"1.A.jpg\", \"size\": 20}, \"k3\": {\"file\": \"c\", \"size\": 1}")
                                                          << 1;
    }
    void reading()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, entries);
        const std::optional<RecordEntries> read = ParseAlbumRecord(text);
        QCOMPARE(read ? int(read->size()) : -1, entries);
        if (read)
            QCOMPARE(ParseAlbumRecord(AlbumRecordText(*read)), read);
    }

    // A round trip through the folder; an entry counts only for a whole file of the
    // recorded size that starts like a picture or a video.
    void savedOnlyWhenTheFileIsWhole()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray heic = standin::IsoMediaMaker::heic("payload");
        const QByteArray video = standin::IsoMediaMaker::mp4(2);
        const QByteArray html("<html>not found</html>");
        QVERIFY(WriteFile(dir.filePath("1.a.jpg"), Jpeg));
        QVERIFY(WriteFile(dir.filePath("2.b.heic"), heic));
        QVERIFY(WriteFile(dir.filePath("3.c.mp4"), video));
        QVERIFY(WriteFile(dir.filePath("4.d.jpg"), Jpeg.left(10)));
        QVERIFY(WriteFile(dir.filePath("5.e.jpg"), html));
        QVERIFY(WriteFile(dir.filePath("6.f.jpg"), Jpeg + "more"));
        QVERIFY(QFile::link(dir.filePath("1.a.jpg"), dir.filePath("8.h.jpg")));
        {
            AlbumRecord record(dir.path());
            QVERIFY(record.entries().isEmpty());
            QVERIFY(record.add("k1", "1.a.jpg", Jpeg.size()));
            QVERIFY(record.add("k2", "2.b.heic", heic.size()));
            QVERIFY(record.add("k3", "3.c.mp4", video.size()));
            QVERIFY(record.add("k4", "4.d.jpg", Jpeg.size())); // shorter on disk
            QVERIFY(record.add("k5", "5.e.jpg", html.size())); // no picture
            QVERIFY(record.add("k6", "6.f.jpg", Jpeg.size())); // longer on disk
            QVERIFY(record.add("k7", "7.g.jpg", Jpeg.size())); // missing
            QVERIFY(record.add("k8", "8.h.jpg", Jpeg.size())); // a link
            QVERIFY(!record.add("k9", "../9.jpg", 1));
            QVERIFY(!record.add("", "9.jpg", 1));
        } // each line in the journal as it was recorded
        const AlbumRecord again(dir.path());
        QCOMPARE(again.entries().size(), 8);
        QStringList saved;
        for (const char *key : {"k1", "k2", "k3", "k4", "k5", "k6", "k7", "k8", "k9"}) {
            if (again.isSaved(QLatin1String(key)))
                saved << key;
        }
        QCOMPARE(saved, QStringList({"k1", "k2", "k3"}));
        QCOMPARE(again.fileNameOf("k2"), QStringLiteral("2.b.heic"));
        QStringList names = again.fileNames();
        names.sort();
        QCOMPARE(names.first(), QStringLiteral("1.a.jpg"));
        QCOMPARE(names.size(), 8);
    }

    // A later picture under a recorded name owns the file: the earlier key is gone.
    void aNameHasOneOwner()
    {
        QTemporaryDir dir;
        AlbumRecord record(dir.path());
        record.add("k1", "x.jpg", 1);
        record.add("k2", "X.jpg", 2);
        record.add("k2", "y.jpg", 3);
        record.add("k3", "x.jpg", 4);
        QCOMPARE(record.entries().keys().size(), 2);
        QCOMPARE(record.fileNameOf("k1"), QString());
        QCOMPARE(record.fileNameOf("k2"), QStringLiteral("y.jpg"));
        QCOMPARE(record.fileNameOf("k3"), QStringLiteral("x.jpg"));
    }

    void aDamagedRecordIsRebuilt()
    {
        QTemporaryDir dir;
        QVERIFY(
            WriteFile(recordPath(dir), "{\"pictures\": {\"k1\": {\"file\": \"1.a.jpg\", \"size\": \"x\"}}}"));
        QVERIFY(WriteFile(dir.filePath("1.a.jpg"), Jpeg));
        AlbumRecord record(dir.path());
        QVERIFY(!record.isSaved("k1"));
        record.add("k2", "2.b.jpg", 5);
        QVERIFY(record.flush());
        const std::optional<RecordEntries> written = ParseAlbumRecord(ReadFile(recordPath(dir)));
        QVERIFY(written);
        QCOMPARE(written->keys(), QStringList {"k2"});
    }

    // During an album each picture is one line appended to the journal, never the
    // record rewritten whole: an earlier record is carried over, a line a kill cut off
    // is passed over, flush() writes the record whole and deletes the journal, and a
    // line another record appended meanwhile is kept.
    void theJournalKeepsEveryPicture()
    {
        QTemporaryDir dir;
        const QString journal = dir.filePath(AlbumRecord::journalFileName());
        const auto recorded = [&] {
            return ParseAlbumRecord(ReadFile(recordPath(dir))).value_or(RecordEntries());
        };
        QVERIFY(WriteFile(recordPath(dir), AlbumRecordText({{"old", {"old.jpg", 1}}})));
        {
            AlbumRecord record(dir.path());
            for (int n = 1; n <= 3; ++n)
                record.add(QStringLiteral("k%1").arg(n), QStringLiteral("%1.jpg").arg(n), n);
            AlbumRecord::settle();
            QCOMPARE(recorded().size(), 1);
            QCOMPARE(ReadFile(journal).count('\n'), 3);
        }
        QFile cut(journal);
        QVERIFY(cut.open(QIODevice::Append));
        cut.write(RecordJournalLine("k4", {"4.jpg", 4}).left(12));
        cut.close();

        AlbumRecord again(dir.path());
        QCOMPARE(again.entries().size(), 4);
        AlbumRecord other(dir.path());
        other.add("k5", "5.jpg", 5);
        QVERIFY(again.flush());
        QVERIFY(!QFile::exists(journal));
        const RecordEntries whole = recorded();
        QCOMPARE(whole.size(), 5);
        QCOMPARE(whole.value("k5").fileName, QStringLiteral("5.jpg"));
        QCOMPARE(whole.value("old").fileName, QStringLiteral("old.jpg"));
    }

    // album.json: the listing's whole texts and values through the folder and back;
    // what the listing did not give is not in the file.
    void documentRoundTrip()
    {
        AlbumEntry album;
        album.albumId = QStringLiteral("V1a");
        album.name = QStringLiteral("春游");
        album.fullName = QStringLiteral("春游,2016");
        album.fullDescription = QStringLiteral("第一天\n第二天");
        album.createTime = 1459468800;
        album.pictureCount = QStringLiteral("2");
        AlbumDocument document = AlbumDocumentOf(album, QStringLiteral("123456789"));
        document.writtenAt = QDateTime(QDate(2024, 6, 1), QTime(0, 0), Qt::UTC);

        PhotoEntry photo;
        photo.lloc = QStringLiteral("V1a_1");
        photo.name = QStringLiteral("a");
        photo.fullName = QStringLiteral("a,b");
        photo.fullDescription = QStringLiteral("x,y <script>");
        photo.uploadTime = QStringLiteral("2016-04-01 12:00:00");
        photo.shootTime = QStringLiteral("0");
        photo.exif
            = {{"make", "Canon"}, {"model", "EOS"}, {"originalTime", "2016:03:31 09:30:00"}, {"iso", "200"}};
        photo.width = 640;
        photo.height = 480;
        photo.place = QStringLiteral("杭州");
        photo.commentCount = 0;
        PhotoEntry bare;
        bare.lloc = QStringLiteral("V1a_2");
        bare.isVideo = true;
        document.pictures = {AlbumDocumentPictureOf(photo, QStringLiteral("1.a.jpg"), true),
                             AlbumDocumentPictureOf(bare, QStringLiteral("2.mp4"), false)};

        QTemporaryDir dir;
        QCOMPARE(SaveAlbumDocument(dir.path(), document), std::nullopt);
        const AlbumDocumentLoad load = LoadAlbumDocument(dir.path());
        QCOMPARE(load.state, AlbumDocumentLoad::State::Read);
        QCOMPARE(load.document, document);
        const QString text = QString::fromUtf8(ReadFile(dir.filePath(AlbumDocumentFileName())));
        for (const char *written :
             {"\"name\": \"春游,2016\"", "\"createTime\": \"2016-04-01T08:00:00+08:00\"",
              "\"owner\": \"123456789\"", "\"pictureCount\": 2", "\"name\": \"a,b\"",
              "\"caption\": \"x,y <script>\"", "\"uploadTime\": \"2016-04-01T12:00:00+08:00\"",
              "\"shootTime\": \"2016-03-31T09:30:00+08:00\"", "\"cameraMake\": \"Canon\"",
              "\"cameraModel\": \"EOS\"", "\"iso\": \"200\"", "\"commentCount\": 0", "\"original\": true",
              "\"video\": true", "\"place\": \"杭州\""})
            QVERIFY2(text.contains(QString::fromUtf8(written)), written);
        const AlbumDocumentPicture &second = load.document.pictures.at(1);
        QCOMPARE(second.original, std::optional<bool>(false));
        QVERIFY(second.name.isEmpty() && !second.uploadTime.isValid() && second.width < 0
                && second.commentCount < 0);
        QCOMPARE(text.count(QStringLiteral("\"uploadTime\"")), 1); // left out, not invented
        QCOMPARE(text.count(QStringLiteral("\"place\"")), 1);
    }

    // An incremental run: this run's values win, the older entry's others stay, and a
    // picture this run did not save keeps its entry.
    void documentMerge()
    {
        AlbumDocument older;
        older.name = QStringLiteral("old name");
        older.description = QStringLiteral("kept");
        older.pictures = {{}, {}};
        older.pictures[0].lloc = QStringLiteral("a");
        older.pictures[0].caption = QStringLiteral("old caption");
        older.pictures[0].place = QStringLiteral("old place");
        older.pictures[0].exif = {{"iso", "100"}, {"flash", "on"}};
        older.pictures[1].lloc = QStringLiteral("b");
        older.pictures[1].file = QStringLiteral("b.jpg");
        AlbumDocument newer;
        newer.name = QStringLiteral("new name");
        newer.pictures = {{}, {}};
        newer.pictures[0].lloc = QStringLiteral("c");
        newer.pictures[1].lloc = QStringLiteral("a");
        newer.pictures[1].caption = QStringLiteral("new caption");
        newer.pictures[1].exif = {{"iso", "200"}};
        newer.pictures[1].commentCount = 3;

        const AlbumDocument merged = MergeAlbumDocuments(older, newer);
        QCOMPARE(merged.name, QStringLiteral("new name"));
        QCOMPARE(merged.description, QStringLiteral("kept"));
        QStringList order;
        for (const AlbumDocumentPicture &picture : merged.pictures)
            order << picture.lloc;
        QCOMPARE(order, QStringList({"c", "a", "b"}));
        const AlbumDocumentPicture &a = merged.pictures.at(1);
        QCOMPARE(a.caption, QStringLiteral("new caption"));
        QCOMPARE(a.place, QStringLiteral("old place"));
        QCOMPARE(a.exif, (QMap<QString, QString> {{"iso", "200"}, {"flash", "on"}}));
        QCOMPARE(a.commentCount, 3);
        QCOMPARE(merged.pictures.at(2), older.pictures.at(1));
        QCOMPARE(MergeAlbumDocuments(merged, merged), merged);
    }

    void documentReading_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("pictures"); // -1: damaged
        QTest::addColumn<QString>("leftOut"); // a key of the first picture dropped on reading
        const auto doc = [](const QByteArray &pictures) {
            return "{\"id\": \"V1\", \"pictures\": [" + pictures + "]}";
        };
        QTest::newRow("no pictures yet") << doc("") << 0 << QString();
        QTest::newRow("not JSON") << QByteArray("{\"pictures\": [") << -1 << QString();
        QTest::newRow("an array") << QByteArray("[]") << -1 << QString();
        QTest::newRow("pictures missing") << QByteArray("{\"id\": \"V1\"}") << -1 << QString();
        QTest::newRow("pictures an object") << QByteArray("{\"pictures\": {}}") << -1 << QString();
        QTest::newRow("picture not an object") << doc("\"a\"") << -1 << QString();
        QTest::newRow("picture without lloc") << doc("{\"file\": \"a.jpg\"}") << -1 << QString();
        QTest::newRow("same lloc twice: the first")
            << doc("{\"lloc\": \"a\", \"width\": 1}, {\"lloc\": \"a\"}") << 1 << QString();
        QTest::newRow("file outside the folder")
            << doc("{\"lloc\": \"a\", \"file\": \"../a.jpg\"}") << 1 << QStringLiteral("file");
        QTest::newRow("file is album.json")
            << doc("{\"lloc\": \"a\", \"file\": \"album.json\"}") << 1 << QStringLiteral("file");
        QTest::newRow("time without offset")
            << doc("{\"lloc\": \"a\", \"shootTime\": \"2016-04-01T12:00:00\"}") << 1
            << QStringLiteral("shootTime");
        QTest::newRow("time not a time")
            << doc("{\"lloc\": \"a\", \"uploadTime\": \"yesterday\"}") << 1 << QStringLiteral("uploadTime");
        QTest::newRow("width a fraction")
            << doc("{\"lloc\": \"a\", \"width\": 1.5}") << 1 << QStringLiteral("width");
        QTest::newRow("count negative")
            << doc("{\"lloc\": \"a\", \"commentCount\": -1}") << 1 << QStringLiteral("commentCount");
        QTest::newRow("flag a number")
            << doc("{\"lloc\": \"a\", \"video\": 1}") << 1 << QStringLiteral("video");
    }
    void documentReading()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, pictures);
        QFETCH(QString, leftOut);
        const std::optional<AlbumDocument> read = ParseAlbumDocument(text);
        QCOMPARE(read ? int(read->pictures.size()) : -1, pictures);
        if (!read)
            return;
        const QByteArray again = AlbumDocumentText(*read);
        QCOMPARE(ParseAlbumDocument(again), read);
        // Written a picture at a time, yet as Qt indents a whole document.
        QCOMPARE(again, QJsonDocument::fromJson(again).toJson(QJsonDocument::Indented));
        if (!leftOut.isEmpty())
            QVERIFY(!again.contains('"' + leftOut.toLatin1() + '"'));
    }

    // A damaged album.json is rebuilt from the listing and the record: every picture
    // saved whole gets its entry back.
    void aDamagedDocumentIsRebuiltFromTheRecord()
    {
        QTemporaryDir dir;
        QVERIFY(WriteFile(dir.filePath(AlbumDocumentFileName()), "{\"pictures\": [{\"lloc\""));
        QCOMPARE(LoadAlbumDocument(dir.path()).state, AlbumDocumentLoad::State::Damaged);
        QVERIFY(WriteFile(dir.filePath("1.a.jpg"), Jpeg));
        AlbumRecord record(dir.path());
        record.add("k1", "1.a.jpg", Jpeg.size());
        QList<PhotoEntry> listing(3);
        listing[0].lloc = QStringLiteral("k0");
        listing[1].lloc = QStringLiteral("k1");
        listing[1].fullName = QStringLiteral("a,b");
        listing[2].lloc = QStringLiteral("k2");
        const QList<AlbumDocumentPicture> rebuilt = AlbumDocumentPicturesFromRecord(listing, record);
        QCOMPARE(rebuilt.size(), 1);
        QCOMPARE(rebuilt.first().lloc, QStringLiteral("k1"));
        QCOMPARE(rebuilt.first().file, QStringLiteral("1.a.jpg"));
        QCOMPARE(rebuilt.first().name, QStringLiteral("a,b"));
        QCOMPARE(rebuilt.first().original, std::nullopt);
        QTemporaryDir empty;
        QCOMPARE(LoadAlbumDocument(empty.path()).state, AlbumDocumentLoad::State::Absent);
    }

    // The journal of a multi-album run: written and read back whole; anything that
    // is not one is damaged and never half read.
    void runJournal_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("read");
        const QByteArray good
            = R"({"owner":"123456789","quality":2,"naming":1,"albums":[)"
              R"({"id":"V1","name":"a","complete":true},{"id":"V2","name":"b","complete":false}]})";
        QTest::newRow("a journal") << good << true;
        QTest::newRow("no albums") << QByteArray(R"({"owner":"12345","quality":0,"naming":0,"albums":[]})")
                                   << true;
        QTest::newRow("owner not a QQ number") << QByteArray(good).replace("123456789", "12a45") << false;
        QTest::newRow("owner a number, not text")
            << QByteArray(good).replace("\"123456789\"", "123456789") << false;
        QTest::newRow("quality out of range")
            << QByteArray(good).replace("\"quality\":2", "\"quality\":99") << false;
        QTest::newRow("naming not whole")
            << QByteArray(good).replace("\"naming\":1", "\"naming\":1.5") << false;
        QTest::newRow("an album without an id")
            << QByteArray(good).replace("\"id\":\"V2\"", "\"id\":\"\"") << false;
        QTest::newRow("complete not a flag")
            << QByteArray(good).replace("\"complete\":false", "\"complete\":0") << false;
        QTest::newRow("a whole space's, with the posts and the board")
            << QByteArray(good).replace("}]}",
                                        R"(},{"id":"moods","name":"m","complete":false,"kind":"moods"},)"
                                        R"({"id":"board","name":"b","complete":false,"kind":"board"}],)"
                                        R"("space":true})")
            << true;
        QTest::newRow("a kind unknown")
            << QByteArray(good).replace("\"complete\":false}", R"("complete":false,"kind":"photos"})")
            << false;
        QTest::newRow("space not a flag") << QByteArray(good).replace("]}", R"(],"space":1})") << false;
        QTest::newRow("cut short") << good.left(good.size() - 3) << false;
        QTest::newRow("not JSON") << QByteArray("journal") << false;
    }
    void runJournal()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, read);
        const std::optional<RunJournal> journal = ParseRunJournal(text);
        QCOMPARE(journal.has_value(), read);
        if (!journal)
            return;
        QCOMPARE(ParseRunJournal(RunJournalText(*journal)), journal);
        QTemporaryDir space;
        QCOMPARE(SaveRunJournal(space.path(), *journal), std::nullopt);
        QCOMPARE(LoadRunJournal(space.path()), journal);
        QVERIFY(!RunJournalText(*journal).contains("skey"));
        QVERIFY(RemoveRunJournal(space.path()));
        QCOMPARE(LoadRunJournal(space.path()), std::nullopt);
        if (journal->albums.size() == 2)
            QCOMPARE(journal->remaining(), (QList<RunJournal::Album> {{"V2", "b", false}}));
        if (journal->wholeSpace)
            QCOMPARE(journal->remaining(RunJournal::Kind::Board),
                     (QList<RunJournal::Album> {{"board", "b", false, RunJournal::Kind::Board}}));
    }
};

QTEST_GUILESS_MAIN(TestAlbumRecord)
#include "TestAlbumRecord.moc"
