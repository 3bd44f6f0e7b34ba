#include "standin/SignInBook.h"

#include <QCryptographicHash>
#include <QMutexLocker>
#include <QRandomGenerator>

#include <algorithm>

namespace albivex::standin {

namespace {

// Printable characters allowed in a cookie value: no blank, ';', ',', quotes or backslash.
const char skeyAlphabet[]
    = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!#$()*+-./:<>?@[]^_{|}~";

QString randomCookieText(int length)
{
    QString text;
    const int count = int(sizeof(skeyAlphabet)) - 1;
    for (int i = 0; i < length; ++i)
        text += QLatin1Char(skeyAlphabet[QRandomGenerator::system()->bounded(count)]);
    return text;
}

QByteArray hexOf(const QByteArray &seed, int length)
{
    QByteArray out;
    for (int round = 0; out.size() < length; ++round)
        out += QCryptographicHash::hash(seed + QByteArray::number(round), QCryptographicHash::Sha256).toHex();
    return out.left(length);
}

QNetworkCookie cookie(const QByteArray &name, const QByteArray &value)
{
    QNetworkCookie c(name, value);
    c.setPath(QStringLiteral("/"));
    return c;
}

} // namespace

QString SignIn::uinCookie() const
{
    return QLatin1Char('o') + uin.rightJustified(10, QLatin1Char('0'));
}

QByteArray SignIn::cookieHeader() const
{
    QByteArray header;
    for (const QNetworkCookie &c : cookies) {
        if (!header.isEmpty())
            header += "; ";
        header += c.name() + '=' + c.value();
    }
    return header;
}

QString SignInBook::normalUin(const QString &text)
{
    QString digits = text.trimmed();
    while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
        digits.remove(0, 1);
    return digits;
}

QString SignInBook::uinFromCookie(const QString &uinCookie)
{
    if (!uinCookie.startsWith(QLatin1Char('o')))
        return QString();
    return normalUin(uinCookie.mid(1));
}

SignIn SignInBook::issue(const QString &uinText)
{
    SignIn signIn;
    signIn.uin = normalUin(uinText);
    signIn.skey = QLatin1Char('@') + randomCookieText(9);
    const QByteArray uinCookie = signIn.uinCookie().toLatin1();
    const QByteArray seed = signIn.skey.toLatin1() + uinCookie;
    // QQ sets many more cookies than these two; the whole text runs well past 1 KB and
    // the two that matter are neither first nor last. p_skey is not among them: the
    // Qzone landing page sets it (today's profile). Values of the other cookies never
    // hold "skey=@" or "uin=o" with another number.
    signIn.cookies = {
        cookie("pgv_pvid", hexOf(seed + "pv", 10)),
        cookie("RK", hexOf(seed + "rk", 10)),
        cookie("ptcz", hexOf(seed + "cz", 64)),
        cookie("pt_recent_uins", hexOf(seed + "recent", 256)),
        cookie("pt_guid_sig", hexOf(seed + "guid", 64)),
        cookie("pt_local_token", hexOf(seed + "local", 96)),
        cookie("pt_oauth_token", hexOf(seed + "oauth", 128)),
        cookie("ptnick_" + signIn.uin.toLatin1(), hexOf(seed + "nick", 24)),
        cookie("superkey", hexOf(seed + "superkey", 48)),
        cookie("supertoken", hexOf(seed + "supertoken", 10)),
        cookie("pt4_token", hexOf(seed + "pt4", 44)),
        cookie("pt_login_sig", hexOf(seed + "sig", 64)),
        cookie("ptui_loginuin", signIn.uin.toLatin1()),
        cookie("pt2gguin", uinCookie),
        cookie("uin", uinCookie),
        cookie("skey", signIn.skey.toLatin1()),
        cookie("p_uin", uinCookie),
        cookie("superuin", uinCookie),
        cookie("ptisp", "ctc"),
        cookie("qz_screen", "1920x1080"),
        cookie("QZ_FE_WEBP_SUPPORT", "1"),
        cookie("__Q_w_s_hat_seed", "1"),
        cookie("pgv_info", "ssid=s" + hexOf(seed + "ssid", 10)),
        cookie("Loading", "Yes"),
        cookie("zzpanelkey", hexOf(seed + "panel", 32)),
        cookie("cpu_performance_v8", "2"),
        cookie("rv2", hexOf(seed + "rv2", 42)),
        cookie("property20", hexOf(seed + "prop", 66)),
    };
    QMutexLocker lock(&m_mutex);
    m_issued.append(signIn);
    return signIn;
}

qsizetype SignInBook::indexOf(const QString &uinCookie, const QString &skey) const
{
    const QString uin = uinFromCookie(uinCookie);
    if (uin.isEmpty() || skey.isEmpty())
        return -1;
    for (qsizetype i = 0; i < m_issued.size(); ++i) {
        if (m_issued[i].uin == uin && m_issued[i].skey == skey)
            return i;
    }
    return -1;
}

bool SignInBook::isSignedIn(const QString &uinCookie, const QString &skey) const
{
    QMutexLocker lock(&m_mutex);
    return indexOf(uinCookie, skey) >= 0;
}

bool SignInBook::hasSignedIn(const QString &uin) const
{
    const QString number = normalUin(uin);
    QMutexLocker lock(&m_mutex);
    return std::any_of(m_issued.cbegin(), m_issued.cend(),
                       [&number](const SignIn &signIn) { return signIn.uin == number; });
}

QStringList SignInBook::skeysOf(const QString &uin) const
{
    const QString number = normalUin(uin);
    QMutexLocker lock(&m_mutex);
    QStringList keys;
    for (const SignIn &signIn : m_issued) {
        if (signIn.uin == number)
            keys.append(signIn.skey);
    }
    return keys;
}

QList<SignIn> SignInBook::all() const
{
    QMutexLocker lock(&m_mutex);
    return m_issued;
}

void SignInBook::clear()
{
    QMutexLocker lock(&m_mutex);
    m_issued.clear();
}

QString SignInBook::grant(const QString &uinCookie, const QString &skey, QString SignIn::*key, int length)
{
    QMutexLocker lock(&m_mutex);
    const qsizetype at = indexOf(uinCookie, skey);
    if (at < 0)
        return QString();
    QString &value = m_issued[at].*key;
    if (value.isEmpty())
        value = randomCookieText(length);
    return value;
}

QString SignInBook::grantPSkey(const QString &uinCookie, const QString &skey)
{
    return grant(uinCookie, skey, &SignIn::pSkey, 44);
}

QString SignInBook::grantPhotoKey(const QString &uinCookie, const QString &skey)
{
    return grant(uinCookie, skey, &SignIn::photoKey, 32);
}

QString SignInBook::pSkeyOf(const QString &uinCookie, const QString &skey) const
{
    QMutexLocker lock(&m_mutex);
    const qsizetype at = indexOf(uinCookie, skey);
    return at < 0 ? QString() : m_issued[at].pSkey;
}

bool SignInBook::isPhotoKey(const QString &value) const
{
    if (value.isEmpty())
        return false;
    QMutexLocker lock(&m_mutex);
    return std::any_of(m_issued.cbegin(), m_issued.cend(),
                       [&value](const SignIn &signIn) { return signIn.photoKey == value; });
}

} // namespace albivex::standin
