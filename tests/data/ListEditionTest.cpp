#include "ListTestSupport.h"

#include "data/ListParser.h"
#include "data/PostalListReader.h"

#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torumin {
namespace {

using test::Row;

// The hand-made list, small_list.csv; small_list_utf8.csv holds the same
// records in the UTF-8 edition, readings in full-width katakana as that
// edition has them, which read back half-width.
const std::vector<Row> kListRows{
    {"0600000", "ﾎｯｶｲﾄﾞｳ", "ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ", "", "北海道", "札幌市中央区", ""},
    {"0640941", "ﾎｯｶｲﾄﾞｳ", "ｻｯﾎﾟﾛｼﾁｭｳｵｳｸ", "ｱｻﾋｶﾞｵｶ", "北海道", "札幌市中央区", "旭ケ丘"},
    {"6048152", "ｷｮｳﾄﾌ", "ｷｮｳﾄｼﾅｶｷﾞｮｳｸ", "ｶﾗｽﾏﾙﾄﾞｵﾘ,ﾛｯｶｸｻｶﾞﾙ", "京都府", "京都市中京区", "烏丸通、六角下る"},
    {"0010001", "ﾃｽﾄ", "ﾃｽﾄ", "ﾀｶﾀﾞ", "試験県", "髙田市", "①～＼㈱"},
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
const std::string kUtf8Fixture = test::readWholeFile(test::fixturePath("small_list_utf8.csv"));

ListReadResult readInChunks(const std::string &bytes, std::size_t chunkBytes)
{
    MemoryByteSource source(bytes, false);
    return detail::parseList(source, kPostalListLayout, QStringLiteral("t.csv"), chunkBytes);
}

std::string withLfOnly(std::string text)
{
    std::string out;
    for (const char c : text) {
        if (c != '\r')
            out += c;
    }
    return out;
}

TEST(Utf8Edition, FixtureGivesTheTableOfTheCp932Edition)
{
    ASSERT_TRUE(kUtf8Fixture.find("ホッカイドウ") != std::string::npos) << "the fixture's readings are full-width";
    const ListReadResult utf8 = readPostalListFile(test::fixturePath("small_list_utf8.csv"));
    ASSERT_FALSE(utf8.error.has_value()) << utf8.error->message.toStdString();
    const ListReadResult cp932 = readPostalListFile(test::fixturePath("small_list.csv"));
    ASSERT_FALSE(cp932.error.has_value());
    EXPECT_EQ(test::rowsOf(cp932.table), kListRows);
    EXPECT_EQ(test::rowsOf(utf8.table), kListRows);
}

struct VariantCase {
    const char *name;
    std::string bytes;
};

void PrintTo(const VariantCase &c, std::ostream *out)
{
    *out << c.name;
}

class Utf8EditionVariants : public testing::TestWithParam<VariantCase> {};

TEST_P(Utf8EditionVariants, ReadTheSameForEveryBufferSize)
{
    const std::string &bytes = GetParam().bytes;
    const ListReadResult whole = readPostalListBytes(bytes, QStringLiteral("t.csv"));
    ASSERT_FALSE(whole.error.has_value()) << whole.error->message.toStdString();
    EXPECT_EQ(test::rowsOf(whole.table), kListRows);
    for (std::size_t chunk = 1; chunk <= bytes.size() + 1; ++chunk) {
        const ListReadResult result = readInChunks(bytes, chunk);
        EXPECT_FALSE(result.error.has_value()) << "chunk " << chunk;
        EXPECT_EQ(test::rowsOf(result.table), kListRows) << "chunk " << chunk;
    }
}


INSTANTIATE_TEST_SUITE_P(
    LineEndsAndMark, Utf8EditionVariants,
    testing::Values(VariantCase{"CrLf", kUtf8Fixture},
                    VariantCase{"LfOnly", withLfOnly(kUtf8Fixture)},
                    VariantCase{"MarkAndCrLf", std::string(kByteOrderMark) + kUtf8Fixture},
                    VariantCase{"MarkAndLf", std::string(kByteOrderMark) + withLfOnly(kUtf8Fixture)}),
    [](const testing::TestParamInfo<VariantCase> &info) { return std::string(info.param.name); });

// Records numbered from 0, enough of them for the encoding to be settled
// long before the last.
std::string utf8Records(int count)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += "01101,\"060  \",\"" + std::to_string(1000000 + i)
            + "\",\"ホッカイドウ\",\"サッポロシ\",\"\",\"北海道\",\"札幌市\",\"町\",0,0,0,0,0,0\r\n";
    return out;
}

struct BadByteCase {
    const char *name;
    std::string field;       // replaces the town area of the bad record
    std::size_t badInField;  // where in it the bad sequence starts
};

void PrintTo(const BadByteCase &c, std::ostream *out)
{
    *out << c.name;
}

class Utf8EditionBadBytes : public testing::TestWithParam<BadByteCase> {};

TEST_P(Utf8EditionBadBytes, StopTheReadWhereTheyAre)
{
    const BadByteCase &c = GetParam();
    constexpr int kGoodRecords = 20;
    const std::string before = std::string(kByteOrderMark) + utf8Records(kGoodRecords);
    const std::string bad = "01101,\"060  \",\"0000000\",\"ア\",\"イ\",\"\",\"北海道\",\"札幌市\",\"" + c.field
        + "\",0,0,0,0,0,0\r\n";
    const std::string bytes = before + bad + utf8Records(3);
    const auto expectedOffset = static_cast<std::int64_t>(before.size() + bad.find(c.field) + c.badInField);

    for (std::size_t chunk = 1; chunk <= bytes.size() + 1; chunk += chunk < 64 ? 1 : 61) {
        const ListReadResult result = readInChunks(bytes, chunk);
        ASSERT_TRUE(result.error.has_value()) << "chunk " << chunk;
        EXPECT_EQ(result.error->code, ListErrorCode::NotUtf8) << "chunk " << chunk;
        EXPECT_EQ(result.error->byteOffset, expectedOffset) << "chunk " << chunk;
        ASSERT_EQ(result.table.recordCount(), kGoodRecords) << "chunk " << chunk;
        EXPECT_EQ(result.table.zipCode(kGoodRecords - 1), u"1000019") << "chunk " << chunk;
    }
    const QStringList lines =
        readPostalListBytes(bytes, QStringLiteral("/lists/utf_ken_all.csv")).error->message.split(QStringLiteral("\r\r"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[1], QDir::toNativeSeparators(QStringLiteral("/lists/utf_ken_all.csv")));
    EXPECT_TRUE(lines[2].contains(QString::number(expectedOffset + 1))) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains(u"UTF-8")) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].contains(QStringLiteral("20 件"))) << lines[3].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8EditionBadBytes,
    testing::Values(BadByteCase{"LoneContinuation", "町\x80町", 3},
                    BadByteCase{"Cp932Kanji", "町\x92\xAC", 3},
                    BadByteCase{"CutBeforeTheQuote", "町\xE7\x94", 3},
                    BadByteCase{"Overlong", "\xC0\xAE", 0},
                    BadByteCase{"Surrogate", "ア\xED\xA0\x80", 3}),
    [](const testing::TestParamInfo<BadByteCase> &info) { return std::string(info.param.name); });

