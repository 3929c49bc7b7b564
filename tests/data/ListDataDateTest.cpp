#include "ListTestSupport.h"

#include "data/ListDataDate.h"
#include "data/ZipEntrySource.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace torumin {
namespace {

const std::string kList = test::readWholeFile(test::fixturePath("small_list.csv"));
const QDateTime kEntryTime(QDate(2025, 10, 31), QTime(9, 30, 12));
const QDateTime kFileTime(QDate(2026, 1, 15), QTime(8, 0));

struct DateCase {
    const char *name;
    // Makes the file in `folder` and gives its path.
    std::function<QString(const QDir &folder)> make;
    QDateTime expected;
};

void PrintTo(const DateCase &c, std::ostream *out)
{
    *out << c.name;
}

QString written(const QDir &folder, const char *name, const std::string &bytes)
{
    const QString path = folder.filePath(QString::fromUtf8(name));
    test::writeWholeFile(path, bytes);
    QFile file(path);
    file.open(QIODevice::ReadWrite);
    file.setFileTime(kFileTime, QFileDevice::FileModificationTime);
    return path;
}

std::string archive()
{
    return test::zipArchive({{"KEN_ALL.CSV", kList, false, kEntryTime.toSecsSinceEpoch()}});
}

class ListDataDate : public testing::TestWithParam<DateCase> {};

TEST_P(ListDataDate, IsTheArchiveEntrysTimeOrTheFilesOwn)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = GetParam().make(QDir(folder.path()));
    EXPECT_EQ(listDataDate(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ListDataDate,
    testing::Values(
        DateCase{"PlainListByItsFileTime", [](const QDir &d) { return written(d, "KEN_ALL.CSV", kList); }, kFileTime},
        DateCase{"ArchiveByItsEntryNotItsFileTime", [](const QDir &d) { return written(d, "ken_all.zip", archive()); },
                 kEntryTime},
        DateCase{"ArchiveKnownByContentWhateverItsName",
                 [](const QDir &d) { return written(d, "list.csv", archive()); }, kEntryTime},
        DateCase{"ArchiveMadeByTheZipCommand",
                 [](const QDir &) { return test::fixturePath("ken_all_small.zip"); },
                 QDateTime(QDate(2026, 12, 7), QTime(5, 53, 56))},
        DateCase{"BrokenArchive", [](const QDir &d) { return written(d, "ken_all.zip", "PK\x03\x04 cut short"); },
                 QDateTime()},
        DateCase{"ArchiveWithoutAList",
                 [](const QDir &d) { return written(d, "ken_all.zip", test::zipArchive({{"readme.txt", "x"}})); },
                 QDateTime()},
        DateCase{"Missing", [](const QDir &d) { return d.filePath(QStringLiteral("gone.csv")); }, QDateTime()},
        DateCase{"Folder", [](const QDir &d) { return d.path(); }, QDateTime()}),
    [](const testing::TestParamInfo<DateCase> &info) { return std::string(info.param.name); });

} // namespace
} // namespace torumin
