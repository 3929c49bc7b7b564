#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "search/PickLists.h"
#include "search/PostalCodeCheck.h"
#include "search/PostalLookup.h"
#include "app/HistoryStore.h"
#include "search/SearchHistory.h"
#include "app/SearchResult.h"
#include "support/MemorySettingsStore.h"
#include "support/TableFixtures.h"

#include <gtest/gtest.h>

namespace torumin {
namespace {

using testing::MemorySettingsStore;
using testing::Row;
using testing::tableOf;

QString s(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// A small list shaped like the real one: a code shared by two town areas, a
// city name in two prefectures (府中市, in adjacent rows, so a city run crosses
// a prefecture boundary), a prefecture split into two runs, and a town area
// listed twice.
std::vector<Row> sampleRows()
{
    return {
        {s("1000005"), s("ﾄｳｷｮｳﾄ"), s("ﾁﾖﾀﾞｸ"), s("ﾏﾙﾉｳﾁ"), s("東京都"), s("千代田区"), s("丸の内")},
        {s("1000006"), s("ﾄｳｷｮｳﾄ"), s("ﾁﾖﾀﾞｸ"), s("ﾕｳﾗｸﾁｮｳ"), s("東京都"), s("千代田区"), s("有楽町")},
        {s("1830000"), s("ﾄｳｷｮｳﾄ"), s("ﾌﾁｭｳｼ"), s(""), s("東京都"), s("府中市"), s("")},
        {s("1830001"), s("ﾄｳｷｮｳﾄ"), s("ﾌﾁｭｳｼ"), s("ｱｻﾋﾁｮｳ"), s("東京都"), s("府中市"), s("朝日町")},
        {s("7260001"), s("ﾋﾛｼﾏｹﾝ"), s("ﾌﾁｭｳｼ"), s("ｱｻﾋﾁｮｳ"), s("広島県"), s("府中市"), s("朝日町")},
        {s("7260002"), s("ﾋﾛｼﾏｹﾝ"), s("ﾌﾁｭｳｼ"), s("ｱｻﾋﾁｮｳ"), s("広島県"), s("府中市"), s("朝日町")},
        {s("1000005"), s("ﾄｳｷｮｳﾄ"), s("ﾁﾖﾀﾞｸ"), s("ｿﾉﾀ"), s("東京都"), s("千代田区"), s("その他")},
    };
}

class SearchRules : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_state.table = tableOf(sampleRows());
        for (int i = 0; i < 4; ++i) {
            m_state.options.set(arrayKey(QStringLiteral("OptRen"), i), QStringLiteral("0"));
            m_state.options.set(arrayKey(QStringLiteral("OptLak"), i), QStringLiteral("1"));
        }
    }

    // As start-up leaves it: the same in memory and in the store.
    void setHistorySlot(int slot, const QString &entry)
    {
        m_state.options.set(historyKey(slot), entry);
        m_store.preset(Section::Rireki, historyKey(slot), entry);
    }
    void fillHistory(int count)
    {
        for (int i = 0; i < count; ++i)
            setHistorySlot(i, QStringLiteral("entry %1").arg(i));
    }

