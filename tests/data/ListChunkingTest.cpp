#include "ListTestSupport.h"

#include "data/ListParser.h"

#include <gtest/gtest.h>

#include <string>

namespace torumin {
namespace {

// Every byte position of this text falls at a chunk end for some buffer size:
// double-byte characters, a quoted comma, CR LF pairs, lone CR and LF, blank
// lines, text after a closing quote, full-width readings and trailing blank
// lines.
std::string mixedList()
{
    return test::toCp932(
        "01101,\"060  \",\"0600000\",\"ﾎｯｶｲﾄﾞｳ\",\"ｻｯﾎﾟﾛ\",\"\",\"北海道\",\"札幌市\",\"\",0,0,0,0,0,0\r\n"
        "01101,\"064  \",\"0640941\",\"ﾎｯｶｲﾄﾞｳ\",\"ｻｯﾎﾟﾛ\",\"ｱｻﾋ,ｶﾞｵｶ\",\"北海道\",\"札幌市\",\"旭ケ丘\",0,0,0,0,0,0\n"
        "13101,\"100  \",\"1000001\",\"ﾄｳｷｮｳﾄ\"x,ﾁﾖﾀﾞｸ,\"ﾁﾖﾀﾞ\",\"東京都\",\"千代田区\",\"髙①～\",0,0,0,0,0,0\r"
        "\r\n"
        "\n"
        "13101,\"100  \",\"1000002\",\"トウキョウト\",\"チヨダク\",\"コウキョ\",\"東京都\",\"千代田区\",\"皇居外苑\",0,0,0,0,0,0\r\n"
        "\r\n\r\n");
}

ListReadResult readInChunks(const std::string &bytes, std::size_t chunkBytes)
{
    // No size hint, so the table grows from its smallest size as well.
    MemoryByteSource source(bytes, false);
    return detail::parseList(source, kPostalListLayout, QStringLiteral("t.csv"), chunkBytes);
}

TEST(ListChunking, ResultDoesNotDependOnTheBufferSize)
{
    const std::string bytes = mixedList();
    const ListReadResult whole = readPostalListBytes(bytes, QStringLiteral("t.csv"));
    ASSERT_FALSE(whole.error.has_value());
    const std::vector<test::Row> expected = test::rowsOf(whole.table);
    ASSERT_EQ(expected.size(), 4U);
    EXPECT_EQ(expected[1][3], "ｱｻﾋ,ｶﾞｵｶ");
    EXPECT_EQ(expected[2][1], "ﾄｳｷｮｳﾄx");
    // The blank lines after the third record shift nothing.
    EXPECT_EQ(expected[3], (test::Row{"1000002", "ﾄｳｷｮｳﾄ", "ﾁﾖﾀﾞｸ", "ｺｳｷｮ", "東京都", "千代田区", "皇居外苑"}));

    for (std::size_t chunk = 1; chunk <= bytes.size() + 1; ++chunk) {
        const ListReadResult result = readInChunks(bytes, chunk);
        EXPECT_FALSE(result.error.has_value()) << "chunk " << chunk;
        EXPECT_EQ(test::rowsOf(result.table), expected) << "chunk " << chunk;
    }
}

TEST(ListChunking, ErrorsPointAtTheSameByteForEveryBufferSize)
{
    const std::string head = "01101,2,0010003,";
    const std::string good = test::toCp932(head + "\"北海道\",5,6,7,8,9,10,11,12,13,14,15\r\n");
    const std::string badKept = good + good + head + "\"\x96\x6B\x81\",5";
    const std::string cutOff = good + good + head + test::toCp932("\"北");
    const std::string shortLine = good + "\r\n" + good + head + "\"x\",5\r\n" + good;
    const std::string unclosed = good + good + head + "\"x,5\r\n" + good;
    for (std::size_t chunk = 1; chunk <= badKept.size() + 1; ++chunk) {
        const ListReadResult bad = readInChunks(badKept, chunk);
        ASSERT_TRUE(bad.error.has_value()) << "chunk " << chunk;
        EXPECT_EQ(bad.error->code, ListErrorCode::NotCp932) << "chunk " << chunk;
        EXPECT_EQ(bad.error->byteOffset, static_cast<std::int64_t>(2 * good.size() + head.size() + 3)) << "chunk " << chunk;
        EXPECT_EQ(bad.table.recordCount(), 2) << "chunk " << chunk;

        const ListReadResult cut = readInChunks(cutOff, chunk);
        ASSERT_TRUE(cut.error.has_value()) << "chunk " << chunk;
        EXPECT_EQ(cut.error->code, ListErrorCode::Truncated) << "chunk " << chunk;
        EXPECT_EQ(cut.table.recordCount(), 2) << "chunk " << chunk;

        const ListReadResult shortened = readInChunks(shortLine, chunk);
        ASSERT_TRUE(shortened.error.has_value()) << "chunk " << chunk;
        EXPECT_EQ(shortened.error->code, ListErrorCode::MalformedLine) << "chunk " << chunk;
        EXPECT_EQ(shortened.error->byteOffset, static_cast<std::int64_t>(2 * good.size() + 2)) << "chunk " << chunk;
        EXPECT_TRUE(shortened.error->message.contains(QStringLiteral("4 行目"))) << "chunk " << chunk;
        EXPECT_EQ(shortened.table.recordCount(), 2) << "chunk " << chunk;

        const ListReadResult open = readInChunks(unclosed, chunk);
        ASSERT_TRUE(open.error.has_value()) << "chunk " << chunk;
        EXPECT_EQ(open.error->code, ListErrorCode::MalformedLine) << "chunk " << chunk;
        EXPECT_EQ(open.error->byteOffset, static_cast<std::int64_t>(2 * good.size() + head.size())) << "chunk " << chunk;
        EXPECT_TRUE(open.error->message.contains(QStringLiteral("3 行目"))) << "chunk " << chunk;
    }
}

// Read in two halves, a list gives what one pass gives: the same rows in
// every column, or the same problem at the same place with the same rows
// before it. Every prefix of these lists is tried, so the middle falls on
// every line and every problem lands in either half, and in the middle of a
// quoted line end, of a character and of the encoding's first evidence.
TEST(ListChunking, HalvesReadAsOnePassDoes)
{
    const std::string good = test::toCp932("01101,2,0010003,\"ﾎｯｶｲﾄﾞｳ\",k,t,\"北海道\",c,t,0,0,0,0,0,0\r\n");
    const std::string utf8 = "13101,2,1000001,\"ﾄｳｷｮｳﾄ\",k,t,\"東京都\",\"千代田区\",\"千代田\",0,0,0,0,0,0\n";
    const std::string lists[] = {
        mixedList(),
        good + good + "01101,2,001x003,k,k,k,p,c,t,0,0,0,0,0,0\r\n" + good,
        good + "01101,2,0010003,k,k,\"a\nb\",p,c,t,0,0,0,0,0,0\r\n" + good + good,
        "01101,2,0010003,k,k,t,p,c,t,0,0,0,0,0,0\n01101,2,0010004,k,k,t,p,c,t,0,0,0,0,0,0\n" + utf8 + utf8,
        "\xEF\xBB\xBF" + utf8 + utf8 + utf8,
        good + good + utf8 + utf8,
    };
    const QString name = QStringLiteral("t.csv");
    for (const std::string &list : lists) {
        for (std::size_t size = 1; size <= list.size(); ++size) {
            const std::string_view bytes(list.data(), size);
            MemoryByteSource source(bytes);
            const ListReadResult once = detail::parseList(source, kPostalListLayout, name);
            const ListReadResult halves = detail::parseListInHalves(bytes, kPostalListLayout, name);
            SCOPED_TRACE(testing::Message() << "list of " << list.size() << " bytes cut to " << size);
            ASSERT_EQ(halves.error.has_value(), once.error.has_value());
            if (once.error) {
                EXPECT_EQ(halves.error->code, once.error->code);
                EXPECT_EQ(halves.error->byteOffset, once.error->byteOffset);
                EXPECT_EQ(halves.error->message, once.error->message);
            }
            ASSERT_EQ(halves.table.recordCount(), once.table.recordCount());
            for (int row = 0; row < once.table.recordCount(); ++row) {
                for (int column = 0; column < kStoredColumnCount; ++column) {
                    const auto which = static_cast<PostalColumn>(column);
                    EXPECT_EQ(halves.table.field(which, row), once.table.field(which, row))
                        << "row " << row << " column " << column;
                }
            }
        }
    }
}

TEST(ListChunking, TableGrowsPastAWrongSizeHint)
{
    // Enough distinct text to outgrow small buffers into mapped ones.
    std::string bytes;
    constexpr int kRecords = 40000;
    const std::string town = test::toCp932("長い町名の長い町名の長い町名の長い町名の長い町名の長い町名の");
    for (int i = 0; i < kRecords; ++i) {
        const std::string n = std::to_string(i);
        bytes += "01101,2," + std::to_string(1000000 + i) + ",k,k,k,p,c" + std::to_string(i / 100) + "," + town + n
            + ",0,0,0,0,0,0\r\n";
    }
    const ListReadResult hinted = readPostalListBytes(bytes, QStringLiteral("t.csv"));
    const ListReadResult grown = readInChunks(bytes, detail::kListChunkBytes);
    ASSERT_FALSE(hinted.error.has_value());
    ASSERT_FALSE(grown.error.has_value());
    ASSERT_EQ(grown.table.recordCount(), kRecords);
    EXPECT_EQ(test::rowsOf(grown.table), test::rowsOf(hinted.table));
    EXPECT_EQ(grown.table.townName(kRecords - 1).right(5), u"39999");
    EXPECT_EQ(grown.table.cityName(kRecords - 1), u"c399");
}

} // namespace
} // namespace torumin
