#pragma once

#include <QString>

namespace albivex::standin {

// The HTML pages and the profile answer of the stand-in.
class WebPages
{
public:
    // QQ's sign-in page: fields with the ids "u" (QQ number) and "p" (password), the
    // button "go"; the form posts to /cgi-bin/login. `error` shows in the element "err".
    static QString signInPage(const QString &returnUrl, const QString &uin, const QString &error);
    // The page after a sign-in; its title holds "QQ安全中心".
    static QString securityCentre(const QString &uin);
    // The Qzone page a browser lands on after signing in; its title is "QQ空间".
    static QString qzoneLanding(const QString &uin);
    static QString vendorPage(const QString &title);
    static QString redirectPage(const QString &location);
    static QString notFound(const QString &path);
    // An HTML error page, served where a picture was asked for.
    static QString errorPage();
    // JSONP answer of the profile service: `callback({..."name":"<nickname>"...})`;
    // without the name field when the nickname is empty.
    static QString profile(const QString &callback, const QString &uin, const QString &nickname);

    static QString htmlEscaped(const QString &text);
};

} // namespace albivex::standin
