#pragma once

#include "search/PostalLookup.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace torumin {

class PostalTable;

// The prefecture list: one item per run of consecutive rows with the same
// prefecture, in table order (a prefecture split into two runs appears twice).
[[nodiscard]] QStringList prefectureList(const PostalTable &table, AddressScript script);

// The city/ward list for a prefecture: one item per run of consecutive rows of
// that prefecture with the same city/ward, in table order. Every run is kept,
// however many there are. Kana names are read in the list's form (listForm),
// here and in townList.
[[nodiscard]] QStringList cityList(const PostalTable &table, AddressScript script, QStringView prefecture);

// The town-area list for a city/ward of a prefecture: one item per row, in
// table order, with the row it stands for (a name can stand for several rows).
// An empty prefecture lists the towns of every prefecture that has a city/ward
// of that name.
struct TownList {
    QStringList names;
    std::vector<int> rows;  // one per name
};
[[nodiscard]] TownList townList(const PostalTable &table, AddressScript script, QStringView prefecture,
                                QStringView city);

// The address dialog's check before a search: which box is missing, with the
// message in the wording of the mode, or nothing when the search may go on.
// The prefecture is not checked.
struct AddressCheckMessage {
    QString text;
    QString title;
    int focusBox = 0;  // 1 city/ward, 2 town area
    friend bool operator==(const AddressCheckMessage &, const AddressCheckMessage &) = default;
};
[[nodiscard]] std::optional<AddressCheckMessage> checkAddress(AddressScript script, const QString &city,
                                                              const QString &town);

} // namespace torumin
