#include "qzone/UnescapeUnicode.h"

#include <optional>

namespace albivex {

namespace {

// The piece read as a hexadecimal number (at most four digits), if it reads as one.
std::optional<char16_t> HexValue(QStringView piece)
{
    if (piece.isEmpty() || piece.size() > 4)
        return std::nullopt;
    char16_t value = 0;
    for (const QChar c : piece) {
        const char16_t u = c.unicode();
        const int digit = (u >= '0' && u <= '9') ? u - '0'
            : (u >= 'a' && u <= 'f')             ? u - 'a' + 10
            : (u >= 'A' && u <= 'F')             ? u - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return std::nullopt;
        value = static_cast<char16_t>(value * 16 + digit);
    }
    return value;
}

} // namespace

QString HexToChar(const QString &piece)
{
    const std::optional<char16_t> value = HexValue(piece);
    return value ? QString(QChar(*value)) : piece;
}

namespace {

// Writes the decoding of `source` from its marker at `at` on to `out`. `out` may point
// into the source's own buffer at `at`: every escape only shortens the text, so
// nothing is written ahead of what is still to be read. Returns the end of what was
// written.
QChar *DecodeFrom(QStringView source, qsizetype at, QChar *out)
{
    constexpr QStringView marker = u"\\u";
    const auto append = [&out](QStringView piece) {
        // Forward, element by element: `out` never passes the piece's start.
        for (const QChar c : piece)
            *out++ = c;
    };
    while (at >= 0) {
        const qsizetype pieceStart = at + marker.size();
        const qsizetype next = source.indexOf(marker, pieceStart);
        const qsizetype pieceEnd = next < 0 ? source.size() : next;
        const qsizetype headLength = qMin<qsizetype>(4, pieceEnd - pieceStart);
        const QStringView head = source.mid(pieceStart, headLength);
        if (const std::optional<char16_t> value = HexValue(head))
            *out++ = QChar(*value);
        else
            append(head);
        append(source.mid(pieceStart + headLength, pieceEnd - pieceStart - headLength));
        at = next;
    }
    return out;
}

} // namespace

QString UnescapeUnicode(const QString &text)
{
    const qsizetype at = text.indexOf(u"\\u");
    if (at < 0)
        return text;
    QString result(text.size(), Qt::Uninitialized);
    std::copy(text.cbegin(), text.cbegin() + at, result.begin());
    const QChar *end = DecodeFrom(text, at, result.data() + at);
    result.truncate(end - result.constData());
    return result;
}

QString UnescapeUnicode(QString &&text)
{
    const qsizetype at = text.indexOf(u"\\u");
    if (at < 0)
        return std::move(text);
    // In place: a list answer decodes a name or two per picture, and each copy would
    // be one more allocation for every picture of a long album.
    QChar *data = text.data();
    const QChar *end = DecodeFrom(QStringView(data, text.size()), at, data + at);
    text.truncate(end - data);
    return std::move(text);
}

} // namespace albivex
