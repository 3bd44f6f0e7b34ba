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

#include <QTreeView>

namespace albivex {

AlbivexApp::AlbivexApp(const Endpoints &endpoints, Prompts *prompts, FolderDialog *folders, UrlOpener *urls,
                       QObject *parent)
    : QObject(parent)
    , m_endpoints(endpoints)
    , m_albums(std::make_unique<AlbumListModel>())
    , m_photos(std::make_unique<PhotoListModel>())
    , m_window(std::make_unique<MainWindow>())
{
    m_window->albumView->setModel(m_albums.get());
    m_window->photoView->setModel(m_photos.get());
    m_log = std::make_unique<ActivityLog>(m_window->activityLogList);
    if (!prompts || !folders || !urls)
        m_qtPrompts = std::make_unique<QtPrompts>(m_window.get());
    m_context.reset(new AppContext {*m_window,
                                    m_state,
                                    *m_log,
                                    m_network,
                                    m_endpoints,
                                    prompts ? *prompts : *m_qtPrompts,
                                    folders ? *folders : *m_qtPrompts,
                                    urls ? *urls : *m_qtPrompts,
                                    [this] { Q_EMIT quitRequested(); },
                                    {},
                                    *m_albums,
                                    *m_photos});

    // Controllers, each driving its part of the window.
    m_controllers.push_back(std::make_unique<TitleBarController>(*m_context));
    m_controllers.push_back(std::make_unique<WindowDragController>(*m_context));
    auto startup = std::make_unique<StartupController>(*m_context);
    m_startup = startup.get();
    m_controllers.push_back(std::move(startup));
    auto versionCheck = std::make_unique<VersionCheckController>(*m_context);
    m_versionCheck = versionCheck.get();
    m_controllers.push_back(std::move(versionCheck));
    m_controllers.push_back(std::make_unique<SaveFolderController>(*m_context));
    m_controllers.push_back(std::make_unique<ShellButtonsController>(*m_context));
    auto preview = std::make_unique<PicturePreview>(m_network, *m_window->previewLabel);
    m_context->showPreview = [p = preview.get()](const QString &address) {
        p->showPreview(address);
    };
    m_controllers.push_back(std::move(preview));
    m_controllers.push_back(std::make_unique<AlbumCatalogueController>(*m_context));
    m_controllers.push_back(std::make_unique<AlbumListViewController>(*m_context));
    m_controllers.push_back(std::make_unique<SignInController>(*m_context));
    m_controllers.push_back(std::make_unique<PhotoListController>(*m_context));
    m_controllers.push_back(std::make_unique<PhotoListViewController>(*m_context));
    m_controllers.push_back(std::make_unique<SelectedDownloadController>(*m_context));
    m_controllers.push_back(std::make_unique<AlbumDownloadController>(*m_context));
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
