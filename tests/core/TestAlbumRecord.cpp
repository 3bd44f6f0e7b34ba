#include "standin/IsoMediaMaker.h"
#include "storage/AlbumRecord.h"

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

// The per-album record: what it reads, what counts as saved, and when it is written.
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
        for (const char *name :
             {"../x.jpg", "a/b.jpg", "a\\\\b.jpg", "..", ".", "", ".albivex-record.json", "a\\u0001b.jpg"}) {
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
        } // written at the end
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

    // Written every WriteEvery pictures and soon after the first pending one, so a
    // crash loses only the last few entries.
    void writesAreCoalesced()
    {
        QTemporaryDir dir;
        AlbumRecord record(dir.path());
        const auto written = [&] {
            const std::optional<RecordEntries> entries = ParseAlbumRecord(ReadFile(recordPath(dir)));
            return entries ? int(entries->size()) : 0;
        };
        for (int n = 1; n < AlbumRecord::WriteEvery; ++n)
            record.add(QStringLiteral("k%1").arg(n), QStringLiteral("%1.jpg").arg(n), n);
        QCOMPARE(written(), 0);
        record.add("last", "last.jpg", 1);
        QCOMPARE(written(), AlbumRecord::WriteEvery);
        record.add("late", "late.jpg", 1);
        QCOMPARE(written(), AlbumRecord::WriteEvery);
        QTRY_COMPARE_WITH_TIMEOUT(written(), AlbumRecord::WriteEvery + 1, AlbumRecord::WriteAfterMs + 10000);
    }
};

QTEST_GUILESS_MAIN(TestAlbumRecord)
#include "TestAlbumRecord.moc"
