#include "qzone/UnescapeUnicode.h"

namespace albivex {

QString HexToChar(const QString &piece)
{
    if (piece.isEmpty() || piece.size() > 4)
        return piece;
    ushort value = 0;
    for (const QChar c : piece) {
        const int digit = c.isDigit() && c.unicode() < 128 ? c.unicode() - '0'
            : (c.unicode() >= 'a' && c.unicode() <= 'f')   ? c.unicode() - 'a' + 10
            : (c.unicode() >= 'A' && c.unicode() <= 'F')   ? c.unicode() - 'A' + 10
                                                           : -1;
        if (digit < 0)
            return piece;
        value = static_cast<ushort>(value * 16 + digit);
    }
    return QString(QChar(value));
}

QString UnescapeUnicode(const QString &text)
{
    static const QString marker = QStringLiteral("\\u");
    int at = text.indexOf(marker);
    if (at < 0)
        return text;
    QString result = text.left(at);
    result.reserve(text.size());
    while (at >= 0) {
        const int pieceStart = at + marker.size();
        const int next = text.indexOf(marker, pieceStart);
        const int pieceEnd = next < 0 ? text.size() : next;
        const int headLength = qMin(4, pieceEnd - pieceStart);
        result += HexToChar(text.mid(pieceStart, headLength));
        result += QStringView(text).mid(pieceStart + headLength, pieceEnd - pieceStart - headLength);
        at = next;
    }
    return result;
}

} // namespace albivex
