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

// What the town search found short of a row.
constexpr int kNoTown = -1;  // no name of the city at all
constexpr int kUnsure = -2;  // a name, but not one for sure

// How a town name written with key meets typed from i. 大字 and 字 in
// the typed text are passed over where the name has none; the 条 after a
// number may be left out where more of the name follows (北1西2 is 北1条西
// 2丁目, as Sapporo writes it); a name listed with 丁目 also ends where the
// block number goes on with a hyphen (保原町1-2-3 is 保原町1丁目).
AddressMatcher::Meeting matchAt(QStringView typed, qsizetype i, QStringView key, qsizetype &end)
{
    end = i;
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

// Where the first `end` units of the folded address end in the address as
// given: at the shortest start of it that folds to as many. A fold never
// shortens as more text follows, so the starts can be halved.
qsizetype givenIndex(QStringView address, qsizetype foldedEnd)
{
    qsizetype low = 0;
    qsizetype high = address.size();
    while (low < high) {
        const qsizetype mid = low + (high - low) / 2;
        if (foldAddressVariants(address.first(mid)).size() >= foldedEnd)
            high = mid;
        else
            low = mid + 1;
    }
    return low;
}

} // namespace

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
    return {offset, m_keys.size() - offset};
}

void AddressMatcher::build(const std::vector<int> *rows)
{
    QHash<QStringView, int> prefectures;
    QHash<QString, int> cities;   // prefecture index, tab, city name
    QHash<QString, int> groups;   // the same for a designated city
    struct Named {
        int city;
        int row;
        std::u16string_view name;
        Key key;
    };
    std::vector<Named> named;
    std::vector<int> cityRows;    // a row of each city, for its name

    // The list keeps a city's rows together, so the last city found is
    // almost always the next row's too.
    QStringView lastPrefecture;
    QStringView lastCity;
    int lastCityIndex = -1;
    const int count = rows ? static_cast<int>(rows->size()) : m_table.recordCount();
    named.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const int row = rows ? (*rows)[static_cast<std::size_t>(i)] : i;
        if (row < 0 || row >= m_table.recordCount())
            continue;
        const QStringView prefecture = m_table.prefName(row);
        const QStringView city = m_table.cityName(row);
        if (lastCityIndex < 0 || prefecture != lastPrefecture || city != lastCity) {
            auto pref = prefectures.constFind(prefecture);
            if (pref == prefectures.cend()) {
                pref = prefectures.insert(prefecture, static_cast<int>(m_prefectures.size()));
                m_prefectures.push_back(appendKey(prefecture));
            }
            const QString cityId = QString::number(*pref) + u'\t' + city;
            auto found = cities.constFind(cityId);
            if (found == cities.cend()) {
                found = cities.insert(cityId, static_cast<int>(m_cities.size()));
                City entry;
                entry.prefecture = *pref;
                entry.kyoto = prefecture == u"京都府" && city.startsWith(u"京都市");
                m_cities.push_back(entry);
                cityRows.push_back(row);
            }
            lastPrefecture = prefecture;
            lastCity = city;
            lastCityIndex = *found;
        }
        City &entry = m_cities[static_cast<std::size_t>(lastCityIndex)];
        const QStringView town = m_table.townName(row);
        if (town.isEmpty()) {
            if (entry.noTownRow < 0)
                entry.noTownRow = row;
        } else {
            named.push_back({lastCityIndex, row, std::u16string_view(town.utf16(), static_cast<std::size_t>(town.size())),
                             appendKey(town)});
        }
    }

    // Each city's towns by key, and one town per name: the first row in
    // table order. (Code-unit order is the quickest and all the lookups
    // need.) The list keeps a city's rows together, so each city's names
    // sort on their own.
    const auto byKey = [this](const Named &a, const Named &b) {
        if (a.city != b.city)
            return a.city < b.city;
        if (const auto ka = units(a.key), kb = units(b.key); ka != kb)
            return ka < kb;
        if (a.name != b.name)
            return a.name < b.name;
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
    named.erase(std::unique(named.begin(), named.end(),
                            [](const Named &a, const Named &b) { return a.city == b.city && a.name == b.name; }),
                named.end());
    // A name of spaces alone folds to nothing and can name nothing.
    std::erase_if(named, [](const Named &town) { return town.key.size == 0; });
    m_towns.reserve(named.size());
    for (std::size_t t = 0; t < named.size(); ++t) {
        City &city = m_cities[static_cast<std::size_t>(named[t].city)];
        if (city.townCount == 0)
            city.firstTown = t;
        ++city.townCount;
        m_towns.push_back({named[t].key, named[t].row});
    }

    for (std::size_t c = 0; c < m_cities.size(); ++c) {
        const QStringView name = m_table.cityName(cityRows[c]);
        const int city = static_cast<int>(c);
        const auto addKey = [this, city](QStringView text, CityKeyKind kind) {
            const Key folded = appendKey(text);
            if (folded.size > 0)
                m_cityKeys.push_back({folded, city, kind});
        };
        addKey(name, CityKeyKind::Whole);
        // 東牟婁郡串本町 is also written 串本町.
        if (const qsizetype county = name.indexOf(u'郡'); county > 0 && county + 1 < name.size())
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

int AddressMatcher::bestRow(QStringView address) const
{
    return bestMatch(address).row;
}

AddressMatcher::Match AddressMatcher::bestMatch(QStringView address) const
{
    const QString typed = foldAddressVariants(address);
    const QStringView text(typed);
    qsizetype at = afterLeadingCode(text);

    int prefecture = -1;
    for (std::size_t p = 0; p < m_prefectures.size(); ++p) {
        if (m_prefectures[p].size > 0 && text.sliced(at).startsWith(key(m_prefectures[p]))) {
            prefecture = static_cast<int>(p);
            at += m_prefectures[p].size;
            break;
        }
    }

    // The longest city name the text goes on with; all the cities that have it.
    const QStringView afterPrefecture = text.sliced(at);
    if (afterPrefecture.isEmpty())
        return {};
    const auto first = std::lower_bound(m_cityKeys.cbegin(), m_cityKeys.cend(), afterPrefecture.front(),
                                        [this](const CityKey &k, QChar c) { return key(k.key).front() < c; });
    qsizetype longest = 0;
    std::vector<const CityKey *> matched;
    for (auto k = first; k != m_cityKeys.cend() && key(k->key).front() == afterPrefecture.front(); ++k) {
        if (prefecture >= 0 && m_cities[static_cast<std::size_t>(k->city)].prefecture != prefecture)
            continue;
        if (k->key.size < longest || !afterPrefecture.startsWith(key(k->key)))
            continue;
        if (k->key.size > longest)
            matched.clear();
        longest = k->key.size;
        matched.push_back(&*k);
    }
    if (matched.empty())
        return {};

    std::vector<int> cities;
    const City &firstCity = m_cities[static_cast<std::size_t>(matched.front()->city)];
    const bool wholeGroup = std::all_of(matched.cbegin(), matched.cend(), [&](const CityKey *k) {
        return k->kind == CityKeyKind::WithoutWard && m_cities[static_cast<std::size_t>(k->city)].group == firstCity.group;
    });
    if (wholeGroup) {
        for (const CityKey *k : matched)
            cities.push_back(k->city);
    } else if (std::all_of(matched.cbegin(), matched.cend(),
                           [&](const CityKey *k) { return k->city == matched.front()->city; })) {
        cities.push_back(matched.front()->city);
    } else {
        return {};  // 府中市 without its prefecture: two cities
    }

    QStringView rest = afterPrefecture.sliced(longest);
    while (!rest.isEmpty() && (rest.front() == u',' || rest.front() == u'、'))
        rest = rest.sliced(1);
    const qsizetype restAt = rest.data() - text.data();
    qsizetype townEnd = 0;
    const int row = townRow(cities, rest, address, townEnd);
    if (row >= 0)
        return {row, true, givenIndex(address, restAt + townEnd)};
    // Only where no listed town area can be meant.
    if (row == kNoTown && cities.size() == 1 && firstCity.noTownRow >= 0)
        return {firstCity.noTownRow, false, givenIndex(address, restAt)};
    return {};
}

void AddressMatcher::collectTownHits(const std::vector<int> &cities, QStringView rest, qsizetype start,
                                     std::vector<TownHit> &hits) const
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
                qsizetype nameEnd = 0;
                const Meeting meeting = matchAt(rest, start, key(town->key), nameEnd);
                if (meeting != Meeting::No)
                    hits.push_back({static_cast<std::size_t>(town - m_towns.cbegin()), town->key.size, start, meeting,
                                    nameEnd});
            }
        }
    }
}

