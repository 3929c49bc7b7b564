#include "search/PostalIndex.h"

#include "data/PostalTable.h"

#include <QHashFunctions>

#include <optional>

namespace torumin {

namespace {

// A code's bucket is its first five digits, and its check the whole code:
// nothing to hash, and a bucket holds a few rows at most.
constexpr std::uint32_t kCodeBuckets = 100000;
constexpr int kNameBucketBits = 17;

std::optional<std::uint32_t> sevenDigits(QStringView code)
{
    if (code.size() != 7)
        return std::nullopt;
    std::uint32_t value = 0;
    for (const QChar ch : code) {
        if (ch < u'0' || ch > u'9')
            return std::nullopt;
        value = value * 10 + (ch.unicode() - u'0');
    }
    return value;
}

struct Place {
    std::uint32_t bucket;
    std::uint32_t check;
};

Place namesPlace(QStringView city, QStringView town)
{
    const auto hash = static_cast<std::uint64_t>(qHashMulti(0, city, town));
    const std::uint64_t mixed = hash * 0x9E3779B97F4A7C15ULL;
    return {static_cast<std::uint32_t>(mixed >> (64 - kNameBucketBits)), static_cast<std::uint32_t>(mixed)};
}

PostalColumn column(PostalIndex::Key key, PostalColumn kanji, PostalColumn kana)
{
    return key == PostalIndex::Key::KanaNames ? kana : kanji;
}

} // namespace

PostalIndex::PostalIndex(const PostalTable &table, Key key)
    : m_table(table)
    , m_key(key)
{
    const int rows = table.recordCount();
    const PostalColumn city = column(key, PostalColumn::CityName, PostalColumn::CityKana);
    const PostalColumn town = column(key, PostalColumn::TownName, PostalColumn::TownKana);
    std::vector<Place> places(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row) {
        Place &place = places[static_cast<std::size_t>(row)];
        if (key != Key::Code) {
            place = namesPlace(table.field(city, row), table.field(town, row));
        } else if (const std::optional<std::uint32_t> code = sevenDigits(table.zipCode(row))) {
            place = {*code / 100, *code};
        } else {
            place = {kCodeBuckets, 0};  // in no bucket
            m_oddCodes.push_back(row);
        }
    }
    // A counting sort: stable, so each bucket keeps file order.
    const std::uint32_t buckets = key == Key::Code ? kCodeBuckets : std::uint32_t{1} << kNameBucketBits;
    m_starts.assign(buckets + 2, 0);
    for (const Place &place : places) {
        if (place.bucket < buckets)
            ++m_starts[place.bucket + 2];
    }
    for (std::size_t i = 2; i < m_starts.size(); ++i)
        m_starts[i] += m_starts[i - 1];
    // Every entry is written below: no need to clear them first.
    m_entries = std::make_unique_for_overwrite<Entry[]>(static_cast<std::size_t>(rows) - m_oddCodes.size());
    for (int row = 0; row < rows; ++row) {
        const Place &place = places[static_cast<std::size_t>(row)];
        if (place.bucket < buckets)
            m_entries[m_starts[place.bucket + 1]++] = {place.check, row};
    }
    m_starts.pop_back();
}

template<typename Matches>
std::vector<int> PostalIndex::rowsWith(std::uint32_t bucket, std::uint32_t check, Matches matches) const
{
    std::vector<int> rows;
    for (std::uint32_t i = m_starts[bucket]; i < m_starts[bucket + 1]; ++i) {
        const Entry &entry = m_entries[i];
        if (entry.check == check && matches(entry.row))
            rows.push_back(entry.row);
    }
    return rows;
}

std::vector<int> PostalIndex::rowsOfCode(QStringView code) const
{
    if (m_key != Key::Code)
        return {};
    // The check is the whole code, and only seven-digit codes are in the
    // buckets: an equal check is an equal code.
    if (const std::optional<std::uint32_t> digits = sevenDigits(code))
        return rowsWith(*digits / 100, *digits, [](int) { return true; });
    std::vector<int> rows;
    for (const int row : m_oddCodes) {
        if (m_table.zipCode(row) == code)
            rows.push_back(row);
    }
    return rows;
}

std::vector<int> PostalIndex::rowsOfAddress(QStringView prefecture, QStringView city, QStringView town) const
{
    if (m_key == Key::Code)
        return {};
    const PostalColumn prefColumn = column(m_key, PostalColumn::PrefName, PostalColumn::PrefKana);
    const PostalColumn cityColumn = column(m_key, PostalColumn::CityName, PostalColumn::CityKana);
    const PostalColumn townColumn = column(m_key, PostalColumn::TownName, PostalColumn::TownKana);
    const Place place = namesPlace(city, town);
    return rowsWith(place.bucket, place.check, [&](int row) {
        return m_table.field(townColumn, row) == town && m_table.field(cityColumn, row) == city
            && (prefecture.isEmpty() || m_table.field(prefColumn, row) == prefecture);
    });
}

} // namespace torumin
