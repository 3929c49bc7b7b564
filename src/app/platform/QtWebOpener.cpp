#include "app/platform/QtWebOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace torumin {

bool QtWebOpener::openUrl(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url));
}

} // namespace torumin
