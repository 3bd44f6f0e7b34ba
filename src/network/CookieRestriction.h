#pragma once

#include <QByteArray>

class QNetworkCookieJar;
class QNetworkRequest;

namespace albivex {

// For a request that travels in clear text: of the jar's cookies only the one named
// `name` goes along (when the jar holds it for the request's address), no cookie the
// answer sets comes back into the jar, and redirects stay on the address's own origin,
// so that the one cookie reaches no other host.
void RestrictCookies(QNetworkRequest &request, const QNetworkCookieJar *jar, const QByteArray &name);

} // namespace albivex
