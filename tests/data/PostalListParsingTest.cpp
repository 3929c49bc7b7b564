#include "ListTestSupport.h"

#include "data/PostalListReader.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace torumin {
namespace {

using test::Row;

// A record whose fields are numbered 1 to 15: rows read from it keep "3".."9".
const std::string kNumbered = "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15";
const Row kNumberedRow{"3", "4", "5", "6", "7", "8", "9"};

struct ParseCase {
    const char *name;
    std::string utf8;
    std::vector<Row> rows;
};

void PrintTo(const ParseCase &c, std::ostream *out)
{
    *out << c.name;
}

class ListParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(ListParsing, KeepsFieldsThreeToNineOfEachFifteen)
{
    const ParseCase &c = GetParam();
    const ListReadResult result = readPostalListBytes(test::toCp932(c.utf8), QStringLiteral("t.csv"));
    EXPECT_FALSE(result.error.has_value()) << result.error->message.toStdString();
    EXPECT_EQ(test::rowsOf(result.table), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, ListParsing,
    testing::Values(
        ParseCase{"EmptyFile", "", {}},
        ParseCase{"OnlyBlankLines", "\r\n\r\n", {}},
        ParseCase{"CrLf", kNumbered + "\r\n", {kNumberedRow}},
        ParseCase{"NoFinalLineEnd", kNumbered + "\r\n" + kNumbered, {kNumberedRow, kNumberedRow}},
        ParseCase{"TrailingBlankLines", kNumbered + "\r\n\r\n\n\r\r\n", {kNumberedRow}},
        ParseCase{"LoneLfAndCr", kNumbered + "\n" + kNumbered + "\r", {kNumberedRow, kNumberedRow}},
        ParseCase{"RealisticRecord",
                  "01101,\"060  \",\"0600000\",\"ﾎｯｶｲﾄﾞｳ\",\"ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ\",\"\",\"北海道\","
                  "\"札幌市中央区\",\"\",0,0,0,0,0,0\r\n",
                  {{"0600000", "ﾎｯｶｲﾄﾞｳ", "ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ", "", "北海道", "札幌市中央区", ""}}},
        ParseCase{"QuotedCommaStaysInside",
                  "1,2,\"0010000\",\"a,b\",\"c,,d\",\" e \", f ,\"\",g,10,11,12,13,14,15\r\n",
                  {{"0010000", "a,b", "c,,d", " e ", " f ", "", "g"}}},
        ParseCase{"QuoteOnlyCountsAtFieldStart",
                  "1,2,\"ab\"cd,x\"y\",\"\"\"\",\"p\"\"q\",7,8,9,10,11,12,13,14,15\n",
                  {{"abcd", "x\"y\"", "\"\"", "p\"q\"", "7", "8", "9"}}},
        ParseCase{"NothingIsValidated",
                  "1,2,12-34,,,,,,,10,11,12,13,14,15\r\n",
                  {{"12-34", "", "", "", "", "", ""}}},
        // Blank lines hold no record wherever they stand, nor shift one.
        ParseCase{"BlankLinesInsideAreSkipped",
                  kNumbered + "\r\n\r\n\n\r" + kNumbered + "\r\n\n" + kNumbered,
                  {kNumberedRow, kNumberedRow, kNumberedRow}},
        // Runs of equal fields share their text; a change and a return must
        // still read back as written.
        ParseCase{"RepeatsAndChanges",
                  "1,2,A,K,K,,P,C,T,10,11,12,13,14,15\r\n"
                  "1,2,A,K,K,,P,C,T,10,11,12,13,14,15\r\n"
                  "1,2,B,K,L,x,P,D,,10,11,12,13,14,15\r\n"
                  "1,2,A,K,K,,Q,C,T,10,11,12,13,14,15\r\n",
                  {{"A", "K", "K", "", "P", "C", "T"},
                   {"A", "K", "K", "", "P", "C", "T"},
                   {"B", "K", "L", "x", "P", "D", ""},
                   {"A", "K", "K", "", "Q", "C", "T"}}}),
    [](const testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

TEST(ListDecoding, WindowsMappingAndHalfWidthKana)
{
    // Bytes written out by hand, so an encoder mistake cannot cancel out.
    const std::string bytes =
        "1,2,\"\\~\",\"\xB1\xDF\",\"\",\"\x87\x40\x87\x8A\xFB\xFC\","
        "\"\x96\x6B\x8A\x43\x93\xB9\",\"\x95\x5C\x83\x5C\",\"\x81\x60\x81\x5F\",10,11,12,13,14,15\r\n";
    const ListReadResult result = readPostalListBytes(bytes, QStringLiteral("t.csv"));
    ASSERT_FALSE(result.error.has_value());
    ASSERT_EQ(result.table.recordCount(), 1);
    EXPECT_EQ(result.table.zipCode(0), u"\\~");
    EXPECT_EQ(result.table.prefKana(0), u"\uFF71\uFF9F");
    EXPECT_TRUE(result.table.cityKana(0).isEmpty());
    EXPECT_EQ(result.table.townKana(0), u"\u2460\u3231\u9AD9");
    EXPECT_EQ(result.table.prefName(0), u"北海道");
    // 0x5C as a trail byte is part of the character, not a backslash.
    EXPECT_EQ(result.table.cityName(0), u"表ソ");
    EXPECT_EQ(result.table.townName(0), u"\uFF5E\uFF3C");
}

TEST(ListDecoding, FieldsLongerThanTheShortLengthForm)
{
    for (const int length : {65534, 65535, 65536, 70001}) {
        const std::string town(static_cast<std::size_t>(length), '\xB1');
        const std::string bytes = "1,2,z,k,k,\"" + town + "\",p,c,t,10,11,12,13,14,15\r\n" + kNumbered;
        const ListReadResult result = readPostalListBytes(bytes, QStringLiteral("t.csv"));
        ASSERT_FALSE(result.error.has_value()) << length;
        ASSERT_EQ(result.table.recordCount(), 2) << length;
        EXPECT_EQ(result.table.townKana(0), QString(length, QChar(0xFF71))) << length;
        EXPECT_EQ(result.table.cityName(0), u"c") << length;
        EXPECT_EQ(result.table.townKana(1), u"6") << length;
    }
}

struct ErrorCase {
    const char *name;
    std::string bytes;
    ListErrorCode code;
    std::int64_t offset;
    int keptRecords;
    const char *reason = ""; // what the message must say of the problem
};

void PrintTo(const ErrorCase &c, std::ostream *out)
{
    *out << c.name;
}

class ListErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ListErrors, KeepTheCompleteRecordsBeforeTheProblem)
{
    const ErrorCase &c = GetParam();
    const ListReadResult result = readPostalListBytes(c.bytes, QStringLiteral("/lists/bad.csv"));
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->code, c.code);
    EXPECT_EQ(result.error->byteOffset, c.offset);
    EXPECT_EQ(result.table.recordCount(), c.keptRecords);
    for (int row = 0; row < c.keptRecords; ++row)
        EXPECT_EQ(result.table.zipCode(row), u"3");
    // Nothing of the cut-off record may show through past the last row.
    EXPECT_TRUE(result.table.zipCode(c.keptRecords).isEmpty());

    const QStringList lines = result.error->message.split(QStringLiteral("\r\r"));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], u"指定された 「郵便番号一覧 *.CSV」 を読み込めませんでした。\u3000");
    EXPECT_EQ(lines[1], u"/lists/bad.csv");
    if (c.keptRecords > 0) {
        const QString count = QString::number(c.keptRecords) + QStringLiteral(" 件");
        EXPECT_TRUE(lines.last().contains(count)) << lines.last().toStdString();
    }
    EXPECT_TRUE(lines[2].contains(QString::fromUtf8(c.reason))) << lines[2].toStdString();
}

