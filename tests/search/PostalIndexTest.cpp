#include "data/PostalListReader.h"
#include "search/PostalIndex.h"
#include "search/PostalLookup.h"
#include "support/TableFixtures.h"

#include <QHash>

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <vector>

namespace torumin {
namespace {

const PostalTable &fullList()
{
    static const PostalTable table = [] {
        ListReadResult result = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
        if (result.error)
            ADD_FAILURE() << result.error->message.toStdString();
        return std::move(result.table);
    }();
    return table;
}

// Every code and every pair of names of the nationwide list: all its rows,
// in file order, as a pass over the list finds them (the first of them is
// what findCode and findAddress give).
TEST(PostalIndex, FindsEveryRowOfEveryKeyAsAScanWould)
{
    const PostalTable &table = fullList();
    ASSERT_GT(table.recordCount(), 100000);

    std::map<QString, std::vector<int>> byCode;
    for (int row = 0; row < table.recordCount(); ++row)
        byCode[table.zipCode(row).toString()].push_back(row);
    const PostalIndex codes(table, PostalIndex::Key::Code);
    int codesOfSeveralRows = 0;
    for (const auto &[code, rows] : byCode) {
        ASSERT_EQ(codes.rowsOfCode(code), rows) << code.toStdString();
        codesOfSeveralRows += rows.size() > 1 ? 1 : 0;
    }
    EXPECT_EQ(codesOfSeveralRows, 1341);
    EXPECT_EQ(codes.rowsOfCode(u"4980000").front(), findCode(table, u"4980000"));
    EXPECT_TRUE(codes.rowsOfCode(u"0000000").empty());
    EXPECT_TRUE(codes.rowsOfCode(u"100000").empty());

    const std::array scripts{std::pair{PostalIndex::Key::KanjiNames, AddressScript::Kanji},
                             std::pair{PostalIndex::Key::KanaNames, AddressScript::Kana}};
    for (const auto &[key, script] : scripts) {
        const PostalColumn pref = script == AddressScript::Kanji ? PostalColumn::PrefName : PostalColumn::PrefKana;
        const PostalColumn city = script == AddressScript::Kanji ? PostalColumn::CityName : PostalColumn::CityKana;
        const PostalColumn town = script == AddressScript::Kanji ? PostalColumn::TownName : PostalColumn::TownKana;
        QHash<QString, std::vector<int>> byNames;
        for (int row = 0; row < table.recordCount(); ++row)
            byNames[table.field(city, row) + u'\t' + table.field(town, row)].push_back(row);
        const PostalIndex names(table, key);
        for (auto it = byNames.cbegin(); it != byNames.cend(); ++it) {
            const int first = it->front();
            const QStringView cityName = table.field(city, first);
            const QStringView townName = table.field(town, first);
            ASSERT_EQ(names.rowsOfAddress({}, cityName, townName), *it) << it.key().toStdString();
            // With the prefecture: the rows of that prefecture alone.
            std::vector<int> ofPrefecture;
            for (const int row : *it) {
                if (table.field(pref, row) == table.field(pref, first))
                    ofPrefecture.push_back(row);
            }
            ASSERT_EQ(names.rowsOfAddress(table.field(pref, first), cityName, townName), ofPrefecture);
        }
    }
}

// Codes no real list holds are still found exactly, as by the scan.
// The list reader refuses codes that are not seven digits; a lookup may
// still be asked for one.
TEST(PostalIndex, CodesThatAreNotSevenDigits)
{
    const PostalTable table = testing::tableOf({
        {QStringLiteral("1000005"), QStringLiteral("ｶ"), QStringLiteral("ｶ"), QStringLiteral("ｶ"),
         QStringLiteral("東京都"), QStringLiteral("千代田区"), QStringLiteral("丸の内")},
        {QStringLiteral("9999999"), QStringLiteral("ｶ"), QStringLiteral("ｶ"), QStringLiteral("ｶ"),
         QStringLiteral("東京都"), QStringLiteral("千代田区"), QStringLiteral("有楽町")},
    });
    const PostalIndex codes(table, PostalIndex::Key::Code);
    EXPECT_EQ(codes.rowsOfCode(u"1000005"), std::vector<int>{0});
    EXPECT_EQ(codes.rowsOfCode(u"9999999"), std::vector<int>{1});
    for (const char16_t *code : {u"10000X5", u"100000", u"10000050", u"", u"１０００００５"})
        EXPECT_TRUE(codes.rowsOfCode(code).empty()) << QString::fromUtf16(code).toStdString();
}

} // namespace
} // namespace torumin
