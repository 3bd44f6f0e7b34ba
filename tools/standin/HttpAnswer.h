#pragma once

#include "standin/BodySource.h"

#include <QByteArray>
#include <QList>
#include <QPair>

#include <memory>

namespace albivex::standin {

// An answer before it is written: status, headers (Content-Length, Transfer-Encoding and
// Connection are added by the writer) and the body, held or streamed.
struct HttpAnswer
{
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    std::shared_ptr<BodySource> stream; // the body when set, instead of `body`

    static HttpAnswer make(int status, const QByteArray &contentType, const QByteArray &body)
    {
        HttpAnswer answer;
        answer.status = status;
        if (!contentType.isEmpty())
            answer.headers.append({QByteArrayLiteral("Content-Type"), contentType});
        answer.body = body;
        return answer;
    }
    QByteArray header(const QByteArray &name) const
    {
        for (const auto &h : headers) {
            if (h.first.compare(name, Qt::CaseInsensitive) == 0)
                return h.second;
        }
        return QByteArray();
    }
};

} // namespace albivex::standin
