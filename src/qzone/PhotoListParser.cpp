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
    const QString marker = KeyMarker(u"totalInAlbum");
    const qsizetype at = answer.indexOf(marker);
    if (at < 0)
        return -1;
    // The number's digits, whether a comma or the end of its object follows them.
    QStringView rest = answer.sliced(at + marker.size()).trimmed();
    qsizetype digits = 0;
    while (digits < rest.size() && rest.at(digits) >= QLatin1Char('0') && rest.at(digits) <= QLatin1Char('9'))
        ++digits;
    bool ok = false;
    const int total = rest.first(digits).toInt(&ok);
    return ok ? total : -1;
}

QList<PhotoEntry> ParsePhotoList(const QString &answer, int firstNumber)
{
    enum Key { Pre, Url, Name, UploadTime, Desc, Width, Height };
    qsizetype preKeys = 0;
    QStringList urls, names, uploadTimes, descriptions;
    QList<int> widths, heights;
    VisitPiecesOfKeys(answer, {u"pre", u"url", u"name", u"uploadtime", u"desc", u"width", u"height"},
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
        photo.width = widths.value(i);
        photo.height = heights.value(i);
        photos.append(std::move(photo));
    }
    return photos;
}

} // namespace albivex
