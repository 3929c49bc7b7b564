#pragma once

#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

namespace torumin {

class PostalTable;

// The rows of the table by one key, postal code or city and town area,
// built once so that a batch of queries costs a look-up each rather than a
// pass over the list each. It answers as findCode and findAddress do, rows
// in file order, so the first row is the one the result box shows.
//
// The index refers to the table it was built from, which must outlive it.
class PostalIndex {
public:
    enum class Key { Code, KanjiNames, KanaNames };
    PostalIndex(const PostalTable &table, Key key);

    // Key::Code: every row whose postal code is exactly code.
    [[nodiscard]] std::vector<int> rowsOfCode(QStringView code) const;
    // Key::KanjiNames or KanaNames: every row whose city and town area are
    // exactly these, and whose prefecture is too unless it is empty.
    [[nodiscard]] std::vector<int> rowsOfAddress(QStringView prefecture, QStringView city, QStringView town) const;

private:
    // The rows in buckets, each bucket's rows in file order; a row's check
    // tells most rows of other keys in its bucket apart before their text
    // is compared.
    struct Entry {
        std::uint32_t check;
        int row;
    };
    template<typename Matches>
    [[nodiscard]] std::vector<int> rowsWith(std::uint32_t bucket, std::uint32_t check, Matches matches) const;

    const PostalTable &m_table;
    Key m_key;
    std::vector<std::uint32_t> m_starts;  // per bucket, its first entry; then the end
    std::unique_ptr<Entry[]> m_entries;
    std::vector<int> m_oddCodes;          // rows whose code is not seven ASCII digits
};

} // namespace torumin
