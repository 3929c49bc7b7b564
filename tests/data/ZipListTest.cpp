#include "ListTestSupport.h"

#include "data/PostalListReader.h"
#include "data/ZipEntrySource.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace torumin {
namespace {

using test::ZipEntry;

struct ChoiceCase {
    const char *name;
    std::vector<std::string> entries;
    std::vector<std::size_t> candidates;
};

void PrintTo(const ChoiceCase &c, std::ostream *out)
{
    *out << c.name;
}

class ListEntryChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(ListEntryChoice, FindsTheEntriesThatCouldBeTheList)
{
    EXPECT_EQ(listEntryCandidates(GetParam().entries), GetParam().candidates);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ListEntryChoice,
    testing::Values(
        ChoiceCase{"OnlyEntry", {"KEN_ALL.CSV"}, {0}},
        ChoiceCase{"AnyCsvWhenAlone", {"readme.txt", "13TOKYO.csv"}, {1}},
        ChoiceCase{"InAFolder", {"2025/", "2025/UTF_KEN_ALL.CSV"}, {1}},
        // The list's own name among them decides nothing: the other one
        // may be the newer list, renamed.
        ChoiceCase{"Several", {"a.csv", "readme.txt", "ken_all.csv"}, {0, 2}},
        ChoiceCase{"FolderNamedCsv", {"ken_all.csv/", "ken_all.csv/readme.txt"}, {}},
        ChoiceCase{"NoCsv", {"readme.txt", "ken_all.csv.txt", "csv"}, {}},
        ChoiceCase{"NoEntries", {}, {}}),
    [](const testing::TestParamInfo<ChoiceCase> &info) { return std::string(info.param.name); });

const std::string kCp932List = test::readWholeFile(test::fixturePath("small_list.csv"));
const std::string kUtf8List = test::readWholeFile(test::fixturePath("small_list_utf8.csv"));

// Larger than a block of the reader's inflating thread.
const std::string kLargeList = [] {
    std::string out;
    for (int i = 0; i < 5000; ++i)
        out += test::toCp932("13101,\"100  \",\"" + std::to_string(1000000 + i)
                             + "\",\"ﾄｳｷｮｳﾄ\",\"ﾁﾖﾀﾞｸ\",\"ﾁﾖﾀﾞ\",\"東京都\",\"千代田区\",\"千代田" + std::to_string(i)
                             + "\",0,0,0,0,0,0\r\n");
    return out;
}();

std::string zipOf(const std::string &name, const std::string &bytes, bool stored = false)
{
    return test::zipArchive({ZipEntry{name, bytes, stored}});
}

// Reads a list both ways: from bytes in memory and from a file.
class ArchiveReading : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    std::vector<ListReadResult> readBothWays(const std::string &bytes, const QString &fileName)
    {
        const QString path = m_dir.filePath(fileName);
        test::writeWholeFile(path, bytes);
        std::vector<ListReadResult> results;
        results.push_back(readPostalListBytes(bytes, path));
        results.push_back(readPostalListFile(path));
        return results;
    }

    QTemporaryDir m_dir;
};

struct ArchiveCase {
    const char *name;
    std::string archive;
    std::string list; // what the archive's list reads like outside it
    const char *fileName = "ken_all.zip";
    const char *reason = ""; // what the message must say of the problem
};

void PrintTo(const ArchiveCase &c, std::ostream *out)
{
    *out << c.name;
}

class ListInArchive : public ArchiveReading, public testing::WithParamInterface<ArchiveCase> {};

