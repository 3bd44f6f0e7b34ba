#include "standin/MoodBook.h"

#include "standin/DataSet.h"
#include "standin/PictureMaker.h"
#include "standin/SignInBook.h"
#include "standin/StandinData.h"

#include <QMutexLocker>
#include <QRegularExpression>

namespace albivex::standin {

namespace {

// 2023-05-01 12:00 China time; every post is older.
constexpr qint64 MoodEpoch = 1682913600;
constexpr MoodSpace listedSpaces[]
    = {MoodSpace::Main, MoodSpace::Second, MoodSpace::Third, MoodSpace::Sealed};
const QString tidTail = QStringLiteral("5b1c0900");

QString spaceTag(MoodSpace space)
{
    return QStringLiteral("%1").arg(PictureMaker::stableHash(QString::number(int(space)), 0x3D0D), 8, 16,
                                    QLatin1Char('0'));
}

QString tidOf(MoodSpace space, int index)
{
    return spaceTag(space) + QStringLiteral("%1").arg(index, 8, 16, QLatin1Char('0')) + tidTail;
}

struct TidPlace
{
    MoodSpace space;
    int index;
};

std::optional<TidPlace> placeOf(const QString &tid)
{
    if (tid.size() != 24 || !tid.endsWith(tidTail))
        return std::nullopt;
    bool ok = false;
    const int index = tid.mid(8, 8).toInt(&ok, 16);
    if (!ok || index < 0 || tid.mid(8, 8) != QStringLiteral("%1").arg(index, 8, 16, QLatin1Char('0')))
        return std::nullopt;
    for (MoodSpace space : listedSpaces) {
        if (tid.startsWith(spaceTag(space)))
            return TidPlace {space, index};
    }
    return std::nullopt;
}

qint64 timeOf(MoodSpace space, int index)
{
    const qint64 start = MoodEpoch - qint64(space) * 5000;
    if (space == MoodSpace::Main && index >= MainMoodCount) // extras: close together
        return start - qint64(MainMoodCount) * 90000 - qint64(index - MainMoodCount + 1) * 600;
    return start - qint64(index) * 90000;
}

MoodPicture pictureOf(const QString &tid, const QString &name, bool small)
{
    const quint32 hash = PictureMaker::stableHash(tid + QLatin1Char('/') + name, 0x300D);
    MoodPicture picture;
    picture.tid = tid;
    picture.name = name;
    picture.width = small ? 64 : 160 + int(hash % 97);
    picture.height = small ? 48 : 120 + int((hash >> 8) % 73);
    return picture;
}

QList<MoodPicture> picturesOf(const QString &tid, int count, bool small = false)
{
    QList<MoodPicture> pictures;
    for (int n = 1; n <= count; ++n)
        pictures.append(pictureOf(tid, QString::number(n), small));
    return pictures;
}

MoodComment commentOf(int id, const char *uin, const QString &content, qint64 time)
{
    MoodComment comment;
    comment.id = id;
    comment.uin = QString::fromLatin1(uin);
    if (!comment.uin.isEmpty())
        comment.name = DataSet::nickname(comment.uin);
    comment.content = content;
    comment.time = time;
    return comment;
}

QString longText()
{
    QString text;
    for (int part = 1; part <= 8; ++part)
        text += QStringLiteral("第%1段：今天去了很多地方，看了很多风景，也认识了很多新朋友。\n").arg(part);
    return text + QStringLiteral("完[em]e100[/em]");
}

// The fixed posts of the main space: each kind of post the service gives.
void fillMainPost(MoodInfo &post, int index)
{
    static const char *const sources[] = {"iPhone 14", "HUAWEI Mate 40", "QQ空间", ""};
    post.sourceName = QString::fromUtf8(sources[index % 4]);
    switch (index) {
    case 0:
        post.content = QStringLiteral("今天天气真好[em]e100[/em][em]e113[/em]\n\"晴\" 25°C");
        break;
    case 1:
        post.content = QStringLiteral("新买的相机");
        post.pictures = picturesOf(post.tid, 1);
        post.pictures[0].idIsAddress = true;
        break;
    case 2:
        post.content = QStringLiteral("九宫格");
        post.pictures = picturesOf(post.tid, 9);
        break;
    case 3:
        post.content = QStringLiteral("十二张照片，列表里只有九张");
        post.pictures = picturesOf(post.tid, 12);
        break;
    case 4:
        post.content = QStringLiteral("一段视频");
        post.pictures = picturesOf(post.tid, 2);
        post.pictures[1].video = true;
        break;
    case 5:
        post.content = QStringLiteral("转发一下[em]e400[/em]");
        post.repost = true;
        post.rtTid = tidOf(MoodSpace::Second, 0);
        post.rtUin = QString::fromLatin1(SecondUin);
        post.rtName = QString::fromUtf8(SecondNickname);
        post.rtContent = QStringLiteral("小明的第1条说说");
        post.rtTime = timeOf(MoodSpace::Second, 0);
        break;
    case 6:
        post.content = longText();
        break;
    case 7: {
        post.content = QStringLiteral("大家来评论");
        MoodComment first = commentOf(1, SecondUin, QStringLiteral("好看！[em]e113[/em]"), post.time + 600);
        first.replies = {commentOf(1, "", QStringLiteral("谢谢"), post.time + 1200),
                         commentOf(2, ThirdUin, QStringLiteral("我也觉得"), post.time + 1800)};
        MoodComment second = commentOf(2, ThirdUin, QStringLiteral("看这张"), post.time + 2400);
        second.pictures = {pictureOf(post.tid, QStringLiteral("c2"), false)};
        post.comments
            = {first, second,
               commentOf(3, SecondUin, QStringLiteral("[em]e100[/em][em]e100[/em]"), post.time + 3000)};
        break;
    }
    case 8:
        post.content = QStringLiteral("在西湖边[em]e176[/em]");
        post.placeName = QStringLiteral("杭州·西湖");
        post.placeId = QStringLiteral("西湖风景名胜区");
        post.placeX = QStringLiteral("120.14");
        post.placeY = QStringLiteral("30.25");
        post.pictures = picturesOf(post.tid, 1);
        break;
    case 9:
        post.content = QStringLiteral("第一张图片不见了");
        post.pictures = picturesOf(post.tid, 2);
        post.pictures[0].missing = true;
        break;
    default:
        post.content = QStringLiteral("第%1条说说").arg(index + 1);
        break;
    }
}

} // namespace

MoodSpace MoodBook::spaceOf(const QString &hostUin, const QString &viewer, bool hostSignedIn)
{
    const QString host = hostUin.trimmed().isEmpty() ? viewer : SignInBook::normalUin(hostUin);
    if (host == QLatin1String(SecondUin))
        return MoodSpace::Second;
    if (host == QLatin1String(ThirdUin))
        return MoodSpace::Third;
    if (host == QLatin1String(SecretMoodsUin))
        return MoodSpace::Secret;
    if (host == QLatin1String(SealedMoodsUin))
        return MoodSpace::Sealed;
    if (host == QLatin1String(ClosedUin))
        return viewer == host ? MoodSpace::Main : MoodSpace::Refused;
    return host == viewer || hostSignedIn ? MoodSpace::Main : MoodSpace::Empty;
}

int MoodBook::extraCount() const
{
    QMutexLocker lock(&m_mutex);
    int count = 0;
    for (const auto &[posts, pictures] : m_extras)
        count += posts;
    return count;
}

int MoodBook::extraPictures(int extraIndex) const
{
    QMutexLocker lock(&m_mutex);
    for (const auto &[posts, pictures] : m_extras) {
        if (extraIndex < posts)
            return pictures;
        extraIndex -= posts;
    }
    return 0;
}

int MoodBook::total(MoodSpace space) const
{
    switch (space) {
    case MoodSpace::Main:
        return MainMoodCount + extraCount();
    case MoodSpace::Second:
        return SecondMoodCount;
    case MoodSpace::Third:
        return ThirdMoodCount;
    case MoodSpace::Sealed:
        return SealedMoodTotal;
    default:
        return 0;
    }
}

int MoodBook::listable(MoodSpace space) const
{
    return space == MoodSpace::Sealed ? SealedMoodListed : total(space);
}

MoodInfo MoodBook::post(MoodSpace space, int index) const
{
    MoodInfo post;
    post.tid = tidOf(space, index);
    post.time = timeOf(space, index);
    switch (space) {
    case MoodSpace::Main:
        if (index < MainMoodCount) {
            fillMainPost(post, index);
        } else {
            post.content = QStringLiteral("基准说说%1").arg(index - MainMoodCount + 1);
            post.pictures = picturesOf(post.tid, extraPictures(index - MainMoodCount), true);
        }
        return post;
    case MoodSpace::Second:
        post.ownerUin = QString::fromLatin1(SecondUin);
        post.content = QStringLiteral("小明的第%1条说说").arg(index + 1);
        break;
    case MoodSpace::Third:
        post.ownerUin = QString::fromLatin1(ThirdUin);
        post.content = QStringLiteral("小红的第%1条说说").arg(index + 1);
        break;
    default:
        post.ownerUin = QString::fromLatin1(SealedMoodsUin);
        post.content = QStringLiteral("旧说说%1").arg(index + 1);
        break;
    }
    post.sourceName = QStringLiteral("QQ空间");
    return post;
}

QList<MoodInfo> MoodBook::posts(MoodSpace space) const
{
    QList<MoodInfo> list;
    const int count = listable(space);
    for (int index = 0; index < count; ++index)
        list.append(post(space, index));
    return list;
}

std::optional<MoodInfo> MoodBook::find(MoodSpace space, const QString &tid) const
{
    const auto place = placeOf(tid);
    if (!place || place->space != space || place->index >= listable(space))
        return std::nullopt;
    return post(space, place->index);
}

std::optional<MoodBook::Media> MoodBook::media(const QString &path) const
{
    static const QRegularExpression address(
        QStringLiteral("^/mood/([bcsv])/([0-9a-f]{24})/(c?[1-9][0-9]{0,4})\\.(jpg|mp4)$"));
    const auto m = address.match(path);
    const auto place = m.hasMatch() ? placeOf(m.captured(2)) : std::nullopt;
    if (!place || place->index >= listable(place->space))
        return std::nullopt;
    const MoodInfo found = post(place->space, place->index);
    QList<MoodPicture> pictures = found.pictures;
    for (const MoodComment &comment : found.comments)
        pictures += comment.pictures;
    const QChar size = m.captured(1).at(0);
    const bool video = size == QLatin1Char('v');
    if (video != (m.captured(4) == QLatin1String("mp4")))
        return std::nullopt;
    for (const MoodPicture &picture : pictures) {
        if (picture.name != m.captured(3) || (video && !picture.video))
            continue;
        Media media;
        if (picture.missing) {
            media.kind = Media::Kind::Missing;
        } else if (video) {
            media.kind = Media::Kind::Mp4;
            media.videoSeed = PictureMaker::stableHash(path, 0x71DE0);
        } else {
            const int divisor = size == QLatin1Char('b') ? 1 : size == QLatin1Char('c') ? 2 : 4;
            media.recipe.seed
                = PictureMaker::stableHash(picture.tid + QLatin1Char('/') + picture.name, 0x5EED);
            media.recipe.width = qMax(16, picture.width / divisor);
            media.recipe.height = qMax(16, picture.height / divisor);
            media.recipe.noise = picture.width <= 64 ? 4 : 10;
        }
        return media;
    }
    return std::nullopt;
}

void MoodBook::addExtra(int count, int pictures)
{
    if (count <= 0)
        return;
    QMutexLocker lock(&m_mutex);
    m_extras.append({count, qMax(0, pictures)});
}

void MoodBook::clearExtras()
{
    QMutexLocker lock(&m_mutex);
    m_extras.clear();
}

} // namespace albivex::standin
