#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace torumin {

// The main window toolbar's button layout as it is stored under "Toolbar": the
// indices (1 to 8) of the buttons shown, in the order shown, separated by
// commas, e.g. "1,2,3,4,5,6,7,8" for the designed layout or "2,5,1" for three
// buttons. "" is never stored for a layout; an empty toolbar is "0".
inline constexpr int kToolbarButtonCount = 8;

[[nodiscard]] std::vector<int> designedToolbarLayout();
[[nodiscard]] QString formatToolbarLayout(const std::vector<int> &buttons);
// Nothing for a value that is empty or not a layout of ours (a hand-edited
// store, an index out of range, a button twice): the toolbar then keeps the
// designed buttons.
[[nodiscard]] std::optional<std::vector<int>> parseToolbarLayout(const QString &text);

} // namespace torumin
