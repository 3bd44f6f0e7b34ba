// albivex_board_shot OUT.png: builds the offline album of a made-up space holding a
// small message board in a scratch folder and photographs the board's page as the
// browser engine draws it, for the README. Needs a screen (xvfb-run); not a test.

#include "gallery/GalleryBuild.h"
#include "storage/BoardDocument.h"

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

// A sunset over the sea.
void paintPicture(const QString &path, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, size.height() * 0.6);
    sky.setColorAt(0, QColor(250, 180, 120));
    sky.setColorAt(1, QColor(240, 120, 90));
    painter.fillRect(QRect(0, 0, size.width(), size.height() * 6 / 10), sky);
    painter.fillRect(QRect(0, size.height() * 6 / 10, size.width(), size.height()), QColor(50, 90, 150));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 230, 150));
    painter.drawEllipse(QPointF(size.width() * 0.5, size.height() * 0.6), size.width() * 0.12,
                        size.width() * 0.12);
    painter.end();
    image.save(path, "JPEG", 90);
}

BoardDocumentEntry message(const char *id, const char *uin, const char *name, const QDateTime &time,
                           const char *text)
{
    BoardDocumentEntry e;
    e.id = QString::fromUtf8(id);
    e.author = QString::fromUtf8(uin);
    e.name = QString::fromUtf8(name);
    e.time = time;
    e.text = QString::fromUtf8(text);
    return e;
}

bool writeSpace(const QString &space)
{
    const QTimeZone china(8 * 3600);
    const QString folder = space + QStringLiteral("/留言板");
    QDir().mkpath(folder);
    const QString picture = QStringLiteral("2023-08-12_193000_5f6e7d8c_01.jpg");
    paintPicture(folder + QLatin1Char('/') + picture, QSize(1200, 800));

    BoardDocumentEntry sea
        = message("5f6e", "20002", "小林", QDateTime(QDate(2023, 8, 12), QTime(19, 30), china),
                  "路过踩一踩 [em]e113[/em]\n给你看看今天的海边日落！");
    sea.pictures = {{picture, QString()}};
    BoardDocumentEntry birthday
        = message("3c4d", "30003", "周周", QDateTime(QDate(2023, 6, 18), QTime(0, 1), china),
                  "生日快乐！新的一岁万事顺意 [em]e100[/em]");
    birthday.modified = birthday.time.addSecs(600);
    birthday.replies = {{QStringLiteral("123456789"), QStringLiteral("阿杰"), birthday.time.addSecs(3 * 3600),
                         QStringLiteral("谢谢周周，改天请你吃饭")},
                        {QStringLiteral("30003"), QStringLiteral("周周"), birthday.time.addSecs(4 * 3600),
                         QStringLiteral("说好了啊")}};
    BoardDocumentEntry secret
        = message("1a2b", "40004", "老王", QDateTime(QDate(2023, 5, 2), QTime(22, 15), china), "");
    secret.isPrivate = true;
    const BoardDocumentEntry plain = message(
        "0a1b", "50005", "", QDateTime(QDate(2023, 3, 8), QTime(8, 30), china), "好久不见，最近怎么样？");

    BoardDocument document;
    document.messages = {sea, birthday, secret, plain};
    QFile file(folder + QLatin1Char('/') + BoardDocumentFileName());
    return file.open(QIODevice::WriteOnly) && file.write(BoardDocumentText(document)) > 0;
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
    if (!writeSpace(space) || BuildGallery(space, stop).boardPages != 1)
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
    view.load(QUrl::fromLocalFile(space + QStringLiteral("/留言板/board.html")));
    app.exec();
    return code;
}
