#include "standin/WebPages.h"

namespace albivex::standin {

namespace {

QString page(const QString &title, const QString &body)
{
    return QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>") + title
        + QStringLiteral("</title></head>\n<body>\n") + body + QStringLiteral("\n</body></html>\n");
}

} // namespace

QString WebPages::htmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

QString WebPages::signInPage(const QString &returnUrl, const QString &uin, const QString &error)
{
    return page(QStringLiteral("QQ帐号登录"),
                QStringLiteral("<form id=\"f\" method=\"post\" action=\"/cgi-bin/login\">\n"
                               "<input type=\"hidden\" name=\"s_url\" value=\"")
                    + htmlEscaped(returnUrl)
                    + QStringLiteral("\">\n<label>QQ号码 <input id=\"u\" name=\"u\" type=\"text\" value=\"")
                    + htmlEscaped(uin)
                    + QStringLiteral(
                        "\"></label>\n<label>密码 <input id=\"p\" name=\"p\" type=\"password\"></label>\n"
                        "<button id=\"go\" type=\"submit\">登录</button>\n<div id=\"err\">")
                    + htmlEscaped(error) + QStringLiteral("</div>\n</form>"));
}

QString WebPages::securityCentre(const QString &uin)
{
    const QString who
        = uin.isEmpty() ? QStringLiteral("未登录") : QStringLiteral("已登录：") + htmlEscaped(uin);
    return page(QStringLiteral("QQ安全中心"),
                QStringLiteral("<h1>QQ安全中心</h1>\n<p id=\"who\">") + who + QStringLiteral("</p>"));
}

QString WebPages::qzoneLanding(const QString &uin)
{
    return page(QStringLiteral("QQ空间"),
                QStringLiteral("<h1>QQ空间</h1>\n<p id=\"who\">") + htmlEscaped(uin)
                    + QStringLiteral("</p>"));
}

QString WebPages::vendorPage(const QString &title)
{
    return page(title, QStringLiteral("<h1>") + htmlEscaped(title) + QStringLiteral("</h1>"));
}

QString WebPages::redirectPage(const QString &location)
{
    return page(QStringLiteral("302"),
                QStringLiteral("<a href=\"") + htmlEscaped(location) + QStringLiteral("\">继续</a>"));
}

QString WebPages::notFound(const QString &path)
{
    return page(QStringLiteral("404 Not Found"),
                QStringLiteral("<h1>404</h1><p>") + htmlEscaped(path) + QStringLiteral("</p>"));
}

QString WebPages::errorPage()
{
    return page(QStringLiteral("服务器错误"), QStringLiteral("<h1>服务暂时不可用</h1><p>请稍后再试。</p>"));
}

QString WebPages::profile(const QString &callback, const QString &uin, const QString &nickname)
{
    QString data = QStringLiteral("\"uin\":") + (uin.isEmpty() ? QStringLiteral("0") : uin);
    if (!nickname.isEmpty())
        data = QStringLiteral("\"name\":\"") + nickname + QStringLiteral("\",") + data;
    return callback + QStringLiteral("({\"code\":0,\"subcode\":0,\"message\":\"\",\"data\":{") + data
        + QStringLiteral(",\"gender\":1,\"age\":20}});\n");
}

} // namespace albivex::standin
