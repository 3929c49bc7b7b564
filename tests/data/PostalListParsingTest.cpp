#include "ListTestSupport.h"

#include "data/PostalListReader.h"

#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace torumin {
namespace {

using test::Row;

// A record whose fields are numbered 1 to 15, but for the two of fixed form
// (a local-government code and a postal code): rows read from it keep the
// code and "4".."9". numbered(n) is its first n fields.
const std::string kCode = "0010003";
std::string numbered(int fields)
{
    std::string line = "01101";
    for (int field = 2; field <= fields; ++field)
        line += "," + (field == 3 ? kCode : std::to_string(field));
    return line;
}
const std::string kNumbered = numbered(15);
const Row kNumberedRow{kCode, "4", "5", "6", "7", "8", "9"};

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
        ParseCase{"CrLf", kNumbered + "\r\n", {kNumberedRow}},
        ParseCase{"NoFinalLineEnd", kNumbered + "\r\n" + kNumbered, {kNumberedRow, kNumberedRow}},
        ParseCase{"TrailingBlankLines", kNumbered + "\r\n\r\n\n\r\r\n", {kNumberedRow}},
        ParseCase{"LoneLfAndCr", kNumbered + "\n" + kNumbered + "\r", {kNumberedRow, kNumberedRow}},
        ParseCase{"RealisticRecord",
                  "01101,\"060  \",\"0600000\",\"ﾎｯｶｲﾄﾞｳ\",\"ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ\",\"\",\"北海道\","
                  "\"札幌市中央区\",\"\",0,0,0,0,0,0\r\n",
                  {{"0600000", "ﾎｯｶｲﾄﾞｳ", "ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ", "", "北海道", "札幌市中央区", ""}}},
        ParseCase{"QuotedCommaStaysInside",
                  "01101,2,\"0010000\",\"a,b\",\"c,,d\",\" e \", f ,\"\",g,10,11,12,13,14,15\r\n",
                  {{"0010000", "a,b", "c,,d", " e ", " f ", "", "g"}}},
        ParseCase{"QuoteOnlyCountsAtFieldStart",
                  "01101,2,\"0010003\",\"ab\"cd,x\"y\",\"\"\"\",\"p\"\"q\",8,9,10,11,12,13,14,15\n",
                  {{"0010003", "abcd", "x\"y\"", "\"\"", "p\"q\"", "8", "9"}}},
        ParseCase{"OnlyTheCodesHaveAFixedForm",
                  "\"01101\",2,0010003,,,,,,,10,11,12,13,14,15\r\n",
                  {{"0010003", "", "", "", "", "", ""}}},
        // Blank lines hold no record wherever they stand, nor shift one.
        ParseCase{"BlankLinesInsideAreSkipped",
                  kNumbered + "\r\n\r\n\n\r" + kNumbered + "\r\n\n" + kNumbered,
                  {kNumberedRow, kNumberedRow, kNumberedRow}},
        // Runs of equal fields share their text; a change and a return must
        // still read back as written.
        ParseCase{"RepeatsAndChanges",
                  "01101,2,0010001,K,K,,P,C,T,10,11,12,13,14,15\r\n"
                  "01101,2,0010001,K,K,,P,C,T,10,11,12,13,14,15\r\n"
                  "01101,2,0010002,K,L,x,P,D,,10,11,12,13,14,15\r\n"
                  "01101,2,0010001,K,K,,Q,C,T,10,11,12,13,14,15\r\n",
                  {{"0010001", "K", "K", "", "P", "C", "T"},
                   {"0010001", "K", "K", "", "P", "C", "T"},
                   {"0010002", "K", "L", "x", "P", "D", ""},
                   {"0010001", "K", "K", "", "Q", "C", "T"}}}),
    [](const testing::TestParamInfo<ParseCase> &info) { return std::string(info.param.name); });

