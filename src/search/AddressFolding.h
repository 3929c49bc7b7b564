#pragma once

#include <QString>
#include <QStringView>

namespace torumin {

// Addresses are written many ways; these fold the ways into one so that what
// was typed can be compared with the list's names. Both sides go through the
// same fold, so a fold only has to be consistent, not pretty.

// Full-width letters and digits become ASCII, half-width katakana becomes
// full-width, every hyphen and long-vowel mark becomes "-", and spaces go (a
// space between two digits becomes "-" so that 1 2 does not read as 12).
[[nodiscard]] QString foldAddressWidths(QStringView text);

// foldAddressWidths, and then: kanji numerals become decimal digits (一条 and
// 1条 meet as 1条, 二十四軒 and 24軒 as 24軒); ヶ ケ が ガ ヵ become ケ; の ノ 之
// become の, つ ツ; common old and variant kanji become the everyday one (髙 高,
// 﨑 崎, 邊 邉 辺, 澤 沢, 條 条 …). Folding twice changes nothing more.
[[nodiscard]] QString foldAddressVariants(QStringView text);

// Appends the variant fold of text to out, for building many keys in one
// buffer.
void appendFoldedAddress(QString &out, QStringView text);

} // namespace torumin
