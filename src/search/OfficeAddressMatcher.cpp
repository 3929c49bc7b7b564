#include "search/OfficeAddressMatcher.h"

#include "data/OfficeTable.h"
#include "data/PostalTable.h"
#include "search/OfficeSearch.h"

#include <QSet>

namespace torumin {

namespace {

QString areaKey(QStringView prefecture, QStringView city, QStringView town)
{
    return prefecture % u'\t' % city % u'\t' % town;
}

// A name that short is in too many texts by chance.
constexpr qsizetype kShortestName = 2;

} // namespace

OfficePlaces::OfficePlaces(const PostalTable &table, const OfficeTable &offices)
    : m_table(table)
    , m_offices(offices)
{
    const int count = offices.recordCount();
    m_names.resize(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        m_byArea[areaKey(offices.prefName(row), offices.cityName(row), offices.townName(row))].push_back(row);
    QSet<QStringView> seen;
    for (int row = 0; row < table.recordCount(); ++row) {
        const QStringView prefecture = table.prefName(row);
        if (!prefecture.isEmpty() && !seen.contains(prefecture)) {
            seen.insert(prefecture);
            m_prefectures.push_back(prefecture.toString());
        }
    }
}

const QString &OfficePlaces::foldedName(int office) const
{
    std::optional<QString> &name = m_names[static_cast<std::size_t>(office)];
    if (!name)
        name = foldOfficeName(m_offices.name(office));
    return *name;
}

const std::vector<int> *OfficePlaces::officesAt(int row) const
{
    const auto found = m_byArea.constFind(areaKey(m_table.prefName(row), m_table.cityName(row), m_table.townName(row)));
    return found == m_byArea.constEnd() ? nullptr : &*found;
}

OfficeAddressMatcher::OfficeAddressMatcher(const AddressMatcher &addresses, const OfficePlaces &places)
    : m_addresses(addresses)
    , m_places(places)
{
}

int OfficeAddressMatcher::officeAt(int areaRow, const QString &foldedText) const
{
    const std::vector<int> *found = m_places.officesAt(areaRow);
    if (!found)
        return -1;
    const PostalTable &table = m_places.table();
    const OfficeTable &offices = m_places.offices();
    // The area's own name says nothing of an office that bears it.
    const QString area =
        foldOfficeName(areaKey(table.prefName(areaRow), table.cityName(areaRow), table.townName(areaRow)));
    int chosen = -1;
    qsizetype longest = 0;
    bool tie = false;
    for (const int office : *found) {
        const QString &name = m_places.foldedName(office);
        if (name.size() < kShortestName || area.contains(name) || !foldedText.contains(name))
            continue;
        // The longest name in the text wins (東京中央郵便局 over 中央郵便局);
        // two of one length with different codes cannot be told apart.
        if (name.size() > longest) {
            chosen = office;
            longest = name.size();
            tie = false;
        } else if (name.size() == longest && offices.code(office) != offices.code(chosen)) {
            tie = true;
        }
    }
    return tie ? -1 : chosen;
}

OfficeAddressMatcher::Answer OfficeAddressMatcher::answer(QStringView text) const
{
    Answer result;
    result.area = m_addresses.answer(text);
    if (result.area.verdict != AddressMatcher::Verdict::Named) {
        // A name first (東京中央郵便局 東京都千代田区…): the address from its prefecture on.
        for (qsizetype at = 1; at < text.size(); ++at) {
            bool prefecture = false;
            for (const QString &name : m_places.prefectures()) {
                if (text.sliced(at).startsWith(name)) {
                    prefecture = true;
                    break;
                }
            }
            if (!prefecture)
                continue;
            AddressMatcher::Answer after = m_addresses.answer(text.sliced(at));
            if (after.verdict == AddressMatcher::Verdict::Named) {
                result.area = std::move(after);
                break;
            }
        }
    }
    if (result.area.verdict == AddressMatcher::Verdict::Named && m_places.offices().recordCount() > 0)
        result.office = officeAt(result.area.row, foldOfficeName(text));
    return result;
}

} // namespace torumin
