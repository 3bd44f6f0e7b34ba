#include "BenchSupport.h"

#include "app/AlbivexApp.h"
#include "standin/ServiceRoutes.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <time.h>
#include <unistd.h>

namespace albivex::bench {

bool Report(const char *figure, double value, const char *unit, const char *target, bool met)
{
    std::printf("%-58s %10.3f %-6s target %-10s %s\n", figure, value, unit, target, met ? "ok" : "MISSED");
    std::fflush(stdout);
    return met;
}

int Fail(const char *what, const QStringList &lastLines)
{
    std::printf("set-up failed: %s\n", what);
    for (const QString &line : lastLines)
        std::printf("  %s\n", qPrintable(line));
    return 2;
}

double ThreadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

bool WaitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    poll.start(5);
    if (!done())
        loop.exec();
    return done();
}

qint64 StatusKib(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double RunQueueWaitMs()
{
    QFile stat(QStringLiteral("/proc/thread-self/schedstat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    return stat.readAll().split(' ').value(1).toLongLong() / 1e6;
}

double HostStealMs()
{
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // "cpu  user nice system idle iowait irq softirq steal ...", in clock ticks.
    const QList<QByteArray> fields = stat.readLine().simplified().split(' ');
    return fields.value(8).toLongLong() * 1000.0 / sysconf(_SC_CLK_TCK);
}

bool ResetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

double Median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

int LinesContaining(const QString &path, const QByteArray &text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return int(file.readAll().count(text));
}

bool SignIn(AlbivexApp &app, const QString &root)
{
    QNetworkRequest request(
        QUrl(root + QStringLiteral("/cgi-bin/login?u=") + SignInUin + QStringLiteral("&p=secret")));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    QNetworkReply *reply = app.network().get(request);
    WaitUntil([reply] { return reply->isFinished(); }, 20000);
    reply->deleteLater();
    for (const QNetworkCookie &cookie :
         app.network().cookieJar()->cookiesForUrl(QUrl(root + QLatin1Char('/')))) {
        if (cookie.name() == "skey") {
            QzoneCredentials &account = app.state().credentials;
            account.uin = SignInUin;
            account.setKeys(QString::fromLatin1(cookie.value()), QString());
            account.signedIn = 1;
            return true;
        }
    }
    return false;
}

bool OpenSpace(AlbivexApp &app, const QString &root, const QString &saveFolder)
{
    MainWindow &window = app.window();
    window.qualityCombo->addItems({QStringLiteral("普通"), QStringLiteral("高清")});
    window.qualityCombo->setCurrentIndex(1);
    window.saveFolderEdit->setText(saveFolder);
    window.listOwnAlbumsButton->setEnabled(true);
    window.show();
    if (!SignIn(app, root))
        return false;
    window.listOwnAlbumsButton->click();
    return WaitUntil([&] { return app.log().lines().join('\n').contains(QStringLiteral("相册获取完毕..")); },
                     60000);
}

int ServedThrottledKinds(const QString &requestLog)
{
    QFile log(requestLog);
    if (!log.open(QIODevice::ReadOnly))
        return -1;
    int served = 0;
    for (const QByteArray &line : log.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line);
        if (!text.contains(QStringLiteral(" fault="))
            && standin::ServiceRoutes::isBudgeted(
                text.section(QLatin1Char(' '), 1, 1).section(QLatin1Char('?'), 0, 0)))
            ++served;
    }
    return served;
}

double ThrottleFloorMs(int served, int count, int seconds, int files, int latencyMs)
{
    const int windows = served / count;
    return windows * seconds * 1000.0 + files * double(latencyMs) / 4;
}

} // namespace albivex::bench
