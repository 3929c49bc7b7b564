#pragma once

#include "search/TownNote.h"

#include <QString>
#include <QStringView>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace torumin {

class PostalTable;

// Tells which row of the list an address names, written the way people write
// addresses: with or without the prefecture (or its 都/府/県) or the county
// (郡), the ward of a designated city or not, with block numbers, building
// names, spaces, 大字/字, Kyoto's street directions, and every variant
// foldAddressVariants makes one.
//
// The names are folded and indexed once, by prefecture and city, so that each
// address costs microseconds rather than a pass over the list. The matcher
// refers to the table it was built from, which must outlive it.
//
// It answers only what it can tell for sure: a wrong code is worse than none.
//  - The prefecture, when given, must be one of the list's. Written without
//    its 都, 府 or 県 (東京, 岩手) it counts only where reading the text as a
//    city without a prefecture finds no city (京都市 is a city).
//  - The city is the longest name that the text goes on with; a city typed
//    without its prefecture or its county counts where exactly one city of
//    the list has that name, or where only one of the cities so named has the
//    town area that follows. A designated city typed without its ward stands
//    for all of its wards.
//  - The town area is the longest whole name the text goes on with after the
//    city; a name ending in a digit never takes the first digit of a longer
//    number (北1 is not 北10). A name ending in 町 or 丁 may be written without
//    it, or with the other one (西小松川12, 7番町 for 七番丁), where no name
//    is written whole. In Kyoto the town follows the street directions (…通…
//    上る, 下ル, 東入, 西入), and a town name anywhere after the ward wins over
//    a shorter one at its start.
//  - Several rows of one town name with different codes: the list's notes
//    decide (the 丁目 or 番地 that follows in their ranges, the floor of a
//    building), or nothing does. Town names that fold alike are told apart by
//    the name as written, or not at all. A floor named after a town with
//    buildings of its own, but none of them, is not the town's.
//  - No town area found: the city's row without a town area, where it has
//    one; none for a designated city typed without its ward, nor where a
//    name of the city is there but its number runs on or differs (北99条西).
class AddressMatcher {
public:
    explicit AddressMatcher(const PostalTable &table);
    // Only these rows count, as if the table held no others.
    AddressMatcher(const PostalTable &table, const std::vector<int> &rows);

    // What an address names, and if nothing, why.
    enum class Verdict {
        Named,          // `row`
        NoCity,         // no city of the list
        NoTown,         // a city, but neither a town area nor the city's own row
        SeveralCities,  // the city could be any of `rows`' cities
        SeveralWards,   // a designated city without its ward and no town that tells
        SeveralCodes,   // a town area the list does not tell apart: `rows`, one a code
        NotSure,        // a town name, but not one for sure (北99条西, 浦臼第11-2)
    };
    struct Answer {
        int row = -1;
        Verdict verdict = Verdict::NoCity;
        std::vector<int> rows;
        // Named: a town area of the list, or else the city alone, whose row
        // without a town area it is; and where what follows the names
        // (block, number, building) begins in the address as given.
        bool namesTown = false;
        qsizetype restStart = 0;
    };
    [[nodiscard]] Answer answer(QStringView address) const;

    // The row the address names, or -1.
    [[nodiscard]] int bestRow(QStringView address) const { return answer(address).row; }

