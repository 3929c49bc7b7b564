#include "data/PostalListReader.h"
#include "search/AddressFolding.h"
#include "app/CandidateOptions.h"
#include "search/Candidates.h"

#include <gtest/gtest.h>

namespace torumin {
namespace {

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(SplitAddress, PrefectureAndCityFromTheFirstFifteenCharacters)
{
    struct Case {
        const char *address;
        const char *prefecture;
        const char *city;
    };
    const std::vector<Case> cases{
        {"東京都千代田区丸の内１－９－１", "東京都", "千代田区"},
        {"東京都大島町", "東京都", "大島"},  // 島 ends a city after 東京都
        {"東京都八丈島八丈町", "東京都", "八丈島"},
        {"東京都", "東京都", ""},
        {"神奈川県横浜市中区山下町", "神奈川県", "横浜市"},  // no ward split off outside Tokyo
        {"三重県四日市市", "三重県", "四日市"},
        {"京都府京都市", "京都府", "京都市"},
        {"大阪府大阪市北区", "大阪府", "大阪市"},
        {"北海道", "北海道", ""},
        {"北海道札幌市中央区", "北海道", "札幌市"},
        {"沖縄県八重山郡与那国町", "沖縄県", "八重山郡"},
        {"和歌山県田辺市", "和歌山県", "田辺市"},
        {"鹿児島県大島郡", "鹿児島県", "大島郡"},
        {"広島県府中市", "広島県", "府中市"},
        // 市 at position 16 is not looked at.
        {"北海道ＡＢＣＤＥＦＧＨＩＪＫＬ市", "北海道", ""},
        {"北海道ＡＢＣＤＥＦＧＨＩＪＫ市", "北海道", "ＡＢＣＤＥＦＧＨＩＪＫ市"},
        {"横浜市中区", "", ""},
        {"京都", "", ""},
        {"県", "", ""},
        {"", "", ""},
        {"静岡県島田市", "静岡県", "島田市"},  // 島 ends nothing outside Tokyo
    };
    for (const Case &c : cases) {
        EXPECT_EQ(splitAddress(s(c.address)), (SplitAddress{s(c.prefecture), s(c.city)})) << c.address;
    }
}

TEST(CandidateFormat, LinesAndTheirCopyText)
{
    const QString line = s("〒100-0005　東京都千代田区丸の内");
    CandidateFormat all;
    EXPECT_EQ(candidateCopyText(line, all), line);
    all.copyAddress = false;
    EXPECT_EQ(candidateCopyText(line, all), s("〒100-0005"));

    CandidateFormat plain;
    plain.mark = false;
    plain.prefecture = false;
    const QString plainLine = s("100-0005　千代田区丸の内");
    EXPECT_EQ(candidateCopyText(plainLine, plain), plainLine);
    plain.copyCode = false;
    EXPECT_EQ(candidateCopyText(plainLine, plain), s("千代田区丸の内"));
    plain.copyAddress = false;
    EXPECT_EQ(candidateCopyText(plainLine, plain), QString());

    CandidateFormat bare;
    bare.mark = bare.hyphen = false;
    bare.copyAddress = false;
    EXPECT_EQ(candidateCopyText(s("1000005　東京都千代田区丸の内"), bare), s("1000005"));
}

TEST(CandidateWindow, HeightsFollowFontSizeAndRows)
{
    struct Case {
        const char *size;
        const char *rows;
        double list;
    };
    const std::vector<Case> cases{
        {"9", "3", 960},    {"11", "3", 960},  {"10", "3", 1035}, {"9", "50", 9420},
        {"9", "abc", 420},  {"12", "", 285},   {"10", "4x", 1230},
    };
    for (const Case &c : cases) {
        const CandidateWindowHeights heights = candidateWindowHeights(s(c.size), s(c.rows));
        EXPECT_EQ(heights.list, c.list) << c.size << '/' << c.rows;
        EXPECT_EQ(heights.window, c.list + 1430);
        EXPECT_EQ(heights.buttonsTop, c.list + 1430 - 915);
    }
    EXPECT_EQ(candidateWindowHeights(s("9"), s("3")), (CandidateWindowHeights{960, 2390, 1475}));
}

class CandidatesOnTheNationwideList : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ListReadResult result = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
        ASSERT_FALSE(result.error);
        s_table = new PostalTable(std::move(result.table));
    }
    static void TearDownTestSuite()
    {
        delete s_table;
        s_table = nullptr;
    }
    static QStringList lines(const char *address, const CandidateFormat &format = {})
    {
        return candidateLines(*s_table, splitAddress(s(address)), format);
    }

