#pragma once

#include <QObject>

namespace albivex {

struct AppContext;

// "设置路径" (chooseFolderButton) chooses the save folder, asking first once a folder has been
// chosen in this run; "打开目录" (openFolderButton) opens the save folder on the desktop.
class SaveFolderController : public QObject
{
    Q_OBJECT
public:
    explicit SaveFolderController(AppContext &ctx);

private:
    void choose();
    void browse();
    void openFolder();

    AppContext &m_ctx;
};

} // namespace albivex
