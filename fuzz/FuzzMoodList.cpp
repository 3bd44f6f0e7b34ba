// ParseMoodList and ParseMoodDetail read the 说说 services' answers post by post.
// Any input: no crash, one post per object of the lists, and a value only from a post
// whose own item has its key. An input that is well-formed JSON is also written out
// again by QJsonDocument in the forms the service uses (a JSONP wrapper or none,
// escaped slashes, every non-ASCII character as a \u escape), and every post read from
// each form must equal what QJsonDocument reads from the same objects, the same value
// rules applied: the item reader against a JSON reader.

#include "FuzzSupport.h"
#include "qzone/AnswerVerdict.h"
#include "qzone/ListItems.h"
#include "qzone/MoodListParser.h"
#include "qzone/MoodVerdict.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <limits>
#include <optional>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

// --- the value rules, on what QJsonDocument reads --------------------------------

QString RefText(const QJsonValue &v)
{
    if (v.isString())
        return v.toString();
    if (v.isBool())
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.isDouble()) {
        // As the writer puts it in the answer.
        const QByteArray json = QJsonDocument(QJsonArray {v}).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(json.mid(1, json.size() - 2));
    }
    return QString();
}

std::optional<qint64> RefNumber(const QJsonValue &v)
{
    if (!v.isString() && !v.isDouble())
        return std::nullopt;
    static const QRegularExpression leading(QStringLiteral("^-?[0-9]+"));
    const QRegularExpressionMatch m = leading.match(RefText(v).trimmed());
    if (!m.hasMatch() || m.capturedLength() - (m.captured().startsWith(QLatin1Char('-')) ? 1 : 0) > 18)
        return std::nullopt;
    return m.captured().toLongLong();
}

std::optional<int> RefIntValue(const QJsonValue &v)
{
    const std::optional<qint64> n = RefNumber(v);
    if (!n || *n < std::numeric_limits<int>::min() || *n > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(*n);
}

int RefInt(const QJsonValue &v, int missing)
{
    return RefIntValue(v).value_or(missing);
}

bool RefFlag(const QJsonValue &v)
{
    return (v.isBool() && v.toBool()) || (v.isString() && v.toString() == QLatin1String("true"))
        || RefNumber(v).value_or(0) != 0;
}

// The objects among an array value's elements.
QList<QJsonObject> Objects(const QJsonValue &v)
{
    QList<QJsonObject> objects;
    for (const QJsonValue &element : v.toArray()) {
        if (element.isObject())
            objects << element.toObject();
    }
    return objects;
}

MoodPicture RefPicture(const QJsonObject &o, bool inVideoList)
{
    MoodPicture p;
    p.picId = RefText(o[u"pic_id"]);
    for (const char16_t *key : {u"url3", u"url2", u"url1"}) {
        if (p.url.isEmpty())
            p.url = RefText(o[QStringView(key)]);
    }
    if (p.url.isEmpty()
        && (p.picId.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
            || p.picId.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)))
        p.url = p.picId;
    p.smallUrl = RefText(o[u"smallurl"]);
    p.width = RefInt(o[u"width"], 0);
    p.height = RefInt(o[u"height"], 0);
    p.isVideo = inVideoList || RefFlag(o[u"is_video"]);
    const QJsonObject info = o[u"video_info"].toObject();
    if (!info.isEmpty()) {
        p.videoFile = RefText(info[u"url3"]);
        p.videoPlay = RefText(info[u"video_url"]);
        p.videoCover = RefText(info[u"cover_url"]);
    } else if (inVideoList) {
        p.videoPlay = RefText(o[u"video_url"]);
        p.videoCover = RefText(o[u"cover_url"]);
    }
    return p;
}

QList<MoodPicture> RefPictures(const QJsonValue &v, bool videos = false)
{
    QList<MoodPicture> pictures;
    for (const QJsonObject &o : Objects(v))
        pictures << RefPicture(o, videos);
    return pictures;
}

