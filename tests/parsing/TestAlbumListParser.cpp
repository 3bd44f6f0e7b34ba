#include "qzone/AlbumAnswer.h"
#include "qzone/AlbumListParser.h"
#include "qzone/AnswerVerdict.h"
#include "qzone/LocaleText.h"
#include "standin/AlbumListAnswer.h"
#include "standin/DataSet.h"
#include "standin/ErrorAnswer.h"

#include <QRegularExpression>
#include <QtTest>

#include <time.h>

using namespace albivex;
namespace sd = albivex::standin;

namespace {

const QLocale Chinese(QLocale::Chinese, QLocale::China);

struct RawAlbum
{
    QString createtime, desc, id, name, pre, total;
    QString allowAccess = QStringLiteral("1");
};

// An album object as the service writes it, keys in its order.
QString AlbumObject(const RawAlbum &a)
{
    return QStringLiteral("{\n \"allowAccess\" : %7,\n \"createtime\" : %1,\n \"desc\" : \"%2\",\n"
                          " \"id\" : \"%3\",\n \"name\" : \"%4\",\n \"pre\" : \"%5\",\n \"total\" : %6,\n}")
        .arg(a.createtime, a.desc, a.id, a.name, a.pre, a.total, a.allowAccess);
}

QString Answer(const QList<RawAlbum> &albums)
{
    QString answer
        = QStringLiteral("shine0_Callback({\n\"code\" : 0,\n\"data\" : {\n\"albumListModeSort\" : [\n");
    for (const RawAlbum &a : albums)
        answer += AlbumObject(a) + QLatin1String(",\n");
    return answer + QStringLiteral("]}});");
}

} // namespace

