#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

namespace albivex {

// How the album job waits out a service that limits it.
struct ServicePauseOptions
{
    // The pauses, one after another while the service stays busy; the last repeats.
    QList<int> scheduleMs {60000, 120000, 300000, 600000, 1800000};
    // Answers in a row that were not busy after which the schedule starts over and the
    // gap between list requests is dropped.
    int cleanToReset = 20;
    // The gap kept between list and floatview requests after a busy answer: it starts
    // here, doubles with every further busy answer, and stops growing at the maximum.
    int firstGapMs = 2000;
    int maxGapMs = 60000;

    // The schedule from a text of seconds separated by commas ("1,2,5", fractions
    // allowed); an empty list when the text is not one.
    static QList<int> parseSchedule(const QString &seconds);
};

// The album job's pause as a whole when the service limits the tool: while it lasts,
// no request of the job is sent, and when it ends the job goes on where it stopped.
//
// begin() starts a pause of the next length of the schedule, or of the service's
// Retry-After when that is longer; a begin() during a pause changes nothing. Every
// answer of the job's own requests is noted: busy ones make the gap between list
// requests begin (and busy list answers make it grow), and cleanToReset clean ones in
// a row start the schedule over and drop the gap. While paused, countdown() is sent at once and then every
// second with the time left; resumed() follows the pause's end, never a cancel().
class ServicePause : public QObject
{
    Q_OBJECT
public:
    explicit ServicePause(ServicePauseOptions options = {}, QObject *parent = nullptr);

    bool isPaused() const { return m_timer.isActive(); }
    // Begins a pause (see above); `retryAfterMs` below 0 when the service named none.
    void begin(int retryAfterMs = -1);
    // Ends a pause at once without resumed(): the job is stopping.
    void cancel();
    // Milliseconds left of the pause, 0 when none runs.
    int remainingMs() const;

    // An answer of one of the job's list or floatview requests: a busy one starts the
    // gap between them, or doubles it.
    void noteListAnswer(bool busy);
    // An answer of one of the job's picture transfers: a busy one starts the gap, but
    // does not make it grow. A throttle turns away dozens of pictures at once, and the
    // gap paces list requests, of which an album has a handful.
    void noteAnswer(bool busy);
    // How long the next list or floatview request must wait to keep the gap; 0 when
    // it may go now. noteListRequest() when one is sent.
    int listWaitMs() const;
    void noteListRequest();

Q_SIGNALS:
    void began(int pauseMs);
    void countdown(int remainingMs);
    void resumed();

private:
    void onTick();
    void noteClean();

    const ServicePauseOptions m_options;
    QTimer m_timer; // the pause itself
    QTimer m_ticks; // the countdown
    int m_next = 0; // index in the schedule of the next pause
    int m_clean = 0; // clean answers in a row
    int m_gapMs = 0;
    QElapsedTimer m_sinceListRequest;
};

// The log line when a pause begins: "服务繁忙，暂停下载M分S秒，HH:mm:ss继续..", whole
// seconds rounded up, the time of day when it ends.
QString PauseBeganText(int pauseMs);

// The status text during a pause: "服务繁忙，M分S秒后继续..", whole seconds rounded up.
QString PauseCountdownText(int remainingMs);

} // namespace albivex
