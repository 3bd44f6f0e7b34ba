#include "catalogue/ui/AlbumListViewController.h"

#include "catalogue/AlbumInfoText.h"
#include "catalogue/AlbumListModel.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"
#include "window/SelectedRow.h"
#include "window/StatusBar.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeView>

namespace albivex {

namespace {

constexpr double TwipsPerPixel = 15.0;

} // namespace

AlbumListViewController::AlbumListViewController(WindowState &state, AlbumListModel &albums, ActivityLog &log,
                                                 Prompts &prompts, QTreeView &albumView, QMenu &albumMenu,
                                                 QAction &viewAlbumAction, StatusBar &statusBar,
                                                 QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_albums(albums)
    , m_log(log)
    , m_prompts(prompts)
    , m_albumView(albumView)
    , m_albumMenu(albumMenu)
    , m_viewAlbumAction(viewAlbumAction)
    , m_statusBar(statusBar)
{
    QTreeView *view = &albumView;
    layOutColumns();
    connect(view, &QTreeView::clicked, this, &AlbumListViewController::previewCover);
    connect(view, &QTreeView::doubleClicked, this, &AlbumListViewController::viewAlbum);
    view->viewport()->installEventFilter(this);
    connect(&albums, &AlbumListModel::checksChanged, this, &AlbumListViewController::countChecks);
    // A new listing drops the old ticks with the old rows.
    connect(&albums, &AlbumListModel::modelReset, this, [this] { m_state.checkedAlbumCount = 0; });
}

void AlbumListViewController::layOutColumns()
{
    QTreeView *view = &m_albumView;
    for (int column = 0; column < AlbumListModel::ColumnCount; ++column) {
        const int twips = AlbumListModel::columnWidthTwips(column);
        view->setColumnHidden(column, twips == 0);
        if (twips > 0)
            view->header()->resizeSection(column, qRound(twips / TwipsPerPixel));
    }
}

void AlbumListViewController::previewCover(const QModelIndex &index)
{
    if (index.isValid())
        Q_EMIT previewRequested(m_albums.entry(index.row()).coverUrl);
}

void AlbumListViewController::viewAlbum()
{
    if (m_state.albumJobIdle)
        m_viewAlbumAction.trigger();
}

bool AlbumListViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_albumView.viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::RightButton && m_state.albumJobIdle)
            m_albumMenu.popup(press->globalPosition().toPoint());
    }
    // The list still handles the press itself, so a right click also selects its row.
    return QObject::eventFilter(watched, event);
}

void AlbumListViewController::countChecks()
{
    const int count = m_albums.checkedCount();
    m_state.checkedAlbumCount = count;
    m_statusBar.setStatusText(QStringLiteral("已选择") + QString::number(count) + QStringLiteral("个相册.."));
}

void AlbumListViewController::copyAlbumInfo()
{
    const int row = SelectedRow(&m_albumView);
    const AlbumEntry &album = m_albums.entry(row);
    if (row < 0 || album.name.isEmpty()) {
        m_statusBar.setStatusText(QStringLiteral("请选择相册"));
        m_prompts.inform(AppBoxTitle(), QStringLiteral("请选择相册"), Prompts::Icon::Information);
        return;
    }
    // Clipboard trouble is not reported; the line is written all the same.
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(AlbumInfoText(album));
    m_log.add(QLatin1Char('[') + album.name + QStringLiteral("]相册信息复制成功"));
}

} // namespace albivex
