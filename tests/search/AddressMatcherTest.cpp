#include "search/AddressFolding.h"
#include "search/AddressMatcher.h"
#include "search/KanaWidth.h"
#include "search/TownNote.h"
#include "support/TableFixtures.h"

#include <gtest/gtest.h>

namespace torumin {
namespace {

using testing::Row;
using testing::tableOf;

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

TEST(AddressFolding, WaysOfWritingFoldToOneAndStayFolded)
{
    struct Case {
        const char *written;
        const char *folded;
    };
    const std::vector<Case> cases{
        {"丸ノ内１－９－１ＡＢ", "丸の内1-9-1AB"},
        {"1ー2‐3−4―5", "1-2-3-4-5"},
        {"旭ヶ丘・旭が丘・旭ガ丘・旭ヵ丘", "旭ケ丘・旭ケ丘・旭ケ丘・旭ケ丘"},
        {"一之船入町", "1の船入町"},
        {"四つ谷", "4ツ谷"},
        {"髙﨑邊邉澤櫻檜舟嶋濱條", "高崎辺辺沢桜桧船島浜条"},
        {"ｱｻﾋｶﾞｵｶ ﾊﾟｰｸ", "アサヒケオカパ-ク"},
        // Kanji numerals read as numbers, with their units.
        {"北一条西", "北1条西"},
        {"北十条西", "北10条西"},
        {"二十四軒", "24軒"},
        {"七番町", "7番町"},
        {"十二丁目", "12丁目"},
        {"千代田区", "1000代田区"},
        {"三百五", "305"},
        {"廿一軒町", "21軒町"},
        {"二〇", "20"},
        // Numbers that meet stay apart.
        {"十三一丁目", "13-1丁目"},
        {"九12", "9-12"},
        {"1一2一3", "1-2-3"},
        // Spaces go, but never join two numbers.
        {"輪島市　門前町 黒岩", "輪島市門前町黒岩"},
        {"1 2", "1-2"},
        {"九 12", "9-12"},
        // Compatibility forms: 塚 (U+FA10), a Kangxi radical, an enclosed
        // abbreviation, a voicing mark apart from its kana.
        {"\xEF\xA8\x90本", "塚本"},
        {"\xE2\xBC\x8B王子", "8王子"},
        {"㈱", "(株)"},
        {"カ\xE3\x82\x99ラ ", "ケラ"},
    };
    for (const Case &c : cases) {
        const QString folded = foldAddressVariants(s(c.written));
        EXPECT_EQ(folded, s(c.folded)) << c.written;
        EXPECT_EQ(foldAddressVariants(folded), folded) << c.written;
    }
    // The width fold keeps kanji as they are.
    EXPECT_EQ(foldAddressWidths(s("舟屋町　１－２ ｶﾞ")), s("舟屋町1-2ガ"));
}

TEST(KanaWidth, FullWidthKatakanaToTheListsHalfWidthAndBack)
{
    struct Case {
        const char *full;
        const char *half;
    };
    const std::vector<Case> cases{
        {"チヨダク", "ﾁﾖﾀﾞｸ"},   {"マルノウチ", "ﾏﾙﾉｳﾁ"},     {"ガーデンプレイス", "ｶﾞｰﾃﾞﾝﾌﾟﾚｲｽ"},
        {"ヴィラ", "ｳﾞｨﾗ"},     {"ポッポ", "ﾎﾟｯﾎﾟ"},         {"ヅヂ", "ﾂﾞﾁﾞ"},
        {"ウエオ", "ｳｴｵ"},       {"ヲンャュョッ", "ｦﾝｬｭｮｯ"}, {"千代田", "千代田"},
        {"「ア・イ」、。゛", "｢ｱ･ｲ｣､｡ﾞ"},
        {"\xEF\xBF\xBE䇿", "\xEF\xBF\xBE䇿"},  // U+FFFE first is text, not a swapped order mark
    };
    for (const Case &c : cases) {
        EXPECT_EQ(toHalfWidthKatakana(s(c.full)), s(c.half)) << c.full;
        EXPECT_EQ(toFullWidthKatakana(s(c.half)), s(c.full)) << c.half;
    }
}

// A list shaped to hold every trap: 北十条西 before 北一条西 (a prefix match of
// 北1 would take it), a name whose number can run on (浦臼第１), a town in
// two wards, 府中市 in two prefectures, names that fold alike, a town listed
// twice, and Kyoto with a town named like a street.
std::vector<Row> trapRows()
{
    const auto row = [](const char *zip, const char *pref, const char *city, const char *town) {
        return Row{s(zip), QString(), QString(), QString(), s(pref), s(city), s(town)};
    };
    return {
        row("0600000", "北海道", "札幌市中央区", ""),
        row("0600010", "北海道", "札幌市中央区", "北十条西"),
        row("0600001", "北海道", "札幌市中央区", "北一条西"),
        row("0640821", "北海道", "札幌市中央区", "北一条西"),
        row("0600042", "北海道", "札幌市中央区", "大通西"),
        row("0010000", "北海道", "札幌市北区", ""),
        row("0010010", "北海道", "札幌市北区", "北十条西"),
        row("0010020", "北海道", "札幌市北区", "大通西"),
        row("0610600", "北海道", "樺戸郡浦臼町", ""),
        row("0610611", "北海道", "樺戸郡浦臼町", "浦臼第１"),
        row("0610601", "北海道", "樺戸郡浦臼町", "鶴沼"),
        row("1830000", "東京都", "府中市", ""),
        row("1830022", "東京都", "府中市", "宮西町"),
        row("1000000", "東京都", "千代田区", ""),
        row("1000005", "東京都", "千代田区", "丸の内"),
        row("1020082", "東京都", "千代田区", "一番町"),
        row("9600800", "福島県", "伊達市", "保原町１丁目"),
        row("7260000", "広島県", "府中市", ""),
        row("7260005", "広島県", "府中市", "府中町"),
        row("6493503", "和歌山県", "東牟婁郡串本町", "串本"),
        row("9870401", "宮城県", "登米市", "南方町高石浦"),
        row("9870402", "宮城県", "登米市", "南方町"),
        row("6040000", "京都府", "京都市中京区", ""),
        row("6040924", "京都府", "京都市中京区", "一之船入町"),
        row("6048000", "京都府", "京都市中京区", "河原町"),
        row("6048001", "京都府", "京都市中京区", "船屋町"),
        row("6048002", "京都府", "京都市中京区", "舟屋町"),
        row("2730107", "千葉県", "鎌ケ谷市", "新鎌ケ谷"),
        row("7260004", "広島県", "府中市", "府川町"),
        row("1320000", "東京都", "江戸川区", ""),
        row("1320032", "東京都", "江戸川区", "西小松川町"),
        row("1320033", "東京都", "江戸川区", "東小松川"),
        row("6400000", "和歌山県", "和歌山市", ""),
        row("6408156", "和歌山県", "和歌山市", "七番丁"),
        row("0250000", "岩手県", "花巻市", ""),
        row("0250096", "岩手県", "花巻市", "石神町"),
        row("9950000", "山形県", "村山市", ""),
        row("3901300", "長野県", "東筑摩郡山形村", ""),
        row("5320026", "大阪府", "大阪市淀川区", "塚本"),
        // A list without notes: a building's floors in its rows' names.
        row("9800021", "宮城県", "仙台市青葉区", "中央"),
        row("9806190", "宮城県", "仙台市青葉区", "中央アエル"),
        row("9806101", "宮城県", "仙台市青葉区", "中央アエル１階"),
        row("9806115", "宮城県", "仙台市青葉区", "中央アエル１５階"),
        row("1700013", "東京都", "豊島区", "東池袋"),
        row("1706090", "東京都", "豊島区", "東池袋サンシャイン６０"),
        row("1706034", "東京都", "豊島区", "東池袋サンシャイン６０３４階"),
    };
}

class AddressMatcherRules : public ::testing::Test {
protected:
    static QString codeFor(const AddressMatcher &matcher, const PostalTable &table, const char *address)
    {
        const int row = matcher.bestRow(s(address));
        return row < 0 ? QString() : table.zipCode(row).toString();
    }