class TestAlbumListParser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Eleven hours west of UTC: any use of the machine's zone moves the dates below.
    void initTestCase()
    {
        qputenv("TZ", "<-11>11");
        tzset();
        QCOMPARE(QDateTime(QDate(2015, 12, 23), QTime(0, 0)).offsetFromUtc(), -11 * 3600);
    }

    void threeAlbumsInAnswerOrder()
    {
        const QList<AlbumEntry> albums = ParseAlbumList(
            Answer({{"1423458015", "first", "V1", "One", "http:\\/\\/p.qq.com\\/a\\/1", "12"},
                    {"1450800000", "", "V2", "Two", "", "0"},
                    {"1450879334", "third\\ndesc", "V3", "Three", "u", "7"}}),
            Chinese);
        QCOMPARE(albums.size(), 3);
        const AlbumEntry &a = albums.at(0);
        QCOMPARE(a.position, 1);
        QCOMPARE(a.name, QStringLiteral("One"));
        QCOMPARE(a.createdText, QStringLiteral("2015/2/9 13:00:15"));
        QCOMPARE(a.pictureCount, QStringLiteral("12"));
        QCOMPARE(a.albumId, QStringLiteral("V1"));
        QCOMPARE(a.coverUrl, QStringLiteral("http://p.qq.com/m/1"));
        QCOMPARE(a.description, QStringLiteral("first"));
        QCOMPARE(a.downloadState, QString());
        QVERIFY(!a.isChecked);
        QCOMPARE(albums.at(1).position, 2);
        QCOMPARE(albums.at(1).createdText, QStringLiteral("2015/12/23"));
        QCOMPARE(albums.at(1).description, QString());
        QCOMPARE(albums.at(2).position, 3);
        QCOMPARE(albums.at(2).name, QStringLiteral("Three"));
        QCOMPARE(albums.at(2).description, QStringLiteral("third desc"));
        QCOMPARE(albums.at(2).createdText, QStringLiteral("2015/12/23 22:02:14"));
    }

    void fieldRules_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("expected");
        QTest::newRow("escaped name") << "name" << QStringLiteral("\\u76F8\\u518C") << QStringLiteral("相册");
        QTest::newRow("plain name unchanged") << "name" << QStringLiteral("My \\t album") << "My \\t album";
        QTest::newRow("name cut at comma") << "name" << QStringLiteral("a,b") << QStringLiteral("a");
        QTest::newRow("desc backslash-n to blank, escaped slash gone")
            << "desc" << QStringLiteral("x\\ny p\\/q") << QStringLiteral("x y pq");
        QTest::newRow("desc other escapes stay")
            << "desc" << QStringLiteral("a\\tb") << QStringLiteral("a\\tb");
        QTest::newRow("cover every /a/ to /m/")
            << "pre" << QStringLiteral("http:\\/\\/h\\/a\\/x\\/a\\/y") << QStringLiteral("http://h/m/x/m/y");
        QTest::newRow("cover /a/ formed by unescaping")
            << "pre" << QStringLiteral("h\\/a\\/b/a/c") << QStringLiteral("h/m/b/m/c");
        QTest::newRow("createtime not a number") << "createtime" << QStringLiteral("\"soon\"") << QString();
        QTest::newRow("createtime midnight")
            << "createtime" << QStringLiteral("1450800000") << QStringLiteral("2015/12/23");
        QTest::newRow("createtime one second past")
            << "createtime" << QStringLiteral("1450800001") << QStringLiteral("2015/12/23 00:00:01");
        QTest::newRow("createtime epoch is 08:00")
            << "createtime" << QStringLiteral("0") << QStringLiteral("1970/1/1 08:00:00");
        QTest::newRow("allowAccess 0 closes") << "allowAccess" << QStringLiteral(" 0 ") << "closed";
        QTest::newRow("allowAccess 1 opens") << "allowAccess" << QStringLiteral("1") << "open";
        QTest::newRow("allowAccess empty opens") << "allowAccess" << QString() << "open";
        QTest::newRow("allowAccess 00 opens") << "allowAccess" << QStringLiteral("00") << "open";
    }
    void fieldRules()
    {
        QFETCH(QString, field);
        QFETCH(QString, raw);
        QFETCH(QString, expected);
        RawAlbum album {"1423458015", "d", "V1", "n", "p", "1"};
        if (field == QLatin1String("name"))
            album.name = raw;
        else if (field == QLatin1String("desc"))
            album.desc = raw;
        else if (field == QLatin1String("pre"))
            album.pre = raw;
        else if (field == QLatin1String("allowAccess"))
            album.allowAccess = raw;
        else
            album.createtime = raw;
        const QList<AlbumEntry> albums = ParseAlbumList(Answer({album}), Chinese);
        QCOMPARE(albums.size(), 1);
        const AlbumEntry &a = albums.first();
        const QString actual = field == QLatin1String("name") ? a.name
            : field == QLatin1String("desc")                  ? a.description
            : field == QLatin1String("pre")                   ? a.coverUrl
            : field == QLatin1String("allowAccess") ? QString::fromLatin1(a.allowAccess ? "open" : "closed")
                                                    : a.createdText;
        QCOMPARE(actual, expected);
    }

    // Every locale's long time format carries a zone token somewhere; it never shows.
    void timeOfDayWithoutZone_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zh_CN zone first") << Chinese << QStringLiteral("13:00:15");
        QTest::newRow("C zone last") << QLocale::c() << QStringLiteral("13:00:15");
        QTest::newRow("es zone in brackets")
            << QLocale(QLocale::Spanish, QLocale::Spain) << QStringLiteral("13:00:15");
        QTest::newRow("en_US keeps AM/PM")
            << QLocale(QLocale::English, QLocale::UnitedStates) << QStringLiteral("1:00:15 PM");
    }
    void timeOfDayWithoutZone()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        QCOMPARE(TimeOfDayText(QTime(13, 0, 15), locale), expected);
    }

    // The class view: blocks of albums, a block without any (null), keys around the
    // lists; album 2 lacks one key in turn and albums 1 and 3 keep every value.
    void classViewItemByItem_data()
    {
        QTest::addColumn<QString>("drop");
        for (const char *key : {"", "createtime", "desc", "id", "name", "pre", "total", "allowAccess"})
            QTest::newRow(*key ? key : "every key") << QString::fromLatin1(key);
    }
    void classViewItemByItem()
    {
        QFETCH(QString, drop);
        const auto album = [&](int n, bool dropHere) {
            QString object
                = AlbumObject({QString::number(1423458015 + n), QStringLiteral("d%1").arg(n),
                               QStringLiteral("V%1").arg(n), QStringLiteral("n%1").arg(n),
                               QStringLiteral("http:\\/\\/h\\/a\\/%1").arg(n), QString::number(n)});
            if (dropHere && !drop.isEmpty()) {
                const QRegularExpression line(QStringLiteral("\n \"%1\" : [^\n]*").arg(drop));
                object.remove(line);
            }
            return object;
        };
        const auto answer = [&](bool dropInSecond) {
            return QStringLiteral("shine0_Callback({\"code\" : 0, \"data\" : {\"albumListModeClass\" : [\n"
                                  "{\"classId\" : 1, \"albumList\" : [%1, %2], \"total\" : 9},\n"
                                  "{\"classId\" : 2, \"albumList\" : null, \"pre\" : \"x\"},\n"
                                  "{\"albumList\" : [%3]}],\n\"user\" : {\"name\" : \"owner\"},"
                                  " \"albumsInUser\" : 3}});")
                .arg(album(1, false), album(2, dropInSecond), album(3, false));
        };
        const auto dump = [](const AlbumEntry &a) {
            return QStringList({QString::number(a.position), a.name, a.createdText, a.pictureCount, a.albumId,
                                a.coverUrl, a.description, QString::number(a.allowAccess)})
                .join(u'|');
        };
        const QList<AlbumEntry> whole = ParseAlbumList(answer(false), Chinese);
        const QList<AlbumEntry> albums = ParseAlbumList(answer(true), Chinese);
        QCOMPARE(albums.size(), 3);
        QCOMPARE(whole.at(2).coverUrl, QStringLiteral("http://h/m/3"));
        QCOMPARE(dump(albums.at(0)), dump(whole.at(0)));
        QCOMPARE(dump(albums.at(2)), dump(whole.at(2)));
        const AlbumEntry &second = albums.at(1);
        QCOMPARE(second.position, 2);
        QCOMPARE(second.coverUrl, drop == QLatin1String("pre") ? QString() : whole.at(1).coverUrl);
        QCOMPARE(second.albumId, drop == QLatin1String("id") ? QString() : QStringLiteral("V2"));
        QCOMPARE(second.name, drop == QLatin1String("name") ? QString() : QStringLiteral("n2"));
        QCOMPARE(second.createdText.isEmpty(), drop == QLatin1String("createtime"));
        QCOMPARE(second.pictureCount, drop == QLatin1String("total") ? QString() : QStringLiteral("2"));
        QVERIFY(second.allowAccess);
    }

    // priv and question of each album; question stands only in the albums that have one.
    void access_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("expected"); // "priv:question" per album
        const sd::DataSet data;
        QTest::newRow("stand-in third space") << sd::AlbumListAnswer::list(
            QStringLiteral("shine0_Callback"), QStringLiteral("http://h"), data.albums(sd::Space::Third))
                                              << QStringList {"1:", "5:我的小学叫什么", "2:"};
        const auto album = [](const QString &priv, const QString &question) {
            return AlbumObject({"1423458015", "d", "V", "n", "p", "1"})
                .replace(QStringLiteral(" \"total\""), priv + question + QStringLiteral(" \"total\""));
        };
        const QString open = album(QStringLiteral(" \"priv\" : 1,\n"), QString());
        QTest::newRow("question only in the second album") << Answer({}).replace(
            QStringLiteral("]}}"),
            open + QStringLiteral(",") + album(" \"priv\" : 5,\n", " \"question\" : \"a, b\",\n")
                + QStringLiteral(",") + open + QStringLiteral("]}}"))
                                                           << QStringList {"1:", "5:a, b", "1:"};
        QTest::newRow("escaped question, priv last of its object") << Answer({}).replace(
            QStringLiteral("]}}"),
            album(QString(), QStringLiteral(" \"question\" : \"\\u95ee \\\"x\\\" a\\/b\",\n"))
                    .replace(QStringLiteral("\"total\" : 1,\n}"), QStringLiteral("\"priv\" : 5}"))
                + QStringLiteral("]}}")) << QStringList {"5:问 \"x\" a/b"};
        QTest::newRow("no priv") << Answer({{"1423458015", "d", "V", "n", "p", "1"}}) << QStringList {"0:"};
    }
    void access()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, expected);
        QStringList actual;
        for (const AlbumEntry &album : ParseAlbumList(answer, Chinese))
            actual << QStringLiteral("%1:%2").arg(album.priv).arg(album.question);
        QCOMPARE(actual, expected);
    }

    // MD5 values computed outside Qt (Python's hashlib over urllib's quote).
    void answerKeys_data()
    {
        QTest::addColumn<int>("priv");
        QTest::addColumn<QString>("userAnswer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("hash");
        QTest::newRow("question") << 5 << "实验小学"
                                  << "我的小学叫什么"
                                  << "68E7717D7926337E7D048635F840AE1F";
        QTest::newRow("question, reserved characters") << 5 << "a b+c/é"
                                                       << "我的小学叫什么"
                                                       << "A454CFA301ADBA4BA5916BBFFF775725";
        QTest::newRow("password") << 2 << "abc123"
                                  << ""
                                  << "e99a18c428cb38d5f260853678922e03";
        QTest::newRow("password, Chinese") << 2 << "密码"
                                           << ""
                                           << "a8105204604a0b11e916f3879aae3b0b";
        QTest::newRow("empty password") << 2 << ""
                                        << ""
                                        << "d41d8cd98f00b204e9800998ecf8427e";
        QTest::newRow("open album") << 1 << "abc123"
                                    << ""
                                    << "";
        QTest::newRow("private album") << 4 << "abc123"
                                       << ""
                                       << "";
    }
    void answerKeys()
    {
        QFETCH(int, priv);
        QFETCH(QString, userAnswer);
        QFETCH(QString, question);
        QFETCH(QString, hash);
        AlbumEntry album;
        album.priv = priv;
        album.question = QStringLiteral("我的小学叫什么");
        const AlbumAnswerKeys keys = AnswerKeys(album, userAnswer);
        QCOMPARE(keys.question, question);
        QCOMPARE(keys.answer, hash);
        QCOMPARE(NeedsAnswer(priv), !hash.isEmpty());
    }

    void wrongAnswer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("wrong");
        const QString callback = QStringLiteral("shine0_Callback");
        QTest::newRow("the service's refusal")
            << sd::ErrorAnswer::of(callback, sd::ErrorAnswer::WrongAnswer) << true;
        QTest::newRow("another error") << sd::ErrorAnswer::of(callback, sd::ErrorAnswer::NoAccess) << false;
        QTest::newRow("a list") << Answer({{"1", "d", "V", "n", "p", "1"}}) << false;
        QTest::newRow("code only further in")
            << QStringLiteral("{\"code\" : 0, \"x\" : {\"code\" : -10805,}}") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void wrongAnswer()
    {
        QFETCH(QString, answer);
        QFETCH(bool, wrong);
        QCOMPARE(IsWrongAnswer(answer), wrong);
    }

    void albumsInUser_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("total");
        QTest::newRow("after the list") << Answer({}) + QStringLiteral("\"albumsInUser\" : 112,\n") << 112;
        QTest::newRow("last key of its object") << QStringLiteral("{\"albumsInUser\" : 7}") << 7;
        QTest::newRow("first of two") << QStringLiteral("\"albumsInUser\" : 3, \"albumsInUser\" : 9,") << 3;
        QTest::newRow("missing") << Answer({}) << -1;
        QTest::newRow("not a number") << QStringLiteral("\"albumsInUser\" : \"many\",") << -1;
        QTest::newRow("overflows an int") << QStringLiteral("\"albumsInUser\" : 99999999999,") << -1;
        QTest::newRow("unquoted word is no key") << QStringLiteral("albumsInUser : 5,") << -1;
    }
    void albumsInUser()
    {
        QFETCH(QString, answer);
        QFETCH(int, total);
        QCOMPARE(AlbumsInUser(answer), total);
    }

    void answerVerdict_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("state");
        QTest::addColumn<int>("code"); // 1: no code read
        const auto error = [](int code) {
            return QStringLiteral("cb({\n   \"code\" : %1,\n   \"message\" : \"m\",\n   \"notice\" : 0,\n"
                                  "   \"subcode\" : %1\n});\n")
                .arg(code);
        };
        const int ok = int(AnswerState::Ok), expired = int(AnswerState::Expired),
                  busy = int(AnswerState::Busy);
        QTest::newRow("list") << 200 << Answer({{"1", "d", "V1", "n", "p", "1"}}) << ok << 0;
        QTest::newRow("-3000") << 200 << error(-3000) << expired << -3000;
        QTest::newRow("-10049") << 200 << error(-10049) << busy << -10049;
        QTest::newRow("-10000") << 200 << error(-10000) << busy << -10000;
        QTest::newRow("-10001") << 200 << error(-10001) << busy << -10001;
        QTest::newRow("-4009 closed space") << 200 << error(-4009) << ok << -4009;
        QTest::newRow("-10815 no access") << 200 << error(-10815) << ok << -10815;
        QTest::newRow("403") << 403 << QString() << expired << 1;
        QTest::newRow("429") << 429 << QString() << busy << 1;
        QTest::newRow("500") << 500 << QStringLiteral("<html>") << busy << 1;
        QTest::newRow("501") << 501 << QString() << busy << 1;
        QTest::newRow("502 is no verdict") << 502 << QString() << ok << 1;
        QTest::newRow("expired wins over busy") << 500 << error(-3000) << expired << -3000;
        QTest::newRow("no answer") << 0 << QString() << ok << 1;
        QTest::newRow("no blanks") << 200 << QStringLiteral("cb({\"code\":-3000})") << expired << -3000;
        QTest::newRow("code inside data does not count")
            << 200 << QStringLiteral("cb({\"data\" : {\"code\" : -3000}, \"code\" : 0})") << ok << 0;
        QTest::newRow("code in a string does not count")
            << 200 << QStringLiteral("cb({\"message\" : \"\\\"code\\\" : -3000\", \"x\" : 1})") << ok << 1;
        QTest::newRow("code as a value does not count")
            << 200 << QStringLiteral("cb({\"x\" : \"code\", \"y\" : -3000})") << ok << 1;
        QTest::newRow("only the first object")
            << 200 << QStringLiteral("cb({\"x\" : 1}); {\"code\" : -3000}") << ok << 1;
        QTest::newRow("first code decides")
            << 200 << QStringLiteral("{\"code\" : 0, \"code\" : -3000}") << ok << 0;
        QTest::newRow("code too large") << 200 << QStringLiteral("{\"code\" : -300000000000}") << ok << 1;
        QTest::newRow("cut after the code")
            << 200 << QStringLiteral("cb({\"code\" : -10049") << busy << -10049;
    }
    void answerVerdict()
    {
        QFETCH(int, status);
        QFETCH(QString, answer);
        QFETCH(int, state);
        QFETCH(int, code);
        const AnswerVerdict verdict = ReadAnswerVerdict(status, answer);
        QCOMPARE(int(verdict.state), state);
        QCOMPARE(verdict.code.value_or(1), code);
    }

    void noAlbums()
    {
        QVERIFY(ParseAlbumList(QString(), Chinese).isEmpty());
        QVERIFY(ParseAlbumList(QStringLiteral("{\"code\" : -3000, \"message\" : \"need login\",}"), Chinese)
                    .isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAlbumListParser)
#include "TestAlbumListParser.moc"
