// Draws the window's pictures: the background, the logo and the default avatar.
// Run once after changing a drawing and commit the PNG files it writes:
//   albivex-artwork src/window/resources
// With --icons it draws the application icon at every size the desktop menus use, into
// DIR/NxN/apps/NAME.png; the build does this itself (the icons are never committed):
//   albivex-artwork --icons DIR NAME
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QRadialGradient>

#include <cstdio>

namespace {

constexpr int WindowWidth = 981;
constexpr int WindowHeight = 598;
constexpr int HeaderHeight = 76;

const QColor HeaderTop(0x1d, 0x4a, 0x86);
const QColor HeaderBottom(0x2b, 0x6c, 0xb6);
const QColor Accent(0xf5, 0xa6, 0x23);

QFont uiFont(int pixelSize, int weight)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QImage drawBackground()
{
    QImage image(WindowWidth, WindowHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient body(0, HeaderHeight, 0, WindowHeight);
    body.setColorAt(0, QColor(0xf5, 0xf8, 0xfc));
    body.setColorAt(1, QColor(0xe2, 0xe9, 0xf2));
    p.fillRect(0, HeaderHeight, WindowWidth, WindowHeight - HeaderHeight, body);

    QLinearGradient header(0, 0, 0, HeaderHeight);
    header.setColorAt(0, HeaderTop);
    header.setColorAt(1, HeaderBottom);
    p.fillRect(0, 0, WindowWidth, HeaderHeight, header);

    // Soft overlapping discs at the right of the header, like stacked prints.
    p.save();
    p.setClipRect(0, 0, WindowWidth, HeaderHeight);
    p.setPen(Qt::NoPen);
    const struct
    {
        int x, y, r, alpha;
    } discs[] = {{760, 96, 120, 22}, {860, -30, 90, 18}, {640, -60, 110, 14}};
    for (const auto &d : discs) {
        QRadialGradient glow(d.x, d.y, d.r);
        glow.setColorAt(0, QColor(255, 255, 255, d.alpha));
        glow.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(glow);
        p.drawEllipse(QPoint(d.x, d.y), d.r, d.r);
    }
    p.restore();

    // A thin accent under the header, brightest at the left where the logo is.
    QLinearGradient accent(0, 0, WindowWidth, 0);
    accent.setColorAt(0, Accent);
    accent.setColorAt(0.45, QColor(Accent.red(), Accent.green(), Accent.blue(), 90));
    accent.setColorAt(1, QColor(Accent.red(), Accent.green(), Accent.blue(), 0));
    p.fillRect(0, HeaderHeight - 3, WindowWidth, 3, accent);
    return image;
}

// Two tilted prints behind a front print showing hills under a sun.
void drawEmblem(QPainter &p, const QRectF &box)
{
    const QPointF centre = box.center();
    const qreal side = box.width() * 0.74;
    const QRectF card(-side / 2, -side / 2, side, side);

    p.setPen(Qt::NoPen);
    for (const qreal angle : {-14.0, 9.0}) {
        p.save();
        p.translate(centre);
        p.rotate(angle);
        p.setBrush(QColor(255, 255, 255, angle < 0 ? 110 : 160));
        p.drawRoundedRect(card, 6, 6);
        p.restore();
    }

    p.save();
    p.translate(centre);
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 6, 6);
    const QRectF photo = card.adjusted(5, 5, -5, -5);
    QPainterPath clip;
    clip.addRoundedRect(photo, 3, 3);
    p.setClipPath(clip);
    QLinearGradient sky(0, photo.top(), 0, photo.bottom());
    sky.setColorAt(0, QColor(0x8e, 0xc5, 0xf5));
    sky.setColorAt(1, QColor(0xd8, 0xec, 0xfb));
    p.fillRect(photo, sky);
    p.setBrush(Accent);
    p.drawEllipse(QPointF(photo.right() - 10, photo.top() + 10), 5.5, 5.5);
    QPainterPath far;
    far.moveTo(photo.left(), photo.bottom());
    far.lineTo(photo.left() + photo.width() * 0.55, photo.top() + photo.height() * 0.42);
    far.lineTo(photo.right(), photo.bottom() - photo.height() * 0.2);
    far.lineTo(photo.right(), photo.bottom());
    far.closeSubpath();
    p.setBrush(QColor(0x3f, 0x86, 0xd0));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(photo.left(), photo.bottom() - photo.height() * 0.25);
    near.lineTo(photo.left() + photo.width() * 0.28, photo.top() + photo.height() * 0.55);
    near.lineTo(photo.left() + photo.width() * 0.62, photo.bottom());
    near.lineTo(photo.left(), photo.bottom());
    near.closeSubpath();
    p.setBrush(HeaderTop);
    p.drawPath(near);
    p.restore();
}

QImage drawLogo()
{
    QImage image(300, 70, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    drawEmblem(p, QRectF(4, 5, 60, 60));

    p.setPen(Qt::white);
    p.setFont(uiFont(30, QFont::Bold));
    p.drawText(QRectF(74, 4, 220, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Albivex"));
    p.setPen(QColor(255, 255, 255, 215));
    p.setFont(uiFont(13, QFont::Normal));
    p.drawText(QRectF(76, 42, 220, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("QQ空间相册保存工具"));
    return image;
}

QImage drawAvatar()
{
    constexpr int side = 160;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 0, side);
    ground.setColorAt(0, QColor(0xd9, 0xe4, 0xf1));
    ground.setColorAt(1, QColor(0xb4, 0xc6, 0xdc));
    p.fillRect(image.rect(), ground);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(QPointF(side / 2.0, side * 0.39), side * 0.19, side * 0.19);
    QPainterPath shoulders;
    shoulders.moveTo(side * 0.14, side);
    shoulders.cubicTo(side * 0.16, side * 0.66, side * 0.84, side * 0.66, side * 0.86, side);
    shoulders.closeSubpath();
    p.drawPath(shoulders);
    return image;
}

// The drop-down arrow of the combo box, drawn at twice its shown size.
QImage drawArrow()
{
    QImage image(20, 12, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(HeaderBottom, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(3, 2.5), QPointF(10, 9.5), QPointF(17, 2.5)}));
    return image;
}

// The application icon: the emblem's prints on a rounded tile in the header's blue, with
// an amber badge holding a downward arrow for the pictures it saves. Drawn on a grid of
// 64 units, so every size is drawn afresh rather than scaled from another.
QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    const QRectF tile(2, 2, 60, 60);
    QLinearGradient ground(0, tile.top(), 0, tile.bottom());
    ground.setColorAt(0, HeaderBottom);
    ground.setColorAt(1, HeaderTop);
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(tile, 13, 13);
    drawEmblem(p, QRectF(3, 3, 54, 54));

    const QPointF badge(47, 47);
    p.setPen(QPen(Qt::white, 2.5));
    p.setBrush(Accent);
    p.drawEllipse(badge, 12, 12);
    p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(badge.x(), badge.y() - 6.5), QPointF(badge.x(), badge.y() + 5.5));
    p.drawPolyline(QPolygonF({QPointF(badge.x() - 5.5, badge.y()), QPointF(badge.x(), badge.y() + 5.5),
                              QPointF(badge.x() + 5.5, badge.y())}));
    return image;
}

bool save(const QImage &image, const QDir &dir, const char *name)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG", 9)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

bool writeIcons(const QDir &root, const char *name)
{
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!root.mkpath(folder)) {
            std::fprintf(stderr, "cannot make %s\n", qPrintable(root.filePath(folder)));
            return false;
        }
        if (!save(drawIcon(size), QDir(root.filePath(folder)), QByteArray(name).append(".png").constData()))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--icons") == 0)
        return writeIcons(QDir(QString::fromLocal8Bit(argv[2])), argv[3]) ? 0 : 1;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR\n       %s --icons DIR NAME\n", argv[0], argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const bool ok = save(drawBackground(), dir, "background.png") && save(drawLogo(), dir, "logo.png")
        && save(drawAvatar(), dir, "avatar.png") && save(drawArrow(), dir, "arrow-down.png");
    return ok ? 0 : 1;
}
