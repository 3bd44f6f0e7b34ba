#pragma once

#include <QByteArray>

namespace albivex::standin {

// The bytes of an answer body, read once from the start in pieces, so that a body of
// hundreds of megabytes can be sent without ever being held in memory whole.
class BodySource
{
public:
    virtual ~BodySource() = default;
    // Total length in bytes.
    virtual qint64 size() const = 0;
    // The next at most maxBytes bytes; empty once everything was read.
    virtual QByteArray read(qint64 maxBytes) = 0;
};

} // namespace albivex::standin
