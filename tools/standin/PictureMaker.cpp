#include "standin/PictureMaker.h"

#include "standin/IsoMediaMaker.h"

#include <QBuffer>
#include <QImageWriter>

namespace albivex::standin {

namespace {

quint32 mix(quint32 h)
{
    h ^= h >> 15;
    h *= 0x2C1B3C6DU;
    h ^= h >> 12;
    h *= 0x297A2D39U;
    h ^= h >> 15;
    return h;
}

int clampChannel(int v)
{
    return v < 0 ? 0 : v > 255 ? 255 : v;
}

} // namespace

quint32 PictureMaker::stableHash(const QString &text, quint32 salt)
{
    quint32 h = 2166136261U ^ salt;
    for (const QChar c : text) {
        h ^= c.unicode();
        h *= 16777619U;
    }
    return mix(h);
}

QImage PictureMaker::draw(const PictureRecipe &recipe)
{
    const int w = qMax(1, recipe.width);
    const int h = qMax(1, recipe.height);
    QImage image(w, h, QImage::Format_RGB32);
    const quint32 s = mix(recipe.seed);
    const int r0 = s & 0xFF, g0 = (s >> 8) & 0xFF, b0 = (s >> 16) & 0xFF;
    const int cx = int((s >> 3) % quint32(w)), cy = int((s >> 11) % quint32(h));
    const qint64 radius = qMax(4, qMin(w, h) / 3);
    const int cell = 8 + int(s % 24);
    const int amplitude = qMax(0, recipe.noise);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            int r = r0 + x * 160 / w;
            int g = g0 + y * 160 / h;
            int b = b0 + (((x / cell) + (y / cell)) % 2) * 70;
            const qint64 dx = x - cx, dy = y - cy;
            if (dx * dx + dy * dy < radius * radius) {
                r = 255 - r;
                b = 255 - b;
            }
            if (amplitude > 0) {
                const quint32 n = mix(quint32(x) * 0x9E3779B1U ^ quint32(y) * 0x85EBCA77U ^ s);
                const int span = 2 * amplitude + 1;
                r += int(n % quint32(span)) - amplitude;
                g += int((n >> 10) % quint32(span)) - amplitude;
                b += int((n >> 20) % quint32(span)) - amplitude;
            }
            line[x] = qRgb(clampChannel(r), clampChannel(g), clampChannel(b));
        }
    }
    return image;
}

QByteArray PictureMaker::encode(const PictureRecipe &recipe)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const char *format = recipe.isPng()                ? "png"
        : recipe.format == PictureRecipe::Format::Webp ? "webp"
                                                       : "jpeg";
    QImageWriter writer(&buffer, format);
    if (!recipe.isPng())
        writer.setQuality(recipe.quality);
    writer.write(draw(recipe));
    if (recipe.format == PictureRecipe::Format::Heic)
        return IsoMediaMaker::heic(bytes);
    return bytes;
}

} // namespace albivex::standin
