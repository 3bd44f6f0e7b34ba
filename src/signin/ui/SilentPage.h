#pragma once

#include <QWebEnginePage>

namespace albivex {

// A page that never opens a box of its own: script alerts, confirmations and prompts
// are answered silently (confirm and prompt as cancelled), and console messages go
// nowhere, so nothing a page writes (its cookies included) reaches standard error.
class SilentPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                          QString *result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceID) override;
};

} // namespace albivex
