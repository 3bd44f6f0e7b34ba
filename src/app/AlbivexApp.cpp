#include "app/AlbivexApp.h"

#include "albumdl/ui/AlbumDownloadController.h"
#include "boarddl/ui/BoardDownloadController.h"
#include "catalogue/AlbumListModel.h"
#include "catalogue/ui/AlbumCatalogueController.h"
#include "catalogue/ui/AlbumListViewController.h"
#include "gallery/GalleryJob.h"
#include "gallery/ui/GalleryController.h"
#include "moodsdl/ui/MoodDownloadController.h"
#include "photos/PhotoListModel.h"
#include "photos/ui/PhotoListController.h"
#include "photos/ui/PhotoListViewController.h"
#include "photos/ui/SelectedDownloadController.h"
#include "shell/ui/RememberedChoicesController.h"
#include "shell/ui/SaveFolderController.h"
#include "shell/ui/ShellButtonsController.h"
#include "shell/ui/StartupController.h"
#include "shell/ui/TitleBarController.h"
#include "shell/ui/VersionCheckController.h"
#include "shell/ui/WindowDragController.h"
#include "signin/ui/SignInController.h"
#include "spacedl/ui/SpaceBackupController.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"
#include "window/PicturePreview.h"
#include "window/QtPrompts.h"
#include "window/StatusBar.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace albivex {

