#pragma once

#include "data/PostalListReader.h"
#include "data/PostalTable.h"

#include <QString>
#include <QStringView>

#include <optional>
#include <string_view>

namespace torumin {

// The large offices and post-office boxes with a postal code of their own
// (the postal service's JIGYOSYO.CSV), in file order. A row outside
// 0..recordCount()-1 reads as empty, as the postal table's do.
class OfficeTable {
public:
    OfficeTable() noexcept = default;
    // The rows as the reader keeps them for kOfficeListLayout.
    explicit OfficeTable(PostalTable rows) noexcept : m_rows(std::move(rows)) {}

    [[nodiscard]] int recordCount() const noexcept { return m_rows.recordCount(); }

    // The name's reading in half-width kana; empty where the list has none.
    [[nodiscard]] QStringView reading(int row) const noexcept { return at(0, row); }
    [[nodiscard]] QStringView name(int row) const noexcept { return at(1, row); }
    [[nodiscard]] QStringView prefName(int row) const noexcept { return at(2, row); }
    [[nodiscard]] QStringView cityName(int row) const noexcept { return at(3, row); }
    [[nodiscard]] QStringView townName(int row) const noexcept { return at(4, row); }
    // Block, number, building: "２丁目７－２".
    [[nodiscard]] QStringView rest(int row) const noexcept { return at(5, row); }
    [[nodiscard]] QStringView code(int row) const noexcept { return at(6, row); }
    [[nodiscard]] QStringView localGovernmentCode(int row) const noexcept
    {
        return m_rows.field(PostalColumn::LocalGovernmentCode, row);
    }

    [[nodiscard]] std::size_t memoryBytes() const noexcept { return m_rows.memoryBytes(); }

private:
    [[nodiscard]] QStringView at(int column, int row) const noexcept
    {
        return m_rows.field(static_cast<PostalColumn>(column), row);
    }

    PostalTable m_rows;
};

struct OfficeReadResult {
    OfficeTable table;
    std::optional<ListError> error;
};

// Read by the same rules as the postal-code list (readListFile): zip or CSV,
// CP932 or UTF-8, one record of thirteen fields a line.
OfficeReadResult readOfficeListFile(const QString &path);
OfficeReadResult readOfficeListBytes(std::string_view bytes, const QString &nameForMessages);

} // namespace torumin
