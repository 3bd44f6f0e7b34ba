#pragma once

#include "session/FolderDialog.h"
#include "session/Prompts.h"
#include "session/UrlOpener.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <QUrl>

#include <memory>

// Answers the tool's boxes for tests: every box is recorded; Yes/No questions, text
// questions and the folder dialog take the next scripted answer (No and "cancelled"
// when none is set).
// Answers are delivered from the event loop, as a real box would.
class ScriptedPrompts : public albivex::Prompts, public albivex::FolderDialog, public albivex::UrlOpener
{
public:
    struct Box
    {
        QString title;
        QString text;
        Icon icon;
        bool question;
    };

    void inform(const QString &title, const QString &text, Icon icon, std::function<void()> closed) override;
    void askYesNo(const QString &title, const QString &text, Icon icon,
                  std::function<void(bool yes)> answered) override;
    void askText(const QString &title, const QString &text, bool secret,
                 std::function<void(std::optional<QString> answer)> answered) override;
    void chooseFolder(const QString &title, std::function<void(const QString &path)> chosen) override;
    void open(const QUrl &url) override;

    void answerNextQuestion(bool yes) { m_answers.enqueue(yes); }
    void chooseNextFolder(const QString &path) { m_folders.enqueue(path); }
    // The answer to the next text question; nullopt, or none queued, cancels it.
    void answerNextText(std::optional<QString> text) { m_texts.enqueue(std::move(text)); }

    QList<Box> boxes;
    struct TextQuestion
    {
        QString title;
        QString text;
        bool secret;
    };
    QList<TextQuestion> textQuestions;
    QStringList folderDialogTitles;
    QList<QUrl> opened;

    QStringList texts() const;
    // Answers (and closings) delivered so far: a test waits for an answer's delivery
    // before checking what that answer must not have done.
    int delivered() const { return *m_delivered; }

private:
    QQueue<bool> m_answers;
    QQueue<QString> m_folders;
    QQueue<std::optional<QString>> m_texts;
    // Shared with the pending deliveries, which may outlive the prompts.
    std::shared_ptr<int> m_delivered = std::make_shared<int>(0);
};