    // How a town name meets the typed text at one place: not at all, as a
    // whole name, as a whole name whose closing number runs on in the text
    // (浦臼第1 in 浦臼第11-2), or up to a number that differs (北1 and 北10).
    enum class Meeting { No, Whole, NumberRunsOn, NumberDiffers };

private:
    // A folded name: a stretch of m_keys.
    struct Key {
        std::int32_t offset = 0;
        std::int32_t size = 0;
    };
    // The part of its town a row's note gives it.
    struct Note {
        TownNote::Kind kind = TownNote::Kind::None;
        int floor = 0;
        std::uint32_t firstRange = 0;  // in m_ranges
        std::uint32_t rangeCount = 0;
    };
    // One row of a town name; most rows have no note, m_notes[0].
    struct Member {
        int row = -1;
        std::uint32_t note = 0;
    };
    // One town name of a city and every row that bears it.
    struct Town {
        Key key;
        std::int32_t nameSize = 0;  // the name is the start of its first row's town field
        std::uint32_t firstMember = 0;  // in m_members; the row itself where `direct`
        std::uint32_t memberCount = 0;
        bool direct = false;     // one row without a note, as most names have
        bool floors = false;     // a building, one row a floor
        bool buildings = false;  // buildings are listed under it
    };
    // A building listed floor by floor, under the town its name begins with.
    struct Building {
        std::size_t host = 0;
        std::size_t town = 0;
        Key suffix;  // the building's key after the host's
    };
    struct City {
        int prefecture = -1;
        int group = -1;  // the designated city it is a ward of, or -1
        bool kyoto = false;
        int noTownRow = -1;
        int row = -1;  // a row of the city, for its name
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
        qsizetype size = 0;  // of the part of the town's key met
        qsizetype start = 0;
        qsizetype end = 0;  // in the typed text, after the name
        Meeting meeting = Meeting::Whole;
        bool shortened = false;  // met without its closing 町 or 丁
    };
    struct Named;

    void build(const std::vector<int> *rows);
    void groupFloors(std::vector<Named> &named);
    [[nodiscard]] std::u16string_view nameOf(const Named &named) const;
    void listBuildings();
    [[nodiscard]] QStringView key(Key key) const;
    [[nodiscard]] std::u16string_view units(Key key) const;
    Key appendKey(QStringView name);

    [[nodiscard]] std::vector<const CityKey *> matchCities(QStringView text, int prefecture, qsizetype &longest) const;
    // `rest` is a part of `text`, the folded address, and `address` the
    // address as given.
    [[nodiscard]] Answer answerFor(const std::vector<int> &cities, QStringView text, QStringView rest,
                                   QStringView address) const;
    [[nodiscard]] Answer townAnswer(const std::vector<int> &cities, QStringView text, QStringView rest,
                                    QStringView address) const;
    void collectTownHits(const std::vector<int> &cities, QStringView rest, qsizetype start, bool shortened,
                         std::vector<TownHit> &hits) const;
    [[nodiscard]] Answer decide(const std::vector<int> &cities, const std::vector<TownHit> &hits, QStringView text,
                                QStringView rest, QStringView address) const;
    // The town answer; in `end`, where in `rest` the town's name ends.
    [[nodiscard]] Answer decideHits(const std::vector<int> &cities, const std::vector<TownHit> &hits, QStringView rest,
                                    QStringView address, qsizetype &end) const;
    // The answer with restStart in the address as given rather than folded.
    [[nodiscard]] static Answer given(Answer answer, QStringView address);
    [[nodiscard]] bool othersBegin(const std::vector<int> &cities, QStringView stem, std::size_t town) const;
    [[nodiscard]] Answer decideTown(std::size_t town, QStringView after, bool buildingsToo) const;
    [[nodiscard]] Answer oneCodeOf(const std::vector<int> &rows, Verdict otherwise) const;
    [[nodiscard]] QStringView townName(const Town &town) const;
    [[nodiscard]] Member memberOf(const Town &town, std::uint32_t m) const;
    std::uint32_t addNote(const Note &note);

    const PostalTable &m_table;
    QString m_keys;
    std::vector<Key> m_prefectures;
    std::vector<Key> m_prefectureStems;  // without 都, 府 or 県; empty for 北海道
    std::vector<City> m_cities;
    std::vector<Town> m_towns;
    std::vector<Member> m_members;
    std::vector<Note> m_notes;
    std::vector<std::pair<int, int>> m_ranges;
    std::vector<Building> m_buildings;  // sorted by host
    std::vector<CityKey> m_cityKeys;  // sorted by key
};

} // namespace torumin
