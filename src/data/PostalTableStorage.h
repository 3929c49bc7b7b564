#pragma once

#include "data/PageBuffer.h"
#include "data/PostalTable.h"

#include <cstdint>
#include <memory>

namespace torumin {

// How the table keeps its text, shared by the table and its builder.
//
// All text lives in one UTF-16 buffer as entries of a length followed by the
// units: one unit of length below 0xFFFF, otherwise 0xFFFF and the length in
// two more units (low half first). Entry 0 is the empty string. Each cell is
// the 32-bit position of its entry, row after row, kStoredColumnCount to a row. A field
// equal to its column's previous row points at the same entry, which is what
// keeps the prefecture and city columns, repeated in long runs, nearly free.
inline constexpr char16_t kLongTextLength = 0xFFFF;
inline constexpr std::uint32_t kEmptyTextEntry = 0;

struct PostalTable::Storage {
    PageBuffer text;   // char16_t entries
    PageBuffer cells;  // std::uint32_t positions
    int rows = 0;
    // The rows after these, as read from the second half of a list on a
    // thread of its own: kept as they were read, positions into their own
    // text, so that joining the halves copies nothing.
    std::unique_ptr<Storage> next;

    [[nodiscard]] int totalRows() const noexcept { return rows + (next ? next->rows : 0); }

    [[nodiscard]] const char16_t *textData() const noexcept
    {
        return reinterpret_cast<const char16_t *>(text.data());
    }
    [[nodiscard]] const std::uint32_t *cellData() const noexcept
    {
        return reinterpret_cast<const std::uint32_t *>(cells.data());
    }
};

} // namespace torumin
