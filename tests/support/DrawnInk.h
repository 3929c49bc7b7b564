#pragma once

#include <QImage>
#include <QLabel>

namespace torumin::testing {

// Where a transparent label's text is actually painted, in its parent's
// coordinates: the box around every pixel it draws.
inline QRect inkRect(QLabel &label)
{
    const QImage image = label.grab().toImage();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 0)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink.translated(label.pos());
}

// Empty when the label draws something and all of it lies within `designed`
// (a pixel of slack each side, for anti-aliasing); else where it lies.
inline QString inkOutside(QLabel &label, const QRect &designed)
{
    const QRect ink = inkRect(label);
    if (!ink.isEmpty() && designed.adjusted(-1, -1, 1, 1).contains(ink))
        return {};
    const auto text = [](const QRect &r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    return QStringLiteral("ink %1 outside %2").arg(text(ink), text(designed));
}

} // namespace torumin::testing
