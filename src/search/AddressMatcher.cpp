#include "search/AddressMatcher.h"

#include "data/PostalTable.h"
#include "search/AddressFolding.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <string_view>

namespace torumin {

namespace {

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// How a town name written with key meets typed from i. 大字 and 字 in
// the typed text are passed over where the name has none; the 条 after a
// number may be left out where more of the name follows (北1西2 is 北1条西
// 2丁目, as Sapporo writes it); a name listed with 丁目 also ends where the
// block number goes on with a hyphen (保原町1-2-3 is 保原町1丁目).
AddressMatcher::Meeting matchAt(QStringView typed, qsizetype i, QStringView key, qsizetype &end)
{
    using Meeting = AddressMatcher::Meeting;
    qsizetype j = 0;
    while (j < key.size()) {
        const QStringView left = typed.sliced(i);
        if (left.startsWith(u"大字") && !key.sliced(j).startsWith(u"大字")) {
            i += 2;
            continue;
        }
        if (!left.isEmpty() && left.front() == key.at(j)) {
            ++i;
            ++j;
            continue;
        }
        if (!left.isEmpty() && left.front() == u'字') {
            ++i;
            continue;
        }
        const bool inNumber = j > 0 && isDigit(key.at(j - 1));
        if (inNumber && key.at(j) == u'条' && j + 1 < key.size() && !left.isEmpty() && left.front() == key.at(j + 1)) {
            ++j;
            continue;
        }
        if (inNumber && key.sliced(j) == u"丁目" && (left.isEmpty() || left.front() == u'-')) {
            end = i;
            return Meeting::Whole;
        }
        // 北10条 typed where the name is 北1条, 北2条 where it is 北1条. A name
        // that starts with its number says nothing of a bare block number.
        const bool typedDigit = !left.isEmpty() && isDigit(left.front());
        if (j > 0 && typedDigit && (inNumber || isDigit(key.at(j))))
            return Meeting::NumberDiffers;
        return Meeting::No;
    }
    end = i;
    if (!key.isEmpty() && isDigit(key.back()) && i < typed.size() && isDigit(typed.at(i)))
        return Meeting::NumberRunsOn;
    return Meeting::Whole;
}

// A postal code pasted before the address: 〒100-0005 or 1000005.
qsizetype afterLeadingCode(QStringView typed)
{
    qsizetype i = typed.startsWith(u'〒') ? 1 : 0;
    const auto digits = [&typed](qsizetype from, qsizetype count) {
        if (from + count > typed.size())
            return false;
        return std::all_of(typed.begin() + from, typed.begin() + from + count, isDigit);
    };
    if (!digits(i, 3))
        return i;
    qsizetype j = i + 3;
    if (j < typed.size() && typed.at(j) == u'-')
        ++j;
    if (!digits(j, 4) || (j + 4 < typed.size() && isDigit(typed.at(j + 4))))
        return i;
    return j + 4;
}

// Where the town name starts after Kyoto's street directions, which end in
// one of these: 河原町通二条下る一之船入町 → 一之船入町. -1 without one.
qsizetype afterKyotoDirections(QStringView rest)
{
    static constexpr std::array<std::u16string_view, 14> kDirections = {
        u"上る", u"上ル", u"上がる", u"上ガル", u"下る", u"下ル", u"下がる", u"下ガル",
        u"東入る", u"東入ル", u"東入", u"西入る", u"西入ル", u"西入"};
    qsizetype after = -1;
    for (const std::u16string_view direction : kDirections) {
        const QStringView word(direction.data(), static_cast<qsizetype>(direction.size()));
        const qsizetype at = rest.lastIndexOf(word);
        if (at >= 0)
            after = std::max(after, at + word.size());
    }
    return after;
}

// Where the block number starts (537-50, 12番地, or digits to the end): no
// town name lies past it. 一番町 is a name, 12番地 is not.
qsizetype blockStart(QStringView rest)
{
    for (qsizetype i = 0; i < rest.size(); ++i) {
        if (!isDigit(rest.at(i)))
            continue;
        qsizetype end = i;
        while (end < rest.size() && isDigit(rest.at(end)))
            ++end;
        const QStringView after = rest.sliced(end);
        if (after.isEmpty() || after.front() == u'-' || after.startsWith(u"番地"))
            return i;
        i = end;
    }
    return rest.size();
}


// A name ending in 町 or 丁 written without it (西小松川12 for 西小松川町) or
// with the other one (7番町 for 七番丁). Only where two characters or more
// come before it, and for a name with a number only with the other ending:
// 7番12 is a block number.
bool metShortened(QStringView typed, qsizetype i, QStringView key, qsizetype &end)
{
    if (key.size() < 3 || (key.back() != u'町' && key.back() != u'丁'))
        return false;
    const QStringView stem = key.chopped(1);
    qsizetype after = 0;
    if (isDigit(stem.back()) || matchAt(typed, i, stem, after) != AddressMatcher::Meeting::Whole)
        return false;
    const QStringView left = typed.sliced(after);
    const QChar other = key.back() == u'町' ? QChar(u'丁') : QChar(u'町');
    if (!left.isEmpty() && left.front() == other && !left.startsWith(u"丁目")) {
        end = after + 1;
        return true;
    }
    if (std::any_of(stem.begin(), stem.end(), isDigit))
        return false;
    if (left.isEmpty() || isDigit(left.front()) || left.front() == u'-') {
        end = after;
        return true;
    }
    return false;
}

int readDigits(QStringView text, qsizetype &i)
{
    int value = 0;
    for (; i < text.size() && isDigit(text.at(i)); ++i)
        value = std::min(value * 10 + (text.at(i).unicode() - u'0'), 1000000);
    return value;
}

// The block number right after a town name, and whether it can be the 丁目
// or the 番地: 20丁目, 123番地, 20-1 or 20 either.
struct BlockNumber {
    int value = -1;
    bool chome = false;
    bool banchi = false;
};

BlockNumber blockNumberAt(QStringView after)
{
    if (after.isEmpty() || !isDigit(after.front()))
        return {};
    qsizetype i = 0;
    const int value = readDigits(after, i);
    const QStringView left = after.sliced(i);
    if (left.startsWith(u"丁目"))
        return {value, true, false};
    if (left.startsWith(u'番'))
        return {value, false, true};
    // 3条, 5線, 2号, 40地割 … are no block numbers of these.
    static constexpr std::u16string_view kOtherUnits = u"条線号地区町丁階F通軒";
    if (!left.isEmpty() && kOtherUnits.find(left.front().unicode()) != std::u16string_view::npos)
        return {};
    return {value, true, true};
}

// The floor a text names: 10階 or 10F; 0 for the basement (地下, 地階, B1, B1F);
// -1 for none.
int floorIn(QStringView text)
{
    if (text.contains(u"地下") || text.contains(u"地階"))
        return 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!isDigit(text.at(i)))
            continue;
        const bool basement = i > 0 && text.at(i - 1) == u'B';
        const int value = readDigits(text, i);
        const bool floorMark = i < text.size() && (text.at(i) == u'階' || text.at(i) == u'F');
        if (basement && (floorMark || i == text.size()))
            return 0;
        if (floorMark)
            return value;
    }
    return -1;
}

int noteDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'０' && c <= u'９')
        return c - u'０';
    return -1;
}

} // namespace

// A row with a town name, while the index is built: small, for there is
// one for nearly every row of the list.
struct AddressMatcher::Named {
    int city = -1;
    int row = -1;
    Key key;
    std::uint32_t note = 0;     // in m_notes
    std::int32_t nameSize = 0;  // the name: the start of the row's town field
};

std::u16string_view AddressMatcher::nameOf(const Named &named) const
{
    const QStringView field = m_table.townName(named.row);
    return {field.utf16(), static_cast<std::size_t>(named.nameSize)};
}

AddressMatcher::AddressMatcher(const PostalTable &table)
    : m_table(table)
{
    build(nullptr);
}

AddressMatcher::AddressMatcher(const PostalTable &table, const std::vector<int> &rows)
    : m_table(table)
{
    build(&rows);
}

QStringView AddressMatcher::key(Key key) const
{
    return QStringView(m_keys).sliced(key.offset, key.size);
}

// Keys are sorted by code units: only the first character's order matters to
// the lookups, and this is the quickest to compare.
std::u16string_view AddressMatcher::units(Key key) const
{
    return {QStringView(m_keys).utf16() + key.offset, static_cast<std::size_t>(key.size)};
}

AddressMatcher::Key AddressMatcher::appendKey(QStringView name)
{
    const qsizetype offset = m_keys.size();
    appendFoldedAddress(m_keys, name);
    return {static_cast<std::int32_t>(offset), static_cast<std::int32_t>(m_keys.size() - offset)};
}

std::uint32_t AddressMatcher::addNote(const Note &note)
{
    m_notes.push_back(note);
    return static_cast<std::uint32_t>(m_notes.size() - 1);
}

QStringView AddressMatcher::townName(const Town &town) const
{
    return m_table.townName(memberOf(town, 0).row).first(town.nameSize);
}

AddressMatcher::Member AddressMatcher::memberOf(const Town &town, std::uint32_t m) const
{
    if (town.direct)
        return {static_cast<int>(town.firstMember), 0};
    return m_members[town.firstMember + m];
}

