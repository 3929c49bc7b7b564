#pragma once

#include <QColor>
#include <QRect>
#include <QString>

class QFont;
class QLabel;
class QWidget;

namespace torumin {

void setTextColour(QWidget *widget, QRgb colour);

// One copy of a text the splash and About windows draw twice (the second copy,
// offset, makes the shadow): a transparent label named "Label1_<index>" at its
// designed place, grown where a fallback font is wider than the design's,
// since a clipped glyph looks broken.
QLabel *makeDrawnLabel(QWidget *parent, int index, const QString &text, const QFont &font, QRgb colour,
                       const QRect &designed);

} // namespace torumin
