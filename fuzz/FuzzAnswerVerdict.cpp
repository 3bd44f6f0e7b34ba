// ReadAnswerVerdict tells an expired session and a busy service from a list answer and
// its HTTP status. The first input byte picks the status, the rest is the answer.

#include "FuzzSupport.h"
#include "qzone/AnswerVerdict.h"

using namespace albivex;
using namespace albivex::fuzz;

namespace {

constexpr int Statuses[] = {200, 0, 403, 429, 500, 501, 502, 404};

bool Same(const AnswerVerdict &a, const AnswerVerdict &b)
{
    return a.state == b.state && a.code == b.code && a.decidedAt == b.decidedAt;
}

void CheckAnswer(int status, const QString &answer)
{
    const AnswerVerdict verdict = ReadAnswerVerdict(status, answer);
    const int code = verdict.code.value_or(0);

    const bool expired = code == -3000 || status == 403;
    const bool busy = code == -10000 || code == -10001 || code == -10049 || status == 429 || status == 500
        || status == 501;
    Require(verdict.state
                == (expired    ? AnswerState::Expired
                        : busy ? AnswerState::Busy
                               : AnswerState::Ok),
            "the state follows from the code and the status");
    if (verdict.code) {
        // Leading zeros aside ("-05024" reads -5024).
        Require(answer.contains(QString::number(qAbs(qint64(*verdict.code)))),
                "the code is written in the answer");
    }
    Require(verdict.decidedAt <= answer.size(), "the reading stops within the answer");

    // Once settled, nothing after that point counts: not the rest of this answer, not
    // an object with another code.
    if (verdict.decidedAt >= 0) {
        const QString head = answer.left(verdict.decidedAt);
        Require(Same(ReadAnswerVerdict(status, head), verdict), "the settled head alone gives the verdict");
        Require(Same(ReadAnswerVerdict(status, head + QStringLiteral("{\"code\" : -3000}")), verdict),
                "text after the settled point is not read");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const int status = Statuses[data[0] % (sizeof(Statuses) / sizeof(Statuses[0]))];
    CheckAnswer(status, Utf8Text(data + 1, size - 1));
    CheckAnswer(status, Utf16Text(data + 1, size - 1));
    return 0;
}
