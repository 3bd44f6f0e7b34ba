#include "signin/ui/SignInDialog.h"

#include "signin/ui/SilentPage.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace albivex {

Form2::Form2(QWebEngineProfile &profile, const QUrl &signInPage, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("登录QQ"));
    setWindowIcon(QIcon());
    setModal(true);
    setFixedSize(ClientWidth, ClientHeight);

    Label1 = new QLabel(QStringLiteral("登录成功，正在获取信息.."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setFont(QFont(QStringLiteral("微软雅黑"), 10));
    Label1->setGeometry(0, 160, ClientWidth, 24); // 2400 twips from the top

    // Created after the notice, so it lies on top of it.
    WebBrowser1 = new QWebEngineView(this);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));
    WebBrowser1->setContextMenuPolicy(Qt::NoContextMenu);
    WebBrowser1->setPage(new SilentPage(&profile, WebBrowser1));
    WebBrowser1->setGeometry(BrowserGeometry());
    WebBrowser1->load(signInPage);
}

void Form2::showNotice()
{
    WebBrowser1->move(666, 666); // 9999 twips
    WebBrowser1->hide();
}

void Form2::showEvent(QShowEvent *event)
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
