#pragma once

#include "storage/NamingMode.h"

#include <QString>

namespace albivex {

// What the download of chosen pictures sees of the main window and changes in it,
// apart from the rows (PhotoListModel) and the flags (WindowState). Every read is
// made afresh, so a choice changed during a run applies to the pictures not yet
// reached.
class PictureDownloadView
{
public:
    virtual ~PictureDownloadView() = default;

    // The selected rows of the photo list and the album list, -1 when none is.
    virtual int selectedPhotoRow() const = 0;
    virtual int selectedAlbumRow() const = 0;
    // The save folder as typed in the path box.
    virtual QString saveFolder() const = 0;
    virtual NamingMode namingMode() const = 0;
    // "写入照片信息": write the listing's words into every picture saved.
    virtual bool writeMetadata() const = 0;

    virtual void setStatusText(const QString &text) = 0;
    virtual void setProgressRange(int minimum, int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
};

} // namespace albivex
