#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace albivex {

// A picture of a message saved beside board.json: its file name there, and the
// address it was saved from.
struct BoardDocumentPicture
{
    QString file; // a plain file name; never empty
    QString from;

    friend bool operator==(const BoardDocumentPicture &a, const BoardDocumentPicture &b)
    {
        return a.file == b.file && a.from == b.from;
    }
};

// A reply under a message.
struct BoardDocumentReply
{
    QString author; // QQ number
    QString name;
    QDateTime time;
    QString text;

    friend bool operator==(const BoardDocumentReply &a, const BoardDocumentReply &b)
    {
        return a.author == b.author && a.name == b.name && a.time == b.time && a.text == b.text;
    }
};

// What board.json keeps of one message. Empty texts and invalid times are ones the
// service did not give, and are left out of the file.
struct BoardDocumentEntry
{
    QString id; // the message's id; never empty
    QString author; // QQ number of its writer
    QString name;
    QDateTime time;
    QDateTime modified;
    QString text; // plain (BoardPlainText), emoji codes kept; as given for a private one
    bool isPrivate = false;
    QList<BoardDocumentPicture> pictures;
    QList<BoardDocumentReply> replies;

    friend bool operator==(const BoardDocumentEntry &a, const BoardDocumentEntry &b);
};

// The board's folder's description: one entry per message, newest first.
struct BoardDocument
{
    QList<BoardDocumentEntry> messages; // id unique

    friend bool operator==(const BoardDocument &a, const BoardDocument &b)
    {
        return a.messages == b.messages;
    }
};

inline QString BoardDocumentFileName()
{
    return QStringLiteral("board.json");
}

// board.json's text: UTF-8 JSON, indented, English keys, times ISO 8601 at +08:00:
//   {"version": 1, "messages": [{"id", "author", "name", "time", "modified", "text",
//    "private": true (only when set), "pictures": [{"file", "from"}],
//    "replies": [{"author", "name", "time", "text"}]}]}
QByteArray BoardDocumentText(const BoardDocument &document);

// What a read of board.json found, and whether anything was damaged on the way.
struct BoardDocumentRead
{
    BoardDocument document;
    bool damaged = false;
};

// Reads board.json's text; never fails. A value of the wrong kind is left out (a
// picture file that is not a plain name, a time without its offset), unknown keys are
// ignored, an entry without an id is dropped, and of entries with the same id the first
// counts. Text that is no JSON still gives every whole entry of its "messages" array
// before the damage. What is read is written and read back the same.
BoardDocumentRead ParseBoardDocument(const QByteArray &text);

} // namespace albivex