    Module1 m_state;
    MemorySettingsStore m_store;
};

TEST_F(SearchRules, CodeSearchShowsTheFirstRowAndRecordsIt)
{
    m_state.SearchMode = 0;
    m_state.options.set(QStringLiteral("YubinB"), QStringLiteral("1000005"));
    m_state.options.set(QStringLiteral("OptLak(0)"), QStringLiteral("0"));  // saved regardless
    const SearchResult result = ShowSearchResult(m_state, m_store);

    EXPECT_EQ(result.text, s("東京都千代田区丸の内"));
    EXPECT_FALSE(result.repeat);
    const std::vector<MemorySettingsStore::Write> expected{
        {Section::Saigo, s("YubinB"), s("1000005")},
        {Section::Rireki, s("K_Rireki(0)"), s("〒100-0005　東京都千代田区丸の内")},
    };
    EXPECT_EQ(m_store.writes(), expected);
}

TEST_F(SearchRules, NotFoundTextsAreRecordedLikeResults)
{
    m_state.SearchMode = 0;
    m_state.options.set(QStringLiteral("YubinB"), QStringLiteral("9999999"));
    EXPECT_EQ(ShowSearchResult(m_state, m_store).text, s("指定の郵便番号に該当する 「住所」 は存在しません。　"));
    EXPECT_EQ(m_state.options.value(historyKey(0)), s("〒999-9999　指定の郵便番号に該当する 「住所」 は存在しません。　"));

    m_state.SearchMode = 1;
    m_state.options.set(s("Jusho(0)"), s("東京都"));
    m_state.options.set(s("Jusho(1)"), s("千代田区"));
    m_state.options.set(s("Jusho(2)"), s("霞が関"));
    EXPECT_EQ(ShowSearchResult(m_state, m_store).text, kAddressNotFound);
    EXPECT_EQ(m_state.options.value(historyKey(1)),
              s("〒選択の住所に該当する 「郵便番号」 は存在しません。　　東京都千代田区霞が関"));

    // An empty table finds nothing.
    Module1 empty;
    empty.options.set(QStringLiteral("YubinB"), QStringLiteral("1000005"));
    EXPECT_EQ(ShowSearchResult(empty, m_store).text, kCodeNotFound);
}

TEST_F(SearchRules, AddressSearchMatchesThePrefectureAndTakesItsFirstRow)
{
    m_state.SearchMode = 1;
    m_state.options.set(s("Jusho(0)"), s("広島県"));
    m_state.options.set(s("Jusho(1)"), s("府中市"));
    m_state.options.set(s("Jusho(2)"), s("朝日町"));
    m_state.options.set(s("OptRen(1)"), s("1"));
    const SearchResult result = ShowSearchResult(m_state, m_store);
    EXPECT_EQ(result.text, s("726-0001"));  // not 東京都's 183-0001, which comes first
    EXPECT_TRUE(result.repeat);
    EXPECT_EQ(m_store.ReadSetting(Section::Saigo, s("Jusho(0)")), s("広島県"));
    EXPECT_EQ(m_state.options.value(historyKey(0)), s("〒726-0001　広島県府中市朝日町"));

    // Kana: the same on the readings; with OptLak(2) off nothing of it is saved.
    MemorySettingsStore &store = m_store;
    store.clearWrites();
    m_state.SearchMode = 2;
    m_state.options.set(s("OptLak(2)"), s("0"));
    m_state.options.set(s("Jusho2(0)"), s("ﾄｳｷｮｳﾄ"));
    m_state.options.set(s("Jusho2(1)"), s("ﾁﾖﾀﾞｸ"));
    m_state.options.set(s("Jusho2(2)"), s("ﾕｳﾗｸﾁｮｳ"));
    EXPECT_EQ(ShowSearchResult(m_state, store).text, s("100-0006"));
    ASSERT_EQ(store.writes().size(), 1u);
    EXPECT_EQ(store.writes()[0].key, historyKey(1));

    // No city: no search, an empty result, still recorded.
    m_state.options.set(s("Jusho2(1)"), QString());
    EXPECT_EQ(ShowSearchResult(m_state, store).text, QString());
    EXPECT_EQ(m_state.options.value(historyKey(2)), s("〒　ﾄｳｷｮｳﾄﾕｳﾗｸﾁｮｳ"));
}

TEST(PostalLookup, AddressRowMatchesPrefectureCityAndTown)
{
    const PostalTable table = tableOf(sampleRows());
    struct Case {
        const char *pref, *city, *town;
        AddressScript script;
        int row;
    };
    const std::vector<Case> cases{
        {"広島県", "府中市", "朝日町", AddressScript::Kanji, 4},
        {"東京都", "府中市", "朝日町", AddressScript::Kanji, 3},
        {"", "府中市", "朝日町", AddressScript::Kanji, 3},  // no prefecture: any, first in file order
        {"大阪府", "府中市", "朝日町", AddressScript::Kanji, -1},
        {"ﾋﾛｼﾏｹﾝ", "ﾌﾁｭｳｼ", "ｱｻﾋﾁｮｳ", AddressScript::Kana, 4},
        {"ﾄｳｷｮｳﾄ", "ﾌﾁｭｳｼ", "ｱｻﾋﾁｮｳ", AddressScript::Kana, 3},
        {"広島県", "ﾌﾁｭｳｼ", "ｱｻﾋﾁｮｳ", AddressScript::Kana, -1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(findAddress(table, s(c.pref), s(c.city), s(c.town), c.script), c.row) << c.pref << c.city << c.town;
}

TEST(PostalLookup, APickedTownIsItsOwnRowATypedOneTheFirst)
{
    // 広島県 府中市 lists 朝日町 twice: rows 4 (726-0001) and 5 (726-0002).
    const PostalTable table = tableOf(sampleRows());
    struct Case {
        const char *pref, *city, *town;
        AddressScript script;
        int picked, row;
    };
    const std::vector<Case> cases{
        {"広島県", "府中市", "朝日町", AddressScript::Kanji, 5, 5},
        {"", "府中市", "朝日町", AddressScript::Kanji, 5, 5},
        {"広島県", "府中市", "朝日町", AddressScript::Kanji, -1, 4},     // typed
        {"広島県", "府中市", "朝日町", AddressScript::Kanji, 3, 4},      // 東京都's: not this address
        {"広島県", "府中市", "朝日町", AddressScript::Kanji, 6, 4},      // another town
        {"広島県", "府中市", "朝日町", AddressScript::Kanji, 99, 4},     // past the table
        {"ﾋﾛｼﾏｹﾝ", "ﾌﾁｭｳｼ", "ｱｻﾋﾁｮｳ", AddressScript::Kana, 5, 5},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(addressRow(table, s(c.pref), s(c.city), s(c.town), c.script, c.picked), c.row)
            << c.pref << c.city << c.town << ' ' << c.picked;
    }
}

TEST_F(SearchRules, TheResultAndHistoryOfAPickedTownAreItsRows)
{
    m_state.SearchMode = 1;
    m_state.options.set(s("Jusho(0)"), s("広島県"));
    m_state.options.set(s("Jusho(1)"), s("府中市"));
    m_state.options.set(s("Jusho(2)"), s("朝日町"));
    m_state.pickedTownRow = 5;
    EXPECT_EQ(ShowSearchResult(m_state, m_store).text, s("726-0002"));
    EXPECT_EQ(m_state.options.value(historyKey(0)), s("〒726-0002　広島県府中市朝日町"));
    // The pick is for that search only: the same names again are typed ones.
    EXPECT_EQ(m_state.pickedTownRow, -1);
    EXPECT_EQ(ShowSearchResult(m_state, m_store).text, s("726-0001"));
}

TEST(PickLists, KanaTypedFullWidthIsReadInTheListsForm)
{
    std::vector<Row> rows = sampleRows();
    rows.push_back({s("1050000"), s("ﾄｳｷｮｳﾄ"), s("ﾐﾅﾄｸ"), s("ｳﾞｨﾗｰｼﾞｭｯｸ"), s("東京都"), s("港区"), s("村")});
    const PostalTable table = tableOf(rows);
    EXPECT_EQ(cityList(table, AddressScript::Kana, s("トウキョウト")),
              (QStringList{s("ﾁﾖﾀﾞｸ"), s("ﾌﾁｭｳｼ"), s("ﾁﾖﾀﾞｸ"), s("ﾐﾅﾄｸ")}));
    EXPECT_EQ(townList(table, AddressScript::Kana, s("ヒロシマケン"), s("フチュウシ")).names,
              (QStringList{s("ｱｻﾋﾁｮｳ"), s("ｱｻﾋﾁｮｳ")}));
    // The long vowel mark, ヴ and the small kana.
    EXPECT_EQ(findAddress(table, s("トウキョウト"), s("ミナトク"), s("ヴィラージュック"), AddressScript::Kana), 7);
    EXPECT_EQ(codeResultText(table, QString(), s("ﾐﾅﾄｸ"), s("ヴィラージュック"), AddressScript::Kana), s("105-0000"));
    // Kanji names are compared as they are.
    EXPECT_EQ(findAddress(table, s("東京都"), s("港区"), s("ムラ"), AddressScript::Kanji), -1);
}

TEST_F(SearchRules, HistoryFillsTheLowestFreeSlotThenShifts)
{
    setHistorySlot(0, s("a"));
    setHistorySlot(5, s("f"));
    addHistoryEntry(m_state.options, m_store, s("new"), s("東京都"));
    EXPECT_EQ(m_state.options.value(historyKey(1)), s("new"));
    EXPECT_EQ(m_store.writes().size(), 1u);

    m_store.clearWrites();
    fillHistory(20);
    addHistoryEntry(m_state.options, m_store, s("latest"), s("東京都"));
    ASSERT_EQ(m_store.writes().size(), 20u);
    EXPECT_EQ(m_store.writeSteps(), 1) << "a kill half way must not leave a history shifted in part";
    for (int i = 0; i < 19; ++i) {
        EXPECT_EQ(m_store.writes()[static_cast<std::size_t>(i)].key, historyKey(i));
        EXPECT_EQ(m_state.options.value(historyKey(i)), QStringLiteral("entry %1").arg(i + 1));
    }
    EXPECT_EQ(m_state.options.value(historyKey(19)), s("latest"));
}

TEST_F(SearchRules, ResultEndingInFullStopShiftsEvenWithFreeSlots)
{
    fillHistory(3);
    addHistoryEntry(m_state.options, m_store, s("x"), s("見つかりません。"));
    EXPECT_EQ(m_store.writes().size(), 20u);
    EXPECT_EQ(m_state.options.value(historyKey(0)), s("entry 1"));
    EXPECT_EQ(m_state.options.value(historyKey(1)), s("entry 2"));
    EXPECT_EQ(m_state.options.value(historyKey(2)), QString());
    EXPECT_EQ(m_state.options.value(historyKey(19)), s("x"));
}

TEST_F(SearchRules, CommittedHistoryIsPackedAndEveryKeyRewritten)
{
    fillHistory(3);
    commitHistory(m_state.options, m_store, {s("entry 0"), s("entry 2")});
    EXPECT_EQ(m_store.writes().size(), 22u);
    EXPECT_EQ(m_store.writeSteps(), 1);
    EXPECT_EQ(historyEntries(m_state.options), (QStringList{s("entry 0"), s("entry 2")}));
    EXPECT_EQ(m_store.ReadSetting(Section::Rireki, historyKey(2)), QString());
    EXPECT_EQ(m_store.ReadSetting(Section::Rireki, historyKey(1)), s("entry 2"));
}

TEST(HistoryCopy, TakesTheCodeTheAddressOrBoth)
{
    const QString line = s("〒100-0005　東京都千代田区丸の内");
    EXPECT_EQ(historyCopyText(line, true, true), line);
    EXPECT_EQ(historyCopyText(line, true, false), s("〒100-0005"));
    EXPECT_EQ(historyCopyText(line, false, true), s("東京都千代田区丸の内"));
    EXPECT_EQ(historyCopyText(line, false, false), QString());
    // The first ideographic space of a not-found line ends its message.
    EXPECT_EQ(historyCopyText(s("〒選択の住所に該当する 「郵便番号」 は存在しません。　　東京都府中市"), false, true),
              s("　東京都府中市"));
    EXPECT_EQ(historyCopyText(s("no space"), false, true), s("no space"));
}

TEST(PostalCodeCheck, APastedLineGivesTheCodeItBeginsWith)
{
    const std::optional<QString> code = s("1000005");
    const std::vector<std::pair<const char *, std::optional<QString>>> cases{
        {"〒100-0005　東京都千代田区丸の内", code},                      // the result box, the history
        {"100-0005　東京都千代田区丸の内", code},                        // a candidate line without the mark
        {"1000005 東京都", code},
        {"〒100-0005", code},
        {"〒999-9999　指定の郵便番号に該当する 「住所」 は存在しません。　", s("9999999")},
        {"〒選択の住所に該当する 「郵便番号」 は存在しません。　　東京都府中市", std::nullopt},
        {"東京都千代田区丸の内 100-0005", std::nullopt},
        {"100 0005", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &[text, digits] : cases)
        EXPECT_EQ(leadingPostalCode(s(text)), digits) << text;
}

TEST(PostalCodeCheck, MessagesInOrder)
{
    const CodeCheckMessage length{s("入力された郵便番号が７桁ではありません。　"), s("桁数確認"), -1};
    const auto digits = [](int box) { return CodeCheckMessage{s("入力された郵便番号が数字ではありません。　"), s("数字確認"), box}; };
    const CodeCheckMessage empty{s("郵便番号が入力されていません。　"), s("入力確認"), -1};
    struct Case {
        const char *first;
        const char *second;
        std::vector<CodeCheckMessage> messages;
    };
    const std::vector<Case> cases{
        {"100", "0005", {}},
        {"", "", {empty}},
        {"10", "0005", {length}},
        {"10a", "", {length, digits(0)}},
        {"1a0", "00b5", {digits(0), digits(1)}},
        {"１００", "０００５", {}},  // full-width digits are digits
        {"１a０", "0005", {digits(0)}},
        {"100", " 005", {digits(1)}},
        {"", "0005", {length}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(checkPostalCode(s(c.first), s(c.second)), c.messages) << c.first << '|' << c.second;
}

TEST(PostalCodeCheck, WholeCodesAsPeopleTypeOrPasteThem)
{
    struct Case {
        const char *text;
        std::optional<QString> digits;
    };
    const std::optional<QString> code = s("1000005");
    const std::vector<Case> cases{
        {"1000005", code},
        {"100-0005", code},
        {"〒100-0005", code},
        {"〒 100-0005", code},
        {" 1000005\t", code},
        {"　１００－０００５　", code},
        {"１０００００５", code},
        {"100ー0005", code},
        {"100‐0005", code},
        {"100 0005", std::nullopt},
        {"1000-005", std::nullopt},
        {"100--0005", std::nullopt},
        {"100000", std::nullopt},
        {"10000056", std::nullopt},
        {"100-000a", std::nullopt},
        {"〒", std::nullopt},
        {"", std::nullopt},
        {"東京都千代田区丸の内", std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(postalCodeDigits(s(c.text)), c.digits) << c.text;
    EXPECT_EQ(asciiDigits(s("１２3a４")), s("123a4"));
}

TEST(PickLists, RunsInTableOrder)
{
    std::vector<Row> rows = sampleRows();
    const PostalTable table = tableOf(rows);
    EXPECT_EQ(prefectureList(table, AddressScript::Kanji), (QStringList{s("東京都"), s("広島県"), s("東京都")}));
    EXPECT_EQ(prefectureList(table, AddressScript::Kana), (QStringList{s("ﾄｳｷｮｳﾄ"), s("ﾋﾛｼﾏｹﾝ"), s("ﾄｳｷｮｳﾄ")}));
    EXPECT_EQ(cityList(table, AddressScript::Kanji, s("東京都")),
              (QStringList{s("千代田区"), s("府中市"), s("千代田区")}));
    EXPECT_EQ(cityList(table, AddressScript::Kanji, s("大阪府")), QStringList());
    EXPECT_EQ(cityList(table, AddressScript::Kanji, QString()), QStringList());
    EXPECT_EQ(townList(table, AddressScript::Kanji, s("広島県"), s("府中市")).names, (QStringList{s("朝日町"), s("朝日町")}));
    EXPECT_EQ(townList(table, AddressScript::Kanji, s("広島県"), s("府中市")).rows, (std::vector<int>{4, 5}));
    EXPECT_EQ(townList(table, AddressScript::Kanji, s("東京都"), s("府中市")).names, (QStringList{QString(), s("朝日町")}));
    EXPECT_EQ(townList(table, AddressScript::Kanji, QString(), s("府中市")).names,
              (QStringList{QString(), s("朝日町"), s("朝日町"), s("朝日町")}));
    EXPECT_EQ(townList(table, AddressScript::Kana, s("ﾄｳｷｮｳﾄ"), s("ﾁﾖﾀﾞｸ")).names,
              (QStringList{s("ﾏﾙﾉｳﾁ"), s("ﾕｳﾗｸﾁｮｳ"), s("ｿﾉﾀ")}));
    EXPECT_EQ(townList(table, AddressScript::Kanji, s("大阪府"), s("府中市")).names, QStringList());
    EXPECT_EQ(townList(table, AddressScript::Kanji, s("東京都"), s("無い市")).names, QStringList());

    const PostalTable empty;
    EXPECT_EQ(prefectureList(empty, AddressScript::Kanji), QStringList());
}

TEST(PickLists, EveryCityRunIsCollected)
{
    std::vector<Row> rows;
    for (int i = 0; i < 300; ++i) {
        const QString city = QStringLiteral("市%1").arg(i);
        rows.push_back({QStringLiteral("%1").arg(1000000 + i), s("ｹﾝ"), s("ｼ"), s("ﾁｮｳ"), s("県"), city, s("町")});
    }
    const QStringList cities = cityList(tableOf(rows), AddressScript::Kanji, s("県"));
    ASSERT_EQ(cities.size(), 300);
    EXPECT_EQ(cities.last(), s("市299"));
}

TEST(PickLists, AddressCheckNamesTheMissingBoxInTheModesWording)
{
    EXPECT_EQ(checkAddress(AddressScript::Kanji, QString(), QString()),
              (AddressCheckMessage{s("「市/区名」 が入力されていません。　"), s("入力確認"), 1}));
    EXPECT_EQ(checkAddress(AddressScript::Kana, s("ﾌﾁｭｳｼ"), QString()),
              (AddressCheckMessage{s("「ﾏﾁ/ﾑﾗ/ｱｻﾞﾒｲ」 が入力されていません。　"), s("入力確認"), 2}));
    EXPECT_EQ(checkAddress(AddressScript::Kana, QString(), s("x")),
              (AddressCheckMessage{s("「ｼ/ｸﾒｲ」 が入力されていません。　"), s("入力確認"), 1}));
    EXPECT_EQ(checkAddress(AddressScript::Kanji, s("府中市"), s("朝日町")), std::nullopt);
}

} // namespace
} // namespace torumin
