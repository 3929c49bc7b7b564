#include "data/PostalTableBuilder.h"

#include "data/PostalTableStorage.h"

#include <algorithm>
#include <limits>

namespace torumin {

namespace {

constexpr std::size_t kUnitBytes = sizeof(char16_t);
constexpr std::size_t kRowBytes = sizeof(std::uint32_t) * kStoredColumnCount;
// Positions are 32-bit; the reader's file size limit keeps far below this.
constexpr std::size_t kMaxTextUnits = std::numeric_limits<std::uint32_t>::max();

constexpr std::size_t lengthPrefixUnits(std::size_t maxUnits)
{
    return maxUnits < kLongTextLength ? 1 : 3;
}

} // namespace

PostalTableBuilder::PostalTableBuilder(std::size_t textUnitsHint, std::size_t rowsHint)
    : m_storage(std::make_unique<PostalTable::Storage>())
{
    const std::size_t textUnits = std::max<std::size_t>(textUnitsHint, 64);
    m_rowCapacity = std::max<std::size_t>(rowsHint, 16);
    m_valid = m_storage->text.allocate(textUnits * kUnitBytes)
        && m_storage->cells.allocate(m_rowCapacity * kRowBytes);
    if (m_valid) {
        reinterpret_cast<char16_t *>(m_storage->text.data())[kEmptyTextEntry] = 0;
        m_textUsed = 1;
    }
}

PostalTableBuilder::~PostalTableBuilder() = default;

std::uint32_t *PostalTableBuilder::cells() noexcept
{
    return reinterpret_cast<std::uint32_t *>(m_storage->cells.data());
}

int PostalTableBuilder::rowCount() const noexcept
{
    return m_storage ? m_storage->rows : 0;
}

bool PostalTableBuilder::beginRow() noexcept
{
    // Rows ended now would come after those appended.
    if (!m_valid || m_storage->next)
        return false;
    if (!reserveRows(static_cast<std::size_t>(m_storage->rows) + 1)) {
        m_valid = false;
        return false;
    }
    m_rowTextStart = m_textUsed;
    m_rowOpen = true;
    return true;
}

bool PostalTableBuilder::reserveRows(std::size_t rows) noexcept
{
    if (rows <= m_rowCapacity)
        return true;
    const std::size_t wanted = std::max(rows, m_rowCapacity * 2);
    if (!m_storage->cells.grow(wanted * kRowBytes, static_cast<std::size_t>(m_storage->rows) * kRowBytes))
        return false;
    m_rowCapacity = wanted;
    return true;
}

bool PostalTableBuilder::reserveText(std::size_t units) noexcept
{
    if (units > kMaxTextUnits)
        return false;
    const std::size_t capacityUnits = m_storage->text.capacity() / kUnitBytes;
    if (units <= capacityUnits)
        return true;
    const std::size_t wanted = std::min(std::max(units, capacityUnits * 2), kMaxTextUnits);
    return m_storage->text.grow(wanted * kUnitBytes, m_textUsed * kUnitBytes);
}

void PostalTableBuilder::endRow() noexcept
{
    m_rowOpen = false;
    ++m_storage->rows;
}

char16_t *PostalTableBuilder::beginText(std::size_t maxUnits) noexcept
{
    if (!m_valid)
        return nullptr;
    m_pendingPrefix = lengthPrefixUnits(maxUnits);
    if (!reserveText(m_textUsed + m_pendingPrefix + maxUnits)) {
        m_valid = false;
        return nullptr;
    }
    return reinterpret_cast<char16_t *>(m_storage->text.data()) + m_textUsed + m_pendingPrefix;
}

void PostalTableBuilder::endText(int column, std::size_t units) noexcept
{
    if (units == 0) {
        setEmpty(column);
        return;
    }
    char16_t *entry = reinterpret_cast<char16_t *>(m_storage->text.data()) + m_textUsed;
    if (m_pendingPrefix == 1) {
        entry[0] = static_cast<char16_t>(units);
    } else {
        entry[0] = kLongTextLength;
        entry[1] = static_cast<char16_t>(units & 0xFFFF);
        entry[2] = static_cast<char16_t>(units >> 16);
    }
    const auto row = static_cast<std::size_t>(m_storage->rows);
    cells()[row * kStoredColumnCount + static_cast<std::size_t>(column)] =
        static_cast<std::uint32_t>(m_textUsed);
    m_textUsed += m_pendingPrefix + units;
}

void PostalTableBuilder::setEmpty(int column) noexcept
{
    const auto row = static_cast<std::size_t>(m_storage->rows);
    cells()[row * kStoredColumnCount + static_cast<std::size_t>(column)] = kEmptyTextEntry;
}

void PostalTableBuilder::repeatPrevious(int column) noexcept
{
    const auto cell = static_cast<std::size_t>(m_storage->rows) * kStoredColumnCount
        + static_cast<std::size_t>(column);
    cells()[cell] = cells()[cell - kStoredColumnCount];
}

bool PostalTableBuilder::appendRows(PostalTable &&tail) noexcept
{
    if (!m_valid || m_rowOpen || m_storage->next)
        return false;
    if (tail.m_storage && tail.m_storage->next)
        return false;
    if (tail.m_storage && tail.m_storage->rows > 0)
        m_storage->next = std::move(tail.m_storage);
    return true;
}

PostalTable PostalTableBuilder::finish() noexcept
{
    PostalTable table;
    if (!m_storage)
        return table;
    // A row that never ended was cut short by an error: its text goes with
    // the unused tail.
    if (m_rowOpen)
        m_textUsed = m_rowTextStart;
    const auto rows = static_cast<std::size_t>(m_storage->rows);
    m_storage->text.shrinkTo(m_textUsed * kUnitBytes);
    m_storage->cells.shrinkTo(rows * kRowBytes);
    table.m_storage = std::move(m_storage);
    return table;
}

} // namespace torumin
