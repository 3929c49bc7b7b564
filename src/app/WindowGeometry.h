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

// Where a window's frame of `size` goes when it is asked for at `wanted`:
// moved the least that puts it inside `screen`. A frame larger than the
// screen keeps its top-left corner on it.
[[nodiscard]] QPoint keptOnScreen(QPoint wanted, QSize size, QRect screen);

// A list window on its screen: the frame `frame` (top-left where it is
// stored), holding a list `listHeight` pixels tall. Too tall for the screen,
// the window loses list height (and so rows) until it fits; then it is moved
// the least that puts it on the screen.
struct ListWindowPlace {
    QRect frame;
    int listHeight = 0;
    friend bool operator==(const ListWindowPlace &, const ListWindowPlace &) = default;
};
[[nodiscard]] ListWindowPlace listWindowOnScreen(QRect frame, int listHeight, QRect screen);

// Whole rows in a list `height` pixels tall, `chrome` of them taken by its
// frame and scroll bar: rows of about `preferredRowHeight`, at least
// `leastRows` of them, made a little taller or tighter so that a whole number
// of them fills the room. The list's height is then the rows' and the
// chrome's: what is left over (under a pixel a row) comes off it.
struct WholeRows {
    int rows = 1;
    int rowHeight = 1;
    int listHeight = 0;
    friend bool operator==(const WholeRows &, const WholeRows &) = default;
};
[[nodiscard]] WholeRows wholeRows(int height, int chrome, int preferredRowHeight, int leastRows);

// Where the help window's frame goes so that it covers nothing of `asker`,
// the window whose controls it explains: beside it (right, then left) when
// there is room for a readable width there; else above or below it; else in
// the widest room the screen has clear of it, shrunk to that room. Only a
// screen with no such room at all gets the help over the asker, at the
// screen's edge away from it. `preferred` is the help's frame size; every
// rectangle is in screen coordinates.
inline constexpr int kHelpLeastWidth = 480;
inline constexpr int kHelpLeastHeight = 300;
[[nodiscard]] QRect helpWindowPlace(QSize preferred, QRect asker, QRect screen);

// The text a position is stored as: a whole number where it is one, otherwise
// up to seven significant digits.
[[nodiscard]] QString twipsText(double twips);

} // namespace torumin
