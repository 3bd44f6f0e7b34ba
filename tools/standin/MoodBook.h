#pragma once

#include "standin/MoodInfo.h"
#include "standin/PictureRecipe.h"

#include <QByteArray>
#include <QMutex>

#include <optional>

namespace albivex::standin {

// Whose 说说 a request lands in.
enum class MoodSpace {
    Main, // the signed-in number's own (or any number that signed in): MainMoodCount posts and the extras
    Second, // SecondUin's few plain posts
    Third, // ThirdUin's few plain posts
    Sealed, // SealedMoodsUin: SealedMoodTotal posts, only the newest SealedMoodListed listable
    Empty, // any other number: no posts
    Refused, // ClosedUin to anyone else: code -10031
    Secret, // SecretMoodsUin: code -10033
};

// The 说说 of every space, newest first. The fixed posts are made from a table and the
// extra ones from their index whenever asked for, so ten thousand of them cost nothing
// to hold. Every post, its tid and its pictures are the same in every run. Thread-safe.
class MoodBook
{
public:
    static MoodSpace spaceOf(const QString &hostUin, const QString &viewer, bool hostSignedIn);

    // The count the list's total says, and how many of them a list can reach.
    int total(MoodSpace space) const;
    int listable(MoodSpace space) const;
    // The post at this place in the space (0 = newest); index below total().
    MoodInfo post(MoodSpace space, int index) const;
    // Every listable post in list order: what tests compare the answers with.
    QList<MoodInfo> posts(MoodSpace space) const;
    // The listable post of the space with this tid.
    std::optional<MoodInfo> find(MoodSpace space, const QString &tid) const;

    // What a /mood/... address serves.
    struct Media
    {
        enum class Kind { Jpeg, Mp4, Missing };
        Kind kind = Kind::Jpeg;
        PictureRecipe recipe; // Jpeg
        quint32 videoSeed = 0; // Mp4
    };
    std::optional<Media> media(const QString &path) const;

    // Appends `count` posts of `pictures` small pictures each to the main space (older
    // than every post before them).
    void addExtra(int count, int pictures);
    void clearExtras();

private:
    int extraCount() const;
    int extraPictures(int extraIndex) const;

    mutable QMutex m_mutex;
    QList<QPair<int, int>> m_extras; // (count, pictures) in the order added
};

} // namespace albivex::standin
