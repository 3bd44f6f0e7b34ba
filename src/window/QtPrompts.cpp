#include "window/QtPrompts.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace albivex {

namespace {

QMessageBox *makeBox(QWidget *parent, const QString &title, const QString &text, Prompts::Icon icon,
                     QMessageBox::StandardButtons buttons)
{
    auto *box = new QMessageBox(icon == Prompts::Icon::Exclamation ? QMessageBox::Warning
                                                                   : QMessageBox::Information,
                                title, text, buttons, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

} // namespace

QtPrompts::QtPrompts(QWidget *parent) : m_parent(parent) { }

void QtPrompts::inform(const QString &title, const QString &text, Icon icon, std::function<void()> closed)
{
    QMessageBox *box = makeBox(m_parent, title, text, icon, QMessageBox::Ok);
    QObject::connect(box, &QMessageBox::finished, box, [closed = std::move(closed)](int) {
        if (closed)
            closed();
    });
    box->open();
}

void QtPrompts::askYesNo(const QString &title, const QString &text, Icon icon,
                         std::function<void(bool yes)> answered)
{
    QMessageBox *box = makeBox(m_parent, title, text, icon, QMessageBox::Yes | QMessageBox::No);
    QObject::connect(box, &QMessageBox::finished, box, [box, answered = std::move(answered)](int) {
        answered(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->open();
}

void QtPrompts::askText(const QString &title, const QString &text, bool secret,
                        std::function<void(std::optional<QString> answer)> answered)
{
    auto *dialog = new QInputDialog(m_parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setWindowTitle(title);
    dialog->setLabelText(text);
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->setTextEchoMode(secret ? QLineEdit::Password : QLineEdit::Normal);
    QObject::connect(dialog, &QDialog::finished, dialog,
                     [dialog, answered = std::move(answered)](int result) {
                         if (result == QDialog::Accepted)
                             answered(dialog->textValue());
                         else
                             answered(std::nullopt);
                     });
    dialog->open();
}

void QtPrompts::chooseFolder(const QString &title, std::function<void(const QString &path)> chosen)
{
    auto *dialog = new QFileDialog(nullptr, title, QDir::homePath());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly, true);
    dialog->setWindowModality(Qt::ApplicationModal);
    auto shared = std::make_shared<std::function<void(const QString &)>>(std::move(chosen));
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [shared](const QString &path) {
        if (*shared)
            (*shared)(QDir::toNativeSeparators(path));
        *shared = nullptr;
    });
    QObject::connect(dialog, &QFileDialog::rejected, dialog, [shared] {
        if (*shared)
            (*shared)(QString());
        *shared = nullptr;
    });
    dialog->open();
}

void QtPrompts::open(const QUrl &url)
{
    QDesktopServices::openUrl(url);
}

} // namespace albivex
