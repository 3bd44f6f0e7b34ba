#pragma once

#include "session/FolderDialog.h"
#include "session/Prompts.h"
#include "session/UrlOpener.h"

class QWidget;

namespace albivex {

// The production boxes: QMessageBox, QInputDialog and QFileDialog opened with open(),
// never exec(), and QDesktopServices for addresses and folders.
class QtPrompts : public Prompts, public FolderDialog, public UrlOpener
{
public:
    explicit QtPrompts(QWidget *parent);

    void inform(const QString &title, const QString &text, Icon icon, std::function<void()> closed) override;
    void askYesNo(const QString &title, const QString &text, Icon icon,
                  std::function<void(bool yes)> answered) override;
    void askText(const QString &title, const QString &text, bool secret,
                 std::function<void(std::optional<QString> answer)> answered) override;
    void chooseFolder(const QString &title, std::function<void(const QString &path)> chosen) override;
    void open(const QUrl &url) override;

private:
    QWidget *m_parent;
};

} // namespace albivex
