#include "standin/StandinData.h"
#include "standin/StandinServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

using namespace albivex::standin;

namespace {

QString albumLines(const QString &title, const AlbumFacts *albums, int count)
{
    QString text = QLatin1Char('\n') + title + QStringLiteral(":\n");
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("  %1  %2 pictures  %3\n")
                    .arg(QLatin1String(albums[i].id))
                    .arg(albums[i].pictures)
                    .arg(QString::fromUtf8(albums[i].name));
    return text;
}

QString dataSetText()
{
    QString text = QStringLiteral(
                       "Stand-in for the QQ and Qzone services and the vendor site, on 127.0.0.1.\n"
                       "Everything is described in tools/standin/README.md.\n\n"
                       "Fixed QQ numbers:\n"
                       "  %1  usual number to sign in with (any number that signs in owns the main space)\n"
                       "  %2  second space (小明), two albums (today: a third, V2private, not to be opened)\n"
                       "  %3  third space (小红): videos, a question album and a password album\n"
                       "  %4  space closed to others (error answer)\n"
                       "  %5  profile without nickname\n"
                       "Any password signs in, except \"wrong\".\n")
                       .arg(QLatin1String(MainUin), QLatin1String(SecondUin), QLatin1String(ThirdUin),
                            QLatin1String(ClosedUin), QLatin1String(NoNicknameUin));
    text += albumLines(QStringLiteral("Main space albums"), MainAlbums, MainAlbumCount);
    text += albumLines(QStringLiteral("Third space albums"), ThirdAlbums, int(std::size(ThirdAlbums)));
    text += QStringLiteral("  question \"%1\", answer \"%2\"; password \"%3\"\n")
                .arg(QString::fromUtf8(AlbumQuestion), QString::fromUtf8(AlbumQuestionAnswer),
                     QString::fromUtf8(AlbumPassword));
    text += QStringLiteral(
        "\nProfiles (--profile): default answers as the first protocol; today: no album list without\n"
        "  p_skey (set by /qzone/v5/loginsucc.html) and g_tk over it, album lists in pages of 30,\n"
        "  qq_photo_key from the photo lists for other spaces' pictures (else a placeholder GIF),\n"
        "  the private album V2private, \\u escapes in picture names and descriptions.\n"
        "Paths: /cgi-bin/xlogin, /cgi-bin/login, /qzone/v5/loginsucc.html, /fcgi-bin/fcg_list_album_v3,\n"
        "  /p/shalist.photo/fcgi-bin/fcg_list_album_v2, /fcgi-bin/cgi_list_photo,\n"
        "  /p/shplist.photo/fcgi-bin/cgi_list_photo,\n"
        "  /proxy/domain/photo.qzone.qq.com/fcgi-bin/cgi_floatview_photo_list_v2,\n"
        "  /photo/{a,m,b,c,r,o}/..., /video/<album>/<key>.mp4 (Referer: the owner's infocenter page),\n"
        "  /rsc/fcgi-bin/3g_profile_homepage, /headimg_dl, /version/main.txt,\n"
        "  /proxy/domain/taotao.qq.com/cgi-bin/emotion_cgi_msglist_v6 (uin, pos, num: at most 20),\n"
        "  /proxy/domain/taotao.qq.com/cgi-bin/emotion_cgi_msgdetail_v6 (uin, tid), "
        "/mood/{b,c,s,v}/<tid>/...\n"
        "说说: the main space has 25 posts (text, 1, 9 and 12 pictures, a video, a repost, a cut long\n"
        "  text, comments with replies and a picture, a place, a lost picture); %6 refuses (-10031),\n"
        "  %7 keeps them secret (-10033), %8 lists 10 of 30 (then msglist null).\n"
        "Rate (--rate N): N requests per one-second window over the lists, floatview, pictures and\n"
        "  videos; beyond it lists answer code -10049 and pictures and videos 429 (Retry-After: 1).\n"
        "Throttle (--throttle COUNT:SECONDS): after every COUNT of those requests served, each of them\n"
        "  is turned away for SECONDS (lists and floatview code -10001, pictures and videos 429 with\n"
        "  Retry-After); turned-away requests do not count; each window is logged on stderr.\n"
        "\nFault rules (--fault, repeatable): PATH=KIND[:ARG][@TIMES]; PATH ending in * is a prefix.\n"
        "  KIND: a status code (ARG: Retry-After seconds), latency:MS, cut, chunked-cut, long,\n"
        "  empty, html, stall-headers, stall, close, huge-list[:BYTES], many-createtime[:N],\n"
        "  unbalanced, charset:NAME, code:N (the service's error answer of code N, e.g. -3000,\n"
        "  -10000, -10001, -10049), placeholder (the placeholder GIF).\n"
        "  Examples: --fault '/photo/b/*=503@2' --fault '/fcgi-bin/fcg_list_album_v3=code:-10049@2'\n"
        "Extra albums (--extra-album, repeatable): COUNT:BYTES[:BIG_INDEX:BIG_BYTES][xREPEAT], ids V1extra1, "
        "...;\n"
        "  xREPEAT adds the album that many times, names numbered (--extra-album 2:4096x100: a space of\n"
        "  112 albums).\n"
        "Extra 说说 (--extra-moods COUNT:PICTURES, repeatable): COUNT more posts in the main space, older\n"
        "  than the others, with PICTURES small pictures each.\n"
        "Extra 留言板 (--extra-board COUNT): COUNT more plain messages on the main space's board, older "
        "than\n"
        "  the others; every tenth shows a picture.");
    return text.arg(QLatin1String(ClosedUin), QLatin1String(SecretMoodsUin), QLatin1String(SealedMoodsUin));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("albivex-standin"));

