#include "qzone/CutRule.h"

#include <QStringMatcher>

namespace albivex {

namespace {

// Calls visit(start, end) for every raw piece of the key; start is just after its
// marker and end is the next marker's start (or the answer's end).
template<typename Visit> void ForEachPiece(QStringView answer, QStringView key, Visit visit)
{
    const QString marker = KeyMarker(key);
    // The matcher builds its skip table once for the whole pass.
    const QStringMatcher matcher(marker);
    qsizetype at = matcher.indexIn(answer);
    while (at >= 0) {
        const qsizetype start = at + marker.size();
        const qsizetype next = matcher.indexIn(answer, start);
        visit(start, next < 0 ? answer.size() : next);
        at = next;
    }
}

} // namespace

QString KeyMarker(QStringView key)
{
    QString marker;
    marker.reserve(key.size() + 5);
    marker += QLatin1Char('"');
    marker += key;
    marker += QLatin1String("\" : ");
    return marker;
}

QList<QStringView> CutPieces(QStringView answer, QStringView key)
{
    QList<QStringView> pieces;
    ForEachPiece(answer, key,
                 [&](qsizetype start, qsizetype end) { pieces.append(answer.sliced(start, end - start)); });
    return pieces;
}

int PieceNumber(QStringView piece)
{
    qsizetype start = 0;
    while (start < piece.size() && (piece.at(start).isSpace() || piece.at(start) == QLatin1Char('"')))
        ++start;
    qsizetype end = start;
    while (end < piece.size() && piece.at(end) >= QLatin1Char('0') && piece.at(end) <= QLatin1Char('9'))
        ++end;
    bool ok = false;
    const int number = piece.sliced(start, end - start).toInt(&ok);
    return ok ? number : 0;
}

QString ScalarPieceValue(QStringView piece)
{
    const QStringView rest = piece.trimmed();
    if (rest.startsWith(QLatin1Char('"'))) {
        qsizetype end = 1;
        while (end < rest.size() && rest.at(end) != QLatin1Char('"'))
            end += rest.at(end) == QLatin1Char('\\') ? 2 : 1;
        return rest.sliced(1, qMin(end, rest.size()) - 1).toString();
    }
    qsizetype end = 0;
    while (end < rest.size()) {
        const QChar c = rest.at(end);
        if (c == QLatin1Char(',') || c == QLatin1Char('}') || c == QLatin1Char(']') || c.isSpace())
            break;
        ++end;
    }
    return rest.first(end).toString();
}

bool IsSetFlag(QStringView piece)
{
    const QString value = ScalarPieceValue(piece);
    const bool quoted = piece.trimmed().startsWith(QLatin1Char('"'));
    return value == u"1" || (!quoted && value == u"true");
}

int FirstCount(QStringView answer, QStringView key)
{
    const QString marker = KeyMarker(key);
    const qsizetype at = answer.indexOf(marker);
    if (at < 0)
        return -1;
    // The number's digits, whether a comma or the end of its object follows them.
    QStringView rest = answer.sliced(at + marker.size()).trimmed();
    qsizetype digits = 0;
    while (digits < rest.size() && rest.at(digits) >= QLatin1Char('0') && rest.at(digits) <= QLatin1Char('9'))
        ++digits;
    bool ok = false;
    const int count = rest.first(digits).toInt(&ok);
    return ok ? count : -1;
}

} // namespace albivex
