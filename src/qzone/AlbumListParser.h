#pragma once

#include "qzone/AlbumEntry.h"

#include <QList>
#include <QLocale>
#include <QString>
#include <QStringView>

namespace albivex {

// Reads an album-list answer album by album: every object of the lists
// "albumListModeSort" (the sorted view), "albumList" (each block of the class view,
// "albumListModeClass", where a block without albums holds null, and the flat list of
// a space) is one album, in answer order, class block after class block. Each album's
// values come from its own object (ListItems.h); a key the object lacks leaves that
// field empty, and the album stays. Fields, by the list value rules (ItemValue: the
// text before the first comma, double quotes removed):
// - name: the "name" value; decoded with UnescapeUnicode when its piece holds a
//   backslash-u, otherwise as it came;
// - createdText: the "createtime" value read as whole seconds S; the date-time
//   1970-01-01 00:00:00 + S seconds + 8 hours (a fixed offset, whatever the
//   computer's time zone) written by DateTimeText with `locale`; empty when the value
//   is no whole number or out of the calendar's range; createTime holds S (-1 when
//   no whole number);
// - pictureCount: the "total" value;
// - albumId: the "id" value;
// - coverUrl: the "pre" value, every "\/" turned into "/", then every "/a/" into "/m/";
// - description: the "desc" value, every backslash-n turned into a blank, then every
//   "\/" removed; no other escape is decoded;
// - allowAccess: false when the "allowAccess" value is 0 (blanks around it aside),
//   true otherwise (1, missing, anything else);
// - priv: the "priv" value read as a whole number (0 when missing or no number);
// - question: the "question" value read whole by ScalarPieceValue (commas kept),
//   with \" and \/ decoded and then its backslash-u escapes, since it is sent back to
//   the service as it is meant; empty when missing;
// - fullName, fullDescription: "name" and "desc" whole, escapes decoded.
// position is the 1-based album number; downloadState is empty and isChecked false.
// The cost is linear in the answer's length.
QList<AlbumEntry> ParseAlbumList(const QString &answer, const QLocale &locale);

// Whether the answer lists no album at all; stops reading at the first one.
bool ListsNoAlbum(QStringView answer);

// The number of albums in the space, which an answer of one page of them announces:
// the first `"albumsInUser" : N`; -1 when missing or not a number.
int AlbumsInUser(QStringView answer);

// createdText for a "createtime" value, as described above.
QString CreatedText(const QString &secondsText, const QLocale &locale);

} // namespace albivex
