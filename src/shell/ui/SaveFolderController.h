#pragma once

#include <QObject>

class QLineEdit;
class QPushButton;

namespace albivex {

class FolderDialog;
class Prompts;
class UrlOpener;
struct WindowState;

// "设置路径" chooses the save folder, asking first once a folder has been
// chosen in this run; "打开目录" opens the save folder on the desktop.
class SaveFolderController : public QObject
{
    Q_OBJECT
public:
    // `folderEdit` is the path box the chosen folder is written into and opened from.
    SaveFolderController(QPushButton &chooseButton, QPushButton &openButton, QLineEdit &folderEdit,
                         WindowState &state, Prompts &prompts, FolderDialog &folders, UrlOpener &urls);

private:
    void choose();
    void browse();
    void openFolder();

    QLineEdit &m_folderEdit;
    WindowState &m_state;
    Prompts &m_prompts;
    FolderDialog &m_folders;
    UrlOpener &m_urls;
};

} // namespace albivex
