#pragma once

#include "standin/AlbumInfo.h"
#include "standin/BoardBook.h"
#include "standin/MoodBook.h"
#include "standin/PictureMeta.h"
#include "standin/PictureRecipe.h"
#include "standin/Profile.h"

#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>

#include <optional>

namespace albivex::standin {

// The spaces a request can land in.
enum class Space {
    Main, // the signed-in number's own albums (MainAlbums plus the extra albums)
    Second, // SecondUin's two albums (three in the today profile)
    Third, // ThirdUin's albums: videos, a question and a password album
    Closed, // ClosedUin seen by anyone else: error answer
    Empty, // any other number: no albums
};

// Raw and Origin: the original, as raw_upload or origin_upload gives it.
enum class PictureVariant { Cover, High, Normal, Raw, Origin };

// The stand-in's albums, pictures and 说说. The fixed part is code; extra albums can be added
// at run time from any thread.
class DataSet
{
public:
    QList<AlbumInfo> albums(Space space, Profile profile = Profile::Default) const;
    std::optional<AlbumInfo> album(Space space, const QString &id, Profile profile = Profile::Default) const;
    // Any album of any space (in any profile), for picture addresses.
    std::optional<AlbumInfo> findAlbum(const QString &id) const;

    // What the lists say of the picture with this key.
    PictureMeta pictureMeta(const AlbumInfo &album, int key) const;
    // How the picture with this key (ignored for covers) is made.
    PictureRecipe pictureRecipe(const AlbumInfo &album, PictureVariant variant, int key) const;

    // Adds `count` new pictures to an album of any space, at the front of its list or
    // at the end, and returns their keys (empty for an unknown album). Existing
    // pictures keep their keys, addresses and bytes.
    QList<int> addPictures(const QString &albumId, int count, bool atFront);

    // Appends an album to the main space; returns its id ("V1extra1", "V1extra2", ...).
    QString addExtraAlbum(const ExtraAlbum &extra);
    void clearExtraAlbums();

    static QString nickname(const QString &uin); // empty for NoNicknameUin

    // The 说说 of every space (thread-safe of its own).
    const MoodBook &moods() const { return m_moods; }
    MoodBook &moods() { return m_moods; }
    // The 留言板 of every space (thread-safe of its own).
    const BoardBook &board() const { return m_board; }
    BoardBook &board() { return m_board; }

private:
    // Name, time and description of the picture.
    static PictureMeta pictureTexts(const AlbumInfo &album, int key);

    mutable QMutex m_mutex;
    QList<AlbumInfo> m_extras;
    QHash<QString, QList<int>> m_grownKeys; // album id -> keys in list order, once grown
    int m_extraCounter = 0;
    MoodBook m_moods;
    BoardBook m_board;
};

} // namespace albivex::standin
