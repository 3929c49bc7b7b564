#include "ListTestSupport.h"

#include "data/PostalListReader.h"
#include "search/PostalLookup.h"

#include <QString>
#include <QStringList>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace torumin {
namespace {

const QString kFullList = QStringLiteral(TORUMIN_FULL_LIST);
constexpr int kFullListRecords = 124495;

class FullList : public testing::Test {
protected:
    static void SetUpTestSuite() { s_result = new ListReadResult(readPostalListFile(kFullList)); }
    static void TearDownTestSuite()
    {
        delete s_result;
        s_result = nullptr;
    }
    static const PostalTable &table() { return s_result->table; }

    static ListReadResult *s_result;
};

ListReadResult *FullList::s_result = nullptr;

// The independent decoding is Linux's iconv command; Windows has none.
#ifdef Q_OS_WIN
constexpr bool kIconvCommand = false;
#else
constexpr bool kIconvCommand = true;
#endif
#define SKIP_WITHOUT_ICONV_COMMAND()                                                                                   \
    if (!kIconvCommand)                                                                                                \
    GTEST_SKIP() << "no iconv command here: checked against it on Linux"

// The list decoded by the iconv command, in a separate process.
QString decodedByIconvCommand(const QString &path)
{
    const std::string command = "iconv -f CP932 -t UTF-8 '" + path.toStdString() + "'";
    std::unique_ptr<FILE, int (*)(FILE *)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return {};
    std::string utf8;
    char chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0)
        utf8.append(chunk, count);
    return QString::fromStdString(utf8);
}

TEST_F(FullList, ReadsEveryRecordOfTheNationwideList)
{
    ASSERT_FALSE(s_result->error.has_value()) << s_result->error->message.toStdString();
    ASSERT_EQ(table().recordCount(), kFullListRecords);
    EXPECT_LE(table().memoryBytes(), 25U * 1024 * 1024);

    EXPECT_EQ(table().zipCode(0), u"0600000");
    EXPECT_EQ(table().prefName(0), u"北海道");
    EXPECT_EQ(table().cityName(0), u"札幌市中央区");
    EXPECT_TRUE(table().townName(0).isEmpty());
    EXPECT_EQ(table().prefName(kFullListRecords - 1), u"沖縄県");
    EXPECT_TRUE(table().zipCode(kFullListRecords).isEmpty());

    int yonaguni = -1;
    for (int row = 0; row < table().recordCount() && yonaguni < 0; ++row) {
        if (table().zipCode(row) == u"9071801")
            yonaguni = row;
    }
    ASSERT_GE(yonaguni, 0);
    EXPECT_EQ(table().prefName(yonaguni), u"沖縄県");
    EXPECT_EQ(table().cityName(yonaguni), u"八重山郡与那国町");
    EXPECT_EQ(table().townName(yonaguni), u"与那国");
}

