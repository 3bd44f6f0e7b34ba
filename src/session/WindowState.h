#pragma once

#include "qzone/QzoneCredentials.h"

#include <QString>

namespace albivex {

// The run-time state the main window owns for the life of the process: the signed-in
// account and the job flags. Every job reads and clears these same flags; the stop
// button clears the three running flags at once.
struct WindowState
{
    QzoneCredentials credentials;

    // True while no album download runs; the album menu and double-click act only then.
    bool albumJobIdle = true;
    // Set when an album download starts; cleared by the stop button.
    bool albumJobRunning = false;
    // Set while a photo listing may add rows; cleared by "<=" and the stop button.
    bool photoViewOpen = false;
    // Set when a multi-picture download starts; cleared by the stop button.
    bool selectedDownloadRunning = false;
    // The album list belongs to a number typed for another space rather than the signed-in one.
    bool listShowsOtherQq = false;
    // Whose albums the album list shows, fixed when the listing started; photo
    // listings, downloads and the owner folder use it.
    QString listedOwnerUin;
    int checkedAlbumCount = 0;
    // The folder last returned by the folder dialog of "设置路径".
    QString chosenSaveFolder;
};

} // namespace albivex
