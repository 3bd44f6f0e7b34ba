#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace albivex {

// The service answers (album and photo lists) are never read as JSON. A key K is
// found by its marker: a double quote, K, a double quote and " : ". Item i's raw
// piece for K is the text after the i-th marker up to the next marker of the same
// key (or the end of the answer); its value is the piece before its first comma,
// with every double quote removed. A piece without a comma has an empty value, and
// a value that itself holds a comma is cut at it.
//
// Every function here makes one left-to-right pass over the answer, so the cost is
// linear in its length whatever the number of keys.

// The marker of a key: "\"" + key + "\" : ".
QString KeyMarker(QStringView key);

// Non-overlapping occurrences of needle in text, scanning left to right (0 for an
// empty needle).
qsizetype CountOccurrences(QStringView text, QStringView needle);

// Number of markers of key in answer.
qsizetype CountKey(QStringView answer, QStringView key);

// All raw pieces of key, in answer order. The views point into `answer`, which must
// outlive them.
QList<QStringView> CutPieces(QStringView answer, QStringView key);

// The value of one raw piece (before its first comma, double quotes removed).
QString PieceValue(QStringView piece);

// The whole number a raw piece starts with: blanks and double quotes before its
// digits are skipped, and whatever follows them (a comma, the end of its object or
// of the answer) does not matter. 0 when no digit comes first or the number does
// not fit an int.
int PieceNumber(QStringView piece);

// Calls visit(j, piece) for every raw piece of every key j, in a single pass over the
// answer; the pieces of one key arrive in answer order. A piece is reported when the
// next marker of its key (or the answer's end) closes it, so its start, where the
// value lies, is still in the cache: reading the answer once instead of once per key
// matters for answers larger than the cache.
using PieceVisitor = std::function<void(qsizetype key, QStringView piece)>;
void VisitPiecesOfKeys(QStringView answer, const QList<QStringView> &keys, const PieceVisitor &visit);

// The raw pieces of several keys in one pass: element j equals CutPieces(answer, keys[j]).
QList<QList<QStringView>> CutPiecesOfKeys(QStringView answer, const QList<QStringView> &keys);

// All values of key, in answer order: element i - 1 is item i's value.
QStringList CutValues(QStringView answer, QStringView key);

// The value of a raw piece read as one scalar, for values that are sent back to the
// service as they stand or may be the last of their object: after leading blanks, a
// value in double quotes is the text up to the next double quote that no backslash
// escapes (escapes stay as they stand; an unclosed quote runs to the piece's end);
// any other value runs up to the first comma, closing brace or bracket, or blank.
QString ScalarPieceValue(QStringView piece);

// Whether the scalar value of a raw piece is a set flag: the services write one as
// true, 1 or "1"; anything else (false, 0, 2, "true", nothing) is unset.
bool IsSetFlag(QStringView piece);

// The whole number after the first marker of key (blanks before it skipped), whatever
// follows its digits; -1 when the key is missing or no digits follow it (or they
// overflow an int). For the counts the answers announce.
int FirstCount(QStringView answer, QStringView key);

} // namespace albivex
