#pragma once

// Shared by the libFuzzer harnesses: the ways a harness reads its input as text and
// the check that stops the run on a broken property (libFuzzer keeps the input that
// caused it as a crash file).

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace albivex::fuzz {

// The input as UTF-8, as the tool decodes answers: malformed bytes become U+FFFD.
inline QString Utf8Text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

// The input as raw UTF-16 code units (an odd last byte is dropped). Brings lone
// surrogates and every other code unit that no UTF-8 text decodes to.
inline QString Utf16Text(const uint8_t *data, size_t size)
{
    const qsizetype units = static_cast<qsizetype>(size / 2);
    QString text(units, Qt::Uninitialized);
    if (units > 0)
        std::memcpy(text.data(), data, static_cast<size_t>(units) * 2);
    return text;
}

// Stops the run when a property does not hold.
inline void Require(bool holds, const char *property, const QString &detail = QString())
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    if (!detail.isEmpty())
        std::fprintf(stderr, "detail: %s\n", detail.toUtf8().constData());
    std::abort();
}

} // namespace albivex::fuzz
