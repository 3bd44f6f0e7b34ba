#include "StandinProcess.h"

#include <QElapsedTimer>
#include <QRegularExpression>

#include <csignal>
#include <sys/prctl.h>

namespace albivex::bench {

bool StandinProcess::start(const QStringList &arguments, int extraAlbums)
{
    m_process.setProgram(QStringLiteral(ALBIVEX_STANDIN_PROGRAM));
    // Gone with the bench even when the bench crashes: a stand-in left behind keeps the
    // port and the output pipe of whoever ran the bench.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    m_process.setArguments(arguments);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start();
    if (!m_process.waitForStarted(10000))
        return false;
    const QRegularExpression listening(QStringLiteral("^listening on (\\S+)"));
    const QRegularExpression extra(QStringLiteral("^extra album (\\S+)"));
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000 && (root.isEmpty() || extraIds.size() < extraAlbums)) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(1000))
            continue;
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (const auto match = listening.match(line); match.hasMatch())
                root = match.captured(1);
            else if (const auto match = extra.match(line); match.hasMatch())
                extraIds << match.captured(1);
        }
    }
    return !root.isEmpty() && extraIds.size() == extraAlbums;
}

StandinProcess::~StandinProcess()
{
    m_process.kill();
    m_process.waitForFinished(5000);
}

} // namespace albivex::bench