    QCommandLineParser parser;
    parser.setApplicationDescription(dataSetText());
    parser.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Port; 0 picks a free one."),
                                        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption profileOption(
        QStringLiteral("profile"), QStringLiteral("default (the first protocol) or today (see above)."),
        QStringLiteral("NAME"), QStringLiteral("default"));
    const QCommandLineOption latencyOption(QStringLiteral("latency-ms"),
                                           QStringLiteral("Delay before every answer."), QStringLiteral("N"),
                                           QStringLiteral("0"));
    const QCommandLineOption rateOption(
        QStringLiteral("rate"),
        QStringLiteral("Requests per one-second window over the lists, floatview, "
                       "pictures and videos; 0: no limit."),
        QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption versionOption(QStringLiteral("version-text"),
                                           QStringLiteral("Content of /version/main.txt."),
                                           QStringLiteral("TEXT"));
    const QCommandLineOption logOption(QStringLiteral("request-log"),
                                       QStringLiteral("Append one line per request to FILE."),
                                       QStringLiteral("FILE"));
    const QCommandLineOption faultOption(QStringLiteral("fault"), QStringLiteral("A fault rule (see above)."),
                                         QStringLiteral("PATH=KIND"));
    const QCommandLineOption extraOption(QStringLiteral("extra-album"),
                                         QStringLiteral("An extra album (see above)."),
                                         QStringLiteral("COUNT:BYTES"));
    const QCommandLineOption throttleOption(
        QStringLiteral("throttle"), QStringLiteral("Throttle after COUNT requests for SECONDS (see above)."),
        QStringLiteral("COUNT:SECONDS"));
    const QCommandLineOption extraMoodsOption(QStringLiteral("extra-moods"),
                                              QStringLiteral("Extra 说说 in the main space (see above)."),
                                              QStringLiteral("COUNT:PICTURES"));
    const QCommandLineOption extraBoardOption(
        QStringLiteral("extra-board"), QStringLiteral("Extra 留言板 messages in the main space (see above)."),
        QStringLiteral("COUNT"));
    parser.addOptions({portOption, profileOption, latencyOption, rateOption, throttleOption, versionOption,
                       logOption, faultOption, extraOption, extraMoodsOption, extraBoardOption});
    parser.process(app);

    const auto fail = [](const QString &message) {
        std::fprintf(stderr, "albivex-standin: %s\n", qPrintable(message));
        return 2;
    };
    bool ok = false;
    const uint port = parser.value(portOption).toUInt(&ok);
    if (!ok || port > 65535)
        return fail(QStringLiteral("bad --port"));
    const int latency = parser.value(latencyOption).toInt(&ok);
    if (!ok || latency < 0)
        return fail(QStringLiteral("bad --latency-ms"));

    const int rate = parser.value(rateOption).toInt(&ok);
    if (!ok || rate < 0)
        return fail(QStringLiteral("bad --rate"));
    const QString profile = parser.value(profileOption);
    if (profile != QLatin1String("default") && profile != QLatin1String("today"))
        return fail(QStringLiteral("bad --profile"));

    StandinServer server;
    StandinKnobs &knobs = server.knobs();
    knobs.setProfile(profile == QLatin1String("today") ? Profile::Today : Profile::Default);
    knobs.setLatencyMs(latency);
    knobs.setRate(rate);
    if (parser.isSet(throttleOption)) {
        const QStringList parts = parser.value(throttleOption).split(QLatin1Char(':'));
        bool countOk = false;
        bool secondsOk = false;
        const int count = parts.value(0).toInt(&countOk);
        const int seconds = parts.value(1).toInt(&secondsOk);
        if (parts.size() != 2 || !countOk || !secondsOk || count < 1 || seconds < 0)
            return fail(QStringLiteral("bad --throttle"));
        knobs.setThrottle(count, seconds);
    }
    if (parser.isSet(versionOption))
        knobs.setVersionText(parser.value(versionOption));
    if (parser.isSet(logOption) && !knobs.setRequestLogFile(parser.value(logOption)))
        return fail(QStringLiteral("cannot open the request log ") + parser.value(logOption));
    for (const QString &option : parser.values(faultOption)) {
        const auto rule = FaultRule::parse(option);
        if (!rule)
            return fail(QStringLiteral("bad --fault ") + option);
        knobs.addFault(*rule);
    }
    QStringList extraIds;
    for (const QString &option : parser.values(extraOption)) {
        const int times = option.indexOf(QLatin1Char('x'));
        bool repeatOk = true;
        const int repeat = times < 0 ? 1 : option.mid(times + 1).toInt(&repeatOk);
        const QStringList parts = option.left(times).split(QLatin1Char(':'));
        ExtraAlbum album;
        bool countOk = false, bytesOk = false, bigOk = true, bigBytesOk = true;
        album.pictureCount = parts.value(0).toInt(&countOk);
        album.pictureBytes = parts.value(1).toLongLong(&bytesOk);
        if (parts.size() == 4) {
            album.bigPictureIndex = parts.value(2).toInt(&bigOk);
            album.bigPictureBytes = parts.value(3).toLongLong(&bigBytesOk);
        }
        if (!countOk || !bytesOk || !bigOk || !bigBytesOk || !repeatOk || repeat < 1
            || (parts.size() != 2 && parts.size() != 4))
            return fail(QStringLiteral("bad --extra-album ") + option);
        extraIds.append(knobs.addExtraAlbums(album, repeat));
    }

    for (const QString &option : parser.values(extraMoodsOption)) {
        const QStringList parts = option.split(QLatin1Char(':'));
        bool countOk = false;
        bool picturesOk = false;
        const int count = parts.value(0).toInt(&countOk);
        const int pictures = parts.value(1).toInt(&picturesOk);
        if (parts.size() != 2 || !countOk || !picturesOk || count < 1 || pictures < 0)
            return fail(QStringLiteral("bad --extra-moods ") + option);
        knobs.addExtraMoods(count, pictures);
    }

    if (parser.isSet(extraBoardOption)) {
        const int count = parser.value(extraBoardOption).toInt(&ok);
        if (!ok || count < 1)
            return fail(QStringLiteral("bad --extra-board ") + parser.value(extraBoardOption));
        knobs.addExtraBoard(count);
    }

    if (!server.listen(quint16(port)))
        return fail(QStringLiteral("cannot listen on 127.0.0.1:%1").arg(port));
    std::printf("listening on %s\n", qPrintable(server.root()));
    for (const QString &id : extraIds)
        std::printf("extra album %s\n", qPrintable(id));
    std::fflush(stdout);
    return app.exec();
}
