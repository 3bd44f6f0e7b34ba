#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QNetworkAccessManager;
class QWidget;

namespace albivex {

class Endpoints;
class ActivityLog;
class Prompts;
class UrlOpener;
class StatusBar;
class TextRequest;

// The version check: reads the vendor's version file while the window stays
// responsive. The tool becomes usable (sign-in and album buttons enabled) only when
// the file lists this tool's own version; otherwise it offers the download page and
// ends, and when the file cannot be read it says so and ends.
class VersionCheckController : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultBoundMs = 60000;

    // `boundMs`: the longest the request may take, in total, before it counts as failed.
    VersionCheckController(QNetworkAccessManager &network, const Endpoints &endpoints, ActivityLog &log,
                           Prompts &prompts, UrlOpener &urls, StatusBar &statusBar,
                           QList<QWidget *> unlockedControls, int boundMs = DefaultBoundMs);

    // Starts the check; runs once per program run (later calls do nothing).
    void run();

Q_SIGNALS:
    // The outcome is settled: true when the buttons were enabled. When false, the
    // program ends as soon as the user has answered the box.
    void concluded(bool current);
    // The user has answered the box of an outcome that ends the program.
    void quitRequested();

private:
    void conclude(const QString &text);
    void networkFailed();
    void currentVersion();
    void otherVersion(const QString &listed);

    QNetworkAccessManager &m_network;
    const Endpoints &m_endpoints;
    ActivityLog &m_log;
    Prompts &m_prompts;
    UrlOpener &m_urls;
    StatusBar &m_statusBar;
    // Enabled, in this order, when the version is the current one.
    QList<QWidget *> m_unlockedControls;
    int m_boundMs;
    QTimer m_bound;
    QPointer<TextRequest> m_request;
    bool m_started = false;
    bool m_concluded = false;
};

} // namespace albivex
