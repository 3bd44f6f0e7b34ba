#include "window/MainWindow.h"

#include "network/PictureLoader.h"
#include "window/SelectedRow.h"
#include "window/StatusBar.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

#include <utility>

// The pictures and the skin are compiled into the library; a static library's
// resources must be registered by name, outside any namespace.
static void registerAlbivexResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(albivex);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace albivex {

namespace {

QPushButton *button(QWidget *parent, const QString &caption, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setGeometry(geometry);
    return b;
}

QLabel *label(QWidget *parent, const QString &caption, const QRect &geometry)
{
    auto *l = new QLabel(caption, parent);
    l->setGeometry(geometry);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QTreeView *listView(QWidget *parent)
{
    auto *view = new QTreeView(parent);
    view->setGeometry(10, 238, 961, 196);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setContextMenuPolicy(Qt::NoContextMenu);
    // Columns keep the widths the window gives them: no dragging of dividers,
    // no fitting by a double-click on a divider, no reordering.
    view->header()->setSectionResizeMode(QHeaderView::Fixed);
    view->header()->setSectionsMovable(false);
    view->header()->setStretchLastSection(false);
    return view;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    registerAlbivexResources();
    m_background = QPixmap(QStringLiteral(":/albivex/background.png"));
    setWindowTitle(QStringLiteral("Albivex"));
    setFixedSize(ClientWidth, ClientHeight);
    buildTitleBar();
    buildAccountArea();
    buildOptionsArea();
    buildLists();
    buildBottomArea();
    buildMenus();
    nameControls();
}

void MainWindow::buildTitleBar()
{
    logoLabel = label(this, QString(), QRect(8, 3, 300, 70)); // 4500 x 1050 twips
    logoLabel->setPixmap(QPixmap(QStringLiteral(":/albivex/logo.png")));
    websiteLabel = label(this, QStringLiteral("官方网站"), QRect(868, 6, 60, 20));
    minimiseLabel = label(this, QStringLiteral("_"), QRect(934, 2, 18, 22));
    minimiseLabel->setToolTip(QStringLiteral("最小化"));
    closeLabel = label(this, QStringLiteral("x"), QRect(956, 2, 18, 22));
    closeLabel->setToolTip(QStringLiteral("关闭"));
    for (QLabel *l : {minimiseLabel, closeLabel}) {
        l->setFont(QFont(QStringLiteral("Consolas"), 12));
        l->setAlignment(Qt::AlignCenter);
    }
    for (QLabel *l : {minimiseLabel, closeLabel, websiteLabel})
        l->setCursor(Qt::PointingHandCursor);
}

void MainWindow::buildAccountArea()
{
    accountBox = new QGroupBox(QStringLiteral("QQ账号"), this);
    accountBox->setGeometry(10, 84, 250, 122);
    const QPixmap avatar(QStringLiteral(":/albivex/avatar.png"));
    avatarLabel = label(accountBox, QString(), QRect(10, 26, 80, 80));
    avatarLabel->setScaledContents(true);
    avatarLabel->setPixmap(avatar);
    avatarLabel->setCursor(Qt::PointingHandCursor);
    qqNumberLabel = label(accountBox, QStringLiteral("未登录"), QRect(100, 26, 140, 22));
    nicknameLabel = label(accountBox, QStringLiteral("QQ昵称"), QRect(100, 52, 140, 22));
    signInButton = button(accountBox, QStringLiteral("登录QQ"), QRect(100, 80, 100, 28));
    signInButton->setEnabled(false);
    // Source of the default avatar when signing out; never shown.
    defaultAvatarLabel = label(this, QString(), QRect(0, 0, 80, 80));
    defaultAvatarLabel->setScaledContents(true);
    defaultAvatarLabel->setPixmap(avatar);
    defaultAvatarLabel->hide();

    listOwnAlbumsButton = button(this, QStringLiteral("获取相册"), QRect(270, 90, 110, 36));
    listOwnAlbumsButton->setEnabled(false);

    otherSpaceBox = new QGroupBox(this);
    otherSpaceBox->setGeometry(270, 134, 250, 72);
    otherSpaceLabel = label(otherSpaceBox, QStringLiteral("获取空间相册"), QRect(10, 12, 200, 20));
    otherQqEdit = new QLineEdit(otherSpaceBox);
    otherQqEdit->setGeometry(10, 38, 150, 26);
    otherQqEdit->setPlaceholderText(QStringLiteral("QQ号码"));
    listOtherAlbumsButton = button(otherSpaceBox, QStringLiteral("获取"), QRect(168, 37, 70, 28));
    listOtherAlbumsButton->setEnabled(false);

    // The runs of a space's other parts, and of the whole space, in a column beside the
    // choices they follow.
    downloadMoodsButton = button(this, QStringLiteral("下载说说"), QRect(770, 92, 104, 25));
    downloadBoardButton = button(this, QStringLiteral("下载留言"), QRect(770, 119, 104, 25));
    backupSpaceButton = button(this, QStringLiteral("备份整个空间"), QRect(770, 146, 104, 25));
    for (QPushButton *b : {downloadMoodsButton, downloadBoardButton, backupSpaceButton})
        b->setEnabled(false);
}

void MainWindow::buildOptionsArea()
{
    qualityLabel = label(this, QStringLiteral("清晰度选择"), QRect(394, 96, 74, 24));
    qualityCombo = new QComboBox(this);
    qualityCombo->setGeometry(468, 94, 70, 28);

    namingLabel = label(this, QStringLiteral("命名方式："), QRect(556, 92, 72, 24));
    sequenceNamingButton = new QRadioButton(QStringLiteral("序号+原名保存(推荐)"), this);
    sequenceNamingButton->setGeometry(628, 92, 140, 24);
    nameOnlyButton = new QRadioButton(QStringLiteral("原名保存"), this);
    nameOnlyButton->setGeometry(628, 118, 140, 24);
    randomNamingButton = new QRadioButton(QStringLiteral("原名+随机数"), this);
    randomNamingButton->setGeometry(628, 144, 140, 24);
    namingModeGroup = new QButtonGroup(this);
    namingModeGroup->addButton(sequenceNamingButton, 0);
    namingModeGroup->addButton(nameOnlyButton, 1);
    namingModeGroup->addButton(randomNamingButton, 2);
    sequenceNamingButton->setChecked(true);
    // Whether an album download skips the pictures an earlier run saved whole.
    onlyNewCheck = new QCheckBox(QStringLiteral("只下载新照片"), this);
    onlyNewCheck->setGeometry(712, 178, 104, 24);
    // Whether saved pictures get the listing's caption, name and shooting time written
    // into their own metadata.
    writeMetadataCheck = new QCheckBox(QStringLiteral("写入照片信息"), this);
    writeMetadataCheck->setGeometry(820, 178, 150, 24);

    // Check-all and clear-all act like buttons: each resets itself after a click,
    // so they stay out of any exclusive group.
    checkAllButton = new QRadioButton(QStringLiteral("全选"), this);
    checkAllButton->setGeometry(556, 178, 64, 24);
    checkAllButton->setAutoExclusive(false);
    uncheckAllButton = new QRadioButton(QStringLiteral("取消"), this);
    uncheckAllButton->setGeometry(628, 178, 64, 24);
    uncheckAllButton->setAutoExclusive(false);

    previewLabel = label(this, QString(), QRect(880, 94, 75, 75)); // 1120 twips square
    previewLabel->setScaledContents(true);
    previewLabel->setFrameShape(QFrame::Box);
}

void MainWindow::buildLists()
{
    backButton = button(this, QStringLiteral("<="), QRect(10, 211, 44, 24));
    backButton->hide();
    albumNameLabel = label(this, QStringLiteral("相册名"), QRect(62, 212, 300, 22));
    albumNameLabel->hide();
    albumDescriptionLabel = label(this, QStringLiteral("相册描述"), QRect(370, 212, 600, 22));
    albumDescriptionLabel->hide();
    albumView = listView(this);
    photoView = listView(this);
    photoView->setFont(QFont(QStringLiteral("Microsoft YaHei")));
    photoView->hide();
}

void MainWindow::buildBottomArea()
{
    saveFolderEdit = new QLineEdit(this);
    saveFolderEdit->setGeometry(10, 442, 330, 26);
    chooseFolderButton = button(this, QStringLiteral("设置路径"), QRect(10, 474, 106, 28));
    openFolderButton = button(this, QStringLiteral("打开目录"), QRect(122, 474, 106, 28));
    stopButton = button(this, QStringLiteral("终止任务"), QRect(234, 474, 106, 28));
    forumButton = button(this, QStringLiteral("官方论坛"), QRect(10, 508, 106, 28));
    serviceButton = button(this, QStringLiteral("客服中心"), QRect(122, 508, 106, 28));
    // Under "终止任务", beside the folder buttons: the offline album of the listed space.
    openGalleryButton = button(this, QStringLiteral("浏览备份"), QRect(234, 508, 106, 28));
    openGalleryButton->setEnabled(false);

    activityLogList = new QListWidget(this);
    activityLogList->setGeometry(350, 442, 548, 126);
    activityLogList->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every log line is one line of text. Measured one by one, each added line would
    // cost more than the last: an album job of a few hundred pictures then keeps the
    // window busy laying out its log.
    activityLogList->setUniformItemSizes(true);
    clearLogButton = button(this, QStringLiteral("CLEAR"), QRect(904, 442, 67, 28));

    statusBar = new StatusBar(this);
    statusBar->setGeometry(1, 574, ClientWidth - 2, 22);
    progressBar = new QProgressBar(statusBar->panel(5));
    auto *overPanel = new QHBoxLayout(statusBar->panel(5));
    overPanel->setContentsMargins(1, 1, 1, 1);
    overPanel->addWidget(progressBar);
    progressBar->setRange(0, 100);
    progressBar->setValue(0);
    progressBar->setTextVisible(false);
}

void MainWindow::buildMenus()
{
    albumMenu = new QMenu(QStringLiteral("程序菜单"), this);
    viewAlbumAction = albumMenu->addAction(QStringLiteral("查看相册"));
    albumMenu->addSeparator();
    downloadAlbumAction = albumMenu->addAction(QStringLiteral("下载相册"));
    albumMenu->addSeparator();
    copyAlbumInfoAction = albumMenu->addAction(QStringLiteral("复制信息"));

    photoMenu = new QMenu(QStringLiteral("程序菜单"), this);
    downloadPicturesAction = photoMenu->addAction(QStringLiteral("下载图片"));
    photoMenu->addSeparator();
    openPictureAction = photoMenu->addAction(QStringLiteral("打开图片"));
}

// Automation and the tests find the window and its controls by these names.
void MainWindow::nameControls()
{
    const std::pair<QObject *, const char *> names[] = {
        {this, "Form1"},
        {logoLabel, "aicAlphaImage1"},
        {minimiseLabel, "Label2_1"},
        {closeLabel, "Label2_2"},
        {websiteLabel, "Label2_3"},
        {accountBox, "Frame1"},
        {avatarLabel, "Image1"},
        {qqNumberLabel, "qqhao"},
        {nicknameLabel, "Label1"},
        {signInButton, "Command2"},
        {defaultAvatarLabel, "Image3"},
        {listOwnAlbumsButton, "Command1"},
        {otherSpaceBox, "Frame2"},
        {otherSpaceLabel, "Label4"},
        {otherQqEdit, "Text2"},
        {listOtherAlbumsButton, "Command4"},
        {downloadMoodsButton, "downloadMoods"},
        {downloadBoardButton, "downloadBoard"},
        {backupSpaceButton, "backupSpace"},
        {qualityLabel, "Label5"},
        {qualityCombo, "Combo1"},
        {namingLabel, "Label3"},
        {sequenceNamingButton, "mm_0"},
        {nameOnlyButton, "mm_1"},
        {randomNamingButton, "mm_2"},
        {namingModeGroup, "mm"},
        {onlyNewCheck, "onlyNew"},
        {writeMetadataCheck, "writeMetadata"},
        {checkAllButton, "Option3"},
        {uncheckAllButton, "Option4"},
        {previewLabel, "Image2"},
        {backButton, "Command5"},
        {albumNameLabel, "Label6"},
        {albumDescriptionLabel, "Label7"},
        {albumView, "ListView1"},
        {photoView, "ListView2"},
        {saveFolderEdit, "Text1"},
        {chooseFolderButton, "Command3"},
        {openFolderButton, "Command7"},
        {stopButton, "Command6"},
        {openGalleryButton, "openGallery"},
        {forumButton, "Command9"},
        {serviceButton, "Command10"},
        {activityLogList, "List1"},
        {clearLogButton, "Command8"},
        {statusBar, "s1"},
        {progressBar, "ProgressBar1"},
        {albumMenu, "menu"},
        {viewAlbumAction, "ckxc"},
        {downloadAlbumAction, "xz"},
        {copyAlbumInfoAction, "fz"},
        {photoMenu, "menu2"},
        {downloadPicturesAction, "xiatp"},
        {openPictureAction, "dktp"},
    };
    for (const auto &[object, name] : names)
        object->setObjectName(QLatin1String(name));
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_background);
    // The window has no frame of its own: grey lines mark its edges.
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MainWindow::setStatusText(const QString &text)
{
    statusBar->setStatusText(text);
}

QString MainWindow::statusText() const
{
    return statusBar->statusText();
}

int MainWindow::selectedAlbumRow() const
{
    return SelectedRow(albumView);
}

int MainWindow::selectedPhotoRow() const
{
    return SelectedRow(photoView);
}

QString MainWindow::saveFolder() const
{
    return saveFolderEdit->text();
}

bool MainWindow::writeMetadata() const
{
    return writeMetadataCheck->isChecked();
}

NamingMode MainWindow::namingMode() const
{
    if (sequenceNamingButton->isChecked())
        return NamingMode::SequenceAndName;
    if (nameOnlyButton->isChecked())
        return NamingMode::NameOnly;
    if (randomNamingButton->isChecked())
        return NamingMode::NameAndRandom;
    return NamingMode::SequenceAndName;
}

void MainWindow::setProgressRange(int minimum, int maximum)
{
    progressBar->setRange(minimum, maximum);
}

void MainWindow::setProgressValue(int value)
{
    progressBar->setValue(value);
}

QString MainWindow::otherQqText() const
{
    return otherQqEdit->text();
}

void MainWindow::focusOtherQq()
{
    otherQqEdit->setFocus();
}

void MainWindow::clearOtherQq()
{
    otherQqEdit->clear();
}

void MainWindow::clickSignIn()
{
    signInButton->click();
}

void MainWindow::clickBack()
{
    backButton->click();
}

void MainWindow::showPhotoList(const QString &albumName, const QString &descriptionText)
{
    albumView->hide();
    photoView->show();
    backButton->show();
    albumNameLabel->setText(albumName);
    albumNameLabel->show();
    albumDescriptionLabel->setText(descriptionText);
    albumDescriptionLabel->show();
}

void MainWindow::showAlbumList()
{
    backButton->hide();
    albumView->show();
    photoView->hide();
    albumNameLabel->hide();
    albumDescriptionLabel->hide();
}

QString MainWindow::signInCaption() const
{
    return signInButton->text();
}

void MainWindow::showAccount(const QString &number, const QString &nickname, const QString &signInCaption)
{
    qqNumberLabel->setText(number);
    nicknameLabel->setText(nickname);
    signInButton->setText(signInCaption);
}

void MainWindow::setAvatar(const QImage &picture)
{
    avatarLabel->setPixmap(QPixmap::fromImage(StretchOnWhite(picture, avatarLabel->size())));
}

void MainWindow::resetAvatar()
{
    avatarLabel->setPixmap(defaultAvatarLabel->pixmap());
}

void MainWindow::setAvatarClickable(bool clickable)
{
    avatarLabel->setEnabled(clickable);
}

} // namespace albivex
