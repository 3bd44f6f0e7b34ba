#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace albivex {

// Message boxes of the tool. Every box is window-modal and asynchronous: the caller
// goes on at once and hears the answer through the callback, so no handler ever
// spins a nested event loop. Tests answer the boxes through their own implementation.
class Prompts
{
public:
    enum class Icon { Information, Exclamation };

    virtual ~Prompts() = default;

    // A box with one OK button. `closed` runs after the user dismissed it.
    virtual void inform(const QString &title, const QString &text, Icon icon,
                        std::function<void()> closed = {})
        = 0;
    // A box with Yes and No. `answered` gets true for Yes.
    virtual void askYesNo(const QString &title, const QString &text, Icon icon,
                          std::function<void(bool yes)> answered)
        = 0;
    // A box asking for a line of text (a protected album's answer or password), with
    // OK and Cancel. `answered` gets the text typed, or nullopt when the user
    // cancelled. With `secret` the typing is not shown. Nobody logs the answer.
    virtual void askText(const QString &title, const QString &text, bool secret,
                         std::function<void(std::optional<QString> answer)> answered)
        = 0;
};

// Message box titles used throughout the tool.
inline QString AppBoxTitle()
{
    return QStringLiteral("Zorvane软件");
}

} // namespace albivex
