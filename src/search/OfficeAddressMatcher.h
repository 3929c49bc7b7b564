#pragma once

#include "search/AddressMatcher.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace torumin {

class OfficeTable;
class PostalTable;

// The large offices by the town area they are in, with their names folded
// (foldOfficeName): what the best pick needs of them, made once per pair of
// lists. Refers to both lists, which must outlive it.
class OfficePlaces {
public:
    OfficePlaces(const PostalTable &table, const OfficeTable &offices);

    [[nodiscard]] const PostalTable &table() const noexcept { return m_table; }
    [[nodiscard]] const OfficeTable &offices() const noexcept { return m_offices; }
    // The offices in the town area of a row of the postal list.
    [[nodiscard]] const std::vector<int> *officesAt(int row) const;
    // Folded on first use: an address looks at the few offices of its town
    // area, never at all 22,000.
    [[nodiscard]] const QString &foldedName(int office) const;
    // The postal list's prefectures, for an address that follows a name.
    [[nodiscard]] const std::vector<QString> &prefectures() const noexcept { return m_prefectures; }

private:
    const PostalTable &m_table;
    const OfficeTable &m_offices;
    QHash<QString, std::vector<int>> m_byArea;
    mutable std::vector<std::optional<QString>> m_names;
    std::vector<QString> m_prefectures;
};

// The best pick with the large offices: an address that also names an office
// of the list at that place (its folded name is in the text, before or after
// the address, and the address names the town area the office is in) gets
// the office's own code. Without such a name, or where two offices there
// could be meant, the address's answer stands.
//
// Refers to the matcher and the places, which must outlive it.
class OfficeAddressMatcher {
public:
    OfficeAddressMatcher(const AddressMatcher &addresses, const OfficePlaces &places);

    struct Answer {
        AddressMatcher::Answer area;  // what the address names, as AddressMatcher tells it
        int office = -1;              // the office named there, a row of the office list
    };
    [[nodiscard]] Answer answer(QStringView text) const;

private:
    [[nodiscard]] int officeAt(int areaRow, const QString &foldedText) const;

    const AddressMatcher &m_addresses;
    const OfficePlaces &m_places;
};

} // namespace torumin