    static PostalTable *s_table;
};

PostalTable *CandidatesOnTheNationwideList::s_table = nullptr;

TEST_F(CandidatesOnTheNationwideList, EveryRowOfTheCityInTableOrder)
{
    const QStringList chiyoda = lines("東京都千代田区丸の内");
    ASSERT_FALSE(chiyoda.isEmpty());
    EXPECT_TRUE(chiyoda.contains(s("〒100-0005　東京都千代田区丸の内")));
    for (const QString &line : chiyoda)
        EXPECT_TRUE(line.startsWith(s("〒")) && line.mid(9).startsWith(s("　東京都千代田区"))) << line.toStdString();

    // Every ward of Yokohama, not only 中区.
    const QStringList yokohama = lines("神奈川県横浜市中区");
    EXPECT_TRUE(yokohama.contains(s("〒231-0023　神奈川県横浜市中区山下町")));
    EXPECT_TRUE(std::any_of(yokohama.cbegin(), yokohama.cend(),
                            [](const QString &line) { return line.contains(s("横浜市青葉区")); }));
    EXPECT_FALSE(lines("三重県四日市市").isEmpty());
    EXPECT_EQ(lines("北海道").size(), 8191);
    EXPECT_TRUE(lines("横浜市中区").isEmpty());
    EXPECT_TRUE(lines("東京都無い区").isEmpty());

    const QStringList oshima = lines("東京都大島町");
    ASSERT_FALSE(oshima.isEmpty());
    for (const QString &line : oshima)
        EXPECT_TRUE(line.mid(10).startsWith(s("東京都大島"))) << line.toStdString();

    CandidateFormat plain;
    plain.mark = false;
    plain.prefecture = false;
    EXPECT_TRUE(lines("東京都千代田区", plain).contains(s("100-0005　千代田区丸の内")));
}

} // namespace
} // namespace torumin

namespace torumin {
namespace {

TEST(AddressVariants, FoldToOneForm)
{
    EXPECT_EQ(foldAddressVariants(s("丸ノ内１－９－１ＡＢ")), s("丸の内1-9-1AB"));
    EXPECT_EQ(foldAddressVariants(s("旭ヶ丘・旭が丘・旭ケ丘")), s("旭ケ丘・旭ケ丘・旭ケ丘"));
}

TEST_F(CandidatesOnTheNationwideList, TheBestCandidateIsTheLongestTownMatch)
{
    const auto best = [](const char *address) -> QString {
        const SplitAddress split = splitAddress(s(address));
        const std::vector<int> rows = candidateRows(*s_table, split);
        const int row = bestCandidateRow(*s_table, rows, split, s(address));
        return row < 0 ? QString() : candidateLine(*s_table, row, split.prefecture, CandidateFormat{});
    };
    // A Tokyo ward, with the block number after the town area.
    EXPECT_EQ(best("東京都千代田区丸の内１－９－１"), s("〒100-0005　東京都千代田区丸の内"));
    EXPECT_EQ(best("東京都千代田区丸ノ内1-9-1"), s("〒100-0005　東京都千代田区丸の内"));
    // A designated city: only the city is split off, the ward is matched here.
    EXPECT_EQ(best("神奈川県横浜市中区山下町"), s("〒231-0023　神奈川県横浜市中区山下町"));
    EXPECT_EQ(best("大阪府大阪市北区梅田１丁目"), s("〒530-0001　大阪府大阪市北区梅田"));
    // A town in a 郡.
    EXPECT_EQ(best("沖縄県八重山郡与那国町与那国１２３"), s("〒907-1801　沖縄県八重山郡与那国町与那国"));
    EXPECT_EQ(best("北海道札幌市中央区旭ヶ丘５丁目"), s("〒064-0941　北海道札幌市中央区旭ケ丘"));
    // No town area typed, or none that the list has: the ward's row for
    // every town area it does not list.
    EXPECT_EQ(best("東京都千代田区"), s("〒100-0000　東京都千代田区"));
    EXPECT_EQ(best("東京都千代田区存在しない町"), s("〒100-0000　東京都千代田区"));
    // Without a prefecture the window lists nothing, so selects nothing.
    EXPECT_EQ(best("横浜市中区山下町"), QString());
}

} // namespace
} // namespace torumin
