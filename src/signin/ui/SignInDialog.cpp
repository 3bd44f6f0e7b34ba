#include "signin/ui/SignInDialog.h"

#include "signin/ui/SilentPage.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace albivex {

SignInDialog::SignInDialog(QWebEngineProfile &profile, const QUrl &signInPage, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("登录QQ"));
    setWindowIcon(QIcon());
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);

    noticeLabel = new QLabel(QStringLiteral("登录成功，正在获取信息.."), this);
    noticeLabel->setTextFormat(Qt::PlainText);
    noticeLabel->setAlignment(Qt::AlignCenter);
    noticeLabel->setFont(QFont(QStringLiteral("微软雅黑"), 10));
    noticeLabel->setGeometry(0, 160, ClientWidth, 24); // 2400 twips from the top

    // Created after the notice, so it lies on top of it.
    browser = new QWebEngineView(this);
    browser->setContextMenuPolicy(Qt::NoContextMenu);
    browser->setPage(new SilentPage(&profile, browser));
    browser->setGeometry(browserGeometry());
    browser->load(signInPage);
    nameControls();
}

// Automation and the tests find the window and its controls by these names.
void SignInDialog::nameControls()
{
    setObjectName(QStringLiteral("Form2"));
    noticeLabel->setObjectName(QStringLiteral("Label1"));
    browser->setObjectName(QStringLiteral("WebBrowser1"));
}

void SignInDialog::showNotice()
{
    browser->move(666, 666); // 9999 twips
    browser->hide();
}

void SignInDialog::showEvent(QShowEvent *event)
{
    // Centred on the screen rather than over the main window.
    if (QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

} // namespace albivex
