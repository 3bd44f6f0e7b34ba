#include "standin/ShotDetails.h"

#include <QDateTime>

namespace albivex::standin {

namespace {

// Plain texts; none holds the three letters the answers count.
const char *const places[] = {"杭州市西湖区", "北京市海淀区", "上海市黄浦区外滩", "成都市武侯区", "香港"};

struct Camera
{
    const char *make;
    const char *model;
    const char *type;
};
const Camera cameras[] = {
    {"Canon", "Canon EOS 5D Mark III", "Canon EOS 5D Mark III"},
    {"Apple", "iPhone 6s", "iPhone 6s"},
    {"HUAWEI", "ELE-AL00", "HUAWEI P30"},
};

QString chinaTime(qint64 secs, const QString &format)
{
    return QDateTime::fromSecsSinceEpoch(secs + 8 * 3600, Qt::UTC).toString(format);
}

} // namespace

void AddShotDetails(PictureMeta &meta, int n, qint64 uploadSecs)
{
    // Days to weeks before the upload, at an uneven time of day.
    const qint64 shotSecs = uploadSecs - qint64(n % 9 + 1) * 86400 - qint64(n) * 613 % 20000;
    const QString shot = chinaTime(shotSecs, QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    switch (n % 6) {
    case 0:
        break; // no rawshoottime at all
    case 3:
        meta.shootTime = QStringLiteral("0");
        break;
    default:
        meta.shootTime = shot;
        break;
    }
    if (n % 3 == 1)
        meta.place = QString::fromUtf8(places[(n / 3) % int(std::size(places))]);
    if (n % 5 != 4)
        meta.commentCount = n % 4;
    if (n % 4 == 0)
        return; // neither camera nor exif
    const Camera &camera = cameras[n % int(std::size(cameras))];
    meta.cameraType = QString::fromUtf8(camera.type);
    meta.hasExif = true;
    // The exif time wherever rawshoottime gives a date, and as the only time on some
    // pictures without one (rawshoottime "0" or left out); n % 12 == 9 and 0 have none.
    const bool dated = !meta.shootTime.isEmpty() && meta.shootTime != QLatin1String("0");
    const bool exifTime = dated || n % 12 == 3 || n % 12 == 6;
    const auto value = [](bool known, const QString &text) {
        return known ? text : QString();
    };
    meta.exif = {
        {QStringLiteral("make"), QString::fromUtf8(camera.make)},
        {QStringLiteral("model"), QString::fromUtf8(camera.model)},
        {QStringLiteral("originalTime"),
         value(exifTime, chinaTime(shotSecs, QStringLiteral("yyyy:MM:dd hh:mm:ss")))},
        {QStringLiteral("exposureTime"), value(n % 2 == 1, QStringLiteral("1/%1").arg(60 << (n % 4)))},
        {QStringLiteral("fnumber"), value(n % 2 == 1, QStringLiteral("f/%1").arg(2.8 + n % 3, 0, 'f', 1))},
        {QStringLiteral("focalLength"), value(n % 3 != 0, QStringLiteral("%1mm").arg(24 + n % 5 * 10))},
        {QStringLiteral("iso"), value(n % 5 != 0, QString::number(100 << (n % 3)))},
        {QStringLiteral("flash"), QString()},
        {QStringLiteral("lensModel"), QString()},
    };
}

} // namespace albivex::standin
