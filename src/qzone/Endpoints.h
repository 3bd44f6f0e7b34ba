#pragma once

#include <QString>
#include <QUrl>

namespace albivex {

// Every remote address the tool uses. Nothing else in the code names a host.
enum class Endpoint {
    SignIn, // QQ web sign-in page
    SecurityCentre, // page QQ's sign-in goes on to ("s_url"); its title marks success
    Profile, // QQ profile service (nickname), POST
    Avatar, // QQ avatar service
    AlbumListV3, // own-space album list
    AlbumListV2, // user-space album list (any QQ number)
    PhotoListOwn, // own-space photo list
    PhotoListOther, // user-space photo list (any QQ number)
    Floatview, // the viewer's list around one picture: originals and videos of any space
    MoodList, // one page of a space's 说说 (mood posts), newest first
    MoodDetail, // one 说说 asked again in full (all its pictures, its whole text)
    Board, // one page of a space's 留言板 (message board), newest first
    QzoneLanding, // Qzone's landing page after a sign-in; it hands out the p_skey cookie
    VersionFile, // vendor's version file
    VendorHome,
    VendorDownload,
    VendorForum,
    VendorService,
};

class Endpoints
{
public:
    // Addresses as published; with a non-empty serviceRoot every address keeps its
    // path and query and takes that root (scheme, host, port) instead.
    explicit Endpoints(const QString &serviceRoot = QString());

    // Reads ALBIVEX_SERVICE_ROOT, the tool's only setting.
    static Endpoints fromEnvironment();

    QUrl url(Endpoint which) const;
    // The address as text, for callers that append a query to it.
    QString text(Endpoint which) const;

    bool redirected() const { return !m_root.isEmpty(); }
    QString serviceRoot() const { return m_root; }

    // True for hosts whose cookies belong to the QQ sign-in (QQ's and Qzone's
    // domains, or the service root's host when the addresses are redirected).
    bool isQqCookieDomain(const QString &domainOrHost) const;

private:
    QString m_root;
};

// True for the services on Qzone's hosts (every published host within qzone.qq.com),
// whatever the service root: their requests are signed with the p_skey token when the
// sign-in has one (see QzoneCredentials).
bool IsQzoneHost(Endpoint which);

} // namespace albivex
