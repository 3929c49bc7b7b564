#include "ui/TwipsPlacement.h"

#include "app/WindowGeometry.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace torumin {

TwipsPlacement::TwipsPlacement()
    : m_dpi(QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->logicalDotsPerInch() : 96.0)
{
}

int TwipsPlacement::px(double twips) const
{
    return static_cast<int>(std::lround(twipsToPixels(twips, m_dpi)));
}

QRect TwipsPlacement::rect(double left, double top, double width, double height) const
{
    return {px(left), px(top), px(width), px(height)};
}

QSize TwipsPlacement::size(double width, double height) const
{
    return {px(width), px(height)};
}

} // namespace torumin