void AddressMatcher::build(const std::vector<int> *rows)
{
    QHash<QStringView, int> prefectures;
    QHash<QString, int> cities;   // prefecture index, tab, city name
    QHash<QString, int> groups;   // the same for a designated city
    std::vector<Named> named;
    m_notes.assign(1, Note{});

    // The list keeps a city's rows together, so the last city found is
    // almost always the next row's too.
    QStringView lastPrefecture;
    QStringView lastCity;
    int lastCityIndex = -1;
    const int count = rows ? static_cast<int>(rows->size()) : m_table.recordCount();
    const auto rowAt = [rows](int i) { return rows ? (*rows)[static_cast<std::size_t>(i)] : i; };
    named.reserve(static_cast<std::size_t>(count));
    QString joined;
    for (int i = 0; i < count; ++i) {
        const int row = rowAt(i);
        if (row < 0 || row >= m_table.recordCount())
            continue;
        const QStringView prefecture = m_table.prefName(row);
        const QStringView city = m_table.cityName(row);
        if (lastCityIndex < 0 || prefecture != lastPrefecture || city != lastCity) {
            auto pref = prefectures.constFind(prefecture);
            if (pref == prefectures.cend()) {
                pref = prefectures.insert(prefecture, static_cast<int>(m_prefectures.size()));
                m_prefectures.push_back(appendKey(prefecture));
                const bool suffixed = prefecture.size() > 1
                    && (prefecture.endsWith(u'都') || prefecture.endsWith(u'府') || prefecture.endsWith(u'県'));
                m_prefectureStems.push_back(suffixed ? appendKey(prefecture.chopped(1)) : Key{});
            }
            const QString cityId = QString::number(*pref) + u'\t' + city;
            auto found = cities.constFind(cityId);
            if (found == cities.cend()) {
                found = cities.insert(cityId, static_cast<int>(m_cities.size()));
                City entry;
                entry.prefecture = *pref;
                entry.kyoto = prefecture == u"京都府" && city.startsWith(u"京都市");
                entry.row = row;
                m_cities.push_back(entry);
            }
            lastPrefecture = prefecture;
            lastCity = city;
            lastCityIndex = *found;
        }
        City &entry = m_cities[static_cast<std::size_t>(lastCityIndex)];
        const QStringView town = m_table.townName(row);
        if (town.isEmpty() || meansNoTownArea(town, city)) {
            if (entry.noTownRow < 0)
                entry.noTownRow = row;
            continue;
        }
        // A note that goes on in the next records of the code: read them
        // with it, and as no town of their own.
        QStringView field = town;
        if (townNoteGoesOn(town)) {
            joined = town.toString();
            for (int records = 0; records < kMaxNoteRecords && townNoteGoesOn(joined) && i + 1 < count; ++records) {
                const int next = rowAt(i + 1);
                if (next < 0 || next >= m_table.recordCount() || m_table.zipCode(next) != m_table.zipCode(row)
                    || m_table.prefName(next) != prefecture || m_table.cityName(next) != city)
                    break;
                joined += m_table.townName(next);
                ++i;
            }
            field = joined;
        }
        const TownField read = readTownField(field);
        Named entryNamed;
        entryNamed.city = lastCityIndex;
        entryNamed.row = row;
        Note note{read.note.kind, read.note.floor, static_cast<std::uint32_t>(m_ranges.size()),
                  static_cast<std::uint32_t>(read.note.ranges.size())};
        // The name always lies in the first record; a field that is no
        // name and note is taken as a name that says nothing more.
        qsizetype nameSize = read.name.size();
        if (nameSize > town.size()) {
            nameSize = town.size();
            note = {TownNote::Kind::Unknown, 0, 0, 0};
        }
        entryNamed.nameSize = static_cast<std::int32_t>(nameSize);
        if (note.kind != TownNote::Kind::None) {
            m_ranges.insert(m_ranges.end(), read.note.ranges.cbegin(), read.note.ranges.cend());
            entryNamed.note = addNote(note);
        }
        entryNamed.key = appendKey(town.first(nameSize));
        named.push_back(entryNamed);
    }

    // Each city's towns by key, each name's rows in table order. (Code-unit
    // order is the quickest and all the lookups need.) The list keeps a
    // city's rows together, so each city's names sort on their own.
    const auto byKey = [this](const Named &a, const Named &b) {
        if (a.city != b.city)
            return a.city < b.city;
        if (const auto ka = units(a.key), kb = units(b.key); ka != kb)
            return ka < kb;
        if (const auto na = nameOf(a), nb = nameOf(b); na != nb)
            return na < nb;
        return a.row < b.row;
    };
    if (std::is_sorted(named.begin(), named.end(), [](const Named &a, const Named &b) { return a.city < b.city; })) {
        for (auto first = named.begin(); first != named.end();) {
            const auto last = std::find_if(first, named.end(), [&](const Named &n) { return n.city != first->city; });
            std::sort(first, last, byKey);
            first = last;
        }
    } else {
        std::sort(named.begin(), named.end(), byKey);
    }
    groupFloors(named);
    // A name of spaces alone folds to nothing and can name nothing.
    std::erase_if(named, [](const Named &town) { return town.key.size == 0; });

    m_towns.reserve(named.size());
    for (std::size_t first = 0; first < named.size();) {
        std::size_t last = first + 1;
        while (last < named.size() && named[last].city == named[first].city
               && nameOf(named[last]) == nameOf(named[first]))
            ++last;
        Town town;
        town.key = named[first].key;
        town.nameSize = named[first].nameSize;
        town.memberCount = static_cast<std::uint32_t>(last - first);
        town.direct = town.memberCount == 1 && named[first].note == 0;
        if (town.direct) {
            town.firstMember = static_cast<std::uint32_t>(named[first].row);
        } else {
            town.firstMember = static_cast<std::uint32_t>(m_members.size());
            for (std::size_t n = first; n < last; ++n) {
                const Named &row = named[n];
                m_members.push_back({row.row, row.note});
                town.floors = town.floors || m_notes[row.note].kind == TownNote::Kind::Floor;
            }
        }
        City &city = m_cities[static_cast<std::size_t>(named[first].city)];
        if (city.townCount == 0)
            city.firstTown = m_towns.size();
        ++city.townCount;
        m_towns.push_back(town);
        first = last;
    }
    listBuildings();

    for (std::size_t c = 0; c < m_cities.size(); ++c) {
        const QStringView name = m_table.cityName(m_cities[c].row);
        const int city = static_cast<int>(c);
        const auto addKey = [this, city](QStringView text, CityKeyKind kind) {
            const Key folded = appendKey(text);
            if (folded.size > 0)
                m_cityKeys.push_back({folded, city, kind});
        };
        addKey(name, CityKeyKind::Whole);
        // 東牟婁郡串本町 is also written 串本町. A county holds towns and
        // villages: 蒲郡市 and 大和郡山市 have none.
        const bool inCounty = name.endsWith(u'町') || name.endsWith(u'村');
        if (const qsizetype county = name.indexOf(u'郡'); inCounty && county > 0 && county + 1 < name.size())
            addKey(name.sliced(county + 1), CityKeyKind::WithoutCounty);
        // 札幌市中央区 is a ward of 札幌市, which stands for all of them.
        if (name.endsWith(u'区')) {
            const qsizetype cityEnd = name.lastIndexOf(u'市', name.size() - 2);
            if (cityEnd > 0) {
                const QString groupId =
                    QString::number(m_cities[c].prefecture) + u'\t' + name.first(cityEnd + 1);
                m_cities[c].group = *groups.insert(groupId, groups.value(groupId, static_cast<int>(groups.size())));
                addKey(name.first(cityEnd + 1), CityKeyKind::WithoutWard);
            }
        }
    }
    std::sort(m_cityKeys.begin(), m_cityKeys.end(),
              [this](const CityKey &a, const CityKey &b) { return units(a.key) < units(b.key); });
}