    PostalTable m_table = tableOf(trapRows());
};

TEST_F(AddressMatcherRules, NamesTheRowOnlyWhenItCanTellForSure)
{
    struct Case {
        const char *address;
        const char *code;  // empty: none
    };
    const std::vector<Case> cases{
        // Numbers in town names are whole numbers.
        {"北海道札幌市中央区北10条西3丁目", "0600010"},
        {"北海道札幌市中央区北99条西1丁目", ""},       // a number the list lacks: no guess
        {"北海道樺戸郡浦臼町浦臼第1 123", "0610611"},
        {"北海道樺戸郡浦臼町浦臼第11-2", ""},          // 浦臼第1 with 1-2, or 浦臼第11?
        {"福島県伊達市保原町1-2-3", "9600800"},
        // No town area, or one the list does not have: the city's row without one.
        {"東京都千代田区", "1000000"},
        {"東京都千代田区1-2-3", "1000000"},
        {"東京都千代田区存在しない町1", "1000000"},
        {"東京都千代田区一番町", "1020082"},
        {"東京都千代田区 丸ノ内１－９－１ ＡＢビル", "1000005"},
        // A town listed twice with two codes and nothing to tell them apart.
        {"北海道札幌市中央区北1条西2丁目", ""},
        {"北海道札幌市中央区北一条西２５丁目", ""},
        // A designated city without its ward: a town of one ward only.
        {"北海道札幌市北10条西3", ""},                  // in two wards
        {"北海道札幌市北区北10条西3", "0010010"},
        {"北海道札幌市", ""},
        // The prefecture, its 都/府/県 or the county left out, or a postal code in front.
        {"串本町串本1234", "6493503"},
        {"和歌山県串本町串本", "6493503"},
        {"東京千代田区丸の内", "1000005"},
        {"岩手花巻市石神町", "0250096"},
        {"京都市中京区河原町537", "6048000"},          // 京都市, not 京都府 and 市
        {"山形村山市", ""},                             // 山形県村山市, or 山形村 and 山市?
        {"府中市宮西町1", "1830022"},                   // only Tokyo's 府中市 has it
        {"府中市府川町", "7260004"},
        {"府中市1-2", ""},                              // two cities named 府中市
        {"東京都府中市宮西町1", "1830022"},
        {"広島県府中市府中町", "7260005"},
        {"〒100-0005 東京都千代田区丸の内1-9-1", "1000005"},
        {"1000005東京都千代田区丸の内", "1000005"},
        {"千葉県鎌ヶ谷市新鎌ヶ谷1-1", "2730107"},
        {"大阪府大阪市淀川区\xEF\xA8\x90本1-2", "5320026"},  // 塚 as U+FA10
        // A town written without its closing 町 or 丁, where only one fits.
        {"東京都江戸川区西小松川12-345", "1320032"},
        {"東京都江戸川区東小松川町1", "1320033"},        // the list's name is the shorter
        {"和歌山県和歌山市7番町", "6408156"},
        {"和歌山県和歌山市7番12", "6400000"},            // a block number
        // 大字 and 字 passed over.
        {"宮城県登米市大字南方町高石浦1-13-3", "9870401"},
        {"宮城県登米市南方町字高石浦13", "9870401"},
        {"宮城県登米市字南方町", "9870402"},
        // A building's floors, named after the building or after the block number.
        {"宮城県仙台市青葉区中央アエル15F", "9806115"},
        {"宮城県仙台市青葉区中央アエル地下1階", "9806190"},
        {"宮城県仙台市青葉区中央1-3-1 アエル１階", "9806101"},
        {"宮城県仙台市青葉区中央1-3-1 AOビル3階", ""},    // perhaps アエル written otherwise
        {"宮城県仙台市青葉区中央1-3-1", "9800021"},
        {"東京都豊島区東池袋サンシャイン6034F", "1706034"},      // the building's number, then the floor
        {"東京都豊島区東池袋サンシャイン601-2", ""},             // 60 and 1-2, or 601-2?
        // Kyoto: the town after the directions, or the longest one named.
        {"京都府京都市中京区河原町通二条下る一之船入町537-50", "6040924"},
        {"京都府京都市中京区河原町二条一之船入町537", "6040924"},
        {"京都府京都市中京区河原町537", "6048000"},
        // Names that fold alike: as written, or not at all.
        {"京都府京都市中京区舟屋町", "6048002"},
        {"京都府京都市中京区船屋町", "6048001"},
        // Not one of the list's prefectures or cities.
        {"東京都港区", ""},
        {"", ""},
    };
    const AddressMatcher matcher(m_table);
    for (const Case &c : cases)
        EXPECT_EQ(codeFor(matcher, m_table, c.address), s(c.code)) << c.address;
}

// What follows the names, found in the address as typed though the names
// were matched folded.
TEST_F(AddressMatcherRules, TellsWhatFollowsTheNames)
{
    struct Case {
        const char *address;
        bool namesTown;
        const char *rest;  // the address from restStart on
    };
    const std::vector<Case> cases{
        {"東京都千代田区 丸ノ内１－９－１ ＡＢビル", true, "１－９－１ ＡＢビル"},
        {"北海道札幌市中央区北十条西三丁目", true, "三丁目"},
        {"北海道札幌市中央区北10西3", true, "3"},
        {"福島県伊達市保原町1-2-3", true, "-2-3"},
        {"宮城県登米市大字南方町高石浦1-13-3", true, "1-13-3"},
        {"京都府京都市中京区河原町通二条下る一之船入町537-50", true, "537-50"},
        {"東京都千代田区存在しない町1", false, "存在しない町1"},
        {"東京都千代田区", false, ""},
        {"東京都千代田区1-2-3", false, "1-2-3"},
    };
    const AddressMatcher matcher(m_table);
    for (const Case &c : cases) {
        const QString address = s(c.address);
        const AddressMatcher::Answer match = matcher.answer(address);
        ASSERT_GE(match.row, 0) << c.address;
        EXPECT_EQ(match.row, matcher.bestRow(address)) << c.address;
        EXPECT_EQ(match.namesTown, c.namesTown) << c.address;
        EXPECT_EQ(address.sliced(match.restStart), s(c.rest)) << c.address;
    }
}

TEST_F(AddressMatcherRules, OnlyTheGivenRowsCount)
{
    // Tokyo's rows alone: 府中市 is then one city, and Sapporo is no city.
    std::vector<int> tokyo;
    for (int row = 0; row < m_table.recordCount(); ++row) {
        if (m_table.prefName(row) == u"東京都")
            tokyo.push_back(row);
    }
    const AddressMatcher matcher(m_table, tokyo);
    EXPECT_EQ(codeFor(matcher, m_table, "府中市宮西町1"), s("1830022"));
    EXPECT_EQ(codeFor(matcher, m_table, "東京都千代田区丸の内"), s("1000005"));
    EXPECT_EQ(codeFor(matcher, m_table, "北海道札幌市中央区北1条西2丁目"), QString());
}

// A hand-made excerpt of the list in the postal service's own form, whose town
// fields keep their notes: ranges of 丁目 and 番地 with その他 for the rest,
// a building's floors, a note spread over two records, and the fields that
// stand for a whole city.
TEST(AddressMatcherOnNotes, TheNotesTellTheRowsOfOneNameApart)
{
    ListReadResult list = readPostalListFile(QStringLiteral(TORUMIN_TEST_FIXTURES "/published_notes.csv"));
    ASSERT_FALSE(list.error);
    const PostalTable &table = list.table;
    const AddressMatcher matcher(table);
    struct Case {
        const char *address;
        const char *code;  // empty: none
    };
    const std::vector<Case> cases{
        {"北海道札幌市中央区大通西20丁目", "0640820"},
        {"北海道札幌市中央区大通西１９－２", "0600042"},
        {"北海道札幌市中央区大通西二十八丁目", "0640820"},
        {"北海道札幌市中央区大通西29丁目", ""},          // in no row's range
        {"北海道札幌市中央区大通西", ""},                // no 丁目 to tell by
        {"北海道札幌市中央区北1西25", "0640821"},
        {"北海道札幌市中央区北1条西2丁目", "0600001"},
        {"東京都千代田区一ツ橋2-1-2", "1010003"},
        {"東京都千代田区一ツ橋一丁目1", "1000003"},
        {"東京都千代田区一ツ橋3丁目", ""},
        {"東京都千代田区", "1000000"},                   // 以下に掲載がない場合
        {"北海道札幌市南区藤野3番地", "0050840"},
        {"北海道札幌市南区藤野6", "0612271"},            // その他
        {"北海道札幌市南区藤野", ""},
        {"北海道札幌市南区藤野3丁目", ""},               // the ranges are of 番地
        {"山形県最上郡大蔵村南山15番地", "9960301"},      // the range in the second record
        {"山形県最上郡大蔵村南山14番地", "9960302"},
        {"岩手県岩手郡葛巻町葛巻第40地割57", ""},       // a note not read: no guess
        {"岩手県岩手郡葛巻町地割）1", "0285100"},    // the second record is no town
        {"宮城県仙台市青葉区中央アエル15階", "9806115"},
        {"宮城県仙台市青葉区中央アエル 2F", "9806102"},
        {"宮城県仙台市青葉区中央アエル", "9806190"},       // 地階・階層不明
        {"宮城県仙台市青葉区中央アエルB1F", "9806190"},
        {"宮城県仙台市青葉区中央アエル30階", ""},         // a floor the list lacks
        {"宮城県仙台市青葉区中央1-3-1 アエル2階", "9806102"},
        {"宮城県仙台市青葉区中央1-3-1", "9800021"},       // 次のビルを除く
        {"愛知県名古屋市中村区名駅ミッドランドスクエア（高層棟）10階", "4506210"},
        {"愛知県名古屋市中村区名駅4-7-1 ミッドランドスクエア10階", ""},
        {"東京都利島村", "1000301"},                     // 利島村一円
        {"青森県東津軽郡蓬田村1-2", "0301200"},          // 蓬田村の次に番地がくる場合
        {"滋賀県犬上郡多賀町一円", "5220317"},           // 一円 is a town there
    };
    for (const Case &c : cases) {
        const int row = matcher.bestRow(s(c.address));
        EXPECT_EQ(row < 0 ? QString() : table.zipCode(row).toString(), s(c.code)) << c.address;
    }

    // Why none: the rows the list cannot tell apart, one a code.
    const AddressMatcher::Answer both = matcher.answer(s("北海道札幌市中央区大通西"));
    EXPECT_EQ(both.verdict, AddressMatcher::Verdict::SeveralCodes);
    ASSERT_EQ(both.rows.size(), 2U);
    EXPECT_EQ(table.zipCode(both.rows[0]), u"0600042");
    EXPECT_EQ(table.zipCode(both.rows[1]), u"0640820");
    EXPECT_EQ(wholeTownField(table, matcher.bestRow(s("山形県最上郡大蔵村南山15"))),
              s("南山（１～３、５、７、９～１２、１５番地）"));
}

} // namespace
} // namespace torumin
