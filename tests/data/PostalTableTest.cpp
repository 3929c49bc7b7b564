#include "ListTestSupport.h"

#include "data/PostalListReader.h"

#include <gtest/gtest.h>

#include <climits>

namespace torumin {
namespace {

PostalTable tableOf(const std::string &utf8)
{
    ListReadResult result = readPostalListBytes(test::toCp932(utf8), QStringLiteral("t.csv"));
    EXPECT_FALSE(result.error.has_value());
    return std::move(result.table);
}

const std::string kTwoRecords = "01101,2,0010000,k,k,k,P,C,T1,0,0,0,0,0,0\r\n"
                                "01101,2,0010001,k,k,k,P,C,T2,0,0,0,0,0,0\r\n";

TEST(PostalTable, RowsOutsideTheTableReadEmpty)
{
    const PostalTable table = tableOf(kTwoRecords);
    ASSERT_EQ(table.recordCount(), 2);
    for (const int row : {INT_MIN, -1, 2, 3, INT_MAX}) {
        for (int column = 0; column < kStoredColumnCount; ++column)
            EXPECT_TRUE(table.field(static_cast<PostalColumn>(column), row).isEmpty()) << row;
    }
    EXPECT_EQ(table.localGovernmentCode(1), u"01101");
    EXPECT_TRUE(table.field(static_cast<PostalColumn>(kStoredColumnCount), 0).isEmpty());
    EXPECT_TRUE(table.field(static_cast<PostalColumn>(-1), 0).isEmpty());
}

TEST(PostalTable, EmptyTableHoldsNothing)
{
    const PostalTable none;
    EXPECT_EQ(none.recordCount(), 0);
    EXPECT_TRUE(none.zipCode(0).isEmpty());
    EXPECT_EQ(none.memoryBytes(), 0U);
}

TEST(PostalTable, ReloadWithFewerRecordsLeavesNothingBehind)
{
    PostalTable table = tableOf(kTwoRecords);
    const std::size_t twoRecordBytes = table.memoryBytes();
    table = tableOf("01101,2,9990000,a,b,c,X,Y,Z,0,0,0,0,0,0\r\n");
    ASSERT_EQ(table.recordCount(), 1);
    EXPECT_EQ(table.zipCode(0), u"9990000");
    EXPECT_EQ(table.townName(0), u"Z");
    EXPECT_TRUE(table.zipCode(1).isEmpty());
    EXPECT_LT(table.memoryBytes(), twoRecordBytes);
}

} // namespace
} // namespace torumin
