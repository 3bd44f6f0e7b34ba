#include "shell/ui/SaveFolderController.h"

#include "app/AppContext.h"
#include "session/FolderDialog.h"
#include "session/Prompts.h"
#include "session/UrlOpener.h"
#include "session/WindowState.h"
#include "window/MainWindow.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

namespace albivex {

SaveFolderController::SaveFolderController(AppContext &ctx) : m_ctx(ctx)
{
    connect(m_ctx.window.chooseFolderButton, &QPushButton::clicked, this, &SaveFolderController::choose);
    connect(m_ctx.window.openFolderButton, &QPushButton::clicked, this, &SaveFolderController::openFolder);
}

void SaveFolderController::choose()
{
    const QString chosen = m_ctx.state.chosenSaveFolder;
    if (chosen.isEmpty()) {
        browse();
        return;
    }
    const QString question = QStringLiteral("您已设置保存路径为:") + chosen + QStringLiteral("\r\n\r\n")
        + QStringLiteral("是否要更换保存路径?");
    QPointer<SaveFolderController> self(this);
    m_ctx.prompts.askYesNo(QStringLiteral("提示"), question, Prompts::Icon::Information, [self](bool yes) {
        if (self && yes)
            self->browse();
    });
}

// A cancelled dialog leaves chosenSaveFolder empty, so the next click goes straight
// to the dialog again; the path box keeps its text.
void SaveFolderController::browse()
{
    QPointer<SaveFolderController> self(this);
    m_ctx.folders.chooseFolder(QStringLiteral("请选择文件夹"), [self](const QString &path) {
        if (!self)
            return;
        self->m_ctx.state.chosenSaveFolder = path;
        if (!path.isEmpty())
            self->m_ctx.window.saveFolderEdit->setText(path);
    });
}

void SaveFolderController::openFolder()
{
    m_ctx.urls.open(QUrl::fromLocalFile(m_ctx.window.saveFolderEdit->text()));
}

} // namespace albivex
