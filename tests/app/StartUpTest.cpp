#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "support/CurrentFolder.h"
#include "support/MemorySettingsStore.h"
#include "support/OfficeFixtures.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace torumin {
namespace {

using testing::MemorySettingsStore;
using testing::ScriptedMessageBoxes;

// Two records, ASCII only (so valid code page 932 as they stand).
constexpr char kTinyList[] =
    "13101,\"100  \",\"1000005\",\"TOKYO\",\"CHIYODA\",\"MARUNOUCHI\",\"T\",\"C\",\"M\",0,0,0,0,0,0\r\n"
    "47382,\"90718\",\"9071801\",\"OKINAWA\",\"YONAGUNI\",\"YONAGUNI\",\"O\",\"Y\",\"Y\",0,0,0,0,0,0\r\n";

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        ASSERT_TRUE(testing::writeTinyOfficeList(m_folder.path()));
        m_env.programFolder = QDir::toNativeSeparators(m_folder.path());
        m_env.screenTwips = QSizeF(15360, 11520);  // 1024 x 768 pixels at 15 twips a pixel
        m_env.showSplash = [this] {
            ++m_splashShown;
            m_boxesWhenSplashShown = m_boxes.shown().size();
        };
        m_env.closeSplash = [this] { m_boxesWhenSplashClosed = m_boxes.shown().size(); };
    }

    QString writeList(const QString &name, const QByteArray &bytes = kTinyList)
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QDir::toNativeSeparators(path);
    }

    void run() { StartUp(m_state, m_store, m_boxes, m_env); }

    QTemporaryDir m_folder;
    testing::CurrentFolderKept m_currentFolder;
    StartUpEnvironment m_env;
    MemorySettingsStore m_store;
    ScriptedMessageBoxes m_boxes;
    Module1 m_state;
    int m_splashShown = 0;
    std::size_t m_boxesWhenSplashShown = 99;
    std::size_t m_boxesWhenSplashClosed = 99;
};

TEST_F(StartUpTest, FirstStartWritesExactlyTheDefaultedKeys)
{
    writeList(kDefaultListFileName);
    run();

    EXPECT_TRUE(m_boxes.shown().empty());
    EXPECT_EQ(m_state.table.recordCount(), 2);

    const QString listPath = m_env.programFolder + QDir::separator() + QStringLiteral("ken_all.csv");
    QStringList expected;
    for (const SettingKey &key : settingKeys()) {
        if (key.defaultKind != DefaultKind::None)
            expected.append(key.section + QLatin1Char('/') + key.key);
    }
    expected.sort();
    EXPECT_EQ(m_store.storedKeys(), expected);
    EXPECT_EQ(expected.size(), 44);
    EXPECT_EQ(m_store.writeSteps(), 1) << "one save for all the defaults";

    const std::vector<std::pair<QString, QString>> values{
        {QStringLiteral("OptLogo"), QStringLiteral("1")},          {QStringLiteral("OptSen"), QStringLiteral("0")},
        {QStringLiteral("Yubin_File(7)"), listPath},                {QStringLiteral("FolderName(0)"), m_env.programFolder},
        {QStringLiteral("OptCent"), QStringLiteral("0")},          {QStringLiteral("YB_Height"), QStringLiteral("5625")},
        {QStringLiteral("YB_Width"), QStringLiteral("8295")},      {QStringLiteral("OptTemae"), QStringLiteral("1")},
        {QStringLiteral("OptRen(3)"), QStringLiteral("1")},        {QStringLiteral("OptLak(2)"), QStringLiteral("1")},
        {QStringLiteral("OptLATab"), QStringLiteral("0")},         {QStringLiteral("OptColor(0)"), QStringLiteral("&H00000000&")},
        {QStringLiteral("OptColor(1)"), QStringLiteral("&H00FFFFFF&")}, {QStringLiteral("YJ_Copy(2)"), QStringLiteral("1")},
        {QStringLiteral("OptYBketa"), QStringLiteral("3")},        {QStringLiteral("OptYBsize"), QStringLiteral("9")},
    };
    for (const auto &[key, value] : values) {
        const SettingKey *entry = findSettingKey(key);
        ASSERT_NE(entry, nullptr) << key.toStdString();
        EXPECT_EQ(m_store.ReadSetting(entry->section, key), value) << key.toStdString();
        EXPECT_EQ(m_state.options.value(key), value) << key.toStdString();
    }
    EXPECT_EQ(findSettingKey(QStringLiteral("OptLak(0)"))->section, Section::Saigo);
    EXPECT_EQ(findSettingKey(QStringLiteral("OptCent"))->section, Section::Position);
    EXPECT_EQ(m_state.HelpFilePath, m_env.programFolder + QDir::separator() + QStringLiteral("TORUMIN.HLP"));
    // How many records and how fresh, for the windows that show it.
    EXPECT_EQ(m_state.tablePath, listPath);
    EXPECT_EQ(loadedListSummary(m_state),
              QStringLiteral("2 件（") + QFileInfo(listPath).lastModified().toString(QStringLiteral("yyyy/MM/dd"))
                  + QStringLiteral(" 更新）"));
}

