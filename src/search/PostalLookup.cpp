#include "search/PostalLookup.h"

#include "data/PostalTable.h"

namespace torumin {

int findCode(const PostalTable &table, QStringView code) noexcept
{
    const int rows = table.recordCount();
    for (int row = 0; row < rows; ++row) {
        if (table.zipCode(row) == code)
            return row;
    }
    return -1;
}

int findAddress(const PostalTable &table, QStringView prefecture, QStringView city, QStringView town,
                AddressScript script) noexcept
{
    const PostalColumn prefColumn = script == AddressScript::Kanji ? PostalColumn::PrefName : PostalColumn::PrefKana;
    const PostalColumn cityColumn = script == AddressScript::Kanji ? PostalColumn::CityName : PostalColumn::CityKana;
    const PostalColumn townColumn = script == AddressScript::Kanji ? PostalColumn::TownName : PostalColumn::TownKana;
    const int rows = table.recordCount();
    for (int row = 0; row < rows; ++row) {
        if (table.field(townColumn, row) == town && table.field(cityColumn, row) == city
            && (prefecture.isEmpty() || table.field(prefColumn, row) == prefecture))
            return row;
    }
    return -1;
}

QString addressResultText(const PostalTable &table, const QString &code)
{
    if (code.isEmpty())
        return {};
    const int row = findCode(table, code);
    if (row < 0)
        return kCodeNotFound;
    return table.prefName(row).toString() + table.cityName(row) + table.townName(row);
}

QString codeResultText(const PostalTable &table, const QString &prefecture, const QString &city,
                       const QString &town, AddressScript script)
{
    if (city.isEmpty())
        return {};
    const int row = findAddress(table, prefecture, city, town, script);
    if (row < 0)
        return kAddressNotFound;
    return hyphenatedCode(table.zipCode(row));
}

QString hyphenatedCode(QStringView code)
{
    return code.left(3).toString() + QLatin1Char('-') + code.right(4);
}

} // namespace torumin
