#include "standin/DataSet.h"

#include "standin/PictureMaker.h"
#include "standin/ShotDetails.h"
#include "standin/StandinData.h"

#include <QDateTime>
#include <QMutexLocker>

namespace albivex::standin {

namespace {

// Picture rules of the albums.
enum Kind {
    Numbered,
    Forbid,
    Comma,
    Dots,
    Hostile,
    Png,
    Same,
    Three,
    Escaped,
    Large,
    Words,
    Scenery,
    Family,
    Private,
    Video,
    Question,
    Password,
    Extra
};

struct FixedAlbum
{
    AlbumFacts facts;
    const char *wireName;
    const char *wireDesc;
    qint64 createTime;
    Kind kind;
};

// The main space. 1450800000 is midnight in China time (a date without a time of day).
const FixedAlbum mainAlbums[] = {
    {BigAlbum, "旅行2015", "第一天\\n第二天", 1423458015, Numbered},
    {EmptyAlbum, "\\u7a7a\\u76f8\\u518c", "", 1450800000, Numbered},
    {ForbiddenCharsAlbum, "a<b>|c*d:e", "名字里有不能做文件名的字符", 1425000000, Forbid},
    {CommaAlbum, "春游,2016", "逗号,之后被截断", 1459468800, Comma},
    {DotsAlbum, "../上级/相册", "路径p\\/q", 1470000000, Dots},
    {HostileNamesAlbum, "怪名字", "照片名里有斜杠和点", 1480000000, Hostile},
    {PngAlbum, "PNG封面", "封面是PNG", 1490000000, Png},
    {SameNameAlbum, "同名照片", "十张同名照片", 1500000000, Same},
    {SmallAlbum, "三张", "三张照片\\n大小不同", 1510000000, Three},
    {EscapedAlbum, "\\u76f8\\u518c", "行一\\n行二 a\\/b", 1520000000, Escaped},
    {LargePictureAlbum, "大图", "一张几MB的大图", 1530000000, Large},
    {PreWordsAlbum, "含词的名字", "名字里有那三个字母", 1540000000, Words},
};

const FixedAlbum secondAlbums[] = {
    {SecondAlbums[0], "风景", "山和水\\n", 1550000000, Scenery},
    {SecondAlbums[1], "家人", "", 1560000000, Family},
};

const FixedAlbum secondPrivateAlbums[] = {
    {PrivateAlbum, "私密", "", 1565000000, Private},
};

const FixedAlbum thirdAlbums[] = {
    {VideoAlbum, "视频", "三段视频", 1570000000, Video},
    {QuestionAlbum, "问答相册", "回答问题才能看", 1580000000, Question},
    {PasswordAlbum, "密码相册", "", 1590000000, Password},
};

static_assert(sizeof(mainAlbums) / sizeof(mainAlbums[0]) == MainAlbumCount);

AlbumInfo toInfo(const FixedAlbum &fixed, const char *ownerUin)
{
    AlbumInfo info;
    info.id = QString::fromUtf8(fixed.facts.id);
    info.wireName = QString::fromUtf8(fixed.wireName);
    info.wireDesc = QString::fromUtf8(fixed.wireDesc);
    info.createTime = fixed.createTime;
    info.total = fixed.facts.pictures;
    info.baseTotal = info.total;
    info.ownerUin = QString::fromLatin1(ownerUin);
    info.kind = fixed.kind;
    info.png = fixed.kind == Png;
    info.allowAccess = fixed.kind != Private;
    info.priv = fixed.kind == Private ? 4 : fixed.kind == Question ? 5 : fixed.kind == Password ? 2 : 1;
    if (fixed.kind == Question)
        info.question = QString::fromUtf8(AlbumQuestion);
    return info;
}

template<typename Table> QList<AlbumInfo> toInfos(const Table &table, const char *ownerUin)
{
    QList<AlbumInfo> list;
    for (const FixedAlbum &fixed : table)
        list.append(toInfo(fixed, ownerUin));
    return list;
}

QString chinaTime(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs + 8 * 3600, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString pick(const char *const *names, int count, int number)
{
    return number >= 1 && number <= count ? QString::fromUtf8(names[number - 1]) : QString();
}

PictureRecipe::Format originalFormat(const AlbumInfo &album, int n)
{
    using Format = PictureRecipe::Format;
    if (album.png)
        return Format::Png;
    if (album.kind == Dots && n <= album.baseTotal && n <= 3)
        return n == 1 ? Format::Png : n == 2 ? Format::Webp : Format::Heic;
    return Format::Jpeg;
}

PictureRecipe highRecipe(const AlbumInfo &album, int n)
{
    PictureRecipe recipe;
    recipe.seed = PictureMaker::stableHash(album.id) ^ (quint32(n) * 2654435761U);
    recipe.width = 96 + (n * 37) % 128;
    recipe.height = 72 + (n * 53) % 96;
    recipe.noise = 12;
    switch (album.kind) {
    case Three: {
        static const int sizes[][3] = {{160, 120, 10}, {640, 480, 16}, {1024, 768, 28}};
        const auto &s = sizes[qBound(0, n - 1, 2)];
        recipe.width = s[0];
        recipe.height = s[1];
        recipe.noise = s[2];
        recipe.quality = 92;
        break;
    }
    case Large:
        if (n == 1) {
            recipe.width = 3000;
            recipe.height = 2250;
            recipe.noise = 48;
            recipe.quality = 95;
        }
        break;
    case Png:
        recipe.format = PictureRecipe::Format::Png;
        recipe.width = 200;
        recipe.height = 150;
        recipe.noise = 6;
        break;
    case Extra: // a small image stretched to the chosen size
        recipe.width = 120;
        recipe.height = 90;
        recipe.noise = 6;
        recipe.padTo
            = n == album.extra.bigPictureIndex ? album.extra.bigPictureBytes : album.extra.pictureBytes;
        break;
    default:
        break;
    }
    return recipe;
}

} // namespace

QList<AlbumInfo> DataSet::albums(Space space, Profile profile) const
{
    QList<AlbumInfo> list;
    switch (space) {
    case Space::Main:
        list = toInfos(mainAlbums, "");
        break;
    case Space::Second:
        list = toInfos(secondAlbums, SecondUin);
        if (profile == Profile::Today)
            list += toInfos(secondPrivateAlbums, SecondUin);
        break;
    case Space::Third:
        list = toInfos(thirdAlbums, ThirdUin);
        break;
    case Space::Closed:
    case Space::Empty:
        return list;
    }
    QMutexLocker lock(&m_mutex);
    if (space == Space::Main)
        list += m_extras;
    for (AlbumInfo &album : list) {
        const auto grown = m_grownKeys.constFind(album.id);
        if (grown != m_grownKeys.constEnd()) {
            album.keys = *grown;
            album.total = int(grown->size());
        }
    }
    return list;
}

QList<int> DataSet::addPictures(const QString &albumId, int count, bool atFront)
{
    const auto album = findAlbum(albumId);
    if (!album || count <= 0)
        return {};
    QMutexLocker lock(&m_mutex);
    QList<int> &keys = m_grownKeys[albumId];
    if (keys.isEmpty()) {
        for (int key = 1; key <= album->total; ++key)
            keys.append(key);
    }
    const int firstNew = int(keys.size()) + 1; // keys are always 1..size in some order
    QList<int> added;
    for (int i = 0; i < count; ++i)
        added.append(firstNew + i);
    keys = atFront ? added + keys : keys + added;
    return added;
}

std::optional<AlbumInfo> DataSet::album(Space space, const QString &id, Profile profile) const
{
    const QList<AlbumInfo> list = albums(space, profile);
    for (const AlbumInfo &info : list) {
        if (info.id == id)
            return info;
    }
    return std::nullopt;
}

std::optional<AlbumInfo> DataSet::findAlbum(const QString &id) const
{
    for (Space space : {Space::Main, Space::Second, Space::Third}) {
        if (auto found = album(space, id, Profile::Today))
            return found;
    }
    return std::nullopt;
}

PictureMeta DataSet::pictureMeta(const AlbumInfo &album, int n) const
{
    PictureMeta meta = pictureTexts(album, n);
    const bool fixed = n <= album.baseTotal;
    const QString key = QString::number(n);
    if (album.kind == Three && fixed && n >= 2) {
        meta.originUpload = n == 2;
        if (meta.originUpload)
            meta.originPath = QStringLiteral("/photo/o/%1/%2.jpg").arg(album.id, key);
    } else {
        meta.rawUpload = true;
        meta.rawPath = QStringLiteral("/photo/r/%1/%2.%3")
                           .arg(album.id, key, pictureRecipe(album, PictureVariant::Raw, n).extension());
    }
    if (album.kind == Video && fixed && n >= 2 && n <= 4) {
        const QString address = QStringLiteral("/video/%1/%2.mp4").arg(album.id, key);
        meta.video = true;
        meta.videoNumber = n - 2;
        meta.videoStatus = n == 4 ? 1 : 2;
        meta.downloadPath = n == 2 ? address : QString();
        meta.playPath = n == 4 ? QString() : address;
    }
    return meta;
}

PictureMeta DataSet::pictureTexts(const AlbumInfo &album, int n)
{
    static const char *const commaNames[] = {"a,b", "c,d,e", "plain"};
    static const char *const threeNames[] = {"小猫", "小狗", "小鸟"};
    static const char *const escapedNames[] = {"\\u7167\\u7247", "plain"};
    static const char *const largeNames[] = {"大", "小"};
    const QString number = QString::number(n);
    PictureMeta meta;
    const qint64 uploadSecs = album.createTime + qint64(n) * 3697;
    meta.uploadTime = chinaTime(uploadSecs);
    AddShotDetails(meta, n, uploadSecs);
    if (n > album.baseTotal) { // added at run time; no name of the data set looks like it
        meta.name = QStringLiteral("新照片") + number;
        return meta;
    }
    switch (album.kind) {
    case Numbered:
        meta.name = QStringLiteral("IMG_%1").arg(n, 4, 10, QLatin1Char('0'));
        meta.wireDesc = n % 10 == 1 ? QStringLiteral("第%1张\\n很好").arg(n)
            : n % 10 == 5           ? QStringLiteral("p\\/q")
            : n % 10 == 3 ? QStringLiteral("和朋友们,在湖边,第%1张").arg(n) // cut at the comma
                          : QString();
        break;
    case Comma:
        meta.name = pick(commaNames, 3, n);
        meta.wireDesc = n == 1 ? QStringLiteral("x,y") : QString();
        break;
    case Hostile:
        meta.name = pick(HostilePictureNames, int(std::size(HostilePictureNames)), n);
        break;
    case Png:
        meta.name = QStringLiteral("截图") + number;
        break;
    case Same:
        meta.name = QString::fromUtf8(SameName);
        break;
    case Three:
        meta.name = pick(threeNames, 3, n);
        meta.wireDesc = QStringLiteral("第%1张").arg(n);
        break;
    case Escaped:
        meta.name = pick(escapedNames, 2, n);
        meta.wireDesc = n == 1 ? QStringLiteral("a\\nb") : QStringLiteral("c\\/d");
        break;
    case Large:
        meta.name = pick(largeNames, 2, n);
        break;
    case Words:
        meta.name = pick(PreWordPictureNames, int(std::size(PreWordPictureNames)), n);
        break;
    case Scenery:
        meta.name = QStringLiteral("山") + number;
        meta.wireDesc = n % 2 == 1 ? QStringLiteral("远处的山\\n近处的水") : QString();
        break;
    case Family:
        meta.name = QStringLiteral("家") + number;
        meta.wireDesc = n == 1 ? QStringLiteral("全家福") : QString();
        break;
    case Video:
        meta.name = (n >= 2 && n <= 4 ? QStringLiteral("视频") : QStringLiteral("照片")) + number;
        break;
    case Extra:
        meta.name = QStringLiteral("IMG_%1").arg(n, 5, 10, QLatin1Char('0'));
        break;
    default:
        meta.name = QStringLiteral("照片") + number;
        break;
    }
    return meta;
}

PictureRecipe DataSet::pictureRecipe(const AlbumInfo &album, PictureVariant variant, int n) const
{
    if (variant == PictureVariant::Cover) {
        PictureRecipe cover;
        cover.format = album.png ? PictureRecipe::Format::Png : PictureRecipe::Format::Jpeg;
        cover.seed = PictureMaker::stableHash(album.id, 0xC0FE);
        cover.width = 200;
        cover.height = 150;
        cover.noise = 10;
        return cover;
    }
    PictureRecipe recipe = highRecipe(album, n);
    switch (variant) {
    case PictureVariant::Normal:
        recipe.width = qMax(16, recipe.width / 2);
        recipe.height = qMax(16, recipe.height / 2);
        recipe.quality = 70;
        recipe.padTo = 0;
        break;
    case PictureVariant::Raw:
    case PictureVariant::Origin:
        // The same picture, larger: half as wide and high again while that stays
        // below a few megapixels, else at a higher quality; stretched ones by a quarter.
        if (qint64(recipe.width) * recipe.height * 9 / 4 <= 2500000) {
            recipe.width = recipe.width * 3 / 2;
            recipe.height = recipe.height * 3 / 2;
            recipe.quality = qMax(recipe.quality, 95);
        } else {
            recipe.quality = 98;
        }
        recipe.padTo += recipe.padTo / 4;
        recipe.format = originalFormat(album, n);
        if (recipe.format == PictureRecipe::Format::Webp)
            recipe.quality = 100; // lossless
        break;
    default:
        break;
    }
    return recipe;
}

QString DataSet::addExtraAlbum(const ExtraAlbum &extra)
{
    QMutexLocker lock(&m_mutex);
    AlbumInfo info;
    info.id = QStringLiteral("V1extra%1").arg(++m_extraCounter);
    info.wireName = extra.name;
    info.createTime = 1600000000 + m_extraCounter * 86400;
    info.total = qMax(0, extra.pictureCount);
    info.baseTotal = info.total;
    info.kind = Extra;
    info.extra = extra;
    m_extras.append(info);
    return info.id;
}

void DataSet::clearExtraAlbums()
{
    QMutexLocker lock(&m_mutex);
    m_extras.clear();
}

QString DataSet::nickname(const QString &uin)
{
    if (uin == QLatin1String(MainUin))
        return QString::fromUtf8(MainNickname);
    if (uin == QLatin1String(SecondUin))
        return QString::fromUtf8(SecondNickname);
    if (uin == QLatin1String(ThirdUin))
        return QString::fromUtf8(ThirdNickname);
    if (uin == QLatin1String(NoNicknameUin))
        return QString();
    return QStringLiteral("QQ用户") + uin;
}

} // namespace albivex::standin
