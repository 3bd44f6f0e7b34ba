#pragma once

#include "gallery/GalleryBuild.h"

#include <QObject>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace albivex {

// Builds a space's offline album (BuildGallery) on a worker thread of its own, so the
// window's thread never waits on thumbnails or pages. One build at a time: a start
// while one runs is remembered (the latest space wins) and begins when it ends. stop()
// ends the running build before its next picture and forgets the remembered one.
// Destroying the job stops the build and waits for the picture in hand.
class GalleryJob : public QObject
{
    Q_OBJECT
public:
    explicit GalleryJob(QObject *parent = nullptr);
    ~GalleryJob() override;

    // Builds the offline album of `spaceFolder` (save folder / QQ number); an empty
    // folder is ignored.
    void start(const QString &spaceFolder);
    void stop();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // A build has ended, whole or stopped; sent on the job's thread.
    void finished(const albivex::GalleryBuildResult &result);

private:
    void run(const QString &spaceFolder);
    void onBuilt(const GalleryBuildResult &result);

    QThreadPool m_pool;
    QThreadPool m_thumbnailPool; // as many threads as processors
    std::shared_ptr<std::atomic_bool> m_stop;
    bool m_running = false;
    QString m_pending;
};

} // namespace albivex
