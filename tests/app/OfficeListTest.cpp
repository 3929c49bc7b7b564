#include "app/Module1.h"
#include "app/OfficeList.h"
#include "support/CurrentFolder.h"
#include "support/MemorySettingsStore.h"
#include "support/OfficeFixtures.h"
#include "support/ScriptedMessageBoxes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace torumin {
namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(OfficeList, FoundBesideThePostalListElseInTheProgramFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString root = dir.path();
    touch(root + u"/program/jigyosyo.csv"_s);
    touch(root + u"/a/JIGYOSYO.CSV"_s);
    touch(root + u"/b/Jigyosyo.Zip"_s);
    touch(root + u"/c/jigyosyo.zip"_s);
    touch(root + u"/c/JIGYOSYO.csv"_s);
    ASSERT_TRUE(QDir(root).mkpath(u"d/jigyosyo.zip"_s)); // a folder of that name

    const QString program = root + u"/program"_s;
    const auto found = [&](const QString &list) {
        return QDir::fromNativeSeparators(officeListPathFor(list, program)).mid(root.size() + 1);
    };
    EXPECT_EQ(found(root + u"/a/ken_all.csv"_s), u"a/JIGYOSYO.CSV"_s);
    EXPECT_EQ(found(root + u"/b/ken_all-20251031.zip"_s), u"b/Jigyosyo.Zip"_s);
    EXPECT_EQ(found(root + u"/c/KEN_ALL.CSV"_s), u"c/JIGYOSYO.csv"_s) << "the CSV before the zip";
    EXPECT_EQ(found(root + u"/d/ken_all.csv"_s), u"program/jigyosyo.csv"_s);
    EXPECT_EQ(found(QString()), u"program/jigyosyo.csv"_s);
    EXPECT_TRUE(officeListPathFor(root + u"/d/ken_all.csv"_s, root + u"/d"_s).isEmpty());
}

// Whatever is wrong with the office list, start-up says so once and the
// postal list is searched as ever.
TEST(OfficeList, AMissingOrBrokenOneIsToldOnceAndStopsNothing)
{
    const struct {
        const char *name;
        QByteArray offices; // empty: none
        const char *firstLine;
        int records;
    } cases[] = {
        {"missing", {}, "「事業所の個別郵便番号一覧 *.CSV」 が見つかりません。　", 0},
        {"broken", QByteArray(testing::kTinyOfficeList) + "\"13101\",\"x\"\r\n",
         "「事業所の個別郵便番号一覧 *.CSV」 を読み込めませんでした。　", 1},
        {"fine", testing::kTinyOfficeList, nullptr, 1},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        const testing::CurrentFolderKept currentFolder;
        ASSERT_TRUE(dir.isValid());
        {
            QFile list(dir.filePath(u"ken_all.csv"_s));
            ASSERT_TRUE(list.open(QIODevice::WriteOnly));
            list.write("13101,\"100  \",\"1000005\",\"T\",\"C\",\"M\",\"T\",\"C\",\"M\",0,0,0,0,0,0\r\n");
        }
        if (!c.offices.isEmpty()) {
            QFile offices(dir.filePath(u"JIGYOSYO.CSV"_s));
            ASSERT_TRUE(offices.open(QIODevice::WriteOnly));
            offices.write(c.offices);
        }
        Module1 state;
        testing::MemorySettingsStore store;
        testing::ScriptedMessageBoxes boxes;
        StartUpEnvironment env;
        env.programFolder = QDir::toNativeSeparators(dir.path());
        env.screenTwips = QSizeF(15360, 11520);
        store.preset(u"Config"_s, u"OptLogo"_s, u"0"_s);
        StartUp(state, store, boxes, env);

        EXPECT_EQ(state.table.recordCount(), 1) << c.name;
        EXPECT_EQ(state.offices.recordCount(), c.records) << c.name;
        if (!c.firstLine) {
            EXPECT_TRUE(boxes.shown().empty()) << c.name;
            EXPECT_TRUE(loadedOfficeSummary(state).startsWith(u"1 件（"_s)) << c.name;
            continue;
        }
        ASSERT_EQ(boxes.shown().size(), 1U) << c.name;
        EXPECT_EQ(boxes.shown()[0].text.section(u'\r', 0, 0), QString::fromUtf8(c.firstLine)) << c.name;
        EXPECT_EQ(boxes.shown()[0].style, kStyleExclamationOk) << c.name;
    }
}

} // namespace
} // namespace torumin
