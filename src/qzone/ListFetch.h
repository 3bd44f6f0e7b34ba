#pragma once

#include "qzone/AnswerVerdict.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;

namespace albivex {

class TextRequest;
struct TextAnswer;

// How a busy list service is met: the pauses before each further try, in order.
struct BusyRetryOptions
{
    QList<int> waitsMs {2000, 4000, 8000};
};

// A list answer once no further try will come.
struct ListAnswer
{
    QString text; // empty for a transport failure
    AnswerVerdict verdict;
    // The answer said code 0 but listed nothing where its own count says there is
    // more (the service sheds load that way); verdict.state is then Busy.
    bool throttledEmpty = false;
};

// Whether an answer of code 0 is a throttled empty list: it lists nothing although
// the count it (or the listing so far) gives says items remain.
using ThrottledEmptyCheck = std::function<bool(QStringView answer)>;

// One GET of a list service (album or photo list). An answer read as Busy, or as a
// throttled empty list by the check given, is asked for again after each of the retry
// waits in turn (timers, the window stays live); the last answer is reported whatever
// it says. Owned by its parent; deletes itself after finished() or cancel().
class ListFetch : public QObject
{
    Q_OBJECT
public:
    ListFetch(QNetworkAccessManager &nam, const QUrl &url, const BusyRetryOptions &retry, QObject *parent,
              ThrottledEmptyCheck throttledEmpty = {});

    // Sends the first request. Call once.
    void start();
    // Ends at once: the request in flight or the pause is dropped, no signal follows.
    void cancel();

Q_SIGNALS:
    // Exactly once, unless cancelled.
    void finished(const albivex::ListAnswer &answer);

private:
    void send();
    void onAnswer(const TextAnswer &answer);

    QNetworkAccessManager &m_nam;
    const QUrl m_url;
    const BusyRetryOptions m_retry;
    const ThrottledEmptyCheck m_throttledEmpty;
    QPointer<TextRequest> m_inFlight;
    QTimer m_pause;
    int m_retries = 0;
    bool m_done = false;
};

// Starts a ListFetch; `done` runs once on the context's thread with the last answer.
ListFetch *FetchList(QNetworkAccessManager &nam, const QUrl &url, const BusyRetryOptions &retry,
                     QObject *context, std::function<void(const ListAnswer &)> done,
                     ThrottledEmptyCheck throttledEmpty = {});

} // namespace albivex
