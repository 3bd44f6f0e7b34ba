#include "qzone/AnswerVerdict.h"
#include "qzone/Endpoints.h"
#include "qzone/MoodListParser.h"
#include "qzone/MoodRequest.h"
#include "qzone/MoodVerdict.h"

#include <QtTest>

using namespace albivex;

namespace {

// JSON written with single quotes for double ones, which reads best here.
QString J(const char *text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('\''), QLatin1Char('"'));
}

// A list answer around the posts, in the page's own wrapper.
QString Page(const QStringList &posts, const QString &callback = QStringLiteral("_preloadCallback"))
{
    const QString json = J("{'code':0,'subcode':0,'message':'','total':57,'usrinfo':{'msgnum':57,"
                           "'name':'me'},'msglist':[")
        + posts.join(QLatin1Char(',')) + QStringLiteral("]}");
    return callback.isEmpty() ? json : callback + QLatin1Char('(') + json + QStringLiteral(");");
}

QString Dump(const QList<MoodPicture> &pictures)
{
    QStringList urls;
    for (const MoodPicture &p : pictures)
        urls << (p.isVideo ? p.url + QStringLiteral("~") + p.videoAddress() : p.url);
    return QLatin1Char('[') + urls.join(QLatin1Char(',')) + QLatin1Char(']');
}

QString Dump(const QList<MoodComment> &comments)
{
    QStringList out;
    for (const MoodComment &c : comments) {
        out << QStringList {c.tid,
                            c.uin,
                            c.name,
                            c.content,
                            QString::number(c.createTime),
                            c.createText,
                            Dump(c.pictures),
                            Dump(c.replies)}
                   .join(QLatin1Char('/'));
    }
    return QLatin1Char('{') + out.join(QLatin1Char(';')) + QLatin1Char('}');
}

// The post's non-empty fields as key=value, in a fixed order, with whether the list
// gave it short.
QString Dump(const MoodPost &p)
{
    QStringList out;
    const auto add = [&out](const char *key, const QString &value) {
        if (!value.isEmpty() && value != QLatin1String("0") && value != QLatin1String("[]")
            && value != QLatin1String("{}"))
            out << QLatin1String(key) + QLatin1Char('=') + value;
    };
    add("tid", p.tid);
    add("uin", p.uin);
    add("name", p.name);
    add("content", p.content);
    add("created", QString::number(p.createdTime));
    add("createText", p.createText);
    add("secret", QString::number(p.secret));
    add("source", p.sourceName);
    add("place",
        QStringList {p.placeName, p.placeId, p.placeX, p.placeY}
            .join(QLatin1Char('/'))
            .remove(QStringLiteral("///")));
    add("pics", Dump(p.pictures));
    add("pictotal", QString::number(p.pictureTotal));
    add("videos", Dump(p.videos));
    add("cmtnum", QString::number(p.commentTotal));
    add("comments", Dump(p.comments));
    add("more", QString::number(p.moreContent));
    add("rt",
        QStringList {p.rtTid, p.rtUin, p.rtName, p.rtCreateText, p.rtContent}
            .join(QLatin1Char('/'))
            .remove(QStringLiteral("////")));
    add("detail", QString::number(MoodNeedsDetail(p)));
    return out.join(QLatin1Char(' '));
}

} // namespace

