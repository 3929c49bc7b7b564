#pragma once

#include <QStringView>

namespace torumin {

// The one conversion of a stored text to a number, for every caller: "&H"
// hexadecimal with an optional trailing "&" (colours), otherwise the number the
// text begins with; anything that is not a number reads as 0.
double NumericValue(QStringView text) noexcept;

} // namespace torumin
