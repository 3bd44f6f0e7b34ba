// albivex_gallery_shot OUT.png: builds the offline album of a made-up space in a
// scratch folder and photographs one album's page as the browser engine draws it,
// for the README. Needs a screen (xvfb-run); not a test.

#include "gallery/GalleryBuild.h"
#include "storage/AlbumDocument.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace albivex;

namespace {

// A landscape-ish picture: a sky, a hill and a sun in the given colours.
void paintPicture(const QString &path, QSize size, QColor sky, QColor hill)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, sky.lighter(140));
    gradient.setColorAt(1, sky);
    painter.fillRect(image.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 230, 120));
    painter.drawEllipse(QPointF(size.width() * 0.75, size.height() * 0.3), size.height() * 0.1,
                        size.height() * 0.1);
    painter.setBrush(hill);
    painter.drawEllipse(QRectF(-size.width() * 0.2, size.height() * 0.6, size.width() * 1.4, size.height()));
    painter.end();
    image.save(path, "JPEG", 90);
}

bool writeSpace(const QString &space)
{
    const QTimeZone china(8 * 3600);
    const QString folder = space + QStringLiteral("/春游,2016");
    QDir().mkpath(folder);
    AlbumDocument album;
    album.id = QStringLiteral("V1");
    album.name = QStringLiteral("春游,2016");
    album.description = QStringLiteral("西湖边的三天");
    album.ownerUin = QStringLiteral("123456789");
    album.pictureCount = 6;
    const struct
    {
        const char *file, *name, *caption, *place;
        QColor sky, hill;
        QSize size;
        int day, hour;
    } shots[] = {
        {"1.断桥.jpg", "断桥", "早上的断桥，人还不多", "杭州市西湖区", QColor(90, 150, 220),
         QColor(60, 140, 80), QSize(1200, 800), 31, 7},
        {"2.苏堤.jpg", "苏堤 #2", "柳树刚发芽 <春天>", "杭州市西湖区", QColor(120, 170, 230),
         QColor(90, 160, 70), QSize(900, 1200), 31, 10},
        {"3.雷峰塔.jpg", "雷峰塔", "", "杭州市西湖区雷峰塔景区", QColor(230, 140, 90), QColor(70, 90, 60),
         QSize(1200, 900), 31, 18},
        {"4.龙井.jpg", "龙井村", "100% 的好茶", "杭州市西湖区龙井村", QColor(150, 200, 230),
         QColor(40, 120, 60), QSize(1200, 700), 1, 9},
    };
    for (const auto &shot : shots) {
        paintPicture(folder + QLatin1Char('/') + QString::fromUtf8(shot.file), shot.size, shot.sky,
                     shot.hill);
        AlbumDocumentPicture picture;
        picture.lloc = QString::fromUtf8(shot.file);
        picture.file = QString::fromUtf8(shot.file);
        picture.name = QString::fromUtf8(shot.name);
        picture.caption = QString::fromUtf8(shot.caption);
        picture.place = QString::fromUtf8(shot.place);
        picture.shootTime
            = QDateTime(QDate(2016, shot.day == 1 ? 4 : 3, shot.day), QTime(shot.hour, 12), china);
        album.pictures << picture;
    }
    QFile heic(folder + QStringLiteral("/5.荷花.heic"));
    heic.open(QIODevice::WriteOnly);
    heic.write(QByteArray("\0\0\0\x18"
                          "ftypheic",
                          12));
    heic.close();
    AlbumDocumentPicture undecodable;
    undecodable.lloc = undecodable.file = QStringLiteral("5.荷花.heic");
    undecodable.name = QStringLiteral("荷花");
    undecodable.caption = QStringLiteral("手机拍的原图");
    album.pictures << undecodable;
    return !SaveAlbumDocument(folder, album);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    const QString space = dir.filePath(QStringLiteral("123456789"));
    const std::atomic_bool stop = false;
    if (!writeSpace(space) || BuildGallery(space, stop).albums != 1)
        return 1;

    QWebEngineView view;
    view.resize(980, 780);
    view.show();
    int code = 1;
    QObject::connect(view.page(), &QWebEnginePage::loadFinished, &view, [&](bool ok) {
        if (!ok)
            return app.exit(1);
        // Time for the thumbnails to be drawn.
        QTimer::singleShot(1500, &view, [&] {
            code = view.grab().save(out) ? 0 : 1;
            app.exit(code);
        });
    });
    view.load(QUrl::fromLocalFile(space + QStringLiteral("/春游,2016/index.html")));
    app.exec();
    return code;
}