MoodComment RefComment(const QJsonObject &o, bool reply)
{
    MoodComment c;
    c.tid = RefText(o[u"tid"]);
    c.uin = RefText(o[u"uin"]);
    c.name = RefText(o[u"name"]);
    c.content = RefText(o[u"content"]);
    c.createTime = RefNumber(o[u"create_time"]).value_or(0);
    c.createText = RefText(o[u"createTime"]);
    c.pictures = RefPictures(o[u"pic"]);
    if (!reply) {
        for (const QJsonObject &r : Objects(o[u"list_3"]))
            c.replies << RefComment(r, true);
    }
    return c;
}

MoodPost RefPost(const QJsonObject &o)
{
    MoodPost p;
    p.tid = RefText(o[u"tid"]);
    p.uin = RefText(o[u"uin"]);
    p.name = RefText(o[u"name"]);
    p.content = RefText(o[u"content"]);
    p.createdTime = RefNumber(o[u"created_time"]).value_or(0);
    p.createText = RefText(o[u"createTime"]);
    p.secret = RefFlag(o[u"secret"]);
    p.sourceName = RefText(o[u"source_name"]);
    const QJsonObject lbs = o[u"lbs"].toObject();
    p.placeName = RefText(lbs[u"name"]);
    p.placeId = RefText(lbs[u"idname"]);
    p.placeX = RefText(lbs[u"pos_x"]);
    p.placeY = RefText(lbs[u"pos_y"]);
    p.pictures = RefPictures(o[u"pic"]);
    p.pictureTotal = RefInt(o[u"pictotal"], 0);
    p.videos = RefPictures(o[u"video"], true);
    p.commentTotal = RefInt(o[u"cmtnum"], 0);
    for (const QJsonObject &c : Objects(o[u"commentlist"]))
        p.comments << RefComment(c, false);
    p.moreContent = RefFlag(o[u"has_more_con"]);
    p.rtTid = RefText(o[u"rt_tid"]);
    p.rtUin = RefText(o[u"rt_uin"]);
    p.rtName = RefText(o[u"rt_uinname"]);
    p.rtCreateText = RefText(o[u"rt_createTime"]);
    p.rtContent = RefText(o[u"rt_con"].toObject()[u"content"]);
    return p;
}

// The objects of every "msglist" array, at any depth but not inside such a list, in
// the order the writer puts them (QJsonObject's key order).
void RefPosts(const QJsonValue &v, QList<MoodPost> &posts)
{
    if (v.isArray()) {
        for (const QJsonValue &element : v.toArray())
            RefPosts(element, posts);
        return;
    }
    const QJsonObject o = v.toObject();
    for (auto it = o.begin(); it != o.end(); ++it) {
        if (it.key() == QLatin1String("msglist") && it.value().isArray()) {
            for (const QJsonObject &post : Objects(it.value()))
                posts << RefPost(post);
        } else {
            RefPosts(it.value(), posts);
        }
    }
}

// --- comparing -------------------------------------------------------------------

void Describe(const MoodPicture &p, QStringList &out)
{
    out << QStringLiteral("picture") << p.picId << p.url << p.smallUrl << QString::number(p.width)
        << QString::number(p.height) << QString::number(p.isVideo) << p.videoFile << p.videoPlay
        << p.videoCover;
}

void Describe(const MoodComment &c, QStringList &out)
{
    out << QStringLiteral("comment") << c.tid << c.uin << c.name << c.content << QString::number(c.createTime)
        << c.createText;
    for (const MoodPicture &p : c.pictures)
        Describe(p, out);
    for (const MoodComment &r : c.replies)
        Describe(r, out);
    out << QStringLiteral("end comment");
}

QStringList Describe(const MoodPost &p)
{
    QStringList out {p.tid,
                     p.uin,
                     p.name,
                     p.content,
                     QString::number(p.createdTime),
                     p.createText,
                     QString::number(p.secret),
                     p.sourceName,
                     p.placeName,
                     p.placeId,
                     p.placeX,
                     p.placeY,
                     QString::number(p.pictureTotal),
                     QString::number(p.commentTotal),
                     QString::number(p.moreContent),
                     p.rtTid,
                     p.rtUin,
                     p.rtName,
                     p.rtCreateText,
                     p.rtContent};
    for (const MoodPicture &picture : p.pictures)
        Describe(picture, out);
    out << QStringLiteral("videos");
    for (const MoodPicture &video : p.videos)
        Describe(video, out);
    for (const MoodComment &comment : p.comments)
        Describe(comment, out);
    return out;
}

