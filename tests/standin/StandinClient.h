#pragma once

#include "network/QueryString.h"
#include "standin/PageToken.h"
#include "standin/SignIn.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QStringDecoder>

// A plain HTTP client for the stand-in's tests: waits for each answer (tests may), keeps
// the sign-in cookies, and builds the service requests in the tool's exact forms.
class StandinClient
{
public:
    struct Answer
    {
        int status = 0;
        QNetworkReply::NetworkError error = QNetworkReply::NoError;
        QByteArray body;
        QList<QNetworkReply::RawHeaderPair> headers;
        qint64 elapsedMs = 0;
        bool finished = false;

        QByteArray header(const QByteArray &name) const
        {
            for (const auto &h : headers) {
                if (h.first.compare(name, Qt::CaseInsensitive) == 0)
                    return h.second;
            }
            return {};
        }
        QList<QByteArray> headerValues(const QByteArray &name) const
        {
            QList<QByteArray> values;
            for (const auto &h : headers) {
                if (h.first.compare(name, Qt::CaseInsensitive) == 0)
                    values.append(h.second);
            }
            return values;
        }
        QString text() const { return QString::fromUtf8(body); }
        // The body in the charset its Content-Type names (GBK or UTF-8).
        QString decoded() const
        {
            if (header("Content-Type").toLower().contains("charset=gbk"))
                return QStringDecoder("GBK").decode(body);
            return text();
        }
    };

    explicit StandinClient(const QString &root) : m_root(root) { }

    QNetworkAccessManager &nam() { return m_nam; }
    QString root() const { return m_root; }

    Answer send(QNetworkRequest request, const QByteArray &method = "GET", const QByteArray &body = {},
                int timeoutMs = 20000)
    {
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        QElapsedTimer clock;
        clock.start();
        QNetworkReply *reply = m_nam.sendCustomRequest(request, method, body);
        QSignalSpy done(reply, &QNetworkReply::finished);
        Answer answer;
        answer.finished = reply->isFinished() || done.wait(timeoutMs);
        if (!answer.finished)
            reply->abort();
        answer.elapsedMs = clock.elapsed();
        answer.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        answer.error = reply->error();
        answer.body = reply->readAll();
        answer.headers = reply->rawHeaderPairs();
        reply->deleteLater();
        return answer;
    }
    Answer get(const QString &pathAndQuery, int timeoutMs = 20000)
    {
        return send(QNetworkRequest(QUrl(m_root + pathAndQuery)), "GET", {}, timeoutMs);
    }
    Answer getUrl(const QUrl &url) { return send(QNetworkRequest(url)); }

    // Signs in without a browser and keeps the cookies for the stand-in's host.
    void useSignIn(const albivex::standin::SignIn &signIn)
    {
        m_signIn = signIn;
        m_tokenKey.clear();
        m_nam.setCookieJar(new QNetworkCookieJar);
        m_nam.cookieJar()->setCookiesFromUrl(signIn.cookies, QUrl(m_root + QStringLiteral("/")));
    }
    // The stand-in's token over skey, or over the key given with useTokenKey (p_skey today).
    QString gtk() const
    {
        return albivex::standin::PageToken(m_tokenKey.isEmpty() ? m_signIn.skey : m_tokenKey);
    }
    void useTokenKey(const QString &key) { m_tokenKey = key; }
    // The value of a cookie the jar holds for the stand-in; empty when none.
    QString cookie(const QByteArray &name) const
    {
        for (const QNetworkCookie &c : m_nam.cookieJar()->cookiesForUrl(QUrl(m_root + QStringLiteral("/")))) {
            if (c.name() == name)
                return QString::fromLatin1(c.value());
        }
        return QString();
    }
    QString uin() const { return m_signIn.uin; }

