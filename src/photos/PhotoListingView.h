#pragma once

#include <QString>

namespace albivex {

// What the photo listing and the back and stop buttons see of the main window and
// change in it, apart from the rows (PhotoListModel) and the flags (WindowState).
class PhotoListingView
{
public:
    virtual ~PhotoListingView() = default;

    // The album list's selected row, -1 when none is.
    virtual int selectedAlbumRow() const = 0;
    // The photo list takes the album list's place, under the album's name and the
    // description text given.
    virtual void showPhotoList(const QString &albumName, const QString &descriptionText) = 0;
    // The album list comes back in place of the photo list.
    virtual void showAlbumList() = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setProgressRange(int minimum, int maximum) = 0;
};

} // namespace albivex
