#include "app/platform/WebOpener.h"

#include "app/platform/MessageBoxes.h"

namespace torumin {

void OpenWebPage(WebOpener &opener, MessageBoxes &boxes, const QString &url, const QString &missingText)
{
    if (!opener.openUrl(url))
        boxes.MsgBox(missingText, kStyleExclamationOk, kBrowserMissingTitle);
}

void OpenMail(WebOpener &opener, MessageBoxes &boxes, const QString &address)
{
    if (!opener.openUrl(QStringLiteral("mailto:") + address))
        boxes.MsgBox(kMailMissingText, kStyleExclamationOk, kMailMissingTitle);
}

} // namespace torumin
