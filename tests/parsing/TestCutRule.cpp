#include "qzone/CutRule.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace albivex;

class TestCutRule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void values_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("in answer order") << QStringLiteral("{\"k\" : \"a\", \"x\" : 1, \"k\" : \"b\",}")
                                         << QStringLiteral("k") << QStringList {"a", "b"};
        QTest::newRow("value cut at its own comma")
            << QStringLiteral("\"k\" : \"a,b\", \"k\" : 3,") << QStringLiteral("k") << QStringList {"a", "3"};
        QTest::newRow("piece without comma is empty") << QStringLiteral("\"k\" : \"a\" } \"k\" : \"b\" }")
                                                      << QStringLiteral("k") << QStringList {"", ""};
        // The comma must be looked for only up to the next marker of the key.
        QTest::newRow("comma after next marker belongs to that piece")
            << QStringLiteral("\"k\" : abc\"k\" : d,") << QStringLiteral("k") << QStringList {"", "d"};
        QTest::newRow("every quote dropped, backslashes stay")
            << QStringLiteral("\"k\" : \"say \\\"hi\\\"\",") << QStringLiteral("k")
            << QStringList {QStringLiteral("say \\hi\\")};
        QTest::newRow("longer key is another key")
            << QStringLiteral("\"desc2\" : x, \"desc\" : y,") << QStringLiteral("desc") << QStringList {"y"};
        QTest::newRow("key must be quoted and spaced")
            << QStringLiteral("k : 1, \"k\": 2, \"K\" : 3,") << QStringLiteral("k") << QStringList {};
        QTest::newRow("empty answer") << QString() << QStringLiteral("k") << QStringList {};
        QTest::newRow("marker at the very end")
            << QStringLiteral("\"k\" : 1, \"k\" : ") << QStringLiteral("k") << QStringList {"1", ""};
    }
    void values()
    {
        QFETCH(QString, answer);
        QFETCH(QString, key);
        QFETCH(QStringList, expected);
        QCOMPARE(CutValues(answer, key), expected);
        QCOMPARE(CountKey(answer, key), expected.size());
        const QList<QStringView> pieces = CutPieces(answer, key);
        QCOMPARE(pieces.size(), expected.size());
        for (qsizetype i = 0; i < pieces.size(); ++i)
            QCOMPARE(PieceValue(pieces.at(i)), expected.at(i));
    }

    void scalarValues_data()
    {
        QTest::addColumn<QString>("piece");
        QTest::addColumn<QString>("scalar");
        QTest::addColumn<bool>("flag");
        QTest::newRow("quoted, commas inside") << "\"a, b\",\n"
                                               << "a, b" << false;
        QTest::newRow("escaped quote stays escaped") << " \"say \\\"hi\\\"\" }"
                                                     << "say \\\"hi\\\"" << false;
        QTest::newRow("unclosed quote runs to the end") << "\"abc "
                                                        << "abc" << false;
        QTest::newRow("number, last of its object") << "2 }, {"
                                                    << "2" << false;
        QTest::newRow("1") << "1,"
                           << "1" << true;
        QTest::newRow("quoted 1") << "\"1\","
                                  << "1" << true;
        QTest::newRow("true") << "true\n}"
                              << "true" << true;
        QTest::newRow("quoted true") << "\"true\","
                                     << "true" << false;
        QTest::newRow("10") << "10,"
                            << "10" << false;
        QTest::newRow("empty") << ""
                               << "" << false;
    }
    void scalarValues()
    {
        QFETCH(QString, piece);
        QFETCH(QString, scalar);
        QFETCH(bool, flag);
        QCOMPARE(ScalarPieceValue(piece), scalar);
        QCOMPARE(IsSetFlag(piece), flag);
    }

    void countOccurrences()
    {
        QCOMPARE(CountOccurrences(u"aaaa", u"aa"), 2);
        QCOMPARE(CountOccurrences(u"createtime createtimes", u"createtime"), 2);
        QCOMPARE(CountOccurrences(u"abc", u""), 0);
        QCOMPARE(CountOccurrences(u"", u"a"), 0);
    }

    // The one-pass cut of several keys must agree with cutting each key alone, also
    // for keys that are prefixes of one another or of the marker's own characters.
    void severalKeysAgreeWithOneKey()
    {
        const QStringList fragments {"\"", "a", "ab", "\" : ", ",", " ", ":", "\\", "\"a\" : ", "\"ab\" : "};
        const QList<QStringView> keys {u"a", u"ab", u"b", u"", u"\" : ", u"a\" : \"a"};
        QRandomGenerator rng(7);
        for (int round = 0; round < 2000; ++round) {
            QString answer;
            const int length = rng.bounded(30);
            for (int i = 0; i < length; ++i)
                answer += fragments.at(rng.bounded(fragments.size()));
            const QList<QList<QStringView>> together = CutPiecesOfKeys(answer, keys);
            QCOMPARE(together.size(), keys.size());
            for (qsizetype j = 0; j < keys.size(); ++j)
                QCOMPARE(together.at(j), CutPieces(answer, keys.at(j)));
        }
    }

    // 100,000 keys whose pieces hold no comma: a cut that scans past its piece for the
    // comma, or searches from the start for every item, takes minutes here.
    void linearOnManyKeysWithoutCommas()
    {
        QString answer;
        const int keys = 100000;
        for (int i = 0; i < keys; ++i)
            answer += QStringLiteral("\"k\" : \"value number %1\" } { ").arg(i);
        answer += QLatin1Char(',');
        QElapsedTimer timer;
        timer.start();
        const QStringList values = CutValues(answer, u"k");
        QCOMPARE(values.size(), keys);
        QCOMPARE(values.first(), QString());
        QCOMPARE(values.last(), QStringLiteral("value number 99999 } { "));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(TestCutRule)
#include "TestCutRule.moc"