int AddressMatcher::townRow(const std::vector<int> &cities, QStringView rest, QStringView address,
                            qsizetype &end) const
{
    std::vector<TownHit> hits;
    const auto decided = [&]() {
        const int row = decide(hits, address);
        for (const TownHit &hit : hits) {
            if (row >= 0 && m_towns[hit.town].row == row && hit.meeting == Meeting::Whole)
                end = std::max(end, hit.end);
        }
        return row;
    };
    if (m_cities[static_cast<std::size_t>(cities.front())].kyoto) {
        // The town follows the directions; failing that, the longest town name
        // anywhere before the block number.
        if (const qsizetype after = afterKyotoDirections(rest); after >= 0) {
            collectTownHits(cities, rest, after, hits);
            if (const int row = decided(); row != kNoTown)
                return row;
        }
        const qsizetype last = std::max<qsizetype>(blockStart(rest), 1);
        for (qsizetype start = 0; start < last && start < rest.size(); ++start)
            collectTownHits(cities, rest, start, hits);
        return decided();
    }
    collectTownHits(cities, rest, 0, hits);
    return decided();
}

int AddressMatcher::decide(const std::vector<TownHit> &hits, QStringView address) const
{
    // The longest name; of equally long ones at different places, the last.
    // A name whose number differs from the typed one is no candidate, but
    // says the text may well name a town area: 北99条西 is not the city's
    // row without one.
    const TownHit *best = nullptr;
    bool numberDiffers = false;
    for (const TownHit &hit : hits) {
        if (hit.meeting == Meeting::NumberDiffers) {
            numberDiffers = true;
            continue;
        }
        if (!best || hit.size > best->size || (hit.size == best->size && hit.start > best->start))
            best = &hit;
    }
    if (!best)
        return numberDiffers ? kUnsure : kNoTown;
    std::vector<int> rows;
    for (const TownHit &hit : hits) {
        if (hit.meeting == Meeting::NumberDiffers || hit.size != best->size || hit.start != best->start)
            continue;
        // 東池袋サンシャイン601-2: 東池袋サンシャイン60 with 1-2, or 601-2? Neither for sure.
        if (hit.meeting == Meeting::NumberRunsOn)
            return kUnsure;
        rows.push_back(m_towns[hit.town].row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.size() == 1)
        return rows.front();
    // Names that fold alike (舟屋町 and 船屋町): the one written as typed, if
    // exactly one is.
    const QString typed = foldAddressWidths(address);
    int written = kUnsure;
    for (const int row : rows) {
        if (typed.contains(foldAddressWidths(m_table.townName(row)))) {
            if (written >= 0)
                return kUnsure;
            written = row;
        }
    }
    return written;
}

} // namespace torumin
