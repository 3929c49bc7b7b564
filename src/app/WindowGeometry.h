#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

namespace torumin {

// Window sizes and positions are kept in twips (1/1440 inch), as the stored
// settings are; they become pixels through the screen's logical DPI.
inline constexpr double kTwipsPerInch = 1440.0;

[[nodiscard]] double twipsPerPixel(double logicalDpi);
[[nodiscard]] double twipsToPixels(double twips, double logicalDpi);
[[nodiscard]] double pixelsToTwips(double pixels, double logicalDpi);

// The main window's outer size from the menu-bar option, the Windows version
// name and the appearance scheme.
[[nodiscard]] QSizeF mainWindowSizeTwips(const QString &optMBar, const QString &osName, const QString &scheme);

// The main window's default position at start-up: centred for a fixed
// 2900 x 1680 window, computed in single precision. x is left, y is top.
[[nodiscard]] QPointF centredMainPositionTwips(QSizeF screenTwips);

// The candidate window's default position, centred for its stored default size,
// in double precision.
[[nodiscard]] QPointF centredCandidatePositionTwips(QSizeF screenTwips, double windowHeight, double windowWidth);

// Where a dialog's frame goes so that it leaves `keep` (the owner's result
// box) in view: just below the owner's frame, else just above it, else beside
// it (right, then left), slid along the other edge to stay on the screen; when
// the owner's surroundings hold no room, the same around `keep` itself. With no
// room anywhere, centred over the owner. Every rectangle is in screen
// coordinates; the result is the frame's top-left, on the screen as far as the
// dialog fits on it.
[[nodiscard]] QPoint dialogPositionClearOf(QSize dialog, QRect owner, QRect keep, QRect screen);

// The text a position is stored as: a whole number where it is one, otherwise
// up to seven significant digits.
[[nodiscard]] QString twipsText(double twips);

} // namespace torumin
