#include "gallery/ui/GalleryController.h"

#include "gallery/GalleryBuild.h"
#include "gallery/GalleryJob.h"
#include "gallery/GalleryLayout.h"
#include "session/UrlOpener.h"
#include "session/WindowState.h"
#include "window/ActivityLog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace albivex {

GalleryController::GalleryController(QPushButton &openButton, QLineEdit &folderEdit, const WindowState &state,
                                     GalleryJob &job, ActivityLog &log, UrlOpener &urls)
    : m_openButton(openButton), m_folderEdit(folderEdit), m_state(state), m_job(job), m_log(log), m_urls(urls)
{
    connect(&m_openButton, &QPushButton::clicked, this, &GalleryController::open);
    connect(&m_folderEdit, &QLineEdit::textChanged, this, &GalleryController::refresh);
    connect(&m_job, &GalleryJob::finished, this, &GalleryController::onBuilt);
    refresh();
}

QString GalleryController::currentSpacePage() const
{
    const QString space = SpaceFolderPath(m_folderEdit.text(), m_state.listedOwnerUin);
    return space.isEmpty() ? QString() : space + QLatin1Char('/') + GalleryPageName();
}

void GalleryController::refresh()
{
    const QString page = currentSpacePage();
    m_openButton.setEnabled(!page.isEmpty() && QFileInfo(page).isFile());
}

void GalleryController::buildCurrentSpace()
{
    m_job.start(SpaceFolderPath(m_folderEdit.text(), m_state.listedOwnerUin));
}

void GalleryController::open()
{
    const QString page = currentSpacePage();
    if (!page.isEmpty() && QFileInfo(page).isFile())
        m_urls.open(QUrl::fromLocalFile(QFileInfo(page).absoluteFilePath()));
    else
        refresh();
}

void GalleryController::onBuilt(const GalleryBuildResult &result)
{
    // Quiet when all went well: the build follows every run, and the run's summary
    // stays the log's last word.
    // One line however many failed: a full disk would otherwise flood the log.
    if (!result.errors.isEmpty()) {
        m_log.add(QStringLiteral("离线相册有%1个文件写入失败: %2")
                      .arg(QString::number(result.errors.size()), result.errors.first()));
    }
    refresh();
}

} // namespace albivex
