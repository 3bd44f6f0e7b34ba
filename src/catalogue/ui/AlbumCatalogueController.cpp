#include "catalogue/ui/AlbumCatalogueController.h"

#include "catalogue/AlbumListModel.h"
#include "catalogue/AlbumListingView.h"
#include "catalogue/QqNumberInput.h"
#include "network/FetchText.h"
#include "network/ParseInBackground.h"
#include "qzone/AlbumListParser.h"
#include "qzone/AlbumListRequest.h"
#include "qzone/Endpoints.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"

#include <QLocale>
#include <QPointer>
#include <QTimer>

namespace albivex {

AlbumCatalogueController::AlbumCatalogueController(QNetworkAccessManager &network, const Endpoints &endpoints,
                                                   WindowState &state, AlbumListModel &albums,
                                                   ActivityLog &log, Prompts &prompts, AlbumListingView &view,
                                                   QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_albums(albums)
    , m_log(log)
    , m_prompts(prompts)
    , m_view(view)
{ }

void AlbumCatalogueController::listOwnAlbums()
{
    if (m_listing)
        return;
    const QzoneCredentials &account = m_state.credentials;
    if (account.signedIn == 0) {
        askToSignIn();
        return;
    }
    start(false, account.uin, OwnAlbumListUrl(m_endpoints, account.uin, account.gTk));
}

void AlbumCatalogueController::listOtherAlbums()
{
    if (m_listing)
        return;
    const QqNumberInput input = QqNumberInput::fromText(m_view.otherQqText());
    switch (input.verdict) {
    case QqNumberInput::Verdict::Empty:
        m_view.setStatusText(QStringLiteral("请输入您的QQ号.."));
        m_view.focusOtherQq();
        return;
    case QqNumberInput::Verdict::Malformed:
        m_view.setStatusText(QStringLiteral("您输入的QQ号码有误!"));
        m_view.clearOtherQq();
        return;
    case QqNumberInput::Verdict::Valid:
        break;
    }
    const QzoneCredentials &account = m_state.credentials;
    if (account.signedIn == 0) {
        askToSignIn();
        return;
    }
    start(true, input.number, OtherAlbumListUrl(m_endpoints, input.number, account.uin, account.gTk));
}

void AlbumCatalogueController::askToSignIn()
{
    m_log.add(QStringLiteral("请您先登录QQ.."));
    QPointer<AlbumCatalogueController> self(this);
    m_prompts.inform(AppBoxTitle(), QStringLiteral("请您先登录QQ"), Prompts::Icon::Information, [self] {
        if (self)
            self->m_view.clickSignIn();
    });
}

void AlbumCatalogueController::start(bool otherSpace, const QString &ownerUin, const QUrl &address)
{
    m_listing = true;
    m_otherSpace = otherSpace;
    m_ownerUin = ownerUin;
    // Whose albums these are is fixed now: the photo listing, the downloads and the
    // owner folder must not follow later edits of the typed number.
    m_state.listShowsOtherQq = otherSpace;
    m_state.listedOwnerUin = ownerUin;
    m_albums.clear();
    m_log.add(QStringLiteral("[QQ:") + ownerUin + QStringLiteral("]正在获取相册.."));
    FetchText(m_network, address, this, [this](const QString &answer) { onAnswer(answer); });
}

void AlbumCatalogueController::onAnswer(const QString &answer)
{
    const QLocale locale;
    ParseInBackground<QList<AlbumEntry>>(
        this, [answer, locale] { return ParseAlbumList(answer, locale); },
        [this](QList<AlbumEntry> albums) {
            m_pending = std::move(albums);
            m_next = 0;
            addNextRows();
        });
}

void AlbumCatalogueController::addNextRows()
{
    const qsizetype end = qMin(m_next + RowsPerTurn, m_pending.size());
    for (; m_next < end; ++m_next) {
        m_albums.append(m_pending.at(m_next));
        // Each album brings the album list back into view, as the back button does.
        m_view.clickBack();
    }
    if (m_next < m_pending.size())
        QTimer::singleShot(0, this, &AlbumCatalogueController::addNextRows);
    else
        finish();
}

void AlbumCatalogueController::finish()
{
    m_pending.clear();
    m_log.add(QStringLiteral("[QQ:") + m_ownerUin + QStringLiteral("]相册获取完毕.."));
    if (m_albums.isEmpty()) {
        m_prompts.inform(AppBoxTitle(),
                         m_otherSpace ? QStringLiteral("很抱歉，没有获取到该空间相册，可能没有相册或设置权限")
                                      : QStringLiteral("很抱歉，您的空间没有相册"),
                         Prompts::Icon::Information);
    }
    m_listing = false;
    Q_EMIT listingFinished();
}

} // namespace albivex
