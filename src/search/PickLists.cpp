#include "search/PickLists.h"

#include "data/PostalTable.h"

namespace torumin {

namespace {

struct Columns {
    PostalColumn pref;
    PostalColumn city;
    PostalColumn town;
};

Columns columnsFor(AddressScript script)
{
    if (script == AddressScript::Kanji)
        return {PostalColumn::PrefName, PostalColumn::CityName, PostalColumn::TownName};
    return {PostalColumn::PrefKana, PostalColumn::CityKana, PostalColumn::TownKana};
}

} // namespace

QStringList prefectureList(const PostalTable &table, AddressScript script)
{
    const PostalColumn column = columnsFor(script).pref;
    QStringList items;
    const int rows = table.recordCount();
    for (int row = 0; row < rows; ++row) {
        // The row after the last one reads empty, which ends the last run.
        const QStringView value = table.field(column, row);
        if (value != table.field(column, row + 1))
            items.append(value.toString());
    }
    return items;
}

QStringList cityList(const PostalTable &table, AddressScript script, QStringView typedPrefecture)
{
    const Columns columns = columnsFor(script);
    const QString prefecture = listForm(typedPrefecture, script);
    QStringList items;
    const int rows = table.recordCount();
    for (int row = 0; row < rows; ++row) {
        if (table.field(columns.pref, row) != prefecture)
            continue;
        const QStringView city = table.field(columns.city, row);
        // A run ends where the next row names another city, and also where the
        // prefecture ends: a city named like the next prefecture's first city
        // would otherwise never be listed.
        if (city != table.field(columns.city, row + 1) || prefecture != table.field(columns.pref, row + 1))
            items.append(city.toString());
    }
    return items;
}

TownList townList(const PostalTable &table, AddressScript script, QStringView typedPrefecture, QStringView typedCity)
{
    const Columns columns = columnsFor(script);
    const QString prefecture = listForm(typedPrefecture, script);
    const QString city = listForm(typedCity, script);
    TownList list;
    const int rows = table.recordCount();
    for (int row = 0; row < rows; ++row) {
        if (table.field(columns.city, row) == city
            && (prefecture.isEmpty() || table.field(columns.pref, row) == prefecture)) {
            list.names.append(table.field(columns.town, row).toString());
            list.rows.push_back(row);
        }
    }
    return list;
}

std::optional<AddressCheckMessage> checkAddress(AddressScript script, const QString &city, const QString &town)
{
    const bool kanji = script == AddressScript::Kanji;
    const QString title = QStringLiteral("入力確認");
    if (city.isEmpty()) {
        return AddressCheckMessage{kanji ? QStringLiteral("「市/区名」 が入力されていません。　")
                                         : QStringLiteral("「ｼ/ｸﾒｲ」 が入力されていません。　"),
                                   title, 1};
    }
    if (town.isEmpty()) {
        return AddressCheckMessage{kanji ? QStringLiteral("「町/村/字名」 が入力されていません。　")
                                         : QStringLiteral("「ﾏﾁ/ﾑﾗ/ｱｻﾞﾒｲ」 が入力されていません。　"),
                                   title, 2};
    }
    return std::nullopt;
}

} // namespace torumin