const std::string kLine = kNumbered + "\r\n";
const auto kLineBytes = static_cast<std::int64_t>(kLine.size());

INSTANTIATE_TEST_SUITE_P(
    Problems, ListErrors,
    testing::Values(
        ErrorCase{"CutOffRecord", kLine + kLine + "1,2,3,4", ListErrorCode::Truncated, 2 * kLineBytes, 2},
        ErrorCase{"FourteenFieldsThenEnd", kLine + "1,2,3,4,5,6,7,8,9,10,11,12,13,14",
                  ListErrorCode::Truncated, kLineBytes, 1},
        ErrorCase{"CommaThenEnd", kLine + "1,2,3,4,5,6,7,8,9,10,11,12,13,14,",
                  ListErrorCode::Truncated, kLineBytes, 1},
        ErrorCase{"QuoteNeverClosedAtEnd", kLine + "1,2,\"3,4,5,6,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::Truncated, kLineBytes, 1},
        // A record is one line: none is made from the end of one line and the
        // start of the next, nor from a line with a field left over.
        ErrorCase{"ShortLine", kLine + "1,2,3,4,5,6,7,8,9,10,11,12,13,14\r\n" + kLine,
                  ListErrorCode::MalformedLine, kLineBytes, 1, "2 行目の項目が 14 個しか"},
        ErrorCase{"ShortLineAfterBlankLines", kLine + "\r\n\n" + kLine + "1,2,3\n" + kLine,
                  ListErrorCode::MalformedLine, 2 * kLineBytes + 3, 2, "5 行目の項目が 3 個しか"},
        ErrorCase{"LongLine", kLine + kLine + kNumbered + ",16,17\r\n" + kLine,
                  ListErrorCode::MalformedLine, 2 * kLineBytes, 2, "3 行目の項目が 15 個より多く"},
        ErrorCase{"CommaAtLineEnd", kNumbered + ",\r\n" + kLine, ListErrorCode::MalformedLine, 0, 0,
                  "1 行目の項目が 15 個より多く"},
        ErrorCase{"LinesOfFourteenAndSixteen",
                  kLine + "1,2,3,4,5,6,7,8,9,10,11,12,13,14\r\n" + kNumbered + ",16\r\n",
                  ListErrorCode::MalformedLine, kLineBytes, 1, "2 行目"},
        ErrorCase{"QuoteNeverClosedOnItsLine", kLine + "1,2,\"3,4,5,6,7,8,9,10,11,12,13,14,15\r\n" + kLine,
                  ListErrorCode::MalformedLine, kLineBytes + 4, 1, "2 行目に、引用符"},
        ErrorCase{"LineEndInsideQuotes", kLine + "1,2,\"3\r\n\",4,5,6,7,8,9,10,11,12,13,14,15\r\n",
                  ListErrorCode::MalformedLine, kLineBytes + 4, 1, "2 行目に、引用符"},
        ErrorCase{"BadByteInKeptField", kLine + "1,2,3,4,\"a\x80\",6,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::NotCp932, kLineBytes + 10, 1},
        ErrorCase{"BadByteInDiscardedField", "\xFF" + kLine, ListErrorCode::NotCp932, 0, 0},
        ErrorCase{"LeadByteBeforeComma", kLine + kLine + "1,2,3,\x82,5,6,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::NotCp932, 2 * kLineBytes + 6, 2},
        ErrorCase{"LeadByteAtEndOfFile", kLine + "1,2,3,4,5,6,7,8,9,10,11,12,13,14,\x82",
                  ListErrorCode::NotCp932, kLineBytes + 33, 1},
        ErrorCase{"LeadByteAfterClosingQuote", kLine + "1,2,3,4,5,\"6\"\x81,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::NotCp932, kLineBytes + 13, 1}),
    [](const testing::TestParamInfo<ErrorCase> &info) { return std::string(info.param.name); });

TEST(ListErrorsMemory, CutOffRecordCostsNothing)
{
    const std::string complete = kLine + kLine;
    const std::string cutOff = complete + "1,2,\"" + std::string(5000, 'z') + "\",\"" + std::string(5000, 'y');
    const ListReadResult whole = readPostalListBytes(complete, QStringLiteral("t.csv"));
    const ListReadResult cut = readPostalListBytes(cutOff, QStringLiteral("t.csv"));
    ASSERT_TRUE(cut.error.has_value());
    EXPECT_EQ(cut.table.memoryBytes(), whole.table.memoryBytes());
}

} // namespace
} // namespace torumin
