// The settings store on Windows: the registry, as the older program left it
// (SaveSetting: a subkey a section under the program's key, a REG_SZ a value).
// Each test works under a key of its own below HKEY_CURRENT_USER\Software,
// removed afterwards; the user's settings are never touched.
#include "app/Module1.h"
#include "app/SettingsKeys.h"
#include "app/ToolbarLayout.h"
#include "app/settings/QtSettingsStore.h"
#include "app/HistoryStore.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace torumin {
namespace {

struct RegistryValue {
    DWORD type = REG_NONE;
    QString text;
};

class RegistrySettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_key = QStringLiteral("Software\\TORUMIN tests\\") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    }

    void TearDown() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, wide(m_key));
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TORUMIN tests"); // only once it is empty
    }

    static const wchar_t *wide(const QString &text) { return reinterpret_cast<const wchar_t *>(text.utf16()); }

    void writeRaw(const QString &section, const QString &name, DWORD type, const QByteArray &data)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, wide(m_key + u'\\' + section), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExW(key, wide(name), 0, type, reinterpret_cast<const BYTE *>(data.constData()),
                                 static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    // What SaveSetting stored: the text and its terminating NUL, as REG_SZ.
    void writeOld(const QString &section, const QString &name, const QString &value)
    {
        const QByteArray data(reinterpret_cast<const char *>(value.utf16()),
                              static_cast<qsizetype>((value.size() + 1) * sizeof(char16_t)));
        writeRaw(section, name, REG_SZ, data);
    }

    std::optional<RegistryValue> readRaw(const QString &section, const QString &name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(m_key + u'\\' + section), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return std::nullopt;
        RegistryValue value;
        wchar_t buffer[1024] = {};
        DWORD size = sizeof(buffer) - sizeof(wchar_t);
        const LSTATUS status =
            RegQueryValueExW(key, wide(name), nullptr, &value.type, reinterpret_cast<BYTE *>(buffer), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        value.text = QString::fromWCharArray(buffer);
        return value;
    }

    [[nodiscard]] std::unique_ptr<QtSettingsStore> open() const
    {
        return QtSettingsStore::openRegistry(QStringLiteral("HKEY_CURRENT_USER\\") + m_key);
    }

    QString m_key;
};

TEST_F(RegistrySettingsTest, AnEarlierInstallationsSettingsAreReadAtStartUp)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString list = QDir::toNativeSeparators(folder.filePath(QStringLiteral("KEN_ALL.CSV")));
    {
        QFile file(list);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("13101,\"100  \",\"1000005\",\"TOKYO\",\"CHIYODA\",\"MARUNOUCHI\",\"T\",\"C\",\"M\",0,0,0,0,0,0\r\n"
                   "47382,\"90718\",\"9071801\",\"OKINAWA\",\"YONAGUNI\",\"YONAGUNI\",\"O\",\"Y\",\"Y\",0,0,0,0,0,0\r\n");
    }
    // With its office list, so that start-up has nothing to say.
    ASSERT_TRUE(QFile::copy(QStringLiteral(TORUMIN_TEST_FIXTURES "/jigyosyo_small.csv"),
                            folder.filePath(QStringLiteral("JIGYOSYO.CSV"))));
    const QString notFound = QStringLiteral("〒999-9999　指定の郵便番号に該当する 「住所」 は存在しません。　");
    const std::vector<std::tuple<QString, QString, QString>> old{
        {Section::Config, QStringLiteral("OptLogo"), QStringLiteral("0")},
        {Section::Config, QStringLiteral("OptSen"), QStringLiteral("2")},
        {Section::Config, QStringLiteral("Yubin_File(2)"), list},
        {Section::Config, QStringLiteral("FolderName(2)"), QDir::toNativeSeparators(folder.path())},
        {Section::Config, QStringLiteral("OptColor(1)"), QStringLiteral("&H00C0FFFF&")},
        {Section::Config, QStringLiteral("OptYBketa"), QStringLiteral("5")},
        {Section::Position, QStringLiteral("O_Top"), QStringLiteral("1200")},
        {Section::Position, QStringLiteral("O_Left"), QStringLiteral("900")},
        {Section::Saigo, QStringLiteral("YubinB"), QStringLiteral("9071801")},
        {Section::Saigo, QStringLiteral("Jusho(0)"), QStringLiteral("沖縄県")},
        {Section::Saigo, QStringLiteral("Jusho2(2)"), QStringLiteral("ﾖﾅｸﾞﾆ")},
        {Section::Saigo, QStringLiteral("J_Input"), QStringLiteral("東京都千代田区丸の内１－１")},
        {Section::Saigo, QStringLiteral("OptLak(1)"), QStringLiteral("0")},
        {Section::Rireki, QStringLiteral("K_Rireki(0)"), QStringLiteral("〒100-0005　東京都千代田区丸の内")},
        {Section::Rireki, QStringLiteral("K_Rireki(1)"), QStringLiteral("〒907-1801　沖縄県八重山郡与那国町与那国")},
        {Section::Rireki, QStringLiteral("K_Rireki(2)"), notFound},
    };
    for (const auto &[section, key, value] : old)
        writeOld(section, key, value);
    // A key SaveSetting left empty counts as missing: it gets its default.
    writeOld(Section::Config, QStringLiteral("OptTemae"), QString());
    // The old toolbar kept its layout in a format of its own; it must not get
    // in the way of the rest.
    writeRaw(Section::Config, QStringLiteral("Toolbar"), REG_BINARY, QByteArray("\x08\x00\x01\x02", 4));

    const auto store = open();
    EXPECT_FALSE(store->takeOpeningNotice().has_value());
    Module1 state;
    testing::ScriptedMessageBoxes boxes;
    StartUp(state, *store, boxes, {QDir::toNativeSeparators(folder.path()), QSizeF(15360, 11520), {}, {}});

    for (const auto &box : boxes.shown())
        ADD_FAILURE() << "a message at start-up: " << box.text.toStdString();
    EXPECT_EQ(state.tablePath, list) << "the list of the selected slot";
    EXPECT_EQ(state.table.recordCount(), 2);
    for (const auto &[section, key, value] : old) {
        EXPECT_EQ(state.options.value(key), value) << key.toStdString();
        const auto stored = readRaw(section, key);
        ASSERT_TRUE(stored.has_value()) << key.toStdString();
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ)) << key.toStdString();
        EXPECT_EQ(stored->text, value) << key.toStdString() << " is left as it was";
    }
    EXPECT_EQ(state.options.value(QStringLiteral("K_Rireki(3)")), QString());
    EXPECT_FALSE(readRaw(Section::Rireki, QStringLiteral("K_Rireki(3)")).has_value());
    EXPECT_FALSE(parseToolbarLayout(store->ReadSetting(Section::Config, QStringLiteral("Toolbar"))).has_value());

    // Keys the earlier installation did not have get their defaults, as
    // strings beside the old ones.
    for (const auto &[section, key, value] :
         {std::tuple{Section::Config, QStringLiteral("OptTemae"), QStringLiteral("1")},
          std::tuple{Section::Config, QStringLiteral("YJ_Disp(0)"), QStringLiteral("1")},
          std::tuple{Section::Saigo, QStringLiteral("OptLak(0)"), QStringLiteral("1")},
          std::tuple{Section::Position, QStringLiteral("YB_Width"), QStringLiteral("8295")}}) {
        const auto stored = readRaw(section, key);
        ASSERT_TRUE(stored.has_value()) << key.toStdString();
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ)) << key.toStdString();
        EXPECT_EQ(stored->text, value) << key.toStdString();
    }
}