TEST_P(ListInArchive, ReadsLikeTheListItself)
{
    const ArchiveCase &c = GetParam();
    const ListReadResult bare = readPostalListBytes(c.list, QStringLiteral("t.csv"));
    ASSERT_FALSE(bare.error.has_value());
    ASSERT_GT(bare.table.recordCount(), 0);
    const std::vector<test::Row> expected = test::rowsOf(bare.table);
    for (const ListReadResult &result : readBothWays(c.archive, QString::fromUtf8(c.fileName))) {
        ASSERT_FALSE(result.error.has_value()) << result.error->message.toStdString();
        EXPECT_EQ(test::rowsOf(result.table), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Archives, ListInArchive,
    testing::Values(
        // Made by the zip command rather than by libzip.
        ArchiveCase{"Cp932Fixture", test::readWholeFile(test::fixturePath("ken_all_small.zip")), kCp932List},
        ArchiveCase{"Utf8Fixture", test::readWholeFile(test::fixturePath("utf_ken_all_small.zip")), kUtf8List},
        ArchiveCase{"Stored", zipOf("KEN_ALL.CSV", kCp932List, true), kCp932List},
        ArchiveCase{"LargeEntry", zipOf("KEN_ALL.CSV", kLargeList), kLargeList},
        ArchiveCase{"Utf8WithMark", zipOf("utf_ken_all.csv", "\xEF\xBB\xBF" + kUtf8List), kUtf8List},
        ArchiveCase{"InAFolder", zipOf("2025/KEN_ALL.CSV", kCp932List), kCp932List},
        ArchiveCase{"ListAmongOtherFiles",
                    test::zipArchive({{"readme.txt", "not a list"}, {"utf_ken_all.csv", kUtf8List}, {"csv/", ""}}),
                    kUtf8List},
        ArchiveCase{"AnyCsvName", test::zipArchive({{"13TOKYO.CSV", kCp932List}, {"readme.txt", "x"}}), kCp932List},
        // Known by its content whatever its name.
        ArchiveCase{"NamedLikeAList", zipOf("KEN_ALL.CSV", kCp932List), kCp932List, "ken_all.csv"}),
    [](const testing::TestParamInfo<ArchiveCase> &info) { return std::string(info.param.name); });

void putLittleEndian(std::string &bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// An archive of one entry whose headers, local and central alike, claim
// another unpacked size.
std::string claimingSize(std::string archive, std::uint32_t size)
{
    constexpr std::size_t kLocalSizeAt = 22;
    constexpr std::size_t kCentralSizeAt = 24;
    const std::size_t central = archive.find("PK\x01\x02");
    if (central == std::string::npos)
        throw std::runtime_error("no central directory");
    putLittleEndian(archive, kLocalSizeAt, size);
    putLittleEndian(archive, central + kCentralSizeAt, size);
    return archive;
}

// An archive whose central directory puts its entry's local header at the
// largest offset the field holds, which only a ZIP64 record may do.
std::string withLocalHeaderOutOfReach(std::string archive)
{
    constexpr std::size_t kLocalHeaderOffsetAt = 42;
    const std::size_t central = archive.find("PK\x01\x02");
    if (central == std::string::npos)
        throw std::runtime_error("no central directory");
    putLittleEndian(archive, central + kLocalHeaderOffsetAt, 0xFFFFFFFFU);
    return archive;
}

// Where the first entry's data starts.
std::size_t dataStart(const std::string &archive)
{
    const auto byteAt = [&archive](std::size_t i) { return static_cast<unsigned char>(archive[i]); };
    const std::size_t nameLength = byteAt(26) | byteAt(27) << 8;
    const std::size_t extraLength = byteAt(28) | byteAt(29) << 8;
    return 30 + nameLength + extraLength;
}

std::string withDataOverwritten(std::string archive, std::size_t at, std::string_view bytes)
{
    archive.replace(dataStart(archive) + at, bytes.size(), bytes);
    return archive;
}

struct FaultCase {
    const char *name;
    std::string archive;
    ListErrorCode code;
    bool aboutTheEntry;                  // the message names the entry, not just the archive
    int keptRecords = 0;
    std::optional<std::int64_t> maxOffset{}; // how far reading may have gone
    const char *fileName = "ken_all.zip";
    const char *reason = ""; // what the message must say of the problem
};

void PrintTo(const FaultCase &c, std::ostream *out)
{
    *out << c.name;
}

class FaultyArchive : public ArchiveReading, public testing::WithParamInterface<FaultCase> {};

TEST_P(FaultyArchive, GivesItsErrorAndNoBadRecords)
{
    const FaultCase &c = GetParam();
    const QString path = m_dir.filePath(QString::fromUtf8(c.fileName));
    for (const ListReadResult &result : readBothWays(c.archive, QString::fromUtf8(c.fileName))) {
        ASSERT_TRUE(result.error.has_value());
        EXPECT_EQ(result.error->code, c.code) << result.error->message.toStdString();
        EXPECT_EQ(result.table.recordCount(), c.keptRecords);
        if (c.maxOffset) {
            EXPECT_LE(result.error->byteOffset, *c.maxOffset);
        }

        const QStringList lines = result.error->message.split(QStringLiteral("\r\r"));
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines[0], u"指定された 「郵便番号一覧 *.CSV」 を読み込めませんでした。\u3000");
        const QString archive = QDir::toNativeSeparators(path);
        const QString named = c.aboutTheEntry ? archive + QStringLiteral(" の中の KEN_ALL.CSV") : archive;
        EXPECT_EQ(lines[1], named);
        EXPECT_TRUE(lines[2].contains(QString::fromUtf8(c.reason))) << lines[2].toStdString();
    }
}

const std::string kSmallArchive = zipOf("KEN_ALL.CSV", kCp932List);
const std::string kLargeArchive = zipOf("KEN_ALL.CSV", kLargeList);
const std::string kCutOffList = test::readWholeFile(test::fixturePath("cut_off_list.csv"));
// Far more than it claims: line ends only, which the parser would take in
// without limit.
const std::string kManyLineEnds(8 * 1024 * 1024, '\n');
constexpr std::uint32_t kOneMegabyte = 1024 * 1024;

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultyArchive,
    testing::Values(
        FaultCase{"EmptyArchive", std::string("PK\x05\x06", 4) + std::string(18, '\0'),
                  ListErrorCode::NoListInArchive, false},
        FaultCase{"NoCsvInside", test::zipArchive({{"readme.txt", "x"}, {"KEN_ALL.TXT", kCp932List}}),
                  ListErrorCode::NoListInArchive, false},
        FaultCase{"TwoLists", test::zipArchive({{"KEN_ALL.CSV", kCp932List}, {"old/ken_all.csv", kCp932List}}),
                  ListErrorCode::SeveralListsInArchive, false, 0, std::nullopt, "ken_all.zip",
                  "KEN_ALL.CSV、old/ken_all.csv"},
        FaultCase{"NotAnArchiveAtAll", kCp932List, ListErrorCode::ArchiveDamaged, false},
        FaultCase{"EmptyFile", "", ListErrorCode::ArchiveDamaged, false},
        FaultCase{"SignatureThenJunk", "PK\x03\x04" + std::string(200, 'x'), ListErrorCode::ArchiveDamaged,
                  false, 0, std::nullopt, "KEN_ALL.CSV"},
        FaultCase{"CutInHalf", kLargeArchive.substr(0, kLargeArchive.size() / 2), ListErrorCode::ArchiveDamaged,
                  false},
        FaultCase{"CentralDirectoryCut", kSmallArchive.substr(0, kSmallArchive.size() - 30),
                  ListErrorCode::ArchiveDamaged, false},
        // libzip calls this one "No such file", of a file that is there.
        FaultCase{"LocalHeaderOutOfReach", withLocalHeaderOutOfReach(kSmallArchive), ListErrorCode::ArchiveDamaged,
                  false},
        // Found only by the checksum, at the end: nothing read is trusted, and
        // the characters the change spoilt are not blamed on the list.
        FaultCase{"StoredByteChanged", withDataOverwritten(zipOf("KEN_ALL.CSV", kCp932List, true), 200, "X"),
                  ListErrorCode::ArchiveDamaged, true},
        FaultCase{"CompressedBytesChanged",
                  withDataOverwritten(kLargeArchive, 2000, std::string(64, '\x5A')), ListErrorCode::ArchiveDamaged,
                  true},
        FaultCase{"Encrypted", test::readWholeFile(test::fixturePath("encrypted_list.zip")),
                  ListErrorCode::ArchiveEncrypted, true},
        // Refused on its claim alone, before anything is inflated.
        FaultCase{"ClaimsTooMuch", claimingSize(kSmallArchive, 512 * kOneMegabyte), ListErrorCode::TooLarge,
                  true},
        // Stopped at its claim, not at the end of what it would inflate to.
        FaultCase{"InflatesPastItsClaim", claimingSize(zipOf("KEN_ALL.CSV", kManyLineEnds), kOneMegabyte),
                  ListErrorCode::ArchiveDamaged, true, 0, kOneMegabyte},
        FaultCase{"InflatesPastASmallClaim", claimingSize(kSmallArchive, 100), ListErrorCode::ArchiveDamaged,
                  true, 0, 100},
        FaultCase{"InflatesShortOfItsClaim",
                  claimingSize(kSmallArchive, static_cast<std::uint32_t>(kCp932List.size() + 1000)),
                  ListErrorCode::ArchiveDamaged, true},
        // Problems of the list itself keep what came before them.
        FaultCase{"CutOffListInside", zipOf("KEN_ALL.CSV", kCutOffList), ListErrorCode::Truncated, true, 3},
        FaultCase{"BadUtf8Inside", zipOf("KEN_ALL.CSV", kUtf8List + "01101,2,0010003,\"\xE3\x81\",4"), ListErrorCode::NotUtf8,
                  true, 4}),
    [](const testing::TestParamInfo<FaultCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace torumin