// The 说说 services: their request forms, and the reading of their answers post by
// post, picture by picture, comment by comment.
class TestMoodListParser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void requestForms()
    {
        MoodListRequest list;
        list.uin = QStringLiteral("123456");
        list.gTk = QStringLiteral("5381");
        list.pos = 40;
        QCOMPARE(MoodListUrl(Endpoints(), list).toString(),
                 QStringLiteral("https://user.qzone.qq.com/proxy/domain/taotao.qq.com/cgi-bin/"
                                "emotion_cgi_msglist_v6?uin=123456&pos=40&num=20&g_tk=5381&format=jsonp"
                                "&ftype=0&sort=0&replynum=100&code_version=1&need_private_comment=1"
                                "&callback=_preloadCallback"));
        QCOMPARE(MoodDetailUrl(Endpoints(QStringLiteral("http://127.0.0.1:8123/")), QStringLiteral("123456"),
                               QStringLiteral("abc"), QStringLiteral("77"))
                     .toString(),
                 QStringLiteral("http://127.0.0.1:8123/proxy/domain/taotao.qq.com/cgi-bin/"
                                "emotion_cgi_msgdetail_v6?uin=123456&tid=abc&format=jsonp&g_tk=77"
                                "&not_trunc_con=1"));
        // Signed with the Qzone-host token, as every request to that host.
        QVERIFY(IsQzoneHost(Endpoint::MoodList));
        QVERIFY(IsQzoneHost(Endpoint::MoodDetail));
    }

    // One post with every key, as the page writes it (escaped slashes, numbers bare).
    void fullPost()
    {
        const QString post = J(
            "{'certified':0,'cmtnum':2,'commentlist':[{'content':'沙发','createTime':'2020年05月01日',"
            "'create_time':1588300000,'name':'小明','tid':1,'uin':111,'pic':[{'url2':'http:\\/\\/c\\/2'}],"
            "'list_3':[{'content':'谢谢','create_time':1588300100,'name':'测试者','tid':1,'uin':123456}]}],"
            "'content':'今天天气好','createTime':'2020年05月01日','created_time':1588291200,"
            "'editMask':4294967294,'has_more_con':0,'lbs':{'id':'','idname':'北京市海淀区',"
            "'name':'中关村','pos_x':'116.31','pos_y':'39.98'},'name':'测试者','pic':[{'height':1280,"
            "'pic_id':'p1','smallurl':'http:\\/\\/a\\/s1','url1':'http:\\/\\/a\\/m1','url2':'http:\\/\\/a\\/"
            "b1',"
            "'url3':'http:\\/\\/a\\/o1','width':960}],'pictotal':1,'secret':1,'source_name':'iPhone 11',"
            "'tid':'abc123','uin':123456,'video':[{'cover_url':'http:\\/\\/v\\/c.jpg','url3':'http:\\/\\/v\\/"
            "c3',"
            "'video_url':'http:\\/\\/v\\/v.mp4'}]}");
        const MoodListPage page = ParseMoodList(Page({post}));
        QCOMPARE(page.code, std::optional<int>(0));
        QCOMPARE(page.total, 57);
        QCOMPARE(page.postCount, 57);
        const MoodListPage odd = ParseMoodList(J("cb({'total':-7,'usrinfo':{'msgnum':'x'}})"));
        QCOMPARE(odd.total, -1); // a negative count is none
        QCOMPARE(odd.postCount, -1);
        QCOMPARE(page.posts.size(), 1);
        QCOMPARE(Dump(page.posts.at(0)),
                 J("tid=abc123 uin=123456 name=测试者 content=今天天气好 created=1588291200 "
                   "createText=2020年05月01日 secret=1 source=iPhone 11 "
                   "place=中关村/北京市海淀区/116.31/39.98 pics=[http://a/o1] pictotal=1 "
                   "videos=[http://v/c3~http://v/v.mp4] cmtnum=2 "
                   "comments={1/111/小明/沙发/1588300000/2020年05月01日/[http://c/2]/"
                   "{1/123456/测试者/谢谢/1588300100//[]/{}}}"));
        const MoodPicture &picture = page.posts.at(0).pictures.at(0);
        QCOMPARE(picture.picId, QStringLiteral("p1"));
        QCOMPARE(picture.smallUrl, QStringLiteral("http://a/s1"));
        QCOMPARE(picture.width, 960);
        QCOMPARE(picture.height, 1280);
        QCOMPARE(page.posts.at(0).videos.at(0).videoCover, QStringLiteral("http://v/c.jpg"));
    }

    void posts_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("posts"); // Dump of each post, in order
        const auto nine = [] {
            QStringList pics;
            for (int i = 1; i <= 9; ++i)
                pics << J("{'url1':'u%1'}").arg(i);
            return pics.join(QLatin1Char(','));
        }();
        QTest::newRow("repost") << Page({J("{'tid':'r1','content':'转发','rt_tid':'o9','rt_uin':555,"
                                           "'rt_uinname':'原作者','rt_createTime':'2019年01月01日',"
                                           "'rt_con':{'content':'原文, 带逗号'}}")})
                                << QStringList {
                                       J("tid=r1 content=转发 rt=o9/555/原作者/2019年01月01日/原文, 带逗号")};
        QTest::newRow("12 pictures, 9 listed")
            << Page({J("{'tid':'p','pictotal':12,'pic':[%1]}").arg(nine)})
            << QStringList {QStringLiteral("tid=p pics=[u1,u2,u3,u4,u5,u6,u7,u8,u9] pictotal=12 detail=1")};
        QTest::newRow("text cut short")
            << Page({J("{'tid':'a','content':'长文','has_more_con':1},{'tid':'b','has_more_con':0}")})
            << QStringList {J("tid=a content=长文 more=1 detail=1"), QStringLiteral("tid=b")};
        QTest::newRow("video in the pictures and in the video list")
            << Page({J("{'tid':'v','pic':[{'url1':'c1','is_video':1,'video_info':{'url3':'f.mp4',"
                       "'video_url':'p.mp4','cover_url':'c'}},{'url1':'c2','is_video':1,'video_info':"
                       "{'video_url':'p2.mp4'}}],'video':[{'url1':'c3','video_url':'p3.mp4'}]}")})
            << QStringList {QStringLiteral("tid=v pics=[c1~f.mp4,c2~p2.mp4] videos=[c3~p3.mp4]")};
        QTest::newRow("emoji kept, escapes decoded")
            << Page({J("{'tid':'e','content':'hi [em]e100[\\/em] \\u4f60\\'q\\'\\\\n\\/x'}")})
            << QStringList {J("tid=e content=hi [em]e100[/em] 你'q'\\n/x")};
        QTest::newRow("values as strings") << Page({J(
            "{'tid':'s','uin':'42','created_time':'1588291200','secret':'1','pictotal':'3','cmtnum':'7'}")})
                                           << QStringList {QStringLiteral("tid=s uin=42 created=1588291200 "
                                                                          "secret=1 pictotal=3 cmtnum=7 "
                                                                          "detail=1")};
        QTest::newRow("missing keys, null values")
            << Page({J("{'tid':'m'}"), J("{'content':null,'pic':null,'lbs':null,'rt_con':null}")})
            << QStringList {QStringLiteral("tid=m"), QString()};
        QTest::newRow("unknown keys and nesting skipped")
            << Page({J("{'zz':{'tid':'inner','pic':[{'url3':'bad'}]},'arr':[{'tid':'x',"
                       "'content':'no'}],'tid':'outer','conlist':[{'con':'c','type':2}],"
                       "'content':'yes'}"),
                     QStringLiteral("7"), QStringLiteral("null"), J("{'tid':'next'}")})
            << QStringList {QStringLiteral("tid=outer content=yes"), QStringLiteral("tid=next")};
        // Each item keeps its own values: picture 1 lacks url3 while picture 2 has it,
        // post 1 lacks the place and the repost that post 2 gives.
        QTest::newRow("never a neighbour's value")
            << Page({J("{'tid':'1','pic':[{'url1':'a1','url2':'a2'},{'url1':'b1','url2':'b2',"
                       "'url3':'b3'},{'url1':'c1'},{'pic_id':'http:\\/\\/d\\/id'},{'pic_id':'e'}]}"),
                     J("{'tid':'2','lbs':{'name':'n'},'rt_tid':'o'}")})
            << QStringList {QStringLiteral("tid=1 pics=[a2,b3,c1,http://d/id,]"),
                            QStringLiteral("tid=2 place=n rt=o")};
        QTest::newRow("msglist null")
            << J("_preloadCallback({'code':0,'total':5,'msglist':null});") << QStringList();
        QTest::newRow("bare JSON") << Page({J("{'tid':'b'}")}, QString())
                                   << QStringList {QStringLiteral("tid=b")};
        QTest::newRow("another callback")
            << Page({J("{'tid':'c'}")}, QStringLiteral("cb_42")) << QStringList {QStringLiteral("tid=c")};
    }
    void posts()
    {
        QFETCH(QString, answer);
        QFETCH(QStringList, posts);
        QStringList dumped;
        for (const MoodPost &post : ParseMoodList(answer).posts)
            dumped << Dump(post);
        QCOMPARE(dumped, posts);
    }

    // Replies come from their comment's own list_3, pictures from its own pic.
    void comments()
    {
        const QString answer
            = Page({J("{'tid':'t','commentlist':[{'tid':1,'content':'c1','list_3':[{'tid':1,'content':'r1',"
                      "'pic':[{'url3':'rp'}],'list_3':[{'tid':9}]},{'tid':2,'content':'r2'}]},"
                      "{'tid':2,'content':'c2 [em]e400[\\/em]','pic':[{'url1':'cp'}],'replies':[{'tid':3}]},"
                      "{'tid':3,'content':'c3','list_3':null}]}")});
        const QList<MoodPost> posts = ParseMoodList(answer).posts;
        QCOMPARE(posts.size(), 1);
        QCOMPARE(Dump(posts.at(0).comments),
                 QStringLiteral("{1///c1/0//[]/{1///r1/0//[rp]/{};2///r2/0//[]/{}};"
                                "2///c2 [em]e400[/em]/0//[cp]/{};3///c3/0//[]/{}}"));
    }

    void detail()
    {
        const MoodListPage page
            = ParseMoodDetail(J("_Callback({'code':0,'message':'','tid':'d1','content':'全文','pictotal':2,"
                                "'pic':[{'url2':'x'},{'url2':'y'}],'msglist':[{'tid':'no'}]});"));
        QCOMPARE(page.code, std::optional<int>(0));
        QCOMPARE(page.posts.size(), 1);
        QCOMPARE(Dump(page.posts.at(0)), J("tid=d1 content=全文 pics=[x,y] pictotal=2"));
        QVERIFY(ParseMoodDetail(J("_Callback({'code':-10031,'message':'主人设置保密'});")).posts.isEmpty());
    }

    void verdicts_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("kind");
        const auto answer = [](const char *code, const char *message) {
            return Page({})
                .replace(QLatin1String("\"code\":0,"),
                         QStringLiteral("\"code\":%1,").arg(QLatin1String(code)))
                .replace(QLatin1String("\"message\":\"\""),
                         QStringLiteral("\"message\":\"%1\"").arg(J(message)));
        };
        QTest::newRow("posts") << 200 << answer("0", "") << int(MoodAnswer::Posts);
        QTest::newRow("not signed in") << 200 << answer("-3000", "请先登录") << int(MoodAnswer::Expired);
        QTest::newRow("busy") << 200 << answer("-10001", "") << int(MoodAnswer::Busy);
        QTest::newRow("busy status") << 500 << QString() << int(MoodAnswer::Busy);
        QTest::newRow("closed space")
            << 200 << answer("-10031", "由于对方权限设置，您不能进行此操作") << int(MoodAnswer::Refused);
        QTest::newRow("kept secret, code 0")
            << 200 << answer("0", "主人设置保密") << int(MoodAnswer::Refused);
        QTest::newRow("other negative code") << 200 << answer("-4", "") << int(MoodAnswer::Refused);
    }
    void verdicts()
    {
        QFETCH(int, status);
        QFETCH(QString, answer);
        QFETCH(int, kind);
        QCOMPARE(int(ClassifyMoodAnswer(ReadAnswerVerdict(status, answer), ParseMoodList(answer).message)),
                 kind);
    }

    void emptyPageBusy_data()
    {
        QTest::addColumn<int>("pos");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("busy");
        QTest::newRow("first page empty, posts announced") << 0 << 57 << 0 << true;
        QTest::newRow("last page empty before the total") << 40 << 57 << 0 << true;
        QTest::newRow("past the total") << 60 << 57 << 0 << false;
        QTest::newRow("at the total") << 57 << 57 << 0 << false;
        QTest::newRow("no total given") << 0 << -1 << 0 << false;
        QTest::newRow("posts given") << 0 << 57 << 20 << false;
    }
    void emptyPageBusy()
    {
        QFETCH(int, pos);
        QFETCH(int, total);
        QFETCH(int, count);
        QFETCH(bool, busy);
        QCOMPARE(MoodPageLooksBusy(pos, total, count), busy);
    }
};

QTEST_GUILESS_MAIN(TestMoodListParser)
#include "TestMoodListParser.moc"
