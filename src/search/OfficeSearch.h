#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace torumin {

class OfficeTable;
class PostalTable;

// The first office in file order whose own postal code is exactly `code`, or
// -1. A code serves several offices now and then; the first is the one shown,
// as for the postal list.
[[nodiscard]] int findOfficeCode(const OfficeTable &offices, QStringView code) noexcept;

// "東京都千代田区丸の内２丁目７－２": prefecture, city, town area and the rest.
[[nodiscard]] QString officeAddress(const OfficeTable &offices, int row);
// What a postal-code search shows for an office's code: its address, U+3000
// and its name.
[[nodiscard]] QString officeResultText(const OfficeTable &offices, int row);
// What the result box shows for a postal-code search over both lists: the
// postal list's address, else an office's (officeResultText) when only the
// office list has the code, else the not-found text; empty for an empty code.
[[nodiscard]] QString addressResultText(const PostalTable &table, const OfficeTable &offices, const QString &code);
// A line of the office-name search: "〒100-8994　東京中央郵便局　" and the address.
[[nodiscard]] QString officeLine(const OfficeTable &offices, int row);

// An office name as people type it and as the list writes it, made
// comparable: full-width and half-width forms alike (NFKC), hiragana as
// katakana, letters in one case, no spaces, and the company forms 株式会社,
// （株）, ㈱ (and 有限会社, （有）, ㈲) left out, as people write one or
// another or none.
[[nodiscard]] QString foldOfficeName(QStringView name);

// Finds offices by part of their name, or of its reading where the list has
// one, folded as above. Built once per list: a keystroke then costs one pass
// over the folded names.
class OfficeNameIndex {
public:
    OfficeNameIndex() = default;
    explicit OfficeNameIndex(const OfficeTable &offices);

    // Rows in file order whose folded name or reading contains the folded
    // text; every row for a text that folds to nothing.
    [[nodiscard]] std::vector<int> find(QStringView text) const;
    [[nodiscard]] int size() const noexcept { return static_cast<int>(m_names.size()); }

private:
    std::vector<QString> m_names;
    std::vector<QString> m_readings;
};

} // namespace torumin
