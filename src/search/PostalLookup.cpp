#include "search/PostalLookup.h"

#include "data/PostalTable.h"
#include "search/KanaWidth.h"

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

QString listForm(QStringView name, AddressScript script)
{
    return script == AddressScript::Kana ? toHalfWidthKatakana(name) : name.toString();
}

namespace {

// One address in the list's form, and whether a row is one of its rows.
class AddressNames {
public:
    AddressNames(QStringView prefecture, QStringView city, QStringView town, AddressScript script)
        : m_pref(listForm(prefecture, script))
        , m_city(listForm(city, script))
        , m_town(listForm(town, script))
        , m_prefColumn(script == AddressScript::Kanji ? PostalColumn::PrefName : PostalColumn::PrefKana)
        , m_cityColumn(script == AddressScript::Kanji ? PostalColumn::CityName : PostalColumn::CityKana)
        , m_townColumn(script == AddressScript::Kanji ? PostalColumn::TownName : PostalColumn::TownKana)
    {
    }

    [[nodiscard]] bool matches(const PostalTable &table, int row) const noexcept
    {
        return table.field(m_townColumn, row) == m_town && table.field(m_cityColumn, row) == m_city
            && (m_pref.isEmpty() || table.field(m_prefColumn, row) == m_pref);
    }

private:
    QString m_pref;
    QString m_city;
    QString m_town;
    PostalColumn m_prefColumn;
    PostalColumn m_cityColumn;
    PostalColumn m_townColumn;
};

} // namespace

int findAddress(const PostalTable &table, QStringView prefecture, QStringView city, QStringView town,
                AddressScript script)
{
    const AddressNames names(prefecture, city, town, script);
    const int rows = table.recordCount();
    for (int row = 0; row < rows; ++row) {
        if (names.matches(table, row))
            return row;
    }
    return -1;
}

int addressRow(const PostalTable &table, QStringView prefecture, QStringView city, QStringView town,
               AddressScript script, int picked)
{
    if (picked >= 0 && picked < table.recordCount() && AddressNames(prefecture, city, town, script).matches(table, picked))
        return picked;
    return findAddress(table, prefecture, city, town, script);
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
                       const QString &town, AddressScript script, int picked)
{
    if (city.isEmpty())
        return {};
    const int row = addressRow(table, prefecture, city, town, script, picked);
    if (row < 0)
        return kAddressNotFound;
    return hyphenatedCode(table.zipCode(row));
}

QString hyphenatedCode(QStringView code)
{
    return code.left(3).toString() + QLatin1Char('-') + code.right(4);
}

} // namespace torumin
