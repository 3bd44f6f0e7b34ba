#include "signin/ui/SignInController.h"

#include "network/SharedCookieJar.h"
#include "qzone/CookieCapture.h"
#include "qzone/Endpoints.h"
#include "qzone/ProfileRequest.h"
#include "session/AccountView.h"
#include "session/WindowState.h"
#include "signin/ui/CookieBridge.h"
#include "signin/ui/SignInDialog.h"
#include "window/ActivityLog.h"

#include <QLabel>
#include <QMouseEvent>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace albivex {

namespace {

const QString SignInCaption = QStringLiteral("登录QQ");
const QString SignOutCaption = QStringLiteral("注销登录");
// The title of the page QQ's sign-in goes on to after a successful sign-in.
const QString SecurityCentreMark = QStringLiteral("QQ安全中心");
const QString ExpiredText = QStringLiteral("登录已失效，请重新登录..");

} // namespace

SignInController::SignInController(QNetworkAccessManager &network, const Endpoints &endpoints,
                                   WindowState &state, ActivityLog &log, AccountView &view,
                                   QPushButton &signInButton, QLabel &avatar, QWidget &dialogParent,
                                   QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_endpoints(endpoints)
    , m_state(state)
    , m_log(log)
    , m_view(view)
    , m_signInButton(signInButton)
    , m_avatar(avatar)
    , m_dialogParent(dialogParent)
    , m_account(network, endpoints, state, log, view)
{
    // Every request of the process uses the network manager's jar; the browser's
    // cookies join it, and sign-out removes QQ's from it.
    if (!qobject_cast<SharedCookieJar *>(network.cookieJar()))
        network.setCookieJar(new SharedCookieJar);
    connect(&m_signInButton, &QPushButton::clicked, this, &SignInController::onSignInButton);
    m_avatar.installEventFilter(this);
    for (QTimer *timer : {&m_pSkeyDeadline, &m_pSkeyGrace}) {
        timer->setSingleShot(true);
        connect(timer, &QTimer::timeout, this, &SignInController::completeSignIn);
    }
    m_pSkeyDeadline.setInterval(PSkeyWaitMs);
    m_pSkeyGrace.setInterval(PSkeyGraceMs);
}

SignInController::~SignInController()
{
    // Pages go before the profile they use.
    delete m_signInDialog.data();
    m_profile.reset();
}

bool SignInController::eventFilter(QObject *watched, QEvent *event)
{
    QLabel *avatar = &m_avatar;
    if (watched != avatar)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonRelease && avatar->isEnabled()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && avatar->rect().contains(mouse->position().toPoint()))
            m_signInButton.click();
    } else if (event->type() == QEvent::Paint && !avatar->isEnabled() && !avatar->pixmap().isNull()) {
        // Disabled only against clicks: the avatar keeps its colours rather than the
        // greyed look of a disabled label.
        QPainter painter(avatar);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(avatar->contentsRect(), avatar->pixmap());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void SignInController::onSignInButton()
{
    const QString caption = m_view.signInCaption();
    if (caption == SignInCaption)
        openSignInWindow();
    else if (caption == SignOutCaption)
        signOut();
}

void SignInController::ensureBrowserProfile()
{
    if (m_profile)
        return;
    // A profile without a storage name is off the record.
    m_profile = std::make_unique<QWebEngineProfile>();
    m_profile->setObjectName(QStringLiteral("SignInProfile"));
    m_bridge = new CookieBridge(*m_profile->cookieStore(), m_network, m_profile.get());
    // The cookies of the page may be reported after its load has finished.
    connect(m_bridge, &CookieBridge::cookieAdded, this, &SignInController::tryCapture, Qt::QueuedConnection);
}

void SignInController::openSignInWindow()
{
    ensureBrowserProfile();
    if (!m_signInDialog) {
        m_signInDialog = new SignInDialog(*m_profile, SignInPageAddress(m_endpoints), &m_dialogParent);
        connect(m_signInDialog->browser, &QWebEngineView::loadFinished, this,
                &SignInController::onPageLoaded);
    }
    m_signInDialog->open();
}

void SignInController::tryCapture()
{
    if (m_awaitingPSkey && !browserPSkey().isEmpty()) {
        completeSignIn();
        return;
    }
    if (m_captured || !m_signInDialog)
        return;
    QWebEngineView *browser = m_signInDialog->browser;
    if (!browser->title().contains(SecurityCentreMark))
        return;
    const std::optional<CookieCapture> cookies = CaptureCookieText(m_bridge->cookieTextFor(browser->url()));
    if (!cookies)
        return; // not yet: a later page of the sign-in may bring them

    m_captured = true;
    m_capturedSkey = cookies->skey;
    m_capturedUin = cookies->uin;
    m_signInDialog->showNotice();
    if (!browserPSkey().isEmpty()) {
        completeSignIn();
        return;
    }
    m_awaitingPSkey = true;
    m_pSkeyDeadline.start();
    browser->load(m_endpoints.url(Endpoint::QzoneLanding));
}

void SignInController::onPageLoaded()
{
    tryCapture();
    if (!m_awaitingPSkey || !m_signInDialog)
        return;
    // The landing page is in; the cookies it set may still be on their way.
    const QUrl landing = m_endpoints.url(Endpoint::QzoneLanding);
    const QUrl shown = m_signInDialog->browser->url();
    if (shown.host() == landing.host() && shown.path() == landing.path() && !m_pSkeyGrace.isActive())
        m_pSkeyGrace.start();
}

QString SignInController::browserPSkey() const
{
    return m_bridge ? CookieValue(m_bridge->cookieTextFor(m_endpoints.url(Endpoint::AlbumListV3)), u"p_skey")
                    : QString();
}

void SignInController::completeSignIn()
{
    if (!m_captured || m_state.credentials.signedIn)
        return;
    m_awaitingPSkey = false;
    m_pSkeyDeadline.stop();
    m_pSkeyGrace.stop();
    QzoneCredentials &credentials = m_state.credentials;
    credentials.uin = m_capturedUin;
    credentials.setKeys(m_capturedSkey, browserPSkey());
    m_capturedSkey.clear();
    credentials.signedIn = true;
    m_account.showSignedIn([this] {
        if (m_signInDialog)
            m_signInDialog->hide();
    });
}

void SignInController::signOut()
{
    dropSession();
    m_view.setStatusText(QStringLiteral("注销成功.."));
    m_log.add(QStringLiteral("[QQ:") + m_state.credentials.uin + QStringLiteral("]注销成功.."));
}

void SignInController::signInAgain()
{
    if (!m_state.credentials.signedIn)
        return;
    dropSession();
    m_view.setStatusText(ExpiredText);
    m_log.add(ExpiredText);
    openSignInWindow();
}

void SignInController::dropSession()
{
    m_view.showAccount(QStringLiteral("未登录"), QStringLiteral("QQ昵称"), SignInCaption);
    m_view.setAvatarClickable(true);
    m_view.resetAvatar();
    m_account.cancel();

    // QQ's cookies go from the browser and the network jar alike, so that the next
    // sign-in starts on the sign-in page; other sites keep theirs.
    const auto isQq = [this](const QNetworkCookie &cookie) {
        return m_endpoints.isQqCookieDomain(cookie.domain());
    };
    if (m_bridge)
        m_bridge->removeCookies(isQq);
    else if (auto *jar = qobject_cast<SharedCookieJar *>(m_network.cookieJar()))
        jar->removeWhere(isQq);

    m_state.credentials.clearKeys();
    m_capturedSkey.clear();
    m_awaitingPSkey = false;
    m_pSkeyDeadline.stop();
    m_pSkeyGrace.stop();

    delete m_signInDialog.data();
    m_captured = false;
}

} // namespace albivex
