#pragma once

#include <QString>

namespace albivex {

// What the album listing sees of the main window and does in it, apart from the
// rows (AlbumListModel) and the flags (WindowState).
class AlbumListingView
{
public:
    virtual ~AlbumListingView() = default;

    // The text of the box where the QQ number of another space is typed.
    virtual QString otherQqText() const = 0;
    virtual void focusOtherQq() = 0;
    virtual void clearOtherQq() = 0;
    virtual void setStatusText(const QString &text) = 0;
    // A click on the sign-in button, as the user's would be.
    virtual void clickSignIn() = 0;
    // A click on the back button: the album list comes into view and a photo
    // listing stops, as when the user clicks it.
    virtual void clickBack() = 0;
};

} // namespace albivex
