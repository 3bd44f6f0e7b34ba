#pragma once

#include "standin/PictureRecipe.h"

#include <QList>
#include <QMutex>
#include <QString>

#include <optional>

namespace albivex::standin {

// The spaces a request can land in.
enum class Space {
    Main, // the signed-in number's own albums (MainAlbums plus the extra albums)
    Second, // SecondUin's two albums
    Closed, // ClosedUin seen by anyone else: error answer
    Empty, // any other number: no albums
};

// An album added for benchmarks and hostile tests: N pictures of a chosen size,
// optionally one of them much larger (a 200 MB one is streamed, never held whole).
struct ExtraAlbum
{
    QString name = QStringLiteral("基准相册");
    int pictureCount = 300;
    qint64 pictureBytes = 150 * 1024; // each "/b/" picture is exactly this long (>= 4 KB)
    int bigPictureIndex = 0; // 1-based picture that gets bigPictureBytes; 0: none
    qint64 bigPictureBytes = 0;
};

enum class PictureVariant { Cover, High, Normal };

struct AlbumInfo
{
    QString id;
    QString wireName; // as written between the quotes of the album list answers
    QString wireDesc;
    qint64 createTime = 0; // seconds since 1970 (UTC)
    int total = 0;
    int kind = 0; // which picture rules apply (DataSet's own)
    ExtraAlbum extra; // for extra albums only
    bool png = false;

    QString extension() const { return png ? QStringLiteral("png") : QStringLiteral("jpg"); }
};

// What the photo list says of one picture (texts as written between the quotes).
struct PictureMeta
{
    QString name;
    QString uploadTime; // "yyyy-MM-dd hh:mm:ss", China time
    QString wireDesc;
};

// The stand-in's albums and pictures. The fixed part is code; extra albums can be added
// at run time from any thread.
class DataSet
{
public:
    QList<AlbumInfo> albums(Space space) const;
    std::optional<AlbumInfo> album(Space space, const QString &id) const;
    // Any album of any space, for picture addresses.
    std::optional<AlbumInfo> findAlbum(const QString &id) const;

    PictureMeta pictureMeta(const AlbumInfo &album, int number) const;
    // How picture `number` (1-based; ignored for covers) of the album is made.
    PictureRecipe pictureRecipe(const AlbumInfo &album, PictureVariant variant, int number) const;

    // Appends an album to the main space; returns its id ("V1extra1", "V1extra2", ...).
    QString addExtraAlbum(const ExtraAlbum &extra);
    void clearExtraAlbums();

    static QString nickname(const QString &uin); // empty for NoNicknameUin

private:
    mutable QMutex m_mutex;
    QList<AlbumInfo> m_extras;
    int m_extraCounter = 0;
};

} // namespace albivex::standin
