#include "photos/ui/PhotoListViewController.h"

#include "catalogue/AlbumListModel.h"
#include "photos/PhotoListModel.h"
#include "session/Prompts.h"
#include "window/StatusBar.h"

#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTreeView>

namespace albivex {

namespace {

constexpr double TwipsPerPixel = 15.0;

} // namespace

PhotoListViewController::PhotoListViewController(AlbumListModel &albums, PhotoListModel &photos,
                                                 Prompts &prompts, QTreeView &photoView, QMenu &photoMenu,
                                                 QTreeView &albumView, QRadioButton &checkAll,
                                                 QRadioButton &uncheckAll, StatusBar &statusBar,
                                                 QObject *parent)
    : QObject(parent)
    , m_albums(albums)
    , m_photos(photos)
    , m_prompts(prompts)
    , m_photoView(photoView)
    , m_photoMenu(photoMenu)
    , m_albumView(albumView)
    , m_statusBar(statusBar)
{
    QTreeView *view = &photoView;
    layOutColumns();
    connect(&photos, &PhotoListModel::checksChanged, this, &PhotoListViewController::countChecks);
    connect(view, &QTreeView::clicked, this, &PhotoListViewController::preview);
    view->viewport()->installEventFilter(this);
    connect(&checkAll, &QRadioButton::clicked, this,
            [this, option = &checkAll] { this->checkAll(option, true); });
    connect(&uncheckAll, &QRadioButton::clicked, this,
            [this, option = &uncheckAll] { this->checkAll(option, false); });
}

void PhotoListViewController::layOutColumns()
{
    QTreeView *view = &m_photoView;
    for (int column = 0; column < PhotoListModel::ColumnCount; ++column) {
        const int twips = PhotoListModel::columnWidthTwips(column);
        view->setColumnHidden(column, twips == 0);
        if (twips > 0)
            view->header()->resizeSection(column, qRound(twips / TwipsPerPixel));
    }
}

void PhotoListViewController::countChecks()
{
    m_statusBar.setStatusText(QStringLiteral("已选择") + QString::number(m_photos.checkedCount())
                              + QStringLiteral("张图片.."));
}

void PhotoListViewController::preview(const QModelIndex &index)
{
    if (index.isValid())
        Q_EMIT previewRequested(m_photos.entry(index.row()).url);
}

bool PhotoListViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_photoView.viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::RightButton)
            m_photoMenu.popup(press->globalPosition().toPoint());
    }
    // The list still handles the press itself, so a right click also selects its row.
    return QObject::eventFilter(watched, event);
}

void PhotoListViewController::checkAll(QRadioButton *option, bool checked)
{
    // The album list is acted on while it is the list shown (the photo list replaces
    // it while an album is open).
    if (!m_albumView.isHidden()) {
        if (m_albums.isEmpty())
            m_prompts.inform(AppBoxTitle(), QStringLiteral("请先获取相册"), Prompts::Icon::Information);
        else
            m_albums.setAllChecked(checked); // its count is shown by the album list
    } else {
        if (m_photos.isEmpty())
            m_prompts.inform(AppBoxTitle(), QStringLiteral("该相册没有图片"), Prompts::Icon::Information);
        else
            m_photos.setAllChecked(checked); // countChecks shows the new count
    }
    option->setChecked(false);
}

} // namespace albivex
