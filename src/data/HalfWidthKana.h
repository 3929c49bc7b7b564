#pragma once

#include <string>
#include <string_view>

namespace torumin {

// The code page 932 edition of the list writes its readings in half-width
// katakana, the UTF-8 edition in full-width. Folding the latter back gives
// both editions the same table, so a reading saved or typed half-width finds
// either.
//
// The fold undoes Unicode's compatibility mapping of the half-width forms
// (NFKC): a full-width katakana or mark that has a half-width form becomes
// it, a voiced or semi-voiced one the base and ﾞ or ﾟ (ガ to ｶﾞ, ヴ to ｳﾞ,
// ー to ｰ, 「・」 to ｢･｣); the full-width Latin letters, digits and signs and
// the ideographic space become ASCII. Anything else, ヶ and ヰ included, which
// have no half-width form, stays as it is.

// True when foldToHalfWidth would change the text.
[[nodiscard]] bool hasHalfWidthForms(std::u16string_view text) noexcept;

// Appends the folded text to `out`: never more than two units for one.
void foldToHalfWidth(std::u16string_view text, std::u16string &out);

} // namespace torumin
