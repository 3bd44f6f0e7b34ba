#pragma once

#include "albumdl/PictureQuality.h"
#include "storage/NamingMode.h"

#include <QString>
#include <QStringList>

namespace albivex {

// What the album download job sees of the main window and changes in it, apart from
// the album rows (AlbumListModel) and the flags (WindowState). The album download
// controller implements it over the window; every read is made afresh when the job needs the value, so edits
// the user makes while the job runs take effect from the next picture.
class AlbumJobView
{
public:
    virtual ~AlbumJobView() = default;

    // The album list's selected row, -1 when none is.
    virtual int selectedAlbumRow() const = 0;
    // The save folder as typed in the path box.
    virtual QString saveFolder() const = 0;
    virtual NamingMode namingMode() const = 0;
    virtual PictureQuality quality() const = 0;
    // "只下载新照片": skip the pictures an earlier run saved whole (AlbumRecord).
    virtual bool onlyNew() const = 0;
    // "写入照片信息": write the listing's words into every picture saved.
    virtual bool writeMetadata() const = 0;

    virtual void setStatusText(const QString &text) = 0;
    // Appends log lines ("[" + time + "]" + message each) and shows the last one.
    virtual void addLogLines(const QStringList &messages) = 0;
    // The same, shown at once with every line before them: for what the user waits for.
    virtual void addLogLinesNow(const QStringList &messages) { addLogLines(messages); }
    // The seven controls that start other work or change the job's choices, disabled or
    // enabled one after another in their fixed order.
    virtual void setJobControlsEnabled(bool enabled) = 0;
    // The album list itself (disabled while a single album downloads).
    virtual void setAlbumListEnabled(bool enabled) = 0;
    virtual void setProgressRange(int minimum, int maximum) = 0;
    virtual void setProgressValue(int value) = 0;
};

} // namespace albivex
