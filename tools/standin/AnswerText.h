#pragma once

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

namespace albivex::standin {

// Small pieces shared by the JSONP answers.
class AnswerText
{
public:
    // Address on the stand-in as the services write it: slashes escaped ("http:\/\/...").
    static QString escapedUrl(const QString &root, const QString &path);
    // A text value written raw between quotes; only a double quote is escaped, so the
    // data's own backslash sequences reach the client as they stand.
    static QString quoted(const QString &wireText);
    // `"key" : value,` on its own line, with the indent of an answer.
    static QString field(int indent, const QString &key, const QString &value);
    // `{`, the fields one a line at indent + 3 in key order (`"key" : value,`, the last
    // without the comma), and `}` at the indent. Values are written as given.
    static QString object(int indent, const QMap<QString, QString> &fields);
    // The same with the fields in the order given.
    static QString object(int indent, const QList<QPair<QString, QString>> &fields);
    // Every character past ASCII as a \uXXXX escape (lower-case hex), as the service
    // writes picture texts today.
    static QString asciiEscaped(const QString &wireText);
    // The JSONP error answer of the Qzone services, keys in alphabetical order:
    // `callback({ "code" : C, "message" : "M", "notice" : 0, "subcode" : S });`
    static QString error(const QString &callback, int code, int subcode, const QString &message);
    // callback, else callbackFun + "_Callback", else "_Callback".
    static QString callbackName(const QString &callback, const QString &callbackFun);
};

} // namespace albivex::standin
