#pragma once

#include "qzone/BoardMessage.h"
#include "storage/BoardDocument.h"

#include <QHash>
#include <QString>

#include <optional>

namespace albivex {

// The entry of `message` in board.json: its text made plain (BoardPlainText), a
// private one's text as the service gave it (none, to anyone but its owner and
// writer). `savedFiles` maps the address a picture was saved from to its file name in
// the board's folder; only the message's pictures found there get a "pictures" item.
BoardDocumentEntry BoardEntryOf(const BoardMessage &message, const QHash<QString, QString> &savedFiles);

// `older` (what earlier runs wrote) updated with `newer` (this run's entries): a
// message of both is `newer`'s reading, followed by the pictures `older` recorded for
// it that `newer` does not name; a message only `older` has (deleted since, or not
// reached) stays as it was. Newest first: by time, later first, then by id; entries
// without a time last.
BoardDocument MergeBoardDocuments(const BoardDocument &older, const BoardDocument &newer);

// Reads the folder's board.json: absent reads as empty; a file that cannot be read or
// is damaged as what ParseBoardDocument could make of it.
BoardDocumentRead LoadBoardDocument(const QString &folder);

// Brings the folder's board.json up to date with this run's entries: read, merged and
// written whole or not at all (QSaveFile). A damaged file is first copied aside, as
// "board.damaged.json" beside it. The error text when the file could not be written.
// Disk work: for a worker thread.
std::optional<QString> UpdateBoardDocument(const QString &folder, const BoardDocument &newer);

} // namespace albivex
