#pragma once

#include <QString>
#include <QStringView>

namespace torumin {

// The list keeps its readings in half-width katakana, while people (and input
// methods) write full-width katakana; these turn one into the other. A voiced
// or semi-voiced full-width kana becomes two half-width characters (ガ → ｶﾞ)
// and back. Everything else passes unchanged, but that the half-width way
// also makes full-width letters, digits and spaces ASCII, as loading does.
[[nodiscard]] QString toHalfWidthKatakana(QStringView text);
[[nodiscard]] QString toFullWidthKatakana(QStringView text);

} // namespace torumin
