#include "photos/FloatviewLookup.h"

#include "qzone/FloatviewParser.h"
#include "session/WindowState.h"

namespace albivex {

FloatviewLookup::FloatviewLookup(QNetworkAccessManager &nam, const Endpoints &endpoints,
                                 const FloatviewRequest &album, const BusyRetryOptions &busyRetry,
                                 QObject *parent)
    : QObject(parent), m_nam(nam), m_endpoints(endpoints), m_album(album), m_busyRetry(busyRetry)
{ }

bool FloatviewLookup::lookUp(const QString &picKey)
{
    if (m_inFlight || m_covered.contains(picKey))
        return false;
    FloatviewRequest request = m_album;
    request.picKey = picKey;
    request.postNum = FloatviewRequest::MaxPhotos - 1;
    m_inFlight = FetchList(m_nam, FloatviewUrl(m_endpoints, request), m_busyRetry, this,
                           [this, picKey](const ListAnswer &answer) { onAnswer(picKey, answer); });
    return true;
}

const FloatviewPhoto *FloatviewLookup::find(const QString &picKey) const
{
    const auto found = m_photos.constFind(picKey);
    return found == m_photos.constEnd() ? nullptr : &found.value();
}

void FloatviewLookup::cancel()
{
    if (m_inFlight)
        m_inFlight->cancel();
    m_inFlight = nullptr;
}

void FloatviewLookup::onAnswer(const QString &picKey, const ListAnswer &answer)
{
    m_inFlight = nullptr;
    m_ending = answer.verdict.state;
    // An error answer holds no photo; only what an answer lists counts as known.
    if (m_ending == AnswerState::Ok) {
        const QList<FloatviewPhoto> photos = ParseFloatview(answer.text);
        for (const FloatviewPhoto &photo : photos) {
            if (photo.picKey.isEmpty())
                continue;
            m_photos.insert(photo.picKey, photo);
            m_covered.insert(photo.picKey);
        }
    }
    if (!(m_busyLeavesUncovered && m_ending == AnswerState::Busy))
        m_covered.insert(picKey);
    Q_EMIT pageDone();
}

FloatviewRequest AlbumFloatview(const WindowState &state, const QString &albumId)
{
    FloatviewRequest request;
    request.uin = state.credentials.uin;
    request.ownerUin = state.listedOwnerUin;
    request.gTk = state.credentials.tokenFor(Endpoint::Floatview);
    request.albumId = albumId;
    return request;
}

} // namespace albivex
