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
    // When it arrived: milliseconds on the stand-in's monotonic clock
    // (StandinKnobs::clockMs), so tests can measure the gaps between requests.
    qint64 arrivalMs = 0;

    QStringList queryKeys() const;
    // Value of the first occurrence of the key; a null string when absent, an empty
    // (not null) one when present without a value.
    QString queryValue(const QString &key) const;
    QByteArray header(const QByteArray &name) const; // case-insensitive

    // One line for the log file: method, path and query, cookie names, body, fault,
    // arrival (" at=MSms").
    QString toLine() const;
};

} // namespace albivex::standin
