#include "shell/ui/StartupController.h"

#include "session/WindowState.h"
#include "shell/VersionText.h"
#include "storage/SaveFolder.h"
#include "window/ActivityLog.h"
#include "window/StatusBar.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QScreen>
#include <QStandardPaths>

namespace albivex {

namespace {

// The skin is a style sheet compiled into the program; a missing one leaves Qt's look.
void applySkin()
{
    QFile sheet(QStringLiteral(":/albivex/skin.qss"));
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (app && sheet.open(QIODevice::ReadOnly | QIODevice::Text))
        app->setStyleSheet(QString::fromUtf8(sheet.readAll()));
}

} // namespace

StartupController::StartupController(WindowState &state, ActivityLog &log, QWidget &window,
                                     QLineEdit &otherQqEdit, QComboBox &qualityCombo, StatusBar &statusBar,
                                     QLineEdit &saveFolderEdit)
    : m_state(state)
    , m_log(log)
    , m_window(window)
    , m_qualityCombo(qualityCombo)
    , m_statusBar(statusBar)
    , m_saveFolderEdit(saveFolderEdit)
{
    // Whatever is typed, unchecked: the album listing of another space reads it.
    connect(&otherQqEdit, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_state.credentials.targetUin = text; });
}

void StartupController::run()
{
    applySkin();
    m_state.albumJobIdle = true;

    QComboBox *quality = &m_qualityCombo;
    quality->clear();
    quality->addItems({QStringLiteral("普通"), QStringLiteral("高清"), QStringLiteral("原图")});
    quality->setCurrentIndex(1);

    showCentred();

    m_log.add({ActivityLog::separator(), QStringLiteral("欢迎使用Zorvane软件.."), ActivityLog::separator(),
               QStringLiteral("正在检测是否有最新版本..")});
    m_statusBar.setPanelText(3, VersionText());

    m_saveFolderEdit.setText(
        DefaultSaveFolder(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::PicturesLocation)));
}

void StartupController::showCentred()
{
    QWidget &window = m_window;
    if (const QScreen *screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
}

} // namespace albivex
