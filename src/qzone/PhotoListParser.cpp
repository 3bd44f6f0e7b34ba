#include "qzone/PhotoListParser.h"

#include "qzone/CutRule.h"

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
    enum Key { Pre, Url, Name, UploadTime, Desc };
    qsizetype preKeys = 0;
    QStringList urls, names, uploadTimes, descriptions;
    VisitPiecesOfKeys(answer, {u"pre", u"url", u"name", u"uploadtime", u"desc"},
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
                          }
                      });
    const qsizetype count = qMax<qsizetype>(0, preKeys - 1);
    // Values are moved out: each list is read once.
    const auto take = [](QStringList &list, qsizetype i) {
        return i < list.size() ? std::move(list[i]) : QString();
    };

    QList<PhotoEntry> photos;
    photos.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        PhotoEntry photo;
        photo.number = firstNumber + static_cast<int>(i);
        photo.name = take(names, i);
        photo.uploadTime = take(uploadTimes, i);
        photo.description = take(descriptions, i);
        photo.description.remove(QLatin1String("\\/"));
        photo.url = take(urls, i);
        photo.url.replace(QLatin1String("\\/"), QLatin1String("/"));
        photos.append(std::move(photo));
    }
    return photos;
}

} // namespace albivex
