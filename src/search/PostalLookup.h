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

// A name as the table writes it in this script: a kana reading in the list's
// half-width form, however it was typed (input methods give full-width
// katakana, ヴ and ー included); a kanji name as it is.
[[nodiscard]] QString listForm(QStringView name, AddressScript script);

// The first row in file order whose postal code is exactly code, or -1.
[[nodiscard]] int findCode(const PostalTable &table, QStringView code) noexcept;
// The first row in file order whose prefecture, city and town area are these
// (kana in the list's form), or -1. Two prefectures share city names (府中市,
// 伊達市 and several readings), so the prefecture must match too; an empty
// prefecture matches any, as a city typed without one has always been found.
[[nodiscard]] int findAddress(const PostalTable &table, QStringView prefecture, QStringView city,
                              QStringView town, AddressScript script);
// The row an address search shows. One city can list a town name more than
// once, each with its own code (札幌市中央区 大通西, 京都市中京区 中之町): a
// town picked from the list names its row, `picked`, which is taken when it is
// a row of this address. A typed town (picked -1), or a row that no longer
// fits the names, gets findAddress's first row.
[[nodiscard]] int addressRow(const PostalTable &table, QStringView prefecture, QStringView city, QStringView town,
                             AddressScript script, int picked);

// What the result box shows for a postal-code search: prefecture, city and
// town area joined; the not-found text; empty for an empty code.
[[nodiscard]] QString addressResultText(const PostalTable &table, const QString &code);
// What the result box shows for an address search: "nnn-nnnn" of addressRow,
// the not-found text, or empty when the city is empty.
[[nodiscard]] QString codeResultText(const PostalTable &table, const QString &prefecture, const QString &city,
                                     const QString &town, AddressScript script, int picked = -1);

// "nnn-nnnn" from the first three and the last four characters of a code.
[[nodiscard]] QString hyphenatedCode(QStringView code);

} // namespace torumin
