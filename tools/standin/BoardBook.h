#pragma once

#include "standin/BoardInfo.h"
#include "standin/MoodBook.h"
#include "standin/PictureRecipe.h"

#include <QMutex>

#include <optional>

namespace albivex::standin {

// The 留言板 of every space, newest first, in the spaces the 说说 have (MoodBook::spaceOf):
// the main space MainBoardCount messages and the extras, the second and third spaces a
// few each, every other space none; ClosedUin refuses (the routes answer that). Made
// from the index whenever asked for, the same in every run. Thread-safe.
class BoardBook
{
public:
    int count(MoodSpace space) const;
    // The message at this place (0 = newest); index below count().
    BoardInfo message(MoodSpace space, int index) const;
    // Every message of the space in list order: what tests compare the answers with.
    QList<BoardInfo> messages(MoodSpace space) const;
    // The picture a /board/p/<id>.jpg address serves.
    std::optional<PictureRecipe> picture(const QString &path) const;

    // Appends `count` plain messages to the main space (older than every one before);
    // every tenth shows a picture.
    void addExtra(int count);
    void clearExtras();

private:
    int extraCount() const;

    mutable QMutex m_mutex;
    int m_extras = 0;
};

} // namespace albivex::standin
