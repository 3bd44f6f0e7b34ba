#pragma once

#include "albumdl/PictureSource.h"
#include "qzone/PhotoEntry.h"
#include "storage/AlbumDocumentUpdate.h"
#include "storage/PictureTransfer.h"
#include "storage/UniqueFileNames.h"

#include <QFuture>
#include <QList>
#include <QObject>
#include <QSet>

#include <memory>
#include <optional>
#include <vector>

class QNetworkAccessManager;

namespace albivex {

class AlbumBookkeeping;
class AlbumJobView;
class AlbumListModel;
class AlbumRecord;
class FloatviewLookup;
class ServicePause;
struct WindowState;

// Saves the listed pictures of one album row, each to the path the save layout gives
// it, and reports them.
//
// What is fetched for a picture is ChoosePictureSource's decision for the quality:
// the listed picture (".jpg"), its original (named by its content's format) or, for a
// video, its file (".mp4", asked with the owner's Referer, checked as a video). A
// picture whose decision needs floatview waits, with the pictures after it, for the
// page of floatview that covers it (one request for up to a hundred pictures); the
// first picture that falls back from the original to the listed picture adds one log
// line for the album.
//
// The album folder's record (AlbumRecord) is read on a worker thread, from start() or
// from while the owner listed the album (setRecordRead), and the first picture starts
// once it is: with onlyNew() a picture
// it holds as saved whole is not fetched and counts as already there; every picture
// saved whole is recorded as it completes (a line of the record's journal), and the
// record is written whole at the end, with album.json, on a worker thread.
//
// File names never collide within a run (UniqueFileNames): the names the record holds
// are reserved first, a picture the record knows keeps its recorded name, and a later
// picture whose name was already given gets " (2)", " (3)"... in list order, so the
// same album saved again maps every picture to the same file.
//
// Transfers run several at once, started in list order, as many as the service takes:
// MaxInFlight at first, half as many (down to one) each time the service turns a
// picture away (a 429 or 5xx answer, or a placeholder in its place), and one more
// after every CleanToGrow transfers it did not turn away, up to MaxInFlight again. A
// picture turned away keeps its place among those in flight, waits (the answer's
// Retry-After, else a short pause that grows) and is asked again before it counts as
// failed: up to BusyRetries times after a 429 or a placeholder, which say the service
// is limiting the tool; after a 5xx, which a broken picture gives as well, within the
// transfer's own number of attempts. A picture that has arrived whole no longer
// counts while it is put in place on the disk (at most MaxPuttingInPlace at once), so
// the network does not wait for the disk.
//
// What the user sees stays in list order all the same: picture i's status text,
// progress text of the album row, progress bar value and log line appear only once
// pictures 1 to i are done. Before a transfer starts, albumJobRunning is read; once it
// is found cleared, no further transfer starts, the ones in flight finish and are
// reported, and stopped() follows. The save folder, naming mode and quality are read
// afresh for every picture as it starts.
//
// With "写入照片信息" every picture saved gets the listing's words in its metadata
// (PictureWordsOf); the pictures that could not take them are counted in one log line
// for the album. At the end and on a stop, the album folder's record is written whole
// and its album.json brought up to date (UpdateAlbumDocument) with the album and the
// pictures saved whole: handed to the bookkeeping as finished() or stopped() is sent,
// which does not wait for it (AlbumBookkeeping::whenSettled does).
//
// With a ServicePause (the album job's), the service limiting the tool pauses the walk
// instead of failing pictures: a picture whose busy answers outlast its retries is
// held, and the pause begun, when the answer was a 429 or when other pictures were
// turned away too since the last one the service took; a 5xx of one picture while the
// others are saved is a broken picture and fails as without the pause, and so does a
// placeholder. A floatview page that stays busy is asked again after the pause rather
// than gone without. While paused no transfer or floatview request starts; at the
// pause's end the held pictures are asked again, with their retries afresh. Every
// answer is noted with the pause, and floatview requests keep its gap.
//
// A picture counts as saved only when its transfer saved it whole. A picture without
// an address, and a video not transcoded yet, is not fetched at all and counts as
// failed.
//
// Owned by its parent; the owner deletes it after finished() or stopped().
class AlbumWalk : public QObject
{
    Q_OBJECT
public:
    // Enough to hide the service's latency behind the transfers; the service limits
    // clients that ask for much more at once.
    static constexpr int MaxInFlight = 4;
    // What Fixed pacing keeps to.
    static constexpr int FixedInFlight = MaxInFlight;
    static constexpr int MaxPuttingInPlace = 2 * MaxInFlight;
    static constexpr int CleanToGrow = 20;
    // More than the transfer's own attempts: under a request budget a picture may be
    // turned away in several windows in a row.
    static constexpr int BusyRetries = 5;
    // Most pictures started or reported in one turn of the event loop: a listing of
    // tens of thousands of pictures without addresses (all failed at once) must not
    // hold the window while they are reported.
    static constexpr int MaxPicturesPerTurn = 100;
    // Of the pictures reported in one turn, how many show their progress one by one.
    static constexpr int MaxProgressStepsPerTurn = 8;

