#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <string_view>
#include <vector>

namespace torumin {

class PostalTable;

// Tells which row of the list an address names, written the way people write
// addresses: with or without the prefecture or the county (郡), the ward of a
// designated city or not, with block numbers, building names, spaces, 大字/字,
// Kyoto's street directions, and every variant foldAddressVariants makes one.
//
// The names are folded and indexed once, by prefecture and city, so that each
// address costs microseconds rather than a pass over the list. The matcher
// refers to the table it was built from, which must outlive it.
//
// It answers only what it can tell for sure: a wrong code is worse than none.
//  - The prefecture, when given, must be one of the list's.
//  - The city is the longest name that the text goes on with; a city typed
//    without its prefecture or its county counts only where exactly one city
//    of the list has that name. A designated city typed without its ward
//    stands for all of its wards.
//  - The town area is the longest whole name the text goes on with after the
//    city; a name ending in a digit never takes the first digit of a longer
//    number (北1 is not 北10). In Kyoto the town follows the street
//    directions (…通…上る, 下ル, 東入, 西入), and a town name anywhere after
//    the ward wins over a shorter one at its start.
//  - Several rows of one town area: the first, in table order. Town names
//    that fold alike are told apart by the name as written, or not at all.
//  - No town area found: the city's row without a town area, where it has
//    one; none for a designated city typed without its ward, nor where a
//    name of the city is there but its number runs on or differs (北99条西).
class AddressMatcher {
public:
    explicit AddressMatcher(const PostalTable &table);
    // Only these rows count, as if the table held no others.
    AddressMatcher(const PostalTable &table, const std::vector<int> &rows);

    // The row the address names, or -1.
    [[nodiscard]] int bestRow(QStringView address) const;

    // The row, and what the address holds beyond the names that led to it.
    struct Match {
        int row = -1;
        // A town area of the list; otherwise the city alone, whose row
        // without a town area it is.
        bool namesTown = false;
        // Where the text after the town area (or the city) begins in the
        // address as given: block, number, building.
        qsizetype restStart = 0;
    };
    [[nodiscard]] Match bestMatch(QStringView address) const;

    // How a town name meets the typed text at one place: not at all, as a
    // whole name, as a whole name whose closing number runs on in the text
    // (浦臼第1 in 浦臼第11-2), or up to a number that differs (北1 and 北10).
    enum class Meeting { No, Whole, NumberRunsOn, NumberDiffers };

private:
    // A folded name: a stretch of m_keys.
    struct Key {
        qsizetype offset = 0;
        qsizetype size = 0;
    };
    struct Town {
        Key key;
        int row = -1;
    };
    struct City {
        int prefecture = -1;
        int group = -1;  // the designated city it is a ward of, or -1
        bool kyoto = false;
        int noTownRow = -1;
        std::size_t firstTown = 0;  // its towns in m_towns, sorted by key
        std::size_t townCount = 0;
    };
    enum class CityKeyKind { Whole, WithoutCounty, WithoutWard };
    struct CityKey {
        Key key;
        int city = -1;
        CityKeyKind kind = CityKeyKind::Whole;
    };
    struct TownHit {
        std::size_t town = 0;
        qsizetype size = 0;  // of the town's key
        qsizetype start = 0;
        Meeting meeting = Meeting::Whole;
        qsizetype end = 0;   // in the typed text, where the name ends
    };

    void build(const std::vector<int> *rows);
    [[nodiscard]] QStringView key(Key key) const;
    [[nodiscard]] std::u16string_view units(Key key) const;
    Key appendKey(QStringView name);

    // The town's row, and in `end` where its name ends in rest; otherwise
    // negative: none of the city's names, or a name that cannot be told for
    // sure.
    [[nodiscard]] int townRow(const std::vector<int> &cities, QStringView rest, QStringView address,
                              qsizetype &end) const;
    void collectTownHits(const std::vector<int> &cities, QStringView rest, qsizetype start,
                         std::vector<TownHit> &hits) const;
    [[nodiscard]] int decide(const std::vector<TownHit> &hits, QStringView address) const;

    const PostalTable &m_table;
    QString m_keys;
    std::vector<Key> m_prefectures;
    std::vector<City> m_cities;
    std::vector<Town> m_towns;
    std::vector<CityKey> m_cityKeys;  // sorted by key
};

} // namespace torumin
