// albivex_moods_shot OUT.png: builds the offline album of a made-up space holding a few
// 说说 in a scratch folder and photographs the posts' page as the browser engine draws
// it, for the README. Needs a screen (xvfb-run); not a test.

#include "gallery/GalleryBuild.h"
#include "storage/MoodDocument.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace albivex;

namespace {

// A sky over a field, in the given colours.
void paintPicture(const QString &path, QSize size, QColor sky, QColor field)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0, sky.lighter(150));
    gradient.setColorAt(1, sky);
    painter.fillRect(image.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(field);
    painter.drawEllipse(QRectF(-size.width() * 0.3, size.height() * 0.55, size.width() * 1.6, size.height()));
    painter.end();
    image.save(path, "JPEG", 90);
}

MoodDocumentComment comment(const char *uin, const char *name, const QDateTime &time, const char *text)
{
    MoodDocumentComment c;
    c.author = QString::fromUtf8(uin);
    c.name = QString::fromUtf8(name);
    c.time = time;
    c.text = QString::fromUtf8(text);
    return c;
}

bool writeSpace(const QString &space)
{
    const QTimeZone china(8 * 3600);
    const QString folder = space + QStringLiteral("/说说");
    QDir().mkpath(folder);
    paintPicture(folder + QStringLiteral("/2023-05-01_142305_1a2b3c4d_01.jpg"), QSize(1200, 800),
                 QColor(90, 150, 220), QColor(60, 140, 80));
    paintPicture(folder + QStringLiteral("/2023-05-01_142305_1a2b3c4d_02.jpg"), QSize(800, 1200),
                 QColor(230, 150, 100), QColor(90, 110, 60));
    paintPicture(folder + QStringLiteral("/2023-05-01_142305_1a2b3c4d_c1_01.jpg"), QSize(900, 900),
                 QColor(150, 200, 230), QColor(200, 180, 60));

    MoodDocumentEntry trip;
    trip.id = QStringLiteral("1a2b");
    trip.time = QDateTime(QDate(2023, 5, 1), QTime(14, 23, 5), china);
    trip.text = QStringLiteral("五一去西湖，人山人海 [em]e100[/em]\n不过晚霞真的好看！");
    trip.placeName = QStringLiteral("杭州市西湖区");
    trip.source = QStringLiteral("iPhone");
    trip.files = {{QStringLiteral("2023-05-01_142305_1a2b3c4d_01.jpg"), false, QString()},
                  {QStringLiteral("2023-05-01_142305_1a2b3c4d_02.jpg"), false, QString()}};
    trip.commentCount = 2;
    MoodDocumentComment first
        = comment("20002", "小林", trip.time.addSecs(600), "羡慕！下次带上我 [em]e113[/em]");
    first.files = {{QStringLiteral("2023-05-01_142305_1a2b3c4d_c1_01.jpg"), false, QString()}};
    first.replies = {comment("123456789", "阿杰", trip.time.addSecs(1500), "好呀，国庆再约")};
    trip.comments = {first, comment("30003", "周周", trip.time.addSecs(3600), "第二张绝了")};

    MoodDocumentEntry repost;
    repost.id = QStringLiteral("3c4d");
    repost.time = QDateTime(QDate(2023, 4, 20), QTime(21, 8), china);
    repost.text = QStringLiteral("说得太对了");
    repost.source = QStringLiteral("QQ空间");
    repost.repostAuthor = QStringLiteral("40004");
    repost.repostName = QStringLiteral("老王");
    repost.repostTime = QStringLiteral("2023年04月20日");
    repost.repostText = QStringLiteral("周末就该好好睡一觉，别的都不重要。");

    MoodDocumentEntry plain;
    plain.id = QStringLiteral("5e6f");
    plain.time = QDateTime(QDate(2023, 3, 8), QTime(8, 30), china);
    plain.text = QStringLiteral("新的一年，从早起开始 [em]e120[/em]");
    plain.source = QStringLiteral("Android");
    plain.commentCount = 5;
    plain.comments = {comment("20002", "小林", plain.time.addSecs(300), "加油")};

    MoodDocument document;
    document.moods = {trip, repost, plain};
    QFile file(folder + QLatin1Char('/') + MoodDocumentFileName());
    return file.open(QIODevice::WriteOnly) && file.write(MoodDocumentText(document)) > 0;
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
    if (!writeSpace(space) || BuildGallery(space, stop).moodPages != 1)
        return 1;

    QWebEngineView view;
    view.resize(860, 960);
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
    view.load(QUrl::fromLocalFile(space + QStringLiteral("/说说/moods.html")));
    app.exec();
    return code;
}
