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

qsizetype CountOccurrences(QStringView text, QStringView needle)
{
    if (needle.isEmpty())
        return 0;
    const QStringMatcher matcher(needle);
    qsizetype count = 0;
    for (qsizetype at = matcher.indexIn(text); at >= 0; at = matcher.indexIn(text, at + needle.size()))
        ++count;
    return count;
}

qsizetype CountKey(QStringView answer, QStringView key)
{
    return CountOccurrences(answer, KeyMarker(key));
}

QList<QStringView> CutPieces(QStringView answer, QStringView key)
{
    QList<QStringView> pieces;
    ForEachPiece(answer, key,
                 [&](qsizetype start, qsizetype end) { pieces.append(answer.sliced(start, end - start)); });
    return pieces;
}

QString PieceValue(QStringView piece)
{
    // The comma is looked for inside the piece only, which keeps the whole cut
    // linear even when no piece holds one.
    const qsizetype comma = piece.indexOf(QLatin1Char(','));
    if (comma < 0)
        return QString();
    // One copy that skips the quotes as it goes.
    QString value(comma, Qt::Uninitialized);
    QChar *out = value.data();
    for (const QChar c : piece.first(comma)) {
        *out = c;
        out += c != QLatin1Char('"');
    }
    value.truncate(out - value.constData());
    return value;
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

void VisitPiecesOfKeys(QStringView answer, const QList<QStringView> &keys, const PieceVisitor &visit)
{
    const qsizetype keyCount = keys.size();
    QList<QString> markers;
    markers.reserve(keyCount);
    for (const QStringView key : keys)
        markers.append(KeyMarker(key));
    // Per key: where its open piece starts (-1 before its first marker), and where
    // its next marker may start at the earliest (markers of one key never overlap).
    QList<qsizetype> open(keyCount, -1);
    QList<qsizetype> nextAllowed(keyCount, 0);

    // Every marker begins with a double quote, so only the quotes need a look.
    const QChar quote = QLatin1Char('"');
    for (qsizetype at = answer.indexOf(quote); at >= 0; at = answer.indexOf(quote, at + 1)) {
        const QStringView rest = answer.sliced(at);
        for (qsizetype j = 0; j < keyCount; ++j) {
            const QString &marker = markers.at(j);
            if (at < nextAllowed.at(j) || rest.size() < marker.size() || rest.at(1) != marker.at(1)
                || !rest.startsWith(marker))
                continue;
            if (open.at(j) >= 0)
                visit(j, answer.sliced(open.at(j), at - open.at(j)));
            open[j] = at + marker.size();
            nextAllowed[j] = open.at(j);
        }
    }
    for (qsizetype j = 0; j < keyCount; ++j) {
        if (open.at(j) >= 0)
            visit(j, answer.sliced(open.at(j)));
    }
}

QList<QList<QStringView>> CutPiecesOfKeys(QStringView answer, const QList<QStringView> &keys)
{
    QList<QList<QStringView>> pieces(keys.size());
    VisitPiecesOfKeys(answer, keys, [&](qsizetype j, QStringView piece) { pieces[j].append(piece); });
    return pieces;
}

QStringList CutValues(QStringView answer, QStringView key)
{
    QStringList values;
    ForEachPiece(answer, key, [&](qsizetype start, qsizetype end) {
        values.append(PieceValue(answer.sliced(start, end - start)));
    });
    return values;
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
