#pragma once

#include <QImage>
#include <QString>

namespace albivex {

// The account area of the main window as the sign-in and sign-out see it: the QQ
// number, the nickname, the sign-in button's caption and the avatar.
class AccountView
{
public:
    virtual ~AccountView() = default;

    virtual QString signInCaption() const = 0;
    virtual void showAccount(const QString &number, const QString &nickname, const QString &signInCaption)
        = 0;
    // The picture stretched to the avatar box over white.
    virtual void setAvatar(const QImage &picture) = 0;
    // The avatar the window opened with.
    virtual void resetAvatar() = 0;
    // A clickable avatar acts as the sign-in button.
    virtual void setAvatarClickable(bool clickable) = 0;
    virtual void setStatusText(const QString &text) = 0;
};

} // namespace albivex
