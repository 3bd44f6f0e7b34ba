#pragma once

#include "catalogue/AlbumListingView.h"
#include "photos/PhotoListingView.h"
#include "photos/PictureDownloadView.h"
#include "session/AccountView.h"

#include <QPixmap>
#include <QWidget>

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace albivex {

class StatusBar;

// The main window: every control of the tool, in its opening state. It holds no
// behaviour of the features: the controllers connect to the controls they drive, and
// see the window through the small views it implements, each a few reads and changes
// of its controls.
// Every control also carries a short objectName (see nameControls()), by which
// automation and the tests find it.
class MainWindow : public QWidget,
                   public AlbumListingView,
                   public PhotoListingView,
                   public PictureDownloadView,
                   public AccountView
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 981; // 14715 twips at 15 twips per pixel
    static constexpr int ClientHeight = 598; // 8970 twips

    explicit MainWindow(QWidget *parent = nullptr);

    // Panel 2 of the status bar.
    void setStatusText(const QString &text) override;
    QString statusText() const;

    int selectedAlbumRow() const override;
    int selectedPhotoRow() const override;
    QString saveFolder() const override;
    // The first of the naming options that is selected (the first option when none is).
    NamingMode namingMode() const override;
    bool writeMetadata() const override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;

    QString otherQqText() const override;
    void focusOtherQq() override;
    void clearOtherQq() override;
    void clickSignIn() override;
    void clickBack() override;

    void showPhotoList(const QString &albumName, const QString &descriptionText) override;
    void showAlbumList() override;

    QString signInCaption() const override;
    void showAccount(const QString &number, const QString &nickname, const QString &signInCaption) override;
    void setAvatar(const QImage &picture) override;
    void resetAvatar() override;
    void setAvatarClickable(bool clickable) override;

    // Custom title bar: index 1 "_", 2 "x", 3 "官方网站".
    QLabel *minimiseLabel = nullptr;
    QLabel *closeLabel = nullptr;
    QLabel *websiteLabel = nullptr;
    QLabel *logoLabel = nullptr;

    QGroupBox *accountBox = nullptr;
    QPushButton *signInButton = nullptr;
    QLabel *qqNumberLabel = nullptr;
    QLabel *nicknameLabel = nullptr;
    QLabel *avatarLabel = nullptr;
    QLabel *defaultAvatarLabel = nullptr;

    QPushButton *listOwnAlbumsButton = nullptr;
    QGroupBox *otherSpaceBox = nullptr;
    QLabel *otherSpaceLabel = nullptr;
    QLineEdit *otherQqEdit = nullptr;
    QPushButton *listOtherAlbumsButton = nullptr;
    // Saves the listed space's 说说; enabled while a space is listed and no job runs.
    QPushButton *downloadMoodsButton = nullptr;
    // Saves the listed space's 留言板; enabled as downloadMoodsButton.
    QPushButton *downloadBoardButton = nullptr;
    // Saves the listed space whole (albums, 说说, 留言板) in one run; enabled as
    // downloadMoodsButton.
    QPushButton *backupSpaceButton = nullptr;

    QTreeView *albumView = nullptr;
    QTreeView *photoView = nullptr;
    QPushButton *backButton = nullptr;
    QLabel *albumNameLabel = nullptr;
    QLabel *albumDescriptionLabel = nullptr;

    QLabel *previewLabel = nullptr;
    QLabel *qualityLabel = nullptr;
    QComboBox *qualityCombo = nullptr;
    QLabel *namingLabel = nullptr;
    QRadioButton *sequenceNamingButton = nullptr;
    QRadioButton *nameOnlyButton = nullptr;
    QRadioButton *randomNamingButton = nullptr;
    QButtonGroup *namingModeGroup = nullptr;
    QCheckBox *onlyNewCheck = nullptr;
    QCheckBox *writeMetadataCheck = nullptr;
    QRadioButton *checkAllButton = nullptr;
    QRadioButton *uncheckAllButton = nullptr;

    QLineEdit *saveFolderEdit = nullptr;
    QPushButton *chooseFolderButton = nullptr;
    QPushButton *openFolderButton = nullptr;
    QPushButton *stopButton = nullptr;
    QPushButton *openGalleryButton = nullptr;
    QListWidget *activityLogList = nullptr;
    QPushButton *clearLogButton = nullptr;
    QPushButton *forumButton = nullptr;
    QPushButton *serviceButton = nullptr;

    StatusBar *statusBar = nullptr;
    QProgressBar *progressBar = nullptr;

    // Album list popup menu and its items.
    QMenu *albumMenu = nullptr;
    QAction *viewAlbumAction = nullptr;
    QAction *downloadAlbumAction = nullptr;
    QAction *copyAlbumInfoAction = nullptr;
    // Photo list popup menu and its items.
    QMenu *photoMenu = nullptr;
    QAction *downloadPicturesAction = nullptr;
    QAction *openPictureAction = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildTitleBar();
    void buildAccountArea();
    void buildOptionsArea();
    void buildLists();
    void buildBottomArea();
    void buildMenus();
    void nameControls();

    QPixmap m_background;
};

} // namespace albivex
