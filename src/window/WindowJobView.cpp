#include "window/WindowJobView.h"

#include "session/WindowState.h"
#include "window/ActivityLog.h"
#include "window/MainWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeView>

namespace albivex {

int WindowJobView::selectedAlbumRow() const
{
    return m_window.selectedAlbumRow();
}

QString WindowJobView::saveFolder() const
{
    return m_window.saveFolder();
}

NamingMode WindowJobView::namingMode() const
{
    return m_window.namingMode();
}

PictureQuality WindowJobView::quality() const
{
    return QualityOfBoxIndex(m_window.qualityCombo->currentIndex());
}

bool WindowJobView::onlyNew() const
{
    return m_resuming || m_window.onlyNewCheck->isChecked();
}

bool WindowJobView::writeMetadata() const
{
    return m_window.writeMetadataCheck->isChecked();
}

void WindowJobView::setStatusText(const QString &text)
{
    m_window.setStatusText(text);
}

void WindowJobView::addLogLines(const QStringList &messages)
{
    // A long run reports faster than anyone can read.
    m_log.addPaced(messages);
}

void WindowJobView::addLogLinesNow(const QStringList &messages)
{
    m_log.add(messages);
}

void WindowJobView::setJobControlsEnabled(bool enabled)
{
    MainWindow &w = m_window;
    for (QWidget *control : std::initializer_list<QWidget *> {
             w.signInButton, w.listOwnAlbumsButton, w.listOtherAlbumsButton, w.chooseFolderButton,
             w.qualityCombo, w.checkAllButton, w.uncheckAllButton})
        control->setEnabled(enabled);
    // The buttons of a space's parts and of the whole space also want a listed space.
    for (QPushButton *part : {w.downloadMoodsButton, w.downloadBoardButton, w.backupSpaceButton})
        part->setEnabled(enabled && !m_state.listedOwnerUin.isEmpty());
}

void WindowJobView::setAlbumListEnabled(bool enabled)
{
    m_window.albumView->setEnabled(enabled);
}

void WindowJobView::setProgressRange(int minimum, int maximum)
{
    m_window.setProgressRange(minimum, maximum);
}

void WindowJobView::setProgressValue(int value)
{
    m_window.setProgressValue(value);
}

} // namespace albivex
