#pragma once

#include <QStringView>

#include <cstddef>
#include <memory>

namespace torumin {

// The fields of a list record the program keeps: the seven that the searches
// and windows use (fields 3 to 9, in the list's order), then the
// local-government code (field 1), which only torumin-query gives out.
enum class PostalColumn : int {
    ZipCode,
    PrefKana,
    CityKana,
    TownKana,
    PrefName,
    CityName,
    TownName,
    LocalGovernmentCode
};
inline constexpr int kPostalColumnCount = 7;   // ZipCode to TownName
inline constexpr int kStoredColumnCount = 8;   // and LocalGovernmentCode

// The in-memory postal record table: every record of one list file, in file
// order. Reading a row outside 0..recordCount()-1 gives the empty string, which
// the pick lists rely on to find the end of the last run.
//
// Built only by the list reader; move-only, since a copy of the nationwide list
// is never wanted by accident.
class PostalTable {
public:
    PostalTable() noexcept;
    ~PostalTable();
    PostalTable(PostalTable &&other) noexcept;
    PostalTable &operator=(PostalTable &&other) noexcept;
    PostalTable(const PostalTable &) = delete;
    PostalTable &operator=(const PostalTable &) = delete;

    [[nodiscard]] int recordCount() const noexcept;
    [[nodiscard]] QStringView field(PostalColumn column, int row) const noexcept;

    [[nodiscard]] QStringView zipCode(int row) const noexcept { return field(PostalColumn::ZipCode, row); }
    [[nodiscard]] QStringView prefKana(int row) const noexcept { return field(PostalColumn::PrefKana, row); }
    [[nodiscard]] QStringView cityKana(int row) const noexcept { return field(PostalColumn::CityKana, row); }
    [[nodiscard]] QStringView townKana(int row) const noexcept { return field(PostalColumn::TownKana, row); }
    [[nodiscard]] QStringView prefName(int row) const noexcept { return field(PostalColumn::PrefName, row); }
    [[nodiscard]] QStringView cityName(int row) const noexcept { return field(PostalColumn::CityName, row); }
    [[nodiscard]] QStringView townName(int row) const noexcept { return field(PostalColumn::TownName, row); }
    [[nodiscard]] QStringView localGovernmentCode(int row) const noexcept
    {
        return field(PostalColumn::LocalGovernmentCode, row);
    }

    // Bytes of memory the table holds (text buffers and offsets), for the
    // memory budget and the benchmark.
    [[nodiscard]] std::size_t memoryBytes() const noexcept;

private:
    friend class PostalTableBuilder;
    struct Storage;
    std::unique_ptr<Storage> m_storage;
};

} // namespace torumin