TEST_F(FullList, EveryFieldMatchesAnIndependentDecoding)
{
    SKIP_WITHOUT_ICONV_COMMAND();
    ASSERT_EQ(table().recordCount(), kFullListRecords);
    const QString text = decodedByIconvCommand(kFullList);
    ASSERT_FALSE(text.isEmpty()) << "the iconv command is needed for this test";
    QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.takeLast(), QString()); // the file ends with a line end
    ASSERT_EQ(lines.size(), kFullListRecords);

    int mismatches = 0;
    for (int row = 0; row < lines.size(); ++row) {
        // Naive splitting is only right while no quoted field holds a comma
        // or a quote: check that before trusting it.
        const QStringList fields = lines[row].split(u',');
        ASSERT_EQ(fields.size(), 15) << "line " << row + 1;
        for (int column = 0; column < kStoredColumnCount; ++column) {
            const bool localCode = static_cast<PostalColumn>(column) == PostalColumn::LocalGovernmentCode;
            QString expected = fields[localCode ? 0 : column + 2];
            if (expected.startsWith(u'"')) {
                ASSERT_TRUE(expected.size() >= 2 && expected.endsWith(u'"')) << "line " << row + 1;
                expected = expected.mid(1, expected.size() - 2);
            }
            ASSERT_FALSE(expected.contains(u'"')) << "line " << row + 1;
            const QStringView actual = table().field(static_cast<PostalColumn>(column), row);
            if (actual != expected && ++mismatches <= 5)
                ADD_FAILURE() << "row " << row << " column " << column << ": "
                              << actual.toString().toStdString() << " != " << expected.toStdString();
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// The UTF-8 edition as the postal service publishes it: the text decoded by
// the iconv command, the readings (fields 4 to 6) in full-width katakana
// through Unicode's compatibility mapping.
std::string publishedUtf8Edition(const QString &decoded)
{
    QStringList lines = decoded.split(QStringLiteral("\r\n"));
    for (QString &line : lines) {
        // Naive splitting holds for this list (see the test above).
        QStringList fields = line.split(u',');
        for (int field = 3; field <= 5 && field < fields.size(); ++field)
            fields[field] = fields[field].normalized(QString::NormalizationForm_KC);
        line = fields.join(u',');
    }
    return lines.join(QStringLiteral("\r\n")).toStdString();
}

// The nationwide list in the other forms it is published in, made from the
// bundled one: the UTF-8 edition, and both zipped. Every column of each must
// match the bundled list's, the UTF-8 edition's readings folded back.
class FullListEditions : public FullList, public testing::WithParamInterface<const char *> {
protected:
    static void SetUpTestSuite()
    {
        FullList::SetUpTestSuite();
        s_dir = new QTemporaryDir;
        if (!s_dir->isValid())
            return;
        const QString decoded = decodedByIconvCommand(kFullList);
        if (decoded.isEmpty())
            return;
        const std::string utf8 = publishedUtf8Edition(decoded);
        s_fullWidthReadings = utf8.find("\"ホッカイドウ\"") != std::string::npos
            && utf8.find("ﾎｯｶｲﾄﾞｳ") == std::string::npos;
        test::writeWholeFile(s_dir->filePath(QStringLiteral("utf_ken_all.csv")), utf8);
        test::writeWholeFile(s_dir->filePath(QStringLiteral("ken_all.zip")),
                             test::zipArchive({{"KEN_ALL.CSV", test::readWholeFile(kFullList)}}));
        test::writeWholeFile(s_dir->filePath(QStringLiteral("utf_ken_all.zip")),
                             test::zipArchive({{"utf_ken_all.csv", utf8}}));
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
        FullList::TearDownTestSuite();
    }

    static QTemporaryDir *s_dir;
    static bool s_fullWidthReadings;
};

QTemporaryDir *FullListEditions::s_dir = nullptr;
bool FullListEditions::s_fullWidthReadings = false;

TEST_P(FullListEditions, MatchTheBundledListRowByRow)
{
    SKIP_WITHOUT_ICONV_COMMAND();
    ASSERT_TRUE(s_dir->isValid());
    const QString path = s_dir->filePath(QString::fromUtf8(GetParam()));
    ASSERT_TRUE(QFileInfo::exists(path)) << "iconv and libzip are needed to make " << path.toStdString();
    ASSERT_TRUE(s_fullWidthReadings) << "the UTF-8 edition was made with half-width readings";
    const ListReadResult edition = readPostalListFile(path);
    ASSERT_FALSE(edition.error.has_value()) << edition.error->message.toStdString();
    ASSERT_EQ(edition.table.recordCount(), kFullListRecords);

    int mismatches = 0;
    for (int row = 0; row < kFullListRecords; ++row) {
        for (int column = 0; column < kStoredColumnCount; ++column) {
            const auto which = static_cast<PostalColumn>(column);
            if (edition.table.field(which, row) != table().field(which, row) && ++mismatches <= 5)
                ADD_FAILURE() << "row " << row << " column " << column;
        }
    }
    EXPECT_EQ(mismatches, 0);

    const QString yonaguni = QStringLiteral("9071801");
    EXPECT_EQ(findCode(edition.table, yonaguni), findCode(table(), yonaguni));
    EXPECT_EQ(addressResultText(edition.table, yonaguni), u"沖縄県八重山郡与那国町与那国");
}

INSTANTIATE_TEST_SUITE_P(Published, FullListEditions,
                         testing::Values("utf_ken_all.csv", "ken_all.zip", "utf_ken_all.zip"),
                         [](const testing::TestParamInfo<const char *> &info) {
                             std::string name = info.param;
                             for (char &c : name) {
                                 if (c == '.')
                                     c = '_';
                             }
                             return name;
                         });

} // namespace
} // namespace torumin