// Where the encoding is judged: at the first byte outside ASCII, however
// deep, and not on the first chunk alone.
struct JudgedCase {
    const char *name;
    std::string bytes;
    std::vector<Row> lastRows; // the rows at the end of the table
};

void PrintTo(const JudgedCase &c, std::ostream *out)
{
    *out << c.name;
}

class EditionJudgement : public testing::TestWithParam<JudgedCase> {};

TEST_P(EditionJudgement, ReadsTheTextAsWritten)
{
    const JudgedCase &c = GetParam();
    for (const std::size_t chunk : {std::size_t{7}, detail::kListChunkBytes}) {
        const ListReadResult result = readInChunks(c.bytes, chunk);
        ASSERT_FALSE(result.error.has_value()) << result.error->message.toStdString();
        const std::vector<Row> rows = test::rowsOf(result.table);
        ASSERT_GE(rows.size(), c.lastRows.size());
        EXPECT_EQ(std::vector<Row>(rows.end() - static_cast<std::ptrdiff_t>(c.lastRows.size()), rows.end()),
                  c.lastRows)
            << "chunk " << chunk;
    }
}

// Longer than a chunk of the reader and than the judgement's look-ahead.
const std::string kAsciiRecords = [] {
    std::string out;
    for (int i = 0; i < 4000; ++i)
        out += "13101,\"100  \",\"1000000\",\"k\",\"k\",\"\",\"p\",\"c\",\"\",0,0,0,0,0,0\r\n";
    return out;
}();
const std::string kCp932Fixture = test::readWholeFile(test::fixturePath("small_list.csv"));

INSTANTIATE_TEST_SUITE_P(
    FirstBytesOutsideAscii, EditionJudgement,
    testing::Values(
        JudgedCase{"Cp932AfterLongAscii", kAsciiRecords + kCp932Fixture, kListRows},
        JudgedCase{"Utf8AfterLongAscii", kAsciiRecords + kUtf8Fixture, kListRows},
        // ﾃｽ is also UTF-8 (for ý); the ﾄ after it gives the list away.
        JudgedCase{"Cp932ThatStartsLikeUtf8",
                   test::toCp932("99999,\"001  \",\"0010001\",\"ﾃｽﾄ\",\"ﾃｽﾄ\",\"ﾀｶﾀﾞ\",\"試験県\",\"髙田市\","
                                 "\"①～＼㈱\",0,0,0,0,0,0\r\n"),
                   {kListRows.back()}},
        // A record with only a few characters outside ASCII, and the end of
        // the list right after it.
        JudgedCase{"ShortUtf8", "01101,2,0010001,k,k,k,p,c,\"町\",0,0,0,0,0,0", {{"0010001", "k", "k", "k", "p", "c", "町"}}},
        JudgedCase{"ShortCp932", test::toCp932("01101,2,0010001,k,k,k,p,c,\"町\",0,0,0,0,0,0"),
                   {{"0010001", "k", "k", "k", "p", "c", "町"}}}),
    [](const testing::TestParamInfo<JudgedCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace torumin
