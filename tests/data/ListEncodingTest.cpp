#include "ListTestSupport.h"

#include "data/Cp932Decoder.h"
#include "data/ListEncoding.h"
#include "data/Utf8Decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace torumin {
namespace {

struct DecodeCase {
    const char *name;
    std::string bytes;
    std::u16string text;              // when well-formed
    std::optional<std::size_t> badByte;
};

void PrintTo(const DecodeCase &c, std::ostream *out)
{
    *out << c.name;
}

class Utf8Decoding : public testing::TestWithParam<DecodeCase> {};

TEST_P(Utf8Decoding, GivesUtf16OrTheFirstBadByte)
{
    const DecodeCase &c = GetParam();
    // Guard units past the room the contract promises to stay within.
    std::u16string out(c.bytes.size() + 4, u'#');
    const Utf8Decoder::Result result = Utf8Decoder::decode(c.bytes.data(), c.bytes.size(), out.data());
    EXPECT_EQ(result.badByte, c.badByte);
    EXPECT_EQ(out.substr(c.bytes.size()), u"####");
    if (!c.badByte) {
        EXPECT_EQ(out.substr(0, result.units), c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Text, Utf8Decoding,
    testing::Values(
        DecodeCase{"Empty", "", u"", std::nullopt},
        DecodeCase{"Ascii", "0600000", u"0600000", std::nullopt},
        DecodeCase{"Kanji", "北海道", u"北海道", std::nullopt},
        DecodeCase{"FullWidthReading", "ホッカイドウ", u"ホッカイドウ", std::nullopt},
        DecodeCase{"MixedWidths", "ｱ～＼①㈱髙", u"\uFF71\uFF5E\uFF3C\u2460\u3231\u9AD9", std::nullopt},
        DecodeCase{"OutsideTheBmp", "𠮷野", u"\U00020BB7野", std::nullopt},
        // Past the eight-byte ASCII steps, on both sides of them.
        DecodeCase{"LongAsciiThenKana", "0123456789abcdefgアイ", u"0123456789abcdefgアイ", std::nullopt},
        DecodeCase{"KanaThenLongAscii", "ア0123456789abcdefg", u"ア0123456789abcdefg", std::nullopt},
        DecodeCase{"LowestTwoByte", "\xC2\x80", u"\u0080", std::nullopt},
        DecodeCase{"LastBeforeSurrogates", "\xED\x9F\xBF", u"\uD7FF", std::nullopt},
        DecodeCase{"HighestCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", std::nullopt},
        DecodeCase{"BadAfterAsciiWords", "0123456789abcdef\xFF", u"", 16},
        DecodeCase{"LoneContinuation", "ab\x80" "cd", u"", 2},
        DecodeCase{"AsciiAfterLead", "\xE3\x41", u"", 0},
        DecodeCase{"AsciiAsThirdByte", "ア\xE3\x82\x41", u"", 3},
        DecodeCase{"CutAtTheEnd", "北\xE6\xB5", u"", 3},
        // Overlong forms, surrogates and code points past U+10FFFF.
        DecodeCase{"OverlongTwoByte", "\xC0\xAF", u"", 0},
        DecodeCase{"OverlongC1", "\xC1\xBF", u"", 0},
        DecodeCase{"OverlongThreeByte", "\xE0\x9F\xBF", u"", 0},
        DecodeCase{"OverlongFourByte", "\xF0\x8F\xBF\xBF", u"", 0},
        DecodeCase{"Surrogate", "ア\xED\xB0\x80", u"", 3},
        DecodeCase{"PastU10FFFF", "\xF4\x90\x80\x80", u"", 0},
        DecodeCase{"LeadF5", "\xF5\x80\x80\x80", u"", 0},
        DecodeCase{"Cp932Kanji", "\x96\x6B\x8A\x43", u"", 0}),
    [](const testing::TestParamInfo<DecodeCase> &info) { return std::string(info.param.name); });

struct Cp932ShapeCase {
    const char *name;
    std::string bytes;
    std::optional<std::size_t> badByte;
};

void PrintTo(const Cp932ShapeCase &c, std::ostream *out)
{
    *out << c.name;
}

class Cp932Shape : public testing::TestWithParam<Cp932ShapeCase> {};

// The shape check stands in for iconv where the system converter is more
// lenient (Windows); here both must find the same byte.
TEST_P(Cp932Shape, FindsTheByteTheConverterRefuses)
{
    const Cp932ShapeCase &c = GetParam();
    EXPECT_EQ(malformedCp932Byte(c.bytes.data(), c.bytes.size()), c.badByte);
    Cp932Decoder decoder;
    ASSERT_TRUE(decoder.isValid());
    std::u16string out(c.bytes.size(), u'#');
    EXPECT_EQ(decoder.decode(c.bytes.data(), c.bytes.size(), out.data()).badByte, c.badByte);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, Cp932Shape,
    testing::Values(Cp932ShapeCase{"Kanji", "\x96\x6B\x8A\x43", std::nullopt},
                    Cp932ShapeCase{"HalfWidthKana", "\xB1\xB2", std::nullopt},
                    Cp932ShapeCase{"UndefinedValuesAsSecondBytes", "\x81\xA0\x81\x80\x82\xA0", std::nullopt},
                    Cp932ShapeCase{"Undefined80", "ab\x80", 2},
                    Cp932ShapeCase{"UndefinedA0", "\xA0", 0},
                    Cp932ShapeCase{"UndefinedFD", "\x82\xA0\xFD", 2},
                    Cp932ShapeCase{"UndefinedFF", "\xFF" "a", 0},
                    Cp932ShapeCase{"LeadCutAtTheEnd", "ab\x81", 2},
                    Cp932ShapeCase{"LeadBeforeSpace", "\x81\x20", 0},
                    Cp932ShapeCase{"LeadBefore7F", "\xB1\x81\x7F", 1}),
    [](const testing::TestParamInfo<Cp932ShapeCase> &info) { return std::string(info.param.name); });

std::string repeated(const std::string &piece, int times)
{
    std::string out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

struct JudgeCase {
    const char *name;
    std::string bytes;
    bool reachesEnd;
    ListEncoding verdict;
};

void PrintTo(const JudgeCase &c, std::ostream *out)
{
    *out << c.name;
}

class EncodingJudgement : public testing::TestWithParam<JudgeCase> {};

TEST_P(EncodingJudgement, WeighsTheFirstSequences)
{
    EXPECT_EQ(judgeEncoding(GetParam().bytes, GetParam().reachesEnd), GetParam().verdict);
}

const std::string kKana = "ア";
const std::string kNotUtf8 = "\x80";

INSTANTIATE_TEST_SUITE_P(
    Lists, EncodingJudgement,
    testing::Values(
        JudgeCase{"ShortUtf8AtTheEnd", "北海道\",0\r\n", true, ListEncoding::Utf8},
        JudgeCase{"ShortUtf8WithMoreToCome", "北海道\",0\r\n", false, ListEncoding::Undecided},
        JudgeCase{"EnoughUtf8", repeated(kKana + ",", kConvincingUtf8Sequences), false, ListEncoding::Utf8},
        JudgeCase{"BadJustBeforeEnough",
                  repeated(kKana, kConvincingUtf8Sequences - 1) + kNotUtf8, false, ListEncoding::Cp932},
        JudgeCase{"BadJustAfterEnough",
                  repeated(kKana, kConvincingUtf8Sequences) + kNotUtf8, false, ListEncoding::Utf8},
        JudgeCase{"Cp932Kanji", test::toCp932("北海道"), false, ListEncoding::Cp932},
        // ﾃｽ is C3 BD in code page 932, which is also UTF-8 for ý; ﾄ after it is not.
        JudgeCase{"Cp932KanaThatStartsLikeUtf8", test::toCp932("ﾃｽﾄ\",\"ﾃｽﾄ\""), false, ListEncoding::Cp932},
        JudgeCase{"SequenceCutByTheChunk", "\xE3\x82", false, ListEncoding::Undecided},
        JudgeCase{"SequenceCutByTheEnd", "\xE3\x82", true, ListEncoding::Cp932},
        JudgeCase{"NothingOutsideAscii", "0600000,", true, ListEncoding::Undecided}),
    [](const testing::TestParamInfo<JudgeCase> &info) { return std::string(info.param.name); });

// A source whose reads fail after its bytes.
class FailingSource final : public ListByteSource {
public:
    explicit FailingSource(std::string_view bytes) : m_bytes(bytes) {}
    std::int64_t read(char *into, std::size_t capacity) override
    {
        const std::int64_t count = m_bytes.read(into, capacity);
        return count > 0 ? count : -1;
    }
    [[nodiscard]] std::int64_t sizeHint() const override { return 0; }

private:
    MemoryByteSource m_bytes;
};

struct SniffCase {
    const char *name;
    std::string bytes;
    ListEncoding encoding;
    std::int64_t skipped = 0;
    bool failsAtTheEnd = false;
};

void PrintTo(const SniffCase &c, std::ostream *out)
{
    *out << c.name;
}

class EncodingSniffing : public testing::TestWithParam<SniffCase> {};

TEST_P(EncodingSniffing, DecidesBeforeHandingOutTheFirstByteOutsideAscii)
{
    const SniffCase &c = GetParam();
    for (const std::size_t capacity : {1, 2, 3, 7, 4096, 65536, 200000}) {
        MemoryByteSource memory(c.bytes);
        FailingSource failing(c.bytes);
        ListByteSource &inner = c.failsAtTheEnd ? static_cast<ListByteSource &>(failing) : memory;
        EncodingSniffer sniffer(inner);
        std::string handedOut;
        std::vector<char> chunk(capacity);
        std::int64_t count = 0;
        while ((count = sniffer.read(chunk.data(), capacity)) > 0) {
            const std::string_view got(chunk.data(), static_cast<std::size_t>(count));
            const bool outsideAscii =
                std::any_of(got.begin(), got.end(), [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
            if (outsideAscii) {
                ASSERT_NE(sniffer.encoding(), ListEncoding::Undecided) << "capacity " << capacity;
            }
            handedOut.append(got);
        }
        EXPECT_EQ(count, c.failsAtTheEnd ? -1 : 0) << "capacity " << capacity;
        EXPECT_EQ(sniffer.encoding(), c.encoding) << "capacity " << capacity;
        EXPECT_EQ(sniffer.skippedBytes(), c.skipped) << "capacity " << capacity;
        EXPECT_EQ(handedOut, c.bytes.substr(static_cast<std::size_t>(c.skipped))) << "capacity " << capacity;
    }
}

const std::string kAsciiRecord = "01101,\"060  \",\"0600000\",\"k\",\"k\",\"\",\"p\",\"c\",\"\",0,0,0,0,0,0\r\n";
// Longer than the reader's chunk and than the judgement's look-ahead.
const std::string kLongAscii = repeated(kAsciiRecord, 3000);
const std::string kUtf8Record =
    "01101,\"060  \",\"0600000\",\"ホッカイドウ\",\"サッポロシチュウオウク\",\"\",\"北海道\",\"札幌市中央区\",\"\","
    "0,0,0,0,0,0\r\n";

INSTANTIATE_TEST_SUITE_P(
    Streams, EncodingSniffing,
    testing::Values(
        SniffCase{"Empty", "", ListEncoding::Undecided},
        SniffCase{"OnlyAscii", kAsciiRecord, ListEncoding::Undecided},
        SniffCase{"Cp932", test::toCp932(kUtf8Record), ListEncoding::Cp932},
        SniffCase{"Utf8", kUtf8Record, ListEncoding::Utf8},
        SniffCase{"Cp932AfterLongAscii", kLongAscii + test::toCp932(kUtf8Record), ListEncoding::Cp932},
        SniffCase{"Utf8AfterLongAscii", kLongAscii + kUtf8Record, ListEncoding::Utf8},
        SniffCase{"ByteOrderMark", "\xEF\xBB\xBF" + kUtf8Record, ListEncoding::Utf8, 3},
        SniffCase{"OnlyAByteOrderMark", "\xEF\xBB\xBF", ListEncoding::Utf8, 3},
        // The mark's bytes count only at the very start.
        SniffCase{"MarkAfterText", "0\xEF\xBB\xBF", ListEncoding::Utf8, 0},
        SniffCase{"HalfAMark", "\xEF\xBB", ListEncoding::Cp932},
        // Too few sequences to settle it before the failure, which is then
        // judged like the end.
        SniffCase{"FailureWhileLookingAhead", "1,2,\"北海道\"", ListEncoding::Utf8, 0, true},
        SniffCase{"FailureAfterAscii", kAsciiRecord, ListEncoding::Undecided, 0, true}),
    [](const testing::TestParamInfo<SniffCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace torumin