TEST_F(StartUpTest, DefaultPositionsAreCentredInMemoryOnly)
{
    writeList(kDefaultListFileName);
    run();

    EXPECT_EQ(m_state.options.value(QStringLiteral("O_Left")), QStringLiteral("6230"));
    EXPECT_EQ(m_state.options.value(QStringLiteral("O_Top")), QStringLiteral("4920"));
    // (15360 - 8295) / 2 and (11520 - 5625) / 2
    EXPECT_EQ(m_state.options.value(QStringLiteral("YB_Left")), QStringLiteral("3532.5"));
    EXPECT_EQ(m_state.options.value(QStringLiteral("YB_Top")), QStringLiteral("2947.5"));
    for (const char *key : {"O_Left", "O_Top", "YB_Left", "YB_Top"})
        EXPECT_FALSE(m_store.contains(Section::Position, QString::fromLatin1(key))) << key;
}

TEST_F(StartUpTest, StoredPositionsFollowTheEmptyOrNegativeRule)
{
    writeList(kDefaultListFileName);
    m_store.preset(Section::Position, QStringLiteral("O_Top"), QStringLiteral("abc"));
    m_store.preset(Section::Position, QStringLiteral("O_Left"), QStringLiteral("-300"));
    m_store.preset(Section::Position, QStringLiteral("YB_Left"), QStringLiteral("0"));
    m_store.preset(Section::Position, QStringLiteral("YB_Top"), QStringLiteral("1234.5"));
    m_store.preset(Section::Position, QStringLiteral("YB_Height"), QStringLiteral("6000"));
    run();

    // Not a number: used as it is, and it reads as 0.
    EXPECT_EQ(m_state.options.value(QStringLiteral("O_Top")), QStringLiteral("abc"));
    EXPECT_EQ(m_state.options.number(QStringLiteral("O_Top")), 0.0);
    // Negative: the centred value in memory, the store keeps what it had.
    EXPECT_EQ(m_state.options.value(QStringLiteral("O_Left")), QStringLiteral("6230"));
    EXPECT_EQ(m_store.ReadSetting(Section::Position, QStringLiteral("O_Left")), QStringLiteral("-300"));
    EXPECT_EQ(m_state.options.value(QStringLiteral("YB_Left")), QStringLiteral("0"));
    EXPECT_EQ(m_state.options.value(QStringLiteral("YB_Top")), QStringLiteral("1234.5"));
    EXPECT_EQ(m_store.ReadSetting(Section::Position, QStringLiteral("YB_Height")), QStringLiteral("6000"));
}

TEST_F(StartUpTest, EmptyStoredValueGetsItsDefaultAgainAndKeptValuesStay)
{
    writeList(kDefaultListFileName);
    m_store.preset(Section::Config, QStringLiteral("OptLogo"), QString());
    m_store.preset(Section::Config, QStringLiteral("OptMBar"), QStringLiteral("0"));
    m_store.preset(Section::Saigo, QStringLiteral("YubinB"), QStringLiteral("1000005"));
    m_store.preset(Section::Rireki, QStringLiteral("K_Rireki(19)"), QStringLiteral("〒100-0005　東京都千代田区丸の内"));
    run();

    EXPECT_EQ(m_store.ReadSetting(Section::Config, QStringLiteral("OptLogo")), QStringLiteral("1"));
    EXPECT_EQ(m_state.options.value(QStringLiteral("OptMBar")), QStringLiteral("0"));
    EXPECT_EQ(m_state.options.value(QStringLiteral("YubinB")), QStringLiteral("1000005"));
    EXPECT_EQ(m_state.options.value(QStringLiteral("K_Rireki(19)")), QStringLiteral("〒100-0005　東京都千代田区丸の内"));
    for (const auto &write : m_store.writes())
        EXPECT_NE(write.key, QStringLiteral("OptMBar"));

    // A start that finds every default in place saves nothing.
    m_store.clearWrites();
    Module1 again;
    StartUp(again, m_store, m_boxes, m_env);
    EXPECT_EQ(m_store.writeSteps(), 0);
}

TEST_F(StartUpTest, SplashOnlyWithTheLogoOptionAndBeforeTheList)
{
    writeList(kDefaultListFileName);
    run();
    EXPECT_EQ(m_splashShown, 1);

    Module1 second;
    m_store.preset(Section::Config, QStringLiteral("OptLogo"), QStringLiteral("0"));
    m_splashShown = 0;
    StartUp(second, m_store, m_boxes, m_env);
    EXPECT_EQ(m_splashShown, 0);
    EXPECT_EQ(second.table.recordCount(), 2);
}

