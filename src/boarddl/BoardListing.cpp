#include "boarddl/BoardListing.h"

#include "qzone/BoardListParser.h"
#include "qzone/BoardRequest.h"

namespace albivex {

BoardListing::BoardListing(QNetworkAccessManager &nam, const Endpoints &endpoints, const QString &viewerUin,
                           const QString &hostUin, const QString &gTk, const BusyRetryOptions &retry,
                           ServicePause &pause, QObject *parent)
    : PartListing(nam, retry, pause, parent)
    , m_endpoints(endpoints)
    , m_viewerUin(viewerUin)
    , m_hostUin(hostUin)
    , m_gTk(gTk)
{ }

void BoardListing::fetch(int start)
{
    m_start = start;
    goOn();
}

void BoardListing::goOn()
{
    paced([this] { send(); });
}

void BoardListing::send()
{
    const int start = m_start;
    request(
        BoardUrl(m_endpoints, {m_viewerUin, m_hostUin, m_gTk, start, BoardPageSize}),
        [this](const ListAnswer &answer) {
            readPage<BoardListPage>(answer, &ParseBoardList, [this](BoardListPage page) {
                Q_EMIT pageReady(m_start, page.total, page.messages);
            });
        },
        // A page of code 0 that lists nothing short of the count sheds load.
        [start](QStringView text) {
            const BoardListPage page = ParseBoardList(text.toString());
            return page.code.value_or(0) == 0
                && MoodPageLooksBusy(start, page.total, int(page.messages.size()));
        });
}

} // namespace albivex
