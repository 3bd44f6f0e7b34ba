#pragma once

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
    // The JSONP error answer of the Qzone services, keys in alphabetical order:
    // `callback({ "code" : C, "message" : "M", "notice" : 0, "subcode" : S });`
    static QString error(const QString &callback, int code, int subcode, const QString &message);
    // callback, else callbackFun + "_Callback", else "_Callback".
    static QString callbackName(const QString &callback, const QString &callbackFun);
};

} // namespace albivex::standin
