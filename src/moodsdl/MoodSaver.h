#pragma once

#include "moodsdl/MoodMedia.h"
#include "qzone/MoodPost.h"
#include "storage/PictureTransfer.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace albivex {

class AlbumRecord;
class ServicePause;

// Saves the pictures and videos of 说说 posts into the posts' folder, a few at once,
// and tells when each post's files have all ended. The 留言板's pictures are saved by
// it too, a message standing for a post (addFiles).
//
// Every file is checked as an album's pictures are (PictureTransfer: whole, not the
// "图片不存在" placeholder, named by its content), takes the post's time as its file
// time and, when writeMetadata() says so at its start, the post's text as its caption
// and the post's time as its shooting time where it has none. A file saved whole is
// recorded at once (AlbumRecord, a line of its journal), so a run killed after it does
// not fetch it again; with skipRecorded, a file the record holds whole is not fetched,
// nor one an earlier run found lost (the service's "图片不存在" for its address).
//
// A 429 pauses the run (the ServicePause shared with the job): the file is held and
// asked again, retries afresh, once the pause is over, and no transfer starts while it
// lasts. A 5xx is asked again twice before the file counts failed: one broken picture
// must not hold a night's run in pauses. stop() ends every transfer at once.
class MoodSaver : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxInFlight = 4;
    static constexpr int ServerErrorRetries = 2;

    // What became of one post's files.
    struct PostEnd
    {
        int saved = 0;
        int skipped = 0; // recorded whole before, not fetched
        int failed = 0;
        QStringList failures; // "[file]" + why, each
        QHash<QString, QString> files; // address -> file name, of the files now on disk
        // Addresses answered with the "图片不存在" picture, now or by an earlier run.
        QStringList lost;
    };

    MoodSaver(QNetworkAccessManager &nam, std::shared_ptr<AlbumRecord> record, const QString &folder,
              const PictureTransfer::Options &options, ServicePause *pause, QObject *parent);
    ~MoodSaver() override;

    void setSkipRecorded(bool skip) { m_skipRecorded = skip; }
    void setWriteMetadata(std::function<bool()> wanted) { m_writeMetadata = std::move(wanted); }

    // Whether every file of the post is recorded whole already, or among `lost`, the
    // addresses an earlier run found lost.
    bool holdsWhole(const MoodPost &post, const QStringList &lost) const;
    // Queues the post's files; postEnded(number) follows once all have ended (at once
    // for a post without any). With skipRecorded, the addresses of `lost` are not
    // asked again, and count neither saved nor failed.
    // Returns how many files are to be fetched.
    int add(int number, const MoodPost &post, const QStringList &lost = {});
    // The same for files listed by the caller, which carry `words` and `time`.
    int addFiles(int number, const QList<MoodMediaItem> &items, const PictureWords &words,
                 const QDateTime &time, const QStringList &lost = {});
    // Posts added whose files have not all ended.
    int openPosts() const { return int(m_posts.size()); }
    // Ends every transfer now and forgets what is queued; no signal follows. What each
    // open post saved so far is handed back.
    QHash<int, PostEnd> stop();
    // The pause is over: the held files are asked again.
    void resume();

Q_SIGNALS:
    void postEnded(int number, const albivex::MoodSaver::PostEnd &end);
    // A file was saved whole (for the progress).
    void fileSaved();

private:
    struct Job
    {
        int post = 0;
        MoodMediaItem item;
        PictureWords words;
        QDateTime time;
        int serverErrors = 0;
    };
    struct Open
    {
        int remaining = 0;
        PostEnd end;
    };

    void startMore();
    void send(const Job &job);
    void onDone(const Job &job, const TransferResult &result);
    void endItem(int post);

    QNetworkAccessManager &m_nam;
    std::shared_ptr<AlbumRecord> m_record;
    const QString m_folder;
    const PictureTransfer::Options m_options;
    ServicePause *m_pause;
    bool m_skipRecorded = false;
    bool m_folderMade = false;
    bool m_folderMaking = false;
    std::function<bool()> m_writeMetadata;
    QList<Job> m_queue;
    QList<Job> m_held; // turned away by a 429, asked again after the pause
    QHash<int, Open> m_posts;
    QList<QPointer<PictureTransfer>> m_inFlight;
};

} // namespace albivex
