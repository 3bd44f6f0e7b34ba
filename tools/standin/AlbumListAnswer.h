#pragma once

#include "standin/DataSet.h"

#include <optional>

namespace albivex::standin {

// The album list answers of both services (the caller encodes the text). Every album
// object writes createtime, desc, id, name, pre and total as `"key" : value,`, and the
// word createtime appears nowhere else.
class AlbumListAnswer
{
public:
    // Where one page of a paged list stands in the space's whole list.
    struct Paging
    {
        int albumsInUser = 0; // albums in the space
        int nextPageStart = 0; // index of the first album after this page
    };
    static constexpr int PageSize = 30; // the most albums a paged answer gives

    // Unpaged: every album, with albumsInUser = their count. Paged: these albums as one
    // page, with nextPageStartModeSort and totalInPageModeSort as well. `today` lists
    // the coverless album without its cover.
    static QString list(const QString &callback, const QString &root, const QList<AlbumInfo> &albums,
                        std::optional<Paging> paging = std::nullopt, bool today = false);
    // The class view: the albums in blocks of two, with a block between them that
    // holds none (its albumList is null), as a space that sorts its albums in classes
    // is answered.
    static QString classView(const QString &callback, const QString &root, const QList<AlbumInfo> &albums);
    // One album object, as the list writes it (with a trailing comma and newline);
    // without `pre` for an album that has no cover.
    static QString albumObject(const QString &root, const AlbumInfo &album, bool withCover = true);
    // The album the today profile lists without a cover.
    static bool coverless(const AlbumInfo &album, bool today);
    static QString coverPath(const AlbumInfo &album);

    // Shorthands for ErrorAnswer::of with NotSignedIn and ClosedSpace.
    static QString notSignedIn(const QString &callback);
    static QString closedSpace(const QString &callback);
};

} // namespace albivex::standin
