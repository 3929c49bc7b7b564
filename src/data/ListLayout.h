#pragma once

#include "data/PostalTable.h"

#include <array>

namespace torumin {

// The two lists the postal service publishes: the nationwide postal-code
// list (KEN_ALL.CSV) and the list of large offices' own codes
// (JIGYOSYO.CSV). One reader reads both; this says how they differ.
enum class ListKind { Postal, Office };

struct ListLayout {
    ListKind kind;
    int fields;      // per record, one record a line
    int firstKept;   // index of the first of the kPostalColumnCount kept fields
    // Which kept fields are half-width kana readings, folded to half-width
    // when a UTF-8 list writes them full-width.
    std::array<bool, kPostalColumnCount> readings;
    // Fields of fixed form, by index: a list with anything else there is not
    // this list, however well its lines are shaped.
    int postalCodeField;          // seven digits
    int localGovernmentCodeField; // five digits
};

// Fields 3 to 9 kept: code, three readings, three names.
inline constexpr ListLayout kPostalListLayout{ListKind::Postal, 15, 2, {false, true, true, true, false, false, false}, 2, 0};
// Fields 2 to 8 kept: the name's reading, the name, prefecture, city, town
// area, the rest of the address, code (see OfficeTable).
inline constexpr ListLayout kOfficeListLayout{ListKind::Office, 13, 1, {true, false, false, false, false, false, false}, 7, 0};

[[nodiscard]] constexpr const ListLayout &layoutOf(ListKind kind) noexcept
{
    return kind == ListKind::Office ? kOfficeListLayout : kPostalListLayout;
}

} // namespace torumin
