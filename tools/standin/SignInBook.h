#pragma once

#include "standin/SignIn.h"

#include <QMultiHash>
#include <QMutex>

namespace albivex::standin {

// Issues sign-ins and remembers every skey and the number it belongs to. Thread-safe.
class SignInBook
{
public:
    // A new sign-in for the number (digits; leading zeros are dropped) with a fresh skey.
    SignIn issue(const QString &uin);
    // True when the cookie values belong to one issued sign-in. `uinCookie` is the
    // value of the uin cookie ("o" + padded number).
    bool isSignedIn(const QString &uinCookie, const QString &skey) const;
    bool hasSignedIn(const QString &uin) const;
    QStringList skeysOf(const QString &uin) const; // oldest first
    QList<SignIn> all() const; // every sign-in issued, oldest first
    void clear();

    static QString normalUin(const QString &text); // digits without leading zeros
    static QString uinFromCookie(const QString &uinCookie); // "o0012345" -> "12345"

private:
    mutable QMutex m_mutex;
    QMultiHash<QString, QString> m_skeys; // uin -> skey
    QList<SignIn> m_issued;
};

} // namespace albivex::standin
