#pragma once

#include "qzone/Endpoints.h"
#include "storage/PictureTransfer.h"

#include <functional>

class QNetworkAccessManager;

namespace albivex {

class ActivityLog;
class AlbumListModel;
class FolderDialog;
class MainWindow;
class PhotoListModel;
class Prompts;
class UrlOpener;
struct WindowState;

// What every controller of the main window works with. All of it is owned by the
// application object and outlives the controllers.
struct AppContext
{
    MainWindow &window;
    WindowState &state;
    ActivityLog &log;
    QNetworkAccessManager &network;
    const Endpoints &endpoints;
    Prompts &prompts;
    FolderDialog &folders;
    UrlOpener &urls;
    // Ends the program (exit code 0) without asking; set by the application object.
    std::function<void()> quit;
    // Shows the picture at the address in the preview box previewLabel (latest request wins;
    // a picture that cannot be loaded leaves the box empty). Set by the preview component.
    std::function<void(const QString &address)> showPreview;
    // The listed albums, the model of albumView: every feature reads the AlbumEntry
    // records from here.
    AlbumListModel &albums;
    // The pictures of the album being viewed, the model of photoView.
    PhotoListModel &photos;
    // How every picture transfer of the tool is made (idle limit, retries); tests
    // shorten the waits.
    PictureTransfer::Options transferOptions = {};
};

} // namespace albivex
