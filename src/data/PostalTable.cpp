#include "data/PostalTable.h"

#include "data/PostalTableStorage.h"

namespace torumin {

PostalTable::PostalTable() noexcept = default;
PostalTable::~PostalTable() = default;
PostalTable::PostalTable(PostalTable &&other) noexcept = default;
PostalTable &PostalTable::operator=(PostalTable &&other) noexcept = default;

int PostalTable::recordCount() const noexcept
{
    return m_storage ? m_storage->rows : 0;
}

QStringView PostalTable::field(PostalColumn column, int row) const noexcept
{
    const int columnIndex = static_cast<int>(column);
    if (!m_storage || row < 0 || row >= m_storage->rows || columnIndex < 0
        || columnIndex >= kStoredColumnCount)
        return {};
    const std::size_t cell = static_cast<std::size_t>(row) * kStoredColumnCount
        + static_cast<std::size_t>(columnIndex);
    const char16_t *entry = m_storage->textData() + m_storage->cellData()[cell];
    if (entry[0] != kLongTextLength)
        return QStringView(entry + 1, entry[0]);
    const std::uint32_t length = std::uint32_t{entry[1]} | (std::uint32_t{entry[2]} << 16);
    return QStringView(entry + 3, static_cast<qsizetype>(length));
}

std::size_t PostalTable::memoryBytes() const noexcept
{
    if (!m_storage)
        return 0;
    return sizeof(Storage) + m_storage->text.heldBytes() + m_storage->cells.heldBytes();
}

} // namespace torumin
