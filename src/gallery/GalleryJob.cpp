#include "gallery/GalleryJob.h"

#include <QMetaObject>

namespace albivex {

GalleryJob::GalleryJob(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

GalleryJob::~GalleryJob()
{
    // The worker reports into this object: it must be done before the object goes.
    stop();
    m_pool.waitForDone();
    m_thumbnailPool.waitForDone();
}

void GalleryJob::start(const QString &spaceFolder)
{
    if (spaceFolder.isEmpty())
        return;
    if (m_running) {
        m_pending = spaceFolder;
        return;
    }
    run(spaceFolder);
}

void GalleryJob::stop()
{
    m_pending.clear();
    if (m_stop)
        *m_stop = true;
}

void GalleryJob::run(const QString &spaceFolder)
{
    m_running = true;
    m_stop = std::make_shared<std::atomic_bool>(false);
    m_pool.start([this, spaceFolder, stop = m_stop] {
        GalleryBuildResult result = BuildGallery(spaceFolder, *stop, &m_thumbnailPool);
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { onBuilt(result); }, Qt::QueuedConnection);
    });
}

void GalleryJob::onBuilt(const GalleryBuildResult &result)
{
    m_running = false;
    m_stop.reset();
    Q_EMIT finished(result);
    if (!m_pending.isEmpty()) {
        const QString next = m_pending;
        m_pending.clear();
        run(next);
    }
}

} // namespace albivex