    // Fixed keeps FixedInFlight throughout, whatever the service answers: a measuring
    // switch for benchmarks and tests.
    enum class Pacing { Adaptive, Fixed };

    struct Tally
    {
        int saved = 0;
        int skipped = 0; // already saved whole by an earlier run (onlyNew)
        int failed = 0;
    };

    AlbumWalk(QNetworkAccessManager &nam, const WindowState &state, AlbumListModel &albums,
              AlbumJobView &view, int albumRow, QList<PhotoEntry> pictures,
              const PictureTransfer::Options &options, QObject *parent);

    ~AlbumWalk() override;

    // Before start().
    void setPacing(Pacing pacing)
    {
        m_pacing = pacing;
        m_limit = pacing == Pacing::Fixed ? FixedInFlight : MaxInFlight;
    }
    // Where videos and other spaces' originals are looked up; without it such pictures
    // are saved as if floatview knew nothing of them. The walk takes the lookup over.
    void setFloatview(FloatviewLookup *lookup);
    // Before start(); the pause is shared with the job and outlives the walk.
    void setServicePause(ServicePause *pause);
    // Before start(): where the album's end is written, shared with the job, which
    // outlives the walk. Without it the walk keeps one of its own.
    void setBookkeeping(AlbumBookkeeping *bookkeeping) { m_bookkeeping = bookkeeping; }
    // A stop during the pause: the held pictures are let go, neither saved nor failed
    // (nor reported), and the walk ends on its stop path once what is in flight is done.
    void dropHeld();
    // Sets the progress bar's range, reads the record and then starts the first
    // transfers. With no picture, finished() is sent before this returns.
    void start();

    // The read start() waits for: the leftovers of a killed run removed from the album
    // folder and its record read, begun now on a worker thread.
    using RecordRead = QFuture<std::shared_ptr<AlbumRecord>>;
    static RecordRead readRecord(const QString &folder, int transferIdleMs);
    // Before start(): that read, begun by the owner for `folder` while it listed the
    // album, so the first picture need not wait for it; taken only when `folder` is
    // where start() finds the album.
    void setRecordRead(const QString &folder, RecordRead read);