TEST_F(RegistrySettingsTest, WritesAreStringsTheOlderProgramReadsAsTheyWere)
{
    const std::vector<std::pair<QString, QString>> values{
        {QStringLiteral("K_Rireki(0)"), QStringLiteral("〒060-0001　北海道札幌市中央区北一条西")},
        {QStringLiteral("K_Rireki(1)"), QString()},
        {QStringLiteral("K_Rireki(2)"), QStringLiteral("a,b; \"c\" = d\\e")},
        {QStringLiteral("K_Rireki(3)"), QStringLiteral("  ﾁﾖﾀﾞｸ　")},
    };
    {
        const auto store = open();
        std::vector<SettingWrite> writes;
        for (const auto &[key, value] : values)
            writes.push_back({Section::Rireki, key, value});
        store->WriteSettings(writes);
        EXPECT_FALSE(store->lastWriteFailed());
    }
    const auto reopened = open();
    for (const auto &[key, value] : values) {
        const auto stored = readRaw(Section::Rireki, key);
        ASSERT_TRUE(stored.has_value()) << key.toStdString();
        EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ)) << key.toStdString();
        EXPECT_EQ(stored->text, value) << key.toStdString();
        EXPECT_EQ(reopened->ReadSetting(Section::Rireki, key), value) << key.toStdString();
    }
}

TEST_F(RegistrySettingsTest, TwoInstancesKeepEachOthersHistory)
{
    const auto first = open();
    const auto second = open();
    Options firstOptions;
    Options secondOptions;
    const auto entry = [](const char *name) -> QString { return QStringLiteral("〒100-0005　") + QString::fromUtf8(name); };
    addHistoryEntry(firstOptions, *first, entry("A1"), QStringLiteral("東京都"));
    addHistoryEntry(secondOptions, *second, entry("B1"), QStringLiteral("東京都"));
    addHistoryEntry(firstOptions, *first, entry("A2"), QStringLiteral("東京都"));
    // The first's history window showed A1 B1 A2 and the user removed B1;
    // B2 came in meanwhile and stays.
    addHistoryEntry(secondOptions, *second, entry("B2"), QStringLiteral("東京都"));
    commitHistory(firstOptions, *first, {entry("A1"), entry("A2")});

    const auto reopened = open();
    Options stored;
    for (int slot = 0; slot < 20; ++slot)
        stored.set(historyKey(slot), reopened->ReadSetting(Section::Rireki, historyKey(slot)));
    EXPECT_EQ(historyEntries(stored), (QStringList{entry("A1"), entry("A2"), entry("B2")}));
    EXPECT_EQ(historyEntries(firstOptions), historyEntries(stored));
}

} // namespace
} // namespace torumin