TEST(ListDecoding, WindowsMappingAndHalfWidthKana)
{
    // Bytes written out by hand, so an encoder mistake cannot cancel out.
    const std::string bytes =
        "01101,2,\"0010003\",\"\xB1\xDF\",\"\",\"\x87\x40\x87\x8A\xFB\xFC\","
        "\"\x96\x6B\x8A\x43\x93\xB9\",\"\x95\x5C\x83\x5C\",\"\x81\x60\x81\x5F\",10,11,12,13,14,15\r\n";
    const ListReadResult result = readPostalListBytes(bytes, QStringLiteral("t.csv"));
    ASSERT_FALSE(result.error.has_value());
    ASSERT_EQ(result.table.recordCount(), 1);
    EXPECT_EQ(result.table.zipCode(0), u"0010003");
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
        const std::string bytes = "01101,2,0010003,k,k,\"" + town + "\",p,c,t,10,11,12,13,14,15\r\n" + kNumbered;
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
        EXPECT_EQ(result.table.zipCode(row), QString::fromStdString(kCode));
    // Nothing of the cut-off record may show through past the last row.
    EXPECT_TRUE(result.table.zipCode(c.keptRecords).isEmpty());

    const QStringList lines = result.error->message.split(QStringLiteral("\r\r"));
    ASSERT_GE(lines.size(), 3);
    EXPECT_EQ(lines[0], u"指定された 「郵便番号一覧 *.CSV」 を読み込めませんでした。\u3000");
    EXPECT_EQ(lines[1], QDir::toNativeSeparators(QStringLiteral("/lists/bad.csv")));
    if (c.keptRecords > 0) {
        const QString count = QString::number(c.keptRecords) + QStringLiteral(" 件");
        EXPECT_TRUE(lines.last().contains(count)) << lines.last().toStdString();
    }
    EXPECT_TRUE(lines[2].contains(QString::fromUtf8(c.reason))) << lines[2].toStdString();
}

const std::string kLine = kNumbered + "\r\n";
const auto kLineBytes = static_cast<std::int64_t>(kLine.size());

// The first fields of a numbered line, up to where a case puts something else.
const std::string kHead = numbered(2) + ",";
const auto kHeadBytes = static_cast<std::int64_t>(kHead.size());

