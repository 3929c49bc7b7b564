#include "data/PostalTable.h"

#include "data/PostalTableStorage.h"

namespace torumin {

PostalTable::PostalTable() noexcept = default;
PostalTable::~PostalTable() = default;
PostalTable::PostalTable(PostalTable &&other) noexcept = default;
PostalTable &PostalTable::operator=(PostalTable &&other) noexcept = default;

int PostalTable::recordCount() const noexcept
{
    return m_storage ? m_storage->totalRows() : 0;
}

QStringView PostalTable::field(PostalColumn column, int row) const noexcept
{
    const int columnIndex = static_cast<int>(column);
    if (!m_storage || row < 0 || columnIndex < 0 || columnIndex >= kStoredColumnCount)
        return {};
    const Storage *part = m_storage.get();
    if (row >= part->rows && part->next) {
        row -= part->rows;
        part = part->next.get();
    }
    if (row >= part->rows)
        return {};
    const std::size_t cell = static_cast<std::size_t>(row) * kStoredColumnCount
        + static_cast<std::size_t>(columnIndex);
    const char16_t *entry = part->textData() + part->cellData()[cell];
    if (entry[0] != kLongTextLength)
        return QStringView(entry + 1, entry[0]);
    const std::uint32_t length = std::uint32_t{entry[1]} | (std::uint32_t{entry[2]} << 16);
    return QStringView(entry + 3, static_cast<qsizetype>(length));
}

std::size_t PostalTable::memoryBytes() const noexcept
{
    std::size_t bytes = 0;
    for (const Storage *part = m_storage.get(); part; part = part->next.get())
        bytes += sizeof(Storage) + part->text.heldBytes() + part->cells.heldBytes();
    return bytes;
}

} // namespace torumin
