#pragma once

#include <QString>
#include <QStringView>

namespace torumin {

class PostalTable;

// Which names an address search compares: kanji names or their half-width kana
// readings.
enum class AddressScript { Kanji, Kana };

inline const QString kCodeNotFound = QStringLiteral("指定の郵便番号に該当する 「住所」 は存在しません。　");
inline const QString kAddressNotFound = QStringLiteral("選択の住所に該当する 「郵便番号」 は存在しません。　");

// The first row in file order whose postal code is exactly code, or -1.
[[nodiscard]] int findCode(const PostalTable &table, QStringView code) noexcept;
// The first row in file order whose prefecture, city and town area are exactly
// these, or -1. Two prefectures share city names (府中市, 伊達市 and several
// readings), so the prefecture must match too; an empty prefecture matches any,
// as a city typed without one has always been found.
[[nodiscard]] int findAddress(const PostalTable &table, QStringView prefecture, QStringView city,
                              QStringView town, AddressScript script) noexcept;

// What the result box shows for a postal-code search: prefecture, city and
// town area joined; the not-found text; empty for an empty code.
[[nodiscard]] QString addressResultText(const PostalTable &table, const QString &code);
// What the result box shows for an address search: "nnn-nnnn", the not-found
// text, or empty when the city is empty.
[[nodiscard]] QString codeResultText(const PostalTable &table, const QString &prefecture, const QString &city,
                                     const QString &town, AddressScript script);

// "nnn-nnnn" from the first three and the last four characters of a code.
[[nodiscard]] QString hyphenatedCode(QStringView code);

} // namespace torumin
