#include "shell/ui/RememberedChoicesController.h"

#include "shell/RememberedChoices.h"
#include "storage/SaveFolder.h"
#include "window/ActivityLog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

namespace albivex {

RememberedChoicesController::RememberedChoicesController(ActivityLog &log, QWidget &window,
                                                         QLineEdit &saveFolderEdit, QComboBox &qualityCombo,
                                                         QButtonGroup &namingGroup,
                                                         QAbstractButton *onlyNewBox,
                                                         QAbstractButton *writeMetadataBox)
    : m_log(log)
    , m_window(window)
    , m_saveFolderEdit(saveFolderEdit)
    , m_qualityCombo(qualityCombo)
    , m_namingGroup(namingGroup)
    , m_onlyNewBox(onlyNewBox)
    , m_writeMetadataBox(writeMetadataBox)
{
    m_pendingWrite.setSingleShot(true);
    m_pendingWrite.setInterval(500);
    connect(&m_pendingWrite, &QTimer::timeout, this, &RememberedChoicesController::save);
}

RememberedChoicesController::~RememberedChoicesController()
{
    save();
}

void RememberedChoicesController::restoreFrom(const QString &file)
{
    if (file.isEmpty() || !m_file.isEmpty())
        return;
    apply(RememberedChoices::read(file));
    m_file = file;
    connect(&m_saveFolderEdit, &QLineEdit::textChanged, this, &RememberedChoicesController::changed);
    connect(&m_qualityCombo, &QComboBox::currentIndexChanged, this, &RememberedChoicesController::changed);
    connect(&m_namingGroup, &QButtonGroup::idToggled, this, &RememberedChoicesController::changed);
    for (QAbstractButton *box : {m_onlyNewBox, m_writeMetadataBox}) {
        if (box)
            connect(box, &QAbstractButton::toggled, this, &RememberedChoicesController::changed);
    }
    m_window.installEventFilter(this);
}

void RememberedChoicesController::apply(const RememberedChoices &choices)
{
    if (!choices.saveFolder.isEmpty()) {
        if (IsWritableFolder(choices.saveFolder))
            m_saveFolderEdit.setText(choices.saveFolder);
        else
            m_log.add(QStringLiteral("上次的保存路径不可用，已改用默认路径.."));
    }
    if (choices.qualityIndex && *choices.qualityIndex >= 0 && *choices.qualityIndex < m_qualityCombo.count())
        m_qualityCombo.setCurrentIndex(*choices.qualityIndex);
    if (choices.namingMode) {
        if (QAbstractButton *option = m_namingGroup.button(*choices.namingMode))
            option->setChecked(true);
    }
    if (choices.onlyNew && m_onlyNewBox)
        m_onlyNewBox->setChecked(*choices.onlyNew);
    if (choices.writeMetadata && m_writeMetadataBox)
        m_writeMetadataBox->setChecked(*choices.writeMetadata);
    if (choices.windowPosition) {
        QList<QRect> screens;
        for (const QScreen *screen : QGuiApplication::screens())
            screens << screen->availableGeometry();
        const QRect frame(*choices.windowPosition, m_window.frameGeometry().size());
        if (IsReachableOnScreens(frame, screens))
            m_window.move(*choices.windowPosition);
    }
}

RememberedChoices RememberedChoicesController::current() const
{
    RememberedChoices choices;
    choices.saveFolder = m_saveFolderEdit.text();
    choices.qualityIndex = m_qualityCombo.currentIndex();
    if (m_namingGroup.checkedId() != -1)
        choices.namingMode = m_namingGroup.checkedId();
    if (m_onlyNewBox)
        choices.onlyNew = m_onlyNewBox->isChecked();
    if (m_writeMetadataBox)
        choices.writeMetadata = m_writeMetadataBox->isChecked();
    choices.windowPosition = m_window.pos();
    return choices;
}

void RememberedChoicesController::save()
{
    m_pendingWrite.stop();
    if (!m_file.isEmpty())
        current().write(m_file);
}

void RememberedChoicesController::changed()
{
    m_pendingWrite.start();
}

bool RememberedChoicesController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_window && event->type() == QEvent::Move)
        changed();
    return false;
}

} // namespace albivex
