#include "qzone/AnswerVerdict.h"

#include <QString>

#include <limits>

namespace albivex {

namespace {

constexpr int ExpiredCode = -3000;
constexpr int BusyCodes[] = {-10000, -10001, -10049};
constexpr int ExpiredStatus = 403;
constexpr int BusyStatuses[] = {429, 500, 501};

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r')
        || c == QLatin1Char('\n');
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

qsizetype SkipBlanks(QStringView text, qsizetype at)
{
    while (at < text.size() && IsBlank(text.at(at)))
        ++at;
    return at;
}

// The end of the string whose opening quote is at `quote`: the index of its closing
// quote, or -1 when the text ends first.
qsizetype StringEnd(QStringView text, qsizetype quote)
{
    for (qsizetype at = quote + 1; at < text.size(); ++at) {
        if (text.at(at) == QLatin1Char('\\'))
            ++at;
        else if (text.at(at) == QLatin1Char('"'))
            return at;
    }
    return -1;
}

// The code's value from `at` (just after the colon). `verdict` gets the code when the
// value is a whole number that fits an int, and decidedAt once a character ends it.
// Returns false when the text ended inside the value.
bool ReadCode(QStringView text, qsizetype at, AnswerVerdict &verdict)
{
    at = SkipBlanks(text, at);
    const bool negative = at < text.size() && text.at(at) == QLatin1Char('-');
    if (negative)
        ++at;
    qint64 magnitude = 0;
    qsizetype digits = 0;
    for (; at < text.size() && IsDigit(text.at(at)); ++at, ++digits) {
        // Past ten digits no int is left; the rest are only skipped.
        if (digits < 11)
            magnitude = magnitude * 10 + (text.at(at).unicode() - '0');
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (digits > 0 && digits <= 10 && value >= std::numeric_limits<int>::min()
        && value <= std::numeric_limits<int>::max())
        verdict.code = static_cast<int>(value);
    if (at >= text.size())
        return false;
    verdict.decidedAt = at + 1;
    return true;
}

bool Contains(const int (&list)[3], int value)
{
    for (const int item : list) {
        if (item == value)
            return true;
    }
    return false;
}

} // namespace

AnswerVerdict ReadAnswerVerdict(int httpStatus, QStringView answer)
{
    AnswerVerdict verdict;
    int depth = 0;
    for (qsizetype at = answer.indexOf(QLatin1Char('{')); at >= 0 && at < answer.size(); ++at) {
        const QChar c = answer.at(at);
        if (c == QLatin1Char('"')) {
            const qsizetype end = StringEnd(answer, at);
            if (end < 0)
                break;
            const qsizetype next = SkipBlanks(answer, end + 1);
            const bool isCodeKey = depth == 1 && answer.sliced(at + 1, end - at - 1) == QLatin1String("code")
                && next < answer.size() && answer.at(next) == QLatin1Char(':');
            if (isCodeKey) {
                ReadCode(answer, next + 1, verdict);
                break;
            }
            at = end;
        } else if (c == QLatin1Char('{') || c == QLatin1Char('[')) {
            ++depth;
        } else if (c == QLatin1Char('}') || c == QLatin1Char(']')) {
            if (--depth == 0) {
                verdict.decidedAt = at + 1;
                break;
            }
        }
    }

    const int code = verdict.code.value_or(0);
    if (code == ExpiredCode || httpStatus == ExpiredStatus)
        verdict.state = AnswerState::Expired;
    else if (Contains(BusyCodes, code) || Contains(BusyStatuses, httpStatus))
        verdict.state = AnswerState::Busy;
    return verdict;
}

} // namespace albivex
