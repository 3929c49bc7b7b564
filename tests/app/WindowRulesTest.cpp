#include "app/EnvironmentProbes.h"
#include "app/ToolbarLayout.h"
#include "app/WindowGeometry.h"

#include <gtest/gtest.h>

namespace torumin {
namespace {

TEST(WindowGeometry, MainWindowSizeTable)
{
    struct Row {
        const char *menuBar;
        const char *os;
        const char *scheme;
        QSizeF size;
    };
    const std::vector<Row> rows{
        {"1", "Windows XP", "", {2900, 1980}},     {"1", "Windows XP", "Luna", {2900, 1840}},
        {"1", "Windows Vista", "", {2880, 1840}},  {"1", "", "Luna", {2880, 1840}},
        {"0", "Windows XP", "", {2920, 1670}},     {"0", "Windows XP", "Luna", {2920, 1530}},
        {"0", "", "", {2900, 1530}},               {"yes", "", "", {2900, 1530}},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(mainWindowSizeTwips(QString::fromLatin1(row.menuBar), QString::fromLatin1(row.os),
                                      QString::fromLatin1(row.scheme)),
                  row.size)
            << row.menuBar << ' ' << row.os << ' ' << row.scheme;
    }
}

TEST(WindowGeometry, CentringAndTwipsConversion)
{
    EXPECT_EQ(centredMainPositionTwips(QSizeF(15360, 11520)), QPointF(6230, 4920));
    EXPECT_EQ(centredMainPositionTwips(QSizeF(15361, 11521)), QPointF(6230.5, 4920.5));
    EXPECT_EQ(centredCandidatePositionTwips(QSizeF(15360, 11520), 5625, 8295), QPointF(3532.5, 2947.5));
    EXPECT_DOUBLE_EQ(twipsToPixels(1440, 96), 96.0);
    EXPECT_DOUBLE_EQ(pixelsToTwips(2, 144), 20.0);
    EXPECT_DOUBLE_EQ(twipsPerPixel(0), 15.0);  // no screen: the usual 96 DPI
}

TEST(WindowGeometry, PositionsAreStoredAsShortDecimalText)
{
    EXPECT_EQ(twipsText(4920), QStringLiteral("4920"));
    EXPECT_EQ(twipsText(-15), QStringLiteral("-15"));
    EXPECT_EQ(twipsText(3532.5), QStringLiteral("3532.5"));
    EXPECT_EQ(twipsText(0), QStringLiteral("0"));
    EXPECT_EQ(twipsText(1.0 / 3.0), QStringLiteral("0.3333333"));
}

TEST(WindowGeometry, DialogsLeaveTheResultBoxInView)
{
    struct Row {
        const char *where;
        QRect owner, keep, screen;
        QPoint expected;
    };
    const QSize dialog(334, 148);
    const QRect screen(0, 0, 1280, 800);
    const std::vector<Row> rows{
        {"below the owner", {543, 344, 192, 123}, {546, 410, 186, 54}, screen, {471, 467}},
        {"above, no room below", {543, 660, 192, 123}, {546, 726, 186, 54}, screen, {471, 512}},
        {"right, full height", {400, 0, 192, 800}, {403, 66, 186, 730}, screen, {592, 325}},
        {"left, at the right edge", {1000, 0, 280, 800}, {1003, 66, 274, 730}, screen, {666, 325}},
        {"below the box in a full-screen owner", {0, 0, 1280, 800}, {10, 60, 1260, 200}, screen, {472, 260}},
        {"centred when nothing fits", {0, 0, 1280, 800}, {0, 0, 1280, 800}, screen, {472, 325}},
        {"slid onto the screen", {0, 300, 192, 123}, {3, 366, 186, 54}, screen, {0, 423}},
        {"on a second screen", {1300, 100, 192, 123}, {1303, 166, 186, 54}, {1280, 0, 1024, 768}, {1280, 223}},
    };
    for (const Row &row : rows) {
        const QPoint placed = dialogPositionClearOf(dialog, row.owner, row.keep, row.screen);
        EXPECT_EQ(placed, row.expected) << row.where;
        if (row.keep != row.screen) {
            EXPECT_FALSE(QRect(placed, dialog).intersects(row.keep)) << row.where;
        }
    }
}

TEST(WindowGeometry, ListWindowsStayWholeOnTheirScreen)
{
    struct Row {
        const char *what;
        QRect frame;
        int list;
        QRect screen;
        ListWindowPlace expected;
    };
    const QRect screen(0, 0, 1280, 800);
    const std::vector<Row> rows{
        {"fits where it is", {100, 50, 553, 159}, 64, screen, {{100, 50, 553, 159}, 64}},
        {"too tall: a shorter list, at the top", {100, 50, 553, 723}, 628, {0, 0, 1024, 600}, {{100, 0, 553, 600}, 505}},
        {"off the bottom right: moved in", {1200, 780, 553, 159}, 64, screen, {{727, 641, 553, 159}, 64}},
        {"off the top left: moved in", {-300, -40, 553, 159}, 64, screen, {{0, 0, 553, 159}, 64}},
        {"second screen, below its panel", {1300, 10, 553, 159}, 64, {1280, 30, 1024, 738}, {{1300, 30, 553, 159}, 64}},
        {"never less than a pixel of list", {0, 0, 553, 400}, 10, {0, 0, 800, 100}, {{0, 0, 553, 391}, 1}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(listWindowOnScreen(row.frame, row.list, row.screen), row.expected) << row.what;
}

TEST(WindowGeometry, WholeRowsFillTheList)
{
    struct Row {
        const char *what;
        int height, chrome, preferred, least;
        WholeRows expected;
    };
    const std::vector<Row> rows{
        {"exact", 64, 4, 15, 3, {4, 15, 64}},
        {"a little left over comes off", 244, 4, 17, 1, {14, 17, 242}},
        {"tighter rows for the rows asked", 199, 4, 18, 12, {12, 16, 196}},
        {"taller rows when fewer fit", 70, 4, 15, 1, {4, 16, 68}},
        {"no room: one row", 3, 4, 15, 1, {1, 1, 5}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(wholeRows(row.height, row.chrome, row.preferred, row.least), row.expected) << row.what;
}

TEST(WindowGeometry, HelpStaysClearOfTheWindowThatAsked)
{
    struct Row {
        const char *what;
        QRect asker;
        QRect expected;
    };
    const QSize help(760, 600);
    const QRect screen(0, 0, 1280, 800);
    const std::vector<Row> rows{
        {"right", {100, 50, 400, 300}, {508, 50, 760, 600}},
        {"right, narrower", {0, 50, 700, 300}, {708, 50, 572, 600}},
        {"left", {800, 100, 480, 300}, {32, 100, 760, 600}},
        {"below a wide window", {300, 20, 700, 300}, {269, 328, 760, 472}},
        {"above a wide window low down", {300, 450, 700, 340}, {269, 0, 760, 442}},
        {"the widest room left, shrunk", {400, 170, 500, 460}, {0, 170, 392, 600}},
        {"no room anywhere: the far edge", {40, 20, 1200, 760}, {520, 20, 760, 600}},
    };
    for (const Row &row : rows) {
        const QRect placed = helpWindowPlace(help, row.asker, screen);
        EXPECT_EQ(placed, row.expected) << row.what;
        EXPECT_TRUE(screen.contains(placed)) << row.what;
        if (row.asker.width() < 1000) {
            EXPECT_FALSE(placed.intersects(row.asker)) << row.what;
        }
    }
}

TEST(EnvironmentProbes, VersionNames)
{
    struct Row {
        unsigned platform, major, minor;
        const char *name;
    };
    const std::vector<Row> rows{
        {1, 4, 0, "Windows 95"},  {1, 4, 10, "Windows 98"},    {1, 4, 90, "Windows Me"},
        {2, 4, 0, "Windows NT"},  {2, 4, 7, "Windows NT"},     {2, 6, 0, "Windows Vista"},
        {2, 6, 1, ""},            {2, 5, 0, "Windows 2000"},   {2, 10, 0, "Windows 2000"},
        {2, 5, 1, "Windows XP"},  {2, 5, 2, "Windows XP"},     {0, 5, 1, ""},
        {3, 6, 0, ""},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(osNameForVersion(row.platform, row.major, row.minor), QString::fromLatin1(row.name))
            << row.platform << '.' << row.major << '.' << row.minor;
    }
#ifndef Q_OS_WIN
    const EnvironmentProbes probes;
    EXPECT_TRUE(probes.GetOSName().isEmpty());
    EXPECT_TRUE(probes.GetAppearanceScheme().isEmpty());
#endif
}

TEST(ToolbarLayout, RoundTripsAndRejectsWhatIsNotOurs)
{
    EXPECT_EQ(formatToolbarLayout(designedToolbarLayout()), QStringLiteral("1,2,3,4,5,6,7,8"));
    for (const std::vector<int> &layout : {std::vector<int>{2, 5, 1}, std::vector<int>{}, designedToolbarLayout()})
        EXPECT_EQ(parseToolbarLayout(formatToolbarLayout(layout)), layout);
    EXPECT_EQ(parseToolbarLayout(QStringLiteral(" 8, 7 ")), (std::vector<int>{8, 7}));
    for (const char *bad : {"", "   ", "1,,2", "1,9", "0,1", "2,2", "a", "1;2", "-1"})
        EXPECT_EQ(parseToolbarLayout(QString::fromLatin1(bad)), std::nullopt) << bad;
}

} // namespace
} // namespace torumin

#include "app/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <vector>

namespace torumin {
namespace {

// Which folder is the program's and which file in it every slot starts on:
// a build unpacks ken_all.csv beside the executable, the package installs
// ken_all.zip in its data folder.
TEST(ProgramFolder, TheBundledListBesideTheProgramOrWhereThePackagePutIt)
{
    enum Place { Build, Installed };
    struct Case {
        const char *name;
        std::vector<const char *> build, installed;
        Place folder;
        const char *list;
    };
    const std::vector<Case> cases{
        // Neither holds a list: the executable's folder, where the user is told it is missing.
        {"NoListAnywhere", {}, {}, Build, "ken_all.csv"},
        {"InstalledZip", {}, {"ken_all.zip"}, Installed, "ken_all.zip"},
        {"InstalledCsv", {}, {"ken_all.csv"}, Installed, "ken_all.csv"},
        {"CsvBesideTheProgramWins", {"ken_all.csv"}, {"ken_all.zip"}, Build, "ken_all.csv"},
        {"ZipBesideTheProgramWins", {"ken_all.zip"}, {"ken_all.csv"}, Build, "ken_all.zip"},
        {"CsvBeforeZipInOneFolder", {}, {"ken_all.zip", "ken_all.csv"}, Installed, "ken_all.csv"},
    };
    for (const Case &c : cases) {
        QTemporaryDir build;
        QTemporaryDir installed;
        const auto addFiles = [](const QTemporaryDir &dir, const std::vector<const char *> &names) {
            for (const char *name : names) {
                QFile file(dir.filePath(QString::fromLatin1(name)));
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            }
        };
        addFiles(build, c.build);
        addFiles(installed, c.installed);
        const QString expected = QDir::toNativeSeparators(c.folder == Build ? build.path() : installed.path());
        const QString folder = chooseProgramFolder(build.path(), installed.path());
        EXPECT_EQ(folder, expected) << c.name;
        EXPECT_EQ(bundledListPath(folder), expected + QDir::separator() + QString::fromLatin1(c.list)) << c.name;
    }
}

} // namespace
} // namespace torumin
