#include "ListTestSupport.h"

#include "data/OfficeTable.h"

#include <gtest/gtest.h>

#include <string>

namespace torumin {
namespace {

using test::Row;

// Rows as strings, in the order OfficeTable names its fields.
std::vector<Row> rowsOf(const OfficeTable &offices)
{
    std::vector<Row> rows;
    for (int row = 0; row < offices.recordCount(); ++row) {
        const auto utf8 = [](QStringView text) { return text.toString().toStdString(); };
        rows.push_back({utf8(offices.reading(row)), utf8(offices.name(row)), utf8(offices.prefName(row)),
                        utf8(offices.cityName(row)), utf8(offices.townName(row)), utf8(offices.rest(row)),
                        utf8(offices.code(row))});
    }
    return rows;
}

TEST(OfficeList, ReadsThePublishedLayoutAndEachEdition)
{
    const OfficeReadResult cp932 = readOfficeListFile(test::fixturePath("jigyosyo_small.csv"));
    ASSERT_FALSE(cp932.error.has_value()) << cp932.error->message.toStdString();
    const std::vector<Row> rows = rowsOf(cp932.table);
    ASSERT_EQ(rows.size(), 6U);
    EXPECT_EQ(rows[1], (Row{"ﾄｳｷﾖｳﾁﾕｳｵｳﾕｳﾋﾞﾝｷﾖｸ", "東京中央郵便局", "東京都", "千代田区", "丸の内", "２丁目７－２", "1008994"}));
    EXPECT_TRUE(cp932.table.code(6).isEmpty());

    // The UTF-8 edition writes readings full-width; they read as the other's.
    const std::string utf8 = "\"13101\",\"トウキヨウチユウオウユウビンキヨク\",\"東京中央郵便局\",\"東京都\",\"千代田区\","
                             "\"丸の内\",\"２丁目７－２\",\"1008994\",\"100  \",\"銀座\",0,0,0\r\n";
    const OfficeReadResult edition = readOfficeListBytes(utf8, QStringLiteral("jigyosyo.csv"));
    ASSERT_FALSE(edition.error.has_value());
    EXPECT_EQ(rowsOf(edition.table), std::vector<Row>{rows[1]});
}

TEST(OfficeList, ProblemsAreToldInTheOfficeListsWords)
{
    const struct {
        std::string bytes;
        const char *says;
    } cases[] = {
        {"\"13101\",\"\",\"A\",\"B\",\"C\",\"D\",\"E\",\"1008994\",\"100  \",\"\",0,0\r\n", "1 行目の項目が 12 個しか"},
        {"\"13101\",\"\",\"A\",\"B\",\"C\",\"D\",\"E\",\"100-8994\",\"100  \",\"\",0,0,0\r\n", "1 行目の郵便番号「100-8994」"},
        // A postal-code list given as the office list.
        {"13101,\"100  \",\"1000005\",\"T\",\"C\",\"M\",\"T\",\"C\",\"M\",0,0,0,0,0,0\r\n", "1 行目の郵便番号「C」"},
    };
    for (const auto &c : cases) {
        const OfficeReadResult read = readOfficeListBytes(c.bytes, QStringLiteral("/lists/JIGYOSYO.CSV"));
        ASSERT_TRUE(read.error.has_value()) << c.says;
        EXPECT_EQ(read.error->code, ListErrorCode::MalformedLine);
        EXPECT_TRUE(read.error->message.startsWith(u"「事業所の個別郵便番号一覧 *.CSV」 を読み込めませんでした。"))
            << read.error->message.toStdString();
        EXPECT_TRUE(read.error->message.contains(QString::fromUtf8(c.says))) << read.error->message.toStdString();
    }
}

TEST(OfficeList, WholeListFitsItsBudgetAndReadsAlikeZippedOrNot)
{
    const OfficeReadResult csv = readOfficeListFile(QStringLiteral(TORUMIN_FULL_OFFICE_LIST));
    ASSERT_FALSE(csv.error.has_value()) << csv.error->message.toStdString();
    EXPECT_EQ(csv.table.recordCount(), 22428);
    EXPECT_LT(csv.table.memoryBytes(), 4U * 1024 * 1024);
    const OfficeReadResult zipped = readOfficeListFile(QStringLiteral(TORUMIN_FULL_OFFICE_ARCHIVE));
    ASSERT_FALSE(zipped.error.has_value());
    EXPECT_EQ(rowsOf(zipped.table), rowsOf(csv.table));
}

} // namespace
} // namespace torumin