// Lists that drop the notes keep a building's floors in its rows' names
// (中央アエル１５階 beside 中央アエル, which is its basement and any floor not
// told): read them as the list that has the notes writes them. The floor is
// the last digits before 階 that leave the name of a row of the city
// (東池袋サンシャイン６０１０階 is the tenth floor of 東池袋サンシャイン６０).
void AddressMatcher::groupFloors(std::vector<Named> &named)
{
    struct Floor {
        std::size_t row;       // in named
        std::size_t building;  // in named: the row named as the building alone
        std::size_t nameSize;
        int floor;
    };
    std::vector<Floor> floors;
    // Where each city's rows begin; named is in city order.
    std::vector<std::size_t> cityStarts(m_cities.size() + 1, named.size());
    for (std::size_t n = named.size(); n-- > 0;)
        cityStarts[static_cast<std::size_t>(named[n].city)] = n;
    for (std::size_t c = m_cities.size(); c-- > 0;)
        cityStarts[c] = std::min(cityStarts[c], cityStarts[c + 1]);
    for (std::size_t n = 0; n < named.size(); ++n) {
        const std::u16string_view name = nameOf(named[n]);
        if (named[n].note != 0 || name.size() < 3 || name.back() != u'階'
            || noteDigit(name[name.size() - 2]) < 0)
            continue;
        const int city = named[n].city;
        const std::u16string_view folded = units(named[n].key);
        if (folded.empty() || folded.back() != u'階')
            continue;
        const auto cityFirst = named.cbegin() + static_cast<std::ptrdiff_t>(cityStarts[static_cast<std::size_t>(city)]);
        const auto cityLast = named.cbegin() + static_cast<std::ptrdiff_t>(cityStarts[static_cast<std::size_t>(city) + 1]);
        std::size_t found = named.size();
        std::size_t foundSize = 0;
        // Three digits at most: no building has a thousand floors. The
        // folded name ends in the same digits (as ASCII) and 階; a name whose
        // fold joins them otherwise is not looked for.
        for (std::size_t digits = 1; digits <= 3 && digits + 2 <= name.size() && digits + 1 < folded.size(); ++digits) {
            if (noteDigit(name[name.size() - 1 - digits]) < 0)
                break;
            const std::u16string_view building = name.substr(0, name.size() - 1 - digits);
            const std::u16string_view foldedBuilding = folded.substr(0, folded.size() - 1 - digits);
            auto candidate = std::lower_bound(cityFirst, cityLast, foldedBuilding,
                                              [this](const Named &a, std::u16string_view k) { return units(a.key) < k; });
            for (; candidate != cityLast && units(candidate->key) == foldedBuilding; ++candidate) {
                if (nameOf(*candidate) != building)
                    continue;
                if (found != named.size())
                    found = named.size() + 1;  // two ways to read it: neither
                else
                    found = static_cast<std::size_t>(candidate - named.cbegin());
                foundSize = building.size();
                break;
            }
        }
        if (found >= named.size())
            continue;
        int floor = 0;
        for (std::size_t d = foundSize; d + 1 < name.size(); ++d)
            floor = std::min(floor * 10 + noteDigit(name[d]), 1000000);
        floors.push_back({n, found, foundSize, floor});
    }
    if (floors.empty())
        return;

    std::vector<int> cities;
    const std::uint32_t basement = addNote({TownNote::Kind::Basement, 0, 0, 0});
    for (const Floor &floor : floors) {
        Named &row = named[floor.row];
        Named &building = named[floor.building];
        row.nameSize = static_cast<std::int32_t>(floor.nameSize);
        row.key = building.key;
        row.note = addNote({TownNote::Kind::Floor, floor.floor, 0, 0});
        if (building.note == 0)
            building.note = basement;
        if (cities.empty() || cities.back() != row.city)
            cities.push_back(row.city);
    }
    // The rows that kept their names are still in order: only the floors
    // need sorting, and merging in.
    const auto byKey = [this](const Named &a, const Named &b) {
        if (const auto ka = units(a.key), kb = units(b.key); ka != kb)
            return ka < kb;
        if (const auto na = nameOf(a), nb = nameOf(b); na != nb)
            return na < nb;
        return a.row < b.row;
    };
    for (const int city : cities) {
        const auto first = std::lower_bound(named.begin(), named.end(), city,
                                            [](const Named &a, int c) { return a.city < c; });
        const auto last = std::upper_bound(first, named.end(), city, [](int c, const Named &a) { return c < a.city; });
        const auto moved = std::stable_partition(first, last, [this](const Named &n) {
            return m_notes[n.note].kind != TownNote::Kind::Floor;
        });
        std::sort(moved, last, byKey);
        std::inplace_merge(first, moved, last, byKey);
    }
}

