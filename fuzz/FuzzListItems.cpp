// The item reader against a JSON reader. The input drives the making of a well-formed
// photo-list answer: pictures with any subset of the keys, in any order, texts full
// of commas, quotes, braces and escapes, blocks before and after the list. Every
// picture's values must equal what QJsonDocument reads for the same item, after the
// same value rules are applied to it. Then one caption of the answer is damaged (its
// closing quote dropped, or escaped by a backslash): every other picture must keep
// every value, and none may appear or vanish.

#include "FuzzSupport.h"
#include "qzone/PhotoListParser.h"
#include "qzone/UnescapeUnicode.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace albivex;
using namespace albivex::fuzz;

namespace {

class Input
{
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) { }
    int next(int bound) { return bound <= 1 ? 0 : (m_at < m_size ? m_data[m_at++] : 0) % bound; }
    bool flip() { return next(2) == 1; }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_at = 0;
};

// How the answer writes its texts.
struct Style
{
    bool pretty = false;
    bool spacedColon = true;
    bool asciiOnly = false; // non-ASCII as \uXXXX, as the today profile does
    bool escapedSlash = true;
};

QString Encode(const QString &value, const Style &style)
{
    QString out;
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if (u == u'"')
            out += QLatin1String("\\\"");
        else if (u == u'\\')
            out += QLatin1String("\\\\");
        else if (u == u'/')
            out += style.escapedSlash ? QLatin1String("\\/") : QLatin1String("/");
        else if (u == u'\n')
            out += QLatin1String("\\n");
        else if (u < 0x20 || (style.asciiOnly && u > 0x7e))
            out += QStringLiteral("\\u%1").arg(uint(u), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString Text(Input &in)
{
    static const char *const fragments[]
        = {"a",   "相册",        ",", "\"",  "\\",      "/", "\n",   "{",  "}",    "[",  "]",  ":", " : ",
           "pre", "\"name\" : ", " ", "x,y", "\\u76F8", "😀", "}, {", "\t", "null", "]}", "\"", ","};
    QString text;
    for (int n = in.next(6); n > 0; --n)
        text += QString::fromUtf8(fragments[in.next(std::size(fragments))]);
    return text;
}

// The value rules on a string's text as written.
QString RuleValue(const QString &written)
{
    return written.section(QLatin1Char(','), 0, 0).remove(QLatin1Char('"'));
}

struct Made
{
    QString answer;
    QList<qsizetype> captionQuotes; // the closing quote of each picture's caption, if any
};

Made MakeAnswer(Input &in, const Style &style)
{
    const QString colon = style.spacedColon ? QStringLiteral(" : ") : QStringLiteral(":");
    const QString gap = style.pretty ? QStringLiteral("\n            ") : QString();
    const auto field = [&](const QString &key, const QString &value) {
        return gap + QLatin1Char('"') + key + QLatin1Char('"') + colon + value;
    };
    const auto quoted = [&](const QString &text) {
        return QLatin1Char('"') + Encode(text, style) + QLatin1Char('"');
    };
    const auto block = [&](Input &in) {
        QStringList fields;
        for (const char *key : {"name", "url", "make", "pre"}) {
            if (in.flip())
                fields << field(QString::fromLatin1(key), quoted(Text(in)));
        }
        return QLatin1Char('{') + fields.join(QLatin1Char(',')) + QLatin1Char('}');
    };

    Made made;
    QString &answer = made.answer;
    answer = QStringLiteral("shine0_Callback({\"code\"") + colon + QStringLiteral("0,\"data\"") + colon
        + QLatin1Char('{');
    if (in.flip())
        answer += QStringLiteral("\"topic\"") + colon + block(in) + QLatin1Char(',');
    answer += QStringLiteral("\"photoList\"") + colon + QLatin1Char('[');
    const int pictures = in.next(5);
    for (int p = 0; p < pictures; ++p) {
        static const char *const keys[] = {"name",   "desc",     "url",  "lloc", "uploadtime", "width",
                                           "height", "is_video", "exif", "pre",  "batchId"};
        QList<int> order;
        for (int k = 0; k < int(std::size(keys)); ++k) {
            if (in.next(4) != 0)
                order.insert(in.next(order.size() + 1), k);
        }
        if (order.isEmpty())
            order << 3; // the services write no empty items: every picture has its lloc
        if (p > 0)
            answer += QLatin1Char(',');
        answer += (style.pretty ? QStringLiteral("\n         {") : QStringLiteral("{"));
        qsizetype captionQuote = -1;
        for (int i = 0; i < order.size(); ++i) {
            const QString key = QString::fromLatin1(keys[order.at(i)]);
            QString value;
            if (key == QLatin1String("width") || key == QLatin1String("height"))
                value = QString::number(in.next(256) * 37);
            else if (key == QLatin1String("is_video"))
                value = QStringList {"true", "false", "1", "0", "\"1\""}.at(in.next(5));
            else if (key == QLatin1String("exif"))
                value = block(in);
            else
                value = quoted(Text(in));
            if (i > 0)
                answer += QLatin1Char(',');
            answer += field(key, value);
            if (key == QLatin1String("desc"))
                captionQuote = answer.size() - 1;
        }
        answer += (style.pretty ? QStringLiteral("\n         }") : QStringLiteral("}"));
        made.captionQuotes.append(captionQuote);
    }
    answer += QLatin1Char(']');
    if (in.flip())
        answer += QStringLiteral(",\"topic\"") + colon + block(in);
    answer
        += QStringLiteral(",\"totalInAlbum\"") + colon + QString::number(pictures) + QStringLiteral("}});");
    return made;
}

QString Dump(const PhotoEntry &p)
{
    QStringList exif;
    for (const auto &value : p.exif)
        exif << value.first + QLatin1Char('=') + value.second;
    return QStringList({QString::number(p.number), p.name, p.uploadTime, p.description, p.url,
                        QString::number(p.width), QString::number(p.height), p.lloc,
                        QString::number(p.isVideo), p.fullName, p.fullDescription, exif.join(u';')})
        .join(QChar(0x1F));
}

void CheckAgainstJson(const Made &made, const Style &style)
{
    const QString &answer = made.answer;
    const QString inner = answer.mid(16, answer.size() - 16 - 2);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(inner.toUtf8(), &error);
    Require(error.error == QJsonParseError::NoError, "the harness makes well-formed answers", inner);
    const QJsonArray list = document.object()
                                .value(QLatin1String("data"))
                                .toObject()
                                .value(QLatin1String("photoList"))
                                .toArray();

    const QList<PhotoEntry> photos = ParsePhotoList(answer);
    Require(photos.size() == list.size(), "one picture per item the JSON reader sees", answer);
    for (qsizetype i = 0; i < photos.size(); ++i) {
        const QJsonObject item = list.at(i).toObject();
        const PhotoEntry &photo = photos.at(i);
        const auto written = [&](const char *key) {
            return Encode(item.value(QLatin1String(key)).toString(), style);
        };
        const auto has = [&](const char *key) {
            return item.contains(QLatin1String(key));
        };
        Require(photo.name == (has("name") ? UnescapeUnicode(RuleValue(written("name"))) : QString()),
                "name: the item's own, by the value rules", answer);
        Require(photo.fullName == item.value(QLatin1String("name")).toString(), "full name: the item's own",
                answer);
        Require(photo.fullDescription == item.value(QLatin1String("desc")).toString(),
                "full caption: the item's own", answer);
        QString description = has("desc") ? RuleValue(written("desc")) : QString();
        description.remove(QLatin1String("\\/"));
        Require(photo.description == UnescapeUnicode(description),
                "caption: the item's own, by the value rules", answer);
        QString url = has("url") ? RuleValue(written("url")) : QString();
        url.replace(QLatin1String("\\/"), QLatin1String("/"));
        Require(photo.url == url, "address: the item's own", answer);
        Require(photo.lloc == (has("lloc") ? RuleValue(written("lloc")) : QString()), "key: the item's own",
                answer);
        Require(photo.uploadTime == (has("uploadtime") ? RuleValue(written("uploadtime")) : QString()),
                "upload time: the item's own", answer);
        Require(photo.width == item.value(QLatin1String("width")).toInt(), "width: the item's own", answer);
        Require(photo.height == item.value(QLatin1String("height")).toInt(), "height: the item's own",
                answer);
        const QJsonValue video = item.value(QLatin1String("is_video"));
        Require(photo.isVideo
                    == (video.toBool() || video.toInt() == 1 || video.toString() == QLatin1String("1")),
                "video flag: the item's own", answer);
        QStringList exif, expected;
        for (const auto &value : photo.exif)
            exif << value.first + QLatin1Char('=') + value.second;
        const QJsonObject block = item.value(QLatin1String("exif")).toObject();
        for (auto it = block.begin(); it != block.end(); ++it) {
            if (!it.value().toString().trimmed().isEmpty())
                expected << it.key() + QLatin1Char('=') + it.value().toString().trimmed();
        }
        exif.sort();
        expected.sort();
        Require(exif == expected, "exif: the item's own block", answer);
    }
}

void CheckDamage(Input &in, const Made &made)
{
    QList<qsizetype> damageable;
    for (qsizetype i = 0; i < made.captionQuotes.size(); ++i) {
        if (made.captionQuotes.at(i) >= 0)
            damageable << i;
    }
    if (damageable.isEmpty())
        return;
    const qsizetype victim = damageable.at(in.next(static_cast<int>(damageable.size())));
    QString damaged = made.answer;
    const qsizetype quote = made.captionQuotes.at(victim);
    if (in.flip())
        damaged.remove(quote, 1);
    else
        damaged.insert(quote, QLatin1Char('\\'));

    const QList<PhotoEntry> whole = ParsePhotoList(made.answer);
    const QList<PhotoEntry> photos = ParsePhotoList(damaged);
    Require(photos.size() == whole.size(), "a damaged caption adds or loses no picture", damaged);
    for (qsizetype i = 0; i < photos.size(); ++i) {
        if (i != victim)
            Require(Dump(photos.at(i)) == Dump(whole.at(i)),
                    "a damaged caption costs no other picture a value", damaged);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Input in(data, size);
    Style style;
    style.pretty = in.flip();
    style.spacedColon = in.next(4) != 0;
    style.asciiOnly = in.flip();
    style.escapedSlash = in.next(4) != 0;
    const Made made = MakeAnswer(in, style);
    CheckAgainstJson(made, style);
    CheckDamage(in, made);
    return 0;
}
