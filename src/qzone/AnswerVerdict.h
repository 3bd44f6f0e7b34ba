#pragma once

#include <QStringView>

#include <optional>

namespace albivex {

// What a list answer says about the session and the service, apart from its content.
enum class AnswerState {
    Ok, // an answer to read (an error answer that is neither of the others included)
    Expired, // the sign-in is no longer taken: sign in again
    Busy, // the service turned the request away for now: ask again later
};

struct AnswerVerdict
{
    AnswerState state = AnswerState::Ok;
    // The service's code: the "code" key of the answer's first top-level object, when
    // its value is a whole number that fits an int.
    std::optional<int> code;
    // Where the reading stopped for good: just past the code's value and the character
    // that ends it, or past the closing brace of the first top-level object. Nothing
    // after it changes the verdict. -1 when the text ended before either.
    qsizetype decidedAt = -1;
};

// Reads a JSONP answer of the list services ("cb({ "code" : -3000, ... });") and the
// HTTP status it came with (0 when none came):
// - Expired: code -3000, or status 403;
// - Busy: code -10000, -10001 or -10049, or status 429, 500 or 501;
// - Ok otherwise (code 0, any other code, no code, no answer at all).
// The object is read as text: from the first "{", strings skipped (backslash escapes
// included), braces and brackets counted, and only a key "code" directly inside the
// outermost object counts; the first such key decides. Stops as soon as the verdict
// is settled, so a large answer costs no more than its first keys.
AnswerVerdict ReadAnswerVerdict(int httpStatus, QStringView answer);

} // namespace albivex
