#include "app/DownloadedList.h"
#include "data/ListTestSupport.h"
#include "data/PostalListReader.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <random>
#include <string>

namespace torumin {
namespace {

const QDateTime kEntryTime(QDate(2025, 10, 31), QTime(6, 0));

// The first record of every prefecture of the full list, as the UTF-8
// edition writes them, so the names are the data's own.
const std::vector<std::string> &prefectureRecords()
{
    static const std::vector<std::string> records = [] {
        std::vector<std::string> out;
        const ListReadResult full = readPostalListFile(QStringLiteral(TORUMIN_FULL_LIST));
        QString last;
        for (int row = 0; row < full.table.recordCount(); ++row) {
            if (full.table.prefName(row) == last)
                continue;
            last = full.table.prefName(row).toString();
            const auto q = [](QStringView text) -> QString { return QLatin1Char('"') + text.toString() + QLatin1Char('"'); };
            const QString line = QStringLiteral("01101,\"060  \",") + q(full.table.zipCode(row)) + u','
                + q(full.table.prefKana(row)) + u',' + q(full.table.cityKana(row)) + u',' + q(full.table.townKana(row))
                + u',' + q(full.table.prefName(row)) + u',' + q(full.table.cityName(row)) + u','
                + q(full.table.townName(row)) + QStringLiteral(",0,0,0,0,0,0\r\n");
            out.push_back(line.toStdString());
        }
        return out;
    }();
    return records;
}

std::string listOf(std::size_t leaveOutLast = 0)
{
    std::string list;
    for (std::size_t i = 0; i + leaveOutLast < prefectureRecords().size(); ++i)
        list += prefectureRecords()[i];
    return list;
}

std::string archiveOf(const std::vector<test::ZipEntry> &entries)
{
    std::vector<test::ZipEntry> dated = entries;
    for (test::ZipEntry &entry : dated)
        entry.modified = kEntryTime.toSecsSinceEpoch();
    return test::zipArchive(dated);
}

std::string goodArchive()
{
    return archiveOf({{"utf_ken_all.csv", listOf()}});
}

std::string garbage(std::size_t size)
{
    std::mt19937 random(13);
    std::string bytes(size, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random());
    return bytes;
}

struct CheckCase {
    const char *name;
    std::function<std::string()> bytes;
    int minRecords;
    std::optional<ListUpdateFailure> failure;
    const char *reasonPart;  // UTF-8, for a failure
};

void PrintTo(const CheckCase &c, std::ostream *out)
{
    *out << c.name;
}

class DownloadedListCheck : public testing::TestWithParam<CheckCase> {};

TEST_P(DownloadedListCheck, TakesOnlyACompleteNationwideList)
{
    ASSERT_EQ(prefectureRecords().size(), 47u);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = QDir(folder.path()).filePath(QStringLiteral("ken_all-download.part"));
    test::writeWholeFile(path, GetParam().bytes());

    const CheckedList checked = checkDownloadedList(path, ListCheckLimits{GetParam().minRecords});
    if (!GetParam().failure) {
        ASSERT_FALSE(checked.error) << checked.error->reason.toStdString();
        EXPECT_EQ(checked.recordCount, 47);
        EXPECT_EQ(checked.dataDate, kEntryTime.date());
        return;
    }
    ASSERT_TRUE(checked.error);
    EXPECT_EQ(checked.error->code, *GetParam().failure);
    EXPECT_TRUE(checked.error->reason.contains(QString::fromUtf8(GetParam().reasonPart)))
        << checked.error->reason.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Downloads, DownloadedListCheck,
    testing::Values(
        CheckCase{"EveryPrefecture", goodArchive, 47, std::nullopt, ""},
        CheckCase{"ReadmeBesideTheList",
                  [] { return archiveOf({{"readme.txt", "about"}, {"utf_ken_all.csv", listOf()}}); }, 47,
                  std::nullopt, ""},
        CheckCase{"WebPage", [] { return std::string("<!DOCTYPE html><title>Sign in</title>"); }, 47,
                  ListUpdateFailure::NotAList, "zip 形式ではありません"},
        CheckCase{"CutShort", [] { const std::string a = goodArchive(); return a.substr(0, a.size() / 2); }, 47,
                  ListUpdateFailure::NotAList, "壊れています"},
        CheckCase{"GarbageInside", [] { return archiveOf({{"utf_ken_all.csv", garbage(4096)}}); }, 47,
                  ListUpdateFailure::NotAList, "郵便番号一覧の文字ではない"},
        CheckCase{"DamagedData",
                  [] {
                      std::string a = archiveOf({{"utf_ken_all.csv", listOf(), true}});
                      a[a.size() / 2] ^= 0x55;  // in the stored list: only the checksum tells
                      return a;
                  },
                  47, ListUpdateFailure::NotAList, "壊れています"},
        CheckCase{"LineOfFourteenFields",
                  [] { return archiveOf({{"utf_ken_all.csv", listOf() + "01101,\"060  \",\"0600000\",a,b,c,d,e,f,0,0,0,0,0\r\n"}}); },
                  47, ListUpdateFailure::NotAList, "形になっていない行"},
        CheckCase{"TwoLists", [] { return archiveOf({{"a.csv", listOf()}, {"b.csv", listOf()}}); }, 47,
                  ListUpdateFailure::NotAList, "2 個"},
        CheckCase{"NoList", [] { return archiveOf({{"readme.txt", "about"}}); }, 47, ListUpdateFailure::NotAList,
                  "入っていません"},
        CheckCase{"TooFewRecords", goodArchive, 100000, ListUpdateFailure::TooFewRecords,
                  "47 件しかありません。全国の郵便番号一覧なら 100,000 件以上"},
        CheckCase{"PrefectureMissing", [] { return archiveOf({{"utf_ken_all.csv", listOf(2)}}); }, 10,
                  ListUpdateFailure::PrefectureMissing, "ありません：鹿児島県、沖縄県"}),
    [](const testing::TestParamInfo<CheckCase> &info) { return std::string(info.param.name); });

struct PruneCase {
    const char *name;
    QStringList files;
    QStringList inUse;
    QStringList removed;
};

void PrintTo(const PruneCase &c, std::ostream *out)
{
    *out << c.name;
}

class DownloadedListsPruning : public testing::TestWithParam<PruneCase> {};

TEST_P(DownloadedListsPruning, KeepsTheNewestThreeAndWhatIsInUse)
{
    QStringList removed = downloadedListsToRemove(GetParam().files, GetParam().inUse);
    removed.sort();
    EXPECT_EQ(removed, GetParam().removed);
}

const QStringList kFive{QStringLiteral("ken_all-20250131.zip"), QStringLiteral("ken_all-20250430.zip"),
                        QStringLiteral("ken_all-20241231.zip"), QStringLiteral("ken_all-20250331.zip"),
                        QStringLiteral("ken_all-20250228.zip")};

INSTANTIATE_TEST_SUITE_P(
    Folders, DownloadedListsPruning,
    testing::Values(
        PruneCase{"OlderThanTheNewestThree", kFive, {},
                  {QStringLiteral("ken_all-20241231.zip"), QStringLiteral("ken_all-20250131.zip")}},
        PruneCase{"ListInUseSpared", kFive, {QStringLiteral("ken_all-20241231.zip")},
                  {QStringLiteral("ken_all-20250131.zip")}},
        PruneCase{"FewerThanThree", {QStringLiteral("ken_all-20250131.zip"), QStringLiteral("ken_all-20250228.zip")},
                  {}, {}},
        PruneCase{"OnlyTheProgramsOwnNames",
                  {QStringLiteral("ken_all-20250430.zip"), QStringLiteral("ken_all-20250331.zip"),
                   QStringLiteral("ken_all-20250228.zip"), QStringLiteral("ken_all-20200101.zip"),
                   QStringLiteral("ken_all.csv"), QStringLiteral("ken_all-2019.zip"),
                   QStringLiteral("ken_all-20191399.zip"), QStringLiteral("KEN_ALL-20190101.ZIP"),
                   QStringLiteral("ken_all-20190101.zip.part"), QStringLiteral("notes.txt")},
                  {}, {QStringLiteral("ken_all-20200101.zip")}}),
    [](const testing::TestParamInfo<PruneCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace torumin
