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
// designed place. Its baseline lies where the designed font puts it, so a
// stand-in font with a taller line (the Japanese ones add a third of an em
// above the glyphs) does not push the text down into the next one; and it is
// grown where a stand-in is wider, since a clipped glyph looks broken.
QLabel *makeDrawnLabel(QWidget *parent, int index, const QString &text, const QFont &font, QRgb colour,
                       const QRect &designed);

} // namespace torumin
