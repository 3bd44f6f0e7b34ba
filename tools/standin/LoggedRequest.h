#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace albivex::standin {

// One request as the stand-in received it.
struct LoggedRequest
{
    QString method; // "GET", "POST", ...
    QString path; // percent-decoded, without the query
    QString rawQuery; // the query as sent, without "?"
    QList<QPair<QString, QString>> query; // keys and values in their order, percent-decoded
    QStringList cookieNames; // in the order of the Cookie header
    QList<QPair<QByteArray, QByteArray>> headers; // as sent
    QByteArray body;
    QString fault; // name of the fault rule applied, empty when none

    QStringList queryKeys() const;
    // Value of the first occurrence of the key; a null string when absent, an empty
    // (not null) one when present without a value.
    QString queryValue(const QString &key) const;
    QByteArray header(const QByteArray &name) const; // case-insensitive

    // One line for the log file: method, path and query, cookie names, body, fault.
    QString toLine() const;
};

} // namespace albivex::standin
