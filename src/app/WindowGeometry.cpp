#include "app/WindowGeometry.h"

#include <algorithm>
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

namespace {

// The start of a span of `length` pushed inside [low, low + room), or at low
// when it is longer than that.
int slideInto(int start, int length, int low, int room)
{
    return std::max(low, std::min(start, low + room - length));
}

} // namespace

QPoint dialogPositionClearOf(QSize dialog, QRect owner, QRect keep, QRect screen)
{
    const int w = dialog.width();
    const int h = dialog.height();
    const auto fits = [&](QPoint topLeft) {
        const QRect placed(topLeft, dialog);
        return screen.contains(placed) && !placed.intersects(keep);
    };
    for (const QRect &anchor : {owner, keep}) {
        const int x = slideInto(anchor.center().x() - w / 2, w, screen.left(), screen.width());
        const int y = slideInto(anchor.center().y() - h / 2, h, screen.top(), screen.height());
        for (const QPoint candidate : {QPoint(x, anchor.bottom() + 1), QPoint(x, anchor.top() - h),
                                       QPoint(anchor.right() + 1, y), QPoint(anchor.left() - w, y)}) {
            if (fits(candidate))
                return candidate;
        }
    }
    return {slideInto(owner.center().x() - w / 2, w, screen.left(), screen.width()),
            slideInto(owner.center().y() - h / 2, h, screen.top(), screen.height())};
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
