#include "standin/StandinServer.h"

#include "standin/AnswerWriter.h"
#include "standin/PreciseDelay.h"
#include "standin/WebPages.h"

#include <QHttpServerRequest>
#include <QTcpSocket>

namespace albivex::standin {

StandinServer::StandinServer(std::shared_ptr<StandinKnobs> knobs, QObject *parent)
    : QAbstractHttpServer(parent)
    , m_knobs(knobs ? std::move(knobs) : std::make_shared<StandinKnobs>())
    , m_routes(*m_knobs)
{ }

StandinServer::~StandinServer() = default;

bool StandinServer::listen(quint16 port)
{
    m_port = QAbstractHttpServer::listen(QHostAddress::LocalHost, port);
    return m_port != 0;
}

QString StandinServer::root() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

bool StandinServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const auto arrival = PreciseDelay::Clock::now();
    RequestView view = RequestView::from(request, root());
    view.logged.arrivalMs = m_knobs->clockMs();
    // A request over the budget is refused before any fault rule sees it.
    const bool budgeted = ServiceRoutes::isBudgeted(view.path());
    const bool refused = budgeted && !m_knobs->rate().take();
    // Only requests the budget let through count toward the throttle's window.
    const bool throttled = budgeted && !refused && !m_knobs->throttle().take();
    const FaultDecision decision
        = refused || throttled ? FaultDecision() : m_knobs->faults().take(view.path());
    if (decision.rule)
        view.logged.fault = FaultRule::kindName(decision.rule->kind);
    if (refused)
        view.logged.fault = QStringLiteral("rate");
    if (throttled)
        view.logged.fault = QStringLiteral("throttle");
    m_knobs->log().append(view.logged);

    const bool headOnly = view.method() == QLatin1String("HEAD");
    const bool close = view.logged.header("Connection").toLower() == "close";
    AnswerWriter::Mode mode = AnswerWriter::Mode::Normal;
    HttpAnswer answer;
    bool silent = false; // no answer at all
    bool hangUp = false; // close without an answer
    if (refused) {
        answer = m_routes.overBudget(view);
    } else if (throttled) {
        answer = m_routes.throttled(view, m_knobs->throttle().secondsLeft());
    } else if (!decision.rule) {
        answer = m_routes.answer(view);
    } else {
        const FaultRule &rule = *decision.rule;
        switch (rule.kind) {
        case FaultKind::Status:
            answer = HttpAnswer::make(
                rule.status, rule.body.isEmpty() ? QByteArray() : "text/html; charset=utf-8", rule.body);
            if (rule.retryAfterSeconds >= 0)
                answer.headers.append(
                    {QByteArrayLiteral("Retry-After"), QByteArray::number(rule.retryAfterSeconds)});
            if (!rule.location.isEmpty())
                answer.headers.append({QByteArrayLiteral("Location"), rule.location});
            break;
        case FaultKind::HtmlAsPicture:
            answer = HttpAnswer::make(200, "text/html; charset=utf-8", WebPages::errorPage().toUtf8());
            break;
        case FaultKind::EmptyBody:
            answer = m_routes.answer(view);
            answer.body.clear();
            answer.stream.reset();
            break;
        case FaultKind::CutBody:
        case FaultKind::ChunkedCut:
        case FaultKind::LongBody:
        case FaultKind::StallAfterHeaders:
            answer = m_routes.answer(view);
            mode = rule.kind == FaultKind::CutBody   ? AnswerWriter::Mode::CutHalf
                : rule.kind == FaultKind::ChunkedCut ? AnswerWriter::Mode::ChunkedCut
                : rule.kind == FaultKind::LongBody   ? AnswerWriter::Mode::LongBody
                                                     : AnswerWriter::Mode::StallAfterHeaders;
            break;
        case FaultKind::StallBeforeAnswer:
            silent = true;
            break;
        case FaultKind::Close:
            hangUp = true;
            break;
        default:
            answer = m_routes.hostileAnswer(view, rule);
            break;
        }
    }
    if (silent)
        return true;

    // Always through the event loop, even without delay: the socket must not close
    // while Qt is still handling the request on it. The latency is the network's: it
    // counts from the request's arrival, while the answer is made, as it would on a
    // server that answers several clients at once.
    if (!m_delay)
        m_delay = new PreciseDelay(this); // on the server's thread, whose loop runs it
    const auto deadline = arrival + std::chrono::milliseconds(m_knobs->latencyMs() + decision.delayMs);
    // Not called once the socket is gone.
    m_delay->at(deadline, socket,
                [socket, answer = std::move(answer), mode, headOnly, close, hangUp]() mutable {
                    if (hangUp)
                        socket->disconnectFromHost();
                    else
                        AnswerWriter::send(socket, std::move(answer), mode, headOnly, close);
                });
    return true;
}

void StandinServer::missingHandler(const QHttpServerRequest &, QTcpSocket *)
{
    // Every request is answered by handleRequest.
}

} // namespace albivex::standin
