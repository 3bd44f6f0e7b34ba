#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace albivex::bench {

// The stand-in services as a separate process, killed with this object (and with the
// benchmark, should it crash).
class StandinProcess
{
public:
    // Starts the stand-in with the arguments and waits for its address and the ids of
    // `extraAlbums` extra albums; false when they do not come.
    bool start(const QStringList &arguments, int extraAlbums = 0);
    ~StandinProcess();

    QString root; // http://127.0.0.1:PORT
    QStringList extraIds; // the extra albums, in the order printed

private:
    QProcess m_process;
};

} // namespace albivex::bench
