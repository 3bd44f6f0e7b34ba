#pragma once

#include "standin/SignIn.h"

#include <QMutex>

namespace albivex::standin {

// Issues sign-ins and remembers each one with the keys given to it later. Thread-safe.
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

    // The p_skey of the sign-in these cookies belong to, made (44 random cookie
    // characters) on the first call and the same after; empty for no sign-in.
    QString grantPSkey(const QString &uinCookie, const QString &skey);
    // The p_skey granted to that sign-in; empty when none (yet).
    QString pSkeyOf(const QString &uinCookie, const QString &skey) const;
    // The qq_photo_key of that sign-in, made on the first call; empty for no sign-in.
    QString grantPhotoKey(const QString &uinCookie, const QString &skey);
    // True when some sign-in was given this qq_photo_key.
    bool isPhotoKey(const QString &value) const;

    static QString normalUin(const QString &text); // digits without leading zeros
    static QString uinFromCookie(const QString &uinCookie); // "o0012345" -> "12345"

private:
    // Index in m_issued of the sign-in with these cookies, or -1. Needs the lock.
    qsizetype indexOf(const QString &uinCookie, const QString &skey) const;
    QString grant(const QString &uinCookie, const QString &skey, QString SignIn::*key, int length);

    mutable QMutex m_mutex;
    QList<SignIn> m_issued;
};

} // namespace albivex::standin
