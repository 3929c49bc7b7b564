#include "app/WindowGeometry.h"

#include <cmath>

namespace torumin {

double twipsPerPixel(double logicalDpi)
{
    return logicalDpi > 0 ? kTwipsPerInch / logicalDpi : 15.0;
}

double twipsToPixels(double twips, double logicalDpi)
{
    return twips / twipsPerPixel(logicalDpi);
}

double pixelsToTwips(double pixels, double logicalDpi)
{
    return pixels * twipsPerPixel(logicalDpi);
}

QSizeF mainWindowSizeTwips(const QString &optMBar, const QString &osName, const QString &scheme)
{
    const bool menuBar = optMBar == QLatin1String("1");
    const bool xp = osName == QLatin1String("Windows XP");
    if (menuBar) {
        if (xp)
            return scheme.isEmpty() ? QSizeF(2900, 1980) : QSizeF(2900, 1840);
        return {2880, 1840};
    }
    if (xp)
        return scheme.isEmpty() ? QSizeF(2920, 1670) : QSizeF(2920, 1530);
    return {2900, 1530};
}

QPointF centredMainPositionTwips(QSizeF screenTwips)
{
    const float top = (static_cast<float>(screenTwips.height()) - 1680.0f) / 2.0f;
    const float left = (static_cast<float>(screenTwips.width()) - 2900.0f) / 2.0f;
    return {static_cast<double>(left), static_cast<double>(top)};
}

QPointF centredCandidatePositionTwips(QSizeF screenTwips, double windowHeight, double windowWidth)
{
    return {(screenTwips.width() - windowWidth) / 2.0, (screenTwips.height() - windowHeight) / 2.0};
}

QString twipsText(double twips)
{
    if (!std::isfinite(twips))
        return QStringLiteral("0");
    if (twips == std::floor(twips) && std::fabs(twips) < 1e15)
        return QString::number(static_cast<long long>(twips));
    return QString::number(twips, 'g', 7);
}

} // namespace torumin