// Each building listed floor by floor under the longest other town name of
// its city that its own begins with (中央アエル under 中央).
void AddressMatcher::listBuildings()
{
    for (const City &city : m_cities) {
        const auto begin = m_towns.begin() + static_cast<std::ptrdiff_t>(city.firstTown);
        const auto end = begin + static_cast<std::ptrdiff_t>(city.townCount);
        for (auto building = begin; building != end; ++building) {
            if (!building->floors)
                continue;
            const std::u16string_view whole = units(building->key);
            for (std::size_t size = whole.size() - 1; size > 0; --size) {
                const std::u16string_view prefix = whole.substr(0, size);
                auto host = std::lower_bound(begin, end, prefix,
                                             [this](const Town &t, std::u16string_view k) { return units(t.key) < k; });
                while (host != end && units(host->key) == prefix && host->floors)
                    ++host;
                if (host == end || units(host->key) != prefix)
                    continue;
                m_buildings.push_back({static_cast<std::size_t>(host - m_towns.begin()),
                                       static_cast<std::size_t>(building - m_towns.begin()),
                                       {building->key.offset + static_cast<std::int32_t>(size),
                                        building->key.size - static_cast<std::int32_t>(size)}});
                break;
            }
        }
    }
    std::sort(m_buildings.begin(), m_buildings.end(),
              [](const Building &a, const Building &b) { return a.host < b.host; });
    for (const Building &building : m_buildings)
        m_towns[building.host].buildings = true;
}

std::vector<const AddressMatcher::CityKey *> AddressMatcher::matchCities(QStringView text, int prefecture,
                                                                         qsizetype &longest) const
{
    std::vector<const CityKey *> matched;
    longest = 0;
    if (text.isEmpty())
        return matched;
    const auto first = std::lower_bound(m_cityKeys.cbegin(), m_cityKeys.cend(), text.front(),
                                        [this](const CityKey &k, QChar c) { return key(k.key).front() < c; });
    for (auto k = first; k != m_cityKeys.cend() && key(k->key).front() == text.front(); ++k) {
        if (prefecture >= 0 && m_cities[static_cast<std::size_t>(k->city)].prefecture != prefecture)
            continue;
        if (k->key.size < longest || !text.startsWith(key(k->key)))
            continue;
        if (k->key.size > longest)
            matched.clear();
        longest = k->key.size;
        matched.push_back(&*k);
    }
    return matched;
}

AddressMatcher::Answer AddressMatcher::answer(QStringView address) const
{
    const QString typed = foldAddressVariants(address);
    const QStringView text(typed);
    const qsizetype at = afterLeadingCode(text);
    const QStringView head = text.sliced(at);

    // Where the city starts: after the prefecture; after its name without
    // 都, 府 or 県, or at once with no prefecture, whichever finds a city.
    struct Reading {
        int prefecture = -1;
        qsizetype at = 0;
    };
    std::array<Reading, 2> readings{};
    std::size_t readingCount = 0;
    if (head.isEmpty())
        return {};
    const auto begins = [&](Key name) { return name.size > 0 && m_keys.at(name.offset) == head.front() && head.startsWith(key(name)); };
    for (std::size_t p = 0; p < m_prefectures.size() && readingCount == 0; ++p) {
        if (begins(m_prefectures[p]))
            readings[readingCount++] = {static_cast<int>(p), at + m_prefectures[p].size};
    }
    if (readingCount == 0) {
        for (std::size_t p = 0; p < m_prefectureStems.size(); ++p) {
            if (begins(m_prefectureStems[p])) {
                readings[readingCount++] = {static_cast<int>(p), at + m_prefectureStems[p].size};
                break;
            }
        }
        readings[readingCount++] = {-1, at};
    }

    std::vector<const CityKey *> matched;
    qsizetype cityEnd = 0;
    for (std::size_t r = 0; r < readingCount; ++r) {
        qsizetype longest = 0;
        std::vector<const CityKey *> found = matchCities(text.sliced(readings[r].at), readings[r].prefecture, longest);
        if (found.empty())
            continue;
        if (!matched.empty()) {
            // 山形村山市: 山形県村山市, or 山形村 of 長野県?
            Answer several{-1, Verdict::SeveralCities, {}};
            for (const std::vector<const CityKey *> *keys : {&matched, &found}) {
                for (const CityKey *k : *keys)
                    several.rows.push_back(m_cities[static_cast<std::size_t>(k->city)].row);
            }
            std::sort(several.rows.begin(), several.rows.end());
            return several;
        }
        matched = std::move(found);
        cityEnd = readings[r].at + longest;
    }
    if (matched.empty())
        return {};

    // The cities the name stands for: a designated city's wards together,
    // every other city apart.
    const auto unitOf = [this](const CityKey *k) {
        return k->kind == CityKeyKind::WithoutWard ? -2 - m_cities[static_cast<std::size_t>(k->city)].group : k->city;
    };
    QStringView rest = text.sliced(cityEnd);
    while (!rest.isEmpty() && (rest.front() == u',' || rest.front() == u'、'))
        rest = rest.sliced(1);
    const int firstUnit = unitOf(matched.front());
    if (std::all_of(matched.cbegin(), matched.cend(), [&](const CityKey *k) { return unitOf(k) == firstUnit; })) {
        std::vector<int> cities;
        cities.reserve(matched.size());
        for (const CityKey *k : matched) {
            if (std::find(cities.cbegin(), cities.cend(), k->city) == cities.cend())
                cities.push_back(k->city);
        }
        return given(answerFor(cities, text, rest, address), address);
    }
    std::vector<std::vector<int>> units;
    std::vector<int> unitIds;
    for (const CityKey *k : matched) {
        const int id = unitOf(k);
        const auto known = std::find(unitIds.cbegin(), unitIds.cend(), id);
        if (known == unitIds.cend()) {
            unitIds.push_back(id);
            units.push_back({k->city});
            continue;
        }
        std::vector<int> &unit = units[static_cast<std::size_t>(known - unitIds.cbegin())];
        if (std::find(unit.cbegin(), unit.cend(), k->city) == unit.cend())
            unit.push_back(k->city);
    }


    // 府中市 without its prefecture: the one of them that has the town area.
    Answer named;
    bool found = false;
    for (const std::vector<int> &unit : units) {
        Answer town = townAnswer(unit, text, rest, address);
        if (town.verdict == Verdict::NoTown)
            continue;
        if (town.verdict != Verdict::Named || found) {
            found = false;
            break;
        }
        named = std::move(town);
        found = true;
    }
    if (found)
        return given(std::move(named), address);
    Answer several{-1, Verdict::SeveralCities, {}};
    for (const std::vector<int> &unit : units)
        several.rows.push_back(m_cities[static_cast<std::size_t>(unit.front())].row);
    std::sort(several.rows.begin(), several.rows.end());
    return several;
}

