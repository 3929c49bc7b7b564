#pragma once

#include <QColor>
#include <QFont>

namespace torumin::UiFonts {

// The Windows fonts the windows were designed with, each followed by the
// Japanese fonts a Linux desktop has instead, so text never falls back to a
// font without kanji.
QFont pGothic(double pointSize);   // ＭＳ Ｐゴシック
QFont gothic(double pointSize);    // ＭＳ ゴシック (fixed pitch)
QFont uiGothic(double pointSize);  // MS UI Gothic
QFont mincho(double pointSize, bool bold);  // ＭＳ Ｐ明朝
QFont timesRoman(double pointSize);

} // namespace torumin::UiFonts

namespace torumin {

// A stored colour (00BBGGRR, as text in either of its forms) as a QColor; a
// value that is not a colour reads as black.
QColor colourFromSetting(const QString &text);

} // namespace torumin
