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

QPoint keptOnScreen(QPoint wanted, QSize size, QRect screen)
{
    return {slideInto(wanted.x(), size.width(), screen.left(), screen.width()),
            slideInto(wanted.y(), size.height(), screen.top(), screen.height())};
}

ListWindowPlace listWindowOnScreen(QRect frame, int listHeight, QRect screen)
{
    const int tooTall = std::max(0, frame.height() - screen.height());
    const int cut = std::min(tooTall, std::max(0, listHeight - 1));
    const QSize size(frame.width(), frame.height() - cut);
    return {QRect(keptOnScreen(frame.topLeft(), size, screen), size), listHeight - cut};
}

WholeRows wholeRows(int height, int chrome, int preferredRowHeight, int leastRows)
{
    const int room = std::max(1, height - chrome);
    const int rows = std::max({1, leastRows, room / std::max(1, preferredRowHeight)});
    const int rowHeight = std::max(1, room / rows);
    return {rows, rowHeight, chrome + rows * rowHeight};
}

namespace {

constexpr int kHelpGap = 8;
// Smaller than this the help is no use: better over the asker than there.
constexpr QSize kHelpSmallest(320, 200);

} // namespace

QRect helpWindowPlace(QSize preferred, QRect asker, QRect screen)
{
    const QSize wanted = preferred.boundedTo(screen.size());
    // The rooms of the screen clear of the asker, with a gap to it.
    const QRect right(QPoint(asker.right() + 1 + kHelpGap, screen.top()), screen.bottomRight());
    const QRect left(screen.topLeft(), QPoint(asker.left() - 1 - kHelpGap, screen.bottom()));
    const QRect below(QPoint(screen.left(), asker.bottom() + 1 + kHelpGap), screen.bottomRight());
    const QRect above(screen.topLeft(), QPoint(screen.right(), asker.top() - 1 - kHelpGap));
    // The help in a room: as large as wanted and the room allow, beside the
    // asker's edge that borders the room, level with the asker where it can be.
    const auto placeIn = [&](const QRect &room) {
        const QSize size = wanted.boundedTo(room.size());
        QPoint at;
        if (room == right || room == left) {
            at.setX(room == right ? room.left() : room.right() + 1 - size.width());
            at.setY(slideInto(asker.top(), size.height(), room.top(), room.height()));
        } else {
            at.setX(slideInto(asker.center().x() - size.width() / 2, size.width(), room.left(), room.width()));
            at.setY(room == below ? room.top() : room.bottom() + 1 - size.height());
        }
        return QRect(at, size);
    };
    const int leastWidth = std::min(kHelpLeastWidth, wanted.width());
    const int leastHeight = std::min(kHelpLeastHeight, wanted.height());
    for (const QRect &room : {right, left}) {
        if (room.width() >= leastWidth)
            return placeIn(room);
    }
    for (const QRect &room : {below, above}) {
        if (room.height() >= leastHeight)
            return placeIn(room);
    }
    QRect best;
    for (const QRect &room : {right, left, below, above}) {
        if (room.width() < kHelpSmallest.width() || room.height() < kHelpSmallest.height())
            continue;
        const QRect placed = placeIn(room);
        if (placed.width() * placed.height() > best.width() * best.height())
            best = placed;
    }
    if (!best.isEmpty())
        return best;
    // Nowhere clear of it: at the screen's edge farther from it, level with it.
    const int roomRight = screen.right() - asker.right();
    const int roomLeft = asker.left() - screen.left();
    const int x = roomRight >= roomLeft ? screen.right() + 1 - wanted.width() : screen.left();
    return {QPoint(x, slideInto(asker.top(), wanted.height(), screen.top(), screen.height())), wanted};
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