TEST_F(StartUpTest, MissingListIsReportedAfterTheSplashAndStartUpGoesOn)
{
    run();

    ASSERT_EQ(m_boxes.shown().size(), 1u);
    const auto &box = m_boxes.shown().front();
    EXPECT_EQ(box.title, QStringLiteral("*.CSV 確認"));
    EXPECT_EQ(box.style, 48);
    EXPECT_EQ(box.text, QStringLiteral("指定された 「郵便番号一覧 *.CSV」 が存在しません。　\r\r"
                                       "各種設定画面 「*.csv 保存先」 タブから、郵便番号一覧 *.CSV を設定して下さい。  "));
    EXPECT_EQ(m_boxesWhenSplashShown, 0u);
    EXPECT_EQ(m_boxesWhenSplashClosed, 1u);
    EXPECT_EQ(m_state.table.recordCount(), 0);
    EXPECT_EQ(m_state.options.value(QStringLiteral("OptYBsize")), QStringLiteral("9"));
}

TEST_F(StartUpTest, TheSelectedSlotDecidesWhichListLoads)
{
    const QString other = writeList(QStringLiteral("other.csv"));
    const QString hidden = writeList(QStringLiteral(".hidden.csv"));

    struct Case {
        const char *optSen;
        QString slot3;
        int records;
        std::size_t messages;
    };
    const std::vector<Case> cases{
        {"3", other, 2, 0},   // slot 0's default file is missing, slot 3 is not looked at otherwise
        {"3", hidden, 0, 1},  // a hidden file counts as missing
        {"2.6", other, 2, 0}, // rounded to the nearest slot
        {"9", other, 0, 1},   // out of range: slot 0, which is missing
        {"abc", other, 0, 1}, // not a number: slot 0
    };
    for (const Case &c : cases) {
        MemorySettingsStore store;
        ScriptedMessageBoxes boxes;
        Module1 state;
        store.preset(Section::Config, QStringLiteral("OptSen"), QString::fromLatin1(c.optSen));
        store.preset(Section::Config, QStringLiteral("Yubin_File(3)"), c.slot3);
        store.preset(Section::Config, QStringLiteral("Yubin_File(2)"), c.slot3);
        StartUp(state, store, boxes, m_env);
        EXPECT_EQ(state.table.recordCount(), c.records) << c.optSen << ' ' << c.slot3.toStdString();
        EXPECT_EQ(boxes.shown().size(), c.messages) << c.optSen << ' ' << c.slot3.toStdString();
    }
}

TEST_F(StartUpTest, UnreadableListIsReportedAndCompleteRecordsKept)
{
    QByteArray cut(kTinyList);
    cut.chop(20);
    writeList(kDefaultListFileName, cut);
    run();

    ASSERT_EQ(m_boxes.shown().size(), 1u);
    EXPECT_EQ(m_boxes.shown().front().title, QStringLiteral("*.CSV 確認"));
    EXPECT_EQ(m_boxes.shown().front().style, 48);
    EXPECT_TRUE(m_boxes.shown().front().text.contains(m_env.programFolder));
    EXPECT_EQ(m_state.table.recordCount(), 1);
    EXPECT_EQ(m_state.table.zipCode(0), QStringLiteral("1000005"));
}

} // namespace
} // namespace torumin

namespace torumin {
namespace {

TEST_F(StartUpTest, ReloadKeepsTheTableUnlessTheNewListReadsWhole)
{
    writeList(kDefaultListFileName);
    run();
    ASSERT_EQ(m_state.table.recordCount(), 2);

    struct Case {
        QString path;
        bool loads;
        const char *messageStart;
    };
    QByteArray cut(kTinyList);
    cut.chop(20);
    const QByteArray one = QByteArray(kTinyList).left(QByteArray(kTinyList).indexOf('\n') + 1);
    const std::vector<Case> cases{
        {m_folder.filePath(QStringLiteral("absent.csv")), false, "指定された 「郵便番号一覧 *.CSV」 が存在しません。"},
        {QString(), false, "指定された 「郵便番号一覧 *.CSV」 が存在しません。"},
        {writeList(QStringLiteral("cut.csv"), cut), false, "指定された 「郵便番号一覧 *.CSV」 を読み込めませんでした。"},
        {writeList(QStringLiteral("one.csv"), one), true, nullptr},
    };
    for (const Case &c : cases) {
        m_boxes.clear();
        m_state.options.set(QStringLiteral("OptSen"), QStringLiteral("4"));
        m_state.options.set(QStringLiteral("Yubin_File(4)"), c.path);
        const int before = m_state.table.recordCount();
        EXPECT_EQ(ReloadPostalTable(m_state, m_boxes), c.loads) << c.path.toStdString();
        if (c.loads) {
            EXPECT_TRUE(m_boxes.shown().empty());
            EXPECT_EQ(m_state.table.recordCount(), 1);
        } else {
            ASSERT_EQ(m_boxes.shown().size(), 1u);
            EXPECT_TRUE(m_boxes.shown()[0].text.startsWith(QString::fromUtf8(c.messageStart)))
                << m_boxes.shown()[0].text.toStdString();
            EXPECT_EQ(m_boxes.shown()[0].title, QStringLiteral("*.CSV 確認"));
            EXPECT_EQ(m_state.table.recordCount(), before);
        }
    }
}

} // namespace
} // namespace torumin
