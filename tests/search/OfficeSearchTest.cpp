#include "data/OfficeTable.h"
#include "data/PostalListReader.h"
#include "search/AddressMatcher.h"
#include "search/OfficeAddressMatcher.h"
#include "search/OfficeSearch.h"
#include "search/PostalLookup.h"

#include <gtest/gtest.h>

#include <vector>

namespace torumin {
namespace {

const OfficeTable &sample()
{
    static const OfficeTable offices = [] {
        OfficeReadResult read = readOfficeListFile(QStringLiteral(TORUMIN_TEST_FIXTURES "/jigyosyo_small.csv"));
        EXPECT_FALSE(read.error.has_value());
        return std::move(read.table);
    }();
    return offices;
}

TEST(OfficeSearch, CodeGivesTheFirstOfficeAndItsLines)
{
    const OfficeTable &offices = sample();
    const int row = findOfficeCode(offices, u"1008994");
    ASSERT_EQ(row, 1) << "the first of the two offices with this code";
    EXPECT_EQ(officeResultText(offices, row), u"東京都千代田区丸の内２丁目７－２\u3000東京中央郵便局");
    EXPECT_EQ(officeLine(offices, row), u"〒100-8994\u3000東京中央郵便局\u3000東京都千代田区丸の内２丁目７－２");
    EXPECT_EQ(findOfficeCode(offices, u"1000005"), -1);
    EXPECT_EQ(findOfficeCode(offices, u""), -1);
}

TEST(OfficeSearch, NamesAreFoundAsPeopleWriteThem)
{
    const OfficeNameIndex index(sample());
    const struct {
        const char16_t *typed;
        std::vector<int> rows;
    } cases[] = {
        {u"東京中央", {1, 2}},
        {u"東京 中央郵便局", {1, 2}},        // spaces
        {u"abc商会", {3}},                   // widths and letter case, （株） left out
        {u"ＡＢＣ(株)", {3}},
        {u"トヨタ自動車㈱", {4}},            // ㈱ for 株式会社
        {u"株式会社トヨタ", {4}},             // wherever the form stands
        {u"みずほ", {5}},
        {u"ミズホ銀行", {5}},                 // hiragana as katakana
        {u"ｵｵｻｶｼﾃﾝ", {5}},                   // the reading, half-width
        {u"オオサカ", {5}},                   // the reading, full-width
        {u"", {0, 1, 2, 3, 4, 5}},
        {u"株式会社", {0, 1, 2, 3, 4, 5}},   // folds to nothing
        {u"郵便番号", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(index.find(c.typed), c.rows) << QString::fromUtf16(c.typed).toStdString();
}

TEST(OfficeSearch, CodeSearchFallsBackToTheOfficeList)
{
    const ListReadResult postal = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
    const OfficeReadResult offices = readOfficeListFile(QStringLiteral(TORUMIN_FULL_OFFICE_LIST));
    ASSERT_FALSE(postal.error || offices.error);
    EXPECT_EQ(addressResultText(postal.table, offices.table, QStringLiteral("1008994")),
              u"東京都千代田区丸の内２丁目７－２\u3000東京中央郵便局");
    EXPECT_EQ(addressResultText(postal.table, offices.table, QStringLiteral("1000005")), u"東京都千代田区丸の内");
    EXPECT_EQ(addressResultText(postal.table, offices.table, QStringLiteral("1000099")), kCodeNotFound);
    EXPECT_TRUE(addressResultText(postal.table, offices.table, QString()).isEmpty());

    const OfficeNameIndex index(offices.table);
    const std::vector<int> found = index.find(u"宮内庁");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(offices.table.code(found.front()), u"1008111");
}

TEST(OfficeSearch, AnAddressThatNamesAnOfficeThereGetsItsCode)
{
    const ListReadResult postal = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
    const OfficeReadResult offices = readOfficeListFile(QStringLiteral(TORUMIN_FULL_OFFICE_LIST));
    ASSERT_FALSE(postal.error || offices.error);
    const AddressMatcher addresses(postal.table);
    const OfficePlaces places(postal.table, offices.table);
    const OfficeAddressMatcher matcher(addresses, places);
    const struct {
        const char16_t *text;
        const char16_t *code;    // the answer's, office or area
        const char16_t *office;  // the office's name, if one
    } cases[] = {
        {u"東京都千代田区千代田1-1 宮内庁", u"1008111", u"宮内庁"},
        {u"東京中央郵便局 東京都千代田区丸の内2-7-2", u"1008994", u"東京中央郵便局"},
        {u"東京中央郵便局東京都千代田区丸の内２－７－２", u"1008994", u"東京中央郵便局"},
        {u"東京都千代田区千代田1-1", u"1000001", nullptr},
        // A name of the list, but not at that address: the address's code.
        {u"東京都千代田区千代田1-1 東京中央郵便局", u"1000001", nullptr},
        // No address at all: nothing, whatever name is there.
        {u"宮内庁", nullptr, nullptr},
    };
    for (const auto &c : cases) {
        const OfficeAddressMatcher::Answer answer = matcher.answer(c.text);
        const QString text = QString::fromUtf16(c.text);
        if (!c.code) {
            EXPECT_EQ(answer.area.row, -1) << text.toStdString();
            EXPECT_EQ(answer.office, -1) << text.toStdString();
            continue;
        }
        const QStringView code = answer.office >= 0 ? offices.table.code(answer.office) : postal.table.zipCode(answer.area.row);
        EXPECT_EQ(code, QStringView(c.code)) << text.toStdString();
        EXPECT_EQ(answer.office >= 0 ? offices.table.name(answer.office) : QStringView(),
                  c.office ? QStringView(c.office) : QStringView())
            << text.toStdString();
    }
}

} // namespace
} // namespace torumin
