#pragma once

#include "qzone/AnswerVerdict.h"
#include "qzone/FloatviewPhoto.h"
#include "qzone/FloatviewRequest.h"
#include "qzone/ListFetch.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>

class QNetworkAccessManager;

namespace albivex {

class Endpoints;
struct WindowState;

// What floatview says of the pictures of one album (originals of other spaces, the
// videos' files), asked for a page at a time and kept by picture key.
//
// lookUp(picKey) asks for the page from that picture on (FloatviewRequest::MaxPhotos
// at most): the caller walks the album in list order and asks for the first picture
// that is not covered() yet, so an album of n pictures costs n / 100 requests. One
// page travels at a time; a busy answer is asked again (ListFetch). A failed or busy
// answer covers the picture asked for with nothing known of it: find() gives nullptr,
// and the caller goes on without floatview for it.
//
// Owned by its parent; cancel() (or deleting it) drops the request in flight.
class FloatviewLookup : public QObject
{
    Q_OBJECT
public:
    // `album`: the request of the album (numbers, token, album id); its picKey is set
    // for each page.
    FloatviewLookup(QNetworkAccessManager &nam, const Endpoints &endpoints, const FloatviewRequest &album,
                    const BusyRetryOptions &busyRetry, QObject *parent);

    // Asks for the page from `picKey` on, unless a page is in flight (false then) or
    // the picture is covered already.
    bool lookUp(const QString &picKey);
    bool isBusy() const { return !m_inFlight.isNull(); }
    // Whether an answered page covered the picture (found in it, or asked and failed).
    bool covered(const QString &picKey) const { return m_covered.contains(picKey); }
    // What floatview said of the picture; nullptr when no answer held it.
    const FloatviewPhoto *find(const QString &picKey) const;
    // What the last answer said of the session (Expired when the sign-in has ended).
    AnswerState ending() const { return m_ending; }
    void cancel();
    // With it, a busy answer covers nothing: the caller asks again once it has waited
    // the service out.
    void setBusyLeavesUncovered(bool uncovered) { m_busyLeavesUncovered = uncovered; }

Q_SIGNALS:
    // A page has been answered (or failed): the pictures it covers are known.
    void pageDone();

private:
    void onAnswer(const QString &picKey, const ListAnswer &answer);

    QNetworkAccessManager &m_nam;
    const Endpoints &m_endpoints;
    const FloatviewRequest m_album;
    const BusyRetryOptions m_busyRetry;
    QPointer<ListFetch> m_inFlight;
    QHash<QString, FloatviewPhoto> m_photos;
    QSet<QString> m_covered;
    AnswerState m_ending = AnswerState::Ok;
    bool m_busyLeavesUncovered = false;
};

// The floatview request of an album of the album list, for the signed-in account and
// the space the list shows.
FloatviewRequest AlbumFloatview(const WindowState &state, const QString &albumId);

} // namespace albivex
