#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace albivex {

// Plain-text reading of the services' answers. A key K is found by its marker: a
// double quote, K, a double quote and " : "; a raw piece of K is the text after one
// of its markers. The list answers are read item by item (ListItems.h); these read
// the values inside a piece and the counts an answer announces.
//
// Every function here makes one left-to-right pass, so the cost is linear.

// The marker of a key: "\"" + key + "\" : ".
QString KeyMarker(QStringView key);

// All raw pieces of key, in answer order. The views point into `answer`, which must
// outlive them.
QList<QStringView> CutPieces(QStringView answer, QStringView key);

// The whole number a raw piece starts with: blanks and double quotes before its
// digits are skipped, and whatever follows them (a comma, the end of its object or
// of the answer) does not matter. 0 when no digit comes first or the number does
// not fit an int.
int PieceNumber(QStringView piece);

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
