#include "qzone/PhotoListParser.h"

#include "qzone/CutRule.h"
#include "qzone/UnescapeUnicode.h"

#include <limits>

namespace albivex {

int CountPictures(QStringView answer)
{
    const qsizetype keys = CountKey(answer, u"pre");
    if (keys <= 1)
        return 0;
    return static_cast<int>(qMin<qsizetype>(keys - 1, std::numeric_limits<int>::max()));
}

int TotalInAlbum(QStringView answer)
{
    return FirstCount(answer, u"totalInAlbum");
}

QList<PhotoEntry> ParsePhotoList(const QString &answer, int firstNumber)
{
    enum Key {
        Pre,
        Url,
        Name,
        UploadTime,
        Desc,
        Width,
        Height,
        Lloc,
        Raw,
        RawUpload,
        OriginUrl,
        OriginUpload,
        IsVideo
    };
    qsizetype preKeys = 0;
    QStringList urls, names, uploadTimes, descriptions;
    QList<int> widths, heights;
    QStringList llocs, raws, originUrls;
    QList<bool> rawUploads, originUploads, videoFlags;
    VisitPiecesOfKeys(answer,
                      {u"pre", u"url", u"name", u"uploadtime", u"desc", u"width", u"height", u"lloc", u"raw",
                       u"raw_upload", u"origin_url", u"origin_upload", u"is_video"},
                      [&](qsizetype key, QStringView piece) {
                          switch (key) {
                          case Pre:
                              ++preKeys;
                              break;
                          case Url:
                              urls.append(PieceValue(piece));
                              break;
                          case Name:
                              names.append(PieceValue(piece));
                              break;
                          case UploadTime:
                              uploadTimes.append(PieceValue(piece));
                              break;
                          case Desc:
                              descriptions.append(PieceValue(piece));
                              break;
                          case Width:
                              widths.append(PieceNumber(piece));
                              break;
                          case Height:
                              heights.append(PieceNumber(piece));
                              break;
                          case Lloc:
                              llocs.append(PieceValue(piece));
                              break;
                          case Raw:
                              raws.append(PieceValue(piece));
                              break;
                          case RawUpload:
                              rawUploads.append(IsSetFlag(piece));
                              break;
                          case OriginUrl:
                              originUrls.append(PieceValue(piece));
                              break;
                          case OriginUpload:
                              originUploads.append(IsSetFlag(piece));
                              break;
                          case IsVideo:
                              videoFlags.append(IsSetFlag(piece));
                              break;
                          }
                      });
    const qsizetype count = qMax<qsizetype>(0, preKeys - 1);
    // Values are moved out: each list is read once.
    const auto take = [](QStringList &list, qsizetype i) {
        return i < list.size() ? std::move(list[i]) : QString();
    };
    const auto address = [&take](QStringList &list, qsizetype i) {
        QString value = take(list, i);
        value.replace(QLatin1String("\\/"), QLatin1String("/"));
        return value;
    };
    const auto flag = [](const QList<bool> &list, qsizetype i) {
        return i < list.size() && list.at(i);
    };

    QList<PhotoEntry> photos;
    photos.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        PhotoEntry photo;
        photo.number = firstNumber + static_cast<int>(i);
        photo.name = UnescapeUnicode(take(names, i));
        photo.uploadTime = take(uploadTimes, i);
        photo.description = take(descriptions, i);
        photo.description.remove(QLatin1String("\\/"));
        photo.description = UnescapeUnicode(photo.description);
        photo.url = take(urls, i);
        photo.url.replace(QLatin1String("\\/"), QLatin1String("/"));
        photo.lloc = take(llocs, i);
        photo.raw = address(raws, i);
        photo.rawUpload = flag(rawUploads, i);
        photo.originUrl = address(originUrls, i);
        photo.originUpload = flag(originUploads, i);
        photo.isVideo = flag(videoFlags, i);
        photo.width = widths.value(i);
        photo.height = heights.value(i);
        photos.append(std::move(photo));
    }
    return photos;
}

} // namespace albivex
