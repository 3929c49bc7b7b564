#pragma once

#include <QRect>
#include <QSize>

namespace torumin {

// Places controls by the twips their windows were designed in, at the
// screen's logical DPI.
class TwipsPlacement {
public:
    TwipsPlacement();  // the primary screen's DPI
    explicit TwipsPlacement(double logicalDpi) : m_dpi(logicalDpi) {}

    [[nodiscard]] int px(double twips) const;
    [[nodiscard]] QRect rect(double left, double top, double width, double height) const;
    [[nodiscard]] QSize size(double width, double height) const;
    [[nodiscard]] double dpi() const { return m_dpi; }

private:
    double m_dpi;
};

} // namespace torumin
