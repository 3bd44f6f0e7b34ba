#include "shell/ui/VersionCheckController.h"

#include "network/FetchText.h"
#include "qzone/Endpoints.h"
#include "session/Prompts.h"
#include "session/UrlOpener.h"
#include "shell/VersionCheck.h"
#include "window/ActivityLog.h"
#include "window/StatusBar.h"

#include <QWidget>

#include <utility>

namespace albivex {

VersionCheckController::VersionCheckController(QNetworkAccessManager &network, const Endpoints &endpoints,
                                               ActivityLog &log, Prompts &prompts, UrlOpener &urls,
                                               StatusBar &statusBar, QList<QWidget *> unlockedControls,
                                               int boundMs)
    : m_network(network)
    , m_endpoints(endpoints)
    , m_log(log)
    , m_prompts(prompts)
    , m_urls(urls)
    , m_statusBar(statusBar)
    , m_unlockedControls(std::move(unlockedControls))
    , m_boundMs(boundMs)
{
    // The idle limit of the request alone would let a trickling answer run on for
    // ever; this bounds the whole request.
    m_bound.setSingleShot(true);
    connect(&m_bound, &QTimer::timeout, this, [this] {
        if (m_request)
            m_request->cancel();
        conclude(QString());
    });
}

void VersionCheckController::run()
{
    if (m_started)
        return;
    m_started = true;
    m_request = FetchText(
        m_network, m_endpoints.url(Endpoint::VersionFile), this,
        [this](const QString &text) { conclude(text); }, m_boundMs);
    m_bound.start(m_boundMs);
}

void VersionCheckController::conclude(const QString &text)
{
    if (m_concluded)
        return;
    m_concluded = true;
    m_bound.stop();
    if (text.isEmpty()) {
        networkFailed();
        return;
    }
    const QString listed = ListedVersion(text);
    if (IsCurrentVersion(listed))
        currentVersion();
    else
        otherVersion(listed);
}

void VersionCheckController::networkFailed()
{
    const QString message = QStringLiteral("网络出问题了，暂时无法使用，请您检查！");
    m_log.add({ActivityLog::separator(), message});
    Q_EMIT concluded(false);
    m_prompts.inform(AppBoxTitle(), message, Prompts::Icon::Exclamation, [this] { Q_EMIT quitRequested(); });
}

void VersionCheckController::currentVersion()
{
    m_statusBar.setStatusText(QStringLiteral("欢迎使用Zorvane软件.."));
    for (QWidget *control : std::as_const(m_unlockedControls))
        control->setEnabled(true);
    m_log.add(
        {ActivityLog::separator(), QStringLiteral("当前为最新版本，欢迎使用.."), ActivityLog::separator()});
    Q_EMIT concluded(true);
}

void VersionCheckController::otherVersion(const QString &listed)
{
    m_log.add({ActivityLog::separator(), QStringLiteral("发现新版本..")});
    m_statusBar.setStatusText(QStringLiteral("发现最新版本..."));
    const QString question = QStringLiteral("发现最新版本![") + listed + QStringLiteral("]")
        + QStringLiteral("\r\n") + QStringLiteral(" ") + QStringLiteral("\r\n")
        + QStringLiteral("是否去下载最新版本？");
    Q_EMIT concluded(false);
    m_prompts.askYesNo(AppBoxTitle(), question, Prompts::Icon::Information, [this](bool yes) {
        if (yes)
            m_urls.open(m_endpoints.url(Endpoint::VendorDownload));
        Q_EMIT quitRequested();
    });
}

} // namespace albivex
