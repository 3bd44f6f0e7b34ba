// UnescapeUnicode decodes the backslash-u escapes of album names in list answers.

#include "FuzzSupport.h"
#include "qzone/UnescapeUnicode.h"

using namespace albivex;
using namespace albivex::fuzz;

namespace {

const QString Marker = QStringLiteral("\\u");

void CheckText(const QString &text)
{
    const QString decoded = UnescapeUnicode(text);
    QString own = text;
    own.detach();
    Require(UnescapeUnicode(std::move(own)) == decoded, "decoding in place gives the same text");
    // A marker and up to four characters become one character or stay as they were.
    Require(decoded.size() <= text.size(), "never longer than the input");
    const qsizetype first = text.indexOf(Marker);
    if (first < 0)
        Require(decoded == text, "a text without the marker comes back unchanged");
    else
        Require(decoded.startsWith(QStringView(text).first(first)), "text before the first marker is kept");

    // Every code unit written as a full escape comes back as itself, lone surrogates
    // and NUL included.
    // Lower and upper case digits alternate.
    static constexpr char16_t lower[] = u"0123456789abcdef";
    static constexpr char16_t upper[] = u"0123456789ABCDEF";
    QString escaped;
    escaped.reserve(text.size() * 6);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t *digits = i % 2 ? upper : lower;
        const char16_t unit = text.at(i).unicode();
        escaped += Marker;
        for (const int shift : {12, 8, 4, 0})
            escaped += QChar(digits[(unit >> shift) & 0xF]);
    }
    Require(UnescapeUnicode(escaped) == text, "full escapes decode back to the text");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    CheckText(Utf8Text(data, size));
    CheckText(Utf16Text(data, size));
    return 0;
}
