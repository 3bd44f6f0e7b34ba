#include "shell/ui/SaveFolderController.h"

#include "session/FolderDialog.h"
#include "session/Prompts.h"
#include "session/UrlOpener.h"
#include "session/WindowState.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

namespace albivex {

SaveFolderController::SaveFolderController(QPushButton &chooseButton, QPushButton &openButton,
                                           QLineEdit &folderEdit, WindowState &state, Prompts &prompts,
                                           FolderDialog &folders, UrlOpener &urls)
    : m_folderEdit(folderEdit), m_state(state), m_prompts(prompts), m_folders(folders), m_urls(urls)
{
    connect(&chooseButton, &QPushButton::clicked, this, &SaveFolderController::choose);
    connect(&openButton, &QPushButton::clicked, this, &SaveFolderController::openFolder);
}

void SaveFolderController::choose()
{
    const QString chosen = m_state.chosenSaveFolder;
    if (chosen.isEmpty()) {
        browse();
        return;
    }
    const QString question = QStringLiteral("您已设置保存路径为:") + chosen + QStringLiteral("\r\n\r\n")
        + QStringLiteral("是否要更换保存路径?");
    QPointer<SaveFolderController> self(this);
    m_prompts.askYesNo(QStringLiteral("提示"), question, Prompts::Icon::Information, [self](bool yes) {
        if (self && yes)
            self->browse();
    });
}

// A cancelled dialog leaves chosenSaveFolder empty, so the next click goes straight
// to the dialog again; the path box keeps its text.
void SaveFolderController::browse()
{
    QPointer<SaveFolderController> self(this);
    m_folders.chooseFolder(QStringLiteral("请选择文件夹"), [self](const QString &path) {
        if (!self)
            return;
        self->m_state.chosenSaveFolder = path;
        if (!path.isEmpty())
            self->m_folderEdit.setText(path);
    });
}

void SaveFolderController::openFolder()
{
    m_urls.open(QUrl::fromLocalFile(m_folderEdit.text()));
}

} // namespace albivex
