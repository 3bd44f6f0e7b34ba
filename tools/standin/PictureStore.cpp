#include "standin/PictureStore.h"

#include "standin/ByteArraySource.h"
#include "standin/DataSet.h"
#include "standin/IsoMediaMaker.h"
#include "standin/PaddedJpegSource.h"
#include "standin/PictureMaker.h"
#include "standin/PlaceholderGif.h"

#include <QMutexLocker>
#include <QRegularExpression>

namespace albivex::standin {

namespace {

constexpr qint64 ReadPiece = 1024 * 1024;

} // namespace

PictureStore::PictureStore(const DataSet &data) : m_data(data) { }

QByteArray PictureStore::encoded(const PictureRecipe &recipe) const
{
    const QString key = recipe.imageKey();
    {
        QMutexLocker lock(&m_mutex);
        const auto it = m_cache.constFind(key);
        if (it != m_cache.constEnd())
            return *it;
    }
    // Drawn outside the lock: two threads may draw the same image, with the same result.
    const QByteArray bytes = PictureMaker::encode(recipe);
    QMutexLocker lock(&m_mutex);
    m_cache.insert(key, bytes);
    return bytes;
}

std::shared_ptr<BodySource> PictureStore::body(const PictureRecipe &recipe) const
{
    const QByteArray image = encoded(recipe);
    if (recipe.isJpeg() && recipe.padTo > image.size())
        return std::make_shared<PaddedJpegSource>(image, recipe.padTo, recipe.seed);
    return std::make_shared<ByteArraySource>(image);
}

PictureStore::Picture PictureStore::find(const QString &path) const
{
    static const QRegularExpression albumPicture(
        QStringLiteral("^/photo/([abcmro])/([A-Za-z0-9_]+)/(cover|[1-9][0-9]{0,6})\\.(jpg|png|webp|heic)$"));
    static const QRegularExpression video(QStringLiteral("^/video/([A-Za-z0-9_]+)/([1-9][0-9]{0,6})\\.mp4$"));
    static const QRegularExpression sizedPicture(
        QStringLiteral("^/photo/sized/([0-9]{1,9})/([0-9]{1,12})\\.jpg$"));

    if (const auto m = sizedPicture.match(path); m.hasMatch()) {
        PictureRecipe recipe;
        recipe.seed = m.captured(1).toUInt();
        recipe.width = 120;
        recipe.height = 90;
        recipe.noise = 6;
        recipe.padTo = m.captured(2).toLongLong();
        return {QByteArrayLiteral("image/jpeg"), body(recipe), QString()};
    }
    if (const auto m = video.match(path); m.hasMatch()) {
        const auto album = m_data.findAlbum(m.captured(1));
        const int key = m.captured(2).toInt();
        if (!album || !album->hasKey(key))
            return {};
        const PictureMeta meta = m_data.pictureMeta(*album, key);
        if (!meta.video || (path != meta.downloadPath && path != meta.playPath))
            return {};
        const quint32 seed = PictureMaker::stableHash(album->id, 0x71DE0) ^ quint32(key);
        return {QByteArrayLiteral("video/mp4"), std::make_shared<ByteArraySource>(IsoMediaMaker::mp4(seed)),
                album->ownerUin};
    }
    if (path.startsWith(QLatin1String("/mood/")))
        return moodMedia(path);
    if (path.startsWith(QLatin1String("/board/"))) {
        const auto recipe = m_data.board().picture(path);
        if (!recipe)
            return {};
        return {recipe->contentType(), body(*recipe), QString()};
    }
    const auto m = albumPicture.match(path);
    if (!m.hasMatch())
        return {};
    const auto album = m_data.findAlbum(m.captured(2));
    if (!album)
        return {};
    const QChar quality = m.captured(1).at(0);
    const bool cover = quality == QLatin1Char('a') || quality == QLatin1Char('m');
    if (cover != (m.captured(3) == QLatin1String("cover")))
        return {};
    const int key = cover ? 0 : m.captured(3).toInt();
    if (!cover && !album->hasKey(key))
        return {};
    const PictureVariant variant = cover ? PictureVariant::Cover
        : quality == QLatin1Char('b')    ? PictureVariant::High
        : quality == QLatin1Char('c')    ? PictureVariant::Normal
        : quality == QLatin1Char('r')    ? PictureVariant::Raw
                                         : PictureVariant::Origin;
    if ((variant == PictureVariant::Raw && !m_data.pictureMeta(*album, key).rawUpload)
        || (variant == PictureVariant::Origin && !m_data.pictureMeta(*album, key).originUpload))
        return {};
    const PictureRecipe recipe = m_data.pictureRecipe(*album, variant, key);
    if (m.captured(4) != recipe.extension())
        return {};
    return {recipe.contentType(), body(recipe), cover ? QString() : album->ownerUin};
}

QByteArray PictureStore::placeholder() const
{
    static const QByteArray gif = PlaceholderGif::make();
    return gif;
}

QByteArray PictureStore::missingPlaceholder() const
{
    static const QByteArray gif = PlaceholderGif::missing();
    return gif;
}

PictureStore::Picture PictureStore::moodMedia(const QString &path) const
{
    const auto media = m_data.moods().media(path);
    if (!media)
        return {};
    switch (media->kind) {
    case MoodBook::Media::Kind::Missing:
        return {QByteArrayLiteral("image/gif"), std::make_shared<ByteArraySource>(missingPlaceholder()),
                QString()};
    case MoodBook::Media::Kind::Mp4:
        return {QByteArrayLiteral("video/mp4"),
                std::make_shared<ByteArraySource>(IsoMediaMaker::mp4(media->videoSeed)), QString()};
    case MoodBook::Media::Kind::Jpeg:
        break;
    }
    return {QByteArrayLiteral("image/jpeg"), body(media->recipe), QString()};
}

QByteArray PictureStore::avatar(const QString &uin) const
{
    PictureRecipe recipe;
    recipe.format = PictureRecipe::Format::Png;
    recipe.width = 100;
    recipe.height = 100;
    recipe.noise = 4;
    recipe.seed = PictureMaker::stableHash(uin, 0xA7A7);
    return encoded(recipe);
}

QByteArray PictureStore::bytes(const QString &path) const
{
    const Picture picture = find(path);
    if (!picture.found())
        return {};
    QByteArray all;
    all.reserve(int(qMin<qint64>(picture.body->size(), std::numeric_limits<int>::max())));
    for (QByteArray piece = picture.body->read(ReadPiece); !piece.isEmpty();
         piece = picture.body->read(ReadPiece))
        all += piece;
    return all;
}

qint64 PictureStore::size(const QString &path) const
{
    const Picture picture = find(path);
    return picture.found() ? picture.body->size() : -1;
}

QByteArray PictureStore::digest(const QString &path, QCryptographicHash::Algorithm algorithm) const
{
    const Picture picture = find(path);
    if (!picture.found())
        return {};
    QCryptographicHash hash(algorithm);
    for (QByteArray piece = picture.body->read(ReadPiece); !piece.isEmpty();
         piece = picture.body->read(ReadPiece))
        hash.addData(piece);
    return hash.result();
}

void PictureStore::clearCache()
{
    QMutexLocker lock(&m_mutex);
    m_cache.clear();
}

} // namespace albivex::standin