INSTANTIATE_TEST_SUITE_P(
    Problems, ListErrors,
    testing::Values(
        ErrorCase{"CutOffRecord", kLine + kLine + numbered(4), ListErrorCode::Truncated, 2 * kLineBytes, 2},
        ErrorCase{"FourteenFieldsThenEnd", kLine + numbered(14), ListErrorCode::Truncated, kLineBytes, 1},
        ErrorCase{"CommaThenEnd", kLine + numbered(14) + ",", ListErrorCode::Truncated, kLineBytes, 1},
        ErrorCase{"QuoteNeverClosedAtEnd", kLine + kHead + "\"0010003,4,5,6,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::Truncated, kLineBytes, 1},
        // A record is one line: none is made from the end of one line and the
        // start of the next, nor from a line with a field left over.
        ErrorCase{"ShortLine", kLine + numbered(14) + "\r\n" + kLine,
                  ListErrorCode::MalformedLine, kLineBytes, 1, "2 行目の項目が 14 個しか"},
        ErrorCase{"ShortLineAfterBlankLines", kLine + "\r\n\n" + kLine + numbered(3) + "\n" + kLine,
                  ListErrorCode::MalformedLine, 2 * kLineBytes + 3, 2, "5 行目の項目が 3 個しか"},
        ErrorCase{"LongLine", kLine + kLine + kNumbered + ",16,17\r\n" + kLine,
                  ListErrorCode::MalformedLine, 2 * kLineBytes, 2, "3 行目の項目が 15 個より多く"},
        ErrorCase{"CommaAtLineEnd", kNumbered + ",\r\n" + kLine, ListErrorCode::MalformedLine, 0, 0,
                  "1 行目の項目が 15 個より多く"},
        ErrorCase{"LinesOfFourteenAndSixteen", kLine + numbered(14) + "\r\n" + kNumbered + ",16\r\n",
                  ListErrorCode::MalformedLine, kLineBytes, 1, "2 行目"},
        ErrorCase{"QuoteNeverClosedOnItsLine",
                  kLine + kHead + "\"0010003,4,5,6,7,8,9,10,11,12,13,14,15\r\n" + kLine,
                  ListErrorCode::MalformedLine, kLineBytes + kHeadBytes, 1, "2 行目に、引用符"},
        ErrorCase{"LineEndInsideQuotes", kLine + kHead + "\"0010003\r\n\",4,5,6,7,8,9,10,11,12,13,14,15\r\n",
                  ListErrorCode::MalformedLine, kLineBytes + kHeadBytes, 1, "2 行目に、引用符"},
        ErrorCase{"BadByteInKeptField", kLine + numbered(4) + ",\"a\x80\",6,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::NotCp932, kLineBytes + static_cast<std::int64_t>(numbered(4).size()) + 3, 1},
        ErrorCase{"BadByteInDiscardedField", "\xFF" + kLine, ListErrorCode::NotCp932, 0, 0},
        ErrorCase{"LeadByteBeforeComma", kLine + kLine + numbered(3) + ",\x82,5,6,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::NotCp932, 2 * kLineBytes + static_cast<std::int64_t>(numbered(3).size()) + 1, 2},
        ErrorCase{"LeadByteAtEndOfFile", kLine + numbered(14) + ",\x82", ListErrorCode::NotCp932,
                  kLineBytes + static_cast<std::int64_t>(numbered(14).size()) + 1, 1},
        ErrorCase{"LeadByteAfterClosingQuote", kLine + numbered(5) + ",\"6\"\x81,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::NotCp932, kLineBytes + static_cast<std::int64_t>(numbered(5).size()) + 4, 1},
        // Lines of the right shape that are not postal codes are no list:
        // every search would find nothing in them.
        ErrorCase{"PostalCodeOfLetters", kLine + kHead + "abcdefg,4,5,6,7,8,9,10,11,12,13,14,15\r\n",
                  ListErrorCode::MalformedLine, kLineBytes + kHeadBytes, 1, "2 行目の郵便番号「abcdefg」が 7 桁の数字ではありません"},
        ErrorCase{"PostalCodeWithHyphen", kHead + "\"100-0005\",4,5,6,7,8,9,10,11,12,13,14,15\r\n",
                  ListErrorCode::MalformedLine, kHeadBytes + 1, 0, "1 行目の郵便番号「100-0005」"},
        ErrorCase{"PostalCodeOfSixDigits", kLine + kLine + kHead + "100000,4,5,6,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::MalformedLine, 2 * kLineBytes + kHeadBytes, 2, "3 行目の郵便番号"},
        ErrorCase{"EmptyPostalCode", kHead + "\"\",4,5,6,7,8,9,10,11,12,13,14,15\r\n",
                  ListErrorCode::MalformedLine, kHeadBytes + 1, 0, "1 行目の郵便番号が 7 桁"},
        ErrorCase{"FullWidthDigitsInPostalCode", kHead + "\"\x82\x50\x82\x4F\x82\x4F\x82\x4F\x82\x4F\x82\x4F\x82\x54\",4,5,6,7,8,9,10,11,12,13,14,15",
                  ListErrorCode::MalformedLine, kHeadBytes + 1, 0, "1 行目の郵便番号が"},
        ErrorCase{"LocalGovernmentCodeOfOneDigit", kLine + "1,2,0010003,4,5,6,7,8,9,10,11,12,13,14,15\r\n",
                  ListErrorCode::MalformedLine, kLineBytes, 1, "2 行目の全国地方公共団体コード「1」が 5 桁"},
        ErrorCase{"NothingButBlankLines", "\r\n\n\r", ListErrorCode::NoRecords, 0, 0, "1 件もありません"},
        ErrorCase{"EmptyFile", "", ListErrorCode::NoRecords, 0, 0, "1 件もありません"}),
    [](const testing::TestParamInfo<ErrorCase> &info) { return std::string(info.param.name); });

TEST(ListErrorsMemory, CutOffRecordCostsNothing)
{
    const std::string complete = kLine + kLine;
    const std::string cutOff = complete + kHead + "\"" + std::string(5000, 'z') + "\",\"" + std::string(5000, 'y');
    const ListReadResult whole = readPostalListBytes(complete, QStringLiteral("t.csv"));
    const ListReadResult cut = readPostalListBytes(cutOff, QStringLiteral("t.csv"));
    ASSERT_TRUE(cut.error.has_value());
    EXPECT_EQ(cut.table.memoryBytes(), whole.table.memoryBytes());
}

} // namespace
} // namespace torumin