void RequireSame(const QList<MoodPost> &read, const QList<MoodPost> &reference, const QString &form)
{
    Require(read.size() == reference.size(),
            "one post per object of the lists, as the JSON reader finds them",
            QStringLiteral("%1 posts, %2 expected in %3").arg(read.size()).arg(reference.size()).arg(form));
    for (qsizetype i = 0; i < read.size(); ++i) {
        const QStringList got = Describe(read.at(i));
        const QStringList want = Describe(reference.at(i));
        Require(got == want, "every value of a post as the JSON reader gives it",
                QStringLiteral("post %1 of %2\n got: %3\nwant: %4")
                    .arg(i)
                    .arg(form, got.join(QLatin1Char('|')), want.join(QLatin1Char('|'))));
    }
}

// --- the two checks --------------------------------------------------------------

void CheckAnyAnswer(const QString &answer)
{
    const MoodListPage page = ParseMoodList(answer);
    const QList<ListItem> items = ReadListItems(answer, {u"msglist"});
    Require(page.posts.size() == items.size(), "one post per item of the list, never more");
    for (qsizetype i = 0; i < items.size(); ++i) {
        const MoodPost &post = page.posts.at(i);
        const ListItem &item = items.at(i);
        Require(post.tid.isEmpty() || item.find(u"tid"), "a key comes from the post's own item");
        Require(post.pictures.isEmpty() || item.find(u"pic"), "pictures come from the post's own item");
        Require(post.comments.isEmpty() || item.find(u"commentlist"),
                "comments come from the post's own item");
        Require(post.placeName.isEmpty() || item.find(u"lbs"), "a place comes from the post's own item");
        Require(post.rtContent.isEmpty() || item.find(u"rt_con"), "a repost comes from the post's own item");
    }
    Require(page.total >= -1 && page.postCount >= -1, "a count is a number or -1");
    const MoodListPage detail = ParseMoodDetail(answer);
    Require(detail.posts.size() <= 1, "a detail answer holds one post at most");
    static_cast<void>(ClassifyMoodAnswer(ReadAnswerVerdict(0, answer), page.message));
}

QString AsciiOnly(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() > 0x7e)
            out += QStringLiteral("\\u%1").arg(uint(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

void CheckJsonAnswer(const uint8_t *data, size_t size)
{
    const QJsonDocument input = QJsonDocument::fromJson(
        QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!input.isObject())
        return;
    // Read back what is written, so that both readers see the same characters (a lone
    // surrogate does not survive the writing).
    const QString json = QString::fromUtf8(input.toJson(QJsonDocument::Compact));
    const QJsonObject root = QJsonDocument::fromJson(json.toUtf8()).object();
    QList<MoodPost> posts;
    RefPosts(root, posts);
    QString slashes = json;
    slashes.replace(QLatin1Char('/'), QLatin1String("\\/"));
    const QString forms[] = {QStringLiteral("_preloadCallback(") + json + QStringLiteral(");"), slashes,
                             QStringLiteral("cb_7(") + AsciiOnly(slashes) + QStringLiteral(")")};
    for (const QString &answer : forms) {
        const MoodListPage page = ParseMoodList(answer);
        RequireSame(page.posts, posts, answer);
        Require(page.code == RefIntValue(root[u"code"]), "the code is the top-level one");
        Require(page.total == qMax(-1, RefInt(root[u"total"], -1)), "the total is the top-level one");
        Require(page.postCount == qMax(-1, RefInt(root[u"usrinfo"].toObject()[u"msgnum"], -1)),
                "msgnum is usrinfo's");
        Require(page.message == RefText(root[u"message"]), "the message is the top-level one");
        const MoodListPage detail = ParseMoodDetail(answer);
        RequireSame(detail.posts, root.contains(u"tid") ? QList<MoodPost> {RefPost(root)} : QList<MoodPost>(),
                    QStringLiteral("detail ") + answer);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckAnyAnswer(Utf8Text(data, size));
    CheckAnyAnswer(Utf16Text(data, size));
    CheckJsonAnswer(data, size);
    return 0;
}
