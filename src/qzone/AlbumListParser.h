#pragma once

#include "qzone/AlbumEntry.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

namespace albivex {

// Cuts an album-list answer into albums by plain-text rules (never as JSON).
//
// The number of albums N is the number of occurrences of the text createtime
// (unquoted, case-sensitive). Album k takes the k-th value of each key (see
// CutRule.h); a key that occurs fewer than k times gives album k an empty field, and
// the row stays. Fields:
// - name: the "name" value; decoded with UnescapeUnicode when its raw piece holds
//   a backslash-u, otherwise as it came;
// - createdText: the "createtime" value read as whole seconds S; the date-time
//   1970-01-01 00:00:00 + S seconds + 8 hours (a fixed offset, whatever the
//   computer's time zone) written by DateTimeText with `locale`; empty when the value
//   is no whole number or out of the calendar's range;
// - pictureCount: the "total" value;
// - albumId: the "id" value;
// - coverUrl: the "pre" value, every "\/" turned into "/", then every "/a/" into "/m/";
// - description: the "desc" value, every backslash-n turned into a blank, then every
//   "\/" removed; no other escape is decoded;
// - allowAccess: false when the "allowAccess" value is 0 (blanks around it aside),
//   true otherwise (1, missing, anything else);
// - priv, question: looked for in album k's createtime piece (after its createtime
//   marker, before the next one), where the service writes them; question only
//   stands in albums that have one, so the k-th value rule would hand it to the wrong
//   album. priv is the first "priv" value read as a whole number (0 when missing or
//   no number); question the first "question" value read whole by ScalarPieceValue
//   (commas kept), with \" and \/ decoded and then its backslash-u escapes, since it
//   is sent back to the service as it is meant; empty when missing.
// position is the 1-based album number; downloadState is empty and isChecked false.
// One pass per key: the cost is linear in the answer's length.
QList<AlbumEntry> ParseAlbumList(const QString &answer, const QLocale &locale);

// The number of albums in the space, which an answer of one page of them announces:
// the first `"albumsInUser" : N`; -1 when missing or not a number.
int AlbumsInUser(QStringView answer);

// createdText for a "createtime" value, as described above.
QString CreatedText(const QString &secondsText, const QLocale &locale);

} // namespace albivex
