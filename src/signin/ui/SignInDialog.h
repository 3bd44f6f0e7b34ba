#pragma once

#include <QDialog>

class QLabel;
class QWebEngineProfile;
class QWebEngineView;

namespace albivex {

// The QQ sign-in window: QQ's own sign-in page in an embedded browser, set so that
// the page's top and left margins fall outside the window. Behind the browser lies
// the notice shown while the account's details are fetched after a sign-in.
class SignInDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 615; // 9225 twips at 15 twips per pixel
    static constexpr int ClientHeight = 344; // 5160 twips
    static constexpr QRect browserGeometry() { return QRect(-32, -24, 681, 409); }

    // The browser uses `profile` (which must outlive the window) and loads `signInPage`.
    SignInDialog(QWebEngineProfile &profile, const QUrl &signInPage, QWidget *parent = nullptr);

    // Moves the browser out of view and hides it, so that the notice shows.
    void showNotice();

    QWebEngineView *browser = nullptr;
    QLabel *noticeLabel = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void nameControls();
};

} // namespace albivex
