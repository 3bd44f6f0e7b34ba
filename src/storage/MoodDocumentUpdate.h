#pragma once

#include "qzone/MoodPost.h"
#include "storage/MoodDocument.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace albivex {

// The entry of `post` in moods.json. `savedFiles` maps the address a picture or video
// was saved from (MoodPicture::url, or videoAddress() for a video) to its file name in
// the posts' folder; only the post's and its comments' media found there get a "files"
// item, in the post's order (pictures, then videos). The time is created_time, else the
// page's createTime text read as China's time.
MoodDocumentEntry MoodEntryOf(const MoodPost &post, const QHash<QString, QString> &savedFiles);

// `older` (what earlier runs wrote) updated with `newer` (this run's entries): a post
// of both is `newer`'s reading, followed by the files `older` recorded for it that
// `newer` does not name; a post only `older` has (deleted from the service since, or
// not reached by this run) stays as it was. Newest first (SortMoodEntries).
MoodDocument MergeMoodDocuments(const MoodDocument &older, const MoodDocument &newer);

// Reads the folder's moods.json: absent reads as empty; a file that cannot be read
// or is damaged as what ParseMoodDocument could make of it.
MoodDocumentRead LoadMoodDocument(const QString &folder);

// Brings the folder's moods.json up to date with this run's entries: read, merged and
// written whole or not at all (QSaveFile). A damaged file is first copied aside, as
// "moods.damaged.json" beside it, so that no entry the reader could not make out is
// lost. The error text when the file could not be written. Disk work: for a worker
// thread.
std::optional<QString> UpdateMoodDocument(const QString &folder, const MoodDocument &newer);

} // namespace albivex