// Where the first `foldedEnd` units of the folded address end in the
// address as given: at the shortest start of it that folds to as many. A fold
// never shortens as more text follows, so the starts can be halved.
AddressMatcher::Answer AddressMatcher::given(Answer answer, QStringView address)
{
    if (answer.verdict != Verdict::Named)
        return answer;
    qsizetype low = 0;
    qsizetype high = address.size();
    while (low < high) {
        const qsizetype mid = low + (high - low) / 2;
        if (foldAddressVariants(address.first(mid)).size() >= answer.restStart)
            high = mid;
        else
            low = mid + 1;
    }
    answer.restStart = low;
    return answer;
}

AddressMatcher::Answer AddressMatcher::answerFor(const std::vector<int> &cities, QStringView text, QStringView rest,
                                                 QStringView address) const
{
    Answer town = townAnswer(cities, text, rest, address);
    if (town.verdict != Verdict::NoTown)
        return town;
    // Only where no listed town area can be meant.
    if (cities.size() > 1)
        return {-1, Verdict::SeveralWards, {}};
    if (const int row = m_cities[static_cast<std::size_t>(cities.front())].noTownRow; row >= 0)
        return {row, Verdict::Named, {}, false, rest.data() - text.data()};
    return town;
}

void AddressMatcher::collectTownHits(const std::vector<int> &cities, QStringView rest, qsizetype start,
                                     bool shortened, std::vector<TownHit> &hits) const
{
    // The first character of a name: where the text is, or past 字 / 大字.
    std::array<QChar, 3> firsts{};
    std::size_t firstCount = 0;
    const QStringView text = rest.sliced(start);
    if (text.isEmpty())
        return;
    firsts[firstCount++] = text.front();
    if (text.startsWith(u"字") && text.size() > 1)
        firsts[firstCount++] = text.at(1);
    if (text.startsWith(u"大字") && text.size() > 2)
        firsts[firstCount++] = text.at(2);

    for (const int c : cities) {
        const City &city = m_cities[static_cast<std::size_t>(c)];
        const auto begin = m_towns.cbegin() + static_cast<std::ptrdiff_t>(city.firstTown);
        const auto end = begin + static_cast<std::ptrdiff_t>(city.townCount);
        for (std::size_t f = 0; f < firstCount; ++f) {
            const QChar ch = firsts[f];
            if (std::find(firsts.cbegin(), firsts.cbegin() + static_cast<std::ptrdiff_t>(f), ch)
                != firsts.cbegin() + static_cast<std::ptrdiff_t>(f))
                continue;
            auto town = std::lower_bound(begin, end, ch, [this](const Town &t, QChar c) { return key(t.key).front() < c; });
            for (; town != end && key(town->key).front() == ch; ++town) {
                const QStringView name = key(town->key);
                const std::size_t index = static_cast<std::size_t>(town - m_towns.cbegin());
                qsizetype after = 0;
                Meeting meeting = matchAt(rest, start, name, after);
                // サンシャイン60 34階: a building's number, then its floor.
                if (meeting == Meeting::NumberRunsOn && town->floors && floorIn(rest.sliced(after)) > 0) {
                    qsizetype digits = after;
                    while (digits < rest.size() && isDigit(rest.at(digits)))
                        ++digits;
                    if (digits < rest.size() && (rest.at(digits) == u'階' || rest.at(digits) == u'F'))
                        meeting = Meeting::Whole;
                }
                if (meeting != Meeting::No)
                    hits.push_back({index, name.size(), start, after, meeting, false});
                else if (shortened && metShortened(rest, start, name, after))
                    hits.push_back({index, name.size() - 1, start, after, Meeting::Whole, true});
            }
        }
    }
}

