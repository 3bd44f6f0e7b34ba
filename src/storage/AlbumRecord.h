#pragma once

#include "qzone/PhotoEntry.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace albivex {

// What the record says of one saved picture.
struct RecordEntry
{
    QString fileName; // a plain file name inside the album folder
    qint64 size = 0; // bytes of the file as saved

    friend bool operator==(const RecordEntry &a, const RecordEntry &b)
    {
        return a.fileName == b.fileName && a.size == b.size;
    }
    friend bool operator!=(const RecordEntry &a, const RecordEntry &b) { return !(a == b); }
};

using RecordEntries = QHash<QString, RecordEntry>; // by the picture's key

// The key a picture is recorded under: its lloc, which stays with it for good, or its
// listed address when the list gives no lloc.
QString PictureRecordKey(const PhotoEntry &photo);

// The record file's text, one JSON object:
//   {"pictures": {"<key>": {"file": "<file name>", "size": <bytes>}, ...}}
// Reading is tolerant: text that is no JSON object, a "pictures" that is missing or
// no object, an entry that is no object, a "file" that is no string or a "size" that
// is no whole number from 0 to 2^53 make the whole record damaged (nullopt: it is
// ignored and rebuilt). Unknown fields are ignored; entries with an empty key or a
// file name that is not plain (IsPlainFileName) are left out, and so are all entries
// of a name that several keys claim (compared without regard to case).
std::optional<RecordEntries> ParseAlbumRecord(const QByteArray &text);
QByteArray AlbumRecordText(const RecordEntries &entries);

// The record's journal: one line per picture recorded since the record was last
// written whole, each a JSON object {"key": ..., "file": ..., "size": ...}.
QByteArray RecordJournalLine(const QString &key, const RecordEntry &entry);
// Applies a journal's lines to the entries, in order, as AlbumRecord::add would. A line
// that does not read (the last one, cut off by a kill) or names no plain file is
// passed over.
void ApplyRecordJournal(RecordEntries &entries, const QByteArray &journal);

// A name that stands for a file directly inside the folder: not empty, "." or "..",
// no separator, no control character, within MaxNameBytes, as SafePathComponent
// leaves it; and not one of the record's own files.
bool IsPlainFileName(const QString &name);

// The record of an album folder: which pictures a run saved there, under which name
// and at which size, so that a later run can tell the pictures already saved whole
// from the new ones, and never gives a new picture a recorded picture's name.
//
// The record is the file AlbumRecord::fileName() in the album folder (the leading dot
// keeps it out of the way of the pictures), written whole under a temporary name and
// renamed (QSaveFile), so a crash leaves the last record written, never half a file.
// It is written whole only by flush(), at the album's end and off the window's thread;
// every picture recorded in between is one line appended to the journal beside it
// (journalFileName()), so recording costs the same at the 10,000th picture as at the
// first, and a kill loses at most the picture whose line it cut. Reading takes the
// record and then the journal's lines. The files of one folder are read and written
// under one lock, so a record written whole never drops a line appended meanwhile.
class AlbumRecord
{
public:
    static QString fileName() { return QStringLiteral(".albivex-record.json"); }
    static QString journalFileName() { return QStringLiteral(".albivex-record.log"); }

    // Reads the record of the folder and its journal; a missing, unreadable or damaged
    // record counts as empty (and is replaced at the next flush()).
    explicit AlbumRecord(const QString &albumFolder);
    // Lines of add() still queued are written all the same, by the writer thread.
    ~AlbumRecord() = default;
    AlbumRecord(const AlbumRecord &) = delete;
    AlbumRecord &operator=(const AlbumRecord &) = delete;

    // Whether the picture of this key is saved whole: recorded, and its file is a
    // regular file in the folder with exactly the recorded size that starts like a
    // picture or a video.
    bool isSaved(const QString &key) const;
    // The file name recorded for the key; empty when none.
    QString fileNameOf(const QString &key) const;
    // Every file name the record holds, to be reserved for their pictures.
    QStringList fileNames() const;
    const RecordEntries &entries() const { return m_entries; }

    // Records a picture saved whole (replacing what the key had, and the entry of any
    // other key under that name: the file holds this picture now) and has its line
    // appended to the journal by the journals' own writer thread, in order. False, and
    // nothing recorded, for an empty key or a name that is not plain. A line that
    // cannot be written stays recorded here, for flush().
    bool add(const QString &key, const QString &fileName, qint64 size);
    // Waits until every line handed to the journals' writer is written. Reading a
    // record and flush() do so first; for worker threads.
    static void settle();
    // Writes the whole record, with the journal's lines written since it was read, and
    // deletes the journal; false when that failed (the journal then stays). Grows
    // with the album: for the album's end, on a worker thread.
    bool flush();

private:
    void record(const QString &key, const QString &fileName, qint64 size);

    QString m_folder;
    RecordEntries m_entries;
    QHash<QString, QString> m_keyOfName; // case-folded file name -> key
    bool m_unwritten = false; // entries the record file does not hold yet
};

} // namespace albivex
