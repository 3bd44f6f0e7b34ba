#include "ScriptedPrompts.h"

#include <QTimer>

void ScriptedPrompts::inform(const QString &title, const QString &text, Icon icon,
                             std::function<void()> closed)
{
    boxes.append({title, text, icon, false});
    QTimer::singleShot(0, [closed = std::move(closed), delivered = m_delivered] {
        if (closed)
            closed();
        ++*delivered;
    });
}

void ScriptedPrompts::askYesNo(const QString &title, const QString &text, Icon icon,
                               std::function<void(bool yes)> answered)
{
    boxes.append({title, text, icon, true});
    const bool yes = m_answers.isEmpty() ? false : m_answers.dequeue();
    QTimer::singleShot(0, [answered = std::move(answered), yes, delivered = m_delivered] {
        answered(yes);
        ++*delivered;
    });
}

void ScriptedPrompts::askText(const QString &title, const QString &text, bool secret,
                              std::function<void(std::optional<QString> answer)> answered)
{
    textQuestions.append({title, text, secret});
    std::optional<QString> answer = m_texts.isEmpty() ? std::nullopt : m_texts.dequeue();
    QTimer::singleShot(0, [answered = std::move(answered), answer, delivered = m_delivered] {
        answered(answer);
        ++*delivered;
    });
}

void ScriptedPrompts::chooseFolder(const QString &title, std::function<void(const QString &path)> chosen)
{
    folderDialogTitles.append(title);
    const QString path = m_folders.isEmpty() ? QString() : m_folders.dequeue();
    QTimer::singleShot(0, [chosen = std::move(chosen), path, delivered = m_delivered] {
        chosen(path);
        ++*delivered;
    });
}

void ScriptedPrompts::open(const QUrl &url)
{
    opened.append(url);
}

QStringList ScriptedPrompts::texts() const
{
    QStringList result;
    for (const Box &box : boxes)
        result << box.text;
    return result;
}