AlbivexApp::AlbivexApp(const Endpoints &endpoints, Prompts *prompts, FolderDialog *folders, UrlOpener *urls,
                       QObject *parent)
    : QObject(parent)
    , m_endpoints(endpoints)
    , m_albums(std::make_unique<AlbumListModel>())
    , m_photos(std::make_unique<PhotoListModel>())
    , m_window(std::make_unique<MainWindow>())
    , m_galleryJob(std::make_unique<GalleryJob>())
    , m_log(std::make_unique<ActivityLog>(m_window->activityLogList))
    , m_qtPrompts(prompts && folders && urls ? nullptr : std::make_unique<QtPrompts>(m_window.get()))
    , m_prompts(prompts ? *prompts : *m_qtPrompts)
    , m_folders(folders ? *folders : *m_qtPrompts)
    , m_urls(urls ? *urls : *m_qtPrompts)
{
    MainWindow &w = *m_window;
    w.albumView->setModel(m_albums.get());
    w.photoView->setModel(m_photos.get());

    // Controllers, each driving its part of the window; the window's buttons and menu
    // items are wired to them here.
    auto titleBar = std::make_unique<TitleBarController>(w, *w.minimiseLabel, *w.closeLabel, *w.websiteLabel,
                                                         m_urls, m_endpoints);
    connect(titleBar.get(), &TitleBarController::quitRequested, this, &AlbivexApp::quitRequested);
    m_controllers.push_back(std::move(titleBar));
    m_controllers.push_back(std::make_unique<WindowDragController>(w, *w.logoLabel));
    auto startup = std::make_unique<StartupController>(m_state, *m_log, w, *w.otherQqEdit, *w.qualityCombo,
                                                       *w.statusBar, *w.saveFolderEdit);
    m_startup = startup.get();
    m_controllers.push_back(std::move(startup));
    auto remembered = std::make_unique<RememberedChoicesController>(*m_log, w, *w.saveFolderEdit,
                                                                    *w.qualityCombo, *w.namingModeGroup,
                                                                    w.onlyNewCheck, w.writeMetadataCheck);
    // Before anyone else hears of the end: the title bar's "x" ends the program at once.
    connect(this, &AlbivexApp::quitRequested, remembered.get(), &RememberedChoicesController::save);
    m_remembered = remembered.get();
    m_controllers.push_back(std::move(remembered));
    auto versionCheck = std::make_unique<VersionCheckController>(
        m_network, m_endpoints, *m_log, m_prompts, m_urls, *w.statusBar,
        QList<QWidget *> {w.signInButton, w.listOtherAlbumsButton, w.listOwnAlbumsButton});
    connect(versionCheck.get(), &VersionCheckController::quitRequested, this, &AlbivexApp::quitRequested);
    m_versionCheck = versionCheck.get();
    m_controllers.push_back(std::move(versionCheck));
    m_controllers.push_back(std::make_unique<SaveFolderController>(*w.chooseFolderButton, *w.openFolderButton,
                                                                   *w.saveFolderEdit, m_state, m_prompts,
                                                                   m_folders, m_urls));
    auto shell = std::make_unique<ShellButtonsController>(m_endpoints, m_state, *m_log, m_prompts, m_urls, w,
                                                          *w.albumView, *w.photoView);
    connect(w.backButton, &QPushButton::clicked, shell.get(), &ShellButtonsController::backToAlbums);
    connect(w.stopButton, &QPushButton::clicked, shell.get(), &ShellButtonsController::stopJobs);
    connect(w.clearLogButton, &QPushButton::clicked, shell.get(), &ShellButtonsController::clearLog);
    connect(w.forumButton, &QPushButton::clicked, shell.get(), &ShellButtonsController::openForum);
    connect(w.serviceButton, &QPushButton::clicked, shell.get(), &ShellButtonsController::openService);
    connect(w.openPictureAction, &QAction::triggered, shell.get(), &ShellButtonsController::openPicture);
    m_controllers.push_back(std::move(shell));

    // Picture addresses keep their scheme when the services are redirected.
    m_transferOptions.servicesRedirected = m_endpoints.redirected();
    auto preview = std::make_unique<PicturePreview>(m_network, *w.previewLabel, m_endpoints.redirected());
    connect(this, &AlbivexApp::previewRequested, preview.get(), &PicturePreview::showPreview);
    m_controllers.push_back(std::move(preview));
    // Every list that finds the sign-in ended hands over to the sign-in controller.
    auto signIn = std::make_unique<SignInController>(m_network, m_endpoints, m_state, *m_log, w,
                                                     *w.signInButton, *w.avatarLabel, w);
    SignInController *signInAgain = signIn.get();
    auto catalogue = std::make_unique<AlbumCatalogueController>(m_network, m_endpoints, m_state, *m_albums,
                                                                *m_log, m_prompts, m_busyRetry, w);
    connect(catalogue.get(), &AlbumCatalogueController::sessionExpired, signInAgain,
            &SignInController::signInAgain);
    connect(w.listOwnAlbumsButton, &QPushButton::clicked, catalogue.get(),
            &AlbumCatalogueController::listOwnAlbums);
    connect(w.listOtherAlbumsButton, &QPushButton::clicked, catalogue.get(),
            &AlbumCatalogueController::listOtherAlbums);
    AlbumCatalogueController *listing = catalogue.get();
    m_controllers.push_back(std::move(catalogue));
    auto albumView = std::make_unique<AlbumListViewController>(
        m_state, *m_albums, *m_log, m_prompts, *w.albumView, *w.albumMenu, *w.viewAlbumAction, *w.statusBar);
    connect(albumView.get(), &AlbumListViewController::previewRequested, this, &AlbivexApp::previewRequested);
    connect(w.copyAlbumInfoAction, &QAction::triggered, albumView.get(),
            &AlbumListViewController::copyAlbumInfo);
    m_controllers.push_back(std::move(albumView));
    m_controllers.push_back(std::move(signIn));
    auto photoList = std::make_unique<PhotoListController>(m_network, m_endpoints, m_state, *m_albums,
                                                           *m_photos, *m_log, m_prompts, m_busyRetry, w);
    connect(photoList.get(), &PhotoListController::sessionExpired, signInAgain,
            &SignInController::signInAgain);
    connect(w.viewAlbumAction, &QAction::triggered, photoList.get(), &PhotoListController::viewAlbum);
    // "<=" and "终止任务" clear the listing's flag in their own handlers, connected above;
    // the listing looks right after them.
    for (QPushButton *stop : {w.backButton, w.stopButton})
        connect(stop, &QPushButton::clicked, photoList.get(), &PhotoListController::checkStopped,
                Qt::QueuedConnection);
    m_controllers.push_back(std::move(photoList));
    auto photoView = std::make_unique<PhotoListViewController>(*m_albums, *m_photos, m_prompts, *w.photoView,
                                                               *w.photoMenu, *w.albumView, *w.checkAllButton,
                                                               *w.uncheckAllButton, *w.statusBar);
    connect(photoView.get(), &PhotoListViewController::previewRequested, this, &AlbivexApp::previewRequested);
    m_controllers.push_back(std::move(photoView));
    auto selected
        = std::make_unique<SelectedDownloadController>(m_network, m_endpoints, m_state, *m_albums, *m_photos,
                                                       *m_log, m_prompts, m_transferOptions, m_busyRetry, w);
    connect(w.downloadPicturesAction, &QAction::triggered, selected.get(),
            &SelectedDownloadController::downloadSelectedPictures);
    SelectedDownloadController *selectedRuns = selected.get();
    m_controllers.push_back(std::move(selected));
    auto albumDownload = std::make_unique<AlbumDownloadController>(
        m_network, m_endpoints, m_state, *m_albums, *m_log, m_prompts, m_transferOptions, m_busyRetry,
        m_albumPacing, m_pauseOptions, w);
    connect(albumDownload.get(), &AlbumDownloadController::sessionExpired, signInAgain,
            &SignInController::signInAgain);

    // The offline album of the space a run saved into is built once the run ends; "浏览备份"
    // follows the listed space.
    auto gallery = std::make_unique<GalleryController>(*w.openGalleryButton, *w.saveFolderEdit, m_state,
                                                       *m_galleryJob, *m_log, m_urls);
    connect(albumDownload.get(), &AlbumDownloadController::runEnded, gallery.get(),
            &GalleryController::buildCurrentSpace);
    connect(selectedRuns, &SelectedDownloadController::runEnded, gallery.get(),
            &GalleryController::buildCurrentSpace);
    connect(listing, &AlbumCatalogueController::listingFinished, gallery.get(), &GalleryController::refresh);
    // "下载说说", "下载留言" and "备份整个空间" follow the listing and the other jobs.
    auto moods = std::make_unique<MoodDownloadController>(m_network, m_endpoints, m_state, *m_albums, *m_log,
                                                          m_prompts, m_transferOptions, m_busyRetry,
                                                          m_pauseOptions, w);
    MoodDownloadController *moodRuns = moods.get();
    auto board = std::make_unique<BoardDownloadController>(m_network, m_endpoints, m_state, *m_albums, *m_log,
                                                           m_prompts, m_transferOptions, m_busyRetry,
                                                           m_pauseOptions, w);
    BoardDownloadController *boardRuns = board.get();
    auto space = std::make_unique<SpaceBackupController>(m_network, m_endpoints, m_state, *m_albums, *m_log,
                                                         m_prompts, m_transferOptions, m_busyRetry,
                                                         m_albumPacing, m_pauseOptions, w);
    SpaceBackupController *spaceRuns = space.get();
    const auto refreshParts = [moodRuns, boardRuns, spaceRuns] {
        moodRuns->refresh();
        boardRuns->refresh();
        spaceRuns->refresh();
    };
    connect(moodRuns, &MoodDownloadController::sessionExpired, signInAgain, &SignInController::signInAgain);
    connect(boardRuns, &BoardDownloadController::sessionExpired, signInAgain, &SignInController::signInAgain);
    connect(spaceRuns, &SpaceBackupController::sessionExpired, signInAgain, &SignInController::signInAgain);
    connect(moodRuns, &MoodDownloadController::runEnded, gallery.get(),
            &GalleryController::buildCurrentSpace);
    connect(boardRuns, &BoardDownloadController::runEnded, gallery.get(),
            &GalleryController::buildCurrentSpace);
    connect(spaceRuns, &SpaceBackupController::runEnded, gallery.get(),
            &GalleryController::buildCurrentSpace);
    // A run that did not finish is offered again once its space is listed whole: a
    // whole-space run as one, else the albums and the posts each.
    connect(listing, &AlbumCatalogueController::listingFinished, this,
            [listing, refreshParts, albumRuns = albumDownload.get(), moodRuns, spaceRuns] {
                refreshParts();
                if (!listing->listedWhole() || spaceRuns->offerToResume())
                    return;
                albumRuns->offerToResume();
                moodRuns->offerToResume();
            });
    connect(albumDownload.get(), &AlbumDownloadController::runEnded, this, refreshParts);
    connect(selectedRuns, &SelectedDownloadController::runEnded, this, refreshParts);
    connect(moodRuns, &MoodDownloadController::runEnded, this, refreshParts);
    connect(boardRuns, &BoardDownloadController::runEnded, this, refreshParts);
    connect(spaceRuns, &SpaceBackupController::runEnded, this, refreshParts);
    m_controllers.push_back(std::move(moods));
    m_controllers.push_back(std::move(board));
    m_controllers.push_back(std::move(space));
    // "终止任务" ends a build too; the next run's end builds afresh.
    connect(w.stopButton, &QPushButton::clicked, m_galleryJob.get(), &GalleryJob::stop);
    m_controllers.push_back(std::move(albumDownload));
    m_controllers.push_back(std::move(gallery));
}

AlbivexApp::~AlbivexApp()
{
    // Controllers go first: they hold connections into the window.
    m_controllers.clear();
    // A build in progress ends before its picture in hand is done with.
    m_galleryJob.reset();
}

void AlbivexApp::start(const QString &settingsFile)
{
    m_startup->run();
    m_remembered->restoreFrom(settingsFile);
    m_versionCheck->run();
}

} // namespace albivex
