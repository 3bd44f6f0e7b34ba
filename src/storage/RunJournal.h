#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace albivex {

// The journal of a run, kept in the space's folder while the run goes on, so that a run
// cut short (the window closed, the machine went down) can be taken up again: the
// space, the parts chosen (albums, the 说说, the 留言板) and which of them are complete,
// whether they make a whole-space backup, and the run's quality and naming. It holds no
// secret: no cookie, key, token or answer.
struct RunJournal
{
    // What a part saves: an album of the space, its posts, or its message board.
    enum class Kind { Album, Moods, Board };

    struct Album
    {
        QString id;
        QString name;
        bool complete = false;
        Kind kind = Kind::Album;

        bool operator==(const Album &other) const
        {
            return id == other.id && name == other.name && complete == other.complete && kind == other.kind;
        }
    };

    QString ownerUin; // the space's QQ number
    int quality = 0; // the quality choice's index
    int naming = 0; // NamingMode
    QList<Album> albums; // in the run's order
    // The parts are a whole-space backup ("备份整个空间"), taken up again as one.
    bool wholeSpace = false;

    // The parts not complete yet, in the run's order.
    QList<Album> remaining() const;
    // Of them, those of one kind.
    QList<Album> remaining(Kind kind) const;
    bool operator==(const RunJournal &other) const
    {
        return ownerUin == other.ownerUin && quality == other.quality && naming == other.naming
            && albums == other.albums && wholeSpace == other.wholeSpace;
    }
};

// The journal's file name in the space's folder.
QString RunJournalFileName();

// The journal as JSON text, and back. A text that is not such a journal (not JSON, a
// value of the wrong type, a number that is no QQ number, an album without an id, a
// choice out of range) is damaged: nullopt.
QByteArray RunJournalText(const RunJournal &journal);
std::optional<RunJournal> ParseRunJournal(const QByteArray &text);

// The journal of the space folder; nullopt when there is none or it is damaged.
std::optional<RunJournal> LoadRunJournal(const QString &spaceFolder);
// Writes the journal whole or not at all (QSaveFile); the error's text when it fails.
std::optional<QString> SaveRunJournal(const QString &spaceFolder, const RunJournal &journal);
// Removes the journal; true when none is left.
bool RemoveRunJournal(const QString &spaceFolder);
// The journal with the parts of `kind` taken out: written again, or removed when no
// part is left to take up. A journal of another space, or none, is left alone.
void ForgetRunParts(const QString &spaceFolder, const QString &ownerUin, RunJournal::Kind kind);
// A new run's journal that keeps, of the journal the space folder holds, the parts of
// the other kinds not complete yet: a run of albums does not forget the posts a killed
// run left, nor the other way round. Followed by the new run's own parts. The new run
// is a part's own: the parts kept no longer make a whole-space backup.
RunJournal JournalKeepingOthers(const QString &spaceFolder, const QString &ownerUin, RunJournal::Kind kind);

} // namespace albivex