    const Tally &tally() const { return m_tally; }
    // The log lines of the pictures reported failed, "[name]" and why.
    const QStringList &failures() const { return m_failures; }
    // Floatview said the sign-in has ended; the walk stopped for it.
    bool sessionEnded() const { return m_sessionEnded; }

Q_SIGNALS:
    // `count` more pictures have been reported, `onDisk` of them saved or kept from before.
    void picturesReported(int count, int onDisk);
    // Every picture has been reported, and the album's end handed to the bookkeeping.
    void finished();
    // A stop was noticed before some picture; every picture started before it has
    // been reported, and the album's end handed to the bookkeeping.
    void stopped();

private:
    // One picture's transfer, as asked again after the service turned it away.
    struct Flight
    {
        int index = 0;
        QString key; // the record's (PictureRecordKey)
        bool fellBack = false;
        bool original = false; // the original upload is asked for
        QString address;
        QString folder;
        QString path;
        PictureTransfer::Options options;
        int busyRetries = 0; // times it was asked again so far
    };

    // How a picture ended, as reported.
    struct Ended
    {
        enum class Note { None, AlreadySaved, NotTranscoded };
        TransferOutcome outcome = TransferOutcome::Saved;
        Note note = Note::None;
        bool fellBack = false; // the listed picture in place of a missing original
    };

    void startMore();
    // False when the picture must wait for floatview.
    bool startPicture(int index);
    // The picture's file name without extension: its recorded one, else a fresh one.
    QString stemFor(int index, const QString &key, int extensionBytes);
    void send(const Flight &flight);
    void onTransferDone(Flight flight, const TransferResult &result);
    // How often a picture turned away so may be asked again in all.
    int retriesAfter(const TransferResult &result) const;
    // The service turned a picture away / took one: fewer or more transfers at once.
    void slowDown();
    void speedUp();
    void scheduleMore();
    // startMore() again once the gap between floatview requests has passed.
    void scheduleMoreIn(int ms);
    // Whether a picture turned away past its retries says the service limits the tool.
    bool limitsTheTool(const TransferResult &result) const;
    void onResumed();
    void reportDone();
    // Counts picture `index` as reported and returns its log lines.
    QStringList report(int index, const Ended &ended);
    // The status text, the album's download state and the progress bar at `number`
    // pictures reported.
    void showProgress(int number);
    void endIfDone();
    // Hands album.json and the record to the bookkeeping, then sends finished() or
    // stopped().
    void end(bool stopped);

    QNetworkAccessManager &m_nam;
    const WindowState &m_state;
    AlbumListModel &m_albums;
    AlbumJobView &m_view;
    const int m_row;
    QList<PhotoEntry> m_pictures; // let go at the end, on a worker thread
    const PictureTransfer::Options m_options;

    std::shared_ptr<AlbumRecord> m_record; // once read, on a worker thread
    QString m_recordFolder;
    QString m_readFolder; // of m_recordRead
    RecordRead m_recordRead;
    UniqueFileNames m_names;
    FloatviewLookup *m_floatview = nullptr;
    ServicePause *m_pause = nullptr;
    AlbumBookkeeping *m_bookkeeping = nullptr;
    QList<Flight> m_held; // turned away past their retries, asked again after the pause
    QSet<int> m_busyRun; // pictures turned away since the service last took one
    bool m_gapWaiting = false;
    std::vector<std::optional<Ended>> m_outcomes; // per picture, once it ended
    int m_next = 0; // pictures started
    int m_reported = 0; // pictures shown to the user
    int m_inFlight = 0; // pictures started and not ended, waiting ones included
    int m_onNetwork = 0; // of them, those not arrived whole yet
    QSet<int> m_puttingInPlace; // pictures arrived whole and not ended yet
    Pacing m_pacing = Pacing::Adaptive;
    int m_limit = MaxInFlight; // how many may be on the network now
    int m_clean = 0; // transfers not turned away since the limit last changed
    QList<ListedSave> m_saved; // this run's pictures saved whole into the album's folder
    int m_wordsRefused = 0; // pictures saved without the words they were to take
    bool m_fallBackLogged = false;
    bool m_stopping = false;
    bool m_sessionEnded = false;
    bool m_moreScheduled = false;
    bool m_ended = false;
    Tally m_tally;
    QStringList m_failures;
};

} // namespace albivex
