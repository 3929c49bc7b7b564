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

} // namespace torumin::testing
