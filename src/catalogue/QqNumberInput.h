#pragma once

#include <QString>

namespace albivex {

// A QQ number typed by the user. Only 5 to 11 ASCII digits are a number; blanks
// around them are dropped. Signs, decimal points, exponents, other digits or blanks
// inside are refused, because the number goes into a request address and, later,
// into a folder name.
struct QqNumberInput
{
    enum class Verdict {
        Empty, // nothing but blanks
        Malformed,
        Valid,
    };

    Verdict verdict = Verdict::Empty;
    QString number; // the digits, when valid

    static QqNumberInput fromText(const QString &text);
    bool isValid() const { return verdict == Verdict::Valid; }
};

} // namespace albivex
