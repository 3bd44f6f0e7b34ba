#include "catalogue/ui/AlbumCatalogueController.h"

#include "catalogue/AlbumListModel.h"
#include "catalogue/AlbumListingView.h"
#include "catalogue/ListTexts.h"
#include "catalogue/QqNumberInput.h"
#include "network/ParseInBackground.h"
#include "qzone/AlbumListParser.h"
#include "qzone/AlbumListRequest.h"
#include "qzone/Endpoints.h"
#include "qzone/ListFetch.h"
#include "session/Prompts.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"

#include <QLocale>
#include <QPointer>
#include <QTimer>

namespace albivex {

AlbumCatalogueController::AlbumCatalogueController(QNetworkAccessManager &network, const Endpoints &endpoints,
                                                   WindowState &state, AlbumListModel &albums,
                                                   ActivityLog &log, Prompts &prompts,
                                                   const BusyRetryOptions &busyRetry, AlbumListingView &view,
                                                   QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_albums(albums)
    , m_log(log)
    , m_prompts(prompts)
    , m_view(view)
    , m_busyRetry(busyRetry)
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
    start(false, account.uin);
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
    start(true, input.number);
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

void AlbumCatalogueController::start(bool otherSpace, const QString &ownerUin)
{
    m_listing = true;
    m_otherSpace = otherSpace;
    m_ownerUin = ownerUin;
    // Whose albums these are is fixed now: the photo listing, the downloads and the
    // owner folder must not follow later edits of the typed number.
    m_state.listShowsOtherQq = otherSpace;
    m_state.listedOwnerUin = ownerUin;
    m_albums.clear();
    m_listedIds.clear();
    m_albumsInUser = -1;
    m_pagesAsked = 0;
    m_log.add(QStringLiteral("[QQ:") + ownerUin + QStringLiteral("]正在获取相册.."));
    requestPage(std::nullopt);
}

void AlbumCatalogueController::requestPage(std::optional<int> pageStart)
{
    ++m_pagesAsked;
    const QzoneCredentials &account = m_state.credentials;
    const QUrl address = m_otherSpace
        ? OtherAlbumListUrl(m_endpoints, m_ownerUin, account.uin, account.tokenFor(Endpoint::AlbumListV2),
                            pageStart)
        : OwnAlbumListUrl(m_endpoints, account.uin, account.tokenFor(Endpoint::AlbumListV3), pageStart);
    // A code-0 page without albums while the space has more than are listed is the
    // service shedding load, not the end of the list: it is asked again.
    const int known = m_pagesAsked == 1 ? -1 : m_albumsInUser;
    const int listed = m_albums.size();
    FetchList(
        m_network, address, m_busyRetry, this, [this](const ListAnswer &answer) { onAnswer(answer); },
        [known, listed](QStringView text) {
            if (!ListsNoAlbum(text))
                return false;
            return known < 0 ? AlbumsInUser(text) > 0 : listed < known;
        });
}

void AlbumCatalogueController::onAnswer(const ListAnswer &answer)
{
    if (answer.verdict.state == AnswerState::Expired) {
        finish(Ending::Expired);
        return;
    }
    if (answer.verdict.state == AnswerState::Busy) {
        if (answer.throttledEmpty && m_pagesAsked > 1) {
            // The totals can be stale, so the albums listed stay and the log says what
            // is missing; no box.
            m_log.add(QStringLiteral("[QQ:%1]相册列表不完整（服务端%2个，已获取%3个）..")
                          .arg(m_ownerUin)
                          .arg(m_albumsInUser)
                          .arg(m_albums.size()));
            finish(Ending::Listed);
            return;
        }
        finish(Ending::Busy);
        return;
    }
    const QLocale locale;
    const QString text = answer.text;
    ParseInBackground<Page>(
        this,
        [text, locale] {
            return Page {ParseAlbumList(text, locale), AlbumsInUser(text)};
        },
        [this](Page page) { onPage(page); });
}

void AlbumCatalogueController::onPage(const Page &page)
{
    if (m_pagesAsked == 1)
        m_albumsInUser = page.albumsInUser;
    m_pending.clear();
    m_next = 0;
    for (AlbumEntry album : page.albums) {
        // An album a later page hands out again (the list shifted meanwhile) is listed once.
        if (!album.albumId.isEmpty()) {
            if (m_listedIds.contains(album.albumId))
                continue;
            m_listedIds.insert(album.albumId);
        }
        if (!album.allowAccess)
            album.downloadState = NoAccessState();
        m_pending.append(std::move(album));
    }
    addNextRows();
}

void AlbumCatalogueController::addNextRows()
{
    const qsizetype end = qMin(m_next + RowsPerTurn, m_pending.size());
    for (; m_next < end; ++m_next) {
        m_albums.append(m_pending.at(m_next));
        // Each album brings the album list back into view, as the back button does.
        m_view.clickBack();
    }
    if (m_next < m_pending.size()) {
        QTimer::singleShot(0, this, &AlbumCatalogueController::addNextRows);
        return;
    }
    // Paging stops at a page that adds nothing, and after a bound that a wrong total
    // cannot push past.
    const int listed = m_albums.size();
    const bool more = !m_pending.isEmpty() && listed < m_albumsInUser
        && m_pagesAsked < m_albumsInUser / AlbumPageSize + 2;
    m_pending.clear();
    if (more)
        requestPage(listed);
    else
        finish(Ending::Listed);
}

void AlbumCatalogueController::finish(Ending ending)
{
    m_pending.clear();
    m_listing = false;
    m_listedWhole = ending == Ending::Listed;
    if (ending == Ending::Expired) {
        Q_EMIT sessionExpired();
        Q_EMIT listingFinished();
        return;
    }
    m_log.add(QStringLiteral("[QQ:") + m_ownerUin + QStringLiteral("]相册获取完毕.."));
    if (ending == Ending::Busy) {
        m_view.setStatusText(BusyServiceText());
        m_prompts.inform(AppBoxTitle(), BusyServiceText(), Prompts::Icon::Information);
    } else if (m_albums.isEmpty()) {
        m_prompts.inform(AppBoxTitle(),
                         m_otherSpace ? QStringLiteral("很抱歉，没有获取到该空间相册，可能没有相册或设置权限")
                                      : QStringLiteral("很抱歉，您的空间没有相册"),
                         Prompts::Icon::Information);
    }
    Q_EMIT listingFinished();
}

} // namespace albivex
