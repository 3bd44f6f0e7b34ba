#pragma once

#include "qzone/PhotoEntry.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTimer>

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

// A name that stands for a file directly inside the folder: not empty, "." or "..",
// no separator, no control character, within MaxNameBytes, as SafePathComponent
// leaves it; and not the record's own file.
bool IsPlainFileName(const QString &name);

// The record of an album folder: which pictures a run saved there, under which name
// and at which size, so that a later run can tell the pictures already saved whole
// from the new ones, and never gives a new picture a recorded picture's name.
//
// The record is the file AlbumRecord::fileName() in the album folder (the leading dot
// keeps it out of the way of the pictures), written whole under a temporary name and
// renamed (QSaveFile), so a crash leaves the last record written, never half a file.
// Pictures recorded since are written WriteEvery at a time, at the latest
// WriteAfterMs after the first of them, at flush() and at the end: a crash loses at
// most the last few entries, whose pictures the next run saves again. Lives on a
// thread with an event loop (the timer).
class AlbumRecord
{
public:
    static constexpr int WriteEvery = 16;
    static constexpr int WriteAfterMs = 2000;

    static QString fileName() { return QStringLiteral(".albivex-record.json"); }

    // Reads the record of the folder; a missing, unreadable or damaged one counts as
    // empty (and is replaced at the first write).
    explicit AlbumRecord(const QString &albumFolder);
    // Writes what is still pending.
    ~AlbumRecord();
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
    // other key under that name: the file holds this picture now). False, and nothing
    // recorded, for an empty key or a name that is not plain.
    bool add(const QString &key, const QString &fileName, qint64 size);
    // Writes the record now when anything is pending; false when that failed (the
    // entries stay pending).
    bool flush();

private:
    QString m_folder;
    RecordEntries m_entries;
    QHash<QString, QString> m_keyOfName; // case-folded file name -> key
    int m_pending = 0;
    QTimer m_writeTimer;
};

} // namespace albivex
