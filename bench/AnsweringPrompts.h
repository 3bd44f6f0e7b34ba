#pragma once

#include "session/Prompts.h"

#include <QStringList>

namespace albivex::bench {

// The boxes of a benchmark's tool, answered at once from the event loop (as a person's
// click would come): a protected album's question or password with the stand-in data
// set's answer (any other text question cancelled), every Yes/No with No, every notice
// closed. Each box's text is kept, so a run can say what it was asked.
class AnsweringPrompts : public Prompts
{
public:
    void inform(const QString &title, const QString &text, Icon icon, std::function<void()> closed) override;
    void askYesNo(const QString &title, const QString &text, Icon icon,
                  std::function<void(bool yes)> answered) override;
    void askText(const QString &title, const QString &text, bool secret,
                 std::function<void(std::optional<QString> answer)> answered) override;

    // "title: text" of every box so far, in order.
    QStringList asked;
    int answeredTexts = 0; // the text questions given an answer (not cancelled)
};

} // namespace albivex::bench
