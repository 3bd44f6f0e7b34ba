#pragma once

#include "standin/BodySource.h"

namespace albivex::standin {

// A body already held in memory.
class ByteArraySource : public BodySource
{
public:
    explicit ByteArraySource(QByteArray bytes) : m_bytes(std::move(bytes)) { }

    qint64 size() const override { return m_bytes.size(); }
    QByteArray read(qint64 maxBytes) override
    {
        const QByteArray piece = m_bytes.mid(m_pos, qMin<qint64>(maxBytes, m_bytes.size() - m_pos));
        m_pos += piece.size();
        return piece;
    }

private:
    QByteArray m_bytes;
    qint64 m_pos = 0;
};

} // namespace albivex::standin
