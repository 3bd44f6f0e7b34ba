#include "AnsweringPrompts.h"

#include "standin/StandinData.h"

#include <QTimer>

namespace albivex::bench {

namespace {

// Runs the answer from the event loop, never inside the caller's own call.
void Later(std::function<void()> answer)
{
    QTimer::singleShot(0, [answer = std::move(answer)] { answer(); });
}

} // namespace

void AnsweringPrompts::inform(const QString &title, const QString &text, Icon, std::function<void()> closed)
{
    asked << title + QStringLiteral(": ") + text;
    if (closed)
        Later(std::move(closed));
}

void AnsweringPrompts::askYesNo(const QString &title, const QString &text, Icon,
                                std::function<void(bool yes)> answered)
{
    asked << title + QStringLiteral(": ") + text;
    Later([answered = std::move(answered)] { answered(false); });
}

void AnsweringPrompts::askText(const QString &title, const QString &text, bool secret,
                               std::function<void(std::optional<QString> answer)> answered)
{
    asked << title + QStringLiteral(": ") + text;
    std::optional<QString> answer;
    if (secret)
        answer = QString::fromUtf8(standin::AlbumPassword);
    else if (text == QString::fromUtf8(standin::AlbumQuestion))
        answer = QString::fromUtf8(standin::AlbumQuestionAnswer);
    if (answer)
        ++answeredTexts;
    Later([answered = std::move(answered), answer] { answered(answer); });
}

} // namespace albivex::bench