AddressMatcher::Answer AddressMatcher::townAnswer(const std::vector<int> &cities, QStringView text, QStringView rest,
                                                  QStringView address) const
{
    std::vector<TownHit> hits;
    if (m_cities[static_cast<std::size_t>(cities.front())].kyoto) {
        // The town follows the directions; failing that, the longest town name
        // anywhere before the block number.
        if (const qsizetype after = afterKyotoDirections(rest); after >= 0) {
            collectTownHits(cities, rest, after, true, hits);
            if (Answer town = decide(cities, hits, text, rest, address); town.verdict != Verdict::NoTown)
                return town;
        }
        const qsizetype end = std::max<qsizetype>(blockStart(rest), 1);
        for (qsizetype start = 0; start < end && start < rest.size(); ++start)
            collectTownHits(cities, rest, start, start == 0, hits);
        return decide(cities, hits, text, rest, address);
    }
    collectTownHits(cities, rest, 0, true, hits);
    return decide(cities, hits, text, rest, address);
}

// Whether a town of the cities other than `town` has a name that begins with
// `stem`.
bool AddressMatcher::othersBegin(const std::vector<int> &cities, QStringView stem, std::size_t town) const
{
    const std::u16string_view prefix(stem.utf16(), static_cast<std::size_t>(stem.size()));
    for (const int c : cities) {
        const City &city = m_cities[static_cast<std::size_t>(c)];
        const auto begin = m_towns.cbegin() + static_cast<std::ptrdiff_t>(city.firstTown);
        const auto end = begin + static_cast<std::ptrdiff_t>(city.townCount);
        auto other = std::lower_bound(begin, end, prefix,
                                      [this](const Town &t, std::u16string_view p) { return units(t.key) < p; });
        for (; other != end && units(other->key).starts_with(prefix); ++other) {
            if (static_cast<std::size_t>(other - m_towns.cbegin()) != town)
                return true;
        }
    }
    return false;
}

AddressMatcher::Answer AddressMatcher::decide(const std::vector<int> &cities, const std::vector<TownHit> &hits,
                                              QStringView text, QStringView rest, QStringView address) const
{
    qsizetype end = 0;
    Answer answer = decideHits(cities, hits, rest, address, end);
    if (answer.verdict == Verdict::Named) {
        answer.namesTown = true;
        answer.restStart = (rest.data() - text.data()) + end;
    }
    return answer;
}

AddressMatcher::Answer AddressMatcher::decideHits(const std::vector<int> &cities, const std::vector<TownHit> &hits,
                                                  QStringView rest, QStringView address, qsizetype &end) const
{
    // The longest name; of equally long ones at different places, the last;
    // a name met whole before one met without its 町 or 丁. A name whose number
    // differs from the typed one is no candidate, but says the text may well
    // name a town area: 北99条西 is not the city's row without one.
    const TownHit *best = nullptr;
    bool numberDiffers = false;
    for (const TownHit &hit : hits) {
        if (hit.meeting == Meeting::NumberDiffers) {
            numberDiffers = true;
            continue;
        }
        if (!best || hit.size > best->size || (hit.size == best->size && hit.start > best->start)
            || (hit.size == best->size && hit.start == best->start && best->shortened && !hit.shortened))
            best = &hit;
    }
    if (!best)
        return {-1, numberDiffers ? Verdict::NotSure : Verdict::NoTown, {}};
    end = best->end;
    // 中央1 for 中央町, where the city also has 中央通 or 中央台: no name fits
    // better than another.
    if (best->shortened && othersBegin(cities, key(m_towns[best->town].key).chopped(1), best->town))
        return {-1, Verdict::NotSure, {}};
    std::vector<const TownHit *> tied;
    for (const TownHit &hit : hits) {
        if (hit.meeting == Meeting::NumberDiffers || hit.size != best->size || hit.start != best->start
            || hit.shortened != best->shortened)
            continue;
        // 東池袋サンシャイン601-2: 東池袋サンシャイン60 with 1-2, or 601-2? Neither for sure.
        if (hit.meeting == Meeting::NumberRunsOn)
            return {-1, Verdict::NotSure, {}};
        if (std::none_of(tied.cbegin(), tied.cend(), [&](const TownHit *t) { return t->town == hit.town; }))
            tied.push_back(&hit);
    }
    if (tied.size() > 1) {
        std::vector<int> rows;
        for (const TownHit *hit : tied) {
            const Town &town = m_towns[hit->town];
            for (std::uint32_t m = 0; m < town.memberCount; ++m)
                rows.push_back(memberOf(town, m).row);
        }
        if (Answer one = oneCodeOf(rows, Verdict::SeveralCodes); one.verdict == Verdict::Named)
            return one;
        // Names that fold alike (舟屋町 and 船屋町): the one written as typed, if
        // exactly one is.
        const QString typed = foldAddressWidths(address);
        const TownHit *written = nullptr;
        for (const TownHit *hit : tied) {
            if (!typed.contains(foldAddressWidths(townName(m_towns[hit->town]))))
                continue;
            if (written)
                return oneCodeOf(rows, Verdict::SeveralCodes);
            written = hit;
        }
        if (!written)
            return oneCodeOf(rows, Verdict::SeveralCodes);
        tied = {written};
    }
    return decideTown(tied.front()->town, rest.sliced(tied.front()->end), true);
}

