#include "app/AlbivexApp.h"

#include "albumdl/ui/AlbumDownloadController.h"
#include "catalogue/AlbumListModel.h"
#include "catalogue/ui/AlbumCatalogueController.h"
#include "catalogue/ui/AlbumListViewController.h"
#include "photos/PhotoListModel.h"
#include "photos/ui/PhotoListController.h"
#include "photos/ui/PhotoListViewController.h"
#include "photos/ui/SelectedDownloadController.h"
#include "shell/ui/SaveFolderController.h"
#include "shell/ui/ShellButtonsController.h"
#include "shell/ui/StartupController.h"
#include "shell/ui/TitleBarController.h"
#include "shell/ui/VersionCheckController.h"
#include "shell/ui/WindowDragController.h"
#include "signin/ui/SignInController.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"
#include "window/PicturePreview.h"
#include "window/QtPrompts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

namespace albivex {

AlbivexApp::AlbivexApp(const Endpoints &endpoints, Prompts *prompts, FolderDialog *folders, UrlOpener *urls,
                       QObject *parent)
    : QObject(parent)
    , m_endpoints(endpoints)
    , m_albums(std::make_unique<AlbumListModel>())
    , m_photos(std::make_unique<PhotoListModel>())
    , m_window(std::make_unique<MainWindow>())
    , m_log(std::make_unique<ActivityLog>(m_window->activityLogList))
    , m_qtPrompts(prompts && folders && urls ? nullptr : std::make_unique<QtPrompts>(m_window.get()))
    , m_prompts(prompts ? *prompts : *m_qtPrompts)
    , m_folders(folders ? *folders : *m_qtPrompts)
    , m_urls(urls ? *urls : *m_qtPrompts)
{
    MainWindow &w = *m_window;
    w.albumView->setModel(m_albums.get());
    w.photoView->setModel(m_photos.get());

    // Controllers, each driving its part of the window.
    auto titleBar = std::make_unique<TitleBarController>(w, m_urls, m_endpoints);
    connect(titleBar.get(), &TitleBarController::quitRequested, this, &AlbivexApp::quitRequested);
    m_controllers.push_back(std::move(titleBar));
    m_controllers.push_back(std::make_unique<WindowDragController>(w, *w.logoLabel));
    auto startup = std::make_unique<StartupController>(m_state, *m_log, w);
    m_startup = startup.get();
    m_controllers.push_back(std::move(startup));
    auto versionCheck
        = std::make_unique<VersionCheckController>(m_network, m_endpoints, *m_log, m_prompts, m_urls, w);
    connect(versionCheck.get(), &VersionCheckController::quitRequested, this, &AlbivexApp::quitRequested);
    m_versionCheck = versionCheck.get();
    m_controllers.push_back(std::move(versionCheck));
    m_controllers.push_back(std::make_unique<SaveFolderController>(*w.chooseFolderButton, *w.openFolderButton,
                                                                   *w.saveFolderEdit, m_state, m_prompts,
                                                                   m_folders, m_urls));
    m_controllers.push_back(
        std::make_unique<ShellButtonsController>(m_endpoints, m_state, *m_log, m_prompts, m_urls, w));

    auto preview = std::make_unique<PicturePreview>(m_network, *w.previewLabel);
    connect(this, &AlbivexApp::previewRequested, preview.get(), &PicturePreview::showPreview);
    m_controllers.push_back(std::move(preview));
    m_controllers.push_back(std::make_unique<AlbumCatalogueController>(m_network, m_endpoints, m_state,
                                                                       *m_albums, *m_log, m_prompts, w));
    auto albumView = std::make_unique<AlbumListViewController>(m_state, *m_albums, *m_log, m_prompts, w);
    connect(albumView.get(), &AlbumListViewController::previewRequested, this, &AlbivexApp::previewRequested);
    m_controllers.push_back(std::move(albumView));
    m_controllers.push_back(std::make_unique<SignInController>(m_network, m_endpoints, m_state, *m_log, w));
    m_controllers.push_back(std::make_unique<PhotoListController>(m_network, m_endpoints, m_state, *m_albums,
                                                                  *m_photos, *m_log, m_prompts, w));
    auto photoView = std::make_unique<PhotoListViewController>(*m_albums, *m_photos, m_prompts, w);
    connect(photoView.get(), &PhotoListViewController::previewRequested, this, &AlbivexApp::previewRequested);
    m_controllers.push_back(std::move(photoView));
    m_controllers.push_back(std::make_unique<SelectedDownloadController>(
        m_network, m_state, *m_albums, *m_photos, *m_log, m_prompts, m_transferOptions, w));
    m_controllers.push_back(std::make_unique<AlbumDownloadController>(
        m_network, m_endpoints, m_state, *m_albums, *m_log, m_prompts, m_transferOptions, w));
}

AlbivexApp::~AlbivexApp()
{
    // Controllers go first: they hold connections into the window.
    m_controllers.clear();
}

void AlbivexApp::start()
{
    m_startup->run();
    m_versionCheck->run();
}

} // namespace albivex
