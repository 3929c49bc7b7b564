#pragma once

#include <QColor>
#include <QFont>

#include <optional>

namespace torumin::UiFonts {

// The Windows fonts the windows were designed with, each followed by the
// Japanese fonts of later Windows (Yu Gothic UI, Meiryo, BIZ UDGothic, Yu
// Mincho) and those a Linux desktop has instead, so text never falls back to
// a font without kanji.
QFont pGothic(double pointSize);   // ＭＳ Ｐゴシック
QFont gothic(double pointSize);    // ＭＳ ゴシック (fixed pitch)
QFont uiGothic(double pointSize);  // MS UI Gothic
QFont mincho(double pointSize, bool bold);  // ＭＳ Ｐ明朝
QFont timesRoman(double pointSize);

// The ascent, in ems, of the Windows font a font above was designed with (its
// first family); nothing for any other font. A text placed by it keeps its
// designed baseline whatever font stands in.
std::optional<double> designedAscent(const QFont &font);

} // namespace torumin::UiFonts

namespace torumin {

// A stored colour (00BBGGRR, as text in either of its forms) as a QColor; a
// value that is not a colour reads as black.
QColor colourFromSetting(const QString &text);

} // namespace torumin
