#include "signin/ui/SilentPage.h"

namespace albivex {

void SilentPage::javaScriptAlert(const QUrl &, const QString &) { }

bool SilentPage::javaScriptConfirm(const QUrl &, const QString &)
{
    return false;
}

bool SilentPage::javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *)
{
    return false;
}

void SilentPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &, int,
                                          const QString &)
{ }

} // namespace albivex