AddressMatcher::Answer AddressMatcher::oneCodeOf(const std::vector<int> &rows, Verdict otherwise) const
{
    std::vector<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    Answer answer{-1, otherwise, {}};
    for (const int row : sorted) {
        const bool known = std::any_of(answer.rows.cbegin(), answer.rows.cend(),
                                       [&](int r) { return m_table.zipCode(r) == m_table.zipCode(row); });
        if (!known)
            answer.rows.push_back(row);
    }
    if (answer.rows.size() == 1) {
        answer.row = answer.rows.front();
        answer.verdict = Verdict::Named;
        answer.rows.clear();
    }
    return answer;
}

// The row of one town name that the text after it names: where the name has
// rows of several codes, the list's notes tell them apart by the block number
// or the floor, or nothing does.
AddressMatcher::Answer AddressMatcher::decideTown(std::size_t index, QStringView after, bool buildingsToo) const
{
    const Town &town = m_towns[index];
    if (buildingsToo && town.buildings) {
        // 中央4-6-1 アエル15階: a building of the town, named after the block
        // number, has codes of its own.
        const Building *named = nullptr;
        qsizetype at = -1;
        auto building = std::lower_bound(m_buildings.cbegin(), m_buildings.cend(), index,
                                         [](const Building &b, std::size_t host) { return b.host < host; });
        for (; building != m_buildings.cend() && building->host == index; ++building) {
            const qsizetype found = after.indexOf(key(building->suffix));
            if (found >= 0 && (!named || building->suffix.size > named->suffix.size)) {
                named = &*building;
                at = found;
            }
        }
        if (named)
            return decideTown(named->town, after.sliced(at + named->suffix.size), false);
        // A floor, but of none of the buildings the list names: perhaps one of
        // them written otherwise.
        if (floorIn(after) >= 0)
            return {-1, Verdict::NotSure, {}};
    }

    const auto member = [&](std::uint32_t m) { return memberOf(town, m); };
    const auto noteOf = [&](std::uint32_t m) -> const Note & { return m_notes[member(m).note]; };
    if (town.memberCount == 1 && !town.floors)
        return {member(0).row, Verdict::Named, {}};
    std::vector<int> rows;
    if (town.floors) {
        const int floor = floorIn(after);
        for (std::uint32_t m = 0; m < town.memberCount; ++m) {
            const Note &note = noteOf(m);
            const bool basement = note.kind == TownNote::Kind::Basement || note.kind == TownNote::Kind::None;
            if (floor > 0 ? note.kind == TownNote::Kind::Floor && note.floor == floor : basement)
                rows.push_back(member(m).row);
        }
        if (rows.empty())
            return {-1, Verdict::NotSure, {}};
        return oneCodeOf(rows, Verdict::SeveralCodes);
    }

    for (std::uint32_t m = 0; m < town.memberCount; ++m)
        rows.push_back(member(m).row);
    if (Answer one = oneCodeOf(rows, Verdict::SeveralCodes); one.verdict == Verdict::Named)
        return one;

    // 大通西（２０～２８丁目）: the number after the name, in a row's ranges.
    const BlockNumber number = blockNumberAt(after);
    const auto ranged = [](const Note &note) {
        return note.kind == TownNote::Kind::Chome || note.kind == TownNote::Kind::Banchi;
    };
    std::vector<int> admitted;
    std::vector<int> undecided;
    bool rangeHolds = false;
    bool rangeUnread = false;
    for (std::uint32_t m = 0; m < town.memberCount; ++m) {
        const Note &note = noteOf(m);
        if (!ranged(note))
            continue;
        if (number.value < 0 || !(note.kind == TownNote::Kind::Chome ? number.chome : number.banchi)) {
            undecided.push_back(member(m).row);
            rangeUnread = true;
            continue;
        }
        const auto first = m_ranges.cbegin() + note.firstRange;
        if (std::any_of(first, first + note.rangeCount,
                        [&](const std::pair<int, int> &r) { return number.value >= r.first && number.value <= r.second; })) {
            admitted.push_back(member(m).row);
            rangeHolds = true;
        }
    }
    for (std::uint32_t m = 0; m < town.memberCount; ++m) {
        const Note &note = noteOf(m);
        if (ranged(note))
            continue;
        // その他 holds what no range of the name does.
        if (note.kind == TownNote::Kind::Rest && number.value >= 0 && !rangeUnread) {
            if (!rangeHolds)
                admitted.push_back(member(m).row);
            continue;
        }
        undecided.push_back(member(m).row);
    }
    if (admitted.empty()) {
        // No row holds the number (大通西29丁目), or none can be read for it.
        Answer several = oneCodeOf(undecided, Verdict::SeveralCodes);
        if (several.rows.size() < 2)
            return {-1, Verdict::NotSure, {}};
        return several;
    }
    admitted.insert(admitted.end(), undecided.cbegin(), undecided.cend());
    return oneCodeOf(admitted, Verdict::SeveralCodes);
}

} // namespace torumin
