#pragma once

#include "standin/ServiceRoutes.h"
#include "standin/StandinKnobs.h"

#include <QAbstractHttpServer>

#include <memory>

namespace albivex::standin {

class PreciseDelay;

// The stand-in for every remote service the tool talks to: one HTTP server on
// 127.0.0.1 that serves all paths at its root. Lives on the thread that created it;
// its knobs may be used from any thread.
class StandinServer : public QAbstractHttpServer
{
    Q_OBJECT
public:
    // Shares `knobs` when given (so a wrapper can hand them out before the server exists).
    explicit StandinServer(std::shared_ptr<StandinKnobs> knobs = {}, QObject *parent = nullptr);
    ~StandinServer() override;

    // Binds 127.0.0.1; port 0 picks a free port.
    bool listen(quint16 port = 0);
    quint16 port() const { return m_port; }
    QString root() const; // "http://127.0.0.1:PORT"

    StandinKnobs &knobs() { return *m_knobs; }
    QByteArray pictureBytes(const QString &path) const { return m_knobs->pictureBytes(path); }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    std::shared_ptr<StandinKnobs> m_knobs;
    ServiceRoutes m_routes;
    quint16 m_port = 0;
    PreciseDelay *m_delay = nullptr;
};

} // namespace albivex::standin
