#pragma once

#include "data/PostalTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace torumin {

// Fills a PostalTable one record at a time for the list reader.
//
// Text is decoded straight into the table's buffer: beginText() hands out room
// for the largest possible result and endText() records how much of it the
// decoder used. A row becomes visible only at endRow(), so a record cut short
// by an error leaves no trace.
class PostalTableBuilder {
public:
    // The hints size the buffers so that a well-formed list never grows them;
    // a wrong hint only costs a copy.
    PostalTableBuilder(std::size_t textUnitsHint, std::size_t rowsHint);
    ~PostalTableBuilder();
    PostalTableBuilder(const PostalTableBuilder &) = delete;
    PostalTableBuilder &operator=(const PostalTableBuilder &) = delete;

    // False when memory ran out, here or in any call since.
    [[nodiscard]] bool isValid() const noexcept { return m_valid; }

    [[nodiscard]] bool beginRow() noexcept;
    void endRow() noexcept;
    [[nodiscard]] int rowCount() const noexcept;

    // Room for up to `maxUnits` units of text, or null when memory ran out.
    [[nodiscard]] char16_t *beginText(std::size_t maxUnits) noexcept;
    // Makes the `units` written after beginText() the current row's cell.
    void endText(int column, std::size_t units) noexcept;
    void setEmpty(int column) noexcept;
    // The current row shares the previous row's text in this column.
    void repeatPrevious(int column) noexcept;

    // Takes the rows of `tail`, a table read from the rest of the same list,
    // as the rows after those ended so far; no row can be added after them.
    // False, leaving both as they were, when a row is open or either has
    // rows appended already.
    [[nodiscard]] bool appendRows(PostalTable &&tail) noexcept;

    // The table of all rows ended so far; the builder is spent afterwards.
    [[nodiscard]] PostalTable finish() noexcept;

private:
    [[nodiscard]] std::uint32_t *cells() noexcept;
    [[nodiscard]] bool reserveText(std::size_t units) noexcept;
    [[nodiscard]] bool reserveRows(std::size_t rows) noexcept;

    std::unique_ptr<PostalTable::Storage> m_storage;
    std::size_t m_textUsed = 0;      // units
    std::size_t m_rowCapacity = 0;
    std::size_t m_rowTextStart = 0;
    std::size_t m_pendingPrefix = 0; // units reserved for the length by beginText()
    bool m_rowOpen = false;
    bool m_valid = true;
};

} // namespace torumin
