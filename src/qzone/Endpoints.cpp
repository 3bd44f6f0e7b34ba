#include "qzone/Endpoints.h"

namespace albivex {

namespace {

QString published(Endpoint which)
{
    const QString vendor = QStringLiteral(ALBIVEX_VENDOR_SITE);
    switch (which) {
    case Endpoint::SignIn:
        return QStringLiteral("https://xui.ptlogin2.qq.com/cgi-bin/xlogin");
    case Endpoint::SecurityCentre:
        return QStringLiteral("https://aq.qq.com/");
    case Endpoint::Profile:
        return QStringLiteral("https://h5.qzone.qq.com/rsc/fcgi-bin/3g_profile_homepage");
    case Endpoint::Avatar:
        return QStringLiteral("https://q.qlogo.cn/headimg_dl");
    case Endpoint::AlbumListV3:
        return QStringLiteral("https://photo.qzone.qq.com/fcgi-bin/fcg_list_album_v3");
    case Endpoint::AlbumListV2:
        return QStringLiteral("https://user.qzone.qq.com/p/shalist.photo/fcgi-bin/fcg_list_album_v2");
    case Endpoint::PhotoListOwn:
        return QStringLiteral("https://photo.qzone.qq.com/fcgi-bin/cgi_list_photo");
    case Endpoint::PhotoListOther:
        return QStringLiteral("https://user.qzone.qq.com/p/shplist.photo/fcgi-bin/cgi_list_photo");
    case Endpoint::Floatview:
        return QStringLiteral(
            "https://h5.qzone.qq.com/proxy/domain/photo.qzone.qq.com/fcgi-bin/cgi_floatview_photo_list_v2");
    case Endpoint::MoodList:
        return QStringLiteral(
            "https://user.qzone.qq.com/proxy/domain/taotao.qq.com/cgi-bin/emotion_cgi_msglist_v6");
    case Endpoint::MoodDetail:
        return QStringLiteral(
            "https://user.qzone.qq.com/proxy/domain/taotao.qq.com/cgi-bin/emotion_cgi_msgdetail_v6");
    case Endpoint::Board:
        return QStringLiteral("https://h5.qzone.qq.com/proxy/domain/m.qzone.qq.com/cgi-bin/new/get_msgb");
    case Endpoint::QzoneLanding:
        return QStringLiteral("https://qzs.qq.com/qzone/v5/loginsucc.html?para=izone");
    case Endpoint::VersionFile:
        return vendor + QStringLiteral("/version/main.txt");
    case Endpoint::VendorHome:
        return vendor + QStringLiteral("/");
    case Endpoint::VendorDownload:
        return vendor + QStringLiteral("/download/");
    case Endpoint::VendorForum:
        return vendor + QStringLiteral("/forum/");
    case Endpoint::VendorService:
        return vendor + QStringLiteral("/service/");
    }
    return QString();
}

} // namespace

bool IsQzoneHost(Endpoint which)
{
    const QString host = QUrl(published(which)).host();
    return host == QLatin1String("qzone.qq.com") || host.endsWith(QLatin1String(".qzone.qq.com"));
}

Endpoints::Endpoints(const QString &serviceRoot) : m_root(serviceRoot.trimmed())
{
    while (m_root.endsWith(QLatin1Char('/')))
        m_root.chop(1);
}

Endpoints Endpoints::fromEnvironment()
{
    return Endpoints(qEnvironmentVariable("ALBIVEX_SERVICE_ROOT"));
}

QString Endpoints::text(Endpoint which) const
{
    const QString address = published(which);
    if (m_root.isEmpty())
        return address;
    // Keep path and query, swap scheme://host[:port] for the root.
    const int hostStart = address.indexOf(QLatin1String("://")) + 3;
    const int pathStart = address.indexOf(QLatin1Char('/'), hostStart);
    return m_root + (pathStart < 0 ? QStringLiteral("/") : address.mid(pathStart));
}

QUrl Endpoints::url(Endpoint which) const
{
    return QUrl(text(which));
}

bool Endpoints::isQqCookieDomain(const QString &domainOrHost) const
{
    QString host = domainOrHost.toLower();
    while (host.startsWith(QLatin1Char('.')))
        host.remove(0, 1);
    if (!m_root.isEmpty())
        return host == QUrl(m_root).host().toLower();
    static const QLatin1String qqDomains[] = {QLatin1String("qq.com"), QLatin1String("qzone.com"),
                                              QLatin1String("qlogo.cn"), QLatin1String("qpic.cn")};
    for (const QLatin1String &domain : qqDomains) {
        if (host == domain || host.endsWith(QLatin1Char('.') + domain))
            return true;
    }
    return false;
}

} // namespace albivex