    // The album list of one's own space, as the tool asks for it.
    QUrl albumListV3(const QString &gtk) const
    {
        return albivex::UrlWithQuery(m_root + QStringLiteral("/fcgi-bin/fcg_list_album_v3"),
                                     {{"g_tk", gtk},
                                      {"callback", "shine0_Callback"},
                                      {"t", "391761988"},
                                      {"hostUin", uin()},
                                      {"uin", uin()},
                                      {"appid", "4"},
                                      {"inCharset", "utf-8"},
                                      {"outCharset", "utf-8"},
                                      {"source", "qzone"},
                                      {"plat", "qzone"},
                                      {"format", "jsonp"},
                                      {"notice", "0"},
                                      {"filter", "1"},
                                      {"handset", "4"},
                                      {"pageNumModeSort", "40"},
                                      {"pageNumModeClass", "15"},
                                      {"needUserInfo", "1"},
                                      {"idcNum", "4"},
                                      {"callbackFun", "shine0"},
                                      {"_", "1450879334407"}});
    }
    // The album list of any number's space.
    QUrl albumListV2(const QString &hostUin, const QString &gtk) const
    {
        return albivex::UrlWithQuery(m_root + QStringLiteral("/p/shalist.photo/fcgi-bin/fcg_list_album_v2"),
                                     {{"inCharset", "gbk"},
                                      {"outCharset", "gbk"},
                                      {"hostUin", hostUin},
                                      {"notice", "0"},
                                      {"callbackFun", ""},
                                      {"format", "jsonp"},
                                      {"plat", "qzone"},
                                      {"source", "qzone"},
                                      {"appid", "4"},
                                      {"uin", uin()},
                                      {"g_tk", gtk}});
    }
    // Photo list of another space (callbackFun shine6, pages of 200 in the tool).
    QUrl photoListOther(const QString &hostUin, const QString &albumId, int pageStart, int pageNum) const
    {
        return albivex::UrlWithQuery(m_root + QStringLiteral("/p/shplist.photo/fcgi-bin/cgi_list_photo"),
                                     {{"t", "751739517"},
                                      {"mode", "0"},
                                      {"idcNum", "4"},
                                      {"hostUin", hostUin},
                                      {"topicId", albumId},
                                      {"noTopic", "0"},
                                      {"uin", uin()},
                                      {"pageStart", QString::number(pageStart)},
                                      {"pageNum", QString::number(pageNum)},
                                      {"skipCmtCount", "0"},
                                      {"singleurl", "1"},
                                      {"batchId", ""},
                                      {"notice", "0"},
                                      {"appid", "4"},
                                      {"inCharset", "utf-8"},
                                      {"outCharset", "utf-8"},
                                      {"source", "qzone"},
                                      {"plat", "qzone"},
                                      {"outstyle", "json"},
                                      {"format", "jsonp"},
                                      {"json_esc", "1"},
                                      {"callbackFun", "shine6"},
                                      {"g_tk", gtk()}});
    }
    // Photo list of one's own space (callback shine0_Callback, pages of 500 in the tool).
    QUrl photoListOwn(const QString &albumId, int pageStart, int pageNum) const
    {
        return albivex::UrlWithQuery(m_root + QStringLiteral("/fcgi-bin/cgi_list_photo"),
                                     {{"g_tk", gtk()},
                                      {"callback", "shine0_Callback"},
                                      {"t", "637184888"},
                                      {"mode", "0"},
                                      {"idcNum", "4"},
                                      {"hostUin", uin()},
                                      {"topicId", albumId},
                                      {"noTopic", "0"},
                                      {"uin", uin()},
                                      {"pageStart", QString::number(pageStart)},
                                      {"pageNum", QString::number(pageNum)},
                                      {"skipCmtCount", "0"},
                                      {"singleurl", "1"},
                                      {"batchId", ""},
                                      {"notice", "0"},
                                      {"appid", "4"},
                                      {"inCharset", "utf-8"},
                                      {"outCharset", "utf-8"},
                                      {"source", "qzone"},
                                      {"plat", "qzone"},
                                      {"outstyle", "json"},
                                      {"format", "jsonp"},
                                      {"json_esc", "1"},
                                      {"question", ""},
                                      {"answer", ""},
                                      {"callbackFun", "shine0"},
                                      {"_", "1450879526742"}});
    }

    // The floatview list around one picture (prevNum, postNum: -1 leaves the key out).
    QUrl floatview(const QString &hostUin, const QString &albumId, const QString &picKey, int prevNum,
                   int postNum) const
    {
        albivex::QueryItems query = {{"g_tk", gtk()},         {"callback", "viewer_Callback"},
                                     {"topicId", albumId},    {"picKey", picKey},
                                     {"cmtNum", "10"},        {"inCharset", "utf-8"},
                                     {"outCharset", "utf-8"}, {"uin", uin()},
                                     {"hostUin", hostUin},    {"appid", "4"},
                                     {"isFirst", "1"}};
        if (prevNum >= 0)
            query.append({"prevNum", QString::number(prevNum)});
        if (postNum >= 0)
            query.append({"postNum", QString::number(postNum)});
        return albivex::UrlWithQuery(
            m_root + QStringLiteral("/proxy/domain/photo.qzone.qq.com/fcgi-bin/cgi_floatview_photo_list_v2"),
            query);
    }

    static int occurrences(const QString &text, const QString &needle) { return int(text.count(needle)); }

private:
    QString m_root;
    QNetworkAccessManager m_nam;
    albivex::standin::SignIn m_signIn;
    QString m_tokenKey;
};
