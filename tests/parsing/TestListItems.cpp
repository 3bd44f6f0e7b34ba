#include "qzone/CutRule.h"
#include "qzone/ListItems.h"

#include <QtTest>

using namespace albivex;

class TestListItems : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The value rules inside an item, and which keys are the item's own.
    void values_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value"); // "<none>" when the item has no such key
        QTest::newRow("value cut at its own comma") << "\"k\" : \"a,b\", \"x\" : 1"
                                                    << "k"
                                                    << "a";
        QTest::newRow("every quote dropped, backslashes stay") << "\"k\" : \"say \\\"hi\\\"\","
                                                               << "k"
                                                               << "say \\hi\\";
        QTest::newRow("last key: no comma, trailing blanks dropped") << "\"x\" : 1, \"k\" : \"a b\" \n "
                                                                     << "k"
                                                                     << "a b";
        QTest::newRow("a key twice: the first value") << "\"k\" : 1, \"k\" : 2,"
                                                      << "k"
                                                      << "1";
        QTest::newRow("longer key is another key") << "\"desc2\" : x, \"desc\" : y,"
                                                   << "desc"
                                                   << "y";
        QTest::newRow("no blank around the colon") << "\"k\":7,\"x\":1"
                                                   << "k"
                                                   << "7";
        QTest::newRow("key of a nested block is not the item's") << "\"exif\" : {\"k\" : \"no\"}, \"x\" : 1"
                                                                 << "k"
                                                                 << "<none>";
        QTest::newRow("key text inside a string is no key") << "\"x\" : \"\\\"k\\\" : 1\","
                                                            << "k"
                                                            << "<none>";
        QTest::newRow("bare undefined") << "\"k\" : undefined, \"x\" : 1"
                                        << "k"
                                        << "undefined";
        QTest::newRow("escapes stay as written") << "\"k\" : \"p\\/q\\u76F8\\n\","
                                                 << "k"
                                                 << "p\\/q\\u76F8\\n";
        QTest::newRow("empty item") << ""
                                    << "k"
                                    << "<none>";
    }
    void values()
    {
        QFETCH(QString, item);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString answer = QStringLiteral("cb({\"list\" : [{") + item + QStringLiteral("}]});");
        const QList<ListItem> items = ReadListItems(answer, {u"list"});
        QCOMPARE(items.size(), 1);
        const ItemField *field = items.first().find(key);
        QCOMPARE(field ? ItemValue(field->piece) : QStringLiteral("<none>"), value);
    }

    // Which objects are items: those of the named lists, wherever the lists stand.
    void items_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("ids");
        QTest::newRow("JSONP wrapper, list after a block")
            << "cb({\"topic\" : {\"id\" : \"t\"}, \"list\" : [{\"id\" : 1}, {\"id\" : 2}]});"
            << QStringList {"1", "2"};
        QTest::newRow("null and scalars among the items")
            << "{\"list\" : [null, {\"id\" : 1}, 3, \"s\", {\"id\" : 2},]}" << QStringList {"1", "2"};
        QTest::newRow("lists nested in blocks, a null list")
            << "{\"blocks\" : [{\"list\" : [{\"id\" : 1}]}, {\"list\" : null}, {\"list\" : [{\"id\" : 2}]}]}"
            << QStringList {"1", "2"};
        QTest::newRow("a list inside an item is the item's")
            << "{\"list\" : [{\"id\" : 1, \"list\" : [{\"id\" : 9}]}]}" << QStringList {"1"};
        QTest::newRow("a list key as a value is no list")
            << "{\"x\" : \"list\", \"y\" : [{\"id\" : 1}]}" << QStringList {};
        QTest::newRow("stray closers are passed over")
            << "{\"list\" : [{\"id\" : 1, ] }, ] {\"id\" : 2}]}" << QStringList {"1"};
        QTest::newRow("cut short inside an item")
            << "{\"list\" : [{\"id\" : 1}, {\"id\" : 2" << QStringList {"1"};
        QTest::newRow("no list") << "{\"code\" : -3000}" << QStringList {};
    }
    void items()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, ids);
        QStringList actual;
        for (const ListItem &item : ReadListItems(answer, {u"list"})) {
            const ItemField *id = item.find(u"id");
            actual << (id ? ItemValue(id->piece) : QString());
        }
        QCOMPARE(actual, ids);
        QCOMPARE(HasListItem(answer, {u"list"}), !ids.isEmpty());
    }

    void decodeJsonText_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << "abc"
                               << "abc";
        QTest::newRow("escapes") << "a\\\"b\\\\c\\/d\\ne\\tf"
                                 << "a\"b\\c/d\ne\tf";
        QTest::newRow("unicode and a pair")
            << "\\u76F8\\ud83d\\ude00" << QString::fromUtf8("相\xF0\x9F\x98\x80");
        QTest::newRow("not an escape stays") << "\\x\\u12g4\\"
                                             << "\\x\\u12g4\\";
    }
    void decodeJsonText()
    {
        QFETCH(QString, token);
        QFETCH(QString, text);
        QCOMPARE(DecodeJsonText(token), text);
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

    // 100,000 items, every other one with a damaged string: each damage is weighed
    // over a bounded stretch, so the read stays linear (a quadratic one outlasts the
    // test's time limit).
    void manyDamagedItemsStayLinear()
    {
        QString answer = QStringLiteral("cb({\"list\" : [");
        const int items = 100000;
        for (int i = 0; i < items; ++i)
            answer += QStringLiteral("{\"d\" : \"x%1%2, \"id\" : %1},").arg(i).arg(i % 2 ? "\"" : "");
        answer += QStringLiteral("]});");
        const QList<ListItem> read = ReadListItems(answer, {u"list"});
        QCOMPARE(read.size(), items);
        QCOMPARE(ItemValue(read.last().find(u"id")->piece), QString::number(items - 1));
        QCOMPARE(ItemValue(read.at(items - 2).find(u"d")->piece), QStringLiteral("x%1").arg(items - 2));
    }
};

QTEST_GUILESS_MAIN(TestListItems)
#include "TestListItems.moc"
