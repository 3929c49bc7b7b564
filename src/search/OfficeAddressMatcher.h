#pragma once

#include "search/AddressMatcher.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <vector>

namespace torumin {

class OfficeTable;
class PostalTable;

// The best pick with the large offices: an address that also names an office
// of the list at that place (its name, folded as foldOfficeName folds it, is
// in the text, before or after the address, and the address names the town
// area the office is in) gets the office's own code. Without such a name, or
// where two offices there could be meant, the address's answer stands.
//
// Refers to the matcher and the office list, which must outlive it.
class OfficeAddressMatcher {
public:
    OfficeAddressMatcher(const AddressMatcher &addresses, const PostalTable &table, const OfficeTable &offices);

    struct Answer {
        AddressMatcher::Answer area;  // what the address names, as AddressMatcher tells it
        int office = -1;              // the office named there, a row of the office list
    };
    [[nodiscard]] Answer answer(QStringView text) const;

private:
    [[nodiscard]] int officeAt(int areaRow, const QString &foldedText) const;

    const AddressMatcher &m_addresses;
    const PostalTable &m_table;
    const OfficeTable &m_offices;
    // Offices by prefecture, city and town area, as the postal list writes them.
    QHash<QString, std::vector<int>> m_byArea;
    std::vector<QString> m_names;  // folded, one per office
    std::vector<QString> m_prefectures;  // of the postal list, for an address after a name
};

} // namespace torumin
