#include "storage/RandomDigits.h"
#include "storage/SaveLayout.h"
#include "storage/UniqueFileNames.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace albivex;

namespace {

bool IsWellFormedUtf8Name(const QString &name)
{
    const QByteArray bytes = name.toUtf8();
    return bytes.size() <= MaxNameBytes && QString::fromUtf8(bytes) == name
        && !name.contains(QChar(QChar::ReplacementCharacter));
}

} // namespace

class TestSaveLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void cleanFolderName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seven characters go") << QStringLiteral("a<b>|c*d:e") << QStringLiteral("abcde");
        QTest::newRow("quote and backslash go") << QStringLiteral("\"x\\y\"") << QStringLiteral("xy");
        QTest::newRow("dot and question mark stay") << QStringLiteral("x.y?") << QStringLiteral("x.y?");
        QTest::newRow("blanks and slash untouched") << QStringLiteral(" a/b. ") << QStringLiteral(" a/b. ");
    }
    void cleanFolderName()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(CleanFolderName(name), expected);
    }

    void safeComponent_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("rules");
        QTest::addColumn<QString>("expected");
        const int posix = int(FileSystemRules::Posix);
        const int windows = int(FileSystemRules::Windows);
        QTest::newRow("parent escape") << QStringLiteral("../x") << posix << QStringLiteral("..x");
        QTest::newRow("slash") << QStringLiteral("a/b") << posix << QStringLiteral("ab");
        QTest::newRow("backslash") << QStringLiteral("a\\b") << posix << QStringLiteral("ab");
        QTest::newRow("dot dot") << QStringLiteral("..") << posix << QStringLiteral("_");
        QTest::newRow("dot") << QStringLiteral(".") << posix << QStringLiteral("_");
        QTest::newRow("empty") << QString() << posix << QStringLiteral("_");
        QTest::newRow("only separators") << QStringLiteral("/\\/") << posix << QStringLiteral("_");
        QTest::newRow("becomes dot dot") << QStringLiteral("./.") << posix << QStringLiteral("_");
        QTest::newRow("control characters")
            << QStringLiteral("a\tb\nc\x01\x7f\u0085d") << posix << QStringLiteral("abcd");
        QTest::newRow("hidden name kept") << QStringLiteral(".x") << posix << QStringLiteral(".x");
        QTest::newRow("lone surrogate replaced")
            << (QStringLiteral("a") + QChar(0xD800)) << posix << (QStringLiteral("a") + QChar(0xFFFD));
        QTest::newRow("windows refused characters")
            << QStringLiteral("a?b*c<d>\"e|f:g") << windows << QStringLiteral("abcdefg");
        QTest::newRow("windows trailing dots and blanks")
            << QStringLiteral("x. .") << windows << QStringLiteral("x");
        QTest::newRow("windows device name") << QStringLiteral("con") << windows << QStringLiteral("_con");
        QTest::newRow("windows device with extension")
            << QStringLiteral("LPT1.txt") << windows << QStringLiteral("_LPT1.txt");
        QTest::newRow("windows COM0 is no device")
            << QStringLiteral("COM0") << windows << QStringLiteral("COM0");
        QTest::newRow("windows only dots") << QStringLiteral("...") << windows << QStringLiteral("_");
        QTest::newRow("posix keeps device names") << QStringLiteral("con") << posix << QStringLiteral("con");
    }
    void safeComponent()
    {
        QFETCH(QString, name);
        QFETCH(int, rules);
        QFETCH(QString, expected);
        QCOMPARE(SafePathComponent(name, FileSystemRules(rules)), expected);
    }

    // The "_" in front of a device name must not push a name cut to the limit past it.
    void windowsDeviceNameWithinLimit_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("cut at the limit") << QStringLiteral("CON.") + QString(300, QLatin1Char('a'))
                                          << QStringLiteral("_CON.") + QString(250, QLatin1Char('a'));
        const QString a248(248, QLatin1Char('a'));
        QTest::newRow("shorter cut ends in a dot")
            << QStringLiteral("lpt1.") + a248 + QStringLiteral(".bbbb") << QStringLiteral("_lpt1.") + a248;
    }
    void windowsDeviceNameWithinLimit()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const QString safe = SafePathComponent(name, FileSystemRules::Windows);
        QCOMPARE(safe, expected);
        QVERIFY(safe.toUtf8().size() <= MaxNameBytes);
        QCOMPARE(SafePathComponent(safe, FileSystemRules::Windows), safe);
    }

    void pictureFileName_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("sequence");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        const int seq = int(NamingMode::SequenceAndName);
        const int only = int(NamingMode::NameOnly);
        QTest::newRow("sequence and name")
            << seq << 12 << QStringLiteral("abc") << QStringLiteral("12.abc.jpg");
        QTest::newRow("no leading zeros")
            << seq << 10 << QStringLiteral("name") << QStringLiteral("10.name.jpg");
        QTest::newRow("empty name, sequence") << seq << 7 << QString() << QStringLiteral("7._.jpg");
        QTest::newRow("empty name, name only") << only << 7 << QString() << QStringLiteral("_.jpg");
        QTest::newRow("extension kept, .jpg appended")
            << only << 1 << QStringLiteral("a.png") << QStringLiteral("a.png.jpg");
        QTest::newRow("hostile name stays a name")
            << only << 1 << QStringLiteral("../../etc/passwd") << QStringLiteral("....etcpasswd.jpg");
        QTest::newRow("dot dot name") << seq << 3 << QStringLiteral("..") << QStringLiteral("3._.jpg");
    }
    void pictureFileName()
    {
        QFETCH(int, mode);
        QFETCH(int, sequence);
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(PictureFileName(NamingMode(mode), sequence, name), expected);
    }

    void longNamesCutToByteLimit_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::newRow("ascii") << int(NamingMode::NameOnly) << QString(300, QLatin1Char('a'));
        QTest::newRow("three-byte characters")
            << int(NamingMode::SequenceAndName) << QString(200, QChar(0x76F8));
        QTest::newRow("four-byte characters")
            << int(NamingMode::NameOnly) << QStringLiteral("x😀").repeated(80);
        QTest::newRow("random suffix kept") << int(NamingMode::NameAndRandom) << QString(300, QChar(0x518C));
    }
    void longNamesCutToByteLimit()
    {
        QFETCH(int, mode);
        QFETCH(QString, name);
        const QString file = PictureFileName(NamingMode(mode), 123456, name);
        QVERIFY(file.endsWith(QLatin1String(".jpg")));
        QVERIFY2(IsWellFormedUtf8Name(file), qPrintable(file));
        // Nothing more is cut than needed: one more character would not fit.
        QVERIFY(file.toUtf8().size() > MaxNameBytes - 4);
        if (NamingMode(mode) == NamingMode::NameAndRandom)
            QVERIFY(QRegularExpression(QStringLiteral("\u518C[0-9E.-]{4,5}\\.jpg$")).match(file).hasMatch());
        QVERIFY(IsWellFormedUtf8Name(SafePathComponent(name)));
    }

    void randomDigitsText_data()
    {
        QTest::addColumn<float>("r");
        QTest::addColumn<QString>("expected");
        QTest::newRow("seven digits") << 0.7055475f << QStringLiteral("7055");
        QTest::newRow("short text padded") << 0.5f << QStringLiteral("5123");
        QTest::newRow("exponent form") << 9.9e-05f << QStringLiteral("9E-0");
        QTest::newRow("just at 0.0001") << 0.0001f << QStringLiteral("0001");
        QTest::newRow("zero") << 0.0f << QStringLiteral("12345");
        QTest::newRow("largest below one") << 0.99999994f << QStringLiteral("9999");
        QTest::newRow("leading zero decimal") << 0.0123f << QStringLiteral("0123");
    }
    void randomDigitsText()
    {
        QFETCH(float, r);
        QFETCH(QString, expected);
        QCOMPARE(RandomDigitsFromValue(r), expected);
    }

    void randomDigitsDrawnAnew()
    {
        QSet<QString> seen;
        for (int i = 0; i < 50; ++i) {
            const QString digits = RandomDigits();
            QVERIFY2(QRegularExpression(QStringLiteral("^[0-9E.-]{4,5}$")).match(digits).hasMatch(),
                     qPrintable(digits));
            seen.insert(digits);
        }
        QVERIFY(seen.size() > 10);
        const QString a = PictureFileName(NamingMode::NameAndRandom, 1, QStringLiteral("p"));
        QVERIFY(QRegularExpression(QStringLiteral("^p[0-9E.-]{4,5}\\.jpg$")).match(a).hasMatch());
    }

    // One run into one album folder: names given in list order, "(n)" for a stem
    // already given or reserved, whatever the case or the extension.
    void uniqueNames_data()
    {
        QTest::addColumn<QStringList>("reserved");
        QTest::addColumn<QStringList>("names"); // file names asked for, in list order
        QTest::addColumn<QStringList>("given");
        QStringList ten(10, QStringLiteral("同名.jpg"));
        QStringList tenGiven {QStringLiteral("同名.jpg")};
        for (int n = 2; n <= 10; ++n)
            tenGiven << QStringLiteral("同名 (%1).jpg").arg(n);
        QTest::newRow("ten same names") << QStringList() << ten << tenGiven;
        QTest::newRow("case and extension do not matter")
            << QStringList() << QStringList {"IMG.jpg", "img.heic", "Img.PNG", "other.jpg"}
            << QStringList {"IMG.jpg", "img (2).heic", "Img (3).PNG", "other.jpg"};
        QTest::newRow("reserved names are skipped")
            << QStringList {"a.jpg", "a (2).heic", "b (2).png"}
            << QStringList {"a.jpg", "b.jpg", "b.jpg", "a.jpg"}
            << QStringList {"a (3).jpg", "b.jpg", "b (3).jpg", "a (4).jpg"};
        QTest::newRow("a name that looks numbered")
            << QStringList() << QStringList {"x (2).jpg", "x.jpg", "x.jpg", "x (2).jpg"}
            << QStringList {"x (2).jpg", "x.jpg", "x (3).jpg", "x (2) (2).jpg"};
        QTest::newRow("dots inside the stem") << QStringList() << QStringList {"12.a.b.jpg", "12.a.b.webp"}
                                              << QStringList {"12.a.b.jpg", "12.a.b (2).webp"};
    }
    void uniqueNames()
    {
        QFETCH(QStringList, reserved);
        QFETCH(QStringList, names);
        QFETCH(QStringList, given);
        QStringList actual;
        UniqueFileNames giver;
        for (const QString &name : reserved)
            giver.reserve(name);
        for (const QString &name : names)
            actual << giver.takeFileName(name);
        QCOMPARE(actual, given);
    }

    // The stem is shortened so that name, number and the longest extension fit.
    void uniqueNamesKeepTheByteLimit()
    {
        const QString stem = QString(100, QChar(0x76F8)); // 300 bytes of UTF-8
        UniqueFileNames giver;
        const QString first = giver.take(stem);
        QCOMPARE(first, QString(83, QChar(0x76F8))); // 249 bytes + ".heic" fits
        QCOMPARE(giver.take(stem), QString(82, QChar(0x76F8)) + QStringLiteral(" (2)"));
        QStringList names;
        for (int n = 0; n < 12; ++n)
            names << giver.take(stem);
        QCOMPARE(names.last(), QString(81, QChar(0x76F8)) + QStringLiteral(" (14)"));
        for (const QString &name : names + QStringList {first})
            QVERIFY(IsWellFormedUtf8Name(name + QStringLiteral(".heic")));
        // A whole file name keeps its own extension, however long.
        const QString jpeg = giver.takeFileName(QString(300, QLatin1Char('b')) + QStringLiteral(".jpg"));
        QCOMPARE(jpeg, QString(251, QLatin1Char('b')) + QStringLiteral(".jpg"));
    }

    void albumFolderCreatesTwoLevels()
    {
        QTemporaryDir save;
        QVERIFY(save.isValid());
        const QString path = AlbumFolderPath(save.path(), QStringLiteral("12345"), QStringLiteral("a:b"));
        QCOMPARE(path, save.path() + QStringLiteral("/12345/ab"));
        QVERIFY(QFileInfo(path).isDir());
        // A name differing only in removed characters shares the folder.
        QCOMPARE(AlbumFolderPath(save.path(), QStringLiteral("12345"), QStringLiteral("ab")), path);
    }

    void albumFolderTrailingSeparatorAsTyped()
    {
        QTemporaryDir save;
        const QString path
            = AlbumFolderPath(save.path() + QLatin1Char('/'), QStringLiteral("1"), QStringLiteral("x"));
        QCOMPARE(path, save.path() + QStringLiteral("//1/x"));
        QVERIFY(QFileInfo(save.path() + QStringLiteral("/1/x")).isDir());
    }

    void albumFolderNeverMakesTheSaveFolder()
    {
        QTemporaryDir root;
        const QString missing = root.path() + QStringLiteral("/missing");
        const QString path = AlbumFolderPath(missing, QStringLiteral("1"), QStringLiteral("x"));
        QCOMPARE(path, missing + QStringLiteral("/1/x"));
        QVERIFY(!QFileInfo::exists(missing));
        AlbumFolderPath(root.path(), QStringLiteral("1"), QStringLiteral("x"), false);
        QVERIFY(!QFileInfo::exists(root.path() + QStringLiteral("/1")));
        // An empty save folder is a missing one, not the file system's root.
        QCOMPARE(AlbumFolderPath(QString(), QStringLiteral("1"), QStringLiteral("x")),
                 QStringLiteral("/1/x"));
    }

    // Whatever the names hold, the picture lands directly inside its album folder,
    // which lies directly inside the owner folder under the save folder.
    void hostileNamesStayInsideTheAlbumFolder()
    {
        QTemporaryDir save;
        QStringList names {
            QStringLiteral("../x"),     QStringLiteral("a/b"),
            QStringLiteral(".."),       QString(),
            QStringLiteral("."),        QStringLiteral("/"),
            QStringLiteral("\\..\\.."), QStringLiteral("..") + QChar(0) + QStringLiteral("/.."),
            QStringLiteral(".\n."),     QStringLiteral("a:/b")};
        const QString alphabet = QStringLiteral("./\\:*\"<>|?a\x01\u76F8");
        QRandomGenerator rng(20240611);
        for (int i = 0; i < 300; ++i) {
            QString name;
            const int length = rng.bounded(8);
            for (int j = 0; j < length; ++j)
                name += alphabet.at(rng.bounded(alphabet.size()));
            names += name;
        }
        const QString root = QDir(save.path()).canonicalPath();
        for (const QString &album : std::as_const(names)) {
            const QString folder = AlbumFolderPath(save.path(), QStringLiteral("..") + album, album);
            QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));
            const QString canonical = QFileInfo(folder).canonicalFilePath();
            QCOMPARE(QFileInfo(QFileInfo(canonical).path()).path(), root);
            for (const QString &picture : {album, names.at(rng.bounded(names.size()))}) {
                for (const NamingMode mode :
                     {NamingMode::SequenceAndName, NamingMode::NameOnly, NamingMode::NameAndRandom}) {
                    const QString file = PictureFileName(mode, 1, picture);
                    QVERIFY(!file.contains(QLatin1Char('/')));
                    QVERIFY(file != QLatin1String(".") && file != QLatin1String(".."));
                    QCOMPARE(QFileInfo(QDir::cleanPath(canonical + QLatin1Char('/') + file)).path(),
                             canonical);
                }
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSaveLayout)
#include "TestSaveLayout.moc"
