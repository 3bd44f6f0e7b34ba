#pragma once

#include "standin/DataSet.h"
#include "standin/FaultInjector.h"
#include "standin/PictureStore.h"
#include "standin/Profile.h"
#include "standin/RateBudget.h"
#include "standin/RequestLog.h"
#include "standin/SignInBook.h"
#include "standin/Throttle.h"

#include <QAtomicInt>
#include <QElapsedTimer>

namespace albivex::standin {

// Everything a test can steer or read on the stand-in. Every call is thread-safe, so a
// test may call it while the server runs on another thread.
class StandinKnobs
{
public:
    StandinKnobs();

    // Which way the services are played (Profile::Default unless set).
    void setProfile(Profile profile) { m_profile.storeRelaxed(int(profile)); }
    Profile profile() const { return Profile(m_profile.loadRelaxed()); }

    // Delay added before every answer.
    void setLatencyMs(int ms) { m_latencyMs.storeRelaxed(qMax(0, ms)); }
    int latencyMs() const { return m_latencyMs.loadRelaxed(); }

    // Content of /version/main.txt ("morvith:V1.0|" at start). Make it fail with a
    // fault rule: FaultRule::httpStatus("/version/main.txt", 404) (empty body) or
    // FaultRule::make("/version/main.txt", FaultKind::Close).
    void setVersionText(const QString &text);
    QString versionText() const;

    // A budget of N requests per one-second window over the album lists, photo lists,
    // floatview, pictures and videos; 0 (the default) for none. Beyond it lists answer
    // the busy code -10049 and pictures and videos 429 with Retry-After: 1.
    void setRate(int perSecond) { m_rate.setLimit(perSecond); }
    RateBudget &rate() { return m_rate; }
    // After every `count` requests served, every budgeted request is turned away
    // busy for `seconds` (Throttle.h); combines with the rate budget.
    void setThrottle(int count, int seconds) { m_throttle.set(count, seconds); }
    Throttle &throttle() { return m_throttle; }

    void addFault(const FaultRule &rule) { m_faults.add(rule); }
    void clearFaults() { m_faults.clear(); }

    // Adds an album to the main space; returns its id.
    QString addExtraAlbum(const ExtraAlbum &album) { return m_data.addExtraAlbum(album); }
    // Adds the album `repeat` times (ids in order), e.g. for a space of 100+ albums;
    // with more than one, the names are numbered ("基准相册1", "基准相册2"...).
    QStringList addExtraAlbums(const ExtraAlbum &album, int repeat)
    {
        QStringList ids;
        for (int i = 0; i < repeat; ++i) {
            // Albums added together are told apart by their names too, as their folders are.
            ExtraAlbum named = album;
            if (repeat > 1)
                named.name += QString::number(i + 1);
            ids.append(m_data.addExtraAlbum(named));
        }
        return ids;
    }
    void clearExtraAlbums() { m_data.clearExtraAlbums(); }
    // New pictures in an album of any space, at the front of its list or at the end;
    // returns their keys (lloc "<album>_<key>", addresses ".../<album>/<key>.jpg").
    // The existing pictures keep their keys, addresses and bytes.
    QList<int> addPictures(const QString &albumId, int count, bool atFront)
    {
        return m_data.addPictures(albumId, count, atFront);
    }

    // Appends `count` 说说 of `pictures` small pictures each to the main space, older than
    // every post before them ("基准说说1", ...); made from their index when asked for.
    void addExtraMoods(int count, int pictures) { m_data.moods().addExtra(count, pictures); }
    void clearExtraMoods() { m_data.moods().clearExtras(); }
    // `count` more plain 留言板 messages in the main space (every tenth with a picture).
    void addExtraBoard(int count) { m_data.board().addExtra(count); }
    void clearExtraBoard() { m_data.board().clearExtras(); }

    // Signs the number in as the sign-in page does, without a browser: the cookies to
    // put into a cookie jar, and the skey for the g_tk token.
    SignIn signIn(const QString &uin) { return m_signIns.issue(uin); }
    QStringList issuedSkeys(const QString &uin) const { return m_signIns.skeysOf(uin); }
    // The g_tk the album lists, photo lists and floatview accept from this sign-in in
    // the current profile: over its skey, today over the p_skey the landing page gave
    // it (empty while it has none). Tests sign with it rather than with the tool's code.
    QString tokenFor(const SignIn &signIn) const;
    // Every sign-in so far (through the page or signIn()), oldest first, with all the
    // cookie values it set, p_skey and qq_photo_key included once given: what a test
    // must never find in the tool's output.
    QList<SignIn> issuedSignIns() const { return m_signIns.all(); }

    // Every request in arrival order; each carries arrivalMs on clockMs().
    QList<LoggedRequest> requests() const { return m_log.all(); }
    QList<LoggedRequest> requestsTo(const QString &path) const { return m_log.to(path); }
    int requestCount(const QString &path) const { return m_log.count(path); }
    void clearRequests() { m_log.clear(); }
    bool setRequestLogFile(const QString &path) { return m_log.setFile(path); }

    // The exact bytes served at a picture path ("/photo/b/V1three/2.jpg"); empty when
    // it names no picture. For very large pictures use pictureSize / pictureDigest.
    QByteArray pictureBytes(const QString &path) const { return m_pictures.bytes(path); }
    qint64 pictureSize(const QString &path) const { return m_pictures.size(path); }
    QByteArray pictureDigest(const QString &path,
                             QCryptographicHash::Algorithm algorithm = QCryptographicHash::Sha256) const
    {
        return m_pictures.digest(path, algorithm);
    }

    // The GIF that stands in for a protected picture (today's profile, or the
    // placeholder fault): a real 100 x 100 GIF of about 2 KB.
    QByteArray placeholderBytes() const { return m_pictures.placeholder(); }
    // The GIF a lost 说说 picture answers with: 100 x 100, "图片不存在", a few hundred bytes.
    QByteArray missingPictureBytes() const { return m_pictures.missingPlaceholder(); }

    // Milliseconds since the stand-in was made, on a monotonic clock.
    qint64 clockMs() const { return m_clock.elapsed(); }

    // The parts, for the server.
    FaultInjector &faults() { return m_faults; }
    RequestLog &log() { return m_log; }
    SignInBook &signIns() { return m_signIns; }
    const DataSet &data() const { return m_data; }
    const PictureStore &pictures() const { return m_pictures; }

private:
    QElapsedTimer m_clock;
    QAtomicInt m_profile = int(Profile::Default);
    QAtomicInt m_latencyMs = 0;
    mutable QMutex m_mutex;
    QString m_versionText;
    FaultInjector m_faults;
    RequestLog m_log;
    RateBudget m_rate;
    Throttle m_throttle;
    SignInBook m_signIns;
    DataSet m_data;
    PictureStore m_pictures;
};

} // namespace albivex::standin
