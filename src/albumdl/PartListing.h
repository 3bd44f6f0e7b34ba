#pragma once

#include "network/ParseInBackground.h"
#include "qzone/ListFetch.h"
#include "qzone/MoodVerdict.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QUrl;

namespace albivex {

class ListPacer;
class ServicePause;

// What the list of one part of a space (its 说说, its 留言板) does as every such list:
// each request waits for the run's pace (ListPacer) and notes its answer in the run's
// ServicePause; a busy answer is asked again (BusyRetryOptions) before it is handed back
// as turnedAway(), and goOn() asks again once the pause is over; a busy answer to a
// request sent before a pause that has ended since is asked again at once, without a
// pause. A list page is read on a worker; a refusal, an ended sign-in or an answer that
// is no list are signalled. cancel() drops the request in flight and every late answer.
// Subclasses say what is asked and hand on the pages.
class PartListing : public QObject
{
    Q_OBJECT
public:
    // Asks again what turnedAway() said was turned away.
    virtual void goOn() = 0;
    // Drops the request in flight; no signal follows.
    void cancel();

Q_SIGNALS:
    void turnedAway(bool emptyPage);
    // The space does not let the viewer read this part; the service's words.
    void refused(const QString &message);
    void expired();
    // The page could not be had (no answer, or one that does not read).
    void failed();

protected:
    PartListing(QNetworkAccessManager &nam, const BusyRetryOptions &retry, ServicePause &pause,
                QObject *parent);

    // Runs `send` once the pause and the gap allow.
    void paced(std::function<void()> send);
    // Sends the request for `url` now; its answer goes to `done` unless cancel() came
    // first. `throttledEmpty` as FetchList takes it.
    void request(const QUrl &url, std::function<void(const ListAnswer &)> done,
                 ThrottledEmptyCheck throttledEmpty = {});
    // A busy answer (`emptyPage`: a page empty short of the count).
    void busy(bool emptyPage);
    // The answer to a list page: parsed on a worker by `parse` into a Page (with its
    // `code` and `message`), then handed to `read` on this thread when it is a page of
    // the list; every other answer is signalled or turned away.
    template<typename Page, typename Parse>
    void readPage(const ListAnswer &answer, Parse parse, std::function<void(Page)> read);

private:
    // What the answer's verdict alone decides; false when the text is to be read.
    bool settledBeforeReading(const ListAnswer &answer);
    // What the service's words in a read page decide; false when it is a page to hand on.
    bool settledByPage(const AnswerVerdict &verdict, const std::optional<int> &code, const QString &message);

    QNetworkAccessManager &m_nam;
    const BusyRetryOptions m_retry;
    ServicePause &m_pause;
    ListPacer *m_pacer;
    QPointer<ListFetch> m_inFlight;
    int m_generation = 0; // bumped by cancel(): late answers of earlier requests are dropped
};

template<typename Page, typename Parse>
void PartListing::readPage(const ListAnswer &answer, Parse parse, std::function<void(Page)> read)
{
    if (settledBeforeReading(answer))
        return;
    ParseInBackground<Page>(
        this, [text = answer.text, parse = std::move(parse)] { return parse(text); },
        [this, read = std::move(read), verdict = answer.verdict, generation = m_generation](Page page) {
            if (generation != m_generation || settledByPage(verdict, page.code, page.message))
                return;
            read(std::move(page));
        });
}

} // namespace albivex
